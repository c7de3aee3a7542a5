// A long run of the real program under Wine: the loop clear on (one pass a
// second) while helper programs are started all the time. In forbid mode
// (the default) 14 of the 50 are listed and ended by the pass, the others
// live 5 to 20 s and are ended here, so most of them run at any moment; in
// allow mode (SOAK_MODE=allow) the pass ends every one. Prints the
// program's private bytes, open handles, working set and windows at the
// start, at points between and at the end.
//   soak [MINUTES]    SOAK_MINUTES, else 10; fractions allowed
// Environment: MORVANE_EXE, MORVANE_HELPER as for the e2e tests.
// Exits 1 only when the program ends or stops answering; growth that looks
// unbounded is a warning.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/frame_ids.h"
#include "e2e/driver.h"
#include "restriction/ids.h"
#include "soak/measure.h"

using namespace e2e;

namespace {

constexpr int kHelpers = 50;
constexpr int kRestrictTab = 2;
constexpr DWORD kAnswerMs = 10000;  // longer than any pass takes under load

using Clock = ULONGLONG;
Clock now() { return GetTickCount64(); }

std::string kb(std::uint64_t bytes) { return soak::grouped(bytes / 1024) + " KB"; }

// Each slot keeps one helper alive; the kinds differ in what the pass meets:
// a window, a bare sleeper, a message loop without a window, and one that
// ends by itself at once (seen in a snapshot, gone before it is opened).
struct Slot {
    std::string exe, name;
    const char* args;
    bool listed = false;  // on the forbid list
    HANDLE process = nullptr;
    DWORD pid = 0;
    Clock endAt = 0;      // when the soak ends it, if the pass has not
    Clock startAt = 0;    // not started again before
};

// A fixed sequence, so two runs churn alike.
unsigned nextRandom() {
    static unsigned x = 12345;
    x = x * 1103515245u + 12345u;
    return x >> 16;
}

const char* kindArgs(int i) {
    switch (i % 4) {
    case 0: return "--title soakwindow";
    case 1: return "--sleep";
    case 2: return "";
    default: return "--exit 0";
    }
}

struct Counts {
    long started = 0, endedByPass = 0, endedThemselves = 0, endedBySoak = 0, refused = 0;
    long unlistedEnded = 0;  // by the pass in forbid mode: a wrong end
};

bool startSlot(Slot& s, const std::string& dir) {
    std::wstring cmd = L"\"" + fromGbk(s.exe) + L"\" " + fromGbk(s.args);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        fromGbk(dir).c_str(), &si, &pi))
        return false;
    CloseHandle(pi.hThread);
    s.process = pi.hProcess;
    s.pid = pi.dwProcessId;
    s.endAt = now() + 5000 + nextRandom() % 15000;
    // The quick kind would otherwise take every start the machine can make.
    s.startAt = std::string(s.args) == "--exit 0" ? now() + 2000 : 0;
    return true;
}

// Reaps the slots whose helper ended and starts them again, a few per call
// so the starts spread over the second instead of coming in one burst.
void churn(std::vector<Slot>& slots, const std::string& dir, bool allowMode, Counts& c) {
    static std::size_t first = 0;  // turns, so every slot gets its share of the starts
    first = (first + 1) % slots.size();
    int starts = 0;
    for (std::size_t k = 0; k < slots.size(); ++k) {
        Slot& s = slots[(first + k) % slots.size()];
        if (s.process && WaitForSingleObject(s.process, 0) == WAIT_OBJECT_0) {
            DWORD code = 0;
            GetExitCodeProcess(s.process, &code);
            // Only the quick kind ends by itself, with code 0.
            if (std::string(s.args) == "--exit 0" && code == 0) ++c.endedThemselves;
            else if (s.listed || allowMode) ++c.endedByPass;
            else ++c.unlistedEnded;
            CloseHandle(s.process);
            s.process = nullptr;
        } else if (s.process && now() >= s.endAt) {
            TerminateProcess(s.process, 1);
            WaitForSingleObject(s.process, 5000);
            CloseHandle(s.process);
            s.process = nullptr;
            ++c.endedBySoak;
        }
        if (!s.process && starts < 8 && now() >= s.startAt) {
            ++starts;
            if (startSlot(s, dir)) ++c.started;
            else ++c.refused;
        }
    }
}

void endAll(std::vector<Slot>& slots) {
    for (Slot& s : slots) {
        if (!s.process) continue;
        TerminateProcess(s.process, 1);
        WaitForSingleObject(s.process, 5000);
        CloseHandle(s.process);
        s.process = nullptr;
    }
}

using soak::Sample;

