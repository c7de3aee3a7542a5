// Where the parts of a popup menu item go, and how large its picture is.
#pragma once
#include "ui/menus.h"
#include "ui/types.h"

namespace menulook {

using ui::TRect;

// Where an item's parts go: the icon column I, the check box K, the text T.
struct ItemLayout {
    TRect icon, check, text;
};
ItemLayout menuItemLayout(TRect r, int iconWidth, int pictureWidth, bool hasPicture);

// A menu item's picture size: the menu's image list when the item has an
// image index; the width at least the icon column's.
ui::TPoint itemIconSize(const ui::TMenuItem& item, int iconWidth);

}  // namespace menulook
