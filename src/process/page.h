// The normal-program list file beside the executable, for the settings store:
// read at start-up, written at close.
#pragma once
#include <string>

#include "platform/os.h"
#include "ui/controls.h"

namespace process {

// Fills listApp from appDir + "Napplst.dat". A missing file is no error and
// leaves the list as it is; an unreadable one raises os::OsError and leaves
// it as it is too.
void loadNormalAppList(os::Os& os, const std::string& appDir, ui::TListBox& listApp);
// Writes every entry with CR LF, an empty list as an empty file.
void saveNormalAppList(os::Os& os, const std::string& appDir, const ui::TListBox& listApp);

}  // namespace process
