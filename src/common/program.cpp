#include "common/program.h"

std::string AppDir;
bool IsWindowsNT = false;
bool StartMinimized = false;
