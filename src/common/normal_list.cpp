#include "common/normal_list.h"

#include <algorithm>

#include "base/text.h"
#include "common/list_file.h"
#include "platform/files.h"

namespace common {

bool isNormalMarker(std::string_view line) { return line == kNormalMarker; }

std::vector<std::size_t> linesToMark(const std::vector<std::string>& lines,
                                     const std::vector<std::string>& normalList) {
    std::vector<std::size_t> out;
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (std::find(normalList.begin(), normalList.end(), lines[i]) != normalList.end())
            out.push_back(i);
    return out;
}

AddFromLine addFromLine(const std::optional<std::string>& line,
                        const std::vector<std::string>& normalList) {
    AddFromLine r;
    if (!line || isNormalMarker(*line)) return r;
    std::string entry = base::asciiUpper(*line);
    if (std::find(normalList.begin(), normalList.end(), entry) != normalList.end()) {
        r.outcome = AddFromLine::AlreadyListed;
        return r;
    }
    r.outcome = AddFromLine::Added;
    r.entry = std::move(entry);
    return r;
}

std::optional<std::string> entryFromPath(const std::string& path,
                                         const std::vector<std::string>& normalList) {
    std::string entry = base::asciiUpper(path);
    if (std::find(normalList.begin(), normalList.end(), entry) != normalList.end())
        return std::nullopt;
    return entry;
}

std::string normalListPath(const std::string& appDir) { return appDir + kNormalListFileName; }

namespace {
// A save on Windows 95 to Me that was cut off between its two renames
// leaves the list only in the file it had put aside.
std::optional<std::string> storedListPath(platform::Os& os, const std::string& appDir) {
    const std::string path = normalListPath(appDir);
    if (platform::fileFound(os, path)) return path;
    if (platform::fileFound(os, path + "~old")) return path + "~old";
    return std::nullopt;
}
}  // namespace

bool normalListStored(platform::Os& os, const std::string& appDir) {
    return storedListPath(os, appDir).has_value();
}

std::optional<std::vector<std::string>> loadNormalList(platform::Os& os, const std::string& appDir) {
    const std::optional<std::string> path = storedListPath(os, appDir);
    if (!path) return std::nullopt;
    return base::splitLines(platform::readWholeFile(os, *path), base::ReadRule::EndFirst);
}

void saveNormalList(platform::Os& os, const std::string& appDir,
                    const std::vector<std::string>& entries) {
    writeListFile(os, normalListPath(appDir), entries);
}

}  // namespace common
