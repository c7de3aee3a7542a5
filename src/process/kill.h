// Ending processes: by reported name, by snapshot entry, and which lines one
// click of "结束进程" ends.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/os.h"
#include "common/process_record.h"

namespace process {

// Ends every process whose reported name equals `name` ignoring ASCII case
// (whole text, no reduction to a file name). Result: the last TerminateProcess
// result, or 0 when nothing matched.
std::int32_t killByName(os::Os& os, const std::string& name);
// The same for several names at once, from one snapshot: every process whose
// reported name equals one of them ignoring ASCII case.
void killByNames(os::Os& os, const std::vector<std::string>& names);

// Ends the process of entry `index`, handing TerminateProcess the exit code the
// process reports (259 while it runs). 0 when the index is out of range, when
// a fresh snapshot no longer gives the entry's id to a process of the entry's
// name (it ended, and the id may belong to another program now), or when the
// process cannot be opened.
std::int32_t killEntry(os::Os& os, const ProcessSnapshot& snapshot, std::int32_t index);
// killEntry for each of these entries, checked against one fresh snapshot.
void killEntries(os::Os& os, const ProcessSnapshot& snapshot,
                 const std::vector<std::size_t>& indices);

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
