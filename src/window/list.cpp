#include "window/list.h"

#include <algorithm>

namespace window {

std::vector<std::string> listWindowTitles(platform::Os& os, platform::Hwnd start) {
    std::vector<std::string> titles;
    // Windows raised or lowered during the walk can lead it back to a window
    // it has passed, and round again for ever. Kept sorted: a vector costs
    // the executable far less than a hash set.
    std::vector<platform::Hwnd> seen;
    auto step = [&os](platform::Hwnd from, std::uint32_t cmd) {
        platform::Hwnd next = 0;
        return os.getWindow(from, cmd, next) ? next : 0;
    };
    for (platform::Hwnd w = step(start, platform::GW_HWNDFIRST); w != 0 && seen.size() < kMaxWalkedWindows;
         w = step(w, platform::GW_HWNDNEXT)) {
        const auto at = std::lower_bound(seen.begin(), seen.end(), w);
        if (at != seen.end() && *at == w) break;
        seen.insert(at, w);
        std::string title;
        if (os.getWindowText(w, title) > 0) titles.push_back(title);
    }
    return titles;
}

std::string countText(std::size_t lines) {
    return "当前系统中共有" + std::to_string(lines) + "个窗口";
}

}  // namespace window
