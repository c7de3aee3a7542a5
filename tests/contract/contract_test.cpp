// What the program relies on from the platform, proven on every machine the
// build offers (see world.h): the simulated one natively, the real one under
// Wine. A difference between the two shows up here first.
#include <gtest/gtest.h>

// The Windows build runs the suite once its machine is declared (world.h).
#if !defined(_WIN32) || __has_include("wine/wine_world.cpp")

#include <algorithm>
#include <functional>
#include <thread>

#include "base/text.h"
#include "contract/world.h"
#include "platform/files.h"
#include "platform/process_query.h"
#include "platform/registry.h"

namespace {

using base::asciiUpper;

class Contract : public ::testing::Test {
protected:
    contract::World& w = contract::contractWorld();
    platform::Os& os = w.os();
    int handlesAtStart = -1;

    void SetUp() override {
        w.beginTest();
        handlesAtStart = w.openHandleCount();
    }
    void TearDown() override { w.endTest(); }

    void expectHandlesBalanced() {
        if (handlesAtStart >= 0) {
            EXPECT_EQ(w.openHandleCount(), handlesAtStart);
        }
    }

    std::vector<platform::ProcessEntry> enumerate(platform::Handle snap) {
        std::vector<platform::ProcessEntry> out;
        platform::ProcessEntry e;
        platform::Status step = os.process32First(snap, e);
        for (; step && out.size() < 100000; step = os.process32Next(snap, e)) out.push_back(e);
        EXPECT_EQ(step, platform::Status(platform::Error::NoMoreFiles)) << "how a walk ends";
        return out;
    }

    platform::Handle takeSnapshot(std::uint32_t flags, std::uint32_t pid) {
        platform::Handle snap = platform::kNoHandle;
        EXPECT_TRUE(os.createToolhelp32Snapshot(flags, pid, snap));
        return snap;
    }

    platform::Handle opened(std::uint32_t access, bool inherit, std::uint32_t pid) {
        platform::Handle h = platform::kNoHandle;
        const platform::Status done = os.openProcess(access, inherit, pid, h);
        EXPECT_EQ(done.ok(), h != platform::kNoHandle);
        return h;
    }

    std::vector<platform::ProcessEntry> snapshot() {
        platform::Handle snap = takeSnapshot(platform::Snapshot::Processes, 0);
        EXPECT_NE(snap, platform::kNoHandle);
        if (snap == platform::kNoHandle) return {};
        auto out = enumerate(snap);
        EXPECT_TRUE(os.closeHandle(snap));
        return out;
    }

    static int indexOf(const std::vector<platform::ProcessEntry>& entries, std::uint32_t pid) {
        for (std::size_t i = 0; i < entries.size(); ++i)
            if (entries[i].processId == pid) return static_cast<int>(i);
        return -1;
    }

    // What Toolhelp reports as szExeFile for a program started as exeName.
    std::string reportedName(const std::string& exeName) {
        return w.ntFamily() ? exeName : w.exePathOf(exeName);
    }

    std::uint32_t started(const std::string& exeName, const std::string& title = "") {
        std::uint32_t pid = w.start(exeName, title);
        EXPECT_NE(pid, 0u) << "could not start " << exeName;
        return pid;
    }

