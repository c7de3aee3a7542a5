#include "wine/wine_support.h"

#include <cstdlib>

#include "base/text.h"

namespace winetest {

std::string windowsPath(const std::string& p) {
    if (p.size() >= 2 && p[1] == ':') return p;
    std::string out = "Z:";
    for (char c : p) out += c == '/' ? '\\' : c;
    return out;
}

std::string helperExe() {
    const char* env = std::getenv("MORVANE_HELPER");
    return env && *env ? windowsPath(env) : std::string();
}

bool waitUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        if (done()) return true;
        if (GetTickCount() - start >= timeoutMs) return false;
        Sleep(10);
    }
}

void removeTree(const std::string& dir, bool self) {
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((dir + "*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            std::string name = fd.cFileName;
            if (name == "." || name == "..") continue;
            std::string full = dir + name;
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                removeTree(full + "\\", true);
            } else {
                SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(full.c_str());
            }
        } while (FindNextFileA(h, &fd));
        FindClose(h);
    }
    if (self) RemoveDirectoryA(dir.c_str());
}

void deleteRegTree(HKEY root, const std::string& subKey) {
    HKEY k = nullptr;
    if (RegOpenKeyExA(root, subKey.c_str(), 0, KEY_ALL_ACCESS, &k) == ERROR_SUCCESS) {
        // Always take subkey 0: the enumeration shifts as subkeys go. A subkey
        // that will not go ends the loop instead of spinning on it.
        std::string previous;
        for (;;) {
            char name[256];
            DWORD len = sizeof name;
            if (RegEnumKeyExA(k, 0, name, &len, nullptr, nullptr, nullptr, nullptr) !=
                ERROR_SUCCESS)
                break;
            std::string child = subKey + "\\" + std::string(name, len);
            if (child == previous) break;
            previous = child;
            deleteRegTree(root, child);
        }
        RegCloseKey(k);
    }
    RegDeleteKeyA(root, subKey.c_str());
}

std::vector<DWORD> processIdsNamed(const std::string& exeName) {
    std::vector<DWORD> ids;
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snap == INVALID_HANDLE_VALUE) return ids;
    PROCESSENTRY32 e;
    e.dwSize = sizeof e;
    std::string want = base::asciiUpper(exeName);
    for (BOOL ok = Process32First(snap, &e); ok; ok = Process32Next(snap, &e))
        if (base::asciiUpper(base::fileNamePart(e.szExeFile)) == want) ids.push_back(e.th32ProcessID);
    CloseHandle(snap);
    return ids;
}

int handlesOfProcess(DWORD pid) {
    struct Entry {
        ULONG ownerPid;
        BYTE objectType, flags;
        USHORT value;
        PVOID object;
        ULONG access;
    };
    using QueryFn = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);
    static QueryFn query = reinterpret_cast<QueryFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
    if (!query) return -1;
    const ULONG kSystemHandleInformation = 16;
    std::vector<char> buf(1 << 16);
    for (int tries = 0; tries < 8; ++tries) {
        ULONG needed = 0;
        LONG status = query(kSystemHandleInformation, buf.data(), static_cast<ULONG>(buf.size()), &needed);
        if (status == 0) {
            ULONG count = *reinterpret_cast<ULONG*>(buf.data());
            const Entry* e = reinterpret_cast<const Entry*>(buf.data() + sizeof(ULONG_PTR));
            int mine = 0;
            for (ULONG i = 0; i < count; ++i)
                if (e[i].ownerPid == pid) ++mine;
            return mine;
        }
        buf.resize(buf.size() * 4 > needed ? buf.size() * 4 : needed + 4096);
    }
    return -1;
}

