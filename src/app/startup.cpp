#include "app/startup.h"

#include "base/text.h"

namespace app {

bool isNtPlatform(os::Os& os) {
    os::VersionInfo info;
    info.size = os::kVersionInfoSize;
    return os.getVersionEx(info) && info.platformId == os::VER_PLATFORM_WIN32_NT;
}

std::vector<std::string> runningProgramNames(os::Os& os) {
    std::vector<std::string> names;
    const os::Handle snapshot = os.createToolhelp32Snapshot(os::TH32CS_SNAPPROCESS, 0);
    if (snapshot == os::kNoHandle) return names;
    os::ProcessEntry entry;
    entry.size = os::kProcessEntrySize;
    for (bool more = os.process32First(snapshot, entry); more;
         more = os.process32Next(snapshot, entry))
        names.push_back(base::asciiUpper(entry.exeFile));
    os.closeHandle(snapshot);
    return names;
}

}  // namespace app
