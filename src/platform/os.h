// The Win32 operations the program uses, behind one interface, so every rule
// can run against the real system (platform/win32) or a simulated machine
// (platform/sim). Text is code page 936 bytes throughout.
#pragma once
#include <cstdint>
#include "base/error.h"
#include <string>
#include <utility>
#include <vector>

namespace platform {

using Handle = std::uintptr_t;  // process, snapshot: 0 means "none"
using Hwnd = std::uintptr_t;    // window handle: 0 means "none"
using HKey = std::uintptr_t;    // registry key handle

constexpr Handle kNoHandle = 0;

// How a call to the system ended: 0 when it did what it was asked, else the
// Win32 error code it failed with. Every call of Os that can fail answers
// with one; what a call yields comes back through its reference parameters.
class [[nodiscard]] Status {
public:
    constexpr Status() = default;
    // Explicit: a number is not a result until a call says it is one.
    constexpr explicit Status(std::uint32_t code) : code_(code) {}
    constexpr bool ok() const { return code_ == 0; }
    constexpr explicit operator bool() const { return ok(); }
    constexpr std::uint32_t code() const { return code_; }
    constexpr bool operator==(const Status&) const = default;
private:
    std::uint32_t code_ = 0;
};

// A result dropped on purpose; `why` says at the call why that is right.
inline void ignore(Status, const char* /*why*/) {}

// What a call hands back when it yields a value: the value, or the Status
// of the failure that kept it from coming.
template <class T>
class [[nodiscard]] Result {
public:
    Result(T value) : value_(std::move(value)) {}
    explicit Result(Status failure) : status_(failure) {}
    bool ok() const { return status_.ok(); }
    explicit operator bool() const { return ok(); }
    Status status() const { return status_; }
    // Only once ok(): a failed result holds a default value.
    T& operator*() { return value_; }
    const T& operator*() const { return value_; }
    const T* operator->() const { return &value_; }

private:
    T value_{};
    Status status_;
};

// A failure turned into the standard error box's text by the helpers above
// Os (the file helpers, the registry object); code() keeps the system's code.
class OsError : public base::Error {
public:
    OsError(const std::string& what, std::uint32_t code = 0)
        : base::Error(what), code_(code) {}
    std::uint32_t code() const { return code_; }
private:
    std::uint32_t code_;
};

// The system's numbers, under names of the program's own: the Win32 headers
// define theirs as macros, and a name of ours that matched one would be
// rewritten wherever <windows.h> came first.

// Toolhelp snapshot kinds.
namespace Snapshot {
constexpr std::uint32_t Processes = 2, Modules = 8;
}
namespace ProcessAccess {
constexpr std::uint32_t Terminate = 1, All = 0x1F0FFF;
}
// The exit code of a process that has not ended.
constexpr std::uint32_t kStillActive = 259;
namespace FileAttr {
constexpr std::uint32_t ReadOnly = 0x01, Hidden = 0x02, System = 0x04, Directory = 0x10,
                        Archive = 0x20;
}
// getWindow's commands.
namespace WindowWalk {
constexpr std::uint32_t First = 0, Next = 2;
}
// VersionInfo::platformId.
namespace PlatformId {
constexpr std::uint32_t Windows9x = 1, NT = 2;
}

// Record sizes the program passes; the real layer fills them in exactly. The
// pointer-sized fields make three of them longer in the 64-bit build.
#ifdef _WIN64
constexpr std::uint32_t kProcessEntrySize = 304;
constexpr std::uint32_t kModuleEntrySize = 568;
constexpr std::uint32_t kNotifyIconDataSize = 104;
#else
constexpr std::uint32_t kProcessEntrySize = 296;
constexpr std::uint32_t kModuleEntrySize = 548;
constexpr std::uint32_t kNotifyIconDataSize = 88;
#endif
constexpr std::uint32_t kVersionInfoSize = 148;

constexpr std::uint32_t kMaxReadBytes = 64u * 1024 * 1024;

// PROCESSENTRY32: the fields the program reads.
struct ProcessEntry {
    std::uint32_t size = kProcessEntrySize;
    std::uint32_t processId = 0;
    std::uint32_t parentProcessId = 0;
    std::string exeFile;  // szExeFile up to its NUL, at most 259 bytes
};

// MODULEENTRY32: the one field the program reads.
struct ModuleEntry {
    std::uint32_t size = kModuleEntrySize;
    std::string exePath;  // szExePath up to its NUL
};

// OSVERSIONINFOA.
struct VersionInfo {
    std::uint32_t size = kVersionInfoSize;
    std::uint32_t major = 0, minor = 0, build = 0, platformId = 0;
    std::string csdVersion;
};

// Registry roots, as Windows numbers them.
namespace RootKey {
constexpr HKey ClassesRoot = 0x80000000u, CurrentUser = 0x80000001u,
               LocalMachine = 0x80000002u, Users = 0x80000003u;
}
namespace KeyAccess {
constexpr std::uint32_t Read = 0x20019, All = 0xF003F;
}
namespace RegType {
constexpr std::uint32_t None = 0, String = 1, ExpandString = 2, Binary = 3, Dword = 4,
                        MultiString = 7;
}
// Win32 error codes the program tells apart.
namespace Error {
constexpr std::uint32_t Success = 0, FileNotFound = 2, PathNotFound = 3, AccessDenied = 5,
                        InvalidHandle = 6, NotEnoughMemory = 8, NoMoreFiles = 18,
                        GeneralFailure = 31, SharingViolation = 32, DiskFull = 112,
                        CallNotImplemented = 120, ProcNotFound = 127, BadPathname = 161,
                        AlreadyExists = 183, FileTooLarge = 223, MoreData = 234,
                        NoMoreItems = 259, InvalidWindowHandle = 1400, PrivilegeNotHeld = 1314,
                        Timeout = 1460;
}

struct RegValue {
    std::uint32_t type = RegType::None;
    std::string data;  // raw bytes, REG_SZ data includes its terminating NUL
};

struct RegKeyInfo {
    std::uint32_t subKeys = 0, maxSubKeyLen = 0, values = 0, maxValueNameLen = 0,
                  maxValueLen = 0;
};

// NOTIFYICONDATAA in its first, 88-byte form.
struct NotifyIconData {
    Hwnd wnd = 0;
    std::uint32_t id = 0;
    std::uint32_t flags = 0;
    std::uint32_t callbackMessage = 0;
    std::uintptr_t icon = 0;  // HICON
    std::string tip;          // at most 63 bytes are kept, the rest of 64 zero
};
// shellNotifyIcon's messages and NotifyIconData::flags.
namespace TrayMessage {
constexpr std::uint32_t Add = 0, Modify = 1, Delete = 2;
}
namespace TrayFlag {
constexpr std::uint32_t Message = 1, Icon = 2, Tip = 4;
}
// exitWindowsEx's flags.
namespace ExitWindows {
constexpr std::uint32_t LogOff = 0, Shutdown = 1, Reboot = 2;
}

// A WM_CLOSE sent to another program's window is bounded: a window that does
// not answer within the timeout is given up on (Error::Timeout), so our own
// window never freezes for ever on a hung program.
constexpr std::uint32_t kCloseTimeoutMs = 5000;

struct Point { std::int32_t x = 0, y = 0; };

class Os {
public:
    virtual ~Os() = default;

