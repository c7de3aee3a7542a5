// A simulated machine behind platform::Os, for the native tests: a process table, a
// registry hive, top-level windows, files and a clock, with faults to inject.
// Everything is in memory and deterministic; time moves only when told to.
#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/os.h"

namespace sim {

enum class Family { Win9x, NT };

struct Process {
    std::uint32_t id = 0;
    std::string exeFile;     // what Toolhelp reports as szExeFile
    std::string modulePath;  // szExePath of the first module
    std::uint32_t parentId = 0;  // th32ParentProcessID
    bool running = true;
    std::uint32_t exitCode = platform::kStillActive;
    bool cannotOpen = false;       // OpenProcess fails (idle process, no rights)
    bool modulesUnreadable = false;  // Module32First fails (Wine, 64-bit Windows)
    bool cannotTerminate = false;    // TerminateProcess fails
};

struct Window {
    platform::Hwnd hwnd = 0;
    std::string title;
    std::uint32_t ownerPid = 0;
    bool refusesClose = false;  // handles WM_CLOSE but stays
    bool hung = false;          // never answers a sent message
    bool alive = true;          // false once destroyed; window(h) still finds it
    std::string className;      // matched by findWindow when a class is given
};

struct File {
    std::string bytes;
    std::uint32_t attributes = platform::FileAttr::Archive;
    bool directory = false;
    bool refusesDelete = false;  // DeleteFileA fails while this is set
    bool unreadable = false;     // reading is denied; a folder's, looking for its files too
    bool unwritable = false;     // writing is denied
    int deleteFailuresLeft = 0;  // DeleteFileA fails this many more times
};

// One logged platform call: its name and its arguments as text, and the
// stored thing it reaches, if any: "file PATH", "key ROOT\\ID" or
// "value ROOT\\ID\\NAME" (ID the key's path as the hive keeps it,
// upper-cased), as the stored state names them.
struct Call {
    std::string name;
    std::string args;
    std::string target;
};

// The families of platform calls a fault plan counts in.
enum class CallFamily {
    All,             // every call that can fail on Windows
    RegistryWrites,  // creating keys, setting and deleting values and keys
    FileWrites,      // writing, renaming, deleting files and their attributes
    Processes,       // snapshots, opening and ending processes
    Windows,         // finding windows and the messages sent and posted to them
    Dialogs,         // the standard open and save dialogs
};

// Call `at` (counted from 1) of the family fails as it fails on Windows
// (access denied, disk full, no such window, no answer...); with powerCut it
// succeeds instead, and the disk and registry are kept as they stood right
// after it, as a machine that lost its power then would keep them.
struct FaultPlan {
    CallFamily family = CallFamily::All;
    std::uint64_t at = 0;  // 0: no fault
    bool powerCut = false;
    // A later call of the family that fails as well (0: none).
    std::uint64_t alsoAt = 0;
    // What a failing step of a walk (Process32First, Process32Next,
    // Module32First, GetWindow) answers: 0 for the end of the list, come
    // early; else this code, as Windows gives it (access denied, not enough
    // memory, a general failure).
    std::uint32_t walkError = 0;
};

// What survives a power cut: the files and the registry.
struct StoredState;

class SimOs : public platform::Os {
public:
    explicit SimOs(Family family = Family::NT);
    ~SimOs() override;

    // --- Setting up the machine.
    // Back to an empty machine of that family: no processes, windows, files,
    // keys, handles, hooks or logged calls; clock at 0.
    void reset(Family family);
    Family family() const;
    void setFamily(Family f);
    void setToolhelpAvailable(bool available);
    void setVersionFails(bool fails);
    // Adds a running process at the end of the table; returns its id (ids count
    // up from 4: 4, 5, 6..., or `id` if given nonzero). On the 9x family exeFile
    // is normally a full path. An empty modulePath means the same as exeFile.
    // Adding an id that is already running throws std::invalid_argument.
    std::uint32_t addProcess(const std::string& exeFile, const std::string& modulePath = "",
                             std::uint32_t id = 0);
    // Adds a record exactly as given, id 0 included (the idle process of NT).
    std::uint32_t insertProcess(const Process& p);
    // The running process with that id, else the last one that ended with it
    // (running false, exitCode as it ended); nullptr when never added.
    Process* process(std::uint32_t id);
    std::vector<Process> runningProcesses() const;  // snapshot order
    // Drops the records of ended processes (process(id) no longer finds
    // them), so a long run keeps only what runs.
    void forgetEnded();
    // Called after a process ended (TerminateProcess, or its program quit on
    // WM_QUIT), to model programs that restart each other.
    void onTerminate(std::function<void(SimOs&, const Process&)> hook);
    // Runs `action` once the clock has moved `ms` further (advance, a hung
    // send's timeout, or the tick step). Lets a partner notice only at its next
    // poll, so that ending both partners in one pass stops them.
    void after(std::uint32_t ms, std::function<void(SimOs&)> action);