ScratchDir::ScratchDir() {
    char tmp[MAX_PATH];
    DWORD n = GetTempPathA(sizeof tmp, tmp);
    std::string base = n ? std::string(tmp, n) : std::string("C:\\");
    if (base.back() != '\\') base += '\\';
    static unsigned serial = 0;
    for (;;) {
        path_ = base + "morvane_" + base::intToStr(GetCurrentProcessId()) + "_" +
                base::intToStr(++serial) + "\\";
        if (CreateDirectoryA(path_.c_str(), nullptr)) break;
        if (GetLastError() != ERROR_ALREADY_EXISTS) break;
    }
}

ScratchDir::~ScratchDir() { removeTree(path_); }

Helpers::Helpers() = default;

Helpers::~Helpers() {
    endAll();
    for (HANDLE h : handles_) CloseHandle(h);
    // The copies are deleted with the scratch directory; a process that is
    // just going away may hold its file a moment longer.
    for (const std::string& name : names_) {
        std::string p = dir_.file(name);
        waitUntil([&] { return DeleteFileA(p.c_str()) || GetFileAttributesA(p.c_str()) == INVALID_FILE_ATTRIBUTES; }, 2000);
    }
}

std::string Helpers::copy(const std::string& exeName) {
    std::string target = dir_.file(exeName);
    for (const std::string& n : names_)
        if (n == exeName) return target;
    if (!CopyFileA(helperExe().c_str(), target.c_str(), FALSE)) return std::string();
    names_.push_back(exeName);
    return target;
}

bool moduleListReadable(DWORD pid) {
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, pid);
    if (snap == INVALID_HANDLE_VALUE) return false;
    MODULEENTRY32 m;
    m.dwSize = sizeof m;
    const bool ok = Module32First(snap, &m) != FALSE;
    CloseHandle(snap);
    return ok;
}

Started Helpers::start(const std::string& exeName, const std::string& args) {
    Started s;
    std::string path = copy(exeName);
    if (path.empty()) return s;
    std::string cmd = "\"" + path + "\" " + args;
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(path.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr,
                        dir_.path().c_str(), &si, &pi))
        return s;
    CloseHandle(pi.hThread);
    handles_.push_back(pi.hProcess);
    // Running means listed with a readable module list; right after
    // CreateProcessA Wine may not be that far yet.
    waitUntil([&] {
        return WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0 || moduleListReadable(pi.dwProcessId);
    });
    s.pid = pi.dwProcessId;
    s.process = pi.hProcess;
    return s;
}

HWND Helpers::startWindow(const std::string& exeName, const std::string& title,
                          const std::string& extraArgs, Started* started) {
    std::string quoted;
    for (char c : title) {
        if (c == '"') quoted += '\\';
        quoted += c;
    }
    Started s = start(exeName, "--title \"" + quoted + "\" " + extraArgs);
    if (started) *started = s;
    if (!s.process) return nullptr;
    HWND found = nullptr;
    waitUntil([&] {
        found = FindWindowA("MorvaneHelperWindow", title.c_str());
        return found != nullptr;
    });
    return found;
}

std::vector<DWORD> Helpers::running(const std::string& exeName) const { return processIdsNamed(exeName); }

void Helpers::endAll() {
    waitUntil([&] {
        bool any = false;
        // End every copy's processes in one pass before looking again, so
        // partners get no poll in between to restart each other.
        std::vector<HANDLE> ended;
        for (const std::string& name : names_) {
            for (DWORD id : processIdsNamed(name)) {
                any = true;
                if (HANDLE h = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id)) {
                    TerminateProcess(h, 1);
                    ended.push_back(h);
                }
            }
        }
        for (HANDLE h : ended) {
            WaitForSingleObject(h, 2000);
            CloseHandle(h);
        }
        return !any;
    }, 10000);
}

bool exitCodeOf(HANDLE process, DWORD& code, DWORD timeoutMs) {
    if (WaitForSingleObject(process, timeoutMs) != WAIT_OBJECT_0) return false;
    return GetExitCodeProcess(process, &code) != FALSE;
}

}  // namespace winetest
