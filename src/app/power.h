// Logging off, restarting and shutting down Windows: one ExitWindowsEx call
// each, without a question and without the force flag. A refusal raises
// platform::OsError with the system's reason.
#pragma once
#include "platform/os.h"

namespace PFUnit {

void LogOffWindows(platform::Os& os);
void RebootWindows(platform::Os& os);
void ShutdownWindows(platform::Os& os);

}  // namespace PFUnit
