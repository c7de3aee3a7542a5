#include "ui/headless/menu_picture.h"

#include <algorithm>

#include "ui/application.h"
#include "ui/menus.h"

namespace ui::headless {

namespace {

struct Measured {
    const TMenuItem* item;
    int width, height;
};

std::vector<Measured> measure(TApplication& app, const TPopupMenu& menu) {
    MemoryCanvas scratch(1, 1);
    std::vector<Measured> out;
    for (const TMenuItem* item : menu.items()) {
        if (!item->visible) continue;
        Measured m{item, 0, item->isSeparator() ? MenuPicture::kSeparatorHeight
                                                : MenuPicture::kPlainHeight};
        if (item->ownerDrawn()) {
            m.height = MenuPicture::kStartHeight;
            if (item->OnMeasureItem) app.guard([&] { item->OnMeasureItem(scratch, m.width, m.height); });
            m.width = std::max(0, m.width);
            m.height = std::max(0, m.height);
        } else if (!item->isSeparator()) {
            m.width = scratch.textWidth(item->caption()) + 2 * MenuPicture::kTextMargin;
        }
        out.push_back(m);
    }
    return out;
}

// One column as wide as its widest item, at least one pixel each way so
// that a menu of empty items still has a canvas.
TPoint extent(const std::vector<Measured>& items) {
    TPoint size{1, 0};
    for (const Measured& m : items) {
        size.x = std::max(size.x, m.width);
        size.y += m.height;
    }
    size.y = std::max(size.y, 1);
    return size;
}

}  // namespace

MenuPicture::MenuPicture(TApplication& app, const TPopupMenu& menu, std::optional<int> chosenId)
    : canvas_(1, 1) {
    const std::vector<Measured> items = measure(app, menu);
    const TPoint size = extent(items);
    canvas_ = MemoryCanvas(size.x, size.y, clBtnFace);
    int top = 0;
    for (const Measured& m : items) {
        boxes_.push_back({m.item->id(), {0, top, size.x, top + m.height}});
        top += m.height;
    }
    for (const MenuItemBox& box : boxes_) draw(app, menu, box, false);
    for (const MenuItemBox& box : boxes_)
        if (chosenId && box.id == *chosenId) draw(app, menu, box, true);
}

void MenuPicture::draw(TApplication& app, const TPopupMenu& menu, const MenuItemBox& box,
                       bool selected) {
    const TMenuItem* item = menu.findItem(box.id);
    if (!item) return;
    if (!item->ownerDrawn()) {
        if (!item->isSeparator())
            canvas_.drawText({box.rect.left + kTextMargin, box.rect.top, box.rect.right, box.rect.bottom},
                             item->caption(), dt::Left | dt::VCenter | dt::SingleLine);
        return;
    }
    TOwnerDrawState state;
    state.selected = selected;
    state.disabled = !item->enabled;
    state.checked = item->checked;
    state.isDefault = item->defaultItem;
    app.guard([&] { item->OnDrawItem(canvas_, box.rect, state); });
}

}  // namespace ui::headless
