#include "platform/file_replace.h"

namespace platform {

void writeFileReplacing(os::Os& os, const std::string& path, const std::string& bytes) {
    const std::uint32_t attributes = os.fileAttributes(path);
    const std::uint32_t refused = os::FILE_ATTRIBUTE_DIRECTORY | os::FILE_ATTRIBUTE_READONLY |
                                  os::FILE_ATTRIBUTE_HIDDEN | os::FILE_ATTRIBUTE_SYSTEM;
    if (attributes != os::kNoFileAttributes && (attributes & refused))
        throw os::OsError("File access denied", os::ERROR_ACCESS_DENIED);

    const std::string fresh = path + "~new";
    try {
        os.writeFile(fresh, bytes);
        if (attributes == os::kNoFileAttributes) {
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
