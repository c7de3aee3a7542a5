// Which lines one click of "结束进程" ends, and what follows.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace process {

// What one click of "结束进程" does: end these lines, then (if refresh) wait
// delayMs and rebuild the list.
struct KillPlan {
    std::vector<std::int32_t> lines;
    std::int32_t delayMs = 0;
    bool refresh = false;
};

// Single mode: the selected line (its number, or -1 and no text for none)
// unless it is a NormalMarker; with nothing to end, nothing at all happens.
KillPlan planSingleKill(std::int32_t selected, const std::optional<std::string>& line);
// Multiple mode: every checked line that is not a NormalMarker, 150 ms each;
// the list is refreshed even when nothing was checked.
KillPlan planMultipleKill(const std::vector<std::string>& lines,
                          const std::vector<bool>& checked);

}  // namespace process
