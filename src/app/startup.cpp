#include "app/startup.h"

#include "base/text.h"

namespace app {

bool isNtPlatform(platform::Os& os) {
    platform::VersionInfo info;
    info.size = platform::kVersionInfoSize;
    return os.getVersionEx(info) && info.platformId == platform::PlatformId::NT;
}

std::vector<std::string> programNames(const common::ProcessSnapshot& snapshot) {
    std::vector<std::string> names;
    names.reserve(snapshot.size());
    for (const common::ProcessRecord& p : snapshot) names.push_back(base::asciiUpper(p.name));
    return names;
}

}  // namespace app
