#include "ui/headless/memory_canvas.h"

#include <algorithm>
#include <cstdlib>

#include "ui/menus.h"

namespace ui::headless {

TColor classicSystemColor(TColor c) {
    if (!isSystemColor(c)) return c & 0xFFFFFF;
    switch (c & 0xFF) {
    case 3: return 0x808080;   // inactive caption
    case 5: return 0xFFFFFF;   // window
    case 7: return 0x000000;   // menu text
    case 8: return 0x000000;   // window text
    case 13: return 0x6A240A;  // highlight
    case 14: return 0xFFFFFF;  // highlight text
    case 15: return 0xC8D0D4;  // button face
    case 16: return 0x808080;  // button shadow
    case 20: return 0xFFFFFF;  // button highlight
    default: return 0xC0C0C0;
    }
}

MemoryCanvas::MemoryCanvas(int width, int height, TColor background)
    : w_(width), h_(height), px_(static_cast<size_t>(width * height), classicSystemColor(background)) {}

std::string MemoryCanvas::rect(const TRect& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
           "," + std::to_string(r.bottom);
}

void MemoryCanvas::setFont(const TFont& f) {
    font_ = f;
    textColor_ = rgbOf(f.color);
}

void MemoryCanvas::fill(int l, int t, int r, int b, TColor c) {
    for (int y = std::max(0, t); y < std::min(h_, b); ++y)
        for (int x = std::max(0, l); x < std::min(w_, r); ++x) px_[static_cast<size_t>(y * w_ + x)] = c;
}

void MemoryCanvas::fillRect(const TRect& r) { fill(r.left, r.top, r.right, r.bottom, rgbOf(brush_)); }

void MemoryCanvas::frameRect(const TRect& r) {
    const TColor c = rgbOf(brush_);
    fill(r.left, r.top, r.right, r.top + 1, c);
    fill(r.left, r.bottom - 1, r.right, r.bottom, c);
    fill(r.left, r.top, r.left + 1, r.bottom, c);
    fill(r.right - 1, r.top, r.right, r.bottom, c);
}

void MemoryCanvas::rectangle(const TRect& r) {
    fill(r.left, r.top, r.right, r.bottom, rgbOf(brush_));
    const TColor c = pen_;
    fill(r.left, r.top, r.right, r.top + 1, c);
    fill(r.left, r.bottom - 1, r.right, r.bottom, c);
    fill(r.left, r.top, r.left + 1, r.bottom, c);
    fill(r.right - 1, r.top, r.right, r.bottom, c);
}

void MemoryCanvas::roundRect(const TRect& r, int cw, int ch) {
    calls_.push_back("roundRect " + rect(r) + " " + std::to_string(cw) + "," + std::to_string(ch));
    rectangle(r);
}

void MemoryCanvas::ellipse(const TRect& r) {
    calls_.push_back("ellipse " + rect(r));
    const double cx = (r.left + r.right - 1) / 2.0, cy = (r.top + r.bottom - 1) / 2.0;
    const double rx = std::max(0.5, r.width() / 2.0), ry = std::max(0.5, r.height() / 2.0);
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) {
            const double dx = (x - cx) / rx, dy = (y - cy) / ry;
            if (dx * dx + dy * dy <= 1.0) setPixel(x, y, brush_);
        }
}

// Like LineTo: the end point itself is not drawn.
void MemoryCanvas::lineTo(int x, int y) {
    int x0 = at_.x, y0 = at_.y;
    const int dx = std::abs(x - x0), sx = x0 < x ? 1 : -1;
    const int dy = -std::abs(y - y0), sy = y0 < y ? 1 : -1;
    int err = dx + dy;
    while (!(x0 == x && y0 == y)) {
        setPixel(x0, y0, pen_);
        const int e2 = 2 * err;
        if (e2 >= dy) err += dy, x0 += sx;
        if (e2 <= dx) err += dx, y0 += sy;
    }
    at_ = {x, y};
}

