// Building the process lines and their snapshot from one Toolhelp pass.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "platform/os.h"
#include "common/process_record.h"

namespace process {

// Line N belongs to snapshot entry N, always: one line per process.
struct ProcessListing {
    ProcessSnapshot snapshot;
    std::vector<std::string> lines;
};

// The lines of the process page. 9x: every line is the reported full path.
// NT: the first entry (the idle process) shows its own name, the others the
// file name of their executable module.
ProcessListing listProcesses(os::Os& os, bool isWindowsNT);

// The lines of the loop-clear pass: as above, except that on NT the first line
// is reduced to its file-name part too.
ProcessListing listHidden(os::Os& os, bool isWindowsNT);

// "当前系统中共有" N "个进程"
std::string countText(std::size_t lines);

}  // namespace process
