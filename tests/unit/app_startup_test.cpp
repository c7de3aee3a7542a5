#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <set>
#include <stdexcept>

#include "app/control_ids.h"
#include "app/startup.h"
#include "base/text.h"
#include "app_fixture.h"

namespace {

using sim::Family;

TEST(Centring, TruncatesTowardZeroAlsoForWindowsLargerThanTheScreen) {
    EXPECT_EQ(app::centredOrigin(1024, 381), 321);
    EXPECT_EQ(app::centredOrigin(800, 407), 196);
    EXPECT_EQ(app::centredOrigin(378, 381), -1);  // -3 / 2, not -2
    EXPECT_EQ(app::centredOrigin(400, 407), -3);  // -7 / 2
}

TEST(StartUp, TheWindowIsCentredByItsOuterSize) {
    AppFixture f;
    f.application.setScreenSize(378, 400);
    TfrmMain& w = f.start();
    const ui::TRect r = w.windowRect();
    EXPECT_EQ(r.width(), 375 + ui::headless::HeadlessPeer::kFrameWidth);
    EXPECT_EQ(r.height(), 382 + ui::headless::HeadlessPeer::kFrameHeight);
    EXPECT_EQ(r.left, -1);
    EXPECT_EQ(r.top, -3);
}

TEST(StartUp, DeleteButtonIsDisabledOnTheNtFamilyOnly) {
    AppFixture nt(Family::NT);
    nt.start();
    EXPECT_TRUE(IsWindowsNT);
    EXPECT_FALSE(nt.form->BtnDelApp.enabled());

    AppFixture w9x(Family::Win9x);
    w9x.start();
    EXPECT_FALSE(IsWindowsNT);
    EXPECT_TRUE(w9x.form->BtnDelApp.enabled());

    AppFixture broken(Family::NT);
    broken.machine.setVersionFails(true);
    broken.start();
    EXPECT_FALSE(IsWindowsNT);
    EXPECT_TRUE(broken.form->BtnDelApp.enabled());
}

std::vector<std::string> expectedNames(sim::SimOs& m) {
    std::vector<std::string> out;
    for (auto& p : m.runningProcesses()) out.push_back(base::asciiUpper(p.exeFile));
    return out;
}

TEST(StartUp, AllowListHoldsEveryRunningProgramUpperCasedInSnapshotOrder) {
    AppFixture f(Family::NT);
    f.machine.addProcess("explorer.exe", "C:\\WINDOWS\\explorer.exe");
    f.machine.addProcess("notepad.exe", "C:\\WINDOWS\\notepad.exe");
    f.machine.addProcess("notepad.exe", "C:\\WINDOWS\\notepad.exe");
    // 记事本 has no byte in a..z; \xB0\x61 has its trail byte changed.
    f.machine.addProcess("记事本.exe");
    f.machine.addProcess("\xB0\x61x.exe");
    TfrmMain& w = f.start();
    const auto lines = w.List3.items();
    EXPECT_EQ(lines, expectedNames(f.machine));
    ASSERT_GE(lines.size(), 5u);
    const std::vector<std::string> tail(lines.end() - 5, lines.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"EXPLORER.EXE", "NOTEPAD.EXE", "NOTEPAD.EXE",
                                              "记事本.EXE", "\xB0\x41X.EXE"}));
    EXPECT_EQ(f.machine.openHandles(), 0);
}

// The process page is filled after the platform is known: full paths on 9x,
// module file names on NT.
TEST(StartUp, ProcessPageIsFilledForThePlatformFoundBeforeIt) {
    AppFixture w9x(Family::Win9x);
    w9x.machine.addProcess("C:\\WINDOWS\\notepad.exe", "C:\\WINDOWS\\notepad.exe");
    w9x.start();
    EXPECT_EQ(w9x.form->List1.items().back(), "C:\\WINDOWS\\NOTEPAD.EXE");

    AppFixture nt(Family::NT);
    nt.machine.addProcess("notepad.exe", "C:\\WINDOWS\\notepad.exe");
    nt.start();
    EXPECT_EQ(nt.form->List1.items().back(), "NOTEPAD.EXE");
    EXPECT_EQ(nt.form->ChkList1.items(), nt.form->List1.items());
    EXPECT_EQ(nt.form->Label1.caption(),
              "当前系统中共有" + std::to_string(nt.form->List1.count()) + "个进程");
}

