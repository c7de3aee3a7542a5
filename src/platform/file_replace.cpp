#include "platform/file_replace.h"

namespace platform {

void writeFileReplacing(platform::Os& os, const std::string& path, const std::string& bytes) {
    const std::uint32_t attributes = os.fileAttributes(path);
    const std::uint32_t refused = platform::FILE_ATTRIBUTE_DIRECTORY | platform::FILE_ATTRIBUTE_READONLY |
                                  platform::FILE_ATTRIBUTE_HIDDEN | platform::FILE_ATTRIBUTE_SYSTEM;
    if (attributes != platform::kNoFileAttributes && (attributes & refused))
        throw platform::OsError("File access denied", platform::ERROR_ACCESS_DENIED);

    const std::string fresh = path + "~new";
    try {
        os.writeFile(fresh, bytes);
        if (attributes == platform::kNoFileAttributes) {
            os.moveFile(fresh, path, false);
            return;
        }
        if (os.moveFile(fresh, path, true)) return;
        const std::string aside = path + "~old";
        os.deleteFile(aside);  // left over from a run that was cut off
        os.moveFile(path, aside, false);
        try {
            os.moveFile(fresh, path, false);
        } catch (...) {
            try {
                os.moveFile(aside, path, false);
            } catch (...) {
                // Still aside, whole; the new text is dropped below.
            }
            throw;
        }
        os.deleteFile(aside);
    } catch (...) {
        os.deleteFile(fresh);
        throw;
    }
}

}  // namespace platform
