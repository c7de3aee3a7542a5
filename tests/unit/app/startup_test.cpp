#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
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
    EXPECT_TRUE(nt.form->pageHost.IsWindowsNT);
    EXPECT_FALSE(nt.form->process.BtnDelApp.enabled());

    AppFixture w9x(Family::Win9x);
    w9x.start();
    EXPECT_FALSE(w9x.form->pageHost.IsWindowsNT);
    EXPECT_TRUE(w9x.form->process.BtnDelApp.enabled());

    AppFixture broken(Family::NT);
    broken.machine.setVersionFails(true);
    broken.start();
    EXPECT_FALSE(broken.form->pageHost.IsWindowsNT);
    EXPECT_TRUE(broken.form->process.BtnDelApp.enabled());
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
    const auto lines = w.restriction.List3.items();
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
    EXPECT_EQ(lastOf(w9x.form->process.List1.items()), "C:\\WINDOWS\\NOTEPAD.EXE");

    AppFixture nt(Family::NT);
    nt.machine.addProcess("notepad.exe", "C:\\WINDOWS\\notepad.exe");
    nt.start();
    EXPECT_EQ(lastOf(nt.form->process.List1.items()), "NOTEPAD.EXE");
    EXPECT_EQ(nt.form->process.ChkList1.items(), nt.form->process.List1.items());
    EXPECT_EQ(nt.form->process.Label1.caption(),
              "当前系统中共有" + std::to_string(nt.form->process.List1.count()) + "个进程");
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
        EXPECT_EQ(f.form->process.List1.items(), common::listProcesses(f.machine, true).lines);
        return f.machine.countCalls("Module32First") - before;
    };
    EXPECT_EQ(startWith(true), startWith(false) - 1) << "only stays.exe was read ahead";
}

TEST(StartUp, AllowListHoldsFullPathsOnWindows9x) {
    AppFixture f(Family::Win9x);
    f.machine.addProcess("C:\\WINDOWS\\explorer.exe");
    TfrmMain& w = f.start();
    EXPECT_EQ(w.restriction.List3.items(), expectedNames(f.machine));
    EXPECT_EQ(lastOf(w.restriction.List3.items()), "C:\\WINDOWS\\EXPLORER.EXE");
}

TEST(StartUp, NoToolhelpLeavesTheAllowListEmptyAndSilent) {
    AppFixture f;
    f.machine.setToolhelpAvailable(false);
    TfrmMain& w = f.start();
    EXPECT_EQ(w.restriction.List3.count(), 0);
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
    EXPECT_EQ(w.pageHost.AppDir, "C:\\Tools\\");
    EXPECT_EQ(w.restriction.List3.items(), (std::vector<std::string>{"NOTEPAD.EXE"}));
    EXPECT_EQ(w.process.List1.count(), 1);
    EXPECT_TRUE(w.visible());

    // A settings value of the wrong kind: NT is still NT.
    AppFixture f(Family::NT);
    f.machine.setString(platform::RootKey::CurrentUser, "Software\\Zentrek", "KillTime", "abc");
    f.machine.addProcess("notepad.exe");
    f.machine.addWindow("Editor");
    TfrmMain& v = f.start();
    EXPECT_EQ(f.application.errors(), (std::vector<std::string>{"'abc' is not a valid integer value"}));
    EXPECT_TRUE(v.pageHost.IsWindowsNT);
    EXPECT_FALSE(v.process.BtnDelApp.enabled());
    EXPECT_EQ(v.restriction.List3.items(), expectedNames(f.machine));
    EXPECT_FALSE(v.restriction.List3.items().empty());
    EXPECT_EQ(v.window.List2.items(), (std::vector<std::string>{"Editor"}));
}

