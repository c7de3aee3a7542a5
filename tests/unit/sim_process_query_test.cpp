// The exact Toolhelp and process calls of every routine that walks the
// processes, as the simulated machine records them: which calls, in which
// order, with which arguments. Every walk is read to its end before anything
// acts on it; these keep the calls as they are.
#include <gtest/gtest.h>

#include "platform/sim/sim_os.h"
#include "common/kill.h"
#include "common/listing.h"

using sim::Family;
using sim::SimOs;
using Trace = std::vector<std::string>;

namespace {

Trace trace(const SimOs& os) {
    Trace out;
    for (const sim::Call& c : os.calls()) out.push_back(c.name + " " + c.args);
    return out;
}

// Ends one process the moment Toolhelp has reported it, so that its module
// query comes too late, as when a program exits during a refresh.
class EndsDuringWalk : public SimOs {
public:
    using SimOs::SimOs;
    std::uint32_t victim = 0;
    platform::Status process32Next(platform::Handle snapshot, platform::ProcessEntry& entry) override {
        const platform::Status ok = SimOs::process32Next(snapshot, entry);
        if (ok && entry.processId == victim) process(victim)->running = false;
        return ok;
    }
};

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

TEST(SimProcessWalks, NtListingTakesOneModuleSnapshotPerEntryAfterTheFirst) {
    EndsDuringWalk os(Family::NT);
    sim::Process idle;
    idle.exeFile = "[System Process]";
    idle.modulesUnreadable = true;
    os.insertProcess(idle);                                             // id 0
    os.addProcess("a.exe", "C:\\A\\a.exe");                             // 4
    os.process(os.addProcess("b.exe", "C:\\B\\b.exe"))->modulesUnreadable = true;  // 5
    os.victim = os.addProcess("gone.exe", "C:\\G\\gone.exe");           // 6
    os.clearCalls();

    auto l = common::listProcesses(os, true);
    EXPECT_EQ(l.lines, (Trace{"[SYSTEM PROCESS]", "A.EXE", "B.EXE", "GONE.EXE"}));
    EXPECT_EQ(trace(os), (Trace{
                             "CreateToolhelp32Snapshot flags=2, pid=0",
                             "Process32First snapshot=0x100",
                             "Process32Next snapshot=0x100",
                             "Process32Next snapshot=0x100",
                             "Process32Next snapshot=0x100",
                             "Process32Next snapshot=0x100",
                             "CloseHandle handle=0x100",
                             "CreateToolhelp32Snapshot flags=8, pid=4",
                             "Module32First snapshot=0x104",
                             "CloseHandle handle=0x104",
                             "CreateToolhelp32Snapshot flags=8, pid=5",
                             "Module32First snapshot=0x108",
                             "CloseHandle handle=0x108",
                             "CreateToolhelp32Snapshot flags=8, pid=6",  // ended: no snapshot
                         }));
    EXPECT_EQ(os.openHandles(), 0);
}

TEST(SimProcessWalks, NineXListingAndStartUpNamesWalkOnlyTheProcessSnapshot) {
    SimOs os(Family::Win9x);
    os.addProcess("C:\\WINDOWS\\EXPLORER.EXE");
    os.addProcess("C:\\WINDOWS\\NOTEPAD.EXE");
    const Trace walk{
        "CreateToolhelp32Snapshot flags=2, pid=0",
        "Process32First snapshot=0x100",
        "Process32Next snapshot=0x100",
        "Process32Next snapshot=0x100",
        "CloseHandle handle=0x100",
    };
    os.clearCalls();
    common::listProcesses(os, false);
    EXPECT_EQ(trace(os), walk);

}

TEST(SimProcessWalks, EndingByNameOpensEachMatchAfterTheWalk) {
    SimOs os(Family::NT);
    auto a = os.addProcess("note.exe");                                   // 4
    os.addProcess("calc.exe");                                            // 5
    os.process(os.addProcess("NOTE.EXE"))->cannotOpen = true;             // 6
    os.clearCalls();

    EXPECT_EQ(common::killByName(os, "Note.exe"), 0);  // the last match could not be opened
    EXPECT_FALSE(os.process(a)->running);
    EXPECT_EQ(trace(os), (Trace{
                             "CreateToolhelp32Snapshot flags=2, pid=0",
                             "Process32First snapshot=0x100",
                             "Process32Next snapshot=0x100",
                             "Process32Next snapshot=0x100",
                             "Process32Next snapshot=0x100",
                             "CloseHandle handle=0x100",
                             "OpenProcess access=0x1, inherit=0, pid=4",
                             "TerminateProcess handle=0x104, pid=4, code=0",
                             "CloseHandle handle=0x104",
                             "OpenProcess access=0x1, inherit=0, pid=6",
                         }));
    EXPECT_EQ(os.openHandles(), 0);
}

TEST(SimProcessWalks, EndingAnEntryHandsOnTheReportedCode) {
    SimOs os(Family::NT);
    auto a = os.addProcess("a.exe");
    os.clearCalls();
    EXPECT_NE(common::killEntry(os, {{"a.exe", a}}, 0), 0);
    // Opened first, so its id cannot go to another program before the fresh
    // snapshot says it is still the entry's (checking first left a gap).
    EXPECT_EQ(trace(os), (Trace{
                             "OpenProcess access=0x1F0FFF, inherit=1, pid=4",
                             "CreateToolhelp32Snapshot flags=2, pid=0",
                             "Process32First snapshot=0x104",
                             "Process32Next snapshot=0x104",
                             "CloseHandle handle=0x104",
                             "GetExitCodeProcess handle=0x100, pid=4",
                             "TerminateProcess handle=0x100, pid=4, code=259",
                             "CloseHandle handle=0x100",
                         }));
}

TEST(SimProcessWalks, AnEntryWhoseIdWentToAnotherProgramEndsNothing) {
    SimOs os(Family::NT);
    const auto old = os.addProcess("old.exe");
    const common::ProcessSnapshot snap{{"old.exe", old}};
    os.process(old)->running = false;
    const auto editor = os.addProcess("editor.exe", "", old);
    ASSERT_EQ(editor, old);
    os.clearCalls();
    EXPECT_EQ(common::killEntry(os, snap, 0), 0);
    EXPECT_TRUE(os.process(editor)->running);
    EXPECT_EQ(os.countCalls("TerminateProcess"), 0u);
    EXPECT_EQ(os.openHandles(), 0);
    // An id no longer running at all ends nothing either.
    os.process(editor)->running = false;
    EXPECT_EQ(common::killEntry(os, snap, 0), 0);
}

TEST(SimProcessWalks, WithoutToolhelpEveryWalkStopsAtTheSnapshot) {
    SimOs os(Family::NT);
    os.addProcess("a.exe");
    os.setToolhelpAvailable(false);
    os.clearCalls();
    common::listProcesses(os, true);
    common::listHidden(os, true);
    common::killByName(os, "a.exe");
    EXPECT_EQ(trace(os), Trace(3, "CreateToolhelp32Snapshot flags=2, pid=0"));
}

TEST(SimProcessWalks, AnExceptionPassingThroughAWalkClosesEveryHandleItOpened) {
    Raises os(Family::NT);
    os.addProcess("[System Process]");
    os.addProcess("a.exe", "C:\\A\\a.exe");
    os.addProcess("b.exe", "C:\\B\\b.exe");

    os.inModules = true;
    EXPECT_THROW(common::listProcesses(os, true), std::bad_alloc);
    EXPECT_EQ(os.openHandles(), 0) << "module or process snapshot left open";
    os.inModules = false;

    os.inNext = true;
    EXPECT_THROW(common::listProcesses(os, false), std::bad_alloc);
    EXPECT_EQ(os.openHandles(), 0);
    os.inNext = false;

    // A program whose end runs code that fails, while ending by name and by
    // entry hold a process handle.
    struct Refused {};
    os.onTerminate([](SimOs&, const sim::Process&) { throw Refused{}; });
    auto l = common::listProcesses(os, true);
    os.clearCalls();
    EXPECT_THROW(common::killByName(os, "a.exe"), Refused);
    EXPECT_EQ(os.openHandles(), 0);
    EXPECT_EQ(trace(os).back(), "CloseHandle handle=0x11C") << "the process handle";
    EXPECT_THROW(common::killEntry(os, l.snapshot, 2), Refused);
    EXPECT_EQ(os.openHandles(), 0);
}
