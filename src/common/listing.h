// Building the process lines and their snapshot from one Toolhelp pass.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/os.h"
#include "common/process_record.h"

namespace common {

// Line N belongs to snapshot entry N, always: one line per process.
struct ProcessListing {
    ProcessSnapshot snapshot;
    std::vector<std::string> lines;
};

// The executable file names of processes already seen, so that a process that
// is still running costs no module snapshot again (under Wine one costs
// milliseconds). A process is known by its id, entry name and parent's id
// together, so an id given to a new program of the same name by another
// parent is read again; an entry whose process left the latest snapshot is
// dropped with it. Only module
// lists that could be read are kept: an unreadable one is asked again, as it
// would be without the cache.
class ModuleNameCache {
public:
    std::size_t size() const { return byId_.size(); }

private:
    friend struct CacheRound;
    struct Entry {
        std::string exeFile;
        std::uint32_t parent = 0;
        std::string line;  // upper-cased file name of the executable module
    };
    std::unordered_map<std::uint32_t, Entry> byId_;
};

// The lines of the process page. 9x: every line is the reported full path.
// NT: the first entry (the idle process) shows its own name, the others the
// file name of their executable module.
// A cache, when given, is used and brought up to date; the lines are the same
// with it as without.
ProcessListing listProcesses(platform::Os& os, bool isWindowsNT, ModuleNameCache* cache = nullptr);

// The lines of the loop-clear pass: as above, except that on NT the first line
// is reduced to its file-name part too.
ProcessListing listHidden(platform::Os& os, bool isWindowsNT, ModuleNameCache* cache = nullptr);

// "当前系统中共有" N "个进程"
std::string countText(std::size_t lines);

}  // namespace common