// Names read ahead while the window was built are taken over, but checked
// against the first listing's own snapshot: a process that ended or whose
// identifier went to another program is read afresh.
TEST(StartUp, NamesReadAheadServeOnlyTheProcessesStillRunning) {
    auto startWith = [](bool readAhead) {
        AppFixture f(Family::NT);
        f.machine.addProcess("[System Process]");
        f.machine.addProcess("stays.exe", "C:\\A\\Stays.exe");
        const auto ends = f.machine.addProcess("ends.exe", "C:\\A\\Ends.exe");
        common::ModuleNameCache ahead;
        common::listProcesses(f.machine, true, &ahead);
        f.machine.process(ends)->running = false;
        f.machine.addProcess("other.exe", "C:\\B\\Other.exe", ends);
        f.machine.addProcess("later.exe", "C:\\B\\Later.exe");

        f.form = std::make_unique<TfrmMain>(f.application, f.machine);
        if (readAhead) f.form->TakeReadAhead = [&](common::ModuleNameCache& c) { std::swap(c, ahead); };
        const auto before = f.machine.countCalls("Module32First");
        f.form->start();
        EXPECT_FALSE(f.form->TakeReadAhead) << "taken once";
        EXPECT_EQ(f.form->List1.items(), common::listProcesses(f.machine, true).lines);
        return f.machine.countCalls("Module32First") - before;
    };
    EXPECT_EQ(startWith(true), startWith(false) - 1) << "only stays.exe was read ahead";
}

std::vector<std::string> argsOf(const sim::SimOs& m, const std::string& name) {
    std::vector<std::string> out;
    for (const sim::Call& c : m.calls())
        if (c.name == name) out.push_back(c.args);
    return out;
}

TEST(StartUp, PlatformCallsCarryTheRecordSizesAndFlagsWindowsExpects) {
    AppFixture f;
    f.start();
    EXPECT_EQ(argsOf(f.machine, "GetVersionExA"), (std::vector<std::string>{"size=148"}));
    const auto snaps = argsOf(f.machine, "CreateToolhelp32Snapshot");
    ASSERT_FALSE(snaps.empty());
    EXPECT_EQ(snaps.back(), "flags=2, pid=0");
}

TEST(StartUp, AllowListHoldsFullPathsOnWindows9x) {
    AppFixture f(Family::Win9x);
    f.machine.addProcess("C:\\WINDOWS\\explorer.exe");
    TfrmMain& w = f.start();
    EXPECT_EQ(w.List3.items(), expectedNames(f.machine));
    EXPECT_EQ(w.List3.items().back(), "C:\\WINDOWS\\EXPLORER.EXE");
}

TEST(StartUp, NoToolhelpLeavesTheAllowListEmptyAndSilent) {
    AppFixture f;
    f.machine.setToolhelpAvailable(false);
    TfrmMain& w = f.start();
    EXPECT_EQ(w.List3.count(), 0);
    EXPECT_TRUE(f.application.messages().empty());
    EXPECT_TRUE(w.visible());
}

// A machine whose version query raises, to stand for any failing step.
class FailingVersion : public sim::SimOs {
public:
    using sim::SimOs::SimOs;
    platform::Status getVersionEx(platform::VersionInfo&) override {
        throw std::runtime_error("Invalid data type for 'KillTime'");
    }
};

