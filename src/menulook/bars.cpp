#include "menulook/bars.h"

namespace menulook {

TColor toolButtonFill(const XPPalette& pal, bool hot, bool checked, bool pressedOrDown,
                      TColor barColour) {
    if (hot) return checked || pressedOrDown ? pal.CheckFillHot : pal.SelectFill;
    if (checked) return pal.CheckFill;
    return barColour;
}

ComboColours comboColours(TCanvas& c, const XPPalette& pal, bool mouseInside, bool focused,
                          bool droppedDown, TColor controlColour) {
    if (droppedDown) return {pal.SelectFrame, pal.CheckFillHot};
    if (mouseInside) return {pal.SelectFrame, pal.SelectFill};
    if (focused) return {LightenColour(c, pal.SelectFrame, 60), pal.CheckFill};
    return {controlColour, ui::clBtnFace};
}

std::vector<Stroke> dropDownArrow(const ui::TRect& r, TColor colour) {
    const int x = r.right - 10, y = r.top + (r.height() - 3) / 2;
    return {{y, x - 2, x + 3, colour}, {y + 1, x - 1, x + 2, colour}, {y + 2, x, x + 1, colour}};
}

TColor bandFace(TCanvas& c, const XPPalette& pal, TColor bandColour) {
    return pal.DeepColour ? LightenColour(c, bandColour, 6) : bandColour;
}

std::vector<Stroke> bandGrip(TCanvas& c, const ui::TRect& band, TColor bandColour) {
    std::vector<Stroke> out;
    int darker = 30;
    for (int y = band.top + 5; y <= band.bottom - 5; ++y) {
        if (y % 2 != 0) continue;
        out.push_back({y, band.left + 3, band.left + 6, DarkenColour(c, bandColour, darker)});
        darker += 7;
    }
    return out;
}

}  // namespace menulook
