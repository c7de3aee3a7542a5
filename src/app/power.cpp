#include "app/power.h"

namespace PFUnit {

void LogOffWindows(os::Os& os) { os.exitWindowsEx(os::EWX_LOGOFF, 0); }
void RebootWindows(os::Os& os) { os.exitWindowsEx(os::EWX_REBOOT, 0); }
void ShutdownWindows(os::Os& os) { os.exitWindowsEx(os::EWX_SHUTDOWN, 0); }

}  // namespace PFUnit