int running(const std::vector<Slot>& slots) {
    return static_cast<int>(std::count_if(slots.begin(), slots.end(), [](const Slot& s) {
        return s.process && WaitForSingleObject(s.process, 0) == WAIT_TIMEOUT;
    }));
}

// started and ended count helpers since the start; running is how many of
// the slots had one alive at that moment.
void printHeader() {
    std::printf("%7s %15s %8s %15s %8s %9s %9s %8s\n", "minute", "private bytes", "handles", "working set",
                "windows", "started", "ended", "running");
}

void printSample(const Sample& s, const Counts& c, int alive) {
    std::printf("%7.1f %15s %8s %15s %8d %9ld %9ld %8d\n", s.minutes, kb(s.f.privateBytes).c_str(),
                s.f.handles < 0 ? "?" : std::to_string(s.f.handles).c_str(), kb(s.f.workingSet).c_str(),
                s.f.windows, c.started, c.endedByPass, alive);
    std::fflush(stdout);
}

// The usual calls, once: whether this machine counts them or Wine leaves them 0.
void printApiFigures(const soak::Figures& f) {
    std::printf("usual calls: GetProcessHandleCount %lu, PrivateUsage %s, GetGuiResources USER %lu GDI %lu%s\n",
                f.apiHandleCount, kb(f.apiPrivateUsage).c_str(), f.apiUserObjects, f.apiGdiObjects,
                f.apiHandleCount == 0 && f.apiPrivateUsage == 0 ? " (not counted here: Wine)" : "");
    if (f.handles < 0)
        std::printf("handles: the system handle list (classes 64 and 16) gave nothing; shown as ?\n");
    else
        std::printf("handles: the program's entries in the system handle list (information class %d); "
                    "private bytes: its committed private regions (VirtualQueryEx)\n", f.handleClass);
}

void printGrowth(const std::vector<Sample>& s, std::size_t settled) {
    const soak::Growth g = soak::growthSince(s, settled);
    if (g.minutes <= 0) return;
    std::printf("growth since minute %.1f: private bytes %+.0f KB (%+.1f KB/min), handles %+.0f (%+.1f/min)\n",
                s[settled].minutes, g.bytes / 1024, g.bytes / 1024 / g.minutes, g.handles, g.handles / g.minutes);
    if (g.bytesUnbounded) std::printf("WARNING: private bytes keep growing\n");
    if (g.handlesUnbounded) std::printf("WARNING: open handles keep growing\n");
}

double minutesWanted(int argc, char** argv) {
    const char* v = argc > 1 ? argv[1] : std::getenv("SOAK_MINUTES");
    double m = v ? std::atof(v) : 10.0;
    return m > 0 ? m : 10.0;
}

// Presses OK on an error box of a failed pass, so the run goes on; counted.
int dismissBoxes(App& app) {
    if (!app.dialog()) return 0;
    try {
        MsgBox box = app.waitMessageBox(500);
        std::printf("the program showed a box: \"%s\" %s\n", box.caption.c_str(), box.text.c_str());
        box.press(box.buttons.empty() ? IDOK : box.buttons.front());
        return 1;
    } catch (const Failure&) {
        return 0;
    }
}

// Forbid mode with the listed helpers' names loaded from a file, as a user
// would load a list.
void forbidListed(App& app, const std::vector<Slot>& slots, const std::string& dir) {
    app.click(restriction::ids::RadioGroup2 + 2);
    std::string text;
    int listed = 0;
    for (const Slot& s : slots) {
        if (!s.listed) continue;
        std::string upper = s.name;
        for (char& ch : upper)
            if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 0x20);
        text += upper + "\r\n";
        ++listed;
    }
    const std::string path = dir + "\\forbid.txt";
    writeFile(path, text);
    app.clickAsync(restriction::ids::Button7);
    app.waitFileDialog().accept(path);
    waitFor([&] { return app.dialog() == nullptr; });
    app.sync();
    if (app.count(restriction::ids::List3) != listed) throw Failure("the forbid list did not load");
}

