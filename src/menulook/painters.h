// The flat painters of the controls the look takes over. Each draws over
// what the control painted itself, in the palette of one painting.
#pragma once
#include <string>

#include "menulook/colours.h"
#include "ui/types.h"

namespace menulook {

using ui::TRect;

// What a painter knows of its control.
struct ControlState {
    bool mouseInside = false;  // the mouse is over it, or it just got the focus
    bool hasFocus = false;
    bool leftDown = false, spaceDown = false;
    bool enabled = true, checked = false, down = false, isDefault = false;
};

// A three-pixel thick tick from (x, y) at the bottom left of a box.
void PaintTick(TCanvas& c, int x, int y);

// A one-pixel frame around an edit field, whose border is always single.
void PaintEditFrame(TCanvas& c, const XPPalette& pal, const TRect& r, bool hot,
                    TColor parentColour);
// The box of a check box, boxSize high, at the left edge.
void PaintCheckBox(TCanvas& c, const XPPalette& pal, const TRect& client, const ControlState& s,
                   int boxSize, TColor controlColour);

// Where a glyph and a caption go when laid out as one centred group, the
// glyph left of the caption, spacing apart when there is a caption.
struct GlyphPlace {
    int glyphX = 0, glyphY = 0;
    TRect caption;
};
GlyphPlace placeGlyph(const TRect& r, int glyphW, int glyphH, int captionW, int spacing);

struct Face {
    std::string caption;
    ui::TFont font;
    ui::TPixels glyph;
};
// Push and bit buttons: a rounded face, lit when hot, with a bevel line.
void PaintButton(TCanvas& c, const XPPalette& pal, const TRect& client, const ControlState& s,
                 TColor parentColour, const Face& face);
// A speed button; down: it stays pressed.
void PaintSpeedButton(TCanvas& c, const XPPalette& pal, const TRect& client,
                      const ControlState& s, const Face& face);
// A panel's one bevel, one pixel wide, drawn again flat.
void PaintPanel(TCanvas& c, const TRect& client, ui::TBevelCut bevel, TColor panelColour);
// A group box's 3D frame half a caption line below the top, its caption 9
// pixels in.
void PaintGroupBox(TCanvas& c, const TRect& client, const std::string& caption,
                   const ui::TFont& font, TColor boxColour, TColor parentColour);

}  // namespace menulook
