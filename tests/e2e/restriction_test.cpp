// The restriction page of the real Morvane.exe: the loop clear ending helper
// programs in both modes, its two switches, the interval, and the list files.
#include "e2e/e2e_test.h"

using namespace e2e;

namespace {

constexpr int kRestrictTab = 2;

// Switches the loop clear with the button and waits for the handler.
void loopClear(App& app, bool on) {
    app.click(restriction::ids::SpeedButton1);
    ASSERT_EQ(app.ticked(restriction::ids::SpeedButton1), on);
}

// Chooses the first item of the notification menu, "循环清除".
void chooseLoopClearItem(App& app) {
    app.trayMessage(WM_RBUTTONDOWN);
    HWND menu = nullptr;
    ASSERT_TRUE(waitFor([&] { return (menu = app.popupMenu()) != nullptr; })) << "no menu opened";
    PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
    ASSERT_TRUE(waitFor([&] { return app.popupMenu() == nullptr; }));
    app.sync();
}

void loadList(App& app, const std::string& path) {
    app.clickAsync(restriction::ids::Button7);
    app.waitFileDialog().accept(path);
    waitFor([&] { return app.dialog() == nullptr; });
    app.sync();
}

TEST(LoopClearE2E, AllowModeSparesWhatRanAtStartAndEndsWhatCameLater) {
    ASSERT_TRUE(Session::haveHelper()) << "MORVANE_HELPER is not set";
    run([] {
        CleanSettings clean;
        Session s;
        Process& before = s.startHelper("e2ebefore.exe", "--sleep");
        ASSERT_TRUE(waitFor([&] { return processListed(before.pid()); }));
        App& app = s.startApp();
        app.selectTab(app::ids::PageControl1, kRestrictTab);
        Process& later = s.startHelper("e2elater.exe", "--sleep");
        ASSERT_TRUE(waitFor([&] { return processListed(later.pid()); }));
        loopClear(app, true);
        const DWORD t0 = GetTickCount();
        EXPECT_TRUE(later.waitExit(5000)) << "a program started later was not ended";
        const DWORD took = GetTickCount() - t0;
        loopClear(app, false);
        EXPECT_GE(took, 700u) << "a pass ran at the moment of switching on";
        EXPECT_TRUE(before.running()) << "a program running at start was ended";
        EXPECT_TRUE(app.process().running());
    });
}

TEST(LoopClearE2E, ForbidModeEndsTheListedProgramByItsIdentifierOnly) {
    ASSERT_TRUE(Session::haveHelper()) << "MORVANE_HELPER is not set";
    run([] {
        CleanSettings clean;
        Session s;
        App& app = s.startApp();
        app.selectTab(app::ids::PageControl1, kRestrictTab);
        app.click(restriction::ids::RadioGroup2 + 2);
        EXPECT_EQ(app.text(restriction::ids::GroupBox3), "禁止运行程序列表");
        EXPECT_EQ(app.count(restriction::ids::List3), 0);
        Process& bad = s.startHelper("e2ebad.exe", "--sleep");
        Process& good = s.startHelper("e2egood.exe", "--sleep");  // the same program, unlisted
        ASSERT_TRUE(waitFor([&] { return processListed(bad.pid()) && processListed(good.pid()); }));

        loopClear(app, true);
        Sleep(1600);
        EXPECT_TRUE(bad.running() && good.running()) << "an empty forbid list ended something";
        loopClear(app, false);

        const std::string list = s.dir() + "\\forbid.txt";
        writeFile(list, "E2EBAD.EXE\r\n");
        loadList(app, list);
        ASSERT_EQ(app.lines(restriction::ids::List3), std::vector<std::string>{"E2EBAD.EXE"});
        loopClear(app, true);
        EXPECT_TRUE(bad.waitExit(5000)) << "the forbidden program was not ended";
        // The family's path: 9x ends by name (code 0), NT by identifier,
        // handing back the 259 the process reported while it ran.
        EXPECT_EQ(bad.exitCode(), nineXFamily() ? 0u : 259u) << "version " << wineVersion();
        loopClear(app, false);
        EXPECT_TRUE(good.running());
        EXPECT_TRUE(app.process().running());
    });
}

TEST(LoopClearE2E, TheMenuItemAndTheButtonSwitchTogether) {
    run([] {
        CleanSettings clean;
        Session s;
        App& app = s.startApp();
        app.selectTab(app::ids::PageControl1, kRestrictTab);
        const int locked[] = {restriction::ids::RadioGroup2, restriction::ids::Button6, restriction::ids::Button7, restriction::ids::Button16,
                              restriction::ids::Button8,     restriction::ids::Button9, restriction::ids::Button10};
        chooseLoopClearItem(app);
        EXPECT_TRUE(app.ticked(restriction::ids::SpeedButton1)) << "the menu did not put the button down";
        for (int id : locked) EXPECT_FALSE(app.enabled(id)) << "control " << id << " stayed usable";
        EXPECT_FALSE(app.enabled(restriction::ids::RadioGroup2 + 2)) << "a mode button stayed usable";
        EXPECT_TRUE(app.enabled(restriction::ids::List3) && app.enabled(restriction::ids::Button11));

        loopClear(app, false);
        for (int id : locked) EXPECT_TRUE(app.enabled(id)) << "control " << id << " stayed locked";
        // Had the button left the item's tick on, choosing it now would switch off.
        chooseLoopClearItem(app);
        EXPECT_TRUE(app.ticked(restriction::ids::SpeedButton1)) << "the item's tick was not cleared";
        chooseLoopClearItem(app);
        EXPECT_FALSE(app.ticked(restriction::ids::SpeedButton1));
    });
}

// The arrow's click restarts the countdown with the new interval; typing
// into the edit changes nothing.
TEST(LoopClearE2E, AnIntervalChangeStartsTheCountdownAgain) {
    ASSERT_TRUE(Session::haveHelper()) << "MORVANE_HELPER is not set";
    run([] {
        CleanSettings clean;
        Session s;
        App& app = s.startApp();
        app.selectTab(app::ids::PageControl1, 4);
        app.pressKey(settings::ids::Edit4, '5');
        app.pressKey(settings::ids::Edit4, VK_BACK);
        app.pressKey(settings::ids::Edit4, VK_HOME);
        app.pressKey(settings::ids::Edit4, VK_DELETE);
        for (UINT edit : {WM_CUT, WM_CLEAR}) {
            send(app.control(settings::ids::Edit4), EM_SETSEL, 0, -1);
            send(app.control(settings::ids::Edit4), edit);
        }
        EXPECT_EQ(app.text(settings::ids::Edit4), "1") << "the interval's text changed without the arrows";

        app.selectTab(app::ids::PageControl1, kRestrictTab);
        loopClear(app, true);
        Sleep(500);
        app.selectTab(app::ids::PageControl1, 4);
        RECT r;
        HWND upDown = app.control(settings::ids::UpDown1);
        GetClientRect(upDown, &r);
        const LPARAM upArrow = MAKELPARAM(r.right / 2, r.bottom / 4);
        PostMessageW(upDown, WM_LBUTTONDOWN, MK_LBUTTON, upArrow);
        PostMessageW(upDown, WM_LBUTTONUP, 0, upArrow);
        app.sync();
        const DWORD t0 = GetTickCount();
        ASSERT_EQ(app.text(settings::ids::Edit4), "2");
        Process& later = s.startHelper("e2einterval.exe", "--sleep");
        ASSERT_TRUE(waitFor([&] { return processListed(later.pid()); }));
        // The old countdown would have run out half a second after the click.
        const DWORD toWait = 1300 - std::min<DWORD>(1300, GetTickCount() - t0);
        Sleep(toWait);
        EXPECT_TRUE(later.running()) << "the pass came on the old countdown";
        EXPECT_TRUE(later.waitExit(4000)) << "no pass after the new interval";
        app.selectTab(app::ids::PageControl1, kRestrictTab);
        loopClear(app, false);
    });
}

TEST(RestrictionListsE2E, AListSavedInOneModeLoadsAsTheOther) {
    run([] {
        CleanSettings clean;
        Session s;
        App& app = s.startApp();
        app.selectTab(app::ids::PageControl1, kRestrictTab);
        const std::vector<std::string> allow = app.lines(restriction::ids::List3);
        ASSERT_FALSE(allow.empty()) << "the allow list starts as the running programs";
        const std::string path = s.dir() + "\\允许.txt";
        app.clickAsync(restriction::ids::Button6);
        app.waitFileDialog().accept(path);
        waitFor([&] { return app.dialog() == nullptr; });
        app.sync();
        std::string expected;
        for (const std::string& l : allow) expected += l + "\r\n";
        EXPECT_EQ(readFile(path), expected);

        app.click(restriction::ids::RadioGroup2 + 2);
        EXPECT_EQ(app.count(restriction::ids::List3), 0);
        loadList(app, path);
        EXPECT_EQ(app.lines(restriction::ids::List3), allow);
        app.click(restriction::ids::RadioGroup2 + 1);
        EXPECT_EQ(app.lines(restriction::ids::List3), allow) << "the allow list was not kept";
        app.click(restriction::ids::RadioGroup2 + 2);
        EXPECT_EQ(app.lines(restriction::ids::List3), allow) << "the loaded forbid list was not kept";
    });
}

}  // namespace
