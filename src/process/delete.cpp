#include "process/delete.h"

#include "common/kill.h"

namespace process {

bool deleteProgramFile(platform::Os& os, const std::string& path,
                       const std::function<void(std::int32_t)>& pause, int attempts) {
    for (int i = 0; i < attempts; ++i) {
        if (!os.fileExists(path)) return true;
        if (i > 0 && pause) pause(kDeletePauseMs);
        os.setFileAttributes(path, platform::FileAttr::Archive);
        common::killByName(os, path);
        os.deleteFile(path);
    }
    return !os.fileExists(path);
}

}  // namespace process
