// The simulated machine's faults and corner cases, which no real machine can
// be made to show on demand. Ordinary behaviour is proven by tests/contract on
// both machines.
#include <gtest/gtest.h>

#include "platform/files.h"
#include "platform/sim/sim_os.h"

using sim::Family;
using sim::SimOs;

namespace {

// The handle a call gave, kNoHandle when it failed.
platform::Handle snapshotOf(SimOs& os, std::uint32_t flags, std::uint32_t pid) {
    platform::Handle h = platform::kNoHandle;
    platform::ignore(os.createToolhelp32Snapshot(flags, pid, h), "no handle says it failed");
    return h;
}

platform::Handle opened(SimOs& os, std::uint32_t access, bool inherit, std::uint32_t pid) {
    platform::Handle h = platform::kNoHandle;
    platform::ignore(os.openProcess(access, inherit, pid, h), "no handle says it failed");
    return h;
}

platform::Handle moduleSnapshot(SimOs& os, std::uint32_t pid) {
    return snapshotOf(os, platform::Snapshot::Modules, pid);
}

}  // namespace

TEST(SimProcesses, InjectedFaultsFailTheCallsTheyNameAndLeakNoHandle) {
    SimOs os;
    auto locked = os.addProcess("locked.exe");
    os.process(locked)->cannotOpen = true;
    auto hidden = os.addProcess("hidden.exe");
    os.process(hidden)->modulesUnreadable = true;
    auto stuck = os.addProcess("stuck.exe");
    os.process(stuck)->cannotTerminate = true;

    EXPECT_EQ(opened(os, platform::ProcessAccess::All, true, locked), platform::kNoHandle);
    EXPECT_EQ(opened(os, platform::ProcessAccess::All, true, 999), platform::kNoHandle);
    EXPECT_EQ(moduleSnapshot(os, 999), platform::kNoHandle);

    platform::Handle snap = moduleSnapshot(os, hidden);
    ASSERT_NE(snap, platform::kNoHandle);
    platform::ModuleEntry m;
    EXPECT_FALSE(os.module32First(snap, m));
    EXPECT_EQ(m.exePath, "");
    EXPECT_TRUE(os.closeHandle(snap));

    platform::Handle h = opened(os, platform::ProcessAccess::All, false, stuck);
    EXPECT_FALSE(os.terminateProcess(h, 0));
    EXPECT_TRUE(os.process(stuck)->running);
    EXPECT_TRUE(os.closeHandle(h));

    // Rights matter: terminating needs ProcessAccess::Terminate, reading the exit
    // code needs query rights, which ProcessAccess::Terminate alone lacks.
    auto plain = os.addProcess("plain.exe");
    h = opened(os, platform::ProcessAccess::Terminate, false, plain);
    std::uint32_t code = 0;
    EXPECT_FALSE(os.getExitCodeProcess(h, code));
    EXPECT_TRUE(os.closeHandle(h));
    h = opened(os, 0x400, false, plain);  // PROCESS_QUERY_INFORMATION
    EXPECT_FALSE(os.terminateProcess(h, 0));
    EXPECT_TRUE(os.closeHandle(h));
    EXPECT_FALSE(os.closeHandle(h));

    os.setToolhelpAvailable(false);
    EXPECT_EQ(snapshotOf(os, platform::Snapshot::Processes, 0), platform::kNoHandle);
    EXPECT_EQ(os.openHandles(), 0);
}

TEST(SimProcesses, EndedProcessKeepsItsCodeAndAHandleStillReadsIt) {
    SimOs os;
    auto a = os.addProcess("a.exe");
    platform::Handle h = opened(os, platform::ProcessAccess::All, true, a);
    EXPECT_TRUE(os.terminateProcess(h, platform::kStillActive));
    // The code it was given, although that is the "still running" value.
    std::uint32_t code = 0;
    EXPECT_TRUE(os.getExitCodeProcess(h, code));
    EXPECT_EQ(code, platform::kStillActive);
    EXPECT_FALSE(os.terminateProcess(h, 1));  // already ended
    EXPECT_TRUE(os.closeHandle(h));
    ASSERT_NE(os.process(a), nullptr);
    EXPECT_FALSE(os.process(a)->running);
    EXPECT_TRUE(os.runningProcesses().empty());
    // The id may be given to a new program, which is then the one found.
    os.addProcess("new.exe", "", a);
    EXPECT_TRUE(os.process(a)->running);
    EXPECT_EQ(os.process(a)->exeFile, "new.exe");
    EXPECT_THROW(os.addProcess("twice.exe", "", a), std::invalid_argument);
}

