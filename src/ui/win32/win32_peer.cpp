// The part every native peer shares: the window, its subclassing, the hooks
// in front of it, the events every window reports, and the properties every
// control has.
#include "ui/win32/win32_peers.h"

#include <algorithm>

#include "base/error.h"
#include "base/small_map.h"

#include "ui/messages.h"
#include "ui/win32/win32_canvas.h"
#include "ui/win32/win32_families.h"
#include "ui/win32/win32_objects.h"

namespace ui::win32 {

namespace {
// Our subclassed windows: the peer (none once it has let go) and the class
// procedure, kept with the window and not only with the peer, as a subclass
// put on after ours may outlive the peer and still call us. A table of our
// own: under Wine every window property and window long set is a request to
// the server, four of them for each control made.
struct Subclassed {
    Win32Peer* peer;
    WNDPROC old;
};
base::SmallMap<HWND, Subclassed> subclassed;

// Polling for the mouse leaving, where the system cannot report it.
constexpr UINT_PTR kLeavePollTimer = 0x4D6C;
constexpr UINT kLeavePollMs = 100;

LRESULT CALLBACK childProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
    if (Win32Peer* p = Win32Peer::of(h)) return p->receive(msg, w, l);
    const auto it = subclassed.find(h);
    if (it == subclassed.end()) return text::api().defaultProc(h, msg, w, l);
    const WNDPROC old = it->second.old;
    if (msg == WM_NCDESTROY) subclassed.erase(h);
    return text::api().callProc(old, h, msg, w, l);
}
}  // namespace

// --- Win32Peer

Win32Peer::Win32Peer(Win32Application& app, PeerKind kind, PeerSink& sink)
    : app_(app), kind_(kind), sink_(sink) {}

// The control is half gone by now: its hooks come off before its window
// goes, so that none of them sees it in that state.
Win32Peer::~Win32Peer() {
    hooks().clear();
    for (Win32Peer* k : kids_) k->parent_ = nullptr;
    if (parent_) {
        auto& k = parent_->kids_;
        k.erase(std::remove(k.begin(), k.end(), this), k.end());
    }
    if (hwnd_) {
        HWND h = hwnd_;
        if (oldProc_) detach();
        hwnd_ = nullptr;
        DestroyWindow(h);
    }
}

void Win32Peer::defer(Win32Peer* parent, int id, const char* cls, DWORD style, DWORD exStyle) {
    parent_ = parent;
    if (parent_) parent_->kids_.push_back(this);
    id_ = id;
    cls_ = cls;
    style_ = static_cast<LONG_PTR>(style | WS_CHILD);
    exStyle_ = static_cast<LONG_PTR>(exStyle);
}

// Its siblings come with it, in their order: radio buttons untick each
// other only as windows, and the tab order is the order of making.
HWND Win32Peer::ensure() const {
    if (hwnd_ || !cls_) return hwnd_;
    if (!parent_) {
        const_cast<Win32Peer*>(this)->realize();
        return hwnd_;
    }
    parent_->ensure();
    const auto& k = parent_->kids_;
    for (std::size_t i = 0; i < k.size(); ++i)
        if (k[i]->pending()) k[i]->realize();
    return hwnd_;
}

void Win32Peer::realize() {
    HWND parent = parent_ ? parent_->ensure() : nullptr;
    if (!parent) {
        cls_ = nullptr;  // its parent's window is gone: it never comes
        return;
    }
    // No control listens for its children's WM_PARENTNOTIFY, which every
    // ancestor would otherwise get at each child's making, click and end.
    hwnd_ = objects::create(objects::Window, [&] {
        return text::api().createWindow(static_cast<DWORD>(exStyle_) | WS_EX_NOPARENTNOTIFY, text::arg(cls_),
                                        text::arg(text_), static_cast<DWORD>(style_), bounds_.left,
                                        bounds_.top, bounds_.width(), bounds_.height(), parent,
                                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id_)), app_.instance(), nullptr);
    });
    if (!hwnd_) throw base::Error("Cannot create a control window");
    subclass();
    placeInZOrder();
    if (hasFont_) SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(app_.font(font_)), FALSE);
    created();
    replay();
    // A hint matters once the mouse can come: not worth a wait at start.
    if (!hint_.empty()) {
        if (rootShown()) setHint(hint_);
        else hintLater_ = true;
    }
    raise(&PeerSink::peerCreated);
}

