#include "platform/win32/win32_os.h"

#include "platform/win32/win.h"

#include <cstring>
#include <memory>

#include "base/gb18030.h"
#include "base/text.h"
#include "platform/win32/wide.h"

namespace platform {

namespace {

// Toolhelp records laid out as kernel32 expects them, with ANSI names (the
// sizes the program passes) or UTF-16 ones. Defined here so the sizes never
// depend on the headers' version macros.
template <class Char>
struct ProcessEntry32 {
    DWORD dwSize;
    DWORD cntUsage;
    DWORD th32ProcessID;
    ULONG_PTR th32DefaultHeapID;
    DWORD th32ModuleID;
    DWORD cntThreads;
    DWORD th32ParentProcessID;
    LONG pcPriClassBase;
    DWORD dwFlags;
    Char szExeFile[MAX_PATH];
};
static_assert(sizeof(ProcessEntry32<char>) == platform::kProcessEntrySize);

template <class Char>
struct ModuleEntry32 {
    DWORD dwSize;
    DWORD th32ModuleID;
    DWORD th32ProcessID;
    DWORD GlblcntUsage;
    DWORD ProccntUsage;
    BYTE* modBaseAddr;
    DWORD modBaseSize;
    HMODULE hModule;
    Char szModule[256];
    Char szExePath[MAX_PATH];
};
static_assert(sizeof(ModuleEntry32<char>) == platform::kModuleEntrySize);

// NOTIFYICONDATA as Windows 95 and NT 4 know it (the V1 size), its tip ANSI
// or UTF-16.
struct NotifyIconDataV1 {
    DWORD cbSize;
    HWND hWnd;
    UINT uID;
    UINT uFlags;
    UINT uCallbackMessage;
    HICON hIcon;
    union {
        CHAR a[64];
        WCHAR w[64];
    } szTip;
};
static_assert(offsetof(NotifyIconDataV1, szTip) + 64 == platform::kNotifyIconDataSize);
static_assert(sizeof(OSVERSIONINFOA) == platform::kVersionInfoSize);

using CreateSnapshotFn = HANDLE(WINAPI*)(DWORD, DWORD);
using ProcessWalkFn = BOOL(WINAPI*)(HANDLE, void*);
using ModuleWalkFn = BOOL(WINAPI*)(HANDLE, void*);

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
std::string fieldText(const WCHAR* field, std::size_t size) {
    std::string text = wide::narrowField(field, size);
    text.resize(fitGbk(text, size - 1));
    return text;
}

// The calls that take or give text, with the A or the W function behind each;
// `wide` says which, and is what an Arg or Out is made with.
struct Calls {
    HANDLE(WINAPI* createFile)(LPCSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE);
    HANDLE(WINAPI* findFirstFile)(LPCSTR, void*);
    BOOL(WINAPI* setFileAttributes)(LPCSTR, DWORD);
    BOOL(WINAPI* deleteFile)(LPCSTR);
    DWORD(WINAPI* getFileAttributes)(LPCSTR);
    BOOL(WINAPI* moveFile)(LPCSTR, LPCSTR);
    DWORD(WINAPI* moduleFileName)(HMODULE, LPSTR, DWORD);
    DWORD(WINAPI* formatMessage)(DWORD, LPCVOID, DWORD, DWORD, LPSTR, DWORD, va_list*);
    BOOL(WINAPI* moveFileEx)(LPCSTR, LPCSTR, DWORD);
    int(WINAPI* getWindowText)(HWND, LPSTR, int);
    HWND(WINAPI* findWindow)(LPCSTR, LPCSTR);
    LONG(WINAPI* regOpenKey)(HKEY, LPCSTR, DWORD, REGSAM, PHKEY);
    LONG(WINAPI* regCreateKey)(HKEY, LPCSTR, DWORD, LPSTR, DWORD, REGSAM, LPSECURITY_ATTRIBUTES, PHKEY, LPDWORD);
    LONG(WINAPI* regQueryValue)(HKEY, LPCSTR, LPDWORD, LPDWORD, LPBYTE, LPDWORD);
    LONG(WINAPI* regSetValue)(HKEY, LPCSTR, DWORD, DWORD, const BYTE*, DWORD);
    LONG(WINAPI* regDeleteValue)(HKEY, LPCSTR);
    LONG(WINAPI* regEnumValue)(HKEY, DWORD, LPSTR, LPDWORD, LPDWORD, LPDWORD, LPBYTE, LPDWORD);
    LONG(WINAPI* regDeleteKey)(HKEY, LPCSTR);
    bool wide;
};
static_assert(offsetof(Calls, wide) == 18 * sizeof(void*), "one W name for each call");

// The same calls' W functions, in the order of Calls, looked up: Windows 95
// exports few of them, and an import would keep it from loading us.
constexpr char kWideNames[] =
    "kernel32.dll\0CreateFileW\0FindFirstFileW\0SetFileAttributesW\0DeleteFileW\0GetFileAttributesW\0"
    "MoveFileW\0GetModuleFileNameW\0FormatMessageW\0MoveFileExW\0user32.dll\0GetWindowTextW\0"
    "FindWindowW\0advapi32.dll\0RegOpenKeyExW\0RegCreateKeyExW\0RegQueryValueExW\0RegSetValueExW\0"
    "RegDeleteValueW\0RegEnumValueW\0RegDeleteKeyW\0";

const Calls& calls() {
    static const Calls found = [] {
        Calls c{};
        // All or none: half the calls in UTF-16 would name things two ways.
        if (wide::on() && wide::lookUp(reinterpret_cast<void* const*>(&c), kWideNames)) {
            c.wide = true;
            return c;
        }
        c.createFile = &CreateFileA;
        c.findFirstFile = wide::as(c.findFirstFile, reinterpret_cast<const void*>(&FindFirstFileA));
        c.setFileAttributes = &SetFileAttributesA;
        c.deleteFile = &DeleteFileA;
        c.getFileAttributes = &GetFileAttributesA;
        c.moveFile = &MoveFileA;
        c.moduleFileName = &GetModuleFileNameA;
        c.formatMessage = &FormatMessageA;
        // Looked up, not imported: kernel32 of the 9x family has only a stub,
        // and an import of something newer would keep the program from loading.
        c.moveFileEx = wide::as(c.moveFileEx, reinterpret_cast<const void*>(
                                             GetProcAddress(GetModuleHandleA("kernel32.dll"), "MoveFileExA")));
        c.getWindowText = &GetWindowTextA;
        c.findWindow = &FindWindowA;
        c.regOpenKey = &RegOpenKeyExA;
        c.regCreateKey = &RegCreateKeyExA;
        c.regQueryValue = &RegQueryValueExA;
        c.regSetValue = &RegSetValueExA;
        c.regDeleteValue = &RegDeleteValueA;
        c.regEnumValue = &RegEnumValueA;
        c.regDeleteKey = &RegDeleteKeyA;
        return c;
    }();
    return found;
}

wide::Arg arg(const std::string& text) { return wide::Arg(text, calls().wide); }
wide::Arg arg(const char* text) { return wide::Arg(text, calls().wide); }

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
    bool wide = false;  // the walks fill the UTF-16 records
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
        // The UTF-16 walk where names are asked for in UTF-16, and only all of it.
        if (calls().wide) {
            const auto first = lookUp<ProcessWalkFn>(k32, "Process32FirstW");
            const auto next = lookUp<ProcessWalkFn>(k32, "Process32NextW");
            const auto module = lookUp<ModuleWalkFn>(k32, "Module32FirstW");
            th_->wide = first && next && module;
            if (th_->wide) th_->processFirst = first, th_->processNext = next, th_->moduleFirst = module;
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
    if (!th.available) return platform::Status(platform::Error::CallNotImplemented);
    HANDLE h = th.createSnapshot(flags, processId);
    if (h == INVALID_HANDLE_VALUE || h == nullptr) return lastFailure();
    snapshot = reinterpret_cast<platform::Handle>(h);
    return {};
}

// The caller's size is the ANSI record's; the UTF-16 one is larger by its names.
template <class Raw>
static DWORD recordSize(std::uint32_t asked, std::uint32_t ansiSize) {
    const std::uint32_t size = asked + (sizeof(Raw) - ansiSize);
    // A caller's size larger than our record would let kernel32 write past it.
    return size <= sizeof(Raw) ? size : sizeof(Raw);
}

template <class Char>
static platform::Status walkProcess(ProcessWalkFn fn, platform::Handle snapshot,
                                    platform::ProcessEntry& entry) {
    if (!fn) return platform::Status(platform::Error::CallNotImplemented);
    if (snapshot == platform::kNoHandle) return platform::Status(platform::Error::InvalidHandle);
    ProcessEntry32<Char> raw{};
    raw.dwSize = recordSize<decltype(raw)>(entry.size, platform::kProcessEntrySize);
    // A walk stopping without a reason (the 9x family may set none) is at
    // its end, as every walk was taken to be; a stale code must not count.
    SetLastError(0);
    if (!fn(asHandle(snapshot), &raw)) {
        const DWORD code = GetLastError();
        return code ? platform::Status(code) : platform::Status(platform::Error::NoMoreFiles);
    }
    entry.processId = raw.th32ProcessID;
    entry.parentProcessId = raw.th32ParentProcessID;
    entry.exeFile = fieldText(raw.szExeFile, MAX_PATH);
    return {};
}

platform::Status Win32Os::process32First(platform::Handle snapshot, platform::ProcessEntry& entry) {
    Toolhelp& th = toolhelp();
    return th.wide ? walkProcess<WCHAR>(th.processFirst, snapshot, entry)
                   : walkProcess<char>(th.processFirst, snapshot, entry);
}

platform::Status Win32Os::process32Next(platform::Handle snapshot, platform::ProcessEntry& entry) {
    Toolhelp& th = toolhelp();
    return th.wide ? walkProcess<WCHAR>(th.processNext, snapshot, entry)
                   : walkProcess<char>(th.processNext, snapshot, entry);
}

template <class Char>
static platform::Status walkModule(ModuleWalkFn fn, platform::Handle snapshot,
                                   platform::ModuleEntry& entry) {
    if (!fn) return platform::Status(platform::Error::CallNotImplemented);
    if (snapshot == platform::kNoHandle) return platform::Status(platform::Error::InvalidHandle);
    ModuleEntry32<Char> raw{};
    raw.dwSize = recordSize<decltype(raw)>(entry.size, platform::kModuleEntrySize);
    if (!fn(asHandle(snapshot), &raw)) return lastFailure();
    entry.exePath = fieldText(raw.szExePath, MAX_PATH);
    return {};
}

platform::Status Win32Os::module32First(platform::Handle snapshot, platform::ModuleEntry& entry) {
    Toolhelp& th = toolhelp();
    return th.wide ? walkModule<WCHAR>(th.moduleFirst, snapshot, entry)
                   : walkModule<char>(th.moduleFirst, snapshot, entry);
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
    if (h == platform::kNoHandle) return platform::Status(platform::Error::InvalidHandle);
    return failedUnless(CloseHandle(asHandle(h)));
}

platform::Status Win32Os::fileExists(const std::string& path, bool& exists) {
    exists = false;
    // FindFirstFileA takes wildcards; a path holding one names no single file.
    // Neither byte can be the trail byte of a GBK character.
    if (path.empty() || path.find_first_of("*?") != std::string::npos) return {};
    // Only the attributes are read, which lead both kinds of record.
    WIN32_FIND_DATAW fd;
    HANDLE h = calls().findFirstFile(arg(path), &fd);
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
    exists = (fd.dwFileAttributes & platform::FileAttr::Directory) == 0;
    return {};
}

platform::Status Win32Os::setFileAttributes(const std::string& path, std::uint32_t attributes) {
    return failedUnless(calls().setFileAttributes(arg(path), attributes));
}

platform::Status Win32Os::deleteFile(const std::string& path) {
    return failedUnless(calls().deleteFile(arg(path)));
}

platform::Status Win32Os::readFile(const std::string& path, std::string& bytes) {
    FileCloser f{calls().createFile(arg(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                             nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)};
    if (f.h == INVALID_HANDLE_VALUE) return lastFailure();
    DWORD high = 0;
    SetLastError(NO_ERROR);  // a size of 0xFFFFFFFF is told from a failure only so
    DWORD low = GetFileSize(f.h, &high);
    if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) return lastFailure();
    if (high != 0 || low > platform::kMaxReadBytes) return platform::Status(platform::Error::FileTooLarge);
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
    FileCloser f{calls().createFile(arg(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr)};
    if (f.h == INVALID_HANDLE_VALUE) return lastFailure();
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD put = 0;
        DWORD chunk = static_cast<DWORD>(bytes.size() - done);
        if (!WriteFile(f.h, bytes.data() + done, chunk, &put, nullptr)) return lastFailure();
        if (put == 0) return platform::Status(platform::Error::DiskFull);
        done += put;
    }
    return {};
}

platform::Status Win32Os::fileAttributes(const std::string& path, std::uint32_t& attributes) {
    attributes = calls().getFileAttributes(arg(path));
    return attributes != INVALID_FILE_ATTRIBUTES ? platform::Status() : lastFailure();
}

platform::Status Win32Os::moveFile(const std::string& from, const std::string& to, bool replace) {
    const Calls& c = calls();
    if (!replace) return failedUnless(c.moveFile(arg(from), arg(to)));
    if (!c.moveFileEx) return platform::Status(platform::Error::CallNotImplemented);
    return failedUnless(c.moveFileEx(arg(from), arg(to), MOVEFILE_REPLACE_EXISTING));
}

// NULL is the end of the list unless the call says why it failed.
platform::Status Win32Os::getWindow(platform::Hwnd wnd, std::uint32_t cmd, platform::Hwnd& found) {
    SetLastError(0);
    found = reinterpret_cast<platform::Hwnd>(GetWindow(asHwnd(wnd), cmd));
    return found ? platform::Status() : platform::Status(GetLastError());
}

int Win32Os::getWindowText(platform::Hwnd wnd, std::string& text) {
    wide::Out buf(255, calls().wide);
    int n = calls().getWindowText(asHwnd(wnd), buf, 255);
    if (n < 0) n = 0;
    if (n > 254) n = 254;
    text = buf.text(static_cast<std::size_t>(n));
    if (calls().wide) text.resize(fitGbk(text, 254));
    return static_cast<int>(text.size());
}

platform::Hwnd Win32Os::findWindow(const char* className, const char* windowName) {
    return reinterpret_cast<platform::Hwnd>(calls().findWindow(arg(className), arg(windowName)));
}

// A plain SendMessageA would block until the other program answers, so a hung
// window would freeze ours for good. The timeout bounds the wait, and
// SMTO_ABORTIFHUNG gives up at once on a window the system already knows hung.
platform::Status Win32Os::sendClose(platform::Hwnd wnd, std::uint32_t timeoutMs) {
    HWND h = asHwnd(wnd);
    if (!IsWindow(h)) return platform::Status(platform::Error::InvalidWindowHandle);
    DWORD_PTR answer = 0;
    if (SendMessageTimeoutA(h, WM_CLOSE, 0, 0, SMTO_ABORTIFHUNG | SMTO_NORMAL, timeoutMs,
                            &answer))
        return {};
    // 9x leaves the last error alone, so judge by the window: one still there
    // did not answer in time; one that is gone failed as a target.
    return platform::Status(IsWindow(h) ? platform::Error::Timeout : platform::Error::InvalidWindowHandle);
}

platform::Status Win32Os::postQuit(platform::Hwnd wnd) {
    return failedUnless(PostMessageA(asHwnd(wnd), WM_QUIT, 0, 0));
}

platform::Status Win32Os::regOpenKeyEx(platform::HKey root, const std::string& subKey,
                                       std::uint32_t access, platform::HKey& key) {
    HKEY k = nullptr;
    LONG rc = calls().regOpenKey(asHkey(root), arg(subKey), 0, access, &k);
    key = rc == ERROR_SUCCESS ? reinterpret_cast<platform::HKey>(k) : 0;
    return platform::Status(rc);
}

platform::Status Win32Os::regCreateKeyEx(platform::HKey root, const std::string& subKey,
                                         std::uint32_t access, platform::HKey& key) {
    HKEY k = nullptr;
    DWORD disposition = 0;
    LONG rc = calls().regCreateKey(asHkey(root), arg(subKey), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                   access, nullptr, &k, &disposition);
    key = rc == ERROR_SUCCESS ? reinterpret_cast<platform::HKey>(k) : 0;
    return platform::Status(rc);
}

platform::Status Win32Os::regCloseKey(platform::HKey key) {
    return platform::Status(RegCloseKey(asHkey(key)));
}

platform::Status Win32Os::regQueryValueEx(platform::HKey key, const std::string& name,
                                          platform::RegValue& value) {
    const Calls& c = calls();
    const wide::Arg valueName = arg(name);
    // The value may grow between asking its size and reading it; a few tries
    // settle that without looping for ever.
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD type = 0, size = 0;
        LONG rc = c.regQueryValue(asHkey(key), valueName, nullptr, &type, nullptr, &size);
        if (rc != ERROR_SUCCESS) return platform::Status(rc);
        std::string data(size, '\0');
        rc = c.regQueryValue(asHkey(key), valueName, nullptr, &type,
                             size ? reinterpret_cast<BYTE*>(&data[0]) : nullptr, &size);
        if (rc == ERROR_MORE_DATA) continue;
        if (rc != ERROR_SUCCESS) return platform::Status(rc);
        data.resize(size);
        if (c.wide && isStringType(type))
            data = wide::narrow(reinterpret_cast<const wchar_t*>(data.data()), size / sizeof(wchar_t));
        value.type = type;
        value.data = std::move(data);
        return {};
    }
    return platform::Status(platform::Error::MoreData);
}

platform::Status Win32Os::regSetValueEx(platform::HKey key, const std::string& name,
                                        const platform::RegValue& value) {
    // A string's data is the text, in the kind of the call, with its NULs.
    const wide::Arg data(value.data, calls().wide && isStringType(value.type));
    const std::size_t unit = data.get() == value.data.c_str() ? 1 : sizeof(wchar_t);
    return platform::Status(calls().regSetValue(asHkey(key), arg(name), 0, value.type,
                                                static_cast<const BYTE*>(data.get()),
                                                static_cast<DWORD>(data.length() * unit)));
}

platform::Status Win32Os::regDeleteValue(platform::HKey key, const std::string& name) {
    return platform::Status(calls().regDeleteValue(asHkey(key), arg(name)));
}

platform::Status Win32Os::regEnumValue(platform::HKey key, std::uint32_t index, std::string& name) {
    // Value names are at most 16383 characters on NT, 255 bytes on 9x.
    for (DWORD room = 256; room <= 32768; room *= 2) {
        wide::Out buf(room, calls().wide);
        DWORD len = room;
        LONG rc = calls().regEnumValue(asHkey(key), index, buf, &len, nullptr, nullptr, nullptr, nullptr);
        if (rc == ERROR_MORE_DATA) continue;
        if (rc == ERROR_SUCCESS) name = buf.text(len < room ? len : room - 1);
        return platform::Status(rc);
    }
    return platform::Status(platform::Error::MoreData);
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
    return platform::Status(rc);
}

platform::Status Win32Os::regDeleteKey(platform::HKey root, const std::string& subKey) {
    return platform::Status(calls().regDeleteKey(asHkey(root), arg(subKey)));
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
    using ShellExecuteFn = HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
    static const ShellExecuteFn run =
        shellFunction<ShellExecuteFn>(calls().wide ? "ShellExecuteW" : "ShellExecuteA");
    if (!run) return platform::Status(platform::Error::NotEnoughMemory);
    const std::intptr_t r = reinterpret_cast<std::intptr_t>(
        run(asHwnd(wnd), verb.empty() ? nullptr : static_cast<LPCSTR>(arg(verb)), arg(file),
            arg(params), arg(dir), show));
    return platform::shellExecuteStatus(r);
}

platform::Result<std::string> Win32Os::exePath() {
    // A path cut to the buffer comes back without its NUL on XP; grow until it fits.
    for (DWORD room = MAX_PATH; room <= 32768; room *= 2) {
        wide::Out buf(room, calls().wide);
        DWORD n = calls().moduleFileName(nullptr, buf, room);
        if (n == 0) return platform::Result<std::string>(lastFailure());
        if (n < room - 1) return buf.text(n);
    }
    return platform::Result<std::string>(platform::Status(platform::Error::BadPathname));
}

platform::Status Win32Os::shellNotifyIcon(std::uint32_t message, const platform::NotifyIconData& data) {
    NotifyIconDataV1 nid;
    std::memset(&nid, 0, sizeof nid);
    const bool wide = calls().wide;
    nid.cbSize = offsetof(NotifyIconDataV1, szTip) + (wide ? sizeof nid.szTip.w : sizeof nid.szTip.a);
    nid.hWnd = asHwnd(data.wnd);
    nid.uID = data.id;
    nid.uFlags = data.flags;
    nid.uCallbackMessage = data.callbackMessage;
    nid.hIcon = reinterpret_cast<HICON>(data.icon);
    // The tip is the bytes an ANSI tip holds, in either kind.
    const wide::Arg tip(data.tip.substr(0, fitGbk(data.tip, sizeof nid.szTip.a - 1)), wide);
    std::memcpy(&nid.szTip, tip.get(), static_cast<std::size_t>(tip.length()) * (wide ? 2 : 1));
    using NotifyFn = BOOL(WINAPI*)(DWORD, NotifyIconDataV1*);
    static const NotifyFn notify = shellFunction<NotifyFn>(wide ? "Shell_NotifyIconW" : "Shell_NotifyIconA");
    if (!notify) return platform::Status(platform::Error::ProcNotFound);
    return failedUnless(notify(message, &nid));
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
    if (!advapi) return platform::Status(platform::Error::CallNotImplemented);
    auto find = [advapi](const char* name) { return reinterpret_cast<void*>(GetProcAddress(advapi, name)); };
    const auto openToken = reinterpret_cast<OpenTokenFn>(find("OpenProcessToken"));
    const auto lookup = reinterpret_cast<LookupFn>(find("LookupPrivilegeValueA"));
    const auto adjust = reinterpret_cast<AdjustFn>(find("AdjustTokenPrivileges"));
    if (!openToken || !lookup || !adjust) return platform::Status(platform::Error::CallNotImplemented);
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
        if (status && GetLastError() != NO_ERROR) status = platform::Status(GetLastError());
    }
    CloseHandle(token);
    return status;
}

std::string Win32Os::systemText(std::uint32_t code) {
    // In the system's own language, whatever its code page.
    char* buf = nullptr;
    DWORD n = calls().formatMessage(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                        FORMAT_MESSAGE_IGNORE_INSERTS,
                                    nullptr, code, 0, reinterpret_cast<char*>(&buf), 0, nullptr);
    std::string text;
    if (n && buf)
        text = base::trim(calls().wide ? wide::narrow(reinterpret_cast<const wchar_t*>(buf), n) : std::string(buf, n));
    if (buf) LocalFree(buf);
    return text;
}

}  // namespace platform
