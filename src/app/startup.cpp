#include "app/startup.h"

#include "base/text.h"
#include "platform/process_query.h"

namespace app {

bool isNtPlatform(os::Os& os) {
    os::VersionInfo info;
    info.size = os::kVersionInfoSize;
    return os.getVersionEx(info) && info.platformId == os::VER_PLATFORM_WIN32_NT;
}

std::vector<std::string> runningProgramNames(os::Os& os) {
    std::vector<std::string> names;
    for (const os::ProcessEntry& entry : platform::ProcessWalk(os))
        names.push_back(base::asciiUpper(entry.exeFile));
    return names;
}

}  // namespace app
