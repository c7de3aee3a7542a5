#include "app/power.h"

#include "common/program.h"

namespace PFUnit {

namespace {
// On the NT family a program may restart or shut down Windows only with the
// shutdown privilege switched on in its own token.
void endSession(os::Os& os, std::uint32_t flags) {
    if (IsWindowsNT && flags != os::EWX_LOGOFF) os.enableShutdownPrivilege();
    os.exitWindowsEx(flags, 0);
}
}  // namespace

void LogOffWindows(os::Os& os) { endSession(os, os::EWX_LOGOFF); }
void RebootWindows(os::Os& os) { endSession(os, os::EWX_REBOOT); }
void ShutdownWindows(os::Os& os) { endSession(os, os::EWX_SHUTDOWN); }

}  // namespace PFUnit
