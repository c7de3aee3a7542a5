// Logging off, restarting and shutting down Windows: one ExitWindowsEx call
// each, without a question and without the force flag. A refusal raises
// platform::OsError with the system's reason.
#pragma once
#include "platform/os.h"

namespace PFUnit {

// nt: the NT family, where restarting and shutting down need a privilege.
void LogOffWindows(platform::Os& os, bool nt);
void RebootWindows(platform::Os& os, bool nt);
void ShutdownWindows(platform::Os& os, bool nt);

}  // namespace PFUnit
