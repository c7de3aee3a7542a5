// One process as one Toolhelp entry reported it, and the ordered list of them
// from one enumeration: entry N stands behind line N of one list box. The
// process page fills these and the restriction pass reads them, so they live
// below both.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace common {

struct ProcessRecord {
    std::string name;      // szExeFile as reported, not upper-cased
    std::uint32_t id = 0;  // th32ProcessID
};

using ProcessSnapshot = std::vector<ProcessRecord>;

}  // namespace common
