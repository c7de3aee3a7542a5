// The least a Win32 program does to show a window: the yardstick for
// Morvane.exe's start-up time.
#include "plain_window.h"

int WINAPI WinMain(HINSTANCE inst, HINSTANCE, LPSTR, int show) {
    HWND h = plain::makeTopWindow(inst, "BareWindow", "Bare window", 0);
    return h ? plain::showAndRun(h, show) : 1;
}