    // Polls for at most ms of real time; the simulated machine is already
    // settled on the first look.
    static bool eventually(const std::function<bool()>& done, int ms = 3000) {
        for (int waited = 0;; waited += 20) {
            if (done()) return true;
            if (waited >= ms) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }

    platform::Hwnd windowTitled(const std::string& title) {
        platform::Hwnd h = 0;
        eventually([&] { return (h = os.findWindow(nullptr, title.c_str())) != 0; });
        return h;
    }
};

class ContractProcesses : public Contract {};
class ContractRegistry : public Contract {
protected:
    platform::Registry reg{os, w.regRoot()};
};
class ContractFiles : public Contract {
protected:
    std::string readBack(const std::string& path) {
        std::string bytes;
        EXPECT_TRUE(os.readFile(path, bytes)) << path;
        return bytes;
    }
};
class ContractWindows : public Contract {};
class ContractSystem : public Contract {};

// --- Processes ---------------------------------------------------------------

TEST_F(ContractProcesses, SnapshotListsStartedProgramsInStartOrderWithTheirNamesAndIds) {
    const std::vector<std::string> names = {"ctalpha.exe", "CTBETA.EXE", "中文助手.exe"};
    std::vector<std::uint32_t> pids;
    for (auto& n : names) pids.push_back(started(n));

    auto entries = snapshot();
    int last = -1;
    for (std::size_t i = 0; i < names.size(); ++i) {
        int at = indexOf(entries, pids[i]);
        ASSERT_GE(at, 0) << names[i] << " is not in the snapshot";
        EXPECT_GT(at, last) << names[i] << " is out of start order";
        last = at;
        EXPECT_EQ(asciiUpper(entries[at].exeFile), asciiUpper(reportedName(names[i])));
    }
    expectHandlesBalanced();
}

TEST_F(ContractProcesses, SnapshotIsFrozenWhenTaken) {
    std::uint32_t before = started("ctbefore.exe");
    platform::Handle snap = takeSnapshot(platform::Snapshot::Processes, 0);
    ASSERT_NE(snap, platform::kNoHandle);
    std::uint32_t after = started("ctafter.exe");
    auto entries = enumerate(snap);
    EXPECT_TRUE(os.closeHandle(snap));
    EXPECT_GE(indexOf(entries, before), 0);
    EXPECT_LT(indexOf(entries, after), 0);
    expectHandlesBalanced();
}

TEST_F(ContractProcesses, ModuleSnapshotGivesTheExecutablePath) {
    std::uint32_t pid = started("ctmodule.exe");
    platform::Handle snap = takeSnapshot(platform::Snapshot::Modules, pid);
    ASSERT_NE(snap, platform::kNoHandle);
    platform::ModuleEntry m;
    EXPECT_TRUE(os.module32First(snap, m));
    EXPECT_TRUE(os.closeHandle(snap));
    EXPECT_EQ(asciiUpper(m.exePath), asciiUpper(w.exePathOf("ctmodule.exe")));
    EXPECT_EQ(asciiUpper(base::fileNamePart(m.exePath)), "CTMODULE.EXE");
    expectHandlesBalanced();
}

TEST_F(ContractProcesses, EndingByIdWithTheReportedCodeLeavesStillActiveAndTheIdGone) {
    std::uint32_t pid = started("ctbyid.exe");
    platform::Handle h = opened(platform::ProcessAccess::All, true, pid);
    ASSERT_NE(h, platform::kNoHandle);
    std::uint32_t code = 0;
    ASSERT_TRUE(os.getExitCodeProcess(h, code));
    EXPECT_EQ(code, platform::kStillActive);
    EXPECT_TRUE(os.terminateProcess(h, code));
    EXPECT_TRUE(os.closeHandle(h));

    std::uint32_t exitCode = 0;
    ASSERT_TRUE(w.waitExit(pid, exitCode));
    EXPECT_EQ(exitCode, platform::kStillActive);
    EXPECT_LT(indexOf(snapshot(), pid), 0);
    // An ended program cannot be ended again. The system may still open its
    // id while it keeps the dead process's record, but nothing can be done
    // through that handle.
    platform::Handle again = opened(platform::ProcessAccess::All, true, pid);
    if (again != platform::kNoHandle) {
        std::uint32_t after = 0;
        EXPECT_TRUE(os.getExitCodeProcess(again, after));
        EXPECT_EQ(after, platform::kStillActive);  // the code it was given
        EXPECT_FALSE(os.terminateProcess(again, 0));
        EXPECT_TRUE(os.closeHandle(again));
    }
    expectHandlesBalanced();
}

TEST_F(ContractProcesses, EndingEveryCopyOfANameLeavesZeroAndSparesOtherPrograms) {
    std::uint32_t one = started("ctcopy.exe");
    std::uint32_t two = started("ctcopy.exe");
    std::uint32_t other = started("ctother.exe");

    // As the program ends a name: whole upper-cased names, exit code 0.
    const std::string wanted = asciiUpper(reportedName("CtCopy.exe"));
    int ended = 0;
    for (auto& e : snapshot()) {
        if (asciiUpper(e.exeFile) != wanted) continue;
        platform::Handle h = opened(platform::ProcessAccess::Terminate, false, e.processId);
        ASSERT_NE(h, platform::kNoHandle);
        EXPECT_TRUE(os.terminateProcess(h, 0));
        EXPECT_TRUE(os.closeHandle(h));
        ++ended;
    }
    EXPECT_EQ(ended, 2);
    for (std::uint32_t pid : {one, two}) {
        std::uint32_t code = 1;
        ASSERT_TRUE(w.waitExit(pid, code, 5000));
        EXPECT_EQ(code, 0u);
    }
    EXPECT_GE(indexOf(snapshot(), other), 0);
    expectHandlesBalanced();
}

// --- The process query built on Toolhelp -------------------------------------

TEST_F(ContractProcesses, WalkListsAStartedProgramOnceAndReadsItsExecutablePath) {
    std::uint32_t pid = started("ctquery.exe");
    int seen = 0;
    for (const platform::ProcessEntry& e : platform::ProcessWalk(os)) {
        if (e.processId != pid) continue;
        ++seen;
        EXPECT_EQ(asciiUpper(e.exeFile), asciiUpper(reportedName("ctquery.exe")));
    }
    EXPECT_EQ(seen, 1);
    auto path = platform::modulePath(os, pid);
    ASSERT_TRUE(path.has_value());
    EXPECT_EQ(asciiUpper(*path), asciiUpper(w.exePathOf("ctquery.exe")));
    expectHandlesBalanced();
}

TEST_F(ContractProcesses, ProgramEndingDuringTheWalkHasNoModulePathAndTheWalkGoesOn) {
    std::uint32_t gone = started("ctgone.exe");
    std::uint32_t after = started("ctafter.exe");
    bool goneSeen = false, afterSeen = false;
    for (const platform::ProcessEntry& e : platform::ProcessWalk(os)) {
        if (e.processId == gone) {
            goneSeen = true;
            platform::OwnedHandle h = platform::OwnedHandle::opened(os, platform::ProcessAccess::Terminate, false, gone);
            ASSERT_TRUE(h);
            EXPECT_TRUE(os.terminateProcess(h.get(), 0));
            h.close();
            std::uint32_t code = 1;
            ASSERT_TRUE(w.waitExit(gone, code));
            EXPECT_FALSE(platform::modulePath(os, gone).has_value());
        }
        afterSeen |= e.processId == after;
    }
    EXPECT_TRUE(goneSeen);
    EXPECT_TRUE(afterSeen) << "the walk stopped at the ended program";
    expectHandlesBalanced();
}

TEST_F(ContractProcesses, LeavingAWalkEarlyOrByAnExceptionClosesEveryHandle) {
    std::uint32_t pid = started("ctleave.exe");
    {
        platform::ProcessWalk walk(os);
        ASSERT_TRUE(walk.hasSnapshot());
        // The count sees the open snapshot, so "balanced" below means closed.
        if (handlesAtStart >= 0) {
            EXPECT_GT(w.openHandleCount(), handlesAtStart);
        }
        for (const platform::ProcessEntry& e : walk)
            if (e.processId == pid) break;
    }
    expectHandlesBalanced();

    struct Abandon {};
    auto abandonMidWalk = [&] {
        for (const platform::ProcessEntry& e : platform::ProcessWalk(os)) {
            if (e.processId != pid) continue;
            const platform::OwnedHandle h =
                platform::OwnedHandle::opened(os, platform::ProcessAccess::All, true, pid);
            EXPECT_TRUE(h);
            EXPECT_TRUE(platform::modulePath(os, pid).has_value());
            throw Abandon{};
        }
    };
    EXPECT_THROW(abandonMidWalk(), Abandon);
    expectHandlesBalanced();
}

// --- Registry through the registry object ------------------------------------

TEST_F(ContractRegistry, StringsRoundTripIncludingGbkTextAndEmptyText) {
    ASSERT_FALSE(reg.keyExists(w.regTestKey()));
    ASSERT_TRUE(reg.openKey(w.regTestKey(), true));
    EXPECT_TRUE(reg.keyExists(w.regTestKey()));

    reg.writeString("名称", "中文文本 C:\\程序\\a.exe");
    reg.writeString("Pass", "");
    EXPECT_EQ(reg.readString("名称"), "中文文本 C:\\程序\\a.exe");
    EXPECT_EQ(reg.readString("Pass"), "");
    EXPECT_TRUE(reg.valueExists("Pass"));
    EXPECT_EQ(reg.readString("Missing"), "");
    EXPECT_FALSE(reg.valueExists("Missing"));

    // Written as RegType::String with its NUL.
    platform::HKey k = 0;
    ASSERT_EQ(os.regOpenKeyEx(w.regRoot(), w.regTestKey(), platform::KeyAccess::Read, k), platform::Status(platform::Error::Success));
    platform::RegValue v;
    EXPECT_EQ(os.regQueryValueEx(k, "名称", v), platform::Status(platform::Error::Success));
    EXPECT_EQ(v.type, platform::RegType::String);
    EXPECT_EQ(v.data, std::string("中文文本 C:\\程序\\a.exe") + '\0');
    EXPECT_TRUE(os.regCloseKey(k));

    std::vector<std::string> names;
    EXPECT_TRUE(reg.getValueNames(names));
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Pass", "名称"}));

    EXPECT_TRUE(reg.deleteValue("Pass"));
    EXPECT_EQ(reg.deleteValue("Pass"), platform::Status(platform::Error::FileNotFound));
    EXPECT_FALSE(reg.valueExists("Pass"));
}

TEST_F(ContractRegistry, ValueOfAnotherTypeRaisesInvalidDataTypeWithItsName) {
    ASSERT_TRUE(reg.openKey(w.regTestKey(), true));
    platform::HKey k = 0;
    ASSERT_EQ(os.regOpenKeyEx(w.regRoot(), w.regTestKey(), platform::KeyAccess::All, k),
              platform::Status());
    ASSERT_EQ(os.regSetValueEx(k, "KillTime", {platform::RegType::Dword, std::string("\x05\0\0\0", 4)}),
              platform::Status());
    ASSERT_EQ(os.regSetValueEx(k, "Blank", {platform::RegType::Binary, ""}), platform::Status(platform::Error::Success));
    EXPECT_TRUE(os.regCloseKey(k));

    try {
        reg.readString("KillTime");
        ADD_FAILURE() << "a RegType::Dword was read as text";
    } catch (const platform::RegistryError& e) {
        EXPECT_STREQ(e.what(), "Invalid data type for 'KillTime'");
    }
    // Empty data of any type reads as empty text.
    EXPECT_EQ(reg.readString("Blank"), "");
}

TEST_F(ContractRegistry, ExpandableStringReadsUnexpanded) {
    ASSERT_TRUE(reg.openKey(w.regTestKey(), true));
    platform::HKey k = 0;
    ASSERT_EQ(os.regOpenKeyEx(w.regRoot(), w.regTestKey(), platform::KeyAccess::All, k),
              platform::Status());
    const std::string text = "%SystemRoot%\\system32\\tool.exe /s";
    ASSERT_EQ(os.regSetValueEx(k, "Tool", {platform::RegType::ExpandString, text + '\0'}), platform::Status(platform::Error::Success));
    EXPECT_TRUE(os.regCloseKey(k));
    EXPECT_EQ(reg.readString("Tool"), text);
}

TEST_F(ContractRegistry, DefaultValueEnumeratesWithAnEmptyName) {
    ASSERT_TRUE(reg.openKey(w.regTestKey(), true));
    reg.writeString("", "default command");
    reg.writeString("Named", "x");
    std::vector<std::string> names;
    EXPECT_TRUE(reg.getValueNames(names));
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"", "Named"}));
    EXPECT_EQ(reg.readString(""), "default command");
}

