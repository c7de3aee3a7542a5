// Start-up time under Wine: from CreateProcess until the program's window
// with its caption exists, is visible and answers WM_NULL. Morvane.exe is
// measured against a bare Win32 window, runs interleaved, in one Wine session.
// Also the time to the first complete paint: the window visible and neither
// it nor any of its visible controls left with anything to paint.
//   wine_bench RUNS EXE... BARE_EXE   (each EXE shows the product's caption)
// Prints the figures; never fails by time.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "e2e/driver.h"
#include "timing.h"

using namespace e2e;

namespace {

using bench::median;
using bench::nowMs;

struct Subject {
    std::string label;    // the file's name
    std::string exe;      // Windows path of the original
    std::string caption;  // GBK
    std::vector<double> ms, paintMs;
    int failures = 0;
};

BOOL CALLBACK unpaintedChild(HWND h, LPARAM lp) {
    if (IsWindowVisible(h) && GetUpdateRect(h, nullptr, FALSE)) {
        *reinterpret_cast<bool*>(lp) = true;
        return FALSE;
    }
    return TRUE;
}

bool painted(HWND h) {
    if (!IsWindowVisible(h) || GetUpdateRect(h, nullptr, FALSE)) return false;
    bool unpainted = false;
    EnumChildWindows(h, unpaintedChild, reinterpret_cast<LPARAM>(&unpainted));
    return !unpainted;
}

struct Times {
    double answered = -1, painted = -1;
};

// One start in a fresh directory; negative times for a start that failed.
Times measure(const Subject& s) {
    Session session;
    std::string copy = session.dir() + "\\" + s.exe.substr(s.exe.find_last_of("\\/") + 1);
    if (!CopyFileW(fromGbk(s.exe).c_str(), fromGbk(copy).c_str(), FALSE)) return {};
    Times t;
    double t0 = nowMs();
    Process& p = session.start(copy);
    HWND h = nullptr;
    for (;;) {
        h = findTopWindow(p.pid(), s.caption);
        if (h && t.painted < 0 && painted(h)) t.painted = nowMs() - t0;
        if (h && t.answered < 0 && answers(h, 5000)) t.answered = nowMs() - t0;
        // Painting may also finish after the first answer; not waited for long.
        if (t.answered >= 0 && (t.painted >= 0 || nowMs() - t0 > t.answered + 2000)) break;
        if (!p.running() || nowMs() - t0 > 30000) return {};
        Sleep(1);
    }
    PostMessageW(h, WM_CLOSE, 0, 0);
    p.waitExit(5000);
    return t;
}

void report(const char* what, const std::vector<double>& ms) {
    std::printf("  %-12s %-10s median %7.1f ms   min %7.1f   max %7.1f\n", "", what, median(ms),
                *std::min_element(ms.begin(), ms.end()), *std::max_element(ms.begin(), ms.end()));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: wine_bench RUNS MORVANE_EXE... BARE_EXE\n");
        return 2;
    }
    int runs = std::max(1, std::atoi(argv[1]));
    // Every program before the bare window is measured against it in the
    // same runs: the product, and programs to compare it with.
    std::vector<Subject> subjects;
    for (int i = 2; i + 1 < argc; ++i) {
        const std::string name = argv[i];
        subjects.push_back({name.substr(name.find_last_of("\\/") + 1), hostToWinPath(name), kCaption, {}, {}});
    }
    subjects.push_back({"bare window", hostToWinPath(argv[argc - 1]), "Bare window", {}, {}});
    const Subject& bare = subjects.back();

    try {
        // One warm-up start each, not counted: it loads the DLLs into the
        // page cache and the fonts into the server.
        for (Subject& s : subjects) {
            const double ms = measure(s).answered;
            std::printf("%-12s first start: %s%.1f ms\n", s.label.c_str(), ms < 0 ? "FAILED " : "", ms < 0 ? 0.0 : ms);
        }
        for (int i = 0; i < runs; ++i) {
            for (Subject& s : subjects) {
                const Times t = measure(s);
                if (t.answered < 0) {
                    ++s.failures;
                    continue;
                }
                s.ms.push_back(t.answered);
                if (t.painted >= 0) s.paintMs.push_back(t.painted);
            }
        }
    } catch (const Failure& f) {
        std::fprintf(stderr, "wine_bench: %s\n", f.what());
        return 1;
    }

    std::printf("start-up, %d runs each (interleaved): to an answering window, and to the first complete paint\n", runs);
    for (const Subject& s : subjects) {
        std::printf("  %s%s\n", s.label.c_str(), s.failures ? (" (" + std::to_string(s.failures) + " failed)").c_str() : "");
        if (s.ms.empty()) {
            std::printf("  no successful run\n");
            continue;
        }
        report("answering", s.ms);
        if (!s.paintMs.empty()) report("painted", s.paintMs);
    }
    for (size_t i = 0; i + 1 < subjects.size(); ++i) {
        const Subject& s = subjects[i];
        if (!s.ms.empty() && !bare.ms.empty())
            std::printf("  %s / bare window, answering: %.2fx\n", s.label.c_str(), median(s.ms) / median(bare.ms));
        if (!s.paintMs.empty() && !bare.paintMs.empty())
            std::printf("  %s / bare window, painted:   %.2fx\n", s.label.c_str(), median(s.paintMs) / median(bare.paintMs));
    }
    return 0;
}
