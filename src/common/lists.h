// Reading the user's choice from a list box, as every page does it.
#pragma once
#include <optional>
#include <string>

#include "ui/controls.h"

namespace page {

// The selected line, or nothing; only that line is read, so a long list is
// not copied for one click.
inline std::optional<std::string> selectedLine(const ui::TListBox& list) {
    const int sel = list.itemIndex();
    if (sel < 0 || sel >= list.count()) return std::nullopt;
    return list.item(sel);
}

}  // namespace page
