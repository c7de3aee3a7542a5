// The widget contract's window system under Wine: the Win32 application over
// real windows. Input goes through the system: messages from outside, the
// real cursor, keys through the application's own loop, and a real popup
// menu driven from inside its modal loop.
#include "platform/win32/win.h"

#include "ui/controls.h"
#include "ui/menus.h"
#include "ui/win32/win32_app.h"
#include "widgets/widget_world.h"
#include "wine/wine_support.h"

namespace {

HWND hwndOf(const ui::TControl& c) { return reinterpret_cast<HWND>(c.handle()); }

// Errors are kept for the tests instead of waiting in a box.
class RecordingApplication : public ui::win32::Win32Application {
public:
    using Win32Application::Win32Application;
    void showErrorText(const std::string& text) override { errors.push_back(text); }
    std::vector<std::string> errors;
};

// Runs inside the menu's modal loop: once the menu has shown, the keyboard
// walks up to the wanted item and chooses it, or Escape closes the menu.
struct MenuDriver {
    int want = 0;
    int ticks = 0;
    int presses = 0;
    bool done = false;
};
MenuDriver* driving = nullptr;

void CALLBACK driveMenu(HWND, UINT, UINT_PTR, DWORD) {
    MenuDriver* d = driving;
    if (!d || d->done) return;
    HWND menu = FindWindowA("#32768", nullptr);
    if (!menu || !IsWindowVisible(menu)) return;
    if (++d->ticks < 3) return;  // painted before it is touched
    HMENU h = reinterpret_cast<HMENU>(SendMessageA(menu, MN_GETHMENU, 0, 0));
    if (!d->want || !h || d->presses > 12) {
        PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
        d->done = true;
    } else if (GetMenuState(h, static_cast<UINT>(d->want), MF_BYCOMMAND) & MF_HILITE) {
        PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
        d->done = true;
    } else {
        PostMessageA(menu, WM_KEYDOWN, VK_UP, 0);
        ++d->presses;
    }
}

class Win32World : public widgets::World {
public:
    std::unique_ptr<ui::TApplication> newApplication() override {
        auto app = std::make_unique<RecordingApplication>(GetModuleHandleA(nullptr));
        app_ = app.get();
        return app;
    }
    bool settle(const std::function<bool()>& done, int ms) override {
        return winetest::waitUntil([&] {
            app_->processMessages();
            return done();
        }, static_cast<DWORD>(ms));
    }
    std::intptr_t send(std::uintptr_t window, std::uint32_t msg, std::uintptr_t wParam,
                       std::intptr_t lParam) override {
        return SendMessageA(reinterpret_cast<HWND>(window), msg, wParam, lParam);
    }
    void post(std::uintptr_t window, std::uint32_t msg, std::uintptr_t wParam,
              std::intptr_t lParam) override {
        PostMessageA(reinterpret_cast<HWND>(window), msg, wParam, lParam);
    }
    void hover(ui::TControl* c) override {
        POINT at{5, 5};  // far from the windows
        if (c) {
            RECT r{};
            GetWindowRect(hwndOf(*c), &r);
            at = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        }
        SetCursorPos(at.x, at.y);
        app_->processMessages();
    }
    void click(ui::TCheckBox& box) override { SendMessageA(hwndOf(box), BM_CLICK, 0, 0); }
    void click(ui::TRadioGroup& group, int index) override {
        SendMessageA(hwndOf(group.button(index)), BM_CLICK, 0, 0);
    }
    // Posted to the focused window and pumped through the application's
    // loop, which holds the dialog keys and the keyboard holder.
    void key(ui::TForm& form, int vk) override {
        HWND to = GetFocus();
        if (!to) to = hwndOf(form);
        const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyA(static_cast<UINT>(vk), 0)) << 16;
        PostMessageA(to, WM_KEYDOWN, static_cast<WPARAM>(vk), scan | 1);
        PostMessageA(to, WM_KEYUP, static_cast<WPARAM>(vk), scan | 1 | 0xC0000000);
        app_->processMessages();
        app_->processMessages();
    }
    void paint(ui::TControl& c) override {
        RedrawWindow(hwndOf(c), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_NOCHILDREN);
    }
    void popup(ui::TPopupMenu& menu, int id) override {
        MenuDriver d;
        d.want = id;
        driving = &d;
        const UINT_PTR timer = SetTimer(nullptr, 0, 50, driveMenu);
        menu.popup(400, 300);
        KillTimer(nullptr, timer);
        driving = nullptr;
        app_->processMessages();
    }
    // Wine's X11 driver on its virtual desktop puts the cursor back at its
    // previous place after SetCursorPos and sends the window there a move
    // of its own, so each control is entered and left twice.
    bool steadyMouse() const override { return false; }
    std::vector<std::string> errors() override { return app_->errors; }

private:
    RecordingApplication* app_ = nullptr;
};

}  // namespace

widgets::World& widgets::widgetWorld() {
    static Win32World world;
    return world;
}
