// Tool buttons, combo boxes and control-bar bands. The main window has none
// of them, so what is kept of their look is its colour and layout rules.
#pragma once
#include <vector>

#include "menulook/colours.h"
#include "ui/types.h"

namespace menulook {

// A tool button's fill: hot, then checked or pressed; else the bar's colour.
TColor toolButtonFill(const XPPalette& pal, bool hot, bool checked, bool pressedOrDown,
                      TColor barColour);

// A flat combo box's frame and drop-button fill for its state.
struct ComboColours {
    TColor frame, button;
};
ComboColours comboColours(TCanvas& c, const XPPalette& pal, bool mouseInside, bool focused,
                          bool droppedDown, TColor controlColour);

// One row of pixels of a painted shape.
struct Stroke {
    int y, left, right;  // right excluded
    TColor colour;
};
// The small down arrow of drop-down tool buttons and combo boxes: rows of 5,
// 3 and 1 pixels centred 10 pixels in from the right edge.
std::vector<Stroke> dropDownArrow(const ui::TRect& r, TColor colour);
// A band's face, lightened a little in deep colour, and its grip: strokes
// 3 pixels wide on the even rows, each darker than the one above.
TColor bandFace(TCanvas& c, const XPPalette& pal, TColor bandColour);
std::vector<Stroke> bandGrip(TCanvas& c, const ui::TRect& band, TColor bandColour);

}  // namespace menulook
