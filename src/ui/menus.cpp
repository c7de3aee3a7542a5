#include "ui/menus.h"

#include <algorithm>

#include "ui/application.h"
#include "ui/controls.h"

namespace ui {

TImageList::TImageList(TApplication& app, const std::string& resource, int width, int height,
                       TColor mask)
    : app_(app), resource_(resource), mask_(mask), width_(width), height_(height) {}

void TImageList::load() const {
    if (loaded_) return;
    loaded_ = true;
    handle_ = app_.loadImageList(resource_, width_, height_, mask_, count_);
}

TImageList::~TImageList() {
    if (handle_) app_.releaseImageList(handle_);
}

TMenuItem::TMenuItem(TPopupMenu& menu, int id, const char* caption, int imageIndex)
    : menu_(menu), id_(id), caption_(caption), imageIndex_(imageIndex) {
    menu_.items_.push_back(this);
}

bool TMenuItem::ownerDrawn() const { return OnDrawItem && menu_.ownerDraw; }

void TMenuItem::click() {
    if (autoCheck) checked = !checked;
    if (OnClick) OnClick();
}

void TMenuItem::userClick() {
    if (!enabled || !visible || isSeparator()) return;
    menu_.app().guard([this] { click(); });
}

TPopupMenu::TPopupMenu(TForm& owner) : app_(owner.app()), owner_(&owner) {
    owner.popupMenus_.push_back(this);
}

TPopupMenu::~TPopupMenu() {
    if (owner_) std::erase(owner_->popupMenus_, this);
}

TMenuItem* TPopupMenu::findItem(int id) const {
    for (auto* i : items_)
        if (i->id() == id) return i;
    return nullptr;
}

void TPopupMenu::popup(int x, int y) { app_.popupMenu(*this, x, y); }

}  // namespace ui
