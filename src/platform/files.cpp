#include "platform/files.h"

namespace platform {

namespace {
void must(platform::Os& os, platform::Status done) {
    if (!done) platform::raiseFileError(os, done);
}
}  // namespace

std::string readWholeFile(platform::Os& os, const std::string& path) {
    std::string bytes;
    must(os, os.readFile(path, bytes));
    return bytes;
}

bool fileFound(platform::Os& os, const std::string& path) {
    bool exists = false;
    must(os, os.fileExists(path, exists));
    return exists;
}

void writeFileReplacing(platform::Os& os, const std::string& path, const std::string& bytes) {
    std::uint32_t attributes = 0;
    const bool exists = os.fileAttributes(path, attributes).ok();
    const std::uint32_t refused = platform::FileAttr::Directory | platform::FileAttr::ReadOnly |
                                  platform::FileAttr::Hidden | platform::FileAttr::System;
    if (exists && (attributes & refused))
        throw platform::OsError("File access denied", platform::Error::AccessDenied);

    const std::string fresh = path + "~new";
    try {
        must(os, os.writeFile(fresh, bytes));
        if (!exists) {
            must(os, os.moveFile(fresh, path, false));
            return;
        }
        const platform::Status replaced = os.moveFile(fresh, path, true);
        if (replaced) return;
        if (replaced.code() != platform::Error::CallNotImplemented) platform::raiseFileError(os, replaced);
        const std::string aside = path + "~old";
        platform::ignore(os.deleteFile(aside), "left over from a run that was cut off; one that will not go "
                                               "makes the rename below fail, and that is shown");
        must(os, os.moveFile(path, aside, false));
        const platform::Status moved = os.moveFile(fresh, path, false);
        // Failing that, the old text goes back; if it cannot, it is still
        // aside, whole, and the new text is dropped below.
        if (!moved) {
            platform::ignore(os.moveFile(aside, path, false), "the old text is still whole aside, where the next start reads it");
            platform::raiseFileError(os, moved);
        }
        platform::ignore(os.deleteFile(aside), "the copy put aside goes with the next save");
    } catch (...) {
        platform::ignore(os.deleteFile(fresh), "a new text left beside goes with the next save");
        throw;
    }
}

}  // namespace platform
