// Ending processes: by reported name and by snapshot entry.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/os.h"
#include "common/process_record.h"

namespace common {

// Ends every process whose reported name equals `name` ignoring ASCII case
// (whole text, no reduction to a file name). Result: the last TerminateProcess
// result, or 0 when nothing matched.
std::int32_t killByName(platform::Os& os, const std::string& name);
// The same for several names at once, from one snapshot: every process whose
// reported name equals one of them ignoring ASCII case.
void killByNames(platform::Os& os, const std::vector<std::string>& names);

// Ends the process of entry `index`, handing TerminateProcess the exit code the
// process reports (259 while it runs). 0 when the index is out of range, when
// the process cannot be opened, or when a fresh snapshot taken with it open no
// longer gives the entry's id to a process of the entry's name (it ended, and
// the id may belong to another program now). A walk that fails twice raises
// platform::OsError and ends nothing; so does every function here.
std::int32_t killEntry(platform::Os& os, const ProcessSnapshot& snapshot, std::int32_t index);
// killEntry for each of these entries, checked against one fresh snapshot.
void killEntries(platform::Os& os, const ProcessSnapshot& snapshot,
                 const std::vector<std::size_t>& indices);

}  // namespace common
