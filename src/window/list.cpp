#include "window/list.h"

#include <algorithm>

namespace window {

namespace {
platform::Status walkTitles(platform::Os& os, platform::Hwnd start, std::vector<std::string>& titles) {
    // Windows raised or lowered during the walk can lead it back to a window
    // it has passed, and round again for ever. Kept sorted: a vector costs
    // the executable far less than a hash set.
    std::vector<platform::Hwnd> seen;
    platform::Hwnd w = 0;
    platform::Status stepped = os.getWindow(start, platform::WindowWalk::First, w);
    for (; stepped && w != 0 && seen.size() < kMaxWalkedWindows;
         stepped = os.getWindow(w, platform::WindowWalk::Next, w)) {
        const auto at = std::lower_bound(seen.begin(), seen.end(), w);
        if (at != seen.end() && *at == w) break;
        seen.insert(at, w);
        std::string title;
        if (os.getWindowText(w, title) > 0) titles.push_back(title);
    }
    return stepped;
}
}  // namespace

std::vector<std::string> listWindowTitles(platform::Os& os, platform::Hwnd start) {
    return platform::wholeWalk<std::vector<std::string>>(
        os, [&](std::vector<std::string>& titles) { return walkTitles(os, start, titles); });
}

std::string countText(std::size_t lines) {
    return "当前系统中共有" + std::to_string(lines) + "个窗口";
}

}  // namespace window
