// The process page's rules on the simulated machine, both platform families.
#include <gtest/gtest.h>

#include "platform/sim/sim_os.h"
#include "common/kill.h"
#include "process/kill_plan.h"
#include "common/listing.h"

using namespace common;
using namespace process;
using sim::Family;
using sim::SimOs;
using V = std::vector<std::string>;

namespace {

std::vector<std::uint32_t> ids(const ProcessSnapshot& s) {
    std::vector<std::uint32_t> r;
    for (const auto& p : s) r.push_back(p.id);
    return r;
}

}  // namespace

TEST(ProcessListing, NtFirstLineIsOwnNameOthersModuleFileNames) {
    SimOs os(Family::NT);
    // Catches a first line read from its module, and other lines read from
    // the entry, whose name NT may cut short.
    auto idle = os.addProcess("[System Process]", "C:\\WINDOWS\\system32\\ntoskrnl.exe");
    auto ex = os.addProcess("averylongprogra", "C:\\APPS\\AVeryLongProgramName.exe");
    auto np = os.addProcess("notepad.exe", "C:\\WINDOWS\\system32\\Notepad.exe");

    auto l = listProcesses(os, true);
    EXPECT_EQ(l.lines, (V{"[SYSTEM PROCESS]", "AVERYLONGPROGRAMNAME.EXE", "NOTEPAD.EXE"}));
    EXPECT_EQ(ids(l.snapshot), (std::vector<std::uint32_t>{idle, ex, np}));
    // Records keep the name exactly as reported.
    EXPECT_EQ(l.snapshot[2].name, "notepad.exe");
    EXPECT_EQ(os.openHandles(), 0);
}

TEST(ProcessListing, NtHiddenListReducesTheFirstLineToItsFileName) {
    SimOs os(Family::NT);
    os.addProcess("\\SystemRoot\\idle.exe");
    os.addProcess("a.exe", "C:\\A\\a.exe");
    EXPECT_EQ(listProcesses(os, true).lines, (V{"\\SYSTEMROOT\\IDLE.EXE", "A.EXE"}));
    EXPECT_EQ(listHidden(os, true).lines, (V{"IDLE.EXE", "A.EXE"}));
    EXPECT_EQ(os.openHandles(), 0);
}

TEST(ProcessListing, NineXLinesAreUpperCasedFullPaths) {
    SimOs os(Family::Win9x);
    os.addProcess("C:\\WINDOWS\\explorer.exe");
    os.addProcess("C:\\Program Files\\记事本.exe");
    // A trail byte in a..z is upper-cased too: the text is not parsed as GBK.
    os.addProcess("C:\\\x81\x61x.exe");
    V want{"C:\\WINDOWS\\EXPLORER.EXE", "C:\\PROGRAM FILES\\记事本.EXE", "C:\\\x81\x41X.EXE"};
    EXPECT_EQ(listProcesses(os, false).lines, want);
    EXPECT_EQ(listHidden(os, false).lines, want);
    EXPECT_EQ(os.openHandles(), 0);
}

TEST(ProcessListing, UnreadableModulesShowTheProcessOwnNameNeverAStalePath) {
    SimOs os(Family::NT);
    os.addProcess("[System Process]");
    os.addProcess("good.exe", "C:\\APPS\\good.exe");
    auto bad = os.addProcess("\\??\\C:\\WINDOWS\\smss.exe", "C:\\WINDOWS\\smss.exe");
    os.process(bad)->modulesUnreadable = true;
    auto bad2 = os.addProcess("svc.exe", "C:\\WINDOWS\\svc.exe");
    os.process(bad2)->modulesUnreadable = true;

    for (auto* fn : {&listProcesses, &listHidden}) {
        auto l = fn(os, true, nullptr);
        ASSERT_EQ(l.lines.size(), l.snapshot.size());
        EXPECT_EQ(l.lines[2], "SMSS.EXE");
        EXPECT_EQ(l.lines[3], "SVC.EXE");
        EXPECT_EQ(l.snapshot[2].id, bad);
        EXPECT_EQ(os.openHandles(), 0);
    }
}

TEST(ProcessListing, DuplicatesStayPairedWithTheirOwnIds) {
    SimOs os(Family::NT);
    os.addProcess("[System Process]");
    auto a = os.addProcess("notepad.exe", "C:\\W\\notepad.exe");
    auto b = os.addProcess("notepad.exe", "C:\\W\\notepad.exe");
    auto l = listProcesses(os, true);
    EXPECT_EQ(l.lines[1], l.lines[2]);
    EXPECT_EQ(l.snapshot[1].id, a);
    EXPECT_EQ(l.snapshot[2].id, b);
}

TEST(ProcessListing, CountTextAndNoToolhelp) {
    EXPECT_EQ(countText(3), "当前系统中共有3个进程");
    EXPECT_EQ(countText(120), "当前系统中共有120个进程");
    for (Family f : {Family::NT, Family::Win9x}) {
        SimOs os(f);
        os.addProcess("x.exe", "C:\\x.exe");
        os.setToolhelpAvailable(false);
        auto l = listProcesses(os, f == Family::NT);
        EXPECT_TRUE(l.lines.empty());
        EXPECT_TRUE(l.snapshot.empty());
        EXPECT_TRUE(listHidden(os, f == Family::NT).lines.empty());
        EXPECT_EQ(countText(l.lines.size()), "当前系统中共有0个进程");
        EXPECT_EQ(killByName(os, "x.exe"), 0);
        EXPECT_EQ(os.openHandles(), 0);
    }
}

