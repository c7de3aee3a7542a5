// Drawing surface over a device context. Small on purpose: what owner-drawn
// list lines, buttons, pictures and menu items need.
#pragma once
#include <string>
#include <vector>

#include "ui/types.h"

namespace ui {

class TImageList;

// A small picture held as pixels (0x00BBGGRR), rows from the top, for
// painters that recolour pictures before drawing them.
struct TPixels {
    int width = 0, height = 0;
    std::vector<TColor> px;
    TPixels() = default;
    TPixels(int w, int h, TColor fill) : width(w), height(h), px(static_cast<size_t>(w * h), fill) {}
    bool empty() const { return width <= 0 || height <= 0; }
    TColor at(int x, int y) const { return px[static_cast<size_t>(y * width + x)]; }
    TColor& at(int x, int y) { return px[static_cast<size_t>(y * width + x)]; }
    // The colour a picture drawn transparently leaves out.
    TColor transparentColor() const { return empty() ? 0 : at(0, height - 1); }
};

// DrawText formats the painters use.
namespace dt {
constexpr unsigned Left = 0x0, Center = 0x1, Right = 0x2, VCenter = 0x4, SingleLine = 0x20,
                   NoPrefix = 0x800, RtlReading = 0x20000;
}

class TCanvas {
public:
    virtual ~TCanvas() = default;

    // Pen, brush and font; a colour may be a system colour.
    virtual void setPenColor(TColor c) = 0;
    virtual void setBrushColor(TColor c) = 0;
    virtual TColor brushColor() const = 0;
    virtual void setFont(const TFont& f) = 0;
    virtual void setTextColor(TColor c) = 0;
    virtual void setTransparentText(bool transparent) = 0;

    virtual void fillRect(const TRect& r) = 0;   // brush, no outline
    virtual void frameRect(const TRect& r) = 0;  // one-pixel outline in the brush colour
    virtual void rectangle(const TRect& r) = 0;  // pen outline, brush inside
    virtual void roundRect(const TRect& r, int cornerW, int cornerH) = 0;
    virtual void ellipse(const TRect& r) = 0;
    virtual void moveTo(int x, int y) = 0;
    virtual void lineTo(int x, int y) = 0;
    virtual void polyline(const std::vector<TPoint>& points) = 0;
    virtual TColor pixel(int x, int y) const = 0;
    virtual void setPixel(int x, int y, TColor c) = 0;

    virtual void textOut(int x, int y, const std::string& text) = 0;
    virtual int textWidth(const std::string& text) = 0;
    virtual int textHeight(const std::string& text) = 0;
    virtual void drawText(TRect r, const std::string& text, unsigned format) = 0;

    // Copies src's rectangle from into this canvas's rectangle to (stretched).
    virtual void copyRect(const TRect& to, TCanvas& src, const TRect& from) = 0;
    virtual void drawImage(const TImageList& list, int index, int x, int y) = 0;
    // A check box picture in the system's look.
    virtual void drawCheck(const TRect& r, bool checked, bool enabled) = 0;
    virtual void drawFocusRect(const TRect& r) = 0;

    // Picture i of the list drawn transparently on a background colour.
    virtual TPixels imagePixels(const TImageList& list, int index, TColor background) = 0;
    // A bitmap resource as it is stored.
    virtual TPixels resourcePixels(const std::string& resource) = 0;
    // Draws a picture at x, y leaving out its transparent colour.
    virtual void drawPixels(const TPixels& p, int x, int y) {
        const TColor clear = p.transparentColor();
        for (int j = 0; j < p.height; ++j)
            for (int i = 0; i < p.width; ++i)
                if (p.at(i, j) != clear) setPixel(x + i, y + j, p.at(i, j));
    }

    virtual int bitsPerPixel() const = 0;
    virtual TColor nearestColor(TColor c) const = 0;
    // The system colour resolved to RGB; plain RGB comes back unchanged.
    virtual TColor rgbOf(TColor c) const = 0;
    virtual std::uintptr_t handle() const = 0;  // HDC in the Win32 build
};

}  // namespace ui