    // --- Toolhelp: looked up by name in kernel32 at first use.
    virtual bool toolhelpAvailable() = 0;
    virtual Status createToolhelp32Snapshot(std::uint32_t flags, std::uint32_t processId,
                                            Handle& snapshot) = 0;
    // Error::NoMoreFiles past the last one.
    virtual Status process32First(Handle snapshot, ProcessEntry& entry) = 0;
    virtual Status process32Next(Handle snapshot, ProcessEntry& entry) = 0;
    virtual Status module32First(Handle snapshot, ModuleEntry& entry) = 0;

    // --- Processes.
    virtual Status openProcess(std::uint32_t access, bool inherit, std::uint32_t processId,
                               Handle& process) = 0;
    virtual Status getExitCodeProcess(Handle process, std::uint32_t& code) = 0;
    virtual Status terminateProcess(Handle process, std::uint32_t exitCode) = 0;
    virtual Status closeHandle(Handle h) = 0;

    // --- Files.
    // `exists` true only when path names an existing file, not a directory.
    // A path that names nothing (no such file, folder or drive, or no single
    // file at all) is no failure; a look that fails otherwise (access
    // denied, a drive not ready) is, and then nobody knows.
    virtual Status fileExists(const std::string& path, bool& exists) = 0;
    virtual Status setFileAttributes(const std::string& path, std::uint32_t attributes) = 0;
    virtual Status deleteFile(const std::string& path) = 0;
    // Whole files. A file over kMaxReadBytes is Error::FileTooLarge, refused
    // rather than exhausting memory.
    virtual Status readFile(const std::string& path, std::string& bytes) = 0;
    virtual Status writeFile(const std::string& path, const std::string& bytes) = 0;
    virtual Status fileAttributes(const std::string& path, std::uint32_t& attributes) = 0;
    // Renames from to to. With replace, an existing `to` is replaced in one
    // step (MoveFileExA); Error::CallNotImplemented where the system cannot
    // do that (the 9x family).
    virtual Status moveFile(const std::string& from, const std::string& to, bool replace) = 0;