TEST_F(ContractRegistry, MissingKeyOpensOnlyWhenCreatedAndWritesWithoutAKeyFail) {
    const std::string sub = w.regTestKey() + "\\Sub";
    EXPECT_FALSE(reg.openKey(sub, false));
    EXPECT_FALSE(reg.hasOpenKey());
    EXPECT_EQ(reg.readString("RunByPass"), "");
    try {
        reg.writeString("RunByPass", "yes");
        ADD_FAILURE() << "a write without a key succeeded";
    } catch (const platform::RegistryError& e) {
        EXPECT_STREQ(e.what(), "Failed to set data for 'RunByPass'");
    }

    reg.createKey(sub);
    EXPECT_TRUE(reg.keyExists(sub));
    EXPECT_TRUE(reg.openKey(sub, false));
    reg.writeString("RunByPass", "yes");
    EXPECT_EQ(reg.readString("RunByPass"), "yes");
    reg.closeKey();
    EXPECT_EQ(reg.readString("RunByPass"), "");
}

// What a careful rewrite of a key needs: why a key did not open, any value
// back byte for byte with its type, and a created key removed again.
TEST_F(ContractRegistry, ValuesOfAnyTypeRoundTripAndAMissingKeyIsToldApart) {
    const std::string sub = w.regTestKey() + "\\Sub";
    EXPECT_EQ(reg.openKey(sub, false), platform::Status(platform::Error::FileNotFound));
    EXPECT_EQ(reg.readValue("x").status(), platform::Status(platform::Error::InvalidHandle)) << "no key open";

    ASSERT_TRUE(reg.openKey(sub, true));
    const platform::RegValue flag{platform::RegType::Dword, std::string("\x01\0\0\x80", 4)};
    const platform::RegValue list{platform::RegType::MultiString, std::string("a\0程序\0\0", 8)};
    ASSERT_TRUE(reg.writeValue("Flag", flag));
    ASSERT_TRUE(reg.writeValue("List", list));
    reg.writeString("Tool", "%SystemRoot%\\t.exe", platform::RegType::ExpandString);
    const platform::Result<platform::RegValue> readFlag = reg.readValue("Flag");
    ASSERT_TRUE(readFlag);
    EXPECT_EQ(readFlag->type, flag.type);
    EXPECT_EQ(readFlag->data, flag.data);
    const platform::Result<platform::RegValue> readList = reg.readValue("List");
    ASSERT_TRUE(readList);
    EXPECT_EQ(readList->data, list.data);
    const platform::Result<platform::RegValue> readTool = reg.readValue("Tool");
    ASSERT_TRUE(readTool);
    EXPECT_EQ(readTool->type, platform::RegType::ExpandString);
    EXPECT_EQ(readTool->data, std::string("%SystemRoot%\\t.exe") + '\0');
    EXPECT_EQ(reg.readValue("Missing").status(), platform::Status(platform::Error::FileNotFound));
    EXPECT_EQ(reg.deleteValue("Missing"), platform::Status(platform::Error::FileNotFound));

    for (const char* name : {"Flag", "List", "Tool"}) EXPECT_TRUE(reg.deleteValue(name));
    reg.closeKey();
    EXPECT_TRUE(reg.deleteKey(sub));
    EXPECT_FALSE(reg.keyExists(sub));
    EXPECT_TRUE(reg.keyExists(w.regTestKey()));
}

