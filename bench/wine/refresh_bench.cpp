// The process page's listing under Wine with many processes running: the
// program's own routine over the real platform layer against a bare loop
// making the same Toolhelp calls, and the whole page refresh on a real
// (hidden) window. Runs alternate, so all see the same machine.
//   refresh_bench HELPER_EXE [PROCESSES=200] [ROUNDS=20]
// Prints the figures; never fails by time.
#include "platform/win32/win.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <vector>

#include "app/main_form.h"
#include "timing.h"
#include "e2e/driver.h"
#include "platform/win32/win32_os.h"
#include "common/listing.h"
#include "restriction/rules.h"
#include "ui/win32/win32_app.h"

using namespace e2e;

namespace {

using bench::median;
using bench::nowMs;

volatile unsigned g_sink;  // keeps the bare loop's reads from being optimised away

// The calls the listing makes and nothing else: one process pass, and per
// process after the first a module snapshot, its first module, its close.
// Returns the number of processes seen.
std::size_t bareToolhelp() {
    std::size_t n = 0;
    unsigned sink = 0;
    HANDLE snap = CreateToolhelp32Snapshot(platform::Snapshot::Processes, 0);
    if (snap == INVALID_HANDLE_VALUE) return 0;
    PROCESSENTRY32 e;
    e.dwSize = sizeof e;
    MODULEENTRY32 m;
    for (BOOL ok = Process32First(snap, &e); ok; ok = Process32Next(snap, &e)) {
        if (n++ == 0) continue;
        HANDLE ms = CreateToolhelp32Snapshot(platform::Snapshot::Modules, e.th32ProcessID);
        if (ms != INVALID_HANDLE_VALUE) {
            m.dwSize = sizeof m;
            if (Module32First(ms, &m)) sink += static_cast<unsigned char>(m.szExePath[0]);
            CloseHandle(ms);
        }
    }
    CloseHandle(snap);
    g_sink = g_sink + sink;
    return n;
}

struct Series {
    const char* label;
    std::vector<double> ms;
    std::size_t lines = 0;
};

void print(const Series& s) {
    if (s.ms.empty()) return;
    std::printf("  %-34s median %8.2f ms   min %8.2f   max %8.2f   (%zu lines)\n", s.label, median(s.ms),
                *std::min_element(s.ms.begin(), s.ms.end()), *std::max_element(s.ms.begin(), s.ms.end()),
                s.lines);
}

// Starts `count` sleeping helpers under a few names and waits until Toolhelp
// lists them all.
std::vector<Process*> startHelpers(Session& s, const std::string& helper, int count) {
    const int names = 20;
    std::vector<std::string> copies;
    for (int i = 0; i < names; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "\\mvbench%02d.exe", i);
        copies.push_back(s.dir() + name);
        if (!CopyFileW(fromGbk(helper).c_str(), fromGbk(copies.back()).c_str(), FALSE))
            throw Failure("cannot copy " + helper + " to " + copies.back());
    }
    std::vector<Process*> started;
    for (int i = 0; i < count; ++i) started.push_back(&s.start(copies[i % names], "--sleep"));
    std::size_t listed = 0;
    waitFor([&] {
        for (; listed < started.size() && processListed(started[listed]->pid()); ++listed) {}
        return listed == started.size();
    }, 60000);
    if (listed < started.size()) std::printf("only %zu helpers were listed in time\n", listed);
    return started;
}

