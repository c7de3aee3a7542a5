#include "menulook/item_layout.h"

#include <algorithm>

namespace menulook {

ui::TPoint itemIconSize(const ui::TMenuItem& item, int iconWidth) {
    ui::TPoint size;
    const ui::TImageList* images = item.menu().images;
    if (images && item.imageIndex() != -1) size = {images->width(), images->height()};
    size.x = std::max(size.x, iconWidth);
    return size;
}

ItemLayout menuItemLayout(TRect r, int iconWidth, int pictureWidth, bool hasPicture) {
    ItemLayout l;
    l.icon = {r.left, r.top, r.left + iconWidth, r.bottom};
    const TRect& i = l.icon;
    if (hasPicture) {
        l.check = {i.left + 1, i.top + 2, i.right - 3, i.bottom - 2};
    } else {
        const int x = i.left + (i.width() - 10) / 2, y = i.top + (i.height() - 10) / 2;
        l.check = {x, y, x + 10, y + 10};
    }
    if (pictureWidth > iconWidth) l.check.right = l.check.left + pictureWidth;
    l.text = {r.left + iconWidth, r.top, r.right, r.bottom};
    if (hasPicture && r.left + pictureWidth + 4 > l.text.left) l.text.left = r.left + pictureWidth + 4;
    return l;
}

}  // namespace menulook
