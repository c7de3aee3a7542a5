#include "platform/win32/win32_os.h"

#include "platform/win32/win.h"

#include <cstring>
#include <memory>

#include "base/gb18030.h"
#include "base/text.h"
#include "platform/win32/wide.h"

namespace platform {

namespace {

// Toolhelp records, ANSI, laid out as kernel32 expects them. Defined here so
// the sizes we pass never depend on the headers' version macros.
struct ProcessEntry32A {
    DWORD dwSize;
    DWORD cntUsage;
    DWORD th32ProcessID;
    ULONG_PTR th32DefaultHeapID;
    DWORD th32ModuleID;
    DWORD cntThreads;
    DWORD th32ParentProcessID;
    LONG pcPriClassBase;
    DWORD dwFlags;
    CHAR szExeFile[MAX_PATH];
};
static_assert(sizeof(ProcessEntry32A) == platform::kProcessEntrySize);

struct ModuleEntry32A {
    DWORD dwSize;
    DWORD th32ModuleID;
    DWORD th32ProcessID;
    DWORD GlblcntUsage;
    DWORD ProccntUsage;
    BYTE* modBaseAddr;
    DWORD modBaseSize;
    HMODULE hModule;
    CHAR szModule[256];
    CHAR szExePath[MAX_PATH];
};
static_assert(sizeof(ModuleEntry32A) == platform::kModuleEntrySize);

// The same records with UTF-16 names, for the NT family.
struct ProcessEntry32W {
    DWORD dwSize;
    DWORD cntUsage;
    DWORD th32ProcessID;
    ULONG_PTR th32DefaultHeapID;
    DWORD th32ModuleID;
    DWORD cntThreads;
    DWORD th32ParentProcessID;
    LONG pcPriClassBase;
    DWORD dwFlags;
    WCHAR szExeFile[MAX_PATH];
};

struct ModuleEntry32W {
    DWORD dwSize;
    DWORD th32ModuleID;
    DWORD th32ProcessID;
    DWORD GlblcntUsage;
    DWORD ProccntUsage;
    BYTE* modBaseAddr;
    DWORD modBaseSize;
    HMODULE hModule;
    WCHAR szModule[256];
    WCHAR szExePath[MAX_PATH];
};

// NOTIFYICONDATAA as Windows 95 and NT 4 know it (NOTIFYICONDATAA_V1_SIZE).
struct NotifyIconDataV1 {
    DWORD cbSize;
    HWND hWnd;
    UINT uID;
    UINT uFlags;
    UINT uCallbackMessage;
    HICON hIcon;
    CHAR szTip[64];
};
static_assert(sizeof(NotifyIconDataV1) == platform::kNotifyIconDataSize);

struct NotifyIconDataV1W {
    DWORD cbSize;
    HWND hWnd;
    UINT uID;
    UINT uFlags;
    UINT uCallbackMessage;
    HICON hIcon;
    WCHAR szTip[64];
};
static_assert(sizeof(OSVERSIONINFOA) == platform::kVersionInfoSize);

using CreateSnapshotFn = HANDLE(WINAPI*)(DWORD, DWORD);
using ProcessWalkFn = BOOL(WINAPI*)(HANDLE, ProcessEntry32A*);
using ModuleWalkFn = BOOL(WINAPI*)(HANDLE, ModuleEntry32A*);
using ProcessWalkWFn = BOOL(WINAPI*)(HANDLE, ProcessEntry32W*);
using ModuleWalkWFn = BOOL(WINAPI*)(HANDLE, ModuleEntry32W*);

template <class Fn>
Fn lookUp(HMODULE module, const char* name) {
    // GetProcAddress hands back a generic FARPROC; the cast to the real
    // signature goes through void* to keep -Wcast-function-type quiet.
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// The shell library is loaded when first needed (a mail link, the
// notification icon), not at every start: under Wine it pulls in several
// more libraries.
HMODULE shellLibrary() {
    static const HMODULE shell = LoadLibraryA("shell32.dll");
    return shell;
}

template <class Fn>
Fn shellFunction(const char* name) {
    HMODULE shell = shellLibrary();
    return shell ? lookUp<Fn>(shell, name) : nullptr;
}

HANDLE asHandle(platform::Handle h) { return reinterpret_cast<HANDLE>(h); }
HWND asHwnd(platform::Hwnd h) { return reinterpret_cast<HWND>(h); }
HKEY asHkey(platform::HKey k) { return reinterpret_cast<HKEY>(k); }

// szExeFile and friends up to their NUL, never past the field.
std::string fieldText(const char* field, std::size_t size) {
    const void* nul = std::memchr(field, 0, size);
    return std::string(field, nul ? static_cast<const char*>(nul) - field : size);
}

// Bytes of `text` that fit in `room` bytes before a NUL, without splitting a
// character.
std::size_t fitGbk(const std::string& text, std::size_t room) {
    std::size_t i = 0;
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    while (i < text.size()) {
        const std::size_t step = base::gbCharLength(p + i, text.size() - i);
        if (i + step > room) break;
        i += step;
    }
    return i;
}

// A name read in UTF-16, held to the bytes the ANSI field would have held.
std::string fieldTextW(const WCHAR* field, std::size_t size, std::size_t room) {
    std::string text = wide::narrowField(field, size);
    text.resize(fitGbk(text, room));
    return text;
}

// The W functions the NT family is asked through, looked up once: Windows 95
// exports few of them. Null where the program stays on the ANSI calls.
struct WideCalls {
    decltype(&CreateFileW) createFile;
    decltype(&FindFirstFileW) findFirstFile;
    decltype(&SetFileAttributesW) setFileAttributes;
    decltype(&DeleteFileW) deleteFile;
    decltype(&GetFileAttributesW) getFileAttributes;
    decltype(&MoveFileW) moveFile;
    decltype(&MoveFileExW) moveFileEx;
    decltype(&GetModuleFileNameW) moduleFileName;
    decltype(&GetWindowTextW) getWindowText;
    decltype(&FindWindowW) findWindow;
    decltype(&RegOpenKeyExW) regOpenKey;
    decltype(&RegCreateKeyExW) regCreateKey;
    decltype(&RegQueryValueExW) regQueryValue;
    decltype(&RegSetValueExW) regSetValue;
    decltype(&RegDeleteValueW) regDeleteValue;
    decltype(&RegEnumValueW) regEnumValue;
    decltype(&RegDeleteKeyW) regDeleteKey;
};

const WideCalls* wideCalls() {
    static const WideCalls* const calls = []() -> const WideCalls* {
        if (!wide::on()) return nullptr;
        static WideCalls c;
        const HMODULE k = GetModuleHandleA("kernel32.dll"), u = GetModuleHandleA("user32.dll");
        const HMODULE a = LoadLibraryA("advapi32.dll");
        c.createFile = wide::function<decltype(c.createFile)>(k, "CreateFileW");
        c.findFirstFile = wide::function<decltype(c.findFirstFile)>(k, "FindFirstFileW");
        c.setFileAttributes = wide::function<decltype(c.setFileAttributes)>(k, "SetFileAttributesW");
        c.deleteFile = wide::function<decltype(c.deleteFile)>(k, "DeleteFileW");
        c.getFileAttributes = wide::function<decltype(c.getFileAttributes)>(k, "GetFileAttributesW");
        c.moveFile = wide::function<decltype(c.moveFile)>(k, "MoveFileW");
        c.moveFileEx = wide::function<decltype(c.moveFileEx)>(k, "MoveFileExW");
        c.moduleFileName = wide::function<decltype(c.moduleFileName)>(k, "GetModuleFileNameW");
        c.getWindowText = wide::function<decltype(c.getWindowText)>(u, "GetWindowTextW");
        c.findWindow = wide::function<decltype(c.findWindow)>(u, "FindWindowW");
        c.regOpenKey = wide::function<decltype(c.regOpenKey)>(a, "RegOpenKeyExW");
        c.regCreateKey = wide::function<decltype(c.regCreateKey)>(a, "RegCreateKeyExW");
        c.regQueryValue = wide::function<decltype(c.regQueryValue)>(a, "RegQueryValueExW");
        c.regSetValue = wide::function<decltype(c.regSetValue)>(a, "RegSetValueExW");
        c.regDeleteValue = wide::function<decltype(c.regDeleteValue)>(a, "RegDeleteValueW");
        c.regEnumValue = wide::function<decltype(c.regEnumValue)>(a, "RegEnumValueW");
        c.regDeleteKey = wide::function<decltype(c.regDeleteKey)>(a, "RegDeleteKeyW");
        // All or none: half the calls in UTF-16 would name things two ways.
        const void* const* f = reinterpret_cast<const void* const*>(&c);
        for (std::size_t i = 0; i < sizeof c / sizeof(void*); ++i)
            if (!f[i]) return nullptr;
        return &c;
    }();
    return calls;
}

std::wstring w(const std::string& text) { return wide::widen(text); }

// String data travels in UTF-16 on the NT family's side, bytes of ours on
// this side; other types pass as they are.
bool isStringType(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ; }

// The code of the call that just failed. The 9x family leaves the last
// error alone for some calls; a failure must never read as success.
platform::Status lastFailure() {
    const DWORD code = GetLastError();
    return code ? platform::Status(code) : platform::Status(platform::Error::GeneralFailure);
}

platform::Status failedUnless(BOOL ok) { return ok ? platform::Status() : lastFailure(); }

HANDLE openFile(const std::string& path, DWORD access, DWORD share, DWORD disposition) {
    if (const WideCalls* wc = wideCalls())
        return wc->createFile(w(path).c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    return CreateFileA(path.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Closes a file handle however the helper leaves.
struct FileCloser {
    HANDLE h;
    ~FileCloser() {
        if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    }
};

}  // namespace

struct Win32Os::Toolhelp {
    bool available = false;
    CreateSnapshotFn createSnapshot = nullptr;
    ProcessWalkFn processFirst = nullptr;
    ProcessWalkFn processNext = nullptr;
    ModuleWalkFn moduleFirst = nullptr;
    // The UTF-16 walk, where the names are asked for in UTF-16.
    ProcessWalkWFn processFirstW = nullptr;
    ProcessWalkWFn processNextW = nullptr;
    ModuleWalkWFn moduleFirstW = nullptr;
};

Win32Os::Win32Os() = default;
Win32Os::~Win32Os() = default;

// Never imported: NT 4's kernel32 has no Toolhelp, and a static import would
// keep the program from loading there at all.
Win32Os::Toolhelp& Win32Os::toolhelp() {
    if (th_) return *th_;
    th_ = std::make_unique<Toolhelp>();
    if (HMODULE k32 = GetModuleHandleA("kernel32.dll")) {
        th_->createSnapshot = lookUp<CreateSnapshotFn>(k32, "CreateToolhelp32Snapshot");
        th_->processFirst = lookUp<ProcessWalkFn>(k32, "Process32First");
        th_->processNext = lookUp<ProcessWalkFn>(k32, "Process32Next");
        th_->moduleFirst = lookUp<ModuleWalkFn>(k32, "Module32First");
        if (wideCalls()) {
            th_->processFirstW = lookUp<ProcessWalkWFn>(k32, "Process32FirstW");
            th_->processNextW = lookUp<ProcessWalkWFn>(k32, "Process32NextW");
            th_->moduleFirstW = lookUp<ModuleWalkWFn>(k32, "Module32FirstW");
        }
        th_->available = th_->createSnapshot != nullptr;
    }
    return *th_;
}

bool Win32Os::toolhelpAvailable() { return toolhelp().available; }

platform::Status Win32Os::createToolhelp32Snapshot(std::uint32_t flags, std::uint32_t processId,
                                                   platform::Handle& snapshot) {
    snapshot = platform::kNoHandle;
    Toolhelp& th = toolhelp();
    if (!th.available) return platform::Error::CallNotImplemented;
    HANDLE h = th.createSnapshot(flags, processId);
    if (h == INVALID_HANDLE_VALUE || h == nullptr) return lastFailure();
    snapshot = reinterpret_cast<platform::Handle>(h);
    return {};
}

// The caller's record size, in the record the walk fills: the ANSI one as
// asked, or its UTF-16 twin, whose name field holds the same characters.
template <class Raw, class Narrow>
static platform::Status walkProcess(BOOL(WINAPI* fn)(HANDLE, Raw*), platform::Handle snapshot,
                                    platform::ProcessEntry& entry, std::uint32_t size,
                                    Narrow narrowName) {
    if (!fn) return platform::Error::CallNotImplemented;
    if (snapshot == platform::kNoHandle) return platform::Error::InvalidHandle;
    Raw raw{};
    // A caller's size larger than our record would let kernel32 write past it.
    raw.dwSize = size <= sizeof raw ? size : sizeof raw;
    // A walk stopping without a reason (the 9x family may set none) is at
    // its end, as every walk was taken to be; a stale code must not count.
    SetLastError(0);
    if (!fn(asHandle(snapshot), &raw)) {
        const DWORD code = GetLastError();
        return code ? platform::Status(code) : platform::Status(platform::Error::NoMoreFiles);
    }
    entry.processId = raw.th32ProcessID;
    entry.parentProcessId = raw.th32ParentProcessID;
    entry.exeFile = narrowName(raw.szExeFile);
    return {};
}

// The UTF-16 record is the ANSI one with its name field doubled.
static std::uint32_t wideSize(std::uint32_t size, std::uint32_t fieldBytes) {
    return size >= fieldBytes ? size + fieldBytes : size;
}

static platform::Status walkProcess(const Win32Os::Toolhelp& th, bool first,
                                    platform::Handle snapshot, platform::ProcessEntry& entry) {
    if (ProcessWalkWFn fn = first ? th.processFirstW : th.processNextW)
        return walkProcess(fn, snapshot, entry, wideSize(entry.size, MAX_PATH), [](const WCHAR* f) {
            return fieldTextW(f, MAX_PATH, MAX_PATH - 1);
        });
    return walkProcess(first ? th.processFirst : th.processNext, snapshot, entry, entry.size,
                       [](const char* f) { return fieldText(f, MAX_PATH); });
}

platform::Status Win32Os::process32First(platform::Handle snapshot, platform::ProcessEntry& entry) {
    return walkProcess(toolhelp(), true, snapshot, entry);
}

platform::Status Win32Os::process32Next(platform::Handle snapshot, platform::ProcessEntry& entry) {
    return walkProcess(toolhelp(), false, snapshot, entry);
}

platform::Status Win32Os::module32First(platform::Handle snapshot, platform::ModuleEntry& entry) {
    if (ModuleWalkWFn fnW = toolhelp().moduleFirstW) {
        if (snapshot == platform::kNoHandle) return platform::Error::InvalidHandle;
        ModuleEntry32W raw{};
        const std::uint32_t size = wideSize(entry.size, 256 + MAX_PATH);
        raw.dwSize = size <= sizeof raw ? size : sizeof raw;
        if (!fnW(asHandle(snapshot), &raw)) return lastFailure();
        entry.exePath = fieldTextW(raw.szExePath, MAX_PATH, MAX_PATH - 1);
        return {};
    }
    ModuleWalkFn fn = toolhelp().moduleFirst;
    if (!fn) return platform::Error::CallNotImplemented;
    if (snapshot == platform::kNoHandle) return platform::Error::InvalidHandle;
    ModuleEntry32A raw{};
    raw.dwSize = entry.size <= sizeof raw ? entry.size : sizeof raw;
    if (!fn(asHandle(snapshot), &raw)) return lastFailure();
    entry.exePath = fieldText(raw.szExePath, sizeof raw.szExePath);
    return {};
}

platform::Status Win32Os::openProcess(std::uint32_t access, bool inherit, std::uint32_t processId,
                                      platform::Handle& process) {
    process = reinterpret_cast<platform::Handle>(OpenProcess(access, inherit ? TRUE : FALSE, processId));
    return process ? platform::Status() : lastFailure();
}

platform::Status Win32Os::getExitCodeProcess(platform::Handle process, std::uint32_t& code) {
    DWORD c = 0;
    if (!GetExitCodeProcess(asHandle(process), &c)) return lastFailure();
    code = c;
    return {};
}

platform::Status Win32Os::terminateProcess(platform::Handle process, std::uint32_t exitCode) {
    return failedUnless(TerminateProcess(asHandle(process), exitCode));
}

platform::Status Win32Os::closeHandle(platform::Handle h) {
    if (h == platform::kNoHandle) return platform::Error::InvalidHandle;
    return failedUnless(CloseHandle(asHandle(h)));
}

platform::Status Win32Os::fileExists(const std::string& path, bool& exists) {
    exists = false;
    // FindFirstFileA takes wildcards; a path holding one names no single file.
    // Neither byte can be the trail byte of a GBK character.
    if (path.empty() || path.find_first_of("*?") != std::string::npos) return {};
    DWORD attributes = 0;
    HANDLE h;
    if (const WideCalls* wc = wideCalls()) {
        WIN32_FIND_DATAW fd;
        h = wc->findFirstFile(w(path).c_str(), &fd);
        attributes = fd.dwFileAttributes;
    } else {
        WIN32_FIND_DATAA fd;
        h = FindFirstFileA(path.c_str(), &fd);
        attributes = fd.dwFileAttributes;
    }
    if (h == INVALID_HANDLE_VALUE) {
        switch (const DWORD code = GetLastError()) {
        case platform::Error::FileNotFound: case platform::Error::PathNotFound:
        case platform::Error::NoMoreFiles: case platform::Error::BadPathname:
        case ERROR_INVALID_DRIVE: case ERROR_INVALID_NAME:
            return {};
        default: return code ? platform::Status(code) : platform::Status(platform::Error::GeneralFailure);
        }
    }
    FindClose(h);
    exists = (attributes & platform::FileAttr::Directory) == 0;
    return {};
}

platform::Status Win32Os::setFileAttributes(const std::string& path, std::uint32_t attributes) {
    if (const WideCalls* wc = wideCalls()) return failedUnless(wc->setFileAttributes(w(path).c_str(), attributes));
    return failedUnless(SetFileAttributesA(path.c_str(), attributes));
}

platform::Status Win32Os::deleteFile(const std::string& path) {
    if (const WideCalls* wc = wideCalls()) return failedUnless(wc->deleteFile(w(path).c_str()));
    return failedUnless(DeleteFileA(path.c_str()));
}

platform::Status Win32Os::readFile(const std::string& path, std::string& bytes) {
    FileCloser f{openFile(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING)};
    if (f.h == INVALID_HANDLE_VALUE) return lastFailure();
    DWORD high = 0;
    SetLastError(NO_ERROR);  // a size of 0xFFFFFFFF is told from a failure only so
    DWORD low = GetFileSize(f.h, &high);
    if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) return lastFailure();
    if (high != 0 || low > platform::kMaxReadBytes) return platform::Error::FileTooLarge;
    std::string read(low, '\0');
    DWORD done = 0;
    while (done < low) {
        DWORD got = 0;
        if (!ReadFile(f.h, &read[done], low - done, &got, nullptr)) return lastFailure();
        if (got == 0) break;  // the file shrank while we read it
        done += got;
    }
    read.resize(done);
    bytes = std::move(read);
    return {};
}

platform::Status Win32Os::writeFile(const std::string& path, const std::string& bytes) {
    FileCloser f{openFile(path, GENERIC_WRITE, 0, CREATE_ALWAYS)};
    if (f.h == INVALID_HANDLE_VALUE) return lastFailure();
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD put = 0;
        DWORD chunk = static_cast<DWORD>(bytes.size() - done);
        if (!WriteFile(f.h, bytes.data() + done, chunk, &put, nullptr)) return lastFailure();
        if (put == 0) return platform::Error::DiskFull;
        done += put;
    }
    return {};
}

platform::Status Win32Os::fileAttributes(const std::string& path, std::uint32_t& attributes) {
    const WideCalls* wc = wideCalls();
    attributes = wc ? wc->getFileAttributes(w(path).c_str()) : GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES ? platform::Status() : lastFailure();
}

platform::Status Win32Os::moveFile(const std::string& from, const std::string& to, bool replace) {
    if (const WideCalls* wc = wideCalls())
        return failedUnless(replace ? wc->moveFileEx(w(from).c_str(), w(to).c_str(), MOVEFILE_REPLACE_EXISTING)
                                    : wc->moveFile(w(from).c_str(), w(to).c_str()));
    if (!replace) return failedUnless(MoveFileA(from.c_str(), to.c_str()));
    // Looked up, not imported: kernel32 of the 9x family has only a stub, and
    // an import of something newer would keep the program from loading.
    using MoveFileExFn = BOOL(WINAPI*)(LPCSTR, LPCSTR, DWORD);
    static const auto moveEx = lookUp<MoveFileExFn>(GetModuleHandleA("kernel32.dll"), "MoveFileExA");
    if (!moveEx) return platform::Error::CallNotImplemented;
    return failedUnless(moveEx(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING));
}

// NULL is the end of the list unless the call says why it failed.
platform::Status Win32Os::getWindow(platform::Hwnd wnd, std::uint32_t cmd, platform::Hwnd& found) {
    SetLastError(0);
    found = reinterpret_cast<platform::Hwnd>(GetWindow(asHwnd(wnd), cmd));
    return found ? platform::Status() : platform::Status(GetLastError());
}

int Win32Os::getWindowText(platform::Hwnd wnd, std::string& text) {
    if (const WideCalls* wc = wideCalls()) {
        WCHAR buf[255];
        int n = wc->getWindowText(asHwnd(wnd), buf, 255);
        text = fieldTextW(buf, n > 0 ? static_cast<std::size_t>(n) : 0, 254);
        return static_cast<int>(text.size());
    }
    char buf[255];
    int n = GetWindowTextA(asHwnd(wnd), buf, sizeof buf);
    if (n < 0) n = 0;
    if (n > static_cast<int>(sizeof buf) - 1) n = sizeof buf - 1;
    text.assign(buf, n);
    return n;
}

platform::Hwnd Win32Os::findWindow(const char* className, const char* windowName) {
    if (const WideCalls* wc = wideCalls()) {
        const std::wstring cls = className ? w(className) : std::wstring();
        const std::wstring name = windowName ? w(windowName) : std::wstring();
        return reinterpret_cast<platform::Hwnd>(
            wc->findWindow(className ? cls.c_str() : nullptr, windowName ? name.c_str() : nullptr));
    }
    return reinterpret_cast<platform::Hwnd>(FindWindowA(className, windowName));
}

// A plain SendMessageA would block until the other program answers, so a hung
// window would freeze ours for good. The timeout bounds the wait, and
// SMTO_ABORTIFHUNG gives up at once on a window the system already knows hung.
platform::Status Win32Os::sendClose(platform::Hwnd wnd, std::uint32_t timeoutMs) {
    HWND h = asHwnd(wnd);
    if (!IsWindow(h)) return platform::Error::InvalidWindowHandle;
    DWORD_PTR answer = 0;
    if (SendMessageTimeoutA(h, WM_CLOSE, 0, 0, SMTO_ABORTIFHUNG | SMTO_NORMAL, timeoutMs,
                            &answer))
        return {};
    // 9x leaves the last error alone, so judge by the window: one still there
    // did not answer in time; one that is gone failed as a target.
    return IsWindow(h) ? platform::Error::Timeout : platform::Error::InvalidWindowHandle;
}

platform::Status Win32Os::postQuit(platform::Hwnd wnd) {
    return failedUnless(PostMessageA(asHwnd(wnd), WM_QUIT, 0, 0));
}

platform::Status Win32Os::regOpenKeyEx(platform::HKey root, const std::string& subKey,
                                       std::uint32_t access, platform::HKey& key) {
    HKEY k = nullptr;
    const WideCalls* wc = wideCalls();
    LONG rc = wc ? wc->regOpenKey(asHkey(root), w(subKey).c_str(), 0, access, &k)
                 : RegOpenKeyExA(asHkey(root), subKey.c_str(), 0, access, &k);
    key = rc == ERROR_SUCCESS ? reinterpret_cast<platform::HKey>(k) : 0;
    return static_cast<std::uint32_t>(rc);
}

platform::Status Win32Os::regCreateKeyEx(platform::HKey root, const std::string& subKey,
                                         std::uint32_t access, platform::HKey& key) {
    HKEY k = nullptr;
    DWORD disposition = 0;
    const WideCalls* wc = wideCalls();
    LONG rc = wc ? wc->regCreateKey(asHkey(root), w(subKey).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                    access, nullptr, &k, &disposition)
                 : RegCreateKeyExA(asHkey(root), subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                   access, nullptr, &k, &disposition);
    key = rc == ERROR_SUCCESS ? reinterpret_cast<platform::HKey>(k) : 0;
    return static_cast<std::uint32_t>(rc);
}

platform::Status Win32Os::regCloseKey(platform::HKey key) {
    return static_cast<std::uint32_t>(RegCloseKey(asHkey(key)));
}

platform::Status Win32Os::regQueryValueEx(platform::HKey key, const std::string& name,
                                          platform::RegValue& value) {
    if (const WideCalls* wc = wideCalls()) {
        const std::wstring wname = w(name);
        for (int attempt = 0; attempt < 4; ++attempt) {
            DWORD type = 0, size = 0;
            LONG rc = wc->regQueryValue(asHkey(key), wname.c_str(), nullptr, &type, nullptr, &size);
            if (rc != ERROR_SUCCESS) return static_cast<std::uint32_t>(rc);
            std::string data(size, '\0');
            rc = wc->regQueryValue(asHkey(key), wname.c_str(), nullptr, &type,
                                   size ? reinterpret_cast<BYTE*>(&data[0]) : nullptr, &size);
            if (rc == ERROR_MORE_DATA) continue;
            if (rc != ERROR_SUCCESS) return static_cast<std::uint32_t>(rc);
            data.resize(size);
            if (isStringType(type)) {
                std::wstring units(size / sizeof(WCHAR), L'\0');
                if (!units.empty()) std::memcpy(&units[0], data.data(), units.size() * sizeof(WCHAR));
                data = wide::narrow(units);
            }
            value.type = type;
            value.data = std::move(data);
            return {};
        }
        return platform::Error::MoreData;
    }
    // The value may grow between asking its size and reading it; a few tries
    // settle that without looping for ever.
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD type = 0, size = 0;
        LONG rc = RegQueryValueExA(asHkey(key), name.c_str(), nullptr, &type, nullptr, &size);
        if (rc != ERROR_SUCCESS) return static_cast<std::uint32_t>(rc);
        std::string data(size, '\0');
        rc = RegQueryValueExA(asHkey(key), name.c_str(), nullptr, &type,
                              size ? reinterpret_cast<BYTE*>(&data[0]) : nullptr, &size);
        if (rc == ERROR_MORE_DATA) continue;
        if (rc != ERROR_SUCCESS) return static_cast<std::uint32_t>(rc);
        data.resize(size);
        value.type = type;
        value.data = std::move(data);
        return {};
    }
    return platform::Error::MoreData;
}

platform::Status Win32Os::regSetValueEx(platform::HKey key, const std::string& name,
                                        const platform::RegValue& value) {
    if (const WideCalls* wc = wideCalls()) {
        if (!isStringType(value.type))
            return static_cast<std::uint32_t>(wc->regSetValue(asHkey(key), w(name).c_str(), 0, value.type,
                reinterpret_cast<const BYTE*>(value.data.data()), static_cast<DWORD>(value.data.size())));
        const std::wstring data = w(value.data);
        return static_cast<std::uint32_t>(wc->regSetValue(asHkey(key), w(name).c_str(), 0, value.type,
            reinterpret_cast<const BYTE*>(data.data()), static_cast<DWORD>(data.size() * sizeof(WCHAR))));
    }
    return static_cast<std::uint32_t>(RegSetValueExA(asHkey(key), name.c_str(), 0, value.type,
                                                     reinterpret_cast<const BYTE*>(value.data.data()),
                                                     static_cast<DWORD>(value.data.size())));
}

platform::Status Win32Os::regDeleteValue(platform::HKey key, const std::string& name) {
    if (const WideCalls* wc = wideCalls())
        return static_cast<std::uint32_t>(wc->regDeleteValue(asHkey(key), w(name).c_str()));
    return static_cast<std::uint32_t>(RegDeleteValueA(asHkey(key), name.c_str()));
}

platform::Status Win32Os::regEnumValue(platform::HKey key, std::uint32_t index, std::string& name) {
    // Value names are at most 16383 characters on NT, 255 bytes on 9x.
    if (const WideCalls* wc = wideCalls()) {
        for (DWORD room = 256; room <= 32768; room *= 2) {
            std::wstring buf(room, L'\0');
            DWORD len = room;
            LONG rc = wc->regEnumValue(asHkey(key), index, &buf[0], &len, nullptr, nullptr, nullptr, nullptr);
            if (rc == ERROR_MORE_DATA) continue;
            if (rc == ERROR_SUCCESS) name = wide::narrow(buf.data(), len < room ? len : room - 1);
            return static_cast<std::uint32_t>(rc);
        }
        return platform::Error::MoreData;
    }
    for (DWORD room = 256; room <= 32768; room *= 2) {
        std::string buf(room, '\0');
        DWORD len = room;
        LONG rc = RegEnumValueA(asHkey(key), index, &buf[0], &len, nullptr, nullptr, nullptr,
                                nullptr);
        if (rc == ERROR_MORE_DATA) continue;
        if (rc == ERROR_SUCCESS) name.assign(buf.data(), len < room ? len : room - 1);
        return static_cast<std::uint32_t>(rc);
    }
    return platform::Error::MoreData;
}

platform::Status Win32Os::regQueryInfoKey(platform::HKey key, platform::RegKeyInfo& info) {
    DWORD subKeys = 0, maxSubKeyLen = 0, values = 0, maxValueNameLen = 0, maxValueLen = 0;
    LONG rc = RegQueryInfoKeyA(asHkey(key), nullptr, nullptr, nullptr, &subKeys, &maxSubKeyLen,
                               nullptr, &values, &maxValueNameLen, &maxValueLen, nullptr, nullptr);
    if (rc == ERROR_SUCCESS) {
        info.subKeys = subKeys;
        info.maxSubKeyLen = maxSubKeyLen;
        info.values = values;
        info.maxValueNameLen = maxValueNameLen;
        info.maxValueLen = maxValueLen;
    }
    return static_cast<std::uint32_t>(rc);
}

platform::Status Win32Os::regDeleteKey(platform::HKey root, const std::string& subKey) {
    if (const WideCalls* wc = wideCalls())
        return static_cast<std::uint32_t>(wc->regDeleteKey(asHkey(root), w(subKey).c_str()));
    return static_cast<std::uint32_t>(RegDeleteKeyA(asHkey(root), subKey.c_str()));
}

platform::Status Win32Os::getVersionEx(platform::VersionInfo& info) {
    OSVERSIONINFOA v{};
    v.dwOSVersionInfoSize = info.size <= sizeof v ? info.size : sizeof v;
    if (!GetVersionExA(&v)) return lastFailure();
    info.major = v.dwMajorVersion;
    info.minor = v.dwMinorVersion;
    info.build = v.dwBuildNumber;
    info.platformId = v.dwPlatformId;
    info.csdVersion = fieldText(v.szCSDVersion, sizeof v.szCSDVersion);
    return {};
}

std::uint32_t Win32Os::getTickCount() { return GetTickCount(); }

platform::Status Win32Os::shellExecute(platform::Hwnd wnd, const std::string& verb,
                                       const std::string& file, const std::string& params,
                                       const std::string& dir, int show) {
    if (wideCalls()) {
        using ShellExecuteWFn = HINSTANCE(WINAPI*)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT);
        static const ShellExecuteWFn runW = shellFunction<ShellExecuteWFn>("ShellExecuteW");
        if (!runW) return platform::Error::NotEnoughMemory;
        return platform::shellExecuteStatus(reinterpret_cast<std::intptr_t>(
            runW(asHwnd(wnd), verb.empty() ? nullptr : w(verb).c_str(), w(file).c_str(),
                 w(params).c_str(), w(dir).c_str(), show)));
    }
    using ShellExecuteFn = HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
    static const ShellExecuteFn run = shellFunction<ShellExecuteFn>("ShellExecuteA");
    if (!run) return platform::Error::NotEnoughMemory;
    const std::intptr_t r = reinterpret_cast<std::intptr_t>(
        run(asHwnd(wnd), verb.empty() ? nullptr : verb.c_str(), file.c_str(), params.c_str(),
            dir.c_str(), show));
    return platform::shellExecuteStatus(r);
}

platform::Status Win32Os::exePath(std::string& path) {
    // A path cut to the buffer comes back without its NUL on XP; grow until it fits.
    if (const WideCalls* wc = wideCalls()) {
        for (DWORD room = MAX_PATH; room <= 32768; room *= 2) {
            std::wstring buf(room, L'\0');
            DWORD n = wc->moduleFileName(nullptr, &buf[0], room);
            if (n == 0) return lastFailure();
            if (n < room - 1) {
                path = wide::narrow(buf.data(), n);
                return {};
            }
        }
        return platform::Error::BadPathname;
    }
    for (DWORD room = MAX_PATH; room <= 32768; room *= 2) {
        std::string buf(room, '\0');
        DWORD n = GetModuleFileNameA(nullptr, &buf[0], room);
        if (n == 0) return lastFailure();
        if (n < room - 1) {
            buf.resize(n);
            path = std::move(buf);
            return {};
        }
    }
    return platform::Error::BadPathname;
}

platform::Status Win32Os::shellNotifyIcon(std::uint32_t message, const platform::NotifyIconData& data) {
    if (wideCalls()) {
        NotifyIconDataV1W nid;
        std::memset(&nid, 0, sizeof nid);
        nid.cbSize = sizeof nid;
        nid.hWnd = asHwnd(data.wnd);
        nid.uID = data.id;
        nid.uFlags = data.flags;
        nid.uCallbackMessage = data.callbackMessage;
        nid.hIcon = reinterpret_cast<HICON>(data.icon);
        const std::wstring tip = w(data.tip.substr(0, fitGbk(data.tip, 63)));
        std::memcpy(nid.szTip, tip.data(), (tip.size() < 63 ? tip.size() : 63) * sizeof(WCHAR));
        using NotifyWFn = BOOL(WINAPI*)(DWORD, NotifyIconDataV1W*);
        static const NotifyWFn notifyW = shellFunction<NotifyWFn>("Shell_NotifyIconW");
        if (!notifyW) return platform::Error::ProcNotFound;
        return failedUnless(notifyW(message, &nid));
    }
    NotifyIconDataV1 nid;
    std::memset(&nid, 0, sizeof nid);
    nid.cbSize = sizeof nid;
    nid.hWnd = asHwnd(data.wnd);
    nid.uID = data.id;
    nid.uFlags = data.flags;
    nid.uCallbackMessage = data.callbackMessage;
    nid.hIcon = reinterpret_cast<HICON>(data.icon);
    std::memcpy(nid.szTip, data.tip.data(), fitGbk(data.tip, sizeof nid.szTip - 1));
    using NotifyFn = BOOL(WINAPI*)(DWORD, NOTIFYICONDATAA*);
    static const NotifyFn notify = shellFunction<NotifyFn>("Shell_NotifyIconA");
    if (!notify) return platform::Error::ProcNotFound;
    return failedUnless(notify(message, reinterpret_cast<NOTIFYICONDATAA*>(&nid)));
}

platform::Status Win32Os::getCursorPos(platform::Point& p) {
    POINT pt{};
    if (!GetCursorPos(&pt)) return lastFailure();
    p.x = pt.x;
    p.y = pt.y;
    return {};
}

platform::Status Win32Os::exitWindowsEx(std::uint32_t flags, std::uint32_t reserved) {
    return failedUnless(ExitWindowsEx(flags, reserved));
}

// Looked up, never imported: Windows 95's advapi32 has none of the three.
platform::Status Win32Os::enableShutdownPrivilege() {
    using OpenTokenFn = BOOL(WINAPI*)(HANDLE, DWORD, PHANDLE);
    using LookupFn = BOOL(WINAPI*)(LPCSTR, LPCSTR, PLUID);
    using AdjustFn = BOOL(WINAPI*)(HANDLE, BOOL, PTOKEN_PRIVILEGES, DWORD, PTOKEN_PRIVILEGES, PDWORD);
    HMODULE advapi = GetModuleHandleA("advapi32.dll");
    if (!advapi) return platform::Error::CallNotImplemented;
    auto find = [advapi](const char* name) { return reinterpret_cast<void*>(GetProcAddress(advapi, name)); };
    const auto openToken = reinterpret_cast<OpenTokenFn>(find("OpenProcessToken"));
    const auto lookup = reinterpret_cast<LookupFn>(find("LookupPrivilegeValueA"));
    const auto adjust = reinterpret_cast<AdjustFn>(find("AdjustTokenPrivileges"));
    if (!openToken || !lookup || !adjust) return platform::Error::CallNotImplemented;
    HANDLE token = nullptr;
    if (!openToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
        return lastFailure();
    TOKEN_PRIVILEGES tp{};
    tp.PrivilegeCount = 1;
    tp.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    platform::Status status = failedUnless(lookup(nullptr, "SeShutdownPrivilege", &tp.Privileges[0].Luid));
    // Success may still mean the token lacks it: ERROR_NOT_ALL_ASSIGNED.
    if (status) {
        SetLastError(NO_ERROR);
        status = failedUnless(adjust(token, FALSE, &tp, 0, nullptr, nullptr));
        if (status && GetLastError() != NO_ERROR) status = GetLastError();
    }
    CloseHandle(token);
    return status;
}

std::string Win32Os::systemText(std::uint32_t code) {
    // In the system's own language, whatever its code page.
    using FormatWFn = DWORD(WINAPI*)(DWORD, LPCVOID, DWORD, DWORD, LPWSTR, DWORD, va_list*);
    static const FormatWFn formatW =
        wideCalls() ? lookUp<FormatWFn>(GetModuleHandleA("kernel32.dll"), "FormatMessageW") : nullptr;
    if (formatW) {
        WCHAR* wbuf = nullptr;
        DWORD n = formatW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                              FORMAT_MESSAGE_IGNORE_INSERTS,
                          nullptr, code, 0, reinterpret_cast<WCHAR*>(&wbuf), 0, nullptr);
        std::string text = n && wbuf ? base::trim(wide::narrow(wbuf, n)) : std::string();
        if (wbuf) LocalFree(wbuf);
        return text;
    }
    char* buf = nullptr;
    DWORD n = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                 FORMAT_MESSAGE_IGNORE_INSERTS,
                             nullptr, code, 0, reinterpret_cast<char*>(&buf), 0, nullptr);
    std::string text = n && buf ? base::trim(std::string(buf, n)) : std::string();
    if (buf) LocalFree(buf);
    return text;
}

}  // namespace platform
