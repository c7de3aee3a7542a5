// What the pages share in look: the exit button's texts and the column of
// buttons down the right of a page.
#pragma once

namespace page {

inline constexpr const char* kExitCaption = "退    出";
inline constexpr const char* kExitHint = "退出Morvane进程管理器";

// Lists on the left, buttons down a right-hand column.
inline constexpr int kColumnX = 262, kColumnW = 93, kButtonH = 26, kButtonStep = 34;

}  // namespace page
