// An open popup menu drawn as the system draws it, on a memory canvas: the
// items one under another, owner-drawn ones measured and painted by their
// painters, so that painters can be tested without windows.
#pragma once
#include <optional>
#include <vector>

#include "ui/headless/memory_canvas.h"

namespace ui {
class TApplication;
class TPopupMenu;
}  // namespace ui

namespace ui::headless {

struct MenuItemBox {
    int id = 0;
    TRect rect;
};

class MenuPicture {
public:
    // What the system starts the measure of an owner-drawn item with, and
    // the size of the items it draws itself.
    static constexpr int kStartHeight = 16, kPlainHeight = 18, kSeparatorHeight = 9,
                         kTextMargin = 18;

    // Measures every visible item and draws each one unselected; then the
    // chosen item once more, selected, as the mouse passes over it on its
    // way to the choice.
    MenuPicture(TApplication& app, const TPopupMenu& menu, std::optional<int> chosenId = {});
    const MemoryCanvas& canvas() const { return canvas_; }
    // Visible items from top to bottom.
    const std::vector<MenuItemBox>& boxes() const { return boxes_; }

private:
    void draw(TApplication& app, const TPopupMenu& menu, const MenuItemBox& box, bool selected);
    std::vector<MenuItemBox> boxes_;
    MemoryCanvas canvas_;
};

}  // namespace ui::headless
