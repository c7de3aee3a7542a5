#include "process/delete.h"

#include "common/kill.h"
#include "platform/files.h"

namespace process {

bool deleteProgramFile(platform::Os& os, const std::string& path,
                       const std::function<void(std::int32_t)>& pause, int attempts) {
    for (int i = 0; i < attempts; ++i) {
        if (!platform::fileFound(os, path)) return true;
        if (i > 0 && pause) pause(kDeletePauseMs);
        // What stops the file from going is seen by the next look for it.
        platform::ignore(os.setFileAttributes(path, platform::FileAttr::Archive), "looked for again");
        common::killByName(os, path);
        platform::ignore(os.deleteFile(path), "looked for again");
    }
    return !platform::fileFound(os, path);
}

}  // namespace process
