// The contract tests' machine in the native build: a simulated machine,
// emptied before every test, with a few system processes around the ones a
// test starts. NT by default; MORVANE_SIM_FAMILY=9x runs the same tests on
// the 9x family.
#include <cstdlib>
#include <cstring>

#include "contract/world.h"
#include "platform/sim/sim_os.h"

namespace {

const std::string kProgramDir = "C:\\Program Files\\Contract\\";
const std::string kTempDir = "C:\\TEMP\\contract\\";

class SimWorld : public contract::World {
public:
    platform::Os& os() override { return sim_; }
    bool ntFamily() override { return sim_.family() == sim::Family::NT; }

    void beginTest() override {
        sim_.reset(family());
        if (ntFamily()) {
            sim::Process idle;
            idle.exeFile = "[System Process]";
            idle.cannotOpen = true;
            idle.modulesUnreadable = true;
            sim_.insertProcess(idle);
            sim_.addProcess("explorer.exe", "C:\\WINDOWS\\explorer.exe");
        } else {
            sim_.addProcess("C:\\WINDOWS\\SYSTEM\\KERNEL32.DLL");
            sim_.addProcess("C:\\WINDOWS\\EXPLORER.EXE");
        }
        const std::string self_exe = "C:\\build\\unit_tests.exe";
        std::uint32_t self = sim_.addProcess(ntFamily() ? "unit_tests.exe" : self_exe, self_exe);
        sim_.setExePath(self_exe);
        own_ = sim_.addWindow("Contract test program", self);
        sim_.addWindow("Program Manager");
        sim_.addDirectory(kTempDir.substr(0, kTempDir.size() - 1));
        sim_.addFile("C:\\WINDOWS\\explorer.exe", "MZ");
    }
    void endTest() override { sim_.reset(family()); }

    std::uint32_t start(const std::string& exeName, const std::string& windowTitle) override {
        std::uint32_t pid = sim_.addProcess(ntFamily() ? exeName : exePathOf(exeName),
                                            exePathOf(exeName));
        if (!windowTitle.empty()) sim_.addWindow(windowTitle, pid);
        return pid;
    }
    std::string exePathOf(const std::string& exeName) override { return kProgramDir + exeName; }

    bool waitExit(std::uint32_t pid, std::uint32_t& code, std::uint32_t timeoutMs) override {
        const sim::Process* p = sim_.process(pid);
        if (!p || p->running) {
            sim_.advance(timeoutMs);
            return false;
        }
        code = p->exitCode;
        return true;
    }

    int openHandleCount() override { return sim_.openHandles(); }
    std::string tempDir() override { return kTempDir; }
    platform::HKey regRoot() override { return platform::RootKey::CurrentUser; }
    std::string regTestKey() override { return "Software\\Zentrek\\ContractTest"; }
    bool trayAvailable() override { return true; }
    platform::Hwnd ownWindow() override { return own_; }

private:
    static sim::Family family() {
        const char* f = std::getenv("MORVANE_SIM_FAMILY");
        return f && std::strcmp(f, "9x") == 0 ? sim::Family::Win9x : sim::Family::NT;
    }

    sim::SimOs sim_;
    platform::Hwnd own_ = 0;
};

}  // namespace

contract::World& contract::contractWorld() {
    static SimWorld world;
    return world;
}
