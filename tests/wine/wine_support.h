// What the Wine tests share: real helper processes started under chosen
// names, a scratch directory, and bounded waits. Everything started here is
// ended again, also when a test fails half way.
#pragma once
#include <windows.h>
#include <tlhelp32.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace winetest {

// "/a/b" -> "Z:\a\b"; a path that already has a drive stays as it is.
std::string windowsPath(const std::string& unixOrWindows);

// The helper executable the tree built (MORVANE_HELPER), as a Windows path.
std::string helperExe();

// Polls `done` every few milliseconds until it holds or `timeoutMs` passed.
bool waitUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000);

// Deletes every file and directory below `dir` (ending with '\'); with
// `self`, `dir` itself too.
void removeTree(const std::string& dir, bool self = true);

// Deletes root\subKey with all its values and subkeys (RegDeleteKeyA of the
// NT family refuses a key that still has subkeys).
void deleteRegTree(HKEY root, const std::string& subKey);

// Process ids whose reported name's file-name part equals exeName, ignoring
// ASCII case.
std::vector<DWORD> processIdsNamed(const std::string& exeName);

// Whether process `pid` has got as far as a readable module list: the loader
// is done with it. Wine lists a process while it is still being made.
bool moduleListReadable(DWORD pid);

// Number of kernel handles process `pid` holds, from the system's handle
// table; -1 when the system does not tell.
int handlesOfProcess(DWORD pid);

// A fresh directory under the system's temp directory, removed with all its
// files when the object goes.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const std::string& path() const { return path_; }  // ends with '\'
    std::string file(const std::string& name) const { return path_ + name; }
private:
    std::string path_;
};

struct Started {
    DWORD pid = 0;
    HANDLE process = nullptr;  // owned by the Helpers object
};

// Copies of the helper, each under its own name, and the processes started
// from them. The destructor ends every process running from one of the
// copies (restarted partners included) and deletes the copies.
class Helpers {
public:
    Helpers();
    ~Helpers();
    Helpers(const Helpers&) = delete;
    Helpers& operator=(const Helpers&) = delete;

    // Full path of a copy named `exeName` (GBK bytes), made on first use.
    std::string copy(const std::string& exeName);
    // Starts the copy `exeName` with the helper options in `args`.
    Started start(const std::string& exeName, const std::string& args = "--sleep");
    // Starts a copy and waits until its window with exactly `title` exists.
    HWND startWindow(const std::string& exeName, const std::string& title,
                     const std::string& extraArgs = "", Started* started = nullptr);

    // Ids of the running processes whose reported name is `exeName`,
    // compared ignoring ASCII case.
    std::vector<DWORD> running(const std::string& exeName) const;
    // Ends every process of every copy, repeating until none is left (partners
    // restart each other, so a single pass may not do).
    void endAll();
    const std::string& dir() const { return dir_.path(); }

private:
    ScratchDir dir_;
    std::vector<std::string> names_;
    std::vector<HANDLE> handles_;
};

// Exit code of a process that has ended, waiting at most `timeoutMs`;
// false when it is still running then.
bool exitCodeOf(HANDLE process, DWORD& code, DWORD timeoutMs = 5000);

}  // namespace winetest
