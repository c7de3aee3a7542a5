// The values the whole program shares. Start-up sets them; every page reads
// them, so they live below the pages.
#pragma once
#include <string>

extern std::string AppDir;    // the executable's directory, with its backslash
extern bool IsWindowsNT;      // NT, 2000, XP (not 95, 98, Me)
extern bool StartMinimized;   // hide into the notification area at the next paint
