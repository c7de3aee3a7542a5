#include "app/power.h"

namespace PFUnit {

namespace {
// On the NT family a program may restart or shut down Windows only with the
// shutdown privilege switched on in its own token.
void endSession(platform::Os& os, bool nt, std::uint32_t flags) {
    if (nt && flags != platform::ExitWindows::LogOff)
        platform::ignore(os.enableShutdownPrivilege(),
                         "without the privilege ExitWindowsEx refuses, and that refusal is shown");
    const platform::Status done = os.exitWindowsEx(flags, 0);
    if (!done) platform::raiseSystemError(os, done);
}
}  // namespace

void LogOffWindows(platform::Os& os, bool nt) { endSession(os, nt, platform::ExitWindows::LogOff); }
void RebootWindows(platform::Os& os, bool nt) { endSession(os, nt, platform::ExitWindows::Reboot); }
void ShutdownWindows(platform::Os& os, bool nt) { endSession(os, nt, platform::ExitWindows::Shutdown); }

}  // namespace PFUnit