namespace {

// Two programs that look after each other every 250 ms, like the helper's
// --partner mode: whoever finds the other gone starts it again.
void partners(SimOs& os, const std::string& a, const std::string& b) {
    os.onTerminate([a, b](SimOs& m, const sim::Process& gone) {
        if (gone.exeFile != a && gone.exeFile != b) return;
        std::string other = gone.exeFile == a ? b : a;
        std::string lost = gone.exeFile;
        m.after(250, [other, lost](SimOs& mm) {
            bool otherAlive = false, lostBack = false;
            for (auto& p : mm.runningProcesses()) {
                otherAlive |= p.exeFile == other;
                lostBack |= p.exeFile == lost;
            }
            if (otherAlive && !lostBack) mm.addProcess(lost);
        });
    });
}

void end(SimOs& os, std::uint32_t pid) {
    platform::Handle h = opened(os, platform::ProcessAccess::Terminate, false, pid);
    EXPECT_TRUE(os.terminateProcess(h, 0));
    EXPECT_TRUE(os.closeHandle(h));
}

std::vector<std::string> names(const SimOs& os) {
    std::vector<std::string> out;
    for (auto& p : os.runningProcesses()) out.push_back(p.exeFile);
    return out;
}

}  // namespace

TEST(SimProcesses, PartnersRestartEachOtherUnlessBothEndInOnePass) {
    SimOs os;
    auto a = os.addProcess("a.exe");
    auto b = os.addProcess("b.exe");
    partners(os, "a.exe", "b.exe");

    end(os, a);
    os.advance(249);
    EXPECT_EQ(names(os), (std::vector<std::string>{"b.exe"}));
    os.advance(1);
    EXPECT_EQ(names(os), (std::vector<std::string>{"b.exe", "a.exe"}));
    EXPECT_NE(os.runningProcesses()[1].id, a);

    // Both ended before either polls: nobody is left to restart anyone.
    end(os, os.runningProcesses()[0].id);
    end(os, os.runningProcesses()[0].id);
    os.advance(1000);
    EXPECT_TRUE(os.runningProcesses().empty());
    (void)b;
}

TEST(SimProcesses, NineXFamilyReportsWhatItWasGivenAndPlatformOne) {
    SimOs os(Family::Win9x);
    auto id = os.addProcess("C:\\WINDOWS\\EXPLORER.EXE");
    platform::Handle snap = snapshotOf(os, platform::Snapshot::Processes, 0);
    platform::ProcessEntry e;
    ASSERT_TRUE(os.process32First(snap, e));
    EXPECT_EQ(e.exeFile, "C:\\WINDOWS\\EXPLORER.EXE");
    EXPECT_EQ(e.processId, id);
    EXPECT_FALSE(os.process32Next(snap, e));
    EXPECT_TRUE(os.closeHandle(snap));
    // The module path defaults to the reported name.
    snap = moduleSnapshot(os, id);
    platform::ModuleEntry m;
    EXPECT_TRUE(os.module32First(snap, m));
    EXPECT_EQ(m.exePath, "C:\\WINDOWS\\EXPLORER.EXE");
    EXPECT_TRUE(os.closeHandle(snap));

    platform::VersionInfo v;
    ASSERT_TRUE(os.getVersionEx(v));
    EXPECT_EQ(v.platformId, platform::PlatformId::Windows9x);
    os.setVersionFails(true);
    EXPECT_FALSE(os.getVersionEx(v));
}

TEST(SimWindows, HungAndStubbornWindowsStayAndTheWaitIsBounded) {
    SimOs os;
    auto pid = os.addProcess("hung.exe");
    auto hung = os.addWindow("Hung", pid);
    os.window(hung)->hung = true;
    auto stubborn = os.addWindow("Save changes?");
    os.window(stubborn)->refusesClose = true;
    os.setTickCount(1000);

    EXPECT_EQ(os.sendClose(hung, 5000), platform::Status(platform::Error::Timeout));
    EXPECT_EQ(os.getTickCount(), 6000u);
    EXPECT_TRUE(os.window(hung)->alive);
    // A quit posted to a hung program lands in a queue nobody reads.
    EXPECT_TRUE(os.postQuit(hung));
    EXPECT_TRUE(os.process(pid)->running);

    EXPECT_EQ(os.sendClose(stubborn, 5000), platform::Status(platform::Error::Success));
    EXPECT_EQ(os.findWindow(nullptr, "save CHANGES?"), stubborn);  // not case-sensitive

    auto gone = os.addWindow("Gone");
    EXPECT_EQ(os.sendClose(gone, 5000), platform::Status(platform::Error::Success));
    EXPECT_FALSE(os.window(gone)->alive);
    EXPECT_EQ(os.sendClose(gone, 5000), platform::Status(platform::Error::InvalidWindowHandle));
    EXPECT_FALSE(os.postQuit(gone));
    EXPECT_EQ(os.windows().size(), 2u);
}

