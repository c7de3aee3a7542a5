// The notification icon of the real Morvane.exe: minimising into it, the
// icon's mouse messages (as Windows sends them) and its menu.
#include "e2e/e2e_test.h"

using namespace e2e;

namespace {

bool shown(App& app) { return IsWindowVisible(app.hwnd()) != 0; }

TEST(TrayE2E, MinimisingHidesTheWindowAndALeftPressBringsItBack) {
    run([] {
        Session s;
        App& app = s.startApp();
        PostMessageW(app.hwnd(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
        ASSERT_TRUE(waitFor([&] { return !shown(app); })) << "the window stayed after minimising";
        // Moves and releases over the icon do nothing.
        for (UINT ignored : {WM_MOUSEMOVE, WM_LBUTTONUP, WM_RBUTTONUP}) app.trayMessage(ignored);
        app.sync();
        Sleep(100);
        EXPECT_FALSE(shown(app));
        app.trayMessage(WM_LBUTTONDOWN);
        ASSERT_TRUE(waitFor([&] { return shown(app) && !IsIconic(app.hwnd()); }))
            << "a left press did not bring the window back";
    });
}

TEST(TrayE2E, AStartMinimisedProgramWaitsInTheNotificationArea) {
    run([] {
        CleanSettings clean;
        setRegString(HKEY_CURRENT_USER, CleanSettings::kKey, "RunAutoMin", "yes");
        Session s;
        App& app = s.startApp(kStartMs, false);
        ASSERT_TRUE(waitFor([&] { return !shown(app); })) << "the window did not hide at its first paint";
        app.trayMessage(WM_LBUTTONDOWN);
        EXPECT_TRUE(waitFor([&] { return shown(app); })) << "a left press did not bring the window back";
    });
}

TEST(TrayE2E, ExitFromTheMenuClosesWithTheSave) {
    run([] {
        Session s;
        App& app = s.startApp();
        PostMessageW(app.hwnd(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
        ASSERT_TRUE(waitFor([&] { return !shown(app); }));
        app.trayMessage(WM_RBUTTONDOWN);
        HWND menu = nullptr;
        ASSERT_TRUE(waitFor([&] { return (menu = app.popupMenu()) != nullptr; })) << "no menu opened";
        // Up from nothing selected lands on the last item, "退    出".
        PostMessageW(menu, WM_KEYDOWN, VK_UP, 0);
        PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
        EXPECT_TRUE(app.process().waitExit()) << "the program did not end";
        EXPECT_TRUE(fileExists(s.dir() + "\\Napplst.dat")) << "ended without the closing save";
    });
}

}  // namespace