// Windows refuses a subkey path that starts with a backslash; the registry
// object takes one all the same, the same way in every operation.
TEST_F(ContractRegistry, ALeadingBackslashIsRefusedBelowAndTakenByTheRegistryObject) {
    const std::string sub = w.regTestKey() + "\\Lead";
    platform::HKey k = 0;
    EXPECT_EQ(os.regCreateKeyEx(w.regRoot(), "\\" + sub, platform::KeyAccess::All, k), platform::Status(platform::Error::BadPathname));
    EXPECT_EQ(os.regOpenKeyEx(w.regRoot(), "\\" + w.regTestKey(), platform::KeyAccess::Read, k), platform::Status(platform::Error::BadPathname));

    EXPECT_FALSE(reg.keyExists("\\" + sub));
    reg.createKey("\\" + sub);
    EXPECT_TRUE(reg.keyExists("\\" + sub));
    EXPECT_TRUE(reg.keyExists(sub));
    ASSERT_TRUE(reg.openKey("\\" + sub, false));
    reg.writeString("v", "x");
    reg.closeKey();
    ASSERT_TRUE(reg.openKey(sub, false));
    EXPECT_EQ(reg.readString("v"), "x");
}

// --- Files -------------------------------------------------------------------

TEST_F(ContractFiles, BytesRoundTripExactlyIncludingCrLfAndGbk) {
    const std::string path = w.tempDir() + "列表.txt";
    const char raw[] = "C:\\WINDOWS\\EXPLORER.EXE\r\n中文\r\n\r\nlone\nend\0x";
    const std::string bytes(raw, sizeof raw - 1);
    ASSERT_TRUE(os.writeFile(path, bytes));
    EXPECT_TRUE(platform::fileFound(os, path));
    EXPECT_EQ(readBack(path), bytes);
    ASSERT_TRUE(os.writeFile(path, ""));  // replacing truncates
    EXPECT_EQ(readBack(path), "");
}