    // Added below the windows already there: add order is Z order. Destroying a
    // window or ending its owner marks it dead (alive = false).
    platform::Hwnd addWindow(const std::string& title, std::uint32_t ownerPid = 0);
    Window* window(platform::Hwnd h);
    std::vector<Window> windows() const;  // Z order, topmost first
    // Puts a window at the bottom of the Z order.
    void moveWindowToBottom(platform::Hwnd h);
    // Runs before every GetWindow with WindowWalk::Next, with the window asked
    // from: lets a test change the Z order under a walk.
    void onWindowWalk(std::function<void(SimOs&, platform::Hwnd from)> hook);

    // DeleteFileA fails for a directory, a read-only file, refusesDelete,
    // deleteFailuresLeft, and the image (modulePath, any case) of a running
    // process. Writing replaces a file unless it is read-only, hidden or system.
    void addFile(const std::string& path, const std::string& bytes = "",
                 std::uint32_t attributes = platform::FileAttr::Archive);
    void addDirectory(const std::string& path);
    File* file(const std::string& path);  // exact path; nullptr when absent
    // Its bytes, or "<no file>": a test compares where it would crash.
    std::string bytesOf(const std::string& path);
    // The next file write stops after this many bytes with "Disk full",
    // leaving what it wrote: a disk that filled up part-way.
    void failNextWriteAfter(std::size_t bytes);
    std::vector<std::string> files() const;

    // Registry: values under root\subKey (key path compared ignoring ASCII case).
    void setValue(platform::HKey root, const std::string& subKey, const std::string& name,
                  std::uint32_t type, const std::string& data);
    void setString(platform::HKey root, const std::string& subKey, const std::string& name,
                   const std::string& text);  // RegType::String with its NUL
    bool hasKey(platform::HKey root, const std::string& subKey) const;
    bool hasValue(platform::HKey root, const std::string& subKey, const std::string& name) const;
    // The value's data as text up to its first NUL; empty when missing.
    std::string stringValue(platform::HKey root, const std::string& subKey,
                            const std::string& name) const;
    std::uint32_t valueType(platform::HKey root, const std::string& subKey,
                            const std::string& name) const;
    std::vector<std::string> valueNames(platform::HKey root, const std::string& subKey) const;
    void removeKey(platform::HKey root, const std::string& subKey);
    // Both create the key if needed. Read-only (the key and all its subkeys):
    // keys open, but setting and deleting values, deleting keys and creating
    // new ones are denied. Unopenable (that key only): opening it is denied.
    void setKeyReadOnly(platform::HKey root, const std::string& subKey, bool readOnly);
    void setKeyUnopenable(platform::HKey root, const std::string& subKey, bool unopenable);
    // The key takes this many more value changes (sets and deletes), then
    // refuses the next one with Error::AccessDenied; with `once` only that
    // one, else every one after it too.
    void refuseChangesAfter(platform::HKey root, const std::string& subKey, int changes,
                            bool once = true);
    // The key answers this many more value reads (RegEnumValueA and
    // RegQueryValueExA alike), then every read fails with `error`: a listing
    // or a read that stops part-way. A negative count takes the fault away.
    void failReadsAfter(platform::HKey root, const std::string& subKey, int reads,
                        long error = platform::Error::AccessDenied);
    int openKeys() const;  // registry keys opened and not yet closed

    void setTrayAvailable(bool available);   // no tray: Shell_NotifyIcon fails
    void setShellExecuteResult(std::intptr_t result);  // default 42 (success)

    void setTickCount(std::uint32_t ticks);
    void advance(std::uint32_t ms);  // wraps modulo 2^32
    void setExePath(const std::string& path);  // default "C:\\Morvane\\Morvane.exe"
    void setCursorPos(platform::Point p);

    // --- Faults by plan.
    // Starts counting the family's calls from 0 under a new plan.
    void setFaultPlan(const FaultPlan& plan);
    // The family's calls counted since the plan was set.
    std::uint64_t plannedCalls() const;
    bool faultHappened() const;
    // The Win32 name of the call the plan failed or cut after; empty before.
    const std::string& faultedCall() const;
    // Every call the plan failed or cut after, in order.
    const std::vector<Call>& faultedCalls() const;
    // The names of the family's calls counted since the plan was set, in order.
    const std::vector<std::string>& plannedCallNames() const;
    // A file dialog is shown (logged as GetOpenFileNameA or GetSaveFileNameA):
    // what CommDlgExtendedError then reports, 0 when the dialog returned as
    // the user left it. The test fixture wires the headless application to it.
    std::uint32_t fileDialog(bool save);
    // The files and registry: now, or as a power cut left them (once it
    // happened), to start another machine on.
    std::shared_ptr<const StoredState> stored() const;
    // Files and registry from a stored state; processes, windows, handles
    // and the clock are as they were.
    void restore(const StoredState& state);