TEST(StartUp, AppDirIsTheExecutablesDirectoryWithItsBackslash) {
    AppFixture f;
    f.machine.setExePath("C:\\Program Files\\Morvane\\Morvane.exe");
    f.start();
    EXPECT_EQ(f.form->pageHost.AppDir, "C:\\Program Files\\Morvane\\");

    AppFixture g;
    g.machine.setExePath("D:\\\xCC\x5C\\Morvane.exe");  // 檀: trail byte 0x5C
    g.start();
    EXPECT_EQ(g.form->pageHost.AppDir, "D:\\\xCC\x5C\\");
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
    EXPECT_EQ(w.PageControl1.activePage(), &w.process.TabSheet1);
    EXPECT_EQ(w.programSettings.PageControl2.activePage(), &w.programSettings.generalSettings.TabSheet7);
    EXPECT_FALSE(w.passwordPanel.Panel2.visible());
    EXPECT_FALSE(w.process.ChkList1.visible());
    EXPECT_TRUE(w.process.List1.showing());
    EXPECT_EQ(w.process.RadioGroup1.itemIndex(), 0);
    EXPECT_EQ(w.restriction.RadioGroup2.itemIndex(), 0);
    EXPECT_FALSE(w.restriction.Timer1.enabled());
    EXPECT_FALSE(w.restriction.SpeedButton1.down());
    EXPECT_FALSE(w.N1.checked);
    // The interval field shows what its arrows hold.
    EXPECT_EQ(w.programSettings.generalSettings.Edit4.text(), std::to_string(w.programSettings.generalSettings.UpDown1.position()));
    EXPECT_GE(w.programSettings.generalSettings.UpDown1.position(), w.programSettings.generalSettings.UpDown1.min());
    EXPECT_LE(w.programSettings.generalSettings.UpDown1.position(), w.programSettings.generalSettings.UpDown1.max());
    EXPECT_EQ(w.restriction.Timer1.interval(), 1000u * static_cast<unsigned>(w.programSettings.generalSettings.UpDown1.position()));
    // Both exit buttons read and explain the same.
    EXPECT_EQ(w.process.BtnExit.caption(), w.window.Button4.caption());
    EXPECT_EQ(w.process.BtnExit.hint(), w.window.Button4.hint());
    // The password panel lies exactly over the pages, above them.
    EXPECT_EQ(w.passwordPanel.Panel2.boundsRect(), w.PageControl1.boundsRect());
    EXPECT_TRUE(f.application.messages().empty());
}

int zOrder(const ui::TControl& c) {
    return static_cast<const ui::headless::HeadlessPeer&>(c.peer()).zOrder();
}

TEST(MainWindow, OverlaidControlsLieAboveWhatTheyCover) {
    AppFixture f;
    TfrmMain& w = f.start();
    EXPECT_GT(zOrder(w.passwordPanel.Panel2), zOrder(w.PageControl1));
    EXPECT_GT(zOrder(w.process.ChkList1), zOrder(w.process.List1));
    EXPECT_EQ(w.process.ChkList1.boundsRect(), w.process.List1.boundsRect());
    EXPECT_EQ(w.restriction.ListHide.boundsRect(), w.restriction.List3.boundsRect());
}

TEST(MainWindow, EnterAndEscapeReachThePasswordButtonsOnlyWhileThePanelIsUp) {
    AppFixture f;
    TfrmMain& w = f.start();
    int ok = 0, quit = 0;
    w.passwordPanel.BitBtn1.OnClick = [&] { ++ok; };
    w.passwordPanel.BitBtn2.OnClick = [&] { ++quit; };
    w.passwordPanel.Panel2.show();
    w.passwordPanel.Edit1.setFocus();
    w.userKey(ui::VK_RETURN_KEY);
    w.userKey(ui::VK_ESCAPE_KEY);
    EXPECT_EQ(ok, 1);
    EXPECT_EQ(quit, 1);
    w.passwordPanel.Panel2.hide();
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
    ASSERT_TRUE(w.passwordPanel.Panel2.visible());
    EXPECT_EQ(w.keyboardHolder(), &w.passwordPanel.Panel2);
    EXPECT_FALSE(w.keyMayReach(&w.process.List1));
    w.process.List1.setFocus();
    w.userKey('a');
    EXPECT_TRUE(w.passwordPanel.Edit1.focused());
    w.peerMinimize();
    w.N8Click();
    ASSERT_TRUE(w.passwordPanel.Panel2.visible()) << "restoring brings the window back, not the pages";
    w.programSettings.normalPrograms.ListApp.setFocus();
    w.userKey('b');
    EXPECT_EQ(w.passwordPanel.Edit1.text(), "ab");
    w.userKey(ui::VK_RETURN_KEY);
    EXPECT_FALSE(w.passwordPanel.Panel2.visible());
    EXPECT_EQ(w.keyboardHolder(), nullptr);
    w.PageControl1.userSelect(3);
    w.autostart.Edit5.setFocus();
    w.userKey('x');
    EXPECT_EQ(w.autostart.Edit5.text(), "x");
    EXPECT_EQ(w.passwordPanel.Edit1.text(), "ab");
}

