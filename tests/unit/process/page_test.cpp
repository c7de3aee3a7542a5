// The process page driven like a user would, on the simulated machine with
// the in-memory window.
#include <gtest/gtest.h>

#include <algorithm>

#include "app_fixture.h"
#include "common/normal_list.h"
#include "process/page.h"

namespace {

using sim::Family;
using V = std::vector<std::string>;
const std::string kMarker = common::kNormalMarker;

// An NT machine with the idle process first, then the given programs.
struct Page : AppFixture {
    explicit Page(Family f = Family::NT) : AppFixture(f) {
        machine.addProcess(f == Family::NT ? "[System Process]" : "C:\\WINDOWS\\SYSTEM\\KERNEL32.DLL");
    }
    std::uint32_t add(const std::string& file) {
        const std::string path = "C:\\WINDOWS\\" + file;
        return machine.addProcess(machine.family() == Family::NT ? file : path, path);
    }
    bool running(std::uint32_t id) {
        auto* p = machine.process(id);
        return p && p->running;
    }
    // Process snapshots only; module snapshots are part of one refresh.
    int snapshots() {
        int n = 0;
        for (const auto& c : machine.calls())
            n += c.name == "CreateToolhelp32Snapshot" && c.args.rfind("flags=2,", 0) == 0;
        return n;
    }
    std::vector<bool> checks() {
        std::vector<bool> r;
        for (int i = 0; i < form->process.ChkList1.count(); ++i) r.push_back(form->process.ChkList1.checked(i));
        return r;
    }
    void multipleMode() { form->process.RadioGroup1.userSelect(1); }
};

TEST(ProcessPage, StartUpFillsBothListsPairedWithTheSnapshotAndCounts) {
    Page p;
    auto a = p.add("notepad.exe");
    auto b = p.add("notepad.exe");
    TfrmMain& w = p.start();
    EXPECT_EQ(w.process.List1.items(), (V{"[SYSTEM PROCESS]", "NOTEPAD.EXE", "NOTEPAD.EXE"}));
    EXPECT_EQ(w.process.ChkList1.items(), w.process.List1.items());
    ASSERT_EQ(w.process.PageSnapshot.size(), 3u);
    EXPECT_EQ(w.process.PageSnapshot[1].id, a);
    EXPECT_EQ(w.process.PageSnapshot[2].id, b);
    EXPECT_EQ(w.process.Label1.caption(), "当前系统中共有3个进程");
    EXPECT_FALSE(w.process.ChkList1.visible());
    EXPECT_EQ(p.machine.openHandles(), 0);
}

TEST(ProcessPage, NoToolhelpGivesAnEmptyPageCountingZero) {
    Page p;
    p.machine.setToolhelpAvailable(false);
    TfrmMain& w = p.start();
    EXPECT_EQ(w.process.List1.count(), 0);
    EXPECT_TRUE(w.process.PageSnapshot.empty());
    EXPECT_EQ(w.process.Label1.caption(), "当前系统中共有0个进程");
}

TEST(ProcessPage, SingleModeWithoutARealSelectionDoesNothingAtAll) {
    Page p;
    p.add("a.exe");
    TfrmMain& w = p.start();
    p.machine.clearCalls();
    const auto t0 = p.machine.getTickCount();
    w.process.BtnKill.userClick();  // nothing selected
    w.process.List1.userSelect(1);
    w.programSettings.normalPrograms.ListApp.add("A.EXE");
    w.process.BtnNormalAppShow.userClick();
    ASSERT_EQ(w.process.List1.item(1), kMarker);
    w.process.BtnKill.userClick();  // a marker selected
    EXPECT_EQ(p.snapshots(), 0) << "not even a refresh";
    EXPECT_EQ(p.machine.countCalls("OpenProcess"), 0u);
    EXPECT_EQ(p.machine.getTickCount(), t0);
}

TEST(ProcessPage, SingleModeEndsTheSelectedCopyOnlyWaitsAndRefreshes) {
    Page p;
    auto a = p.add("notepad.exe");
    auto b = p.add("notepad.exe");
    TfrmMain& w = p.start();
    w.process.List1.userSelect(2);
    const auto t0 = p.machine.getTickCount();
    w.process.BtnKill.userClick();
    EXPECT_TRUE(p.running(a));
    EXPECT_FALSE(p.running(b));
    EXPECT_EQ(p.machine.process(b)->exitCode, platform::kStillActive);
    EXPECT_GE(p.machine.getTickCount() - t0, 300u);
    EXPECT_EQ(w.process.List1.count(), 2);
    EXPECT_EQ(w.process.Label1.caption(), "当前系统中共有2个进程");
    EXPECT_EQ(p.machine.openHandles(), 0);
}

// The line's process ended and its id went to another program before the
// click: the other program must live.
TEST(ProcessPage, ALineWhoseIdWentToAnotherProgramEndsNothing) {
    Page p;
    const auto old = p.add("old.exe");
    TfrmMain& w = p.start();
    p.machine.process(old)->running = false;
    const auto editor = p.machine.addProcess("editor.exe", "C:\\WINDOWS\\editor.exe", old);
    w.process.List1.userSelect(1);
    ASSERT_EQ(w.process.List1.items()[1], "OLD.EXE");
    w.process.BtnKill.userClick();
    EXPECT_TRUE(p.running(editor));
    EXPECT_EQ(w.process.List1.items()[1], "EDITOR.EXE") << "the list was still refreshed";
    EXPECT_EQ(p.machine.openHandles(), 0);
}

// Closed in the middle of a long wait (many checked lines): the wait ends at
// once instead of keeping a closed program alive.
TEST(ProcessPage, ClosingDuringTheWaitEndsIt) {
    Page p;
    for (int i = 0; i < 200; ++i) p.add("many.exe");
    TfrmMain& w = p.start();
    w.process.RadioGroup1.userSelect(1);
    for (int i = 1; i <= 200; ++i) w.process.ChkList1.userToggle(i);
    p.machine.after(500, [&](sim::SimOs&) { w.userClose(); });
    const auto t0 = p.machine.getTickCount();
    w.process.BtnKill.userClick();
    EXPECT_TRUE(p.application.terminated());
    EXPECT_LT(p.machine.getTickCount() - t0, 2000u) << "the 30 s wait went on after the close";
}

TEST(ProcessPage, MultipleModeEndsCheckedLinesButNeverAMarker) {
    Page p;
    auto a = p.add("a.exe");
    auto b = p.add("b.exe");
    auto c = p.add("c.exe");
    p.add("d.exe");
    TfrmMain& w = p.start();
    w.programSettings.normalPrograms.ListApp.add("B.EXE");
    p.multipleMode();
    EXPECT_TRUE(w.process.ChkList1.visible());
    w.process.BtnNormalAppShow.userClick();
    for (int i : {1, 2, 3}) w.process.ChkList1.userToggle(i);

    p.machine.clearCalls();
    const auto t0 = p.machine.getTickCount();
    w.process.BtnKill.userClick();
    const auto waited = p.machine.getTickCount() - t0;
    // Every checked line against one snapshot, before any can be restarted;
    // then the one of the refresh.
    EXPECT_EQ(p.snapshots(), 2);
    EXPECT_FALSE(p.running(a));
    EXPECT_TRUE(p.running(b));
    EXPECT_FALSE(p.running(c));
    EXPECT_GE(waited, 300u);
    EXPECT_LE(waited, 300u + p.application.stepMs);
    EXPECT_EQ(w.process.ChkList1.items(), (V{"[SYSTEM PROCESS]", "B.EXE", "D.EXE"}));
    EXPECT_EQ(p.checks(), (std::vector<bool>{false, false, false}));
    EXPECT_EQ(p.machine.openHandles(), 0);
}

TEST(ProcessPage, MultipleModeWithNothingCheckedStillRefreshes) {
    Page p;
    auto a = p.add("a.exe");
    TfrmMain& w = p.start();
    p.multipleMode();
    p.machine.clearCalls();
    const auto t0 = p.machine.getTickCount();
    w.process.BtnKill.userClick();
    EXPECT_TRUE(p.running(a));
    EXPECT_EQ(p.snapshots(), 1);
    EXPECT_LE(p.machine.getTickCount() - t0, p.application.stepMs);
}

// Two programs that each start the other again a moment after it ended: the
// partner notices as soon as the clock moves, that is inside Delay.
struct Watchers {
    Watchers()
        : application({[this] { return machine.getTickCount(); },
                       [this](std::uint32_t ms) {
                           machine.advance(ms);
                           restartEnded();
                       }}) {
        machine.addProcess("[System Process]");
        machine.addProcess("a.exe", "C:\\W\\a.exe");
        machine.addProcess("b.exe", "C:\\W\\b.exe");
        machine.onTerminate([this](sim::SimOs&, const sim::Process& gone) {
            ended.push_back(gone.exeFile);
        });
        form = std::make_unique<TfrmMain>(application, machine);
        form->start();
    }
    bool runs(const std::string& exe) {
        auto all = machine.runningProcesses();
        return std::any_of(all.begin(), all.end(), [&](auto& q) { return q.exeFile == exe; });
    }
    void restartEnded() {
        const V pending = std::move(ended);
        ended.clear();
        for (const auto& name : pending) {
            const std::string partner = name == "a.exe" ? "b.exe" : "a.exe";
            if (runs(partner)) machine.addProcess(name, "C:\\W\\" + name);
        }
    }
    int line(const std::string& text) {
        auto items = form->process.List1.items();
        return static_cast<int>(std::find(items.begin(), items.end(), text) - items.begin());
    }
    sim::SimOs machine{Family::NT};
    ui::headless::HeadlessApplication application;
    std::unique_ptr<TfrmMain> form;
    V ended;
};

TEST(ProcessPage, ProgramsRestartingEachOtherDieTogetherOnlyInMultipleMode) {
    Watchers one;
    TfrmMain& w1 = *one.form;
    for (const char* exe : {"A.EXE", "B.EXE"}) {
        w1.process.List1.userSelect(one.line(exe));
        w1.process.BtnKill.userClick();
    }
    EXPECT_TRUE(one.runs("a.exe") && one.runs("b.exe")) << "each was started again by the other";
    EXPECT_EQ(w1.process.List1.count(), 3);

    Watchers both;
    TfrmMain& w2 = *both.form;
    w2.process.RadioGroup1.userSelect(1);
    w2.process.ChkList1.userToggle(1);
    w2.process.ChkList1.userToggle(2);
    w2.process.BtnKill.userClick();
    EXPECT_FALSE(both.runs("a.exe") || both.runs("b.exe"));
    EXPECT_EQ(w2.process.List1.items(), V{"[SYSTEM PROCESS]"});
}

TEST(ProcessPage, ModeSwitchRebuildsBothListsAndShowsTheRightOne) {
    Page p;
    p.add("a.exe");
    TfrmMain& w = p.start();
    w.programSettings.normalPrograms.ListApp.add("A.EXE");
    w.process.BtnNormalAppShow.userClick();
    ASSERT_EQ(w.process.List1.item(1), kMarker);
    p.multipleMode();
    EXPECT_TRUE(w.process.ChkList1.visible());
    EXPECT_EQ(w.process.List1.item(1), "A.EXE");
    w.process.ChkList1.userToggle(1);
    w.process.RadioGroup1.userSelect(0);
    EXPECT_FALSE(w.process.ChkList1.visible());
    EXPECT_TRUE(w.process.List1.visible());
    EXPECT_EQ(p.checks(), (std::vector<bool>{false, false}));

    // A refresh that raises once left the other mode's list in view, so
    // "结束进程" read the hidden one and ended nothing.
    p.machine.setFaultPlan({sim::CallFamily::Processes, 1, false, 2, 0});
    p.multipleMode();
    EXPECT_EQ(p.application.errors().size(), 1u);
    EXPECT_TRUE(w.process.ChkList1.visible());
}

TEST(ProcessPage, MarkingInMultipleModeChangesTheCheckListOnlyAndKeepsTicks) {
    Page p;
    p.add("a.exe");
    p.add("b.exe");
    p.add("a.exe");
    TfrmMain& w = p.start();
    w.programSettings.normalPrograms.ListApp.setItems({"C:\\WINDOWS\\A.EXE", "a.exe", "A.EXE"});
    p.multipleMode();
    w.process.ChkList1.userToggle(1);
    w.process.BtnNormalAppShow.userClick();
    EXPECT_EQ(w.process.ChkList1.items(), (V{"[SYSTEM PROCESS]", kMarker, "B.EXE", kMarker}));
    EXPECT_EQ(w.process.List1.items(), (V{"[SYSTEM PROCESS]", "A.EXE", "B.EXE", "A.EXE"}));
    EXPECT_EQ(p.checks(), (std::vector<bool>{false, true, false, false}));
    EXPECT_EQ(w.process.Label1.caption(), "当前系统中共有4个进程");
}

TEST(ProcessPage, ClickingALineShowsItAsHintAndGuardsTheAddButton) {
    Page p;
    p.add("a.exe");
    TfrmMain& w = p.start();
    EXPECT_TRUE(w.process.BtnAddNormalAppList.enabled());
    w.process.BtnAddNormalAppList.userClick();  // nothing selected: nothing happens
    EXPECT_EQ(w.programSettings.normalPrograms.ListApp.count(), 0);
    EXPECT_TRUE(p.application.messages().empty());

    w.process.List1.userSelect(1);
    EXPECT_EQ(w.process.List1.hint(), "A.EXE");
    w.process.BtnAddNormalAppList.userClick();
    EXPECT_EQ(w.programSettings.normalPrograms.ListApp.items(), V{"A.EXE"});
    EXPECT_EQ(w.process.List1.item(1), kMarker);
    w.process.List1.userSelect(1);
    EXPECT_EQ(w.process.List1.hint(), kMarker);
    EXPECT_FALSE(w.process.BtnAddNormalAppList.enabled());
    w.process.List1.userSelect(0);
    EXPECT_TRUE(w.process.BtnAddNormalAppList.enabled());

    p.multipleMode();
    w.process.ChkList1.userSelect(1);
    EXPECT_EQ(w.process.ChkList1.hint(), "A.EXE");
    w.process.BtnAddNormalAppList.userClick();
    ASSERT_EQ(p.application.messages().size(), 1u);
    EXPECT_EQ(p.application.messages()[0].text, "该项已存在于正常程序列表中！");
    EXPECT_EQ(p.application.messages()[0].caption, "提示");
    EXPECT_EQ(w.process.ChkList1.item(1), "A.EXE") << "a refused line stays unmarked";
    EXPECT_EQ(w.programSettings.normalPrograms.ListApp.count(), 1);
}

TEST(ProcessPage, SavingWritesList1AsItStandsWithCrLf) {
    Page p(Family::Win9x);
    p.add("notepad.exe");
    TfrmMain& w = p.start();
    w.programSettings.normalPrograms.ListApp.add("C:\\WINDOWS\\NOTEPAD.EXE");
    w.process.BtnNormalAppShow.userClick();
    p.application.answerDialog("C:\\out.txt");
    w.process.BtnSave.userClick();
    ASSERT_EQ(p.machine.bytesOf("C:\\out.txt"),
              "C:\\WINDOWS\\SYSTEM\\KERNEL32.DLL\r\n" + kMarker + "\r\n");
    ASSERT_EQ(p.application.dialogs().size(), 1u);
    EXPECT_TRUE(p.application.dialogs()[0].save);

    p.machine.file("C:\\out.txt")->unwritable = true;
    p.application.answerDialog("C:\\out.txt");
    w.process.BtnSave.userClick();
    EXPECT_EQ(p.application.errors().size(), 1u) << "the system's reason in the error box";
    p.application.answerDialog(std::nullopt);
    w.process.BtnSave.userClick();
    EXPECT_EQ(p.machine.countCalls("WriteFile"), 2u);
}

// Catches KillTask comparing case, or a 9x line taken as a bare name.
TEST(ProcessPage, KillTaskEndsA9xProgramByItsPathInAnyCase) {
    Page w9x(Family::Win9x);
    const auto a = w9x.add("a.exe");
    TfrmMain& v = w9x.start();
    EXPECT_NE(v.process.KillTask("c:\\windows\\a.exe"), 0);
    EXPECT_FALSE(w9x.running(a));
}

}  // namespace
