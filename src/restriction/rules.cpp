#include "restriction/rules.h"

#include <unordered_set>

#include "base/text.h"

namespace restriction {

Mode modeOf(const std::string& caption) {
    if (caption == kAllowCaption) return Mode::Allow;
    if (caption == kForbidCaption) return Mode::Forbid;
    return Mode::None;
}

std::string entryFromChosenPath(const std::string& path, bool isWindowsNT) {
    const std::string upper = base::asciiUpper(path);
    return isWindowsNT ? base::fileNamePart(upper) : upper;
}

std::vector<std::size_t> positionsToEnd(Mode mode, const std::vector<std::string>& processNames,
                                        const std::vector<std::string>& lines) {
    std::vector<std::size_t> out;
    if (mode == Mode::None) return out;
    const std::unordered_set<std::string> listed(lines.begin(), lines.end());
    const bool endListed = mode == Mode::Forbid;
    for (std::size_t i = 0; i < processNames.size(); ++i)
        if ((listed.count(processNames[i]) != 0) == endListed) out.push_back(i);
    return out;
}

}  // namespace restriction
