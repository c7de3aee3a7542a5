// The contract tests' machine under Wine: the real platform layer, copies of
// the helper program started as real processes, a real registry key under
// HKEY_CURRENT_USER\Software\Zentrek, real files in a scratch directory, a
// hidden window of this program and the real notification area.
#include "contract/world.h"

#include <map>

#include "platform/process_query.h"
#include "platform/win32/win.h"
#include "platform/win32/win32_os.h"
#include "wine/wine_support.h"

namespace {

using winetest::ScratchDir;

class WineWorld : public contract::World {
public:
    WineWorld() {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "MorvaneContractWorld";
        RegisterClassA(&wc);
        own_ = CreateWindowA("MorvaneContractWorld", "Morvane contract tests", WS_OVERLAPPED, 0, 0,
                             100, 50, nullptr, nullptr, wc.hInstance, nullptr);
        // The first process start and snapshot make Wine open a few handles
        // of its own for good; do that now so no test counts them.
        std::uint32_t code = 0;
        if (std::uint32_t pid = start("ctwarmup.exe", "")) {
            if (HANDLE h = held_[pid]) TerminateProcess(h, 0);
            waitExit(pid, code, 5000);
        }
        // So does the first C++ exception thrown (two handles, kept by the
        // unwinder).
        try {
            throw code;
        } catch (std::uint32_t) {
        }
        endTest();
    }
    ~WineWorld() override {
        endTest();
        if (own_) DestroyWindow(own_);
    }

    platform::Os& os() override { return os_; }

    bool ntFamily() override {
        platform::VersionInfo v;
        return !os_.getVersionEx(v) || v.platformId == platform::PlatformId::NT;
    }

    void beginTest() override {
        winetest::deleteRegTree(reinterpret_cast<HKEY>(regRoot()), regTestKey());
        winetest::removeTree(work_.path(), false);
    }

    void endTest() override {
        // Every copy's processes, ended in one pass and then looked for
        // again, until none is left.
        winetest::waitUntil([&] {
            bool any = false;
            for (const std::string& name : copies_) {
                for (DWORD id : winetest::processIdsNamed(name)) {
                    any = true;
                    if (HANDLE h = OpenProcess(platform::ProcessAccess::Terminate | SYNCHRONIZE, FALSE, id)) {
                        TerminateProcess(h, 1);
                        WaitForSingleObject(h, 2000);
                        CloseHandle(h);
                    }
                }
            }
            return !any;
        }, 10000);
        for (auto& [pid, h] : held_) CloseHandle(h);
        held_.clear();
        winetest::deleteRegTree(reinterpret_cast<HKEY>(regRoot()), regTestKey());
        winetest::removeTree(work_.path(), false);
    }

    std::uint32_t start(const std::string& exeName, const std::string& windowTitle) override {
        std::string path = copyOf(exeName);
        if (path.empty()) return 0;
        std::string cmd = "\"" + path + "\"";
        if (windowTitle.empty()) {
            cmd += " --sleep";
        } else {
            cmd += " --title \"";
            for (char c : windowTitle) {
                if (c == '"') cmd += '\\';
                cmd += c;
            }
            cmd += "\"";
        }
        STARTUPINFOA si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        if (!CreateProcessA(path.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr,
                            bin_.path().c_str(), &si, &pi))
            return 0;
        CloseHandle(pi.hThread);
        held_[pi.dwProcessId] = pi.hProcess;
        bool ready = winetest::waitUntil([&] {
            if (WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0) return true;  // died early
            if (!windowTitle.empty() && !FindWindowA(nullptr, windowTitle.c_str())) return false;
            return moduleReadable(pi.dwProcessId);
        });
        if (!ready || WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0) return 0;
        return pi.dwProcessId;
    }

    std::string exePathOf(const std::string& exeName) override { return bin_.file(exeName); }

    bool waitExit(std::uint32_t pid, std::uint32_t& code, std::uint32_t timeoutMs) override {
        auto it = held_.find(pid);
        HANDLE h = it != held_.end()
                       ? it->second
                       : OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, pid);
        if (!h) return false;
        DWORD c = 0;
        bool ended = WaitForSingleObject(h, timeoutMs) == WAIT_OBJECT_0 && GetExitCodeProcess(h, &c);
        if (ended || it == held_.end()) CloseHandle(h);
        if (ended && it != held_.end()) held_.erase(it);
        if (!ended) return false;
        code = c;
        // Wine lets go of an ended process a moment after its last handle
        // closed; until then OpenProcess of its id still succeeds.
        winetest::waitUntil([&] {
            HANDLE again = OpenProcess(SYNCHRONIZE, FALSE, pid);
            if (!again) return true;
            CloseHandle(again);
            return false;
        }, 2000);
        return true;
    }

    // The handles this program holds, less the process handles kept here on
    // the tests' behalf. GetProcessHandleCount is a stub under Wine (always
    // 0), so the system's handle table is counted instead.
    int openHandleCount() override {
        int n = winetest::handlesOfProcess(GetCurrentProcessId());
        return n < 0 ? -1 : n - static_cast<int>(held_.size());
    }

    std::string tempDir() override { return work_.path(); }
    platform::HKey regRoot() override { return platform::RootKey::CurrentUser; }
    std::string regTestKey() override { return "Software\\Zentrek\\ContractTest"; }

    bool trayAvailable() override {
        if (tray_ < 0) {
            // Asked once: an icon that can be added and removed again.
            platform::NotifyIconData probe;
            probe.wnd = ownWindow();
            probe.id = 99;
            probe.tip = "probe";
            probe.flags = platform::TrayFlag::Tip;
            tray_ = os_.shellNotifyIcon(platform::TrayMessage::Add, probe) ? 1 : 0;
            if (tray_) platform::ignore(os_.shellNotifyIcon(platform::TrayMessage::Delete, probe), "a probe left behind harms no test");
        }
        return tray_ == 1;
    }
    platform::Hwnd ownWindow() override { return reinterpret_cast<platform::Hwnd>(own_); }

private:
    std::string copyOf(const std::string& exeName) {
        std::string target = bin_.file(exeName);
        for (const std::string& n : copies_)
            if (n == exeName) return target;
        if (!CopyFileA(winetest::helperExe().c_str(), target.c_str(), FALSE)) return std::string();
        copies_.push_back(exeName);
        return target;
    }

    bool moduleReadable(DWORD pid) { return platform::modulePath(os_, pid).has_value(); }

    platform::Win32Os os_;
    ScratchDir bin_;   // the helper's copies
    ScratchDir work_;  // tempDir()
    std::vector<std::string> copies_;
    std::map<DWORD, HANDLE> held_;
    HWND own_ = nullptr;
    int tray_ = -1;
};

}  // namespace

contract::World& contract::contractWorld() {
    static WineWorld world;
    return world;
}
