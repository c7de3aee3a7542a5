#include "menulook/painters.h"

#include <algorithm>

#include "menulook/item_paint.h"

namespace menulook {

void PaintTick(TCanvas& c, int x, int y) {
    for (int i = 0; i < 3; ++i)
        c.polyline({{x + 2, y - i - 5}, {x + 4, y - i - 3}, {x + 9, y - i - 8}});
}

void PaintEditFrame(TCanvas& c, const XPPalette& pal, const TRect& r, bool hot,
                    TColor parentColour) {
    c.setBrushColor(hot ? LightenColour(c, pal.SelectFrame, 60) : DarkenColour(c, parentColour, 60));
    c.frameRect(r);
}

namespace {

TRect boxPlace(const TRect& client, int boxSize) {
    const int top = client.top + 3 + (client.height() - 6 - boxSize) / 2;
    return {client.left, top, client.left + boxSize, top + boxSize};
}

TRect shrink(const TRect& r, int by) { return {r.left + by, r.top + by, r.right - by, r.bottom - by}; }

}  // namespace

void PaintCheckBox(TCanvas& c, const XPPalette& pal, const TRect& client, const ControlState& s,
                   int boxSize, TColor controlColour) {
    const bool hot = s.mouseInside || s.hasFocus;
    const TRect place = boxPlace(client, boxSize);
    c.setBrushColor(controlColour);
    c.fillRect(place);
    const TRect box = shrink(place, 1);
    TColor fill = hot ? pal.SelectFill : ui::clWindow;
    const bool pressed = s.leftDown || s.spaceDown;
    if (pressed) fill = pal.CheckFillHot;
    c.setBrushColor(fill);
    c.setPenColor(hot ? pal.SelectFrame : ui::clBtnShadow);
    c.rectangle(box);
    if (!s.checked) return;
    c.setPenColor(!s.enabled ? pal.DisabledText : pressed ? ui::clWindow : ui::clHighlight);
    PaintTick(c, box.left, box.bottom);
}

GlyphPlace placeGlyph(const TRect& r, int glyphW, int glyphH, int captionW, int spacing) {
    const int gap = glyphW > 0 && captionW > 0 ? spacing : 0;
    const int total = glyphW + gap + captionW;
    GlyphPlace p;
    p.glyphX = r.left + (r.width() - total) / 2;
    p.glyphY = r.top + (r.height() - glyphH) / 2;
    p.caption = {p.glyphX + glyphW + gap, r.top, p.glyphX + total, r.bottom};
    return p;
}

namespace {

// The glyph and caption as one centred group: the glyph by PaintItemIcon,
// the caption by PaintItemText.
void paintFace(TCanvas& c, const XPPalette& pal, const TRect& r, const ControlState& s,
               const Face& face) {
    c.setFont(face.font);
    const int captionW = face.caption.empty() ? 0 : c.textWidth(face.caption);
    const GlyphPlace p = placeGlyph(r, face.glyph.width, face.glyph.height, captionW, 4);
    if (!face.glyph.empty()) {
        IconPaint how;
        how.enabled = s.enabled;
        how.iconWidth = face.glyph.width;
        how.checked = true;  // a glyph neither fades nor rises
        // PaintItemIcon puts a picture as wide as its column 2 right of the
        // column's left and 3 below its top.
        PaintItemIcon(c, pal, {p.glyphX - 2, p.glyphY - 3, p.glyphX - 2 + face.glyph.width, r.bottom},
                      face.glyph, how);
    }
    if (face.caption.empty()) return;
    TextPaint t;
    t.caption = face.caption;
    t.font = face.font;
    t.format = ui::dt::Center;
    t.isDefault = s.isDefault;
    t.enabled = s.enabled;
    TRect cr = p.caption;
    cr.left -= 2, cr.right += 2;  // room for the text's own overhang
    PaintItemText(c, pal, t, cr);
}

}  // namespace

void PaintButton(TCanvas& c, const XPPalette& pal, const TRect& client, const ControlState& s,
                 TColor parentColour, const Face& face) {
    const bool lit = s.mouseInside || s.spaceDown;
    const TColor faceColour = lit ? LightenColour(c, ui::clBtnFace, 60) : pal.IconColumn;
    const TColor base = lit || s.hasFocus ? LightenColour(c, pal.SelectFrame, 60) : ui::clBtnShadow;
    c.setBrushColor(parentColour);
    c.fillRect(client);
    c.setBrushColor(faceColour);
    c.setPenColor(LightenColour(c, base, 30));
    c.roundRect(client, 4, 4);
    if (s.enabled) {
        const bool pressed = (s.leftDown && s.mouseInside) || s.spaceDown;
        c.setPenColor(DarkenColour(c, base, 50));
        const TRect& r = client;
        if (pressed) {
            c.moveTo(r.left + 1, r.bottom - 2);
            c.lineTo(r.left + 1, r.top + 1);
            c.lineTo(r.right - 1, r.top + 1);
        } else {
            c.moveTo(r.right - 2, r.top + 1);
            c.lineTo(r.right - 2, r.bottom - 2);
            c.lineTo(r.left, r.bottom - 2);
        }
    }
    paintFace(c, pal, client, s, face);
}

void PaintSpeedButton(TCanvas& c, const XPPalette& pal, const TRect& client,
                      const ControlState& s, const Face& face) {
    TColor fill = s.mouseInside ? pal.SelectFill : pal.IconColumn;
    TColor frame = s.mouseInside ? pal.SelectFrame : ui::clBtnShadow;
    if (s.down) {
        fill = s.mouseInside ? pal.CheckFillHot : pal.CheckFill;
        frame = pal.SelectFrame;
    }
    if (!s.enabled) frame = ui::clBtnShadow;
    c.setBrushColor(fill);
    c.setPenColor(LightenColour(c, frame, 30));
    c.rectangle(client);
    c.setPenColor(DarkenColour(c, frame, 50));
    const TRect& r = client;
    if (s.leftDown || s.down) {
        c.moveTo(r.left, r.bottom - 1);
        c.lineTo(r.left, r.top);
        c.lineTo(r.right, r.top);
    } else {
        c.moveTo(r.right - 1, r.top);
        c.lineTo(r.right - 1, r.bottom - 1);
        c.lineTo(r.left - 1, r.bottom - 1);
    }
    paintFace(c, pal, client, s, face);
}

void PaintPanel(TCanvas& c, const TRect& r, ui::TBevelCut bevel, TColor panelColour) {
    if (bevel == ui::TBevelCut::None) return;
    const TColor dark = DarkenColour(c, panelColour, 60), light = LightenColour(c, panelColour, 60);
    const bool lowered = bevel == ui::TBevelCut::Lowered;
    c.setPenColor(lowered ? dark : light);
    c.moveTo(r.left, r.bottom - 1);
    c.lineTo(r.left, r.top);
    c.lineTo(r.right, r.top);
    c.setPenColor(lowered ? light : dark);
    c.moveTo(r.right - 1, r.top + 1);
    c.lineTo(r.right - 1, r.bottom - 1);
    c.lineTo(r.left, r.bottom - 1);
}

void PaintGroupBox(TCanvas& c, const TRect& client, const std::string& caption,
                   const ui::TFont& font, TColor boxColour, TColor parentColour) {
    c.setFont(font);
    const int th = c.textHeight(caption.empty() ? "W" : caption);
    const int top = client.top + th / 2;
    c.setBrushColor(parentColour);
    c.fillRect({client.left, client.top, client.right, top});
    const TColor dark = DarkenColour(c, boxColour, 60);
    const TColor light = LightenColour(c, boxColour, 60);
    const TRect f{client.left, top, client.right, client.bottom};
    c.setPenColor(light);
    c.moveTo(f.left, f.bottom - 1);
    c.lineTo(f.left, f.top);
    const int capL = f.left + 9 - 2, capR = f.left + 9 + (caption.empty() ? 0 : c.textWidth(caption)) + 2;
    if (caption.empty()) {
        c.lineTo(f.right, f.top);
    } else {
        c.lineTo(capL, f.top);
        c.moveTo(capR, f.top);
        c.lineTo(f.right, f.top);
    }
    c.setPenColor(dark);
    c.moveTo(f.right - 1, f.top);
    c.lineTo(f.right - 1, f.bottom - 1);
    c.lineTo(f.left - 1, f.bottom - 1);
    if (caption.empty()) return;
    c.setBrushColor(boxColour);
    c.fillRect({capL, top, capR, client.top + th});
    c.setTransparentText(true);
    c.setTextColor(font.color);
    c.textOut(f.left + 9, client.top, caption);
}

}  // namespace menulook