void MemoryCanvas::polyline(const std::vector<TPoint>& points) {
    if (points.empty()) return;
    moveTo(points[0].x, points[0].y);
    for (size_t i = 1; i < points.size(); ++i) lineTo(points[i].x, points[i].y);
}

TColor MemoryCanvas::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= w_ || y >= h_) return 0xFFFFFFFFu;  // CLR_INVALID
    return px_[static_cast<size_t>(y * w_ + x)];
}

void MemoryCanvas::setPixel(int x, int y, TColor c) {
    if (x >= 0 && y >= 0 && x < w_ && y < h_) px_[static_cast<size_t>(y * w_ + x)] = rgbOf(c);
}

void MemoryCanvas::textOut(int x, int y, const std::string& text) {
    calls_.push_back("textOut " + std::to_string(x) + "," + std::to_string(y) + " " + text);
}

// Every byte is half a 12-pixel character wide.
int MemoryCanvas::textWidth(const std::string& text) {
    return static_cast<int>(text.size()) * std::abs(font_.height) / 2;
}

int MemoryCanvas::textHeight(const std::string&) { return std::abs(font_.height); }

void MemoryCanvas::drawText(TRect r, const std::string& text, unsigned format) {
    calls_.push_back("drawText " + rect(r) + " " + std::to_string(format) + " " + text);
}

void MemoryCanvas::copyRect(const TRect& to, TCanvas& src, const TRect& from) {
    if (to.width() <= 0 || to.height() <= 0 || from.width() <= 0 || from.height() <= 0) return;
    std::vector<TColor> copy;
    for (int y = 0; y < to.height(); ++y)
        for (int x = 0; x < to.width(); ++x)
            copy.push_back(src.pixel(from.left + x * from.width() / to.width(),
                                     from.top + y * from.height() / to.height()));
    size_t i = 0;
    for (int y = 0; y < to.height(); ++y)
        for (int x = 0; x < to.width(); ++x) setPixel(to.left + x, to.top + y, copy[i++]);
}

void MemoryCanvas::drawImage(const TImageList&, int index, int x, int y) {
    calls_.push_back("drawImage " + std::to_string(index) + " at " + std::to_string(x) + "," +
                     std::to_string(y));
}

namespace {
TPixels madeUp(int w, int h, TColor frame, TColor inside) {
    TPixels p(w, h, frame);
    for (int y = 2; y < h - 2; ++y)
        for (int x = 2; x < w - 2; ++x) p.at(x, y) = inside;
    return p;
}
}  // namespace

TPixels MemoryCanvas::imagePixels(const TImageList& list, int index, TColor background) {
    calls_.push_back("imagePixels " + std::to_string(index));
    return madeUp(list.width(), list.height(), rgbOf(background), pictureColor(index));
}

TPixels MemoryCanvas::resourcePixels(const std::string& resource) {
    calls_.push_back("resourcePixels " + resource);
    return madeUp(16, 16, 0xFF00FF, pictureColor(0));
}

void MemoryCanvas::drawCheck(const TRect& r, bool checked, bool enabled) {
    calls_.push_back("drawCheck " + rect(r) + (checked ? " checked" : " unchecked") +
                     (enabled ? "" : " disabled"));
}

void MemoryCanvas::drawFocusRect(const TRect& r) { calls_.push_back("drawFocusRect " + rect(r)); }

// At 16 bits or fewer a colour keeps 5 bits per channel.
TColor MemoryCanvas::nearestColor(TColor c) const {
    c = rgbOf(c);
    if (bpp_ > 16) return c;
    auto ch = [](TColor v) { return (v & 0xF8) | ((v & 0xF8) >> 5); };
    return ch(c & 0xFF) | (ch((c >> 8) & 0xFF) << 8) | (ch((c >> 16) & 0xFF) << 16);
}

}  // namespace ui::headless
