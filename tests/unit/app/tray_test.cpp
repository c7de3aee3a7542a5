// The notification icon on the simulated machine: hiding into it, the icon's
// mouse messages, its menu and the power items.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/control_ids.h"
#include "app_fixture.h"

namespace {

constexpr std::uint32_t kTray = 0x0464;
constexpr std::intptr_t kMove = 0x0200, kLDown = 0x0201, kLUp = 0x0202, kLDouble = 0x0203,
                        kRDown = 0x0204, kRUp = 0x0205, kMDown = 0x0207;

struct Tray : AppFixture {
    TfrmMain& w = start();
    void iconMessage(std::intptr_t mouse) {
        application.postMessage(w.handle(), kTray, 3, mouse);
        application.processMessages();
    }
    std::size_t icons() { return machine.trayIcons().size(); }
};

TEST(Tray, MinimisingHidesIntoOneIconAndALeftPressBringsTheWindowBack) {
    Tray t;
    t.w.peerMinimize();
    EXPECT_FALSE(t.w.visible());
    ASSERT_EQ(t.icons(), 1u);
    const platform::NotifyIconData icon = t.machine.trayIcons()[0];
    EXPECT_EQ(icon.wnd, t.w.handle());
    EXPECT_EQ(icon.id, 3u);
    EXPECT_EQ(icon.flags, 7u);
    EXPECT_EQ(icon.callbackMessage, kTray);
    EXPECT_EQ(icon.icon, t.w.iconHandle());
    EXPECT_NE(icon.icon, 0u);
    EXPECT_EQ(icon.tip, "Morvane进程管理器");

    for (std::intptr_t ignored : {kMove, kLUp, kRUp, kMDown}) t.iconMessage(ignored);
    EXPECT_FALSE(t.w.visible());
    EXPECT_EQ(t.icons(), 1u);
    EXPECT_TRUE(t.application.menus().empty());

    t.iconMessage(kLDown);
    EXPECT_TRUE(t.w.visible());
    EXPECT_EQ(t.icons(), 0u);
    EXPECT_EQ(t.application.restores(), 1);
    // The double click's second message finds no icon and a window that is back.
    t.iconMessage(kLDouble);
    EXPECT_TRUE(t.w.visible());
}

TEST(Tray, ARightPressOpensTheMenuAtThePointer) {
    Tray t;
    t.w.peerMinimize();
    t.machine.setCursorPos({700, 740});
    t.iconMessage(kRDown);
    ASSERT_EQ(t.application.menus().size(), 1u);
    EXPECT_EQ(t.application.menus()[0].x, 700);
    EXPECT_EQ(t.application.menus()[0].y, 740);
    EXPECT_FALSE(t.w.visible());
}

TEST(Tray, RestoreIsALeftPressAndExitClosesWithTheSave) {
    Tray t;
    t.w.peerMinimize();
    t.application.chooseMenuItem(app::ids::N8);
    t.iconMessage(kRDown);
    EXPECT_TRUE(t.w.visible());
    EXPECT_EQ(t.icons(), 0u);

    t.w.peerMinimize();
    t.application.chooseMenuItem(app::ids::N7);
    t.iconMessage(kRDown);
    EXPECT_EQ(t.icons(), 0u);
    EXPECT_TRUE(t.application.terminated());
    EXPECT_TRUE(t.machine.hasValue(platform::RootKey::CurrentUser, "Software\\Zentrek", "KillTime"));
}

// Left to us: a close from the menu that stops must not strand a hidden
// window without an icon.
TEST(Tray, AnExitThatStopsBringsTheWindowBack) {
    Tray t;
    t.machine.addFile("C:\\Morvane\\Napplst.dat", "", platform::FileAttr::ReadOnly);
    t.w.peerMinimize();
    t.application.answerMessage(ui::answer::Ok);
    t.application.answerMessage(ui::answer::No);
    t.application.chooseMenuItem(app::ids::N7);
    t.iconMessage(kRDown);
    EXPECT_FALSE(t.application.terminated());
    EXPECT_TRUE(t.w.visible());
    EXPECT_EQ(t.icons(), 0u);
}

TEST(Tray, PowerItemsActAtOnceWithoutTheSave) {
    const std::pair<int, std::uint32_t> items[] = {{app::ids::N3, 0}, {app::ids::N4, 2}, {app::ids::N5, 1}};
    for (auto [item, flags] : items) {
        Tray t;
        t.w.peerMinimize();
        t.application.chooseMenuItem(item);
        t.iconMessage(kRDown);
        EXPECT_EQ(t.machine.exitWindowsCalls(), std::vector<std::uint32_t>{flags}) << item;
        EXPECT_TRUE(t.application.messages().empty());
        EXPECT_FALSE(t.machine.hasValue(platform::RootKey::CurrentUser, "Software\\Zentrek", "KillTime"));
    }
}

// On NT a program restarts or shuts Windows down only with the shutdown
// privilege on in its own token; Windows 95 to Me have no tokens. A refusal
// is shown with the system's reason, not passed over.
TEST(Tray, RestartAndShutDownTakeThePrivilegeOnNtAndARefusalIsShown) {
    for (sim::Family family : {sim::Family::NT, sim::Family::Win9x}) {
        AppFixture f(family);
        TfrmMain& w = f.start();
        f.application.chooseMenuItem(app::ids::N5);
        f.application.postMessage(w.handle(), kTray, 3, kRDown);
        f.application.processMessages();
        EXPECT_EQ(f.machine.exitWindowsCalls(), std::vector<std::uint32_t>{platform::ExitWindows::Shutdown});
        EXPECT_EQ(f.machine.countCalls("AdjustTokenPrivileges"), family == sim::Family::NT ? 1u : 0u);
        EXPECT_TRUE(f.application.errors().empty());
    }
    Tray t;
    t.machine.failExitWindows(platform::Error::PrivilegeNotHeld);
    t.application.chooseMenuItem(app::ids::N4);
    t.iconMessage(kRDown);
    EXPECT_TRUE(t.machine.exitWindowsCalls().empty());
    EXPECT_EQ(t.application.errors(),
              std::vector<std::string>{"A required privilege is not held by the client."});
}

TEST(Tray, AShellThatIsNotUpYetOrRestartedGetsTheIconAgain) {
    Tray t;
    t.machine.setTrayAvailable(false);
    t.w.peerMinimize();
    EXPECT_EQ(t.icons(), 0u);
    t.machine.setTrayAvailable(true);
    t.w.pageHost.Delay(2500);
    EXPECT_EQ(t.icons(), 1u) << "tried again once the shell was up";
    const auto adds = t.machine.countCalls("Shell_NotifyIconA");
    t.w.pageHost.Delay(5000);
    EXPECT_EQ(t.machine.countCalls("Shell_NotifyIconA"), adds) << "no more tries once it is there";

    // The shell restarted: its icons are gone, and it tells every program.
    platform::NotifyIconData gone;
    gone.wnd = t.w.handle();
    gone.id = 3;
    EXPECT_TRUE(t.machine.shellNotifyIcon(platform::TrayMessage::Delete, gone));
    const std::uint32_t taskbarCreated = t.application.registerMessage("TaskbarCreated");
    t.application.postMessage(t.w.handle(), taskbarCreated);
    t.application.processMessages();
    EXPECT_EQ(t.icons(), 1u);

    // Back on screen, a restarted shell adds nothing.
    t.iconMessage(kLDown);
    t.application.postMessage(t.w.handle(), taskbarCreated);
    t.application.processMessages();
    EXPECT_EQ(t.icons(), 0u);
}

// Catches retries that give up before five minutes, or that never stop: a
// shell that comes late still gets the icon, one that never comes is let be.
TEST(Tray, RetriesForTheIconGoOnForFiveMinutesAndThenStop) {
    Tray late;
    late.machine.setTrayAvailable(false);
    late.w.peerMinimize();
    late.w.pageHost.Delay(290000);
    late.machine.setTrayAvailable(true);
    late.w.pageHost.Delay(5000);
    EXPECT_EQ(late.icons(), 1u);

    Tray never;
    never.machine.setTrayAvailable(false);
    never.w.peerMinimize();
    never.w.pageHost.Delay(310000);
    EXPECT_FALSE(never.w.TrayRetry.enabled());
    const auto asked = never.machine.countCalls("Shell_NotifyIconA");
    never.w.pageHost.Delay(600000);
    EXPECT_EQ(never.machine.countCalls("Shell_NotifyIconA"), asked);
}

TEST(Tray, WhileThePasswordIsAskedTheLoopClearItemIsOff) {
    AppFixture f;
    f.machine.setString(platform::RootKey::CurrentUser, "Software\\Zentrek", "RunByPass", "yes");
    TfrmMain& w = f.start();
    w.peerMinimize();
    f.application.chooseMenuItem(app::ids::N1);
    f.application.postMessage(w.handle(), kTray, 3, kRDown);
    f.application.processMessages();
    ASSERT_EQ(f.application.menus().size(), 1u);
    const auto& enabled = f.application.menus()[0].enabledIds;
    EXPECT_EQ(std::count(enabled.begin(), enabled.end(), app::ids::N1), 0);
    EXPECT_EQ(std::count(enabled.begin(), enabled.end(), app::ids::N8), 1);
    EXPECT_FALSE(w.N1.checked) << "a disabled item does nothing";
    f.application.chooseMenuItem(app::ids::N8);
    f.application.postMessage(w.handle(), kTray, 3, kRDown);
    f.application.processMessages();
    EXPECT_TRUE(w.visible());
    EXPECT_TRUE(w.passwordPanel.Panel2.visible()) << "the panel stays until the password is given";
}

}  // namespace
