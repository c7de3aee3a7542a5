// The native peers under Wine, in the manner of Wine's own control tests: the
// real controls are driven and what reached the hooks and the events is
// compared with the expected sequence.
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

TEST_F(PeerEvents, FocusMovingBetweenTwoEditsExitsTheFirstBeforeEnteringTheSecond) {
    ui::TEdit a(form, 1), b(form, 2);
    a.setBounds(10, 10, 100, 22);
    b.setBounds(10, 40, 100, 22);
    record(a, "a");
    record(b, "b");
    auto ha = a.installHook(watching("a"));
    auto hb = b.installHook(watching("b"));
    a.setFocus();
    b.setFocus();
    EXPECT_EQ(log, (Log{"a: setfocus", "a enter", "a: killfocus", "a exit", "b: setfocus",
                        "b enter"}));
    EXPECT_TRUE(b.focused());
}

// A panel that holds the keyboard: Tab and Shift+Tab go round its own
// controls, and a key meant for a control beside it goes to its entry field.
TEST_F(PeerEvents, APanelHoldingTheKeyboardKeepsEveryKeyInside) {
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
        return std::make_pair(taken, m.hwnd);
    };
    outside.setFocus();
    EXPECT_EQ(key(hwndOf(outside), VK_DOWN, false).second, hwndOf(entry)) << "sent on to the field";
    EXPECT_TRUE(entry.focused());
    EXPECT_TRUE(key(hwndOf(entry), VK_TAB, true).first);
    EXPECT_TRUE(quit.focused()) << "Shift+Tab from the first goes round to the last";
    key(hwndOf(quit), VK_TAB, false);
    EXPECT_TRUE(entry.focused()) << "Tab from the last goes round to the first";
    key(hwndOf(outside), VK_TAB, false);
    EXPECT_TRUE(ok.focused()) << "a Tab meant for the list moves on from the field";

    panel.hide();
    outside.setFocus();
    EXPECT_EQ(key(hwndOf(outside), VK_DOWN, false).second, hwndOf(outside)) << "let go once hidden";
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

TEST_F(PeerEvents, ACheckBoxClickReportsTheTickBeforeTheClick) {
    ui::TCheckBox box(form, 1, "box");
    box.setBounds(10, 10, 120, 20);
    auto h = box.installHook(watching("box"));
    box.OnCheckChanged = [this] { log.push_back("box check"); };
    box.OnClick = [this] { log.push_back("box click"); };
    SendMessageA(hwndOf(box), BM_CLICK, 0, 0);
    // The press takes the focus; the release ticks the box, then tells the
    // parent.
    EXPECT_EQ(log, (Log{"box: setfocus", "box: setcheck", "box check", "box click"}));
    EXPECT_TRUE(box.checked());

    log.clear();
    box.setChecked(false);
    EXPECT_EQ(log, (Log{"box: setcheck", "box check", "box click"}));
}

TEST_F(PeerEvents, ClickingARadioButtonReportsBothButtonsThatChanged) {
    ui::TRadioGroup group(form, 10, "mode");
    group.setItems({"allow", "forbid"});
    group.setBoundsAndLayout(10, 10, 200, 80);
    group.setItemIndex(0);
    group.button(0).OnCheckChanged = [this] { log.push_back("0 check"); };
    group.button(1).OnCheckChanged = [this] { log.push_back("1 check"); };
    group.OnClick = [this] { log.push_back("group click"); };
    SendMessageA(hwndOf(group.button(1)), BM_CLICK, 0, 0);
    // The class unticks the other button itself; the order of the two ticks
    // is its own.
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log.back(), "group click");
    EXPECT_NE(std::find(log.begin(), log.end(), "0 check"), log.end());
    EXPECT_NE(std::find(log.begin(), log.end(), "1 check"), log.end());
    EXPECT_EQ(group.itemIndex(), 1);
}

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
    // The real mouse, moved over the button and away again.
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

TEST_F(PeerEvents, MessagesTheFormDoesNotKnowReachItsHandlers) {
    const UINT taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
    ASSERT_GE(taskbarCreated, 0xC000u);
    auto h = form.installHook(watching("form"));
    form.setMessageHandler(0x0464, [this](ui::TMessage& m) {
        log.push_back("tray " + std::to_string(m.wParam) + " " + std::to_string(m.lParam));
        m.result = 5;
        return true;
    });
    form.setMessageHandler(taskbarCreated, [this](ui::TMessage&) {
        log.push_back("taskbar created");
        return true;
    });
    HWND w = hwndOf(form);
    EXPECT_EQ(SendMessageA(w, 0x0464, 3, WM_LBUTTONUP), 5);
    PostMessageA(w, taskbarCreated, 0, 0);
    EXPECT_TRUE(pumpUntil([&] { return log.size() >= 3; }));
    EXPECT_EQ(SendMessageA(w, WM_APP + 1, 0, 0), 0);  // nobody's: the default answer
    EXPECT_EQ(log, (Log{"form: tray", "tray 3 514", "taskbar created", "form: app"}));
}

TEST_F(PeerEvents, HooksComeOffInAnyOrderAndTheControlKeepsWorking) {
    ui::TEdit edit(form, 1, "abc");
    edit.setBounds(10, 10, 100, 22);
    auto a = edit.installHook(watching("a"));
    auto b = edit.installHook(watching("b"));
    HWND w = hwndOf(edit);
    EXPECT_EQ(SendMessageA(w, WM_GETTEXTLENGTH, 0, 0), 3);
    a.remove();
    EXPECT_EQ(SendMessageA(w, WM_GETTEXTLENGTH, 0, 0), 3);
    auto frozen = edit.installHook([](ui::TMessage& m, const ui::TMessageNext& next) {
        if (m.msg != WM_SETTEXT) next(m);
    });
    SetWindowTextA(w, "changed");
    EXPECT_EQ(edit.text(), "abc");
    frozen.remove();
    b.remove();
    edit.setText("abcd");
    EXPECT_EQ(SendMessageA(w, WM_GETTEXTLENGTH, 0, 0), 4);
    // Reading the text asked the window for its length as well.
    EXPECT_EQ(log, (Log{"b: length", "a: length", "b: length", "b: length"}));
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

TEST(PeerEventsLifetime, AFormDestroyedWithHooksStillInstalledTakesThemOff) {
    ui::win32::Win32Application app(GetModuleHandleA(nullptr));
    Log log;
    auto watch = [&](const std::string& who) {
        return [&log, who](ui::TMessage& m, const ui::TMessageNext& next) {
            if (m.msg == WM_DESTROY) log.push_back(who);
            next(m);
        };
    };
    ui::THookRegistration onForm, onEdit, onBox;
    {
        ui::TForm form(app, "TPeerEventsForm");
        ui::TEdit edit(form, 1);
        ui::TCheckBox box(form, 2);
        form.show();
        onForm = form.installHook(watch("form"));
        onEdit = edit.installHook(watch("edit"));
        onBox = box.installHook(watch("box"));
        edit.setFocus();
        app.processMessages();
    }
    EXPECT_FALSE(onForm.installed());
    EXPECT_FALSE(onEdit.installed());
    onBox.remove();
    EXPECT_TRUE(log.empty());
}

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
