// The window list: the titles of the desktop's top-level windows.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "platform/os.h"

namespace window {

// Every top-level window with a title, in Z order from the top, walked from
// `start` (WindowWalk::First, then WindowWalk::Next); hidden ones and our own too,
// equal titles kept, each title at most 254 bytes. The walk ends at a window
// it has already passed or after kMaxWalkedWindows windows, keeping what it
// gathered. One that fails part-way is walked once more; failing again, it
// raises platform::OsError.
inline constexpr std::size_t kMaxWalkedWindows = 10000;
std::vector<std::string> listWindowTitles(platform::Os& os, platform::Hwnd start);

// "当前系统中共有" + N + "个窗口".
std::string countText(std::size_t lines);

}  // namespace window
