// A popup menu of five owner-drawn items (a default one, a separator, a
// checked one, a disabled one, a hidden one) whose painters write down what
// they were asked, for the menu tests of both peer families.
#pragma once
#include <set>
#include <vector>

#include "ui/menus.h"

namespace widgets {

struct Drawn {
    int id;
    ui::TRect rect;
    ui::TOwnerDrawState state;
};

template <class Owner>
struct RecordedMenu {
    explicit RecordedMenu(Owner& owner) : menu(owner) {
        menu.ownerDraw = true;
        for (ui::TMenuItem* item : {&show, &sep, &loop, &quit, &hidden}) {
            item->OnMeasureItem = [this, item](ui::TCanvas&, int& w, int& h) {
                measured.insert(item->id());
                w = 40 + item->id();
                h = item->isSeparator() ? 5 : h + item->id();
            };
            item->OnDrawItem = [this, item](ui::TCanvas& c, const ui::TRect& r,
                                            const ui::TOwnerDrawState& s) {
                drawn.push_back({item->id(), r, s});
                c.setBrushColor(s.selected ? ui::clHighlight : ui::clWindow);
                c.fillRect(r);
            };
        }
        show.defaultItem = true;
        loop.checked = true;
        quit.enabled = false;
        hidden.visible = false;
    }
    ui::TPopupMenu menu;
    ui::TMenuItem show{menu, 1, "show"}, sep{menu, 2, "-"}, loop{menu, 3, "loop"},
        quit{menu, 4, "quit"}, hidden{menu, 5, "hidden"};
    std::set<int> measured;
    std::vector<Drawn> drawn;
};

}  // namespace widgets