// A failing step is shown and the later ones still run: neither a settings
// value nor the version query may leave the lists empty.
TEST(StartUp, AnErrorInAStepIsShownAndTheLaterStepsStillRun) {
    FailingVersion machine(Family::NT);
    machine.addProcess("notepad.exe");
    machine.setExePath("C:\\Tools\\Morvane.exe");
    ui::headless::HeadlessApplication application(clockOf(machine));
    TfrmMain w(application, machine);
    w.start();
    EXPECT_EQ(application.errors(), (std::vector<std::string>{"Invalid data type for 'KillTime'"}));
    EXPECT_EQ(AppDir, "C:\\Tools\\");
    EXPECT_EQ(w.List3.items(), (std::vector<std::string>{"NOTEPAD.EXE"}));
    EXPECT_EQ(w.List1.count(), 1);
    EXPECT_TRUE(w.visible());

    // A settings value of the wrong kind: NT is still NT.
    AppFixture f(Family::NT);
    f.machine.setString(platform::RootKey::CurrentUser, "Software\\Zentrek", "KillTime", "abc");
    f.machine.addProcess("notepad.exe");
    f.machine.addWindow("Editor");
    TfrmMain& v = f.start();
    EXPECT_EQ(f.application.errors(), (std::vector<std::string>{"'abc' is not a valid integer value"}));
    EXPECT_TRUE(IsWindowsNT);
    EXPECT_FALSE(v.BtnDelApp.enabled());
    EXPECT_EQ(v.List3.items(), expectedNames(f.machine));
    EXPECT_FALSE(v.List3.items().empty());
    EXPECT_EQ(v.List2.items(), (std::vector<std::string>{"Editor"}));
}

TEST(StartUp, AppDirIsTheExecutablesDirectoryWithItsBackslash) {
    AppFixture f;
    f.machine.setExePath("C:\\Program Files\\Morvane\\Morvane.exe");
    f.start();
    EXPECT_EQ(AppDir, "C:\\Program Files\\Morvane\\");

    AppFixture g;
    g.machine.setExePath("D:\\\xCC\x5C\\Morvane.exe");  // 檀: trail byte 0x5C
    g.start();
    EXPECT_EQ(AppDir, "D:\\\xCC\x5C\\");
}

TEST(MainWindow, StartsOnTheFirstPagesWithNothingPending) {
    AppFixture f;
    TfrmMain* seenBeforeCreate = nullptr;
    f.form = std::make_unique<TfrmMain>(f.application, f.machine);
    seenBeforeCreate = frmMain;
    f.form->start();
    TfrmMain& w = *f.form;
    EXPECT_EQ(seenBeforeCreate, &w);
    EXPECT_TRUE(w.visible());
    EXPECT_EQ(w.PageControl1.activePage(), &w.TabSheet1);
    EXPECT_EQ(w.PageControl2.activePage(), &w.TabSheet7);
    EXPECT_FALSE(w.Panel2.visible());
    EXPECT_FALSE(w.ChkList1.visible());
    EXPECT_TRUE(w.List1.showing());
    EXPECT_EQ(w.RadioGroup1.itemIndex(), 0);
    EXPECT_EQ(w.RadioGroup2.itemIndex(), 0);
    EXPECT_FALSE(w.Timer1.enabled());
    EXPECT_FALSE(w.SpeedButton1.down());
    EXPECT_FALSE(w.N1.checked);
    // The interval field shows what its arrows hold.
    EXPECT_EQ(w.Edit4.text(), std::to_string(w.UpDown1.position()));
    EXPECT_GE(w.UpDown1.position(), w.UpDown1.min());
    EXPECT_LE(w.UpDown1.position(), w.UpDown1.max());
    EXPECT_EQ(w.Timer1.interval(), 1000u * static_cast<unsigned>(w.UpDown1.position()));
    // Both exit buttons read and explain the same.
    EXPECT_EQ(w.BtnExit.caption(), w.Button4.caption());
    EXPECT_EQ(w.BtnExit.hint(), w.Button4.hint());
    // The password panel lies exactly over the pages, above them.
    EXPECT_EQ(w.Panel2.boundsRect(), w.PageControl1.boundsRect());
    EXPECT_TRUE(f.application.messages().empty());
}

