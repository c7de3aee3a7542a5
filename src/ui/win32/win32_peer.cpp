// The part every native peer shares: the window, its subclassing, the hooks
// in front of it, the events every window reports, and the properties every
// control has.
#include "ui/win32/win32_peers.h"

#include <algorithm>

#include "ui/messages.h"
#include "ui/win32/win32_canvas.h"
#include "ui/win32/win32_families.h"

namespace ui::win32 {

const char* const kTipsProp = "MorvaneTips";

namespace {
const char* const kPeerProp = "MorvanePeer";
// The class procedure, kept with the window and not only with the peer: a
// subclass put on after ours may outlive the peer and still call us.
const char* const kOldProcProp = "MorvaneClassProc";

// Polling for the mouse leaving, where the system cannot report it.
constexpr UINT_PTR kLeavePollTimer = 0x4D6C;
constexpr UINT kLeavePollMs = 100;

HWND rootOf(HWND h) {
    while (h && (GetWindowLongPtrA(h, GWL_STYLE) & WS_CHILD)) h = GetParent(h);
    return h;
}

LRESULT CALLBACK childProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
    if (Win32Peer* p = Win32Peer::of(h)) return p->receive(msg, w, l);
    auto old = reinterpret_cast<WNDPROC>(GetPropA(h, kOldProcProp));
    if (msg == WM_NCDESTROY) RemovePropA(h, kOldProcProp);
    return old ? CallWindowProcA(old, h, msg, w, l) : DefWindowProcA(h, msg, w, l);
}
}  // namespace

// --- Win32Peer

Win32Peer::Win32Peer(Win32Application& app, PeerKind kind, PeerSink& sink)
    : app_(app), kind_(kind), sink_(sink) {}

// The control is half gone by now: its hooks come off before its window
// goes, so that none of them sees it in that state.
Win32Peer::~Win32Peer() {
    hooks().clear();
    if (hwnd_) {
        HWND h = hwnd_;
        if (oldProc_) detach();
        hwnd_ = nullptr;
        DestroyWindow(h);
    }
}

bool Win32Peer::create(DWORD exStyle, const char* cls, DWORD style, HWND parent, int id) {
    hwnd_ = CreateWindowExA(exStyle, cls, "", style, 0, 0, 0, 0, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), app_.instance(),
                            nullptr);
    if (!hwnd_) return false;
    SetPropA(hwnd_, kPeerProp, this);
    oldProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(childProc)));
    SetPropA(hwnd_, kOldProcProp, reinterpret_cast<HANDLE>(oldProc_));
    return true;
}

// Our procedure comes off the window only while it is the outermost one;
// under a later subclass it stays, and passes everything to the class.
void Win32Peer::detach() {
    RemovePropA(hwnd_, kPeerProp);
    if (GetWindowLongPtrA(hwnd_, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(childProc)) {
        SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(oldProc_));
        RemovePropA(hwnd_, kOldProcProp);
    }
}

LRESULT Win32Peer::receive(UINT msg, WPARAM w, LPARAM l) {
    TMessage m{msg, w, l, 0};
    hooks().dispatch(m, [this](TMessage& inner) {
        inner.result = own(inner.msg, inner.wParam, inner.lParam);
    });
    return m.result;
}

const Win32Peer::After Win32Peer::kAfterClass[] = {
    {WM_SETFOCUS, &Win32Peer::gotFocus},
    {WM_KILLFOCUS, &Win32Peer::lostFocus},
    {WM_PAINT, &Win32Peer::painted},
    {WM_MOUSELEAVE, &Win32Peer::mouseLeft},
    {WM_ENABLE, &Win32Peer::enabledChanged},
    {WM_SETTEXT, &Win32Peer::textChanged},
};

LRESULT Win32Peer::own(UINT msg, WPARAM w, LPARAM l) {
    LRESULT r = 0;
    if (routeToChild(app_, hwnd_, msg, w, l, r)) return r;
    if (filter(msg, w, l, r)) return r;
    if (msg == WM_NCDESTROY) return windowGone(w, l);
    if (msg == WM_TIMER && w == kLeavePollTimer) {
        pollMouse();
        return 0;
    }
    if (msg == WM_MOUSEMOVE) mouseMoved(l);
    r = classProc(msg, w, l);
    for (const After& a : kAfterClass)
        if (a.msg == msg) (this->*a.report)();
    return r;
}

LRESULT Win32Peer::windowGone(WPARAM w, LPARAM l) {
    HWND h = hwnd_;
    const WNDPROC old = oldProc_;
    detach();
    hwnd_ = nullptr;
    return CallWindowProcA(old, h, WM_NCDESTROY, w, l);
}