// A new child goes to the bottom; one made after siblings that were meant
// to lie below it goes back to its place.
void Win32Peer::placeInZOrder() {
    if (!parent_) return;
    const auto& k = parent_->kids_;
    auto at = std::find(k.begin(), k.end(), this);
    if (at == k.end() || std::none_of(at + 1, k.end(), [](Win32Peer* p) { return p->hwnd_; })) return;
    HWND after = HWND_TOP;
    for (auto i = k.begin(); i != at; ++i)
        if ((*i)->hwnd_) after = (*i)->hwnd_;
    SetWindowPos(hwnd_, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void Win32Peer::realizeShowing() {
    if (pending()) realize();
    for (std::size_t i = 0; i < kids_.size(); ++i)
        if (kids_[i]->style() & WS_VISIBLE) kids_[i]->realizeShowing();
}

bool Win32Peer::realizeNext() {
    for (std::size_t i = 0; i < kids_.size(); ++i) {
        Win32Peer* k = kids_[i];
        if (k->hintLater_) {
            k->hintLater_ = false;
            k->setHint(k->hint_);
            return true;
        }
        if (k->pending()) {
            k->realize();
            return true;
        }
        if (k->realizeNext()) return true;
    }
    return false;
}

bool Win32Peer::rootShown() const {
    const Win32Peer* p = this;
    while (p->parent_) p = p->parent_;
    return p->shown_;
}

void Win32Peer::subclass() {
    oldProc_ = reinterpret_cast<WNDPROC>(
        text::api().setLong(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(childProc)));
    subclassed[hwnd_] = {this, oldProc_};
}

// Our procedure comes off the window only while it is the outermost one;
// under a later subclass it stays, and passes everything to the class.
void Win32Peer::detach() {
    if (text::api().getLong(hwnd_, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(childProc)) {
        text::api().setLong(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(oldProc_));
        subclassed.erase(hwnd_);
    } else if (const auto it = subclassed.find(hwnd_); it != subclassed.end()) {
        it->second.peer = nullptr;
    }
}

// The event boundary of every window of ours, form and child: an error of
// our code, hooks included, is shown in the standard box and stops here,
// never crossing the system's frames that called the procedure; the message
// is then answered as one nobody handled.
LRESULT Win32Peer::receive(UINT msg, WPARAM w, LPARAM l) {
    TMessage m{msg, w, l, 0};
    try {
        hooks().dispatch(m, [this](TMessage& inner) {
            inner.result = own(inner.msg, inner.wParam, inner.lParam);
        });
    } catch (...) {
        app_.showCaught();
        return 0;
    }
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
    if (msg == WM_NCPAINT && !hasFrame()) return 0;
    if (msg == WM_PAINT) paint(w, l, r);
    else r = classProc(msg, w, l);
    for (const After& a : kAfterClass)
        if (a.msg == msg) (this->*a.report)();
    return r;
}

// The class paints into the device context we begin, so that the controls
// without a window can be drawn over its background in the same pass.
void Win32Peer::paint(WPARAM w, LPARAM l, LRESULT& r) {
    const bool kids = hasWindowlessKids();
    if (classPaint_ && (!kids || w)) {
        r = classProc(WM_PAINT, w, l);
        if (kids) paintWindowless(reinterpret_cast<HDC>(w));
        return;
    }
    // Ended also when a painter fails: a region left invalid would ask
    // for the failing paint again at once, for ever.
    struct Painting {
        HWND wnd;
        PAINTSTRUCT ps;
        HDC dc;
        explicit Painting(HWND h) : wnd(h), ps{}, dc(BeginPaint(h, &ps)) {}
        ~Painting() { EndPaint(wnd, &ps); }
    } painting(hwnd_);
    if (classPaint_) r = classProc(WM_PAINT, reinterpret_cast<WPARAM>(painting.dc), 0);
    if (kids) paintWindowless(painting.dc);
}

bool Win32Peer::hasWindowlessKids() const {
    return std::any_of(kids_.begin(), kids_.end(), [](const Win32Peer* k) { return k->windowless(); });
}

// Bottom of the z-order first; each in its own state of the context.
void Win32Peer::paintWindowless(HDC dc) {
    for (auto k = kids_.rbegin(); k != kids_.rend(); ++k) {
        if (!(*k)->windowless() || !(*k)->visible()) continue;
        const int saved = objects::create(objects::Saved, [&] { return SaveDC(dc); });
        if (!saved) continue;  // its drawing would change the context for the next
        (*k)->drawOnParent(dc);
        RestoreDC(dc, objects::release(objects::Saved, saved));
    }
}

// A control whose client area is the whole window has no frame, scroll bar
// or caption to draw; under Wine the default frame painting still costs a
// device context and a visible region each time the window is shown.
bool Win32Peer::hasFrame() const {
    RECT outer{}, client{};
    GetWindowRect(hwnd_, &outer);
    GetClientRect(hwnd_, &client);
    return outer.right - outer.left != client.right || outer.bottom - outer.top != client.bottom;
}

LRESULT Win32Peer::windowGone(WPARAM w, LPARAM l) {
    HWND h = hwnd_;
    cls_ = nullptr;  // gone for good: never made again
    const WNDPROC old = oldProc_;
    detach();
    subclassed.erase(h);  // its last message, even under a later subclass
    hwnd_ = nullptr;
    return text::api().callProc(old, h, WM_NCDESTROY, w, l);
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
    HDC dc = objects::create(objects::Dc, [&] { return wholeWindow ? GetWindowDC(hwnd_) : GetDC(hwnd_); });
    if (!dc) return;
    const WindowDc release(hwnd_, dc);
    RECT rc{};
    if (wholeWindow) {
        GetWindowRect(hwnd_, &rc);
        OffsetRect(&rc, -rc.left, -rc.top);
    } else {
        GetClientRect(hwnd_, &rc);
    }
    Win32Canvas canvas(dc, app_);
    paint(canvas, TRect{rc.left, rc.top, rc.right, rc.bottom});
}

// Every message asks this: from our own table, never from data another
// owner may have put on the window.
Win32Peer* Win32Peer::of(HWND h) {
    const auto it = subclassed.find(h);
    return it == subclassed.end() ? nullptr : it->second.peer;
}

void Win32Peer::setBounds(int left, int top, int width, int height) {
    if (!hwnd_) bounds_ = {left, top, left + width, top + height};
    else MoveWindow(hwnd_, left, top, width, height, TRUE);
}

TRect Win32Peer::bounds() const {
    if (!hwnd_) return bounds_;
    RECT r{};
    GetWindowRect(hwnd_, &r);
    if (HWND parent = GetParent(hwnd_); parent && (style() & WS_CHILD))
        MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right, r.bottom};
}

// Hooks hear of a change as they would from the window.
void Win32Peer::setText(const std::string& text) {
    if (hwnd_) {
        text::api().setText(hwnd_, text::arg(text));
    } else {
        text_ = text;
        textChanged();
    }
}

std::string Win32Peer::text() const {
    if (!hwnd_) return text_;
    return text::windowText(hwnd_);
}

void Win32Peer::setVisible(bool v) {
    if (hwnd_) {
        // A page shown for the first time gets its controls first.
        if (v) realizeShowing();
        ShowWindow(hwnd_, v ? SW_SHOW : SW_HIDE);
        return;
    }
    style_ = v ? (style_ | WS_VISIBLE) : (style_ & ~static_cast<LONG_PTR>(WS_VISIBLE));
    if (v && parent_ && parent_->hwnd_ && rootShown()) realizeShowing();
}

bool Win32Peer::visible() const { return (style() & WS_VISIBLE) != 0; }

void Win32Peer::setEnabled(bool e) {
    if (hwnd_) {
        EnableWindow(hwnd_, e);
    } else if (e != enabled()) {
        style_ = e ? (style_ & ~static_cast<LONG_PTR>(WS_DISABLED)) : (style_ | WS_DISABLED);
        enabledChanged();
    }
}

bool Win32Peer::enabled() const { return hwnd_ ? IsWindowEnabled(hwnd_) != 0 : !(style_ & WS_DISABLED); }

void Win32Peer::setFocus() { SetFocus(ensure()); }

bool Win32Peer::focused() const { return hwnd_ && GetFocus() == hwnd_; }

void Win32Peer::setHint(const std::string& hint) {
    hint_ = hint;
    if (!hwnd_) return;
    if (hint.empty() && !hasTool_) return;
    Win32Peer* root = this;
    while (root->parent_) root = root->parent_;
    HWND tips = root->tips();
    if (!tips) return;
    // The V1 record is the same size with either kind of text.
    TOOLINFOA ti{};
    ti.cbSize = TTTOOLINFOA_V1_SIZE;
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = root->hwnd_;
    ti.uId = reinterpret_cast<UINT_PTR>(hwnd_);
    if (hint.empty()) {
        if (hasTool_) text::sendRecord(tips, TTM_DELTOOLA, TTM_DELTOOLW, 0, &ti, ti.lpszText, hint);
        hasTool_ = false;
    } else if (!hasTool_) {
        hasTool_ = text::sendRecord(tips, TTM_ADDTOOLA, TTM_ADDTOOLW, 0, &ti, ti.lpszText, hint) != 0;
    } else {
        text::sendRecord(tips, TTM_UPDATETIPTEXTA, TTM_UPDATETIPTEXTW, 0, &ti, ti.lpszText, hint);
    }
}

void Win32Peer::setFont(const TFont& font) {
    font_ = font;
    hasFont_ = true;
    if (hwnd_) SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(app_.font(font)), TRUE);
}

void Win32Peer::bringToFront() {
    if (parent_) {
        auto& k = parent_->kids_;
        k.erase(std::remove(k.begin(), k.end(), this), k.end());
        k.insert(k.begin(), this);
    }
    if (hwnd_) SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void Win32Peer::invalidate() {
    if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
}

void Win32Peer::changeStyle(LONG_PTR add, LONG_PTR remove) {
    if (!hwnd_) {
        style_ = (style_ & ~remove) | add;
        return;
    }
    SetWindowLongPtrA(hwnd_, GWL_STYLE, (style() & ~remove) | add);
    InvalidateRect(hwnd_, nullptr, TRUE);
}

// The frame is drawn anew, as the window has its place already.
void Win32Peer::changeExStyle(LONG_PTR add, LONG_PTR remove) {
    if (!hwnd_) {
        exStyle_ = (exStyle_ & ~remove) | add;
        return;
    }
    SetWindowLongPtrA(hwnd_, GWL_EXSTYLE, (GetWindowLongPtrA(hwnd_, GWL_EXSTYLE) & ~remove) | add);
    SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void Win32Peer::setBevel(TBevelCut cut) {
    LONG_PTR ex = cut == TBevelCut::Lowered ? WS_EX_STATICEDGE : cut == TBevelCut::Raised ? WS_EX_DLGMODALFRAME : 0;
    changeExStyle(ex, WS_EX_STATICEDGE | WS_EX_DLGMODALFRAME);
}

HBRUSH Win32Peer::ctlColor(HDC dc) {
    SetTextColor(dc, rgbOf(font_.color));
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return faceBrush();
}

bool Win32Peer::filter(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

// --- PendingRows

int PendingRows::insert(int at, const std::string& caption, std::intptr_t data) {
    if (at < 0) at = count();
    if (at > count()) return -1;
    rows.insert(rows.begin() + at, KeptRow{{caption}, data});
    if (sel >= at) ++sel;
    return at;
}

void PendingRows::erase(int row) {
    if (!has(row)) return;
    rows.erase(rows.begin() + row);
    if (sel == row) sel = -1;
    else if (sel > row) --sel;
}

void PendingRows::clear() {
    rows.clear();
    sel = -1;
}

std::string PendingRows::cell(int row, int col) const {
    if (!has(row) || col < 0) return {};
    const auto& cells = rows[static_cast<size_t>(row)].cells;
    return static_cast<size_t>(col) < cells.size() ? cells[static_cast<size_t>(col)] : std::string();
}

void PendingRows::setCell(int row, int col, const std::string& text) {
    if (!has(row) || col < 0) return;
    auto& cells = at(row).cells;
    if (cells.size() <= static_cast<size_t>(col)) cells.resize(static_cast<size_t>(col) + 1);
    cells[static_cast<size_t>(col)] = text;
}

}  // namespace ui::win32
