// Puts the running Morvane.exe on one of its pages for scripts/screenshot:
//   e2e_shoot wait [MS]   wait for the main window
//   e2e_shoot page N      select view N (0..8, see kViews)
//   e2e_shoot names       the views' names, one a line
//   e2e_shoot close       close the window as the title-bar button does
// wait and page print the window's screen rectangle "X Y W H" on stdout.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/control_ids.h"
#include "e2e/driver.h"

using namespace e2e;

namespace {

struct View {
    const char* name;
    int outerTab;  // tab of PageControl1
    int innerTab;  // tab of PageControl2, or -1
    bool loopClear = false;  // with the loop clear on (forbid-mode, so nothing ends)
    bool trayMenu = false;   // with the notification menu open over the window
};

// The settings page always shows one of its inner pages, so its first view is
// the first inner page.
const View kViews[] = {
    {"processes", 0, -1},      {"windows", 1, -1},         {"restriction", 2, -1},
    {"autostart", 3, -1},      {"settings-general", 4, 0}, {"settings-normal", 4, 1},
    {"settings-password", 4, 2}, {"about", 5, -1},          {"restriction-looping", 2, -1, true},
    {"tray-menu", 0, -1, true, true},
};

// The loop clear on or off; it runs in forbid-mode with the list the
// program starts with there (empty), so the shots end nothing.
void setLoopClear(App& app, bool on) {
    if (app.ticked(restriction::ids::SpeedButton1) == on) return;
    app.selectTab(app::ids::PageControl1, 2);
    if (on) app.click(restriction::ids::RadioGroup2 + 2);
    app.click(restriction::ids::SpeedButton1);
    if (!on) app.click(restriction::ids::RadioGroup2 + 1);
}

HWND findMain(DWORD ms) {
    HWND h = nullptr;
    waitFor([&] {
        h = FindWindowW(nullptr, fromGbk(kCaption).c_str());
        return h && IsWindowVisible(h) && answers(h, 500);
    }, ms);
    if (!h || !IsWindowVisible(h)) throw Failure("the Morvane main window did not appear");
    return h;
}

void closeMenu(App& app) {
    if (HWND m = app.popupMenu()) {
        PostMessageW(m, WM_KEYDOWN, VK_ESCAPE, 0);
        waitFor([&] { return app.popupMenu() == nullptr; });
    }
}

// The menu opens at the mouse, here over the window, and the mouse then
// rests on its third item. The picture takes in both.
RECT openMenu(App& app, HWND h) {
    RECT r;
    GetWindowRect(h, &r);
    SetCursorPos(r.left + 150, r.top + 110);
    app.trayMessage(WM_RBUTTONDOWN);
    HWND m = nullptr;
    if (!waitFor([&] { return (m = app.popupMenu()) != nullptr && IsWindowVisible(m); }))
        throw Failure("the notification menu did not open");
    // The mouse rests on the third item, as a user's would.
    RECT mr;
    GetWindowRect(m, &mr);
    Sleep(200);
    SetCursorPos(mr.left + 60, mr.top + 40);
    Sleep(300);
    app.sync();
    UnionRect(&r, &r, &mr);
    return r;
}

void printRect(const RECT& r) {
    std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
    std::fflush(stdout);
}

void printRect(HWND h) {
    RECT r;
    GetWindowRect(h, &r);
    std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    try {
        if (argc >= 2 && std::strcmp(argv[1], "names") == 0) {
            for (const View& v : kViews) std::printf("%s\n", v.name);
            return 0;
        }
        if (argc >= 2 && std::strcmp(argv[1], "wait") == 0) {
            printRect(findMain(argc >= 3 ? std::atoi(argv[2]) : kStartMs));
            return 0;
        }
        if (argc >= 3 && std::strcmp(argv[1], "page") == 0) {
            int n = std::atoi(argv[2]);
            if (n < 0 || n >= (int)(sizeof kViews / sizeof kViews[0])) {
                std::fprintf(stderr, "no view %d\n", n);
                return 2;
            }
            HWND h = findMain(kWaitMs);
            DWORD pid = 0;
            GetWindowThreadProcessId(h, &pid);
            auto proc = Process::attach(pid);
            App app(*proc, h);
            closeMenu(app);
            setLoopClear(app, kViews[n].loopClear);
            app.selectTab(app::ids::PageControl1, kViews[n].outerTab);
            if (kViews[n].innerTab >= 0) app.selectTab(settings::ids::PageControl2, kViews[n].innerTab);
            RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
            app.sync();
            if (kViews[n].trayMenu) printRect(openMenu(app, h));
            else printRect(h);
            return 0;
        }
        if (argc >= 2 && std::strcmp(argv[1], "close") == 0) {
            HWND h = FindWindowW(nullptr, fromGbk(kCaption).c_str());
            if (h) PostMessageW(h, WM_CLOSE, 0, 0);
            return 0;
        }
        std::fprintf(stderr, "usage: e2e_shoot names | wait [MS] | page N | close\n");
        return 2;
    } catch (const Failure& f) {
        std::fprintf(stderr, "e2e_shoot: %s\n", f.what());
        return 1;
    }
}
