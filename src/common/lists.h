// Reading the user's choice from a list box or a question, as every page does it.
#pragma once
#include <optional>
#include <string>

#include "ui/application.h"
#include "ui/controls.h"

namespace common {

// The selected line, or nothing; only that line is read, so a long list is
// not copied for one click.
inline std::optional<std::string> selectedLine(const ui::TListBox& list) {
    const int sel = list.itemIndex();
    if (sel < 0 || sel >= list.count()) return std::nullopt;
    return list.item(sel);
}

// Removes the selected line, if there is one; the lines after it move up.
inline void removeSelectedLine(ui::TListBox& list) {
    const int sel = list.itemIndex();
    if (sel >= 0 && sel < list.count()) list.remove(sel);
}

// A Yes/No question without icon, captioned "确认", that goes on unless the
// answer is No; a box that could not be shown (0) is no answer at all. Out
// of line: each page asks it, and the texts are made in one place.
bool confirmed(ui::TApplication& app, const char* question);

}  // namespace common