    // --- Top-level windows.
    // The window `cmd` names; 0 and success past the last one. A window
    // destroyed under a walk fails with ERROR_INVALID_WINDOW_HANDLE.
    virtual Status getWindow(Hwnd wnd, std::uint32_t cmd, Hwnd& found) = 0;
    // GetWindowTextA with a 255-byte buffer: at most 254 bytes come back.
    virtual int getWindowText(Hwnd wnd, std::string& text) = 0;
    virtual Hwnd findWindow(const char* className, const char* windowName) = 0;
    // Error::Timeout when the window did not answer in time,
    // Error::InvalidWindowHandle when it is gone.
    virtual Status sendClose(Hwnd wnd, std::uint32_t timeoutMs = kCloseTimeoutMs) = 0;
    virtual Status postQuit(Hwnd wnd) = 0;

    // --- Registry.
    virtual Status regOpenKeyEx(HKey root, const std::string& subKey, std::uint32_t access,
                                HKey& key) = 0;
    virtual Status regCreateKeyEx(HKey root, const std::string& subKey, std::uint32_t access,
                                  HKey& key) = 0;
    virtual Status regCloseKey(HKey key) = 0;
    // Error::FileNotFound when the value is missing.
    virtual Status regQueryValueEx(HKey key, const std::string& name, RegValue& value) = 0;
    virtual Status regSetValueEx(HKey key, const std::string& name, const RegValue& value) = 0;
    virtual Status regDeleteValue(HKey key, const std::string& name) = 0;
    // Error::NoMoreItems past the last value; a default value has an empty name.
    virtual Status regEnumValue(HKey key, std::uint32_t index, std::string& name) = 0;
    virtual Status regQueryInfoKey(HKey key, RegKeyInfo& info) = 0;
    virtual Status regDeleteKey(HKey root, const std::string& subKey) = 0;

    // --- System.
    virtual Status getVersionEx(VersionInfo& info) = 0;
    virtual std::uint32_t getTickCount() = 0;
    // ShellExecute's own answers of 32 and below come back as the Win32
    // codes they stand for.
    virtual Status shellExecute(Hwnd wnd, const std::string& verb, const std::string& file,
                                const std::string& params, const std::string& dir,
                                int show) = 0;
    // The running executable's full path.
    virtual Result<std::string> exePath() = 0;
    virtual Status shellNotifyIcon(std::uint32_t message, const NotifyIconData& data) = 0;
    virtual Status getCursorPos(Point& p) = 0;
    virtual Status exitWindowsEx(std::uint32_t flags, std::uint32_t reserved) = 0;
    // SE_SHUTDOWN_NAME in the program's own token (NT family: restarting
    // and shutting down need it).
    virtual Status enableShutdownPrivilege() = 0;
    // The system's own wording for an error code; empty when it has none.
    virtual std::string systemText(std::uint32_t code) = 0;
};

// A failed call raised as OsError with the system's own wording for it.
[[noreturn]] void raiseSystemError(Os& os, Status failure);

// A walk of a list the system keeps (processes, windows), as `walk` fills
// one and says how it ended: one that failed part-way is taken once more,
// whole; failing again, it raises OsError with the system's reason, so
// nothing acts on part of a list.
template <class List, class Walk>
List wholeWalk(Os& os, Walk walk) {
    Status ended;
    for (int attempt = 0; attempt < 2; ++attempt) {
        List list;
        ended = walk(list);
        if (ended) return list;
    }
    raiseSystemError(os, ended);
}

// What ShellExecute's answer (an instance above 32, else an error) stands for.
Status shellExecuteStatus(std::intptr_t answer);

// The text the standard error box shows for a failed file call.
std::string fileErrorText(Os& os, Status failure);
// A failed file call as the helpers above Os raise it.
[[noreturn]] void raiseFileError(Os& os, Status failure);

}  // namespace platform
