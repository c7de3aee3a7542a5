// The painters of a menu item's text, check mark, picture and gradient
// column, which the flat buttons use for their captions and glyphs too.
#pragma once
#include <string>

#include "menulook/colours.h"
#include "ui/types.h"

namespace menulook {

using ui::TRect;

struct TextPaint {
    std::string caption, shortcut;
    unsigned format = 0;
    ui::TFont font;
    bool isDefault = false, enabled = true, selected = false;
};
// A caption centred in one line of r, with the shadow of a default item and
// the shortcut right-aligned.
void PaintItemText(TCanvas& c, const XPPalette& pal, const TextPaint& t, TRect r);
void PaintItemCheck(TCanvas& c, const XPPalette& pal, const TRect& k, bool selected,
                    bool hasPicture, bool enabled, bool checked, bool radio);
struct IconPaint {
    bool checked = false, enabled = true, selected = false;
    int iconWidth = 24, dimLevel = 30, grayLevel = 10;
};
void PaintItemIcon(TCanvas& c, const XPPalette& pal, const TRect& i, ui::TPixels picture,
                   const IconPaint& how);
void PaintGradientColumn(TCanvas& c, const XPPalette& pal, const TRect& r, int iconWidth);

}  // namespace menulook
