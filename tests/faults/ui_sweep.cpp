// The toolkit's own objects failing: every user action below runs in the
// real program (built with the object seam) once clean, to count the
// objects it asks for, then once with the K-th of them refused alone and
// once with every one from the K-th on refused (a starved machine). After
// each run the seam gives the objects back and it checks what the user is
// left with: the program alive and answering, at most one box for the
// action and never two at once, the window drawn as after the clean run,
// the action working again, and every kind of object counted as before.
//
//   ui_sweep [--sample] [--verbose] [--only TEXT]
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>

#include "app/control_ids.h"
#include "e2e/driver.h"

using namespace e2e;

namespace {

// The seam's kinds, in its order, as the table names them.
const char* const kKinds[] = {"window", "font", "pen", "brush", "bitmap", "dc",
                              "saved", "icon", "menu", "imagelist", "box"};
constexpr int kKindCount = sizeof kKinds / sizeof *kKinds;
constexpr int kBox = kKindCount - 1;

struct Seam {
    HWND main;
    UINT msg = RegisterWindowMessageA("MorvaneObjects");
    LRESULT ask(WPARAM w, LPARAM l = 0) const { return send(main, msg, w, l); }
    void arm(long k) const { ask(0, k); }
    long calls() const { return static_cast<long>(ask(1)); }
    std::vector<long> alive() const {
        std::vector<long> v;
        for (int k = 0; k < kKindCount - 1; ++k) v.push_back(static_cast<long>(ask(2 + k)));
        return v;
    }
    long boxesMade() const { return static_cast<long>(ask(32 + kBox)); }
    long boxesAtOnce() const { return static_cast<long>(ask(64 + kBox)); }
};

struct Action {
    const char* name;
    std::function<void(App&)> act;
    std::function<bool(App&)> works;  // what the action left, read from outside
};

// Until the program has handled what it was given and asks for nothing more.
void settle(App& app, const Seam& seam) {
    long before = -1;
    for (int i = 0; i < 30; ++i) {
        app.sync();
        Sleep(60);
        const long now = seam.calls();
        if (now == before) return;
        before = now;
    }
}

// Answers every box the program shows, as a user would, until none is left.
int closeBoxes(App& app, const Seam& seam) {
    int closed = 0;
    for (; closed < 8; ++closed) {
        HWND box = app.dialog();
        if (!box) break;
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
        waitFor([&] { return !IsWindow(box); }, 3000);
        settle(app, seam);
    }
    return closed;
}

// The window as the screen shows it, one number per picture.
unsigned long long picture(HWND h) {
    RECT r{};
    GetWindowRect(h, &r);
    const int w = r.right - r.left, ht = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof bi.bmiHeader, w, -ht, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, w, ht, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    unsigned long long sum = 1469598103934665603ull;
    const auto* p = static_cast<const unsigned char*>(bits);
    for (int i = 0; p && i < w * ht * 4; ++i) sum = (sum ^ p[i]) * 1099511628211ull;
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return sum;
}

void redrawAll(App& app) {
    RedrawWindow(app.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    app.sync();
}

std::vector<Action> actions(Session& s, DWORD& helper) {
    using namespace process::ids;
    const int pages = app::ids::PageControl1;
    return {
        {"refresh the processes", [](App& a) { a.clickAsync(BtnRefresh); },
         [](App& a) { return a.count(List1) > 0 && !a.text(Label1).empty(); }},
        {"visit every page", [pages](App& a) {
             for (int i = a.tabCount(pages) - 1; i >= 0; --i) a.selectTab(pages, i);
         }, [pages](App& a) { return a.currentTab(pages) == 0 && a.visible(List1); }},
        {"switch the selection mode", [](App& a) {
             a.clickAsync(RadioGroup1 + 2);
             a.sync();
             a.clickAsync(RadioGroup1 + 1);
         }, [](App& a) { return a.visible(List1) && !a.visible(ChkList1); }},
        {"light a button under the mouse", [](App& a) {
             RECT b{};
             GetWindowRect(a.control(BtnSave), &b);
             SetCursorPos((b.left + b.right) / 2, (b.top + b.bottom) / 2);
             a.sync();
             Sleep(150);
             SetCursorPos(0, 0);
             Sleep(150);
         }, [](App&) { return true; }},
        {"open and close the notification menu", [](App& a) {
             a.trayMessage(WM_RBUTTONDOWN);
             HWND menu = nullptr;
             waitFor([&] { return (menu = a.popupMenu()) != nullptr; }, 1500);
             if (menu) PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
             waitFor([&] { return a.popupMenu() == nullptr; }, 3000);
         }, [](App& a) { return a.popupMenu() == nullptr; }},
        {"end a program by selection", [&s, &helper](App& a) {
             // One left by a failed run would be a line more than after a clean one.
             if (helper && processListed(helper)) {
                 auto left = Process::attach(helper);
                 left->kill();
                 left->waitExit();
             }
             Process& p = s.startHelper("sweepme.exe");
             helper = p.pid();
             waitFor([&] { return processListed(p.pid()); });
             a.clickAsync(BtnRefresh);
             a.sync();
             if (a.dialog()) return;
             // The newest copy is the last of its name in a Toolhelp pass.
             const int line = a.waitLine(List1, "SWEEPME.EXE", 3000);
             if (line < 0) return;
             a.select(List1, line);
             a.clickAsync(BtnKill);
             // The page lists again after a wait of its own; a fixed pause
             // let a busy machine take the picture before that listing.
             if (waitFor([&] { return !processListed(p.pid()); }, 3000))
                 waitFor([&] {
                     try {
                         const auto now = a.lines(List1);
                         return std::find(now.begin(), now.end(), "SWEEPME.EXE") == now.end();
                     } catch (const Failure&) {
                         return false;
                     }
                 }, 3000);
             a.sync();
         }, [&helper](App&) { return waitFor([&] { return !processListed(helper); }, 3000); }},
    };
}

struct Row {
    long calls = 0, alone = 0, onward = 0, mostBoxes = 0, violations = 0;
};

void printRow(const char* name, const Row& r) {
    std::printf("%-38s %6ld %6ld %7ld %6ld %10ld\n", name, r.calls, r.alone, r.onward, r.mostBoxes, r.violations);
    std::fflush(stdout);
}

// Another copy started with the K-th object refused ("K+": from it on): it
// shows its window or ends after at most one box, and a window it shows is
// drawn as a clean start draws it once calls succeed.
Row startUp(Session& s, bool sample, bool verbose) {
    Row row;
    const std::string exe = s.dir() + "\\Morvane.exe";
    auto launch = [&](const std::string& fault, HWND& main) -> Process& {
        SetEnvironmentVariableA("MORVANE_UI_FAULT", fault.empty() ? nullptr : fault.c_str());
        Process& p = s.start(exe);
        SetEnvironmentVariableA("MORVANE_UI_FAULT", nullptr);
        waitFor([&] {
            main = findTopWindow(p.pid(), kCaption);
            return (main && answers(main, 2000)) || !p.running() || App(p, nullptr).dialog();
        }, kStartMs);
        return p;
    };
    HWND main = nullptr;
    Process& clean = launch("", main);
    if (!main) throw Failure("a clean start shows no window");
    App first(clean, main);
    Seam seam{main};
    settle(first, seam);
    row.calls = seam.calls();
    redrawAll(first);
    settle(first, seam);
    const unsigned long long whole = picture(main);
    clean.kill();
    // Every 40th of the calls, or the middle one alone and all of them.
    std::vector<std::pair<long, bool>> runs;
    const long n = row.calls;
    if (sample) runs = {{(n + 1) / 2, false}, {1, true}};
    for (long k = 1; !sample && k <= n; k += std::max(1L, n / 40)) runs.insert(runs.end(), {{k, false}, {k, true}});
    for (const auto& [k, onward] : runs) {
        ++(onward ? row.onward : row.alone);
        auto fail = [&](const char* what) {
            ++row.violations;
            if (verbose) std::printf("  start-up, %s %ld: %s\n", onward ? "from" : "call", k, what);
        };
        Process& p = launch(std::to_string(k) + (onward ? "+" : ""), main);
        App app(p, main);
        int boxes = 0;
        for (HWND box; boxes < 8 && (box = app.dialog()) != nullptr; ++boxes) {
            if (HWND hidden = findTopWindow(p.pid(), kCaption, false)) Seam{hidden}.arm(0);
            PostMessageW(box, WM_COMMAND, IDOK, 0);
            waitFor([&] { return !IsWindow(box); }, 3000);
            waitFor([&] { return (main = findTopWindow(p.pid(), kCaption)) || !p.running() || app.dialog(); }, 5000);
        }
        row.mostBoxes = std::max<long>(row.mostBoxes, boxes);
        if (boxes > 1) fail("more than one box");
        if (!p.running()) {
            if (!boxes) fail("ended without a word");
            continue;
        }
        if (!main || !answers(main, 5000)) {
            fail("runs with no answering window");
            p.kill();
            continue;
        }
        Seam{main}.arm(0);
        App shown(p, main);
        redrawAll(shown);
        if (!waitFor([&] { settle(shown, Seam{main}); return picture(main) == whole; }, 3000))
            fail("the window is not drawn whole");
        p.kill();
    }
    return row;
}

}  // namespace

int main(int argc, char** argv) {
    bool sample = false, verbose = false;
    const char* only = "";
    for (int i = 1; i < argc; ++i) {
        sample |= !std::strcmp(argv[i], "--sample");
        verbose |= !std::strcmp(argv[i], "--verbose");
        if (!std::strcmp(argv[i], "--only") && i + 1 < argc) only = argv[++i];
    }
    try {
        Session s;
        App& app = s.startApp();
        Seam seam{app.hwnd()};
        DWORD helper = 0;
        if (seam.ask(1) < 0 || !seam.msg) throw Failure("the program has no object seam");
        SetCursorPos(0, 0);
        std::printf("%-38s %6s %6s %7s %6s %10s\n", "action", "calls", "alone", "onward", "boxes", "violations");
        long total = 0;
        for (const Action& a : actions(s, helper)) {
            if (!std::strstr(a.name, only)) continue;
            Row row;
            auto fail = [&](const char* what, long k, bool onward) {
                ++row.violations;
                if (verbose)
                    std::printf("  %s, %s %ld: %s\n", a.name, onward ? "from" : "call", k, what);
            };
            // Clean, twice: the first may make what stays (a page's controls).
            for (int i = sample ? 1 : 0; i < 2; ++i) {
                seam.arm(0);
                a.act(app);
                settle(app, seam);
                closeBoxes(app, seam);
            }
            const std::vector<long> kept = seam.alive();
            seam.arm(0);
            a.act(app);
            settle(app, seam);
            row.calls = seam.calls();
            const long cleanBoxes = seam.boxesMade();
            if (closeBoxes(app, seam) || cleanBoxes) fail("a box on a clean run", 0, false);
            if (seam.alive() != kept) fail("objects not given back on a clean run", 0, false);
            redrawAll(app);
            settle(app, seam);
            const unsigned long long whole = picture(app.hwnd());

            std::vector<long> ks;
            const long n = row.calls;
            if (sample) {
                if (n > 0) ks.push_back(1);
                if ((n + 1) / 2 > 1) ks.push_back((n + 1) / 2);
            } else {
                for (long k = 1; k <= n; ++k) ks.push_back(k);
            }
            for (long k : ks) {
                for (bool onward : {false, true}) {
                    // The sample: the middle call alone, and all of them.
                    if (sample && onward != (k == 1)) continue;
                    ++(onward ? row.onward : row.alone);
                    seam.arm(onward ? -k : k);
                    try {
                        a.act(app);
                    } catch (const Failure& f) {
                        if (verbose) std::printf("  (driver: %s)\n", f.what());
                    }
                    settle(app, seam);
                    long shown = seam.boxesMade(), atOnce = seam.boxesAtOnce();
                    seam.arm(0);
                    closeBoxes(app, seam);
                    shown += seam.boxesMade();
                    atOnce = std::max(atOnce, seam.boxesAtOnce());
                    row.mostBoxes = std::max(row.mostBoxes, shown);
                    if (!app.process().running() || !answers(app.hwnd(), 5000)) {
                        fail("the program crashed or hangs", k, onward);
                        throw Failure(std::string("program lost at ") + a.name);
                    }
                    if (shown > 1) fail("more than one box for the action", k, onward);
                    if (atOnce > 1) fail("two boxes open at once", k, onward);
                    // The next action works and draws the window whole.
                    seam.arm(0);
                    try {
                        a.act(app);
                    } catch (const Failure& f) {
                        fail(f.what(), k, onward);
                    }
                    settle(app, seam);
                    if (seam.boxesMade() || closeBoxes(app, seam)) fail("a box once calls succeed", k, onward);
                    if (!a.works(app)) fail("the action does not work again", k, onward);
                    redrawAll(app);
                    if (!waitFor([&] { settle(app, seam); return picture(app.hwnd()) == whole; }, 3000))
                        fail("the window is not drawn whole again", k, onward);
                    const std::vector<long> now = seam.alive();
                    for (int kind = 0; kind < kKindCount - 1; ++kind)
                        if (now[static_cast<size_t>(kind)] != kept[static_cast<size_t>(kind)]) {
                            char what[96];
                            std::snprintf(what, sizeof what, "%ld %s objects, %ld before",
                                          now[static_cast<size_t>(kind)], kKinds[kind],
                                          kept[static_cast<size_t>(kind)]);
                            fail(what, k, onward);
                        }
                }
            }
            printRow(a.name, row);
            total += row.violations;
        }
        if (std::strstr("start the program", only)) {
            const Row row = startUp(s, sample, verbose);
            printRow("start the program", row);
            total += row.violations;
        }
        std::printf("%ld violations\n", total);
        return total ? 1 : 0;
    } catch (const Failure& f) {
        std::printf("ui_sweep: %s\n", f.what());
        return 2;
    }
}