// The loop-clear pass in forbid-mode with a list naming no running program,
// so nothing ends: in the steady state, with its module names cached, and
// with the cache emptied before each pass, against the bare loop.
void loopClearPass(TfrmMain& form, Series bare, int rounds) {
    form.restriction.GroupBox3.setCaption(restriction::kForbidCaption);
    std::vector<std::string> lines;
    for (int i = 0; i < 200; ++i) lines.push_back("NOTRUNNING" + std::to_string(i) + ".EXE");
    form.restriction.List3.setItems(lines);
    Series cached{"loop-clear pass, cached", {}};
    Series uncached{"loop-clear pass, no cache", {}};
    bare.ms.clear();
    form.restriction.Timer1Timer();  // an uncached pass refills the cache, so every cached one finds it full
    for (int r = 0; r < rounds; ++r) {
        for (int k = 0; k < 3; ++k) {
            if ((r + k) % 3 == 2) form.pageHost.ModuleNames = {};
            double t = nowMs();
            switch ((r + k) % 3) {
            case 0: form.restriction.Timer1Timer(); cached.ms.push_back(nowMs() - t); break;
            case 1: bare.lines = bareToolhelp(); bare.ms.push_back(nowMs() - t); break;
            default: form.restriction.Timer1Timer(); uncached.ms.push_back(nowMs() - t);
            }
        }
    }
    cached.lines = uncached.lines = static_cast<std::size_t>(form.restriction.ListHide.count());
    std::printf("loop-clear pass under Wine (forbid-mode, %zu lines, nothing to end), %d rounds:\n",
                lines.size(), rounds);
    print(cached);
    print(uncached);
    print(bare);
    if (median(bare.ms) > 0)
        std::printf("  cached pass / bare loop: %.3fx, uncached pass / bare loop: %.3fx by medians\n",
                    median(cached.ms) / median(bare.ms), median(uncached.ms) / median(bare.ms));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: refresh_bench HELPER_EXE [PROCESSES=200] [ROUNDS=20]\n");
        return 2;
    }
    const std::string helper = hostToWinPath(argv[1]);
    const int count = argc > 2 ? std::max(0, std::atoi(argv[2])) : 200;
    const int rounds = argc > 3 ? std::max(1, std::atoi(argv[3])) : 20;

    try {
        Session session;
        double t0 = nowMs();
        std::vector<Process*> helpers = startHelpers(session, helper, count);
        std::printf("%zu helper processes started in %.1f s\n", helpers.size(), (nowMs() - t0) / 1000.0);

        ui::win32::Win32Application application(GetModuleHandleW(nullptr));
        platform::Win32Os platform;
        // The form's page refresh only, without the rest of start-up (no
        // settings, no registry): the window stays hidden.
        std::unique_ptr<TfrmMain> form;
        try {
            form = std::make_unique<TfrmMain>(application, platform);
            form->pageHost.IsWindowsNT = true;
        } catch (const std::exception& e) {
            std::printf("the form could not be made (%s); its refresh is not timed\n", e.what());
        }

        Series own{"common::listProcesses (Win32Os)", {}};
        Series bare{"bare Toolhelp loop", {}};
        Series page{"TfrmMain::RefreshProcessList", {}};
        // One of each first, not counted: Wine builds its module lists then.
        common::listProcesses(platform, true);
        bareToolhelp();
        if (form) form->process.RefreshProcessList();

        // The order turns each round, so no subject always runs first; the
        // ratio is also taken round by round, as load on the machine drifts.
        std::vector<double> pairedRatio;
        for (int r = 0; r < rounds; ++r) {
            double ownMs = 0, bareMs = 0;
            for (int k = 0; k < 3; ++k) {
                double t = nowMs();
                switch ((r + k) % 3) {
                case 0:
                    own.lines = common::listProcesses(platform, true).lines.size();
                    own.ms.push_back(ownMs = nowMs() - t);
                    break;
                case 1:
                    bare.lines = bareToolhelp();
                    bare.ms.push_back(bareMs = nowMs() - t);
                    break;
                default:
                    if (!form) break;
                    form->process.RefreshProcessList();
                    page.ms.push_back(nowMs() - t);
                    page.lines = static_cast<std::size_t>(form->process.List1.count());
                    application.processMessages();
                }
            }
            if (bareMs > 0) pairedRatio.push_back(ownMs / bareMs);
        }

        std::printf("process page listing under Wine, %d rounds each (order turning):\n", rounds);
        print(own);
        print(bare);
        print(page);
        if (!bare.ms.empty() && median(bare.ms) > 0) {
            double ratio = median(own.ms) / median(bare.ms);
            std::printf("  listing / bare loop: %.3fx by medians, %.3fx median of per-round ratios "
                        "(the program's own work adds %+.1f %%)\n",
                        ratio, median(pairedRatio), (median(pairedRatio) - 1) * 100);
            if (bare.lines > 1)
                std::printf("  Toolhelp cost per process (bare loop): %.2f ms\n",
                            median(bare.ms) / static_cast<double>(bare.lines));
            if (!page.ms.empty())
                std::printf("  page refresh / bare loop: %.3fx by medians\n", median(page.ms) / median(bare.ms));
        }
        if (form) loopClearPass(*form, bare, rounds);
        form.reset();

        // All ended at once; the session then only reaps them.
        for (Process* p : helpers) TerminateProcess(p->handle(), 0);
    } catch (const Failure& f) {
        std::fprintf(stderr, "refresh_bench: %s\n", f.what());
        return 1;
    }
    return 0;
}