TEST(ProcessKill, ByEntryLeavesStillActiveByNameLeavesZeroAndEndsEveryCopy) {
    SimOs os(Family::NT);
    os.addProcess("[System Process]");
    auto a = os.addProcess("notepad.exe", "C:\\W\\notepad.exe");
    auto b = os.addProcess("NotePad.EXE", "C:\\W\\notepad.exe");
    auto c = os.addProcess("calc.exe", "C:\\W\\calc.exe");
    auto l = listProcesses(os, true);

    EXPECT_NE(killEntry(os, l.snapshot, 3), 0);
    ASSERT_NE(os.process(c), nullptr);
    EXPECT_FALSE(os.process(c)->running);
    EXPECT_EQ(os.process(c)->exitCode, 259u) << "the code the process reported, not 0";
    // The record's id is kept after the process went away; it ends nothing now.
    EXPECT_EQ(l.snapshot[3].id, c);
    EXPECT_EQ(killEntry(os, l.snapshot, 3), 0);
    EXPECT_EQ(os.openHandles(), 0);

    EXPECT_NE(killByName(os, "NOTEPAD.exe"), 0);
    for (auto id : {a, b}) {
        auto* p = os.process(id);
        if (p) {
            EXPECT_FALSE(p->running);
            EXPECT_EQ(p->exitCode, 0u);
        }
    }
    EXPECT_EQ(os.openHandles(), 0);
    EXPECT_EQ(killByName(os, "notepad.exe"), 0);  // nothing left to match
}

TEST(ProcessKill, RightsAndInheritanceDifferByRoutine) {
    SimOs os(Family::NT);
    auto a = os.addProcess("a.exe", "C:\\a.exe");
    auto b = os.addProcess("b.exe", "C:\\b.exe");
    auto l = listProcesses(os, true);
    os.clearCalls();
    killEntry(os, l.snapshot, 0);
    killByName(os, "B.exe");
    V opens;
    for (const auto& c : os.calls())
        if (c.name == "OpenProcess") opens.push_back(c.args);
    EXPECT_EQ(opens, (V{"access=0x1F0FFF, inherit=1, pid=" + std::to_string(a),
                        "access=0x1, inherit=0, pid=" + std::to_string(b)}));
}

TEST(ProcessKill, NineXNamesAreWholePathsNotFileNames) {
    SimOs os(Family::Win9x);
    auto a = os.addProcess("C:\\WINDOWS\\NOTEPAD.EXE");
    EXPECT_EQ(killByName(os, "notepad.exe"), 0);
    EXPECT_TRUE(os.process(a)->running);
    EXPECT_NE(killByName(os, "c:\\windows\\notepad.exe"), 0);
    EXPECT_EQ(os.openHandles(), 0);
}

TEST(ProcessKill, FailuresGiveZeroAndLeakNothing) {
    SimOs os(Family::NT);
    auto idle = os.addProcess("[System Process]");
    os.process(idle)->cannotOpen = true;
    auto stuck = os.addProcess("stuck.exe", "C:\\stuck.exe");
    os.process(stuck)->cannotTerminate = true;
    auto l = listProcesses(os, true);

    EXPECT_EQ(killEntry(os, l.snapshot, 0), 0);
    EXPECT_EQ(killEntry(os, l.snapshot, 1), 0);
    EXPECT_EQ(killEntry(os, l.snapshot, -1), 0);
    EXPECT_EQ(killEntry(os, l.snapshot, 2), 0);
    EXPECT_EQ(killEntry(os, {}, 0), 0);
    EXPECT_EQ(killByName(os, "[system process]"), 0);
    EXPECT_EQ(killByName(os, "STUCK.EXE"), 0);
    EXPECT_TRUE(os.process(stuck)->running);
    // Catches a result taken from any match rather than the last one.
    auto ends = os.addProcess("note.exe");
    os.process(os.addProcess("NOTE.EXE"))->cannotOpen = true;
    EXPECT_EQ(killByName(os, "Note.exe"), 0);
    EXPECT_FALSE(os.process(ends)->running);
    EXPECT_EQ(os.openHandles(), 0);
}

namespace {

// Raises from inside a Toolhelp call, as a failing allocation would.
class Raises : public SimOs {
public:
    using SimOs::SimOs;
    bool inModules = false, inNext = false;
    platform::Status process32Next(platform::Handle snapshot, platform::ProcessEntry& entry) override {
        if (inNext) throw std::bad_alloc();
        return SimOs::process32Next(snapshot, entry);
    }
    platform::Status module32First(platform::Handle snapshot, platform::ModuleEntry& entry) override {
        if (inModules) throw std::bad_alloc();
        return SimOs::module32First(snapshot, entry);
    }
};

}  // namespace

TEST(ProcessKill, AnExceptionThroughAWalkOrAnEndLeavesNoHandleOpen) {
    Raises os(Family::NT);
    os.addProcess("[System Process]");
    os.addProcess("a.exe", "C:\\A\\a.exe");
    os.addProcess("b.exe", "C:\\B\\b.exe");

    os.inModules = true;
    EXPECT_THROW(listProcesses(os, true), std::bad_alloc);
    EXPECT_EQ(os.openHandles(), 0) << "module or process snapshot left open";
    os.inModules = false;

    os.inNext = true;
    EXPECT_THROW(listProcesses(os, false), std::bad_alloc);
    EXPECT_EQ(os.openHandles(), 0);
    os.inNext = false;

    // A program whose end runs code that fails, while ending by name and by
    // entry hold a process handle, and ending by name the snapshot too.
    struct Refused {};
    os.onTerminate([](SimOs&, const sim::Process&) { throw Refused{}; });
    auto l = listProcesses(os, true);
    EXPECT_THROW(killByName(os, "a.exe"), Refused);
    EXPECT_EQ(os.openHandles(), 0);
    EXPECT_THROW(killEntry(os, l.snapshot, 2), Refused);
    EXPECT_EQ(os.openHandles(), 0);
}