TEST_F(ContractFiles, RenamingAndReplacingInPlace) {
    const std::string a = w.tempDir() + "a.txt", b = w.tempDir() + "b.txt";
    std::uint32_t attributes = 0;
    EXPECT_EQ(os.fileAttributes(a, attributes), platform::Status(platform::Error::FileNotFound));
    ASSERT_TRUE(os.writeFile(a, "one"));
    EXPECT_TRUE(os.fileAttributes(a, attributes));
    EXPECT_EQ(attributes & platform::FileAttr::Directory, 0u);
    EXPECT_TRUE(os.moveFile(a, b, false));
    EXPECT_FALSE(platform::fileFound(os, a));
    EXPECT_EQ(readBack(b), "one");

    ASSERT_TRUE(os.writeFile(a, "two"));
    EXPECT_EQ(os.moveFile(a, b, false), platform::Status(platform::Error::AlreadyExists)) << "a plain rename never replaces";
    const platform::Status replaced = os.moveFile(a, b, true);
    if (replaced) {
        EXPECT_FALSE(platform::fileFound(os, a));
        EXPECT_EQ(readBack(b), "two");
    } else {
        EXPECT_EQ(replaced, platform::Status(platform::Error::CallNotImplemented));
        EXPECT_FALSE(w.ntFamily()) << "only the 9x family cannot replace in one step";
    }

    // Whichever way the system replaces, the writer leaves one whole file.
    platform::writeFileReplacing(os, b, "three\r\n");
    EXPECT_EQ(readBack(b), "three\r\n");
    EXPECT_FALSE(platform::fileFound(os, b + "~new"));
    EXPECT_FALSE(platform::fileFound(os, b + "~old"));
}

