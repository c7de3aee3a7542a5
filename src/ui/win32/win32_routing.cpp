// What a parent window receives about its children goes back to them: one
// route per message, looked up in a table.
#include <algorithm>

#include "ui/menus.h"
#include "ui/win32/win32_canvas.h"
#include "ui/win32/win32_families.h"

namespace ui::win32 {

namespace {

bool command(Win32Application&, HWND, WPARAM w, LPARAM l, LRESULT& r) {
    Win32Peer* p = Win32Peer::of(reinterpret_cast<HWND>(l));
    if (!p) return false;
    const int code = HIWORD(w);
    p->command(code);
    r = 0;
    return true;
}

bool notify(Win32Application&, HWND, WPARAM, LPARAM l, LRESULT& r) {
    auto* nm = reinterpret_cast<NMHDR*>(l);
    Win32Peer* p = nm ? Win32Peer::of(nm->hwndFrom) : nullptr;
    if (!p) return false;
    return p->notify(*nm, r);
}

// Owner-drawn menu items carry their TMenuItem as the item data.
void measureMenuItem(Win32Application& app, HWND self, MEASUREITEMSTRUCT& m) {
    auto* item = reinterpret_cast<TMenuItem*>(m.itemData);
    if (!item || !item->OnMeasureItem) return;
    const WindowDc dc(self, objects::create(objects::Dc, [&] { return GetDC(self); }));
    Win32Canvas canvas(dc.dc, app);
    int width = static_cast<int>(m.itemWidth), height = static_cast<int>(m.itemHeight);
    item->OnMeasureItem(canvas, width, height);
    m.itemWidth = static_cast<UINT>(std::max(0, width));
    m.itemHeight = static_cast<UINT>(std::max(0, height));
}

void drawMenuItem(Win32Application& app, DRAWITEMSTRUCT& d) {
    auto* item = reinterpret_cast<TMenuItem*>(d.itemData);
    if (!item || !item->OnDrawItem) return;
    Win32Canvas canvas(d.hDC, app);
    const TRect rect{d.rcItem.left, d.rcItem.top, d.rcItem.right, d.rcItem.bottom};
    TOwnerDrawState state;
    state.selected = (d.itemState & ODS_SELECTED) != 0;
    state.disabled = (d.itemState & (ODS_DISABLED | ODS_GRAYED)) != 0;
    state.checked = (d.itemState & ODS_CHECKED) != 0;
    state.isDefault = (d.itemState & ODS_DEFAULT) != 0;
    item->OnDrawItem(canvas, rect, state);
}

bool drawItem(Win32Application& app, HWND, WPARAM, LPARAM l, LRESULT& r) {
    auto* d = reinterpret_cast<DRAWITEMSTRUCT*>(l);
    if (d->CtlType == ODT_MENU) {
        drawMenuItem(app, *d);
        r = TRUE;
        return true;
    }
    Win32Peer* p = Win32Peer::of(d->hwndItem);
    if (!p) return false;
    p->drawItem(*d);
    r = TRUE;
    return true;
}

bool measureItem(Win32Application& app, HWND self, WPARAM, LPARAM l, LRESULT& r) {
    auto* m = reinterpret_cast<MEASUREITEMSTRUCT*>(l);
    if (m->CtlType == ODT_MENU) measureMenuItem(app, self, *m);
    else if (Win32Peer* p = Win32Peer::of(GetDlgItem(self, static_cast<int>(m->CtlID)))) p->measureItem(*m);
    else m->itemHeight = 16;
    r = TRUE;
    return true;
}

bool ctlColor(Win32Application&, HWND, WPARAM w, LPARAM l, LRESULT& r) {
    Win32Peer* p = Win32Peer::of(reinterpret_cast<HWND>(l));
    if (!p) return false;
    HBRUSH b = p->ctlColor(reinterpret_cast<HDC>(w));
    if (!b) return false;
    r = reinterpret_cast<LRESULT>(b);
    return true;
}

bool scroll(Win32Application&, HWND, WPARAM w, LPARAM l, LRESULT& r) {
    Win32Peer* p = l ? Win32Peer::of(reinterpret_cast<HWND>(l)) : nullptr;
    if (!p) return false;
    const int code = LOWORD(w);
    p->scroll(code);
    r = 0;
    return true;
}

bool setCursor(Win32Application& app, HWND, WPARAM w, LPARAM l, LRESULT& r) {
    Win32Peer* p = Win32Peer::of(reinterpret_cast<HWND>(w));
    if (!p || p->cursor() != TCursor::HandPoint || LOWORD(l) != HTCLIENT) return false;
    SetCursor(app.handCursor());
    r = TRUE;
    return true;
}

using Route = bool (*)(Win32Application& app, HWND self, WPARAM w, LPARAM l, LRESULT& r);

struct RouteEntry {
    UINT msg;
    Route route;
};

constexpr RouteEntry kRoutes[] = {
    {WM_COMMAND, command},         {WM_NOTIFY, notify},         {WM_DRAWITEM, drawItem},
    {WM_MEASUREITEM, measureItem}, {WM_CTLCOLORSTATIC, ctlColor}, {WM_CTLCOLORBTN, ctlColor},
    {WM_VSCROLL, scroll},          {WM_HSCROLL, scroll},        {WM_SETCURSOR, setCursor},
};

}  // namespace

bool routeToChild(Win32Application& app, HWND self, UINT msg, WPARAM w, LPARAM l, LRESULT& r) {
    for (const RouteEntry& e : kRoutes)
        if (e.msg == msg) return e.route(app, self, w, l, r);
    return false;
}

}  // namespace ui::win32