// The first control in window order whose id, as WM_COMMAND and
// GetDlgItem carry it (16 bits), is `id`: whom a click or a driver reaches.
const ui::TControl* firstWithId(const ui::TWinControl& w, int id) {
    for (ui::TControl* c : w.controls()) {
        if ((c->id() & 0xFFFF) == (id & 0xFFFF)) return c;
        if (auto* wc = dynamic_cast<ui::TWinControl*>(c))
            if (const ui::TControl* found = firstWithId(*wc, id)) return found;
    }
    return nullptr;
}

void eachControl(const ui::TWinControl& w, const std::function<void(const ui::TControl&)>& f) {
    for (ui::TControl* c : w.controls()) {
        f(*c);
        if (auto* wc = dynamic_cast<ui::TWinControl*>(c)) eachControl(*wc, f);
    }
}

// Catches two controls sharing an id (the other's handler would run) and a
// control that Windows' own Enter and Escape commands would press.
TEST(MainWindow, EachControlIsReachedByItsIdAndNoneByEnterOrEscape) {
    AppFixture f;
    TfrmMain& w = f.start();
    int controls = 0;
    eachControl(w, [&](const ui::TControl& c) {
        ++controls;
        EXPECT_EQ(firstWithId(w, c.id()), &c) << "id " << c.id() << " is another control's";
    });
    EXPECT_GT(controls, 100);
    EXPECT_EQ(firstWithId(w, 1), nullptr) << "IDOK";
    EXPECT_EQ(firstWithId(w, 2), nullptr) << "IDCANCEL";
}

TEST(MainWindow, ControlsStayInsideTheirParents) {
    AppFixture f;
    TfrmMain& w = f.start();
    eachControl(w, [&](const ui::TControl& c) {
        const ui::TWinControl& parent = *c.parent();
        const ui::TRect r = c.boundsRect();
        const int pw = &parent == &w ? 375 : parent.width();
        const int ph = &parent == &w ? 382 : parent.height();
        EXPECT_GE(r.left, 0) << c.id();
        EXPECT_GE(r.top, 0) << c.id();
        EXPECT_LE(r.right, pw) << c.id();
        EXPECT_LE(r.bottom, ph) << c.id();
    });
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
        if (way == 0) w.process.BtnExit.userClick();
        if (way == 1) {
            w.PageControl1.userSelect(1);
            w.window.Button4.userClick();
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
    w.process.BtnExit.userClick();
    EXPECT_EQ(f.application.errors(), (std::vector<std::string>{"File access denied"}));
    EXPECT_FALSE(f.application.terminated());
    EXPECT_TRUE(w.visible());
}

// The About page's link and the window list name the window by this handle.
TEST(MainWindow, PagesAreHandedTheWindowsOwnHandle) {
    AppFixture f;
    TfrmMain& w = f.start();
    EXPECT_EQ(w.pageHost.hostHandle(), w.handle());
}

TEST(Paint, AStartMinimisedRequestHidesTheWindowOnceAtTheFirstPaint) {
    AppFixture f;
    TfrmMain& w = f.start();
    w.peerPaint();
    EXPECT_TRUE(w.visible());
    w.pageHost.StartMinimized = true;
    w.peerPaint();
    EXPECT_FALSE(w.visible());
    EXPECT_FALSE(w.pageHost.StartMinimized);
    EXPECT_EQ(f.machine.trayIcons().size(), 1u);
    w.show();
    w.peerPaint();
    EXPECT_TRUE(w.visible());
}

}  // namespace
