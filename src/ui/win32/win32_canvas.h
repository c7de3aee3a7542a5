// The canvas over a real device context.
#pragma once
#include <windows.h>

#include "ui/canvas.h"
#include "ui/win32/win32_objects.h"

namespace ui::win32 {

class Win32Application;

COLORREF rgbOf(TColor c);

// A device context from GetDC or GetWindowDC, given back on every way out.
struct WindowDc {
    WindowDc(HWND w, HDC d) : wnd(w), dc(d) {}
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    ~WindowDc() {
        if (dc) ReleaseDC(wnd, objects::release(objects::Dc, dc));
    }
    HWND wnd;
    HDC dc;
};

class Win32Canvas : public TCanvas {
public:
    Win32Canvas(HDC dc, Win32Application& app);
    ~Win32Canvas() override;
    Win32Canvas(const Win32Canvas&) = delete;
    Win32Canvas& operator=(const Win32Canvas&) = delete;

    void setPenColor(TColor c) override;
    void setBrushColor(TColor c) override;
    TColor brushColor() const override { return brushColor_; }
    void setFont(const TFont& f) override;
    void setTextColor(TColor c) override;
    void setTransparentText(bool transparent) override;
    void fillRect(const TRect& r) override;
    void frameRect(const TRect& r) override;
    void rectangle(const TRect& r) override;
    void roundRect(const TRect& r, int cornerW, int cornerH) override;
    void ellipse(const TRect& r) override;
    void moveTo(int x, int y) override;
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
    TPixels imagePixels(const TImageList& list, int index, TColor background) override;
    TPixels resourcePixels(const std::string& resource) override;
    void drawPixels(const TPixels& p, int x, int y) override;
    int bitsPerPixel() const override;
    TColor nearestColor(TColor c) const override;
    TColor rgbOf(TColor c) const override;
    std::uintptr_t handle() const override { return reinterpret_cast<std::uintptr_t>(dc_); }

private:
    HDC dc_;
    Win32Application& app_;
    int saved_;
    HPEN pen_ = nullptr;
    HBRUSH brush_ = nullptr;
    HGDIOBJ oldPen_ = nullptr, oldBrush_ = nullptr;  // what ours replaced
    TColor brushColor_ = clWhite;
};

}  // namespace ui::win32
