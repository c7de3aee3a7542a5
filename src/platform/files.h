// The file helpers: whole files read, and written so that a failure part-way
// never leaves one short. They raise a failed call as OsError with the text
// the standard error box shows for it.
#pragma once
#include <string>

#include "platform/os.h"

namespace platform {

std::string readWholeFile(platform::Os& os, const std::string& path);

// Whether a file (not a folder) is at path. A look that fails (see
// Os::fileExists) raises OsError: a file nobody could look at is never
// taken for none.
bool fileFound(platform::Os& os, const std::string& path);

// Writes bytes to a new file beside `path`, then puts it in place of the old
// one in one step; on the 9x family, which cannot, the old file is renamed
// aside, the new one renamed into place and the old one removed, and put
// back if the new one cannot take its place. Whatever fails, the old file
// or the new one is left whole. A read-only, hidden or system file is
// refused with "File access denied", as writing over it always was; other
// failures raise OsError with the system's reason.
void writeFileReplacing(platform::Os& os, const std::string& path, const std::string& bytes);

}  // namespace platform
