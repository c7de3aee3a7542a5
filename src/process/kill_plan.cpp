#include "process/kill_plan.h"

#include <algorithm>
#include <climits>

#include "common/normal_list.h"

namespace process {

KillPlan planSingleKill(std::int32_t selected, const std::optional<std::string>& line) {
    KillPlan plan;
    if (selected < 0 || !line || common::isNormalMarker(*line)) return plan;
    plan.lines.push_back(selected);
    plan.delayMs = 300;
    plan.refresh = true;
    return plan;
}

KillPlan planMultipleKill(const std::vector<std::string>& lines,
                          const std::vector<bool>& checked) {
    KillPlan plan;
    const std::size_t n = std::min(lines.size(), checked.size());
    for (std::size_t i = 0; i < n; ++i)
        if (checked[i] && !common::isNormalMarker(lines[i]))
            plan.lines.push_back(static_cast<std::int32_t>(i));
    // A list box holds far fewer lines than would overflow this, but keep the
    // wait a valid 32-bit count whatever comes in.
    const long long ms = 150LL * static_cast<long long>(plan.lines.size());
    plan.delayMs = static_cast<std::int32_t>(std::min<long long>(ms, INT32_MAX));
    plan.refresh = true;
    return plan;
}

}  // namespace process