    // --- Observing.
    // Calls are logged under their Win32 names ("OpenProcess", "RegSetValueExA",
    // "DeleteFileA", "FindFirstFileA", "SendMessageA", "PostMessageA", "ReadFile",
    // "WriteFile", ...); countCalls("DeleteFile") also counts "DeleteFileA".
    const std::vector<Call>& calls() const;
    std::size_t countCalls(const std::string& name) const;
    void clearCalls();
    int openHandles() const;  // handles opened and not yet closed
    std::vector<platform::NotifyIconData> trayIcons() const;
    std::vector<std::string> shellExecutes() const;  // "verb|file|params|dir|show"
    // Calls that Windows took (not those it refused). On the NT family a
    // restart or shut-down is refused until the shutdown privilege is on.
    std::vector<std::uint32_t> exitWindowsCalls() const;
    // The next ExitWindowsEx fails with this code (0: no such fault).
    void failExitWindows(std::uint32_t code);
    bool shutdownPrivilege() const;

    // --- platform::Os
    bool toolhelpAvailable() override;
    platform::Status createToolhelp32Snapshot(std::uint32_t flags, std::uint32_t processId,
                                              platform::Handle& snapshot) override;
    platform::Status process32First(platform::Handle snapshot, platform::ProcessEntry& entry) override;
    platform::Status process32Next(platform::Handle snapshot, platform::ProcessEntry& entry) override;
    platform::Status module32First(platform::Handle snapshot, platform::ModuleEntry& entry) override;
    platform::Status openProcess(std::uint32_t access, bool inherit, std::uint32_t processId,
                                 platform::Handle& process) override;
    platform::Status getExitCodeProcess(platform::Handle process, std::uint32_t& code) override;
    platform::Status terminateProcess(platform::Handle process, std::uint32_t exitCode) override;
    platform::Status closeHandle(platform::Handle h) override;
    platform::Status fileExists(const std::string& path, bool& exists) override;
    platform::Status setFileAttributes(const std::string& path, std::uint32_t attributes) override;
    platform::Status deleteFile(const std::string& path) override;
    platform::Status readFile(const std::string& path, std::string& bytes) override;
    platform::Status writeFile(const std::string& path, const std::string& bytes) override;
    platform::Status fileAttributes(const std::string& path, std::uint32_t& attributes) override;
    platform::Status moveFile(const std::string& from, const std::string& to, bool replace) override;
    platform::Status getWindow(platform::Hwnd wnd, std::uint32_t cmd, platform::Hwnd& found) override;
    int getWindowText(platform::Hwnd wnd, std::string& text) override;
    platform::Hwnd findWindow(const char* className, const char* windowName) override;
    platform::Status sendClose(platform::Hwnd wnd, std::uint32_t timeoutMs) override;
    platform::Status postQuit(platform::Hwnd wnd) override;
    platform::Status regOpenKeyEx(platform::HKey root, const std::string& subKey,
                                  std::uint32_t access, platform::HKey& key) override;
    platform::Status regCreateKeyEx(platform::HKey root, const std::string& subKey,
                                    std::uint32_t access, platform::HKey& key) override;
    platform::Status regCloseKey(platform::HKey key) override;
    platform::Status regQueryValueEx(platform::HKey key, const std::string& name,
                                     platform::RegValue& value) override;
    platform::Status regSetValueEx(platform::HKey key, const std::string& name,
                                   const platform::RegValue& value) override;
    platform::Status regDeleteValue(platform::HKey key, const std::string& name) override;
    platform::Status regEnumValue(platform::HKey key, std::uint32_t index, std::string& name) override;
    platform::Status regQueryInfoKey(platform::HKey key, platform::RegKeyInfo& info) override;
    platform::Status regDeleteKey(platform::HKey root, const std::string& subKey) override;
    platform::Status getVersionEx(platform::VersionInfo& info) override;
    std::uint32_t getTickCount() override;
    platform::Status shellExecute(platform::Hwnd wnd, const std::string& verb,
                                  const std::string& file, const std::string& params,
                                  const std::string& dir, int show) override;
    platform::Result<std::string> exePath() override;
    platform::Status shellNotifyIcon(std::uint32_t message, const platform::NotifyIconData& data) override;
    platform::Status getCursorPos(platform::Point& p) override;
    platform::Status exitWindowsEx(std::uint32_t flags, std::uint32_t reserved) override;
    platform::Status enableShutdownPrivilege() override;
    std::string systemText(std::uint32_t code) override;

private:
    struct State;
    std::unique_ptr<State> s_;
};

}  // namespace sim
