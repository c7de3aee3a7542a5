#include "menulook/colours.h"

#include <algorithm>

namespace menulook {

namespace {
int red(TColor c) { return static_cast<int>(c & 0xFF); }
int green(TColor c) { return static_cast<int>((c >> 8) & 0xFF); }
int blue(TColor c) { return static_cast<int>((c >> 16) & 0xFF); }
TColor rgb(int r, int g, int b) {
    auto ch = [](int v) { return static_cast<TColor>(std::clamp(v, 0, 255)); };
    return ch(r) | (ch(g) << 8) | (ch(b) << 16);
}
}  // namespace

int roundHundredths(int v) {
    int q = v / 100;
    const int r = v % 100;
    if (r > 50 || (r == 50 && q % 2 == 1)) ++q;
    return q;
}

TColor LightenColour(TCanvas& c, TColor colour, int p) {
    p = std::min(p, 100);
    const TColor v = c.rgbOf(colour);
    auto up = [p](int ch) { return ch + roundHundredths((255 - ch) * p); };
    return c.nearestColor(rgb(up(red(v)), up(green(v)), up(blue(v))));
}

TColor DarkenColour(TCanvas& c, TColor colour, int n) {
    const TColor v = c.rgbOf(colour);
    return rgb(red(v) - n, green(v) - n + 2, blue(v) - n);
}

TColor GreyOf(TCanvas& c, TColor colour, int k) {
    const TColor v = c.rgbOf(colour);
    const int g = std::min((red(v) + green(v) + blue(v)) / 3 + k, 240);
    return rgb(g, g, g);
}

namespace {
template <class F>
void recolour(ui::TPixels& p, F f) {
    for (int y = 0; y < p.height; ++y) {
        bool first = true;
        TColor last = 0, result = 0;
        for (int x = 0; x < p.width; ++x) {
            TColor& px = p.at(x, y);
            if (first || px != last) {
                last = px;
                result = f(px);
                first = false;
            }
            px = result;
        }
    }
}
}  // namespace

void FadeIcon(TCanvas& c, ui::TPixels& p, int percent) {
    recolour(p, [&](TColor v) { return LightenColour(c, v, std::min(percent, 100)); });
}

void GreyIcon(TCanvas& c, ui::TPixels& p, int k) {
    recolour(p, [&](TColor v) { return GreyOf(c, v, k); });
}

void PaintIconShadow(const ui::TPixels& p, TCanvas& c, int x, int y, TColor colour) {
    const TColor clear = p.transparentColor();
    ui::TPixels shadow = p;
    const TColor off = clear == colour ? colour ^ 1 : clear;
    for (TColor& v : shadow.px) v = v == clear ? off : colour;
    if (!shadow.empty()) shadow.at(0, shadow.height - 1) = off;
    c.drawPixels(shadow, x, y);
}

XPPalette DerivePalette(TCanvas& c, const PaletteSource& s) {
    using namespace ui;
    XPPalette p;
    p.DeepColour = c.bitsPerPixel() > 15;
    const bool deep = p.DeepColour;
    p.MenuFace = s.Color;
    p.IconColumn = s.IconBackColor;
    p.SelectFill = deep ? LightenColour(c, s.SelectColor, 68) : s.SelectColor;
    p.CheckFill = deep ? LightenColour(c, s.SelectColor, 80) : clWhite;
    p.CheckFillHot = deep ? LightenColour(c, s.SelectColor, 50) : clSilver;
    p.SelectFrame = s.SelectBorderColor;
    p.SelectText = s.SelectFontColor;
    p.DisabledText = s.DisabledColor;
    p.CheckMark = s.CheckedColor;
    p.SeparatorLine = s.SeparatorColor;
    if (!s.UseSystemColors) return p;
    p.SelectText = s.FontColor;
    p.MenuFace = deep ? LightenColour(c, clBtnFace, 86) : clWhite;
    p.IconColumn = deep ? LightenColour(c, clBtnFace, 16) : clBtnFace;
    p.SelectFill = deep ? LightenColour(c, clHighlight, 68) : clWhite;
    p.SelectFrame = clHighlight;
    p.DisabledText = deep ? LightenColour(c, clBtnShadow, 10) : clBtnShadow;
    p.SeparatorLine = deep ? LightenColour(c, clBtnShadow, 25) : clBtnShadow;
    p.CheckMark = clHighlight;
    p.CheckFill = deep ? LightenColour(c, clHighlight, 80) : clWhite;
    p.CheckFillHot = deep ? LightenColour(c, clHighlight, 50) : clWhite;
    return p;
}

}  // namespace menulook
