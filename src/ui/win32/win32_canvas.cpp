#include "ui/win32/win32_canvas.h"
#include "ui/win32/win32_text.h"

#include <commctrl.h>

#include "ui/menus.h"
#include "ui/win32/win32_app.h"

namespace ui::win32 {

COLORREF rgbOf(TColor c) {
    return isSystemColor(c) ? GetSysColor(static_cast<int>(c & 0xFF)) : static_cast<COLORREF>(c);
}

static RECT toRect(const TRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

Win32Canvas::Win32Canvas(HDC dc, Win32Application& app) : dc_(dc), app_(app) {
    saved_ = objects::create(objects::Saved, [&] { return SaveDC(dc_); });
}

// Ours are put out of the context even when its state could not be saved:
// an object still selected cannot be deleted.
Win32Canvas::~Win32Canvas() {
    if (saved_) RestoreDC(dc_, objects::release(objects::Saved, saved_));
    if (oldPen_) SelectObject(dc_, oldPen_);
    if (oldBrush_) SelectObject(dc_, oldBrush_);
    if (pen_) objects::remove(objects::Pen, pen_, dc_);
    if (brush_) objects::remove(objects::Brush, brush_, dc_);
}

namespace {
// Puts `made` in `current`'s place; when it cannot be made or selected, the
// current one stays, and the one it replaced is still known.
template <class H>
void replaceSelected(HDC dc, objects::Kind kind, H made, H& current, HGDIOBJ& original) {
    if (!made) return;
    HGDIOBJ was = SelectObject(dc, made);
    if (!was) {
        objects::remove(kind, made, dc);
        return;
    }
    if (current) objects::remove(kind, current, dc);
    else original = was;
    current = made;
}
}  // namespace

void Win32Canvas::setPenColor(TColor c) {
    replaceSelected(dc_, objects::Pen,
                    objects::create(objects::Pen, [&] { return CreatePen(PS_SOLID, 1, ui::win32::rgbOf(c)); }),
                    pen_, oldPen_);
}

void Win32Canvas::setBrushColor(TColor c) {
    brushColor_ = c;
    replaceSelected(dc_, objects::Brush,
                    objects::create(objects::Brush, [&] { return CreateSolidBrush(ui::win32::rgbOf(c)); }),
                    brush_, oldBrush_);
}

void Win32Canvas::setFont(const TFont& f) {
    SelectObject(dc_, app_.font(f));
    SetTextColor(dc_, ui::win32::rgbOf(f.color));
}

void Win32Canvas::setTextColor(TColor c) { SetTextColor(dc_, ui::win32::rgbOf(c)); }

void Win32Canvas::setTransparentText(bool t) { SetBkMode(dc_, t ? TRANSPARENT : OPAQUE); }

void Win32Canvas::fillRect(const TRect& r) {
    RECT rc = toRect(r);
    if (!brush_) setBrushColor(brushColor_);
    FillRect(dc_, &rc, brush_);
}

void Win32Canvas::frameRect(const TRect& r) {
    RECT rc = toRect(r);
    if (!brush_) setBrushColor(brushColor_);
    FrameRect(dc_, &rc, brush_);
}

void Win32Canvas::rectangle(const TRect& r) { Rectangle(dc_, r.left, r.top, r.right, r.bottom); }

void Win32Canvas::roundRect(const TRect& r, int w, int h) {
    RoundRect(dc_, r.left, r.top, r.right, r.bottom, w, h);
}

void Win32Canvas::ellipse(const TRect& r) { Ellipse(dc_, r.left, r.top, r.right, r.bottom); }

void Win32Canvas::moveTo(int x, int y) { MoveToEx(dc_, x, y, nullptr); }

void Win32Canvas::lineTo(int x, int y) { LineTo(dc_, x, y); }

void Win32Canvas::polyline(const std::vector<TPoint>& pts) {
    std::vector<POINT> p;
    p.reserve(pts.size());
    for (auto& q : pts) p.push_back(POINT{q.x, q.y});
    if (!p.empty()) Polyline(dc_, p.data(), static_cast<int>(p.size()));
}

TColor Win32Canvas::pixel(int x, int y) const { return GetPixel(dc_, x, y); }

void Win32Canvas::setPixel(int x, int y, TColor c) { SetPixel(dc_, x, y, ui::win32::rgbOf(c)); }

void Win32Canvas::textOut(int x, int y, const std::string& t) {
    text::textOut(dc_, x, y, t);
}

int Win32Canvas::textWidth(const std::string& t) {
    return text::textExtent(dc_, t).cx;
}

int Win32Canvas::textHeight(const std::string& t) {
    return text::textExtent(dc_, t.empty() ? std::string("W") : t).cy;
}

void Win32Canvas::drawText(TRect r, const std::string& t, unsigned format) {
    RECT rc = toRect(r);
    const text::Arg s = text::arg(t);
    text::api().drawText(dc_, s, s.length(), &rc, format);
}

void Win32Canvas::copyRect(const TRect& to, TCanvas& src, const TRect& from) {
    StretchBlt(dc_, to.left, to.top, to.width(), to.height(), reinterpret_cast<HDC>(src.handle()),
               from.left, from.top, from.width(), from.height(), SRCCOPY);
}

void Win32Canvas::drawImage(const TImageList& list, int index, int x, int y) {
    if (list.handle())
        ImageList_Draw(reinterpret_cast<HIMAGELIST>(list.handle()), index, dc_, x, y, ILD_TRANSPARENT);
}

void Win32Canvas::drawCheck(const TRect& r, bool checked, bool enabled) {
    RECT rc = toRect(r);
    UINT state = DFCS_BUTTONCHECK | (checked ? DFCS_CHECKED : 0) | (enabled ? 0 : DFCS_INACTIVE);
    DrawFrameControl(dc_, &rc, DFC_BUTTON, state);
}

void Win32Canvas::drawFocusRect(const TRect& r) {
    RECT rc = toRect(r);
    DrawFocusRect(dc_, &rc);
}

namespace {

// A 32-bit picture in memory, selected into a DC of its own, so that GDI can
// draw into it and its pixels can be read and written directly.
class DibSurface {
public:
    DibSurface(HDC like, int w, int h) : w_(w), h_(h) {
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = w;
        bi.bmiHeader.biHeight = -h;  // rows from the top
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        bi.bmiHeader.biCompression = BI_RGB;
        dc_ = objects::create(objects::Dc, [&] { return CreateCompatibleDC(like); });
        bmp_ = objects::create(objects::Bitmap, [&] {
            return CreateDIBSection(like, &bi, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
        });
        if (dc_ && bmp_) old_ = SelectObject(dc_, bmp_);
    }
    ~DibSurface() {
        if (old_) SelectObject(dc_, old_);
        if (bmp_) DeleteObject(objects::release(objects::Bitmap, bmp_));
        if (dc_) DeleteDC(objects::release(objects::Dc, dc_));
    }
    DibSurface(const DibSurface&) = delete;
    DibSurface& operator=(const DibSurface&) = delete;
    bool ok() const { return old_ && bits_; }
    HDC dc() const { return dc_; }
    // DIB pixels are 0x00RRGGBB; colours 0x00BBGGRR.
    static TColor swap(std::uint32_t v) { return ((v & 0xFF) << 16) | (v & 0xFF00) | ((v >> 16) & 0xFF); }
    TPixels read() const {
        TPixels p(w_, h_, 0);
        GdiFlush();
        for (int i = 0; i < w_ * h_; ++i) p.px[static_cast<size_t>(i)] = swap(bits_[i]);
        return p;
    }
    std::uint32_t* bits() { return bits_; }

private:
    int w_, h_;
    HDC dc_ = nullptr;
    HBITMAP bmp_ = nullptr;
    HGDIOBJ old_ = nullptr;
    std::uint32_t* bits_ = nullptr;
};

}  // namespace

TPixels Win32Canvas::imagePixels(const TImageList& list, int index, TColor background) {
    if (!list.handle() || list.width() <= 0 || list.height() <= 0) return {};
    DibSurface s(dc_, list.width(), list.height());
    if (!s.ok()) return {};
    RECT rc{0, 0, list.width(), list.height()};
    HBRUSH b = objects::create(objects::Brush, [&] { return CreateSolidBrush(ui::win32::rgbOf(background)); });
    if (!b) return {};
    FillRect(s.dc(), &rc, b);
    DeleteObject(objects::release(objects::Brush, b));
    ImageList_DrawEx(reinterpret_cast<HIMAGELIST>(list.handle()), index, s.dc(), 0, 0, 0, 0,
                     CLR_NONE, CLR_NONE, ILD_TRANSPARENT);
    return s.read();
}

TPixels Win32Canvas::resourcePixels(const std::string& resource) {
    HBITMAP bmp = objects::create(objects::Bitmap, [&] {
        return static_cast<HBITMAP>(LoadImageA(app_.instance(), resource.c_str(), IMAGE_BITMAP, 0, 0, 0));
    });
    if (!bmp) return {};
    BITMAP info{};
    GetObjectA(bmp, sizeof info, &info);
    TPixels out;
    {
        DibSurface s(dc_, info.bmWidth, info.bmHeight);
        HDC mem = objects::create(objects::Dc, [&] { return CreateCompatibleDC(dc_); });
        if (s.ok() && mem) {
            HGDIOBJ old = SelectObject(mem, bmp);
            BitBlt(s.dc(), 0, 0, info.bmWidth, info.bmHeight, mem, 0, 0, SRCCOPY);
            SelectObject(mem, old);
            out = s.read();
        }
        if (mem) DeleteDC(objects::release(objects::Dc, mem));
    }
    DeleteObject(objects::release(objects::Bitmap, bmp));
    return out;
}

// What lies under the picture is read, the picture laid into it, and the
// whole put back in one copy: a pixel at a time is far too slow.
void Win32Canvas::drawPixels(const TPixels& p, int x, int y) {
    if (p.empty()) return;
    DibSurface s(dc_, p.width, p.height);
    if (!s.ok()) return TCanvas::drawPixels(p, x, y);
    BitBlt(s.dc(), 0, 0, p.width, p.height, dc_, x, y, SRCCOPY);
    GdiFlush();
    const TColor clear = p.transparentColor();
    std::uint32_t* bits = s.bits();
    for (int i = 0; i < p.width * p.height; ++i)
        if (p.px[static_cast<size_t>(i)] != clear) bits[i] = DibSurface::swap(p.px[static_cast<size_t>(i)]);
    BitBlt(dc_, x, y, p.width, p.height, s.dc(), 0, 0, SRCCOPY);
}

int Win32Canvas::bitsPerPixel() const {
    return GetDeviceCaps(dc_, BITSPIXEL) * GetDeviceCaps(dc_, PLANES);
}

TColor Win32Canvas::nearestColor(TColor c) const { return GetNearestColor(dc_, ui::win32::rgbOf(c)); }

TColor Win32Canvas::rgbOf(TColor c) const { return ui::win32::rgbOf(c); }

}  // namespace ui::win32
