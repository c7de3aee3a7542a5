// Logging off, restarting and shutting down Windows: one ExitWindowsEx call
// each, without a question and without the force flag. A refusal raises
// os::OsError with the system's reason.
#pragma once
#include "platform/os.h"

namespace PFUnit {

void LogOffWindows(os::Os& os);
void RebootWindows(os::Os& os);
void ShutdownWindows(os::Os& os);

}  // namespace PFUnit