TEST(SimWindows, QuitEndsTheOwnerAndAllItsWindowsWithCodeZero) {
    SimOs os;
    auto pid = os.addProcess("two.exe");
    auto first = os.addWindow("One", pid);
    os.addWindow("Other");
    auto second = os.addWindow("Two", pid);
    platform::Hwnd h = 0;
    EXPECT_TRUE(os.getWindow(second, platform::WindowWalk::First, h));
    EXPECT_EQ(h, first);
    EXPECT_TRUE(os.postQuit(second));
    EXPECT_FALSE(os.process(pid)->running);
    EXPECT_EQ(os.process(pid)->exitCode, 0u);
    ASSERT_EQ(os.windows().size(), 1u);
    EXPECT_EQ(os.windows()[0].title, "Other");
    EXPECT_TRUE(os.getWindow(0, platform::WindowWalk::First, h));
    EXPECT_EQ(h, os.windows()[0].hwnd);
    EXPECT_EQ(os.getWindow(first, platform::WindowWalk::Next, h), platform::Status(platform::Error::InvalidWindowHandle));
    EXPECT_EQ(h, 0u);
}

TEST(SimFiles, DeleteAndIoFaultsBehaveLikeWin32) {
    SimOs os;
    os.addFile("C:\\a.exe", "MZ");
    os.file("C:\\a.exe")->deleteFailuresLeft = 2;
    EXPECT_FALSE(os.deleteFile("C:\\a.exe"));
    EXPECT_FALSE(os.deleteFile("C:\\a.exe"));
    EXPECT_TRUE(os.deleteFile("C:\\a.exe"));

    os.addFile("C:\\b.exe");
    os.file("C:\\b.exe")->refusesDelete = true;
    EXPECT_FALSE(os.deleteFile("C:\\b.exe"));

    // The image of a running program is in use until the program ends.
    os.addFile("C:\\run\\prog.exe", "MZ");
    auto pid = os.addProcess("prog.exe", "C:\\RUN\\PROG.EXE");
    EXPECT_FALSE(os.deleteFile("C:\\run\\prog.exe"));
    platform::Handle h = opened(os, platform::ProcessAccess::Terminate, false, pid);
    EXPECT_TRUE(os.terminateProcess(h, 0));
    EXPECT_TRUE(os.closeHandle(h));
    EXPECT_TRUE(os.deleteFile("C:\\run\\prog.exe"));

    os.addDirectory("C:\\dir");
    EXPECT_FALSE(os.deleteFile("C:\\dir"));
    EXPECT_TRUE(os.setFileAttributes("C:\\dir", platform::FileAttr::Archive));
    EXPECT_TRUE(os.file("C:\\dir")->attributes & platform::FileAttr::Directory);

    os.addFile("C:\\secret.dat", "x");
    os.file("C:\\secret.dat")->unreadable = true;
    os.file("C:\\secret.dat")->unwritable = true;
    std::string bytes;
    EXPECT_EQ(os.readFile("C:\\secret.dat", bytes), platform::Status(platform::Error::AccessDenied));
    EXPECT_EQ(os.writeFile("C:\\secret.dat", "y"), platform::Status(platform::Error::AccessDenied));
    EXPECT_EQ(os.bytesOf("C:\\secret.dat"), "x");
    os.addFile("C:\\ro.txt", "keep", platform::FileAttr::ReadOnly);
    EXPECT_EQ(os.writeFile("C:\\ro.txt", ""), platform::Status(platform::Error::AccessDenied));
    os.addFile("C:\\hidden.dat", "keep", platform::FileAttr::Hidden);
    EXPECT_EQ(os.writeFile("C:\\hidden.dat", ""), platform::Status(platform::Error::AccessDenied));
    EXPECT_FALSE(platform::fileFound(os, "C:\\*.dat"));
    EXPECT_EQ(os.readFile("C:\\dir", bytes), platform::Status(platform::Error::FileNotFound));
}