// A move outside the client area (the mouse is captured) enters nothing.
void Win32Peer::mouseMoved(LPARAM at) {
    RECT rc;
    GetClientRect(hwnd_, &rc);
    const POINT pt{static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
    if (hot_ || !PtInRect(&rc, pt)) return;
    hot_ = true;
    if (!app_.trackMouseLeave(hwnd_)) SetTimer(hwnd_, kLeavePollTimer, kLeavePollMs, nullptr);
    // Windows reports at once a window the mouse is not over; Wine never.
    else if (!underMouse()) PostMessageA(hwnd_, WM_MOUSELEAVE, 0, 0);
    notifyHooks(cm::MouseEnter);
    raise(&PeerSink::peerMouseEnter);
}

bool Win32Peer::underMouse() const {
    POINT pt{};
    return GetCursorPos(&pt) && WindowFromPoint(pt) == hwnd_;
}

// Told the way TrackMouseEvent would tell, so hooks see the same message on
// every system.
void Win32Peer::pollMouse() {
    if (underMouse()) return;
    KillTimer(hwnd_, kLeavePollTimer);
    SendMessageA(hwnd_, WM_MOUSELEAVE, 0, 0);
}

void Win32Peer::mouseLeft() {
    if (!hot_) return;
    hot_ = false;
    notifyHooks(cm::MouseLeave);
    raise(&PeerSink::peerMouseLeave);
}

void Win32Peer::lostFocus() {
    notifyHooks(cm::Exit);
    raise(&PeerSink::peerExit);
}

void Win32Peer::enabledChanged() { notifyHooks(cm::EnabledChanged); }

void Win32Peer::textChanged() { notifyHooks(cm::TextChanged); }

void Win32Peer::paintOver(bool wholeWindow,
                          const std::function<void(TCanvas&, const TRect&)>& paint) {
    if (!hwnd_ || !IsWindowVisible(hwnd_)) return;
    HDC dc = wholeWindow ? GetWindowDC(hwnd_) : GetDC(hwnd_);
    if (!dc) return;
    RECT rc{};
    if (wholeWindow) {
        GetWindowRect(hwnd_, &rc);
        OffsetRect(&rc, -rc.left, -rc.top);
    } else {
        GetClientRect(hwnd_, &rc);
    }
    {
        Win32Canvas canvas(dc, app_);
        guard([&] { paint(canvas, TRect{rc.left, rc.top, rc.right, rc.bottom}); });
    }
    ReleaseDC(hwnd_, dc);
}

Win32Peer* Win32Peer::of(HWND h) {
    return h ? static_cast<Win32Peer*>(GetPropA(h, kPeerProp)) : nullptr;
}

void Win32Peer::setBounds(int left, int top, int width, int height) {
    MoveWindow(hwnd_, left, top, width, height, TRUE);
}

TRect Win32Peer::bounds() const {
    RECT r{};
    GetWindowRect(hwnd_, &r);
    if (HWND parent = GetParent(hwnd_); parent && (style() & WS_CHILD))
        MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right, r.bottom};
}

void Win32Peer::setText(const std::string& text) { SetWindowTextA(hwnd_, text.c_str()); }

std::string Win32Peer::text() const {
    const int n = GetWindowTextLengthA(hwnd_);
    std::string s(static_cast<size_t>(n) + 1, '\0');
    const int got = GetWindowTextA(hwnd_, s.data(), n + 1);
    s.resize(static_cast<size_t>(std::max(0, got)));
    return s;
}

void Win32Peer::setVisible(bool v) { ShowWindow(hwnd_, v ? SW_SHOW : SW_HIDE); }

bool Win32Peer::visible() const { return (style() & WS_VISIBLE) != 0; }

void Win32Peer::setEnabled(bool e) { EnableWindow(hwnd_, e); }

bool Win32Peer::enabled() const { return IsWindowEnabled(hwnd_) != 0; }

void Win32Peer::setFocus() { SetFocus(hwnd_); }

bool Win32Peer::focused() const { return GetFocus() == hwnd_; }

void Win32Peer::setHint(const std::string& hint) {
    HWND tips = static_cast<HWND>(GetPropA(rootOf(hwnd_), kTipsProp));
    if (!tips) return;
    TOOLINFOA ti{};
    ti.cbSize = TTTOOLINFOA_V1_SIZE;
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = rootOf(hwnd_);
    ti.uId = reinterpret_cast<UINT_PTR>(hwnd_);
    ti.lpszText = const_cast<char*>(hint.c_str());
    if (hint.empty()) {
        if (hasTool_) SendMessageA(tips, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
        hasTool_ = false;
    } else if (!hasTool_) {
        hasTool_ = SendMessageA(tips, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti)) != 0;
    } else {
        SendMessageA(tips, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&ti));
    }
}

void Win32Peer::setFont(const TFont& font) {
    font_ = font;
    SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(app_.font(font)), TRUE);
}

void Win32Peer::bringToFront() {
    SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void Win32Peer::invalidate() { InvalidateRect(hwnd_, nullptr, TRUE); }

void Win32Peer::changeStyle(LONG_PTR add, LONG_PTR remove) {
    SetWindowLongPtrA(hwnd_, GWL_STYLE, (style() & ~remove) | add);
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void Win32Peer::setBevel(TBevelCut cut) {
    LONG_PTR ex = GetWindowLongPtrA(hwnd_, GWL_EXSTYLE) & ~(WS_EX_STATICEDGE | WS_EX_DLGMODALFRAME);
    if (cut == TBevelCut::Lowered) ex |= WS_EX_STATICEDGE;
    if (cut == TBevelCut::Raised) ex |= WS_EX_DLGMODALFRAME;
    SetWindowLongPtrA(hwnd_, GWL_EXSTYLE, ex);
    SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

HBRUSH Win32Peer::ctlColor(HDC dc) {
    SetTextColor(dc, rgbOf(font_.color));
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return faceBrush();
}

bool Win32Peer::filter(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

}  // namespace ui::win32