TEST_F(ContractFiles, ReadingAMissingFileFailsWithFileNotFound) {
    std::string bytes;
    EXPECT_EQ(os.readFile(w.tempDir() + "absent.txt", bytes), platform::Status(platform::Error::FileNotFound));
    try {
        platform::readWholeFile(os, w.tempDir() + "absent.txt");
        ADD_FAILURE() << "a missing file was read";
    } catch (const platform::OsError& e) {
        EXPECT_STREQ(e.what(), "File not found");
    }
}

TEST_F(ContractFiles, ReadOnlyFileIsDeletedOnlyAfterItsAttributesAreArchive) {
    const std::string path = w.tempDir() + "locked.exe";
    ASSERT_TRUE(os.writeFile(path, "MZ"));
    ASSERT_TRUE(os.setFileAttributes(path, platform::FileAttr::ReadOnly | platform::FileAttr::Hidden));
    EXPECT_EQ(os.deleteFile(path), platform::Status(platform::Error::AccessDenied));
    EXPECT_TRUE(platform::fileFound(os, path));
    ASSERT_TRUE(os.setFileAttributes(path, platform::FileAttr::Archive));
    EXPECT_TRUE(os.deleteFile(path));
    EXPECT_FALSE(platform::fileFound(os, path));
    EXPECT_EQ(os.deleteFile(path), platform::Status(platform::Error::FileNotFound));
}

TEST_F(ContractFiles, FileExistsOnlyForExistingFilesNotDirectories) {
    std::string dir = w.tempDir();
    dir.pop_back();  // without its trailing '\'
    EXPECT_FALSE(platform::fileFound(os, dir));
    EXPECT_FALSE(platform::fileFound(os, w.tempDir() + "nothing.exe"));
    // Names of nothing, not failures: a deletion takes a failed look for a file still there.
    EXPECT_FALSE(platform::fileFound(os, w.tempDir() + "no folder\\nothing.exe"));
    EXPECT_FALSE(platform::fileFound(os, w.tempDir() + "*.exe"));
    ASSERT_TRUE(os.writeFile(w.tempDir() + "something.exe", "MZ"));
    EXPECT_TRUE(platform::fileFound(os, w.tempDir() + "something.exe"));
}

// --- Top-level windows -------------------------------------------------------