TEST(SimRegistry, EnumerationInfoAndCaseLikeWin32) {
    SimOs os;
    os.setString(platform::RootKey::LocalMachine, "Software\\Run", "Long name", "x");
    os.setValue(platform::RootKey::LocalMachine, "Software\\Run", "", platform::RegType::String, std::string("abc\0", 4));
    os.setString(platform::RootKey::LocalMachine, "Software\\Run\\Sub", "a", "b");

    platform::HKey k = 0;
    ASSERT_EQ(os.regOpenKeyEx(platform::RootKey::LocalMachine, "SOFTWARE\\run", platform::KeyAccess::Read, k),
              platform::Status());
    platform::RegKeyInfo info;
    ASSERT_EQ(os.regQueryInfoKey(k, info), platform::Status(platform::Error::Success));
    EXPECT_EQ(info.values, 2u);
    EXPECT_EQ(info.maxValueNameLen, 9u);
    EXPECT_EQ(info.maxValueLen, 4u);
    EXPECT_EQ(info.subKeys, 1u);
    std::string name = "?";
    EXPECT_EQ(os.regEnumValue(k, 1, name), platform::Status(platform::Error::Success));
    EXPECT_EQ(name, "");
    EXPECT_EQ(os.regEnumValue(k, 2, name), platform::Status(platform::Error::NoMoreItems));
    // A handle opened for reading cannot write.
    EXPECT_EQ(os.regSetValueEx(k, "x", {platform::RegType::String, std::string(1, '\0')}),
              platform::Status(platform::Error::AccessDenied));
    platform::RegValue v;
    EXPECT_EQ(os.regQueryValueEx(k, "LONG NAME", v), platform::Status(platform::Error::Success));
    EXPECT_EQ(os.regCloseKey(k), platform::Status(platform::Error::Success));
    EXPECT_EQ(os.openKeys(), 0);

    // NT refuses to delete a key with subkeys; 9x removes the tree.
    EXPECT_EQ(os.regDeleteKey(platform::RootKey::LocalMachine, "Software\\Run"), platform::Status(platform::Error::AccessDenied));
    os.setFamily(Family::Win9x);
    EXPECT_EQ(os.regDeleteKey(platform::RootKey::LocalMachine, "Software\\Run"), platform::Status(platform::Error::Success));
    EXPECT_FALSE(os.hasKey(platform::RootKey::LocalMachine, "Software\\Run\\Sub"));
    EXPECT_TRUE(os.hasKey(platform::RootKey::LocalMachine, "Software"));
}

// A plan counts only its family's calls and fails the ones it names, once
// each; a dialog is one of all calls too, and a walk step fails with the
// plan's code or, without one, ends the list early.
TEST(SimFaults, APlanFailsTheCallsItNamesOnce) {
    SimOs os;
    os.addFile("C:\\a.txt", "A");
    sim::FaultPlan plan;
    plan.family = sim::CallFamily::Dialogs;
    plan.at = 2;
    os.setFaultPlan(plan);
    EXPECT_TRUE(os.writeFile("C:\\a.txt", "B"));
    EXPECT_EQ(os.fileDialog(false), 0u);
    EXPECT_NE(os.fileDialog(true), 0u) << "CommDlgExtendedError's code, not a cancel";
    EXPECT_EQ(os.faultedCall(), "GetSaveFileNameA");
    EXPECT_EQ(os.fileDialog(true), 0u);
    EXPECT_EQ(os.plannedCalls(), 3u);
    EXPECT_EQ(os.plannedCallNames(), (std::vector<std::string>{"GetOpenFileNameA", "GetSaveFileNameA",
                                                               "GetSaveFileNameA"}));

    plan.family = sim::CallFamily::All;
    plan.at = 2;
    os.setFaultPlan(plan);
    EXPECT_TRUE(os.writeFile("C:\\a.txt", "C"));
    EXPECT_NE(os.fileDialog(false), 0u);
    EXPECT_EQ(os.faultedCall(), "GetOpenFileNameA");
    EXPECT_EQ(os.bytesOf("C:\\a.txt"), "C");

    os.addProcess("a.exe");
    os.addWindow("A");
    plan.family = sim::CallFamily::Processes;
    plan.at = 2;
    plan.alsoAt = 3;
    plan.walkError = platform::Error::NotEnoughMemory;
    os.setFaultPlan(plan);
    platform::Handle snap = 0;
    ASSERT_TRUE(os.createToolhelp32Snapshot(platform::Snapshot::Processes, 0, snap));
    platform::ProcessEntry e;
    EXPECT_EQ(os.process32First(snap, e), platform::Status(platform::Error::NotEnoughMemory));
    EXPECT_EQ(os.process32First(snap, e), platform::Status(platform::Error::NotEnoughMemory));
    EXPECT_TRUE(os.process32First(snap, e));
    EXPECT_EQ(os.faultedCalls().size(), 2u);
    EXPECT_TRUE(os.closeHandle(snap));
    plan.family = sim::CallFamily::Windows;
    plan.at = 1;
    plan.alsoAt = 0;
    for (std::uint32_t code : {0u, platform::Error::AccessDenied}) {
        plan.walkError = code;
        os.setFaultPlan(plan);
        platform::Hwnd h = 1;
        EXPECT_EQ(os.getWindow(0, platform::WindowWalk::First, h), platform::Status(code)) << code;
        EXPECT_EQ(h, 0u) << code;
    }
}
