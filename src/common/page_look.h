// What the pages share in look: the exit button's texts and the column of
// buttons down the right of a page.
#pragma once
#include <initializer_list>

#include "ui/controls.h"

namespace common {

inline constexpr const char* kExitCaption = "退    出";
inline constexpr const char* kExitHint = "退出Morvane进程管理器";

// Lists on the left, buttons down a right-hand column.
inline constexpr int kColumnX = 262, kColumnW = 93, kButtonH = 26, kButtonStep = 34;

// Places buttons one below the other, a step apart, from `top` down.
inline void stackButtons(std::initializer_list<ui::TControl*> buttons, int left, int top,
                         int width = kColumnW) {
    for (ui::TControl* b : buttons) {
        b->setBounds(left, top, width, kButtonH);
        top += kButtonStep;
    }
}

}  // namespace common
