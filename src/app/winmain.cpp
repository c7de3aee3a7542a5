// Entry point of Morvane.exe.
// The platform headers come before <windows.h>, whose macros share their names.
#include "app/main_form.h"
#include "platform/win32/win32_os.h"
#include "ui/win32/win32_app.h"

#include <exception>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    try {
        ui::win32::Win32Application application(instance);
        platform::Win32Os platform;
        TfrmMain form(application, platform);
        form.start();
        return application.run();
    } catch (const std::exception& e) {
        // Only a window that cannot be made at all ends up here.
        MessageBoxA(nullptr, e.what(), "Morvane", MB_ICONERROR | MB_OK);
        return 1;
    }
}
