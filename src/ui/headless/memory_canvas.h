// A canvas over a bitmap in memory, for the tests of painting code: fills,
// frames, lines and pixels land in the bitmap; text, pictures and check
// boxes are recorded as calls.
#pragma once
#include <string>
#include <vector>

#include "ui/canvas.h"

namespace ui::headless {

// The classic Windows scheme, so system colours resolve the same in every test.
TColor classicSystemColor(TColor c);

class MemoryCanvas : public TCanvas {
public:
    MemoryCanvas(int width, int height, TColor background = clWhite);

    int width() const { return w_; }
    int height() const { return h_; }
    void setBitsPerPixel(int bpp) { bpp_ = bpp; }
    // "textOut 3,4 text", "drawText l,t,r,b format text", "drawImage 2 at 1,1", ...
    const std::vector<std::string>& calls() const { return calls_; }
    const TFont& currentFont() const { return font_; }
    TColor textColor() const { return textColor_; }
    TColor penColor() const { return pen_; }

    void setPenColor(TColor c) override { pen_ = rgbOf(c); }
    void setBrushColor(TColor c) override { brush_ = c; }
    TColor brushColor() const override { return brush_; }
    void setFont(const TFont& f) override;
    void setTextColor(TColor c) override { textColor_ = rgbOf(c); }
    void setTransparentText(bool t) override { transparent_ = t; }
    void fillRect(const TRect& r) override;
    void frameRect(const TRect& r) override;
    void rectangle(const TRect& r) override;
    void roundRect(const TRect& r, int cornerW, int cornerH) override;
    void ellipse(const TRect& r) override;
    void moveTo(int x, int y) override { at_ = {x, y}; }
    void lineTo(int x, int y) override;
    void polyline(const std::vector<TPoint>& points) override;
    TColor pixel(int x, int y) const override;
    void setPixel(int x, int y, TColor c) override;
    void textOut(int x, int y, const std::string& text) override;
    int textWidth(const std::string& text) override;
    int textHeight(const std::string& text) override;
    void drawText(TRect r, const std::string& text, unsigned format) override;
    void copyRect(const TRect& to, TCanvas& src, const TRect& from) override;
    void drawImage(const TImageList& list, int index, int x, int y) override;
    void drawCheck(const TRect& r, bool checked, bool enabled) override;
    void drawFocusRect(const TRect& r) override;
    // Pictures are made up: a frame of the background (or of magenta, for
    // a resource) around a square of pictureColor(index).
    TPixels imagePixels(const TImageList& list, int index, TColor background) override;
    TPixels resourcePixels(const std::string& resource) override;
    static TColor pictureColor(int index) { return 0x306090 + static_cast<TColor>(index) * 0x10; }
    int bitsPerPixel() const override { return bpp_; }
    TColor nearestColor(TColor c) const override;
    TColor rgbOf(TColor c) const override { return classicSystemColor(c); }
    std::uintptr_t handle() const override { return reinterpret_cast<std::uintptr_t>(this); }

private:
    void fill(int l, int t, int r, int b, TColor c);
    static std::string rect(const TRect& r);
    int w_, h_;
    std::vector<TColor> px_;
    std::vector<std::string> calls_;
    TColor pen_ = clBlack, brush_ = clWhite, textColor_ = clBlack;
    TFont font_;
    bool transparent_ = false;
    TPoint at_;
    int bpp_ = 32;
};

}  // namespace ui::headless