TEST_F(ContractWindows, WalkingTheZOrderListsATitledWindowOfAnotherProgram) {
    const std::string title = "Contract walk 窗口";
    started("ctwalk.exe", title);
    ASSERT_NE(windowTitled(title), 0u);
    bool seen = false;
    int steps = 0;
    platform::Hwnd h = 0;
    platform::Status walked = os.getWindow(w.ownWindow(), platform::WindowWalk::First, h);
    for (; walked && h && steps < 100000; walked = os.getWindow(h, platform::WindowWalk::Next, h), ++steps) {
        std::string text;
        if (os.getWindowText(h, text) > 0 && text == title) seen = true;
    }
    EXPECT_TRUE(seen);
    // The last window is the end of the list, never a failure.
    EXPECT_TRUE(walked) << walked.code();
}

TEST_F(ContractWindows, FindWindowMatchesTheWholeTitleOnly) {
    started("ctfind.exe", "Contract find");
    started("ctfindme.exe", "Contract find me");
    platform::Hwnd h = windowTitled("Contract find");
    ASSERT_NE(h, 0u);
    std::string text;
    EXPECT_EQ(os.getWindowText(h, text), 13);
    EXPECT_EQ(text, "Contract find");
    EXPECT_EQ(os.findWindow(nullptr, "Contract fin"), 0u);
    EXPECT_EQ(os.findWindow(nullptr, "Contract find me x"), 0u);
}

TEST_F(ContractWindows, LongTitleComesBackCutTo254Bytes) {
    std::string title = "Contract long ";
    for (int i = 0; title.size() < 300; ++i) title += static_cast<char>('a' + i % 26);
    started("ctlong.exe", title);
    platform::Hwnd h = windowTitled(title);
    ASSERT_NE(h, 0u);
    std::string text;
    EXPECT_EQ(os.getWindowText(h, text), 254);
    EXPECT_EQ(text, title.substr(0, 254));
    // The cut text names no window.
    EXPECT_EQ(os.findWindow(nullptr, text.c_str()), 0u);
}

TEST_F(ContractWindows, WmCloseClosesTheWindow) {
    const std::string title = "Contract close";
    started("ctclose.exe", title);
    platform::Hwnd h = windowTitled(title);
    ASSERT_NE(h, 0u);
    EXPECT_TRUE(os.sendClose(h, platform::kCloseTimeoutMs));
    EXPECT_TRUE(eventually([&] { return os.findWindow(nullptr, title.c_str()) == 0; }));
}

TEST_F(ContractWindows, WmQuitEndsTheProgramWithCodeZero) {
    const std::string title = "Contract quit";
    std::uint32_t pid = started("ctquit.exe", title);
    platform::Hwnd h = windowTitled(title);
    ASSERT_NE(h, 0u);
    EXPECT_TRUE(os.postQuit(h));
    std::uint32_t code = 1;
    ASSERT_TRUE(w.waitExit(pid, code, 5000));
    EXPECT_EQ(code, 0u);
    EXPECT_TRUE(eventually([&] { return os.findWindow(nullptr, title.c_str()) == 0; }));
}

// --- System ------------------------------------------------------------------

TEST_F(ContractSystem, VersionReportsTheFamily) {
    platform::VersionInfo v;
    ASSERT_TRUE(os.getVersionEx(v));
    EXPECT_EQ(v.platformId,
              w.ntFamily() ? platform::PlatformId::NT : platform::PlatformId::Windows9x);
    EXPECT_GE(v.major, 4u);
}

// Catches a simulated shell that takes an icon twice or removes one it does
// not hold, where the tray's retry and the restarted shell rely on the
// refusal; and a tip longer than its field refused instead of cut.
TEST_F(ContractSystem, NotificationIconIsAddedAndRemovedOnce) {
    if (!w.trayAvailable()) GTEST_SKIP() << "this machine has no notification area";
    platform::NotifyIconData icon;
    icon.wnd = w.ownWindow();
    icon.id = 1;
    icon.flags = platform::TrayFlag::Message | platform::TrayFlag::Tip;
    icon.callbackMessage = 0x0400 + 1;
    icon.tip = "Morvane进程管理器" + std::string(80, 't');
    EXPECT_TRUE(os.shellNotifyIcon(platform::TrayMessage::Add, icon));
    EXPECT_FALSE(os.shellNotifyIcon(platform::TrayMessage::Add, icon));
    EXPECT_TRUE(os.shellNotifyIcon(platform::TrayMessage::Delete, icon));
    EXPECT_FALSE(os.shellNotifyIcon(platform::TrayMessage::Delete, icon));
}

}  // namespace

#endif