int run(double minutes) {
    const char* modeVar = std::getenv("SOAK_MODE");
    const bool allow = modeVar && std::string(modeVar) == "allow";
    deleteRegKey(HKEY_CURRENT_USER, "Software\\Zentrek");
    Session session;
    App& app = session.startApp();
    Process& prog = app.process();
    app.selectTab(app::ids::PageControl1, kRestrictTab);

    struct Helpers {
        std::vector<Slot> v = std::vector<Slot>(kHelpers);
        ~Helpers() { endAll(v); }
    } helpers;
    std::vector<Slot>& slots = helpers.v;
    for (int i = 0; i < kHelpers; ++i) {
        char name[32];
        // Some names in Chinese, as the tests start them.
        std::snprintf(name, sizeof name, i % 5 == 4 ? "\xb2\xe2\xca\xd4%02d.exe" : "soak%02d.exe", i);
        slots[i].name = name;
        slots[i].exe = session.dir() + "\\" + name;
        slots[i].args = kindArgs(i);
        slots[i].listed = !allow && (i / 4) % 4 == 0;  // every kind, listed and not
        if (!CopyFileW(fromGbk(envPath("MORVANE_HELPER")).c_str(), fromGbk(slots[i].exe).c_str(), FALSE))
            throw Failure("cannot copy the helper to " + slots[i].exe);
    }

    if (!allow) forbidListed(app, slots, session.dir());
    app.click(restriction::ids::SpeedButton1);
    if (!app.ticked(restriction::ids::SpeedButton1)) throw Failure("the loop clear did not switch on");
    const long listed = std::count_if(slots.begin(), slots.end(), [](const Slot& s) { return s.listed; });
    std::printf("soak: %.1f minutes, loop clear on (%s mode, 1 s), %d helpers kept coming", minutes,
                allow ? "allow" : "forbid", kHelpers);
    if (!allow) std::printf(", %ld of them listed, the others ended by the soak after 5 to 20 s", listed);
    std::printf("\n");

    Counts counts;
    std::vector<Sample> samples;
    samples.push_back({0.0, soak::measure(prog.handle(), prog.pid())});
    printApiFigures(samples[0].f);
    printHeader();
    printSample(samples[0], counts, 0);

    const Clock start = now();
    const Clock total = static_cast<Clock>(minutes * 60000.0);
    const Clock every = std::max<Clock>(15000, total / 10);
    Clock nextSample = every, nextCheck = 0;
    DWORD slowest = 0;
    int boxes = 0;
    int failures = 0;
    for (;;) {
        const Clock t = now() - start;
        if (t >= nextCheck) {
            nextCheck = t + 2000;
            if (!prog.running()) {
                std::printf("FAILED: the program ended (exit code %lu) at minute %.1f\n", prog.exitCode(), t / 60000.0);
                failures = 1;
                break;
            }
            const Clock t0 = now();
            if (!answers(app.hwnd(), kAnswerMs)) {
                std::printf("FAILED: the program did not answer within %lu ms at minute %.1f\n", kAnswerMs, t / 60000.0);
                failures = 1;
                break;
            }
            slowest = std::max<DWORD>(slowest, static_cast<DWORD>(now() - t0));
            boxes += dismissBoxes(app);
        }
        if (t >= nextSample || t >= total) {
            samples.push_back({t / 60000.0, soak::measure(prog.handle(), prog.pid())});
            printSample(samples.back(), counts, running(slots));
            nextSample += every;
            if (t >= total) break;
        }
        churn(slots, session.dir(), allow, counts);
        Sleep(100);
    }
    endAll(slots);  // before the figures, so the helpers' ends do not slow them

    std::printf("helpers: %ld started, %ld ended by the loop clear, %ld by the soak, %ld by themselves, "
                "%ld starts refused\n", counts.started, counts.endedByPass, counts.endedBySoak,
                counts.endedThemselves, counts.refused);
    std::printf("slowest answer to WM_NULL: %lu ms; error boxes: %d\n", slowest, boxes);
    if (!failures) {
        // The first interval is the program filling its lists and caches.
        const std::size_t settled = samples.size() > 3 ? 1 : 0;
        printGrowth(samples, settled);
        if (counts.endedByPass == 0) std::printf("WARNING: the loop clear ended no helper\n");
        if (counts.unlistedEnded > 0)
            std::printf("WARNING: %ld helpers not on the forbid list were ended\n", counts.unlistedEnded);
        const Sample& a = samples.front();
        const Sample& b = samples.back();
        std::printf("start: private bytes %s, handles %ld, working set %s\n", kb(a.f.privateBytes).c_str(),
                    a.f.handles, kb(a.f.workingSet).c_str());
        std::printf("end:   private bytes %s, handles %ld, working set %s\n", kb(b.f.privateBytes).c_str(),
                    b.f.handles, kb(b.f.workingSet).c_str());
        app.click(restriction::ids::SpeedButton1);
    }
    deleteRegKey(HKEY_CURRENT_USER, "Software\\Zentrek");
    return failures;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return run(minutesWanted(argc, argv));
    } catch (const Failure& f) {
        std::printf("FAILED: %s\n", f.what());
        return 1;
    }
}