int zOrder(const ui::TControl& c) {
    return static_cast<const ui::headless::HeadlessPeer&>(c.peer()).zOrder();
}

TEST(MainWindow, OverlaidControlsLieAboveWhatTheyCover) {
    AppFixture f;
    TfrmMain& w = f.start();
    EXPECT_GT(zOrder(w.Panel2), zOrder(w.PageControl1));
    EXPECT_GT(zOrder(w.ChkList1), zOrder(w.List1));
    EXPECT_EQ(w.ChkList1.boundsRect(), w.List1.boundsRect());
    EXPECT_EQ(w.ListHide.boundsRect(), w.List3.boundsRect());
}

TEST(MainWindow, EnterAndEscapeReachThePasswordButtonsOnlyWhileThePanelIsUp) {
    AppFixture f;
    TfrmMain& w = f.start();
    int ok = 0, quit = 0;
    w.BitBtn1.OnClick = [&] { ++ok; };
    w.BitBtn2.OnClick = [&] { ++quit; };
    w.Panel2.show();
    w.Edit1.setFocus();
    w.userKey(ui::VK_RETURN_KEY);
    w.userKey(ui::VK_ESCAPE_KEY);
    EXPECT_EQ(ok, 1);
    EXPECT_EQ(quit, 1);
    w.Panel2.hide();
    w.userKey(ui::VK_RETURN_KEY);
    w.userKey(ui::VK_ESCAPE_KEY);
    EXPECT_EQ(ok, 1);
    EXPECT_EQ(quit, 1);
}

// Keys meant for a control under the password panel go to the password
// field instead, also after the window came back from the notification
// area; once the right password opens the panel, the pages take keys again.
TEST(MainWindow, ThePasswordPanelHoldsTheKeyboardUntilTheRightPassword) {
    AppFixture f;
    f.machine.setString(platform::RootKey::CurrentUser, "Software\\Zentrek", "RunByPass", "yes");
    f.machine.setString(platform::RootKey::CurrentUser, "Software\\Zentrek", "Pass", "ab");
    TfrmMain& w = f.start();
    ASSERT_TRUE(w.Panel2.visible());
    EXPECT_EQ(w.keyboardHolder(), &w.Panel2);
    EXPECT_FALSE(w.keyMayReach(&w.List1));
    w.List1.setFocus();
    w.userKey('a');
    EXPECT_TRUE(w.Edit1.focused());
    w.peerMinimize();
    w.N8Click();
    ASSERT_TRUE(w.Panel2.visible()) << "restoring brings the window back, not the pages";
    w.ListApp.setFocus();
    w.userKey('b');
    EXPECT_EQ(w.Edit1.text(), "ab");
    w.userKey(ui::VK_RETURN_KEY);
    EXPECT_FALSE(w.Panel2.visible());
    EXPECT_EQ(w.keyboardHolder(), nullptr);
    w.PageControl1.userSelect(3);
    w.Edit5.setFocus();
    w.userKey('x');
    EXPECT_EQ(w.Edit5.text(), "x");
    EXPECT_EQ(w.Edit1.text(), "ab");
}

void collectIds(const ui::TWinControl& w, std::multiset<int>& ids) {
    for (ui::TControl* c : w.controls()) {
        ids.insert(c->id());
        if (auto* wc = dynamic_cast<ui::TWinControl*>(c)) collectIds(*wc, ids);
    }
}

