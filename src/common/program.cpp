#include "common/program.h"

TfrmMain* frmMain = nullptr;
std::string AppDir;
bool IsWindowsNT = false;
bool StartMinimized = false;
