// What only the native peers show under Wine, in the manner of Wine's own
// control tests: the real controls are driven and what reached the hooks and
// the events is compared with the expected sequence. The rules both families
// share are in tests/widgets/.
#include <gtest/gtest.h>

#include "platform/win32/win.h"

#include <commctrl.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/controls.h"
#include "ui/menus.h"
#include "ui/win32/win32_app.h"
#include "wine/wine_support.h"

using Log = std::vector<std::string>;

namespace {

struct Named {
    UINT msg;
    const char* name;
};
constexpr Named kWatched[] = {
    {WM_SETFOCUS, "setfocus"},     {WM_KILLFOCUS, "killfocus"},   {BM_SETCHECK, "setcheck"},
    {WM_MOUSELEAVE, "mouseleave"}, {WM_DESTROY, "destroy"},       {WM_NCDESTROY, "ncdestroy"},
    {WM_GETTEXTLENGTH, "length"},  {WM_APP + 1, "app"},           {0x0464, "tray"},
};

const char* nameOf(UINT msg) {
    for (const Named& n : kWatched)
        if (n.msg == msg) return n.name;
    return nullptr;
}

HWND hwndOf(const ui::TControl& c) { return reinterpret_cast<HWND>(c.handle()); }

struct PeerEvents : ::testing::Test {
    PeerEvents() {
        form.setClientSize(300, 200);
        form.moveTo(200, 200);
        form.show();
        app.processMessages();
    }
    // A hook that writes the watched messages under the control's name.
    ui::THookFunction watching(const std::string& who) {
        return [this, who](ui::TMessage& m, const ui::TMessageNext& next) {
            if (const char* n = nameOf(m.msg)) log.push_back(who + ": " + n);
            next(m);
        };
    }
    void record(ui::TControl& c, const std::string& who) {
        c.OnEnter = [this, who] { log.push_back(who + " enter"); };
        c.OnExit = [this, who] { log.push_back(who + " exit"); };
        c.OnMouseEnter = [this, who] { log.push_back(who + " mouse in"); };
        c.OnMouseLeave = [this, who] { log.push_back(who + " mouse out"); };
        c.OnCheckChanged = [this, who] { log.push_back(who + " check"); };
        c.OnClick = [this, who] { log.push_back(who + " click"); };
    }
    bool pumpUntil(const std::function<bool()>& done, DWORD ms = 3000) {
        return winetest::waitUntil([&] {
            app.processMessages();
            return done();
        }, ms);
    }
    ui::win32::Win32Application app{GetModuleHandleA(nullptr)};
    ui::TForm form{app, "TPeerEventsForm"};
    Log log;
};

// The tab order is the window manager's (the in-memory family has none): in a
// panel that holds the keyboard, Tab and Shift+Tab go round its own controls.
TEST_F(PeerEvents, TabGoesRoundThePanelHoldingTheKeyboard) {
    ui::TListBox outside(form, 1);
    outside.setBounds(10, 10, 100, 60);
    ui::TPanel panel(form, 2);
    panel.setBounds(120, 10, 170, 120);
    ui::TEdit entry(panel, 3);
    ui::TButton ok(panel, 4, "ok"), quit(panel, 5, "quit");
    entry.setBounds(5, 5, 100, 22);
    ok.setBounds(5, 40, 60, 24);
    quit.setBounds(70, 40, 60, 24);
    form.holdKeyboard(&panel, &entry);
    app.processMessages();
    auto key = [&](HWND to, UINT vk, bool shift) {
        BYTE keys[256] = {};
        GetKeyboardState(keys);
        keys[VK_SHIFT] = shift ? 0x80 : 0;
        SetKeyboardState(keys);
        MSG m{to, WM_KEYDOWN, vk, 1, 0, {0, 0}};
        const bool taken = app.preTranslate(m);
        keys[VK_SHIFT] = 0;
        SetKeyboardState(keys);
        return taken;
    };
    entry.setFocus();
    EXPECT_TRUE(key(hwndOf(entry), VK_TAB, true));
    EXPECT_TRUE(quit.focused()) << "Shift+Tab from the first goes round to the last";
    key(hwndOf(quit), VK_TAB, false);
    EXPECT_TRUE(entry.focused()) << "Tab from the last goes round to the first";
    outside.setFocus();
    key(hwndOf(outside), VK_TAB, false);
    EXPECT_TRUE(ok.focused()) << "a Tab meant for the list moves on from the field";
}

// The comctl32 of Windows 95 has no full-row selection: a click on a row's
// second column must still select the row, before the click is reported.
TEST_F(PeerEvents, AClickOnARowsSecondColumnSelectsItWithoutTheExtendedStyle) {
    ui::TListView list(form, 1);
    list.setBounds(10, 10, 280, 150);
    list.addColumn("name", 100);
    list.addColumn("where", 150);
    for (const char* name : {"one", "two", "three"}) list.setSubItem(list.addItem(name), 0, "place");
    int selectedAtClick = -2;
    list.OnClick = [&] { selectedAtClick = list.itemIndex(); };
    app.processMessages();
    HWND h = hwndOf(list);
    SendMessageA(h, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, 0);
    RECT row{};
    row.left = LVIR_BOUNDS;
    ASSERT_TRUE(SendMessageA(h, LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&row)));
    POINT at{150, (row.top + row.bottom) / 2};  // inside the second column
    POINT screen = at;
    ClientToScreen(h, &screen);
    SetCursorPos(screen.x, screen.y);
    PostMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    PostMessageA(h, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
    EXPECT_TRUE(pumpUntil([&] { return selectedAtClick != -2; })) << "no click reported";
    EXPECT_EQ(selectedAtClick, 1);
    EXPECT_EQ(list.itemIndex(), 1);
}

// A real press takes the focus before the release ticks the box; the
// in-memory click leaves the focus where it was.
TEST_F(PeerEvents, AClickOnACheckBoxTakesTheFocusBeforeItTicks) {
    ui::TCheckBox box(form, 1, "box");
    box.setBounds(10, 10, 120, 20);
    auto h = box.installHook(watching("box"));
    box.OnCheckChanged = [this] { log.push_back("box check"); };
    box.OnClick = [this] { log.push_back("box click"); };
    SendMessageA(hwndOf(box), BM_CLICK, 0, 0);
    EXPECT_EQ(log, (Log{"box: setfocus", "box: setcheck", "box check", "box click"}));
    EXPECT_TRUE(box.focused());
}

// Where TrackMouseEvent is missing (Windows 95) the peer polls; both ways
// the hooks see WM_MOUSELEAVE.
TEST_F(PeerEvents, TheMouseLeavingIsReportedByTheSystemOrByPolling) {
    ui::TButton button(form, 1, "b");
    button.setBounds(10, 10, 80, 24);
    record(button, "b");
    auto h = button.installHook(watching("b"));
    EXPECT_TRUE(app.trackMouseLeave(hwndOf(button)));  // found at run time
    SetCursorPos(5, 5);  // far from the window
    for (bool polling : {false, true}) {
        SCOPED_TRACE(polling ? "polling" : "TrackMouseEvent");
        app.pollMouseLeave = polling;
        log.clear();
        SendMessageA(hwndOf(button), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
        SendMessageA(hwndOf(button), WM_MOUSEMOVE, 0, MAKELPARAM(6, 5));
        EXPECT_TRUE(pumpUntil([&] { return log.size() >= 3; }));
        EXPECT_EQ(log, (Log{"b mouse in", "b: mouseleave", "b mouse out"}));
    }
    // The real mouse, moved over the button and away again (kept here while
    // the contract's mouse case cannot run under Wine).
    app.pollMouseLeave = false;
    log.clear();
    RECT r;
    GetWindowRect(hwndOf(button), &r);
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    EXPECT_TRUE(pumpUntil([&] { return !log.empty(); }));
    SetCursorPos(5, 5);
    EXPECT_TRUE(pumpUntil([&] { return log.size() >= 3; }));
    EXPECT_EQ(log, (Log{"b mouse in", "b: mouseleave", "b mouse out"}));
}

// The text is read from the window, length first, and the hooks see it.
TEST_F(PeerEvents, ReadingTheTextAsksTheWindowThroughItsHooks) {
    ui::TEdit edit(form, 1, "abcd");
    edit.setBounds(10, 10, 100, 22);
    ASSERT_TRUE(hwndOf(edit));
    auto b = edit.installHook(watching("b"));
    EXPECT_EQ(edit.text(), "abcd");
    EXPECT_EQ(log, (Log{"b: length"}));
}

// A subclass of someone else's, put on the window after the peer's.
struct Foreign {
    static constexpr const char* kProp = "TestForeignSubclass";
    explicit Foreign(HWND h) {
        SetPropA(h, kProp, this);
        old = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc)));
    }
    static LRESULT CALLBACK proc(HWND h, UINT msg, WPARAM w, LPARAM l) {
        auto* self = static_cast<Foreign*>(GetPropA(h, kProp));
        if (const char* n = nameOf(msg)) self->seen.push_back(n);
        const WNDPROC old = self->old;
        if (msg == WM_NCDESTROY) {
            RemovePropA(h, kProp);
            SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old));
        }
        return CallWindowProcA(old, h, msg, w, l);
    }
    WNDPROC old = nullptr;
    Log seen;
};

