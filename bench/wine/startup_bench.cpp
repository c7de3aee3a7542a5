// Start-up time under Wine: from CreateProcess until the program's window
// with its caption exists, is visible and answers WM_NULL. Morvane.exe is
// measured against a bare Win32 window, runs interleaved, in one Wine session.
//   wine_bench RUNS MORVANE_EXE BARE_EXE
// Prints the figures; never fails by time.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "e2e/driver.h"
#include "timing.h"

using namespace e2e;

namespace {

using bench::median;
using bench::nowMs;

struct Subject {
    const char* label;
    std::string exe;      // Windows path of the original
    std::string caption;  // GBK
    std::vector<double> ms;
    int failures = 0;
};

// One start in a fresh directory; returns milliseconds, or a negative value.
double measure(const Subject& s) {
    Session session;
    std::string copy = session.dir() + "\\" + s.exe.substr(s.exe.find_last_of("\\/") + 1);
    if (!CopyFileW(fromGbk(s.exe).c_str(), fromGbk(copy).c_str(), FALSE)) return -1;
    double t0 = nowMs();
    Process& p = session.start(copy);
    HWND h = nullptr;
    for (;;) {
        h = findTopWindow(p.pid(), s.caption);
        if (h && answers(h, 5000)) break;
        if (!p.running() || nowMs() - t0 > 30000) return -1;
        Sleep(1);
    }
    double elapsed = nowMs() - t0;
    PostMessageW(h, WM_CLOSE, 0, 0);
    p.waitExit(5000);
    return elapsed;
}


}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: wine_bench RUNS MORVANE_EXE BARE_EXE\n");
        return 2;
    }
    int runs = std::max(1, std::atoi(argv[1]));
    std::vector<Subject> subjects = {
        {"Morvane.exe", hostToWinPath(argv[2]), kCaption, {}},
        {"bare window", hostToWinPath(argv[3]), "Bare window", {}},
    };

    try {
        // One warm-up start each, not counted: it loads the DLLs into the
        // page cache and the fonts into the server.
        for (Subject& s : subjects) {
            double ms = measure(s);
            std::printf("%-12s first start: %s%.1f ms\n", s.label, ms < 0 ? "FAILED " : "", ms < 0 ? 0.0 : ms);
        }
        for (int i = 0; i < runs; ++i) {
            for (Subject& s : subjects) {
                double ms = measure(s);
                if (ms < 0)
                    ++s.failures;
                else
                    s.ms.push_back(ms);
            }
        }
    } catch (const Failure& f) {
        std::fprintf(stderr, "wine_bench: %s\n", f.what());
        return 1;
    }

    std::printf("start-up to an answering window, %d runs each (interleaved):\n", runs);
    for (const Subject& s : subjects) {
        if (s.ms.empty()) {
            std::printf("  %-12s no successful run\n", s.label);
            continue;
        }
        std::printf("  %-12s median %7.1f ms   min %7.1f   max %7.1f", s.label, median(s.ms),
                    *std::min_element(s.ms.begin(), s.ms.end()), *std::max_element(s.ms.begin(), s.ms.end()));
        if (s.failures) std::printf("   (%d failed)", s.failures);
        std::printf("\n");
    }
    if (!subjects[0].ms.empty() && !subjects[1].ms.empty())
        std::printf("  Morvane.exe / bare window: %.2fx\n", median(subjects[0].ms) / median(subjects[1].ms));
    return 0;
}
