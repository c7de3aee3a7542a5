#include "process/kill.h"

#include <algorithm>

#include "base/text.h"
#include "platform/process_query.h"
#include "process/normal_list.h"

namespace process {

std::int32_t killByName(os::Os& os, const std::string& name) {
    std::int32_t result = 0;
    const std::string wanted = base::asciiUpper(name);
    for (const os::ProcessEntry& entry : platform::ProcessWalk(os)) {
        if (base::asciiUpper(entry.exeFile) != wanted) continue;
        const platform::OwnedHandle h(
            os, os.openProcess(os::PROCESS_TERMINATE, false, entry.processId));
        // No handle: what TerminateProcess on no handle would have given.
        result = h ? os.terminateProcess(h.get(), 0) : 0;
    }
    return result;
}

namespace {

// An entry may be minutes old: its process can have ended and its id gone to
// a new program. Only an id that a fresh snapshot still gives to a process of
// the same name is the line's process.
bool stillTheSameProcess(os::Os& os, const ProcessRecord& record) {
    for (const os::ProcessEntry& entry : platform::ProcessWalk(os))
        if (entry.processId == record.id) return entry.exeFile == record.name;
    return false;
}

}  // namespace

std::int32_t killEntry(os::Os& os, const ProcessSnapshot& snapshot, std::int32_t index) {
    if (index < 0 || static_cast<std::size_t>(index) >= snapshot.size()) return 0;
    if (!stillTheSameProcess(os, snapshot[index])) return 0;
    const platform::OwnedHandle h(
        os, os.openProcess(os::PROCESS_ALL_ACCESS, true, snapshot[index].id));
    if (!h) return 0;
    std::uint32_t code = 0;
    os.getExitCodeProcess(h.get(), code);
    return os.terminateProcess(h.get(), code);
}

KillPlan planSingleKill(std::int32_t selected, const std::optional<std::string>& line) {
    KillPlan plan;
    if (selected < 0 || !line || isNormalMarker(*line)) return plan;
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
        if (checked[i] && !isNormalMarker(lines[i]))
            plan.lines.push_back(static_cast<std::int32_t>(i));
    // A list box holds far fewer lines than would overflow this, but keep the
    // wait a valid 32-bit count whatever comes in.
    const long long ms = 150LL * static_cast<long long>(plan.lines.size());
    plan.delayMs = static_cast<std::int32_t>(std::min<long long>(ms, INT32_MAX));
    plan.refresh = true;
    return plan;
}

}  // namespace process