TEST_F(PeerEvents, ALaterSubclassStaysOnTheWindowWhenTheControlGoes) {
    auto edit = std::make_unique<ui::TEdit>(form, 1, "abc");
    Foreign foreign(hwndOf(*edit));
    auto h = edit->installHook(watching("hook"));
    EXPECT_EQ(SendMessageA(hwndOf(*edit), WM_GETTEXTLENGTH, 0, 0), 3);
    edit.reset();
    EXPECT_EQ(foreign.seen, (Log{"length", "destroy", "ncdestroy"}));
    // The hook saw its message, and nothing of its control's end.
    EXPECT_EQ(log, (Log{"hook: length"}));
    EXPECT_FALSE(h.installed());
}

TEST_F(PeerEvents, AWindowDestroyedUnderItsControlsTellsTheirHooksOnce) {
    ui::TEdit edit(form, 1, "abc");
    ASSERT_TRUE(hwndOf(edit));
    auto ending = [this](const std::string& who) {
        return [this, who](ui::TMessage& m, const ui::TMessageNext& next) {
            if (m.msg == WM_DESTROY || m.msg == WM_NCDESTROY) log.push_back(who + ": " + nameOf(m.msg));
            next(m);
        };
    };
    auto he = edit.installHook(ending("edit"));
    auto hf = form.installHook(ending("form"));
    DestroyWindow(hwndOf(form));
    EXPECT_EQ(log, (Log{"form: destroy", "edit: destroy", "edit: ncdestroy", "form: ncdestroy"}));
    log.clear();
    EXPECT_EQ(edit.perform(WM_GETTEXTLENGTH), 0);
    EXPECT_EQ(edit.handle(), 0u);
    EXPECT_TRUE(log.empty());
}

