#include "menulook/item_paint.h"

#include <algorithm>

namespace menulook {

void PaintItemText(TCanvas& c, const XPPalette& pal, const TextPaint& t, TRect r) {
    c.setFont(t.font);
    TColor colour = t.font.color;
    if (t.selected) colour = pal.SelectText;
    if (!t.enabled) colour = pal.DisabledText;
    r.top += (r.height() - c.textHeight("W")) / 2;
    c.setTransparentText(true);
    if (t.isDefault && t.enabled) {
        struct Pass {
            int dx, dy, darker;
        };
        // The farther pass first, so the nearer and darker ones lie over it.
        constexpr Pass passes[] = {{2, 2, 30}, {2, 1, 30}, {1, 2, 40}, {1, 1, 60}};
        for (const Pass& p : passes) {
            const TRect s{r.left + p.dx, r.top + p.dy, r.right + p.dx, r.bottom + p.dy};
            const TColor under = c.pixel(s.left + 1, s.top + 1) & 0xFFFFFF;
            c.setTextColor(DarkenColour(c, under, p.darker));
            c.drawText(s, t.caption, t.format);
        }
    }
    c.setTextColor(colour);
    c.drawText(r, t.caption, t.format);
    if (t.shortcut.empty()) return;
    c.setTextColor(pal.DeepColour ? DarkenColour(c, colour, -40) : colour);
    c.drawText({r.left, r.top, r.right - 10, r.bottom}, t.shortcut + " ", ui::dt::Right);
}

void PaintItemCheck(TCanvas& c, const XPPalette& pal, const TRect& k, bool selected,
                    bool hasPicture, bool enabled, bool checked, bool radio) {
    if (!checked) return;
    c.setBrushColor(selected ? pal.CheckFillHot : pal.CheckFill);
    if (radio) {
        c.setPenColor(enabled ? pal.SelectFrame : pal.DisabledText);
        if (hasPicture) c.roundRect(k, 6, 6);
        else c.ellipse(k);
        return;
    }
    if (hasPicture) {
        c.setPenColor(enabled ? pal.SelectFrame : pal.DisabledText);
        c.rectangle(k);
        return;
    }
    c.setPenColor(enabled ? pal.CheckMark : pal.DisabledText);
    c.rectangle(k);
    c.setPenColor(enabled ? ui::clBlack : pal.DisabledText);
    const int l = k.left, t = k.top, rt = k.right, b = k.bottom;
    const ui::TPoint strokes[][2] = {{{l + 1, t + 5}, {l + 4, b - 2}},
                                     {{l + 2, t + 5}, {l + 4, b - 3}},
                                     {{l + 2, t + 4}, {l + 5, b - 3}},
                                     {{l + 4, b - 3}, {rt + 2, t - 1}},
                                     {{l + 4, b - 2}, {rt - 2, t + 3}}};
    for (const auto& s : strokes) {
        c.moveTo(s[0].x, s[0].y);
        c.lineTo(s[1].x, s[1].y);
    }
}

void PaintItemIcon(TCanvas& c, const XPPalette& pal, const TRect& i, ui::TPixels picture,
                   const IconPaint& how) {
    if (picture.empty()) return;
    const int w = picture.width;
    int y = i.top + 3;
    int x = w < how.iconWidth ? i.left + (how.iconWidth - w) / 2 - 1 : i.left + 2;
    const bool lively = how.enabled && !how.checked;
    if (how.selected && lively) --x, --y;
    if (!how.selected && lively && pal.DeepColour) FadeIcon(c, picture, how.dimLevel);
    if (!how.enabled) {
        GreyIcon(c, picture, how.grayLevel);
        FadeIcon(c, picture, 40);
    }
    if (how.selected && lively)
        PaintIconShadow(picture, c, x + 2, y + 2, DarkenColour(c, pal.SelectFill, 50));
    c.drawPixels(picture, x, y);
}

void PaintGradientColumn(TCanvas& c, const XPPalette& pal, const TRect& r, int iconWidth) {
    int k = 0;
    for (int n = 0; n < r.width(); ++n) {
        k = std::min(96, k + (n + 1 < iconWidth + 5 ? 3 : 1));
        const int x = r.left + n;
        c.setBrushColor(LightenColour(c, pal.IconColumn, k));
        c.fillRect({x, r.top, x + 1, r.bottom});
    }
}

}  // namespace menulook
