// The seam of test builds. Controlled by the environment at start
// (MORVANE_UI_FAULT=K fails the K-th call, K+ every call from the K-th on)
// and later through the registered message "MorvaneObjects" to the main
// window: wParam 0 arms (lParam K > 0 alone, -K from K on, 0 none) and
// starts the calls and the box tallies afresh; 1 asks the calls since;
// 2 + kind the live count of a kind; 32 + kind how many were made since;
// 64 + kind the most alive at once since.
#ifdef MORVANE_UI_SEAM
#include "ui/win32/win32_objects.h"

#include <cstdlib>
#include <vector>

namespace ui::win32::objects {

namespace {
struct State {
    long calls = 0;
    long failAt = 0;  // 0: none
    bool onward = false;
    long live[kKinds] = {};
    long madeSince[kKinds] = {};
    long peak[kKinds] = {};
    std::vector<HWND> windows;  // counted alive while the system knows them
    State() {
        if (const char* e = std::getenv("MORVANE_UI_FAULT")) {
            char* end = nullptr;
            failAt = std::strtol(e, &end, 10);
            onward = end && *end == '+';
        }
    }
    long alive(int k) {
        if (k != Window) return live[k];
        std::erase_if(windows, [](HWND h) { return !IsWindow(h); });
        return static_cast<long>(windows.size());
    }
};
State& state() {
    static State s;
    return s;
}
}  // namespace

bool refuse(Kind) {
    State& s = state();
    ++s.calls;
    return s.failAt > 0 && (s.calls == s.failAt || (s.onward && s.calls > s.failAt));
}

void made(Kind k, std::uintptr_t h) {
    State& s = state();
    if (k == Window) s.windows.push_back(reinterpret_cast<HWND>(h));
    ++s.live[k];
    ++s.madeSince[k];
    if (k != Window && s.live[k] > s.peak[k]) s.peak[k] = s.live[k];
}

void gone(Kind k) { --state().live[k]; }

BOOL remove(Kind k, HGDIOBJ h, HDC dc) {
    if (!h || (dc && (GetCurrentObject(dc, OBJ_PEN) == h || GetCurrentObject(dc, OBJ_BRUSH) == h)))
        return FALSE;
    gone(k);
    return DeleteObject(h);
}

bool control(UINT msg, WPARAM w, LPARAM l, LRESULT& r) {
    static const UINT mine = RegisterWindowMessageA("MorvaneObjects");
    if (!mine || msg != mine) return false;
    State& s = state();
    if (w == 0) {
        s.calls = 0;
        s.failAt = l < 0 ? -l : l;
        s.onward = l < 0;
        for (int k = 0; k < kKinds; ++k) {
            s.madeSince[k] = 0;
            s.peak[k] = s.alive(k);
        }
        r = 1;
    } else if (w == 1) {
        r = s.calls;
    } else if (w >= 2 && w < 2 + kKinds) {
        r = s.alive(static_cast<int>(w - 2));
    } else if (w >= 32 && w < 32 + kKinds) {
        r = s.madeSince[w - 32];
    } else if (w >= 64 && w < 64 + kKinds) {
        r = s.peak[w - 64];
    } else {
        r = -1;
    }
    return true;
}

}  // namespace ui::win32::objects
#endif
