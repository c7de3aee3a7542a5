#include "app/power.h"

#include "base/text.h"
#include "common/program.h"

namespace PFUnit {

namespace {
// On the NT family a program may restart or shut down Windows only with the
// shutdown privilege switched on in its own token.
void endSession(platform::Os& os, std::uint32_t flags) {
    if (IsWindowsNT && flags != platform::ExitWindows::LogOff) os.enableShutdownPrivilege();
    const platform::Status done = os.exitWindowsEx(flags, 0);
    if (done) return;
    std::string reason = os.systemText(done.code());
    if (reason.empty()) reason = "System error " + base::intToStr(done.code());
    throw platform::OsError(reason, done.code());
}
}  // namespace

void LogOffWindows(platform::Os& os) { endSession(os, platform::ExitWindows::LogOff); }
void RebootWindows(platform::Os& os) { endSession(os, platform::ExitWindows::Reboot); }
void ShutdownWindows(platform::Os& os) { endSession(os, platform::ExitWindows::Shutdown); }

}  // namespace PFUnit
