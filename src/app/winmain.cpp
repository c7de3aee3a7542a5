// Entry point of Morvane.exe.
// The platform headers come before <windows.h>, whose macros share their names.
#include "app/main_form.h"
#include "platform/win32/win32_os.h"
#include "common/listing.h"
#include "ui/win32/win32_app.h"

#include <exception>
#include <utility>

namespace {

// On the NT family every process in the first listing costs a module
// snapshot, milliseconds each under Wine. A second thread takes them while
// the window is being built, through an Os and a cache of its own; the first
// listing then starts from that cache, which it checks against its own
// snapshot like any other. Windows 95 to Me list entry names and need none.
class ModuleReadAhead {
public:
    ModuleReadAhead() {
        if (GetVersion() & 0x80000000u) return;
        state_ = new State;
        DWORD id = 0;
        thread_ = CreateThread(nullptr, 0, &ModuleReadAhead::run, state_, 0, &id);
        if (!thread_) {
            delete state_;
            state_ = nullptr;
        }
    }
    ~ModuleReadAhead() {
        common::ModuleNameCache unused;
        take(unused);
    }
    ModuleReadAhead(const ModuleReadAhead&) = delete;
    ModuleReadAhead& operator=(const ModuleReadAhead&) = delete;

    void take(common::ModuleNameCache& into) {
        if (!thread_) return;
        // A reader that hangs costs the listing its own reads, not the window.
        if (WaitForSingleObject(thread_, kWaitMs) == WAIT_OBJECT_0) {
            if (state_->done) std::swap(into, state_->cache);
            delete state_;
        }
        // Otherwise its state stays with it, never touched again.
        CloseHandle(thread_);
        thread_ = nullptr;
        state_ = nullptr;
    }

private:
    static constexpr DWORD kWaitMs = 5000;
    struct State {
        platform::Win32Os os;
        common::ModuleNameCache cache;
        bool done = false;
    };
    static DWORD WINAPI run(void* p) {
        auto* s = static_cast<State*>(p);
        try {
            common::listProcesses(s->os, true, &s->cache);
            s->done = true;
        } catch (...) {
        }
        return 0;
    }
    State* state_ = nullptr;
    HANDLE thread_ = nullptr;
};

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    try {
        ModuleReadAhead readAhead;
        ui::win32::Win32Application application(instance);
        platform::Win32Os platform;
        TfrmMain form(application, platform);
        form.TakeReadAhead = [&](common::ModuleNameCache& cache) { readAhead.take(cache); };
        form.start();
        return application.run();
    } catch (const std::exception& e) {
        // Only a window that cannot be made at all ends up here.
        MessageBoxA(nullptr, e.what(), "Morvane", MB_ICONERROR | MB_OK);
        return 1;
    }
}
