// Logging off, restarting and shutting down Windows: one ExitWindowsEx call
// each, without a question and without the force flag; the result is not
// looked at.
#pragma once
#include "platform/os.h"

namespace PFUnit {

void LogOffWindows(os::Os& os);
void RebootWindows(os::Os& os);
void ShutdownWindows(os::Os& os);

}  // namespace PFUnit
