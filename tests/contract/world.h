// The machine the contract tests run on. The contract tests (tests/contract/)
// hold ONE set of expectations for platform::Os and platform::Registry; each build
// supplies the machine they run against by defining contractWorld() once:
//   - native unit_tests: a simulated machine (tests/unit/sim_world.cpp);
//   - wine_tests: the real Win32 layer under Wine, with real helper processes,
//     real registry keys and real files. Its World is defined in
//     tests/wine/wine_world.cpp; the Windows build compiles the suite only when
//     that file exists, so the tree links before the World is written.
//
// Lifetime: contractWorld() returns one object that lives for the whole test
// program. Every contract test calls beginTest() first and endTest() last
// (also when it failed half way), so each test starts on a clean machine.
//
// Text is code page 936 (GBK) bytes throughout, as everywhere in the program.
#pragma once
#include <cstdint>
#include <string>

#include "platform/os.h"

namespace contract {

class World {
public:
    virtual ~World() = default;

    // The platform under test; the same object for the whole test program.
    // All expectations go through it.
    virtual platform::Os& os() = 0;

    // True when Toolhelp reports bare file names ("notepad.exe", NT family),
    // false when it reports full paths (9x family).
    virtual bool ntFamily() = 0;

    // Called before and after every contract test. endTest() ends every
    // program start() began that still runs, removes regTestKey() with all its
    // values and subkeys, and removes what the test wrote under tempDir().
    // beginTest() leaves regTestKey() absent and tempDir() an empty, existing
    // directory.
    virtual void beginTest() = 0;
    virtual void endTest() = 0;

    // Starts one more running program whose executable file is named exeName
    // (a bare file name such as "ctalpha.exe"; may hold GBK characters). Two
    // calls with one name give two processes of the same executable.
    // When windowTitle is not empty the program shows one top-level window with
    // exactly that title (any length, ASCII or GBK), which:
    //   - closes on WM_CLOSE (the program may then end, or not);
    //   - ends the program with exit code 0 on WM_QUIT posted to it.
    // Returns the new process's id once the program is fully running: it is
    // in the Toolhelp process table, its module list can be read, and its
    // window (if any) can be found with FindWindowA. Returns 0 on failure.
    virtual std::uint32_t start(const std::string& exeName,
                                const std::string& windowTitle = "") = 0;

    // Full path of the executable file that start(exeName) runs from: what
    // Module32First reports as szExePath (compared ignoring ASCII case), and
    // on the 9x family what Process32First reports as szExeFile.
    virtual std::string exePathOf(const std::string& exeName) = 0;

    // Waits at most timeoutMs for the process pid (one start() returned) to
    // end; true with its exit code in `code` once it has ended. When it returns
    // true the World holds no handle on that process any more, so the system
    // may forget it (OpenProcess of that id then fails).
    virtual bool waitExit(std::uint32_t pid, std::uint32_t& code,
                          std::uint32_t timeoutMs = 5000) = 0;

    // Number of kernel handles this test program holds open, or -1 when the
    // World cannot tell. Used to prove that calls balance their handles.
    virtual int openHandleCount() = 0;

    // An existing, empty directory for the test's files, as a full path that
    // ends with '\'.
    virtual std::string tempDir() = 0;

    // Registry root and subkey path (without leading '\') that the test may
    // create, fill and delete freely; e.g. RootKey::CurrentUser and
    // "Software\Zentrek\ContractTest". Absent at the start of every test.
    virtual platform::HKey regRoot() = 0;
    virtual std::string regTestKey() = 0;

    // Whether a notification area exists to add an icon to, and a top-level
    // window of this test program to own such an icon.
    virtual bool trayAvailable() = 0;
    virtual platform::Hwnd ownWindow() = 0;
};

// Defined once per test program.
World& contractWorld();

}  // namespace contract