TEST(MainWindow, EveryControlHasAnIdOfItsOwn) {
    AppFixture f;
    TfrmMain& w = f.start();
    std::multiset<int> all;
    collectIds(w, all);
    EXPECT_GT(all.size(), 100u);
    for (int id : all) {
        EXPECT_EQ(all.count(id), 1u) << "id " << id << " is shared";
        EXPECT_GE(id, 100) << "ids below 100 collide with IDOK and IDCANCEL";
    }
    EXPECT_EQ(w.RadioGroup1.button(1).id(), ids::RadioGroup1 + 2);
}

TEST(MainWindow, ControlsStayInsideTheirParents) {
    AppFixture f;
    TfrmMain& w = f.start();
    std::function<void(const ui::TWinControl&)> check = [&](const ui::TWinControl& parent) {
        for (ui::TControl* c : parent.controls()) {
            const ui::TRect r = c->boundsRect();
            const int pw = &parent == &w ? 375 : parent.width();
            const int ph = &parent == &w ? 382 : parent.height();
            EXPECT_GE(r.left, 0) << c->id();
            EXPECT_GE(r.top, 0) << c->id();
            EXPECT_LE(r.right, pw) << c->id();
            EXPECT_LE(r.bottom, ph) << c->id();
            if (auto* wc = dynamic_cast<ui::TWinControl*>(c)) check(*wc);
        }
    };
    check(w);
}

TEST(Closing, BothExitButtonsAndTheTitleBarCloseEndTheProgramTheSameWay) {
    for (int way = 0; way < 3; ++way) {
        AppFixture f;
        TfrmMain& w = f.start();
        int closes = 0;
        auto formClose = w.OnClose;
        w.OnClose = [&] {
            ++closes;
            formClose();
        };
        if (way == 0) w.BtnExit.userClick();
        if (way == 1) {
            w.PageControl1.userSelect(1);
            w.Button4.userClick();
        }
        if (way == 2) w.userClose();
        EXPECT_EQ(closes, 1) << way;
        EXPECT_TRUE(f.application.terminated()) << way;
        EXPECT_FALSE(w.visible()) << way;
    }
}

TEST(Closing, AnErrorWhileClosingKeepsTheWindowOpen) {
    AppFixture f;
    TfrmMain& w = f.start();
    w.OnClose = [] { throw std::runtime_error("File access denied"); };
    w.BtnExit.userClick();
    EXPECT_EQ(f.application.errors(), (std::vector<std::string>{"File access denied"}));
    EXPECT_FALSE(f.application.terminated());
    EXPECT_TRUE(w.visible());
}

TEST(MainWindow, MailLinkOpensANewMail) {
    AppFixture f;
    TfrmMain& w = f.start();
    w.PageControl1.userSelect(5);
    w.Label16.userClick();
    ASSERT_EQ(f.machine.shellExecutes().size(), 1u);
    EXPECT_EQ(f.machine.shellExecutes()[0], "Open|mailto:morvane@example.com|||1");
    const auto calls = argsOf(f.machine, "ShellExecuteA");
    ASSERT_EQ(calls.size(), 1u);
    char hwnd[32];
    std::snprintf(hwnd, sizeof hwnd, "hwnd=0x%llX", static_cast<unsigned long long>(w.handle()));
    EXPECT_EQ(calls[0].rfind(hwnd, 0), 0u) << calls[0];
    EXPECT_EQ(w.Label16.caption(), "E-Mail:morvane@example.com");
    EXPECT_EQ(w.Label16.cursor(), ui::TCursor::HandPoint);
}

TEST(Paint, AStartMinimisedRequestHidesTheWindowOnceAtTheFirstPaint) {
    AppFixture f;
    TfrmMain& w = f.start();
    w.peerPaint();
    EXPECT_TRUE(w.visible());
    StartMinimized = true;
    w.peerPaint();
    EXPECT_FALSE(w.visible());
    EXPECT_FALSE(StartMinimized);
    EXPECT_EQ(f.machine.trayIcons().size(), 1u);
    w.show();
    w.peerPaint();
    EXPECT_TRUE(w.visible());
}

}  // namespace
