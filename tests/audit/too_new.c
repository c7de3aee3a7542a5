/* An executable the import audit must refuse: a Vista function, a static
   Toolhelp import, a wide function, the C runtime DLL (its start-up code
   imports msvcrt.dll) and (from its link options) subsystem 6.0. Built,
   never run. */
#define _WIN32_WINNT 0x0600
#include <windows.h>
#include <tlhelp32.h>

int main(void) {
    wchar_t path[MAX_PATH];
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    return (int)GetTickCount64() + (snap != NULL) + (int)GetModuleFileNameW(NULL, path, MAX_PATH);
}
