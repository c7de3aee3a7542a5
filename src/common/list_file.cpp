#include "common/list_file.h"

#include "base/text.h"
#include "platform/files.h"

namespace common {

std::vector<std::string> readChosenListFile(platform::Os& os, const std::string& path) {
    return base::splitLines(platform::readWholeFile(os, path), base::ReadRule::LineFirst);
}

void writeListFile(platform::Os& os, const std::string& path, const std::vector<std::string>& lines) {
    platform::writeFileReplacing(os, path, base::joinLines(lines));
}

}  // namespace common
