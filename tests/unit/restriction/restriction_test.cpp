// The restriction page and its loop clear on the simulated machine.
#include <gtest/gtest.h>

#include "app/control_ids.h"
#include "app_fixture.h"
#include "page_fixture.h"
#include "restriction/rules.h"

namespace {

using V = std::vector<std::string>;
using sim::Family;

constexpr const char* kAllow = "允许运行程序列表";
constexpr const char* kForbid = "禁止运行程序列表";

// This program and an editor run when the window starts, which runs under
// the fault plan given.
struct Restrict : AppFixture {
    explicit Restrict(Family family = Family::NT, const sim::FaultPlan& atStart = {})
        : AppFixture(family),
          self(machine.addProcess(family == Family::NT ? "Morvane.exe" : "C:\\MORVANE\\MORVANE.EXE")),
          editor(machine.addProcess(family == Family::NT ? "editor.exe" : "C:\\APPS\\EDITOR.EXE")),
          w((machine.setFaultPlan(atStart), start())) {
        machine.setFaultPlan({});
        w.PageControl1.userSelect(2);
    }
    // Lets the clock run, pumping as the message loop does.
    void runFor(std::uint32_t ms) {
        const std::uint32_t t0 = machine.getTickCount();
        while (machine.getTickCount() - t0 < ms) application.processMessages();
    }
    void loopClearOn() { w.restriction.SpeedButton1.userClick(); }
    bool running(std::uint32_t id) { return machine.process(id)->running; }
    std::uint32_t self, editor;
    TfrmMain& w;
};

TEST(RestrictionLists, ModesParkAndShowTheirListsUnchanged) {
    Restrict r;
    const V allow = r.w.restriction.List3.items();
    EXPECT_EQ(allow, (V{"MORVANE.EXE", "EDITOR.EXE"}));
    EXPECT_EQ(r.w.restriction.GroupBox3.caption(), kAllow);

    r.w.restriction.RadioGroup2.userSelect(1);
    EXPECT_EQ(r.w.restriction.GroupBox3.caption(), kForbid);
    EXPECT_TRUE(r.w.restriction.List3.items().empty()) << "the first forbid list is empty";
    r.w.restriction.List3.add("GAME.EXE");
    r.w.restriction.RadioGroup2.userSelect(0);
    EXPECT_EQ(r.w.restriction.GroupBox3.caption(), kAllow);
    EXPECT_EQ(r.w.restriction.List3.items(), allow);
    r.w.restriction.RadioGroup2.userSelect(1);
    EXPECT_EQ(r.w.restriction.List3.items(), V{"GAME.EXE"});
}

TEST(RestrictionLists, AddTakesTheTitleOfTheModeAndRefusesAnExactDuplicateSilently) {
    Restrict r;
    r.application.answerDialog("c:\\Program Files\\Tool\\tool.exe");
    r.w.restriction.Button8.userClick();
    r.application.answerDialog("D:\\other\\TOOL.EXE");
    r.w.restriction.Button8.userClick();
    r.application.answerDialog(std::nullopt);
    r.w.restriction.Button8.userClick();
    EXPECT_EQ(r.w.restriction.List3.items(), (V{"MORVANE.EXE", "EDITOR.EXE", "TOOL.EXE"}));
    EXPECT_TRUE(r.application.messages().empty());
    ASSERT_EQ(r.application.dialogs().size(), 3u);
    EXPECT_EQ(r.application.dialogs()[0].title, "添加允许运行程序");
    EXPECT_EQ(r.application.dialogs()[0].filter, "程序文件|*.exe|所有文件|*.*");

    r.w.restriction.RadioGroup2.userSelect(1);
    r.application.answerDialog("c:\\games\\game.exe");
    r.w.restriction.Button8.userClick();
    EXPECT_EQ(lastOf(r.application.dialogs()).title, "添加禁止运行程序");
    EXPECT_EQ(r.w.restriction.List3.items(), V{"GAME.EXE"});

    Restrict w9x(Family::Win9x);
    w9x.application.answerDialog("c:\\games\\game.exe");
    w9x.w.restriction.Button8.userClick();
    EXPECT_EQ(lastOf(w9x.w.restriction.List3.items()), "C:\\GAMES\\GAME.EXE") << "9x keeps the whole path";
}

TEST(RestrictionLists, DeleteAndClear) {
    Restrict r;
    r.w.restriction.Button9.userClick();
    EXPECT_EQ(r.w.restriction.List3.count(), 2) << "no selection, no change";
    r.w.restriction.List3.userSelect(0);
    r.w.restriction.Button9.userClick();
    EXPECT_EQ(r.w.restriction.List3.items(), V{"EDITOR.EXE"});

    r.application.answerMessage(ui::answer::No);
    r.w.restriction.Button16.userClick();
    EXPECT_EQ(r.w.restriction.List3.count(), 1);
    r.w.restriction.Button16.userClick();
    EXPECT_EQ(r.w.restriction.List3.count(), 0);
    ASSERT_EQ(r.application.messages().size(), 2u);
    EXPECT_EQ(r.application.messages()[0].text, "您当真要清空列表吗？");
    EXPECT_EQ(r.application.messages()[0].caption, "确认");
    EXPECT_EQ(r.application.messages()[0].flags, static_cast<unsigned>(ui::mb::YesNo));
}

TEST(RestrictionLists, AddAllProcessesReplacesTheListWithTheLoopLines) {
    Restrict r;
    const auto odd = r.machine.addProcess("\\??\\C:\\WINDOWS\\smss.exe", "C:\\WINDOWS\\smss.exe");
    r.machine.process(odd)->modulesUnreadable = true;
    r.machine.addProcess("renamed.exe", "C:\\Apps\\Real.exe");
    r.w.restriction.List3.setItems({"OLD.EXE"});
    r.w.restriction.Button10.userClick();
    EXPECT_EQ(r.w.restriction.List3.items(), (V{"MORVANE.EXE", "EDITOR.EXE", "SMSS.EXE", "REAL.EXE"}));
    EXPECT_EQ(r.machine.openHandles(), 0);
}

TEST(RestrictionLists, SaveAndLoadCarryAListBetweenModes) {
    Restrict r;
    r.application.answerDialog("C:\\lists\\allow.txt");
    r.w.restriction.Button6.userClick();
    EXPECT_EQ(r.machine.bytesOf("C:\\lists\\allow.txt"), "MORVANE.EXE\r\nEDITOR.EXE\r\n");
    EXPECT_TRUE(lastOf(r.application.dialogs()).save);

    r.w.restriction.RadioGroup2.userSelect(1);
    r.application.answerDialog("C:\\lists\\empty.txt");
    r.w.restriction.Button6.userClick();
    EXPECT_EQ(r.machine.bytesOf("C:\\lists\\empty.txt"), "");
    r.application.answerDialog("C:\\lists\\allow.txt");
    r.w.restriction.Button7.userClick();
    EXPECT_EQ(r.w.restriction.List3.items(), (V{"MORVANE.EXE", "EDITOR.EXE"}));
    EXPECT_EQ(r.w.restriction.GroupBox3.caption(), kForbid) << "loading never switches the mode";

    r.application.answerDialog("C:\\lists\\empty.txt");
    r.w.restriction.Button7.userClick();
    EXPECT_EQ(r.w.restriction.List3.items(), V{""});
    r.machine.addFile("C:\\lists\\lower.txt", "game.exe\nTool.exe");
    r.application.answerDialog("C:\\lists\\lower.txt");
    r.w.restriction.Button7.userClick();
    EXPECT_EQ(r.w.restriction.List3.items(), (V{"game.exe", "Tool.exe"}));

    r.machine.file("C:\\lists\\lower.txt")->unreadable = true;
    r.application.answerDialog("C:\\lists\\lower.txt");
    r.w.restriction.Button7.userClick();
    EXPECT_EQ(r.application.errors().size(), 1u);
    EXPECT_EQ(r.w.restriction.List3.items(), (V{"game.exe", "Tool.exe"})) << "an unreadable file loses nothing";
}

// --- The loop clear.

TEST(LoopClear, SwitchingOnLocksTheListsMirrorsAndWaitsOneInterval) {
    Restrict r;
    std::vector<int> order;
    std::vector<ui::THookRegistration> hooks;
    for (ui::TControl* c : std::initializer_list<ui::TControl*>{
             &r.w.restriction.RadioGroup2, &r.w.restriction.Button6, &r.w.restriction.Button7, &r.w.restriction.Button16, &r.w.restriction.Button8,
             &r.w.restriction.Button9, &r.w.restriction.Button10})
        hooks.push_back(c->installHook([&order, c](ui::TMessage& m, const ui::TMessageNext& next) {
            if (m.msg == ui::wm::Enable) order.push_back(c->id());
            next(m);
        }));
    const auto later = r.machine.addProcess("later.exe");
    r.loopClearOn();
    EXPECT_TRUE(r.w.N1.checked);
    EXPECT_TRUE(r.w.restriction.Timer1.enabled());
    EXPECT_FALSE(r.w.restriction.RadioGroup2.button(1).enabled()) << "its buttons look unusable too";
    const std::vector<int> locking{restriction::ids::RadioGroup2, restriction::ids::Button6, restriction::ids::Button7, restriction::ids::Button16,
                                   restriction::ids::Button8,     restriction::ids::Button9, restriction::ids::Button10};
    EXPECT_EQ(order, locking);
    EXPECT_TRUE(r.w.restriction.List3.enabled() && r.w.restriction.Button11.enabled() && r.w.programSettings.generalSettings.UpDown1.enabled());
    r.w.restriction.RadioGroup2.userSelect(1);
    EXPECT_EQ(r.w.restriction.GroupBox3.caption(), kAllow) << "the mode cannot change under the pass";

    r.runFor(900);
    EXPECT_TRUE(r.running(later)) << "no pass at the moment of switching on";
    r.runFor(200);
    EXPECT_FALSE(r.running(later));
    EXPECT_TRUE(r.running(r.self) && r.running(r.editor));

    // Off from the menu: the button comes up, the controls come back last
    // the mode selector.
    order.clear();
    r.w.N1.userClick();
    EXPECT_FALSE(r.w.N1.checked);
    EXPECT_FALSE(r.w.restriction.SpeedButton1.down());
    EXPECT_FALSE(r.w.restriction.Timer1.enabled());
    EXPECT_EQ(order, (std::vector<int>{restriction::ids::Button6, restriction::ids::Button7, restriction::ids::Button16, restriction::ids::Button8,
                                       restriction::ids::Button9, restriction::ids::Button10, restriction::ids::RadioGroup2}));
    EXPECT_TRUE(r.w.restriction.RadioGroup2.button(1).enabled());

    // On from the menu, off with the button.
    r.w.N1.userClick();
    EXPECT_TRUE(r.w.restriction.SpeedButton1.down());
    EXPECT_TRUE(r.w.restriction.Timer1.enabled());
    EXPECT_FALSE(r.w.restriction.Button8.enabled());
    r.w.restriction.SpeedButton1.userClick();
    EXPECT_FALSE(r.w.N1.checked);
    EXPECT_FALSE(r.w.restriction.Timer1.enabled());
    EXPECT_TRUE(r.w.restriction.Button8.enabled());
}

TEST(LoopClear, NtAllowModeEndsByIdentifierWhatNoLineNames) {
    Restrict r;
    const auto copy = r.machine.addProcess("editor.exe");  // a copy of an allowed program
    const auto tool = r.machine.addProcess("tool.exe");
    const auto tool2 = r.machine.addProcess("tool.exe");
    const auto lower = r.machine.addProcess("note.exe");
    r.w.restriction.List3.add("note.exe");  // lower case never matches a snapshot name
    r.loopClearOn();
    r.runFor(1000);
    EXPECT_TRUE(r.running(r.self) && r.running(r.editor) && r.running(copy));
    EXPECT_FALSE(r.running(tool) || r.running(tool2) || r.running(lower));
    EXPECT_EQ(r.w.restriction.ListHide.items(),
              (V{"MORVANE.EXE", "EDITOR.EXE", "EDITOR.EXE", "TOOL.EXE", "TOOL.EXE", "NOTE.EXE"}));

    r.w.restriction.SpeedButton1.userClick();
    r.w.restriction.Button16.userClick();  // an empty allow list: everything goes, this program too
    r.loopClearOn();
    r.runFor(1000);
    EXPECT_TRUE(r.machine.runningProcesses().empty());
    EXPECT_EQ(r.machine.openHandles(), 0);
}

// On NT a pass ends the process of a listed line by its identifier: a second
// process of the same entry name whose module is another program stays, the
// ended one keeps the code it reported while running, and a line whose
// identifier went to another program by the time it is ended ends nothing.
TEST(LoopClear, NtPassesEndByIdentifierNeverByName) {
    Restrict r;
    const auto tool = r.machine.addProcess("tool.exe", "C:\\A\\tool.exe");
    const auto twin = r.machine.addProcess("tool.exe", "C:\\B\\helper.exe");
    r.w.restriction.RadioGroup2.userSelect(1);
    r.w.restriction.List3.setItems({"TOOL.EXE"});
    r.loopClearOn();
    r.runFor(1000);
    EXPECT_FALSE(r.running(tool));
    EXPECT_EQ(r.machine.process(tool)->exitCode, platform::kStillActive);
    EXPECT_TRUE(r.running(twin)) << "ended by name, not by identifier";

    r.w.restriction.SpeedButton1.userClick();
    const auto late = r.machine.addProcess("tool.exe", "C:\\A\\tool.exe");
    r.w.restriction.RefreshHideList();
    const auto line = static_cast<int>(r.w.restriction.ListHide.count()) - 1;
    ASSERT_EQ(r.w.restriction.ListHide.item(line), "TOOL.EXE");
    r.machine.process(late)->running = false;
    const auto other = r.machine.addProcess("editor.exe", "C:\\E\\editor.exe", late);
    EXPECT_EQ(r.w.restriction.KillTaskB(line), 0);
    EXPECT_TRUE(r.running(other));
    EXPECT_EQ(r.machine.openHandles(), 0);
}

// Start-up could not list the processes twice over: the empty allow list
// once made the first pass, switched on from the menu, end every program.
TEST(LoopClear, AnAllowListStartUpCouldNotFillEndsNothingUntilAWholeListingFillsIt) {
    const sim::FaultPlan unlisted{sim::CallFamily::Processes, 1, false, 2, 0};  // the snapshot, twice
    for (bool byRefresh : {false, true}) {
        Restrict r(Family::NT, unlisted);
        const auto late = r.machine.addProcess("late.exe");
        r.application.answerDialog(std::string("C:\\Apps\\new.exe"));
        r.w.restriction.Button8.userClick();  // one line added fills nothing
        r.w.N1.userClick();
        r.runFor(3500);
        EXPECT_EQ(r.machine.runningProcesses().size(), 3u);
        EXPECT_EQ(r.application.messages().size(), 2u) << "the walk's error, then why, once";
        r.w.N1.userClick();
        if (byRefresh) {  // the allow list parked is filled all the same
            r.w.restriction.RadioGroup2.userSelect(1);
            r.w.PageControl1.userSelect(0);
            r.w.process.BtnRefresh.userClick();
            r.w.PageControl1.userSelect(2);
            r.w.restriction.RadioGroup2.userSelect(0);
            EXPECT_EQ(lastOf(r.w.restriction.List3.items()), "NEW.EXE") << "the user's line stays";
        } else {
            r.w.restriction.Button10.userClick();
        }
        const auto later = r.machine.addProcess("later.exe");
        r.w.N1.userClick();
        r.runFor(1100);
        EXPECT_TRUE(r.running(late) && r.running(r.self));
        EXPECT_FALSE(r.running(later));
    }
}

TEST(LoopClear, NtForbidModeEndsEveryListedProcessInOnePass) {
    Restrict r;
    const auto game = r.machine.addProcess("game.exe");
    const auto game2 = r.machine.addProcess("game.exe");
    r.w.restriction.RadioGroup2.userSelect(1);
    r.loopClearOn();
    r.runFor(1000);
    EXPECT_EQ(r.machine.runningProcesses().size(), 4u) << "an empty forbid list ends nothing";

    r.w.restriction.SpeedButton1.userClick();
    r.w.restriction.List3.setItems({"GAME.EXE", "game.exe"});
    r.loopClearOn();
    const auto snaps = r.machine.countCalls("CreateToolhelp32Snapshot");
    r.runFor(1000);
    EXPECT_FALSE(r.running(game) || r.running(game2));
    EXPECT_TRUE(r.running(r.self) && r.running(r.editor));
    // The pass's snapshot and one check before ending: the module names of
    // processes seen before come from the cache.
    EXPECT_EQ(r.machine.countCalls("CreateToolhelp32Snapshot") - snaps, 2u);
}

TEST(LoopClear, NinetyFiveFamilyEndsByNameAndForbidModeTakesNoListOfItsOwn) {
    Restrict r(Family::Win9x);
    const auto tool = r.machine.addProcess("C:\\APPS\\TOOL.EXE");
    const auto tool2 = r.machine.addProcess("c:\\apps\\tool.exe");
    r.loopClearOn();
    r.runFor(1000);
    EXPECT_FALSE(r.running(tool) || r.running(tool2)) << "every process of an unlisted name";
    EXPECT_TRUE(r.running(r.self) && r.running(r.editor));
    EXPECT_TRUE(r.w.restriction.LoopSnapshot.empty());

    r.w.restriction.SpeedButton1.userClick();
    r.w.restriction.RadioGroup2.userSelect(1);
    r.w.restriction.List3.setItems({"c:\\apps\\editor.exe"});  // 9x ends by name ignoring case
    const V hidden = r.w.restriction.ListHide.items();
    r.loopClearOn();
    const auto snaps = r.machine.countCalls("CreateToolhelp32Snapshot");
    r.runFor(1000);
    EXPECT_FALSE(r.running(r.editor));
    EXPECT_TRUE(r.running(r.self));
    EXPECT_EQ(r.w.restriction.ListHide.items(), hidden);
    EXPECT_EQ(r.machine.countCalls("CreateToolhelp32Snapshot") - snaps, 1u);
}

// An error box may stay open for hours with the window in the notification
// area: the passes go on meanwhile, and a failing one adds no second box.
TEST(LoopClear, PassesGoOnWhileAnErrorBoxIsOpenAndAddNoSecondBox) {
    Restrict r;
    r.application.listBoxCapacity = 1;  // the pass's own list cannot take the processes
    std::uint32_t late = 0;
    bool endedWhileOpen = false;
    std::size_t boxesWhileOpen = 0;
    r.application.whileBoxOpen = [&] {
        const auto before = r.application.messages().size();
        r.runFor(3500);
        r.application.listBoxCapacity = 0;
        late = r.machine.addProcess("late.exe");
        r.runFor(1500);
        endedWhileOpen = !r.running(late);
        boxesWhileOpen = r.application.messages().size() - before;
    };
    r.loopClearOn();
    r.runFor(1000);
    EXPECT_EQ(r.application.errors().size(), 1u);
    EXPECT_EQ(boxesWhileOpen, 0u);
    EXPECT_TRUE(endedWhileOpen) << "the pass waited for the box to close";
    EXPECT_TRUE(r.running(r.editor) && r.running(r.self));
    EXPECT_TRUE(r.w.restriction.Timer1.enabled());

    r.application.whileBoxOpen = nullptr;
    r.application.listBoxCapacity = 1;
    r.runFor(1000);
    EXPECT_EQ(r.application.errors().size(), 2u) << "once it is closed, the next error is shown";
}

TEST(LoopClear, TheIntervalRestartsTheCountdownAndTypingChangesNothing) {
    Restrict r;
    r.w.PageControl1.userSelect(4);
    r.w.programSettings.generalSettings.Edit4.userType("9\b");
    r.w.programSettings.generalSettings.Edit4.userType(std::string(1, '\b'));
    EXPECT_EQ(r.w.programSettings.generalSettings.Edit4.text(), "1");
    const auto later = r.machine.addProcess("later.exe");
    r.w.restriction.SpeedButton1.setDown(true);
    r.w.restriction.SpeedButton1Click();
    r.runFor(800);
    r.w.programSettings.generalSettings.UpDown1.userClickUp();
    EXPECT_EQ(r.w.programSettings.generalSettings.Edit4.text(), "2");
    EXPECT_EQ(r.w.restriction.Timer1.interval(), 2000u);
    r.runFor(1900);
    EXPECT_TRUE(r.running(later)) << "the countdown started again at the change";
    r.runFor(200);
    EXPECT_FALSE(r.running(later));
}

TEST(LoopClear, BackgroundMonitoringHidesIntoTheIconAndKeepsThePassRunning) {
    Restrict r;
    r.loopClearOn();
    r.w.restriction.Button11.userClick();
    EXPECT_FALSE(r.w.visible());
    EXPECT_EQ(r.machine.trayIcons().size(), 1u);
    const auto later = r.machine.addProcess("later.exe");
    r.runFor(1100);
    EXPECT_FALSE(r.running(later));
}

// Catches a 9x pass that ends by entry, a stale entry ended, or a handle left open.
TEST(LoopClear, HiddenListAndLoopSnapshotForThePeriodicPass) {
    PageFixture nt;
    nt.machine.addProcess("[System Process]");
    const auto a = nt.machine.addProcess("a.exe", "C:\\WINDOWS\\a.exe");
    restriction::RestrictPage page(nt.host, nt.pages, nt.form);
    page.RefreshHideList();
    EXPECT_EQ(page.ListHide.items(), (V{"[SYSTEM PROCESS]", "A.EXE"}));
    ASSERT_EQ(page.LoopSnapshot.size(), 2u);
    EXPECT_NE(page.KillTaskB(1), 0);
    EXPECT_FALSE(nt.machine.process(a)->running);
    EXPECT_EQ(page.KillTaskB(7), 0);
    EXPECT_EQ(nt.machine.openHandles(), 0);

    PageFixture w9x(Family::Win9x);
    w9x.machine.addProcess("C:\\WINDOWS\\a.exe", "C:\\WINDOWS\\a.exe");
    restriction::RestrictPage v(w9x.host, w9x.pages, w9x.form);
    v.LoopSnapshot = {{"kept", 99}};
    v.RefreshHideList();
    EXPECT_EQ(lastOf(v.ListHide.items()), "C:\\WINDOWS\\A.EXE");
    EXPECT_EQ(v.LoopSnapshot.size(), 1u) << "the 9x pass ends by name, not by entry";
}

}  // namespace
