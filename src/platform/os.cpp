#include "platform/os.h"

#include "base/text.h"

namespace platform {

Status shellExecuteStatus(std::intptr_t answer) {
    if (answer > 32) return {};
    switch (answer) {
    case 0: return Status(Error::NotEnoughMemory);  // out of memory or resources
    case 26: return Status(Error::SharingViolation);
    case 27: case 31: return Status(1155);  // SE_ERR_ASSOCINCOMPLETE, SE_ERR_NOASSOC: ERROR_NO_ASSOCIATION
    case 28: case 29: case 30: return Status(1156);  // the DDE answers: ERROR_DDE_FAIL
    case 32: return Status(1157);  // SE_ERR_DLLNOTFOUND: ERROR_DLL_NOT_FOUND
    default: return Status(static_cast<std::uint32_t>(answer));  // 2, 3, 5, 8, 11 are Win32 codes already
    }
}

std::string fileErrorText(Os& os, Status failure) {
    // The texts the standard error box has always shown for these; anything
    // else keeps its number and, where the system has one, its own wording.
    switch (failure.code()) {
    case Error::FileNotFound: return "File not found";
    case Error::PathNotFound: return "Path not found";
    case 4: return "Too many open files";  // ERROR_TOO_MANY_OPEN_FILES
    case Error::AccessDenied: return "File access denied";
    case 39:  // ERROR_HANDLE_DISK_FULL
    case Error::DiskFull: return "Disk full";
    case Error::FileTooLarge: return "File too large: more than 64 MB";
    default: break;
    }
    std::string text = "I/O error " + base::intToStr(failure.code());
    const std::string reason = os.systemText(failure.code());
    if (!reason.empty()) text += " (" + reason + ")";
    return text;
}

void raiseSystemError(Os& os, Status failure) {
    std::string reason = os.systemText(failure.code());
    if (reason.empty()) reason = "System error " + base::intToStr(failure.code());
    throw OsError(reason, failure.code());
}

void raiseFileError(Os& os, Status failure) {
    throw OsError(fileErrorText(os, failure), failure.code());
}

}  // namespace platform