// Every flag the system may set, ODS_DISABLED alone included, reaches the
// painter.
TEST_F(PeerEvents, OwnerDrawnMenuItemsHearTheirStateFromTheSystem) {
    ui::TPopupMenu menu(app);
    ui::TMenuItem item(menu, 1, "show");
    menu.ownerDraw = true;
    ui::TOwnerDrawState got;
    ui::TRect rect;
    int measured = 0;
    item.OnMeasureItem = [&](ui::TCanvas&, int& w, int& h) {
        ++measured;
        w = 120;
        h += 4;
    };
    item.OnDrawItem = [&](ui::TCanvas&, const ui::TRect& r, const ui::TOwnerDrawState& s) {
        got = s;
        rect = r;
    };
    HWND w = hwndOf(form);
    MEASUREITEMSTRUCT m{};
    m.CtlType = ODT_MENU;
    m.itemHeight = 16;
    m.itemData = reinterpret_cast<ULONG_PTR>(&item);
    EXPECT_TRUE(SendMessageA(w, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&m)));
    EXPECT_EQ(measured, 1);
    EXPECT_EQ(m.itemWidth, 120u);
    EXPECT_EQ(m.itemHeight, 20u);

    HDC dc = GetDC(w);
    DRAWITEMSTRUCT d{};
    d.CtlType = ODT_MENU;
    d.itemState = ODS_SELECTED | ODS_GRAYED | ODS_CHECKED | ODS_DEFAULT;
    d.hDC = dc;
    d.rcItem = {2, 3, 122, 23};
    d.itemData = reinterpret_cast<ULONG_PTR>(&item);
    EXPECT_TRUE(SendMessageA(w, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&d)));
    EXPECT_EQ(got, (ui::TOwnerDrawState{true, true, true, true}));
    EXPECT_EQ(rect, (ui::TRect{2, 3, 122, 23}));
    d.itemState = ODS_DISABLED;
    SendMessageA(w, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&d));
    EXPECT_EQ(got, (ui::TOwnerDrawState{false, true, false, false}));
    ReleaseDC(w, dc);
}

}  // namespace
