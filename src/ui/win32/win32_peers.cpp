#include "ui/win32/win32_peers.h"

#include <algorithm>
#include <memory>

#include "ui/controls.h"
#include "ui/menus.h"
#include "ui/win32/win32_canvas.h"

namespace ui::win32 {

namespace {
const char* const kPeerProp = "MorvanePeer";
const char* const kTipsProp = "MorvaneTips";

HBRUSH faceBrush() { return GetSysColorBrush(COLOR_BTNFACE); }

HWND rootOf(HWND h) {
    while (h && (GetWindowLongPtrA(h, GWL_STYLE) & WS_CHILD)) h = GetParent(h);
    return h;
}
}  // namespace

LRESULT CALLBACK childProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
    Win32Peer* p = Win32Peer::of(h);
    if (!p) return DefWindowProcA(h, msg, w, l);
    LRESULT r = 0;
    if (routeToChild(p->app(), h, msg, w, l, r)) return r;
    if (p->filter(msg, w, l, r)) return r;
    WNDPROC old = p->oldProc_;
    if (msg == WM_NCDESTROY) {
        RemovePropA(h, kPeerProp);
        SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old));
        p->hwnd_ = nullptr;
    }
    return CallWindowProcA(old, h, msg, w, l);
}

bool routeToChild(Win32Application& app, HWND self, UINT msg, WPARAM w, LPARAM l, LRESULT& r) {
    switch (msg) {
    case WM_COMMAND:
        if (Win32Peer* p = Win32Peer::of(reinterpret_cast<HWND>(l))) {
            const int code = HIWORD(w);
            app.guard([&] { p->command(code); });
            r = 0;
            return true;
        }
        return false;
    case WM_NOTIFY: {
        auto* nm = reinterpret_cast<NMHDR*>(l);
        if (Win32Peer* p = nm ? Win32Peer::of(nm->hwndFrom) : nullptr) {
            bool handled = false;
            app.guard([&] { handled = p->notify(*nm, r); });
            return handled;
        }
        return false;
    }
    case WM_DRAWITEM: {
        auto* d = reinterpret_cast<DRAWITEMSTRUCT*>(l);
        if (d->CtlType == ODT_MENU) return false;
        if (Win32Peer* p = Win32Peer::of(d->hwndItem)) {
            app.guard([&] { p->drawItem(*d); });
            r = TRUE;
            return true;
        }
        return false;
    }
    case WM_MEASUREITEM: {
        auto* m = reinterpret_cast<MEASUREITEMSTRUCT*>(l);
        if (m->CtlType == ODT_MENU) return false;
        if (Win32Peer* p = Win32Peer::of(GetDlgItem(self, static_cast<int>(m->CtlID)))) p->measureItem(*m);
        else m->itemHeight = 16;
        r = TRUE;
        return true;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        if (Win32Peer* p = Win32Peer::of(reinterpret_cast<HWND>(l))) {
            if (HBRUSH b = p->ctlColor(reinterpret_cast<HDC>(w))) {
                r = reinterpret_cast<LRESULT>(b);
                return true;
            }
        }
        return false;
    case WM_VSCROLL:
    case WM_HSCROLL:
        if (Win32Peer* p = l ? Win32Peer::of(reinterpret_cast<HWND>(l)) : nullptr) {
            const int code = LOWORD(w);
            app.guard([&] { p->scroll(code); });
            r = 0;
            return true;
        }
        return false;
    case WM_SETCURSOR:
        if (Win32Peer* p = Win32Peer::of(reinterpret_cast<HWND>(w))) {
            if (p->cursor() == TCursor::HandPoint && LOWORD(l) == HTCLIENT) {
                SetCursor(app.handCursor());
                r = TRUE;
                return true;
            }
        }
        return false;
    default:
        return false;
    }
}

// --- Win32Peer

Win32Peer::Win32Peer(Win32Application& app, PeerKind kind, PeerSink& sink)
    : app_(app), kind_(kind), sink_(sink) {}

Win32Peer::~Win32Peer() {
    if (hwnd_) {
        HWND h = hwnd_;
        if (oldProc_) {
            SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(oldProc_));
            RemovePropA(h, kPeerProp);
        }
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
    return true;
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

namespace {

// Panels, pages and group boxes hold other controls: they paint their own
// background, since their parent leaves them out.
class ContainerPeer : public Win32Peer {
public:
    using Win32Peer::Win32Peer;
    bool filter(UINT msg, WPARAM w, LPARAM, LRESULT& r) override {
        if (msg == WM_ERASEBKGND) {
            RECT rc;
            GetClientRect(hwnd_, &rc);
            FillRect(reinterpret_cast<HDC>(w), &rc, faceBrush());
            r = 1;
            return true;
        }
        return false;
    }
};

class ButtonPeer : public Win32Peer {
public:
    using Win32Peer::Win32Peer;
    void command(int code) override {
        if (code == BN_CLICKED) sink_.peerClicked();
    }
    bool checked() const override {
        return SendMessageA(hwnd_, BM_GETCHECK, 0, 0) == BST_CHECKED;
    }
    void setChecked(bool c) override {
        SendMessageA(hwnd_, BM_SETCHECK, c ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    void setDefaultLook(bool d) override {
        if (kind_ == PeerKind::Button)
            SendMessageA(hwnd_, BM_SETSTYLE, d ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
    }
};

// A push button drawn with its picture beside the caption.
class BitBtnPeer : public ButtonPeer {
public:
    using ButtonPeer::ButtonPeer;
    ~BitBtnPeer() override {
        if (glyph_) ImageList_Destroy(glyph_);
    }
    void setPicture(const std::string& resource) override {
        if (glyph_) ImageList_Destroy(glyph_);
        glyph_ = nullptr;
        HBITMAP bmp = static_cast<HBITMAP>(
            LoadImageA(app_.instance(), resource.c_str(), IMAGE_BITMAP, 0, 0, 0));
        if (!bmp) return;
        BITMAP info{};
        GetObjectA(bmp, sizeof info, &info);
        w_ = info.bmWidth;
        h_ = info.bmHeight;
        glyph_ = ImageList_Create(w_, h_, ILC_COLOR24 | ILC_MASK, 1, 0);
        if (glyph_) ImageList_AddMasked(glyph_, bmp, RGB(255, 0, 255));
        DeleteObject(bmp);
        invalidate();
    }
    void setText(const std::string& t) override {
        Win32Peer::setText(t);
        invalidate();
    }
    void drawItem(DRAWITEMSTRUCT& d) override {
        const bool pushed = (d.itemState & ODS_SELECTED) != 0;
        const bool disabled = (d.itemState & ODS_DISABLED) != 0;
        RECT rc = d.rcItem;
        HDC dc = d.hDC;
        if (GetFocus() == hwnd_) {
            FrameRect(dc, &rc, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
            InflateRect(&rc, -1, -1);
        }
        DrawFrameControl(dc, &rc, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0));
        const int shift = pushed ? 1 : 0;
        const std::string caption = text();
        HGDIOBJ oldFont = SelectObject(dc, app_.font(font_));
        SIZE ts{};
        GetTextExtentPoint32A(dc, caption.data(), static_cast<int>(caption.size()), &ts);
        const int gap = glyph_ && !caption.empty() ? 4 : 0;
        const int gw = glyph_ ? w_ : 0;
        const int total = gw + gap + (caption.empty() ? 0 : ts.cx);
        int x = (rc.left + rc.right - total) / 2 + shift;
        const int cy = (rc.top + rc.bottom) / 2 + shift;
        if (glyph_) {
            ImageList_Draw(glyph_, 0, dc, x, cy - h_ / 2, ILD_TRANSPARENT);
            x += gw + gap;
        }
        if (!caption.empty()) {
            SetBkMode(dc, TRANSPARENT);
            if (disabled) {
                SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
                TextOutA(dc, x + 1, cy - ts.cy / 2 + 1, caption.data(), static_cast<int>(caption.size()));
                SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
            } else {
                SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
            }
            TextOutA(dc, x, cy - ts.cy / 2, caption.data(), static_cast<int>(caption.size()));
        }
        SelectObject(dc, oldFont);
        if (d.itemState & ODS_FOCUS) {
            RECT f = rc;
            InflateRect(&f, -3, -3);
            DrawFocusRect(dc, &f);
        }
    }

private:
    HIMAGELIST glyph_ = nullptr;
    int w_ = 0, h_ = 0;
};

class LabelPeer : public Win32Peer {
public:
    using Win32Peer::Win32Peer;
    void command(int code) override {
        if (code == STN_CLICKED) sink_.peerClicked();
    }
    void setWordWrap(bool w) override {
        changeStyle(w ? SS_LEFT : SS_LEFTNOWORDWRAP, SS_TYPEMASK);
    }
};

class EditPeer : public Win32Peer {
public:
    using Win32Peer::Win32Peer;
    void command(int code) override {
        if (code == EN_CHANGE) sink_.peerChanged();
    }
    HBRUSH ctlColor(HDC) override { return nullptr; }
    void setPasswordChar(char c) override {
        SendMessageA(hwnd_, EM_SETPASSWORDCHAR, static_cast<unsigned char>(c), 0);
        invalidate();
    }
    bool filter(UINT msg, WPARAM w, LPARAM l, LRESULT& r) override {
        if (msg != WM_CHAR) return false;
        char key = static_cast<char>(w);
        guard([&] { sink_.peerKeyPress(key); });
        if (key == 0) {
            r = 0;
            return true;
        }
        r = callOld(msg, static_cast<unsigned char>(key), l);
        return true;
    }
};

class ListBoxPeer : public Win32Peer {
public:
    using Win32Peer::Win32Peer;
    void command(int code) override {
        if (code == LBN_SELCHANGE) sink_.peerClicked();
    }
    HBRUSH ctlColor(HDC) override { return nullptr; }
    int count() const override { return static_cast<int>(send(LB_GETCOUNT, 0, 0)); }
    std::string cell(int row, int col) const override {
        if (col != 0 || row < 0 || row >= count()) return {};
        const LRESULT n = send(LB_GETTEXTLEN, row, 0);
        if (n == LB_ERR) return {};
        std::string s(static_cast<size_t>(n) + 1, '\0');
        const LRESULT got = send(LB_GETTEXT, row, reinterpret_cast<LPARAM>(s.data()));
        s.resize(got == LB_ERR ? 0 : static_cast<size_t>(got));
        return s;
    }
    void setCell(int row, int col, const std::string& text) override {
        if (col != 0 || row < 0 || row >= count()) return;
        const LRESULT data = send(LB_GETITEMDATA, row, 0);
        const LRESULT sel = send(LB_GETCURSEL, 0, 0);
        const LRESULT top = send(LB_GETTOPINDEX, 0, 0);
        send(WM_SETREDRAW, FALSE, 0);
        send(LB_DELETESTRING, row, 0);
        send(LB_INSERTSTRING, row, reinterpret_cast<LPARAM>(text.c_str()));
        send(LB_SETITEMDATA, row, data);
        if (sel == row) send(LB_SETCURSEL, row, 0);
        send(LB_SETTOPINDEX, top, 0);
        send(WM_SETREDRAW, TRUE, 0);
        invalidate();
    }
    int insertRow(int at, const std::string& caption) override {
        const LRESULT i = send(LB_INSERTSTRING, at, reinterpret_cast<LPARAM>(caption.c_str()));
        if (i >= 0) send(LB_SETITEMDATA, i, 0);
        return static_cast<int>(i);
    }
    void deleteRow(int row) override { send(LB_DELETESTRING, row, 0); }
    void clearRows() override { send(LB_RESETCONTENT, 0, 0); }
    // One repaint for the whole list, and room reserved up front.
    void setRows(const std::vector<std::string>& rows) override {
        std::size_t bytes = 0;
        for (const auto& r : rows) bytes += r.size() + 1;
        send(WM_SETREDRAW, FALSE, 0);
        send(LB_RESETCONTENT, 0, 0);
        send(LB_INITSTORAGE, rows.size(), static_cast<LPARAM>(bytes));
        for (const auto& r : rows) {
            const LRESULT i = send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(r.c_str()));
            if (i >= 0) send(LB_SETITEMDATA, i, 0);
        }
        send(WM_SETREDRAW, TRUE, 0);
        invalidate();
    }
    int itemIndex() const override {
        const LRESULT i = send(LB_GETCURSEL, 0, 0);
        return i == LB_ERR ? -1 : static_cast<int>(i);
    }
    void setItemIndex(int row) override { send(LB_SETCURSEL, row, 0); }
    std::intptr_t itemData(int row) const override {
        return row >= 0 && row < count() ? send(LB_GETITEMDATA, row, 0) : 0;
    }
    void setItemData(int row, std::intptr_t data) override { send(LB_SETITEMDATA, row, data); }
    void redrawRow(int row) override {
        RECT rc;
        if (send(LB_GETITEMRECT, row, reinterpret_cast<LPARAM>(&rc)) != LB_ERR)
            InvalidateRect(hwnd_, &rc, TRUE);
    }

protected:
    LRESULT send(UINT m, WPARAM w, LPARAM l) const { return SendMessageA(hwnd_, m, w, l); }
};

class CheckListPeer : public ListBoxPeer {
public:
    using ListBoxPeer::ListBoxPeer;
    static constexpr int kItemHeight = 16;
    void measureItem(MEASUREITEMSTRUCT& m) override { m.itemHeight = kItemHeight; }
    void drawItem(DRAWITEMSTRUCT& d) override {
        Win32Canvas canvas(d.hDC, app_);
        const TRect r{d.rcItem.left, d.rcItem.top, d.rcItem.right, d.rcItem.bottom};
        sink_.peerDraw(canvas, r, static_cast<int>(d.itemID), (d.itemState & ODS_SELECTED) != 0,
                       (d.itemState & ODS_FOCUS) != 0);
    }
    bool filter(UINT msg, WPARAM w, LPARAM l, LRESULT& r) override {
        if (msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK) {
            const int x = static_cast<short>(LOWORD(l)), y = static_cast<short>(HIWORD(l));
            const int h = static_cast<int>(send(LB_GETITEMHEIGHT, 0, 0));
            const int row = static_cast<int>(send(LB_GETTOPINDEX, 0, 0)) + (h > 0 ? y / h : 0);
            r = callOld(msg, w, l);
            if (x >= 0 && x < TCheckListBox::kBoxWidth && row < count())
                guard([&] { sink_.peerToggled(row); });
            return true;
        }
        if (msg == WM_CHAR && w == ' ') {
            const int row = itemIndex();
            if (row >= 0) guard([&] { sink_.peerToggled(row); });
            r = 0;
            return true;
        }
        return false;
    }
};

class ListViewPeer : public Win32Peer {
public:
    using Win32Peer::Win32Peer;
    HBRUSH ctlColor(HDC) override { return nullptr; }
    bool notify(NMHDR& nm, LRESULT& r) override {
        if (nm.code == static_cast<UINT>(NM_CLICK)) {
            sink_.peerClicked();
            r = 0;
            return true;
        }
        if (nm.code == static_cast<UINT>(LVN_DELETEITEM)) {
            extras_.erase(reinterpret_cast<NMLISTVIEW&>(nm).lParam);
        }
        return false;
    }
    void addColumn(const std::string& caption, int width) override {
        LVCOLUMNA c{};
        c.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        c.cx = width;
        c.pszText = const_cast<char*>(caption.c_str());
        c.iSubItem = columns_;
        if (send(LVM_INSERTCOLUMNA, columns_, reinterpret_cast<LPARAM>(&c)) >= 0) ++columns_;
    }
    int count() const override { return static_cast<int>(send(LVM_GETITEMCOUNT, 0, 0)); }
    std::string cell(int row, int col) const override {
        if (row < 0 || row >= count() || col < 0) return {};
        if (col >= columns_ && col > 0) {
            auto it = extras_.find(key(row));
            if (it == extras_.end()) return {};
            const size_t k = static_cast<size_t>(col - columns_);
            return k < it->second.size() ? it->second[k] : std::string();
        }
        std::vector<char> buf(1024);
        for (;;) {
            LVITEMA it{};
            it.iSubItem = col;
            it.pszText = buf.data();
            it.cchTextMax = static_cast<int>(buf.size());
            const LRESULT n = send(LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&it));
            if (n < static_cast<LRESULT>(buf.size()) - 1 || buf.size() >= 65536)
                return std::string(buf.data(), static_cast<size_t>(std::max<LRESULT>(0, n)));
            buf.resize(buf.size() * 4);
        }
    }
    void setCell(int row, int col, const std::string& text) override {
        if (row < 0 || row >= count() || col < 0) return;
        if (col >= columns_ && col > 0) {
            auto& v = extras_[key(row)];
            const size_t k = static_cast<size_t>(col - columns_);
            if (v.size() <= k) v.resize(k + 1);
            v[k] = text;
            return;
        }
        LVITEMA it{};
        it.iSubItem = col;
        it.pszText = const_cast<char*>(text.c_str());
        send(LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&it));
    }
    int insertRow(int at, const std::string& caption) override {
        LVITEMA it{};
        it.mask = LVIF_TEXT | LVIF_PARAM;
        it.iItem = at < 0 ? count() : at;
        it.pszText = const_cast<char*>(caption.c_str());
        it.lParam = ++lastKey_;
        return static_cast<int>(send(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&it)));
    }
    void deleteRow(int row) override {
        extras_.erase(key(row));
        send(LVM_DELETEITEM, row, 0);
    }
    void clearRows() override {
        send(LVM_DELETEALLITEMS, 0, 0);
        extras_.clear();
    }
    int itemIndex() const override {
        return static_cast<int>(send(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    }
    void setItemIndex(int row) override {
        LVITEMA it{};
        it.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        it.state = 0;
        send(LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&it));
        if (row < 0 || row >= count()) return;
        it.state = LVIS_SELECTED | LVIS_FOCUSED;
        send(LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&it));
        send(LVM_ENSUREVISIBLE, row, FALSE);
    }

private:
    LRESULT send(UINT m, WPARAM w, LPARAM l) const { return SendMessageA(hwnd_, m, w, l); }
    LPARAM key(int row) const {
        LVITEMA it{};
        it.mask = LVIF_PARAM;
        it.iItem = row;
        return send(LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&it)) ? it.lParam : 0;
    }
    int columns_ = 0;
    LPARAM lastKey_ = 0;
    std::map<LPARAM, std::vector<std::string>> extras_;  // sub-items without a column
};

class TabPeer : public ContainerPeer {
public:
    using ContainerPeer::ContainerPeer;
    bool filter(UINT, WPARAM, LPARAM, LRESULT&) override { return false; }
    bool notify(NMHDR& nm, LRESULT& r) override {
        if (nm.code == static_cast<UINT>(TCN_SELCHANGE)) {
            sink_.peerChanged();
            r = 0;
            return true;
        }
        return false;
    }
    int count() const override { return static_cast<int>(send(TCM_GETITEMCOUNT, 0, 0)); }
    std::string cell(int row, int col) const override {
        if (col != 0) return {};
        char buf[256] = {};
        TCITEMA it{};
        it.mask = TCIF_TEXT;
        it.pszText = buf;
        it.cchTextMax = sizeof buf;
        send(TCM_GETITEMA, row, reinterpret_cast<LPARAM>(&it));
        return buf;
    }
    int insertRow(int at, const std::string& caption) override {
        TCITEMA it{};
        it.mask = TCIF_TEXT;
        it.pszText = const_cast<char*>(caption.c_str());
        return static_cast<int>(send(TCM_INSERTITEMA, at < 0 ? count() : at, reinterpret_cast<LPARAM>(&it)));
    }
    void deleteRow(int row) override { send(TCM_DELETEITEM, row, 0); }
    int itemIndex() const override { return static_cast<int>(send(TCM_GETCURSEL, 0, 0)); }
    void setItemIndex(int row) override { send(TCM_SETCURSEL, row, 0); }
    TRect displayRect() const override {
        RECT rc;
        GetClientRect(hwnd_, &rc);
        send(TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&rc));
        return {rc.left, rc.top, rc.right, rc.bottom};
    }

private:
    LRESULT send(UINT m, WPARAM w, LPARAM l) const { return SendMessageA(hwnd_, m, w, l); }
};

class UpDownPeer : public Win32Peer {
public:
    using Win32Peer::Win32Peer;
    void scroll(int code) override {
        if (code == SB_THUMBPOSITION) sink_.peerClicked();
    }
    void setRange(int lo, int hi) override {
        SendMessageA(hwnd_, UDM_SETRANGE, 0, MAKELPARAM(static_cast<short>(hi), static_cast<short>(lo)));
    }
    int position() const override {
        return static_cast<short>(LOWORD(SendMessageA(hwnd_, UDM_GETPOS, 0, 0)));
    }
    void setPosition(int pos) override {
        SendMessageA(hwnd_, UDM_SETPOS, 0, MAKELPARAM(static_cast<short>(pos), 0));
    }
    void setBuddy(Peer* buddy) override {
        SendMessageA(hwnd_, UDM_SETBUDDY,
                     buddy ? reinterpret_cast<WPARAM>(buddy->handle()) : 0, 0);
    }
};

// A picture drawn by us: stretched over the box or centred in it.
class ImagePeer : public Win32Peer {
public:
    using Win32Peer::Win32Peer;
    ~ImagePeer() override {
        if (bmp_) DeleteObject(bmp_);
    }
    void setPicture(const std::string& resource) override {
        if (bmp_) DeleteObject(bmp_);
        bmp_ = static_cast<HBITMAP>(
            LoadImageA(app_.instance(), resource.c_str(), IMAGE_BITMAP, 0, 0, 0));
        invalidate();
    }
    void setStretch(bool s) override {
        stretch_ = s;
        invalidate();
    }
    void drawItem(DRAWITEMSTRUCT& d) override {
        RECT rc = d.rcItem;
        FillRect(d.hDC, &rc, faceBrush());
        if (!bmp_) return;
        BITMAP info{};
        GetObjectA(bmp_, sizeof info, &info);
        HDC mem = CreateCompatibleDC(d.hDC);
        HGDIOBJ old = SelectObject(mem, bmp_);
        if (stretch_) {
            SetStretchBltMode(d.hDC, COLORONCOLOR);
            StretchBlt(d.hDC, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, mem, 0, 0,
                       info.bmWidth, info.bmHeight, SRCCOPY);
        } else {
            BitBlt(d.hDC, (rc.left + rc.right - info.bmWidth) / 2,
                   (rc.top + rc.bottom - info.bmHeight) / 2, info.bmWidth, info.bmHeight, mem, 0, 0,
                   SRCCOPY);
        }
        SelectObject(mem, old);
        DeleteDC(mem);
    }

private:
    HBITMAP bmp_ = nullptr;
    bool stretch_ = false;
};

class FormPeer : public Win32Peer {
public:
    FormPeer(Win32Application& app, PeerSink& sink) : Win32Peer(app, PeerKind::Form, sink) {}
    ~FormPeer() override {
        if (hwnd_) {
            if (tips_) DestroyWindow(tips_);
            HWND h = hwnd_;
            hwnd_ = nullptr;
            SetWindowLongPtrA(h, GWLP_USERDATA, 0);
            DestroyWindow(h);
        }
    }
    static constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX |
                                    WS_CLIPCHILDREN;

    bool createForm(const std::string& cls) {
        WNDCLASSA wc{};
        if (!GetClassInfoA(app_.instance(), cls.c_str(), &wc)) {
            wc = WNDCLASSA{};
            wc.style = CS_DBLCLKS;
            wc.lpfnWndProc = formProc;
            wc.hInstance = app_.instance();
            wc.hIcon = LoadIconA(app_.instance(), "MAINICON");
            wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
            wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
            wc.lpszClassName = cls.c_str();
            if (!RegisterClassA(&wc)) return false;
        }
        hwnd_ = CreateWindowExA(0, cls.c_str(), "", kStyle, CW_USEDEFAULT, CW_USEDEFAULT, 300, 300,
                                nullptr, nullptr, app_.instance(), this);
        if (!hwnd_) return false;
        tips_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_,
                                nullptr, app_.instance(), nullptr);
        if (tips_) {
            SetPropA(hwnd_, kTipsProp, tips_);
            SendMessageA(tips_, TTM_SETMAXTIPWIDTH, 0, 360);
        }
        return true;
    }

    void setBounds(int left, int top, int width, int height) override {
        MoveWindow(hwnd_, left, top, width, height, TRUE);
    }
    void setClientSize(int width, int height) override {
        RECT r{0, 0, width, height};
        AdjustWindowRectEx(&r, static_cast<DWORD>(style()), FALSE,
                           static_cast<DWORD>(GetWindowLongPtrA(hwnd_, GWL_EXSTYLE)));
        SetWindowPos(hwnd_, nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    void setVisible(bool v) override {
        if (v) {
            ShowWindow(hwnd_, shown_ ? SW_SHOW : SW_SHOWNORMAL);
            shown_ = true;
            UpdateWindow(hwnd_);
        } else {
            ShowWindow(hwnd_, SW_HIDE);
        }
    }
    void setHint(const std::string&) override {}
    void setTimer(int id, unsigned ms) override { SetTimer(hwnd_, static_cast<UINT_PTR>(id), ms, nullptr); }
    void killTimer(int id) override { KillTimer(hwnd_, static_cast<UINT_PTR>(id)); }
    void setIcon(const std::string& resource) override {
        icon_ = LoadIconA(app_.instance(), resource.c_str());
        HICON small = static_cast<HICON>(LoadImageA(app_.instance(), resource.c_str(), IMAGE_ICON,
                                                    16, 16, 0));
        SendMessageA(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
        SendMessageA(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small ? small : icon_));
    }
    std::uintptr_t iconHandle() const override { return reinterpret_cast<std::uintptr_t>(icon_); }

    static LRESULT CALLBACK formProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
        if (msg == WM_NCCREATE) {
            auto* cs = reinterpret_cast<CREATESTRUCTA*>(l);
            SetWindowLongPtrA(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
        }
        auto* self = reinterpret_cast<FormPeer*>(GetWindowLongPtrA(h, GWLP_USERDATA));
        if (!self || !self->hwnd_) return DefWindowProcA(h, msg, w, l);
        return self->handle(msg, w, l);
    }

private:
    LRESULT handle(UINT msg, WPARAM w, LPARAM l) {
        LRESULT r = 0;
        if (routeToChild(app_, hwnd_, msg, w, l, r)) return r;
        switch (msg) {
        case WM_COMMAND:
            if (l == 0 && (LOWORD(w) == IDOK || LOWORD(w) == IDCANCEL)) return 0;
            break;
        case WM_TIMER: {
            const int id = static_cast<int>(w);
            guard([&] { sink_.peerTimer(id); });
            return 0;
        }
        case WM_CLOSE:
            guard([&] { sink_.peerCloseQuery(); });
            return 0;
        case WM_ACTIVATE:
            // Coming back to the window puts the focus where the user left it.
            if (LOWORD(w) == WA_INACTIVE) {
                HWND f = GetFocus();
                if (f && IsChild(hwnd_, f)) lastFocus_ = f;
            } else if (lastFocus_ && IsWindow(lastFocus_) && IsWindowVisible(lastFocus_) &&
                       IsChild(hwnd_, lastFocus_) &&
                       !HIWORD(w)) {
                SetFocus(lastFocus_);
                return 0;
            }
            break;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            BeginPaint(hwnd_, &ps);
            EndPaint(hwnd_, &ps);
            guard([&] { sink_.peerPaint(); });
            return 0;
        }
        case WM_SYSCOMMAND:
            if ((w & 0xFFF0) == SC_MINIMIZE) {
                r = DefWindowProcA(hwnd_, msg, w, l);
                guard([&] { sink_.peerMinimize(); });
                return r;
            }
            break;
        case WM_MEASUREITEM: {
            auto* m = reinterpret_cast<MEASUREITEMSTRUCT*>(l);
            if (m->CtlType == ODT_MENU) {
                auto* item = reinterpret_cast<TMenuItem*>(m->itemData);
                if (item && item->OnMeasureItem) {
                    HDC dc = GetDC(hwnd_);
                    {
                        Win32Canvas canvas(dc, app_);
                        int width = static_cast<int>(m->itemWidth), height = static_cast<int>(m->itemHeight);
                        guard([&] { item->OnMeasureItem(canvas, width, height); });
                        m->itemWidth = static_cast<UINT>(std::max(0, width));
                        m->itemHeight = static_cast<UINT>(std::max(0, height));
                    }
                    ReleaseDC(hwnd_, dc);
                }
                return TRUE;
            }
            break;
        }
        case WM_DRAWITEM: {
            auto* d = reinterpret_cast<DRAWITEMSTRUCT*>(l);
            if (d->CtlType == ODT_MENU) {
                auto* item = reinterpret_cast<TMenuItem*>(d->itemData);
                if (item && item->OnDrawItem) {
                    Win32Canvas canvas(d->hDC, app_);
                    const TRect rect{d->rcItem.left, d->rcItem.top, d->rcItem.right, d->rcItem.bottom};
                    const bool selected = (d->itemState & ODS_SELECTED) != 0;
                    guard([&] { item->OnDrawItem(canvas, rect, selected); });
                }
                return TRUE;
            }
            break;
        }
        default:
            break;
        }
        return DefWindowProcA(hwnd_, msg, w, l);
    }

    HWND tips_ = nullptr;
    HWND lastFocus_ = nullptr;
    HICON icon_ = nullptr;
    bool shown_ = false;
};

}  // namespace

std::unique_ptr<Peer> Win32Application::createPeer(PeerKind kind, TControl& owner, Peer* parent,
                                                   int id) {
    if (kind == PeerKind::Form) {
        auto p = std::make_unique<FormPeer>(*this, owner);
        if (!p->createForm(pendingWindowClass.empty() ? "TForm" : pendingWindowClass))
            throw std::runtime_error("Cannot create the main window");
        return p;
    }
    HWND parentWnd = parent ? reinterpret_cast<HWND>(parent->handle()) : nullptr;
    const DWORD child = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    std::unique_ptr<Win32Peer> p;
    DWORD ex = 0, style = child;
    const char* cls = "STATIC";
    switch (kind) {
    case PeerKind::Button:
        p = std::make_unique<ButtonPeer>(*this, kind, owner);
        cls = "BUTTON", style |= BS_PUSHBUTTON | WS_TABSTOP;
        break;
    case PeerKind::BitBtn:
        p = std::make_unique<BitBtnPeer>(*this, kind, owner);
        cls = "BUTTON", style |= BS_OWNERDRAW | WS_TABSTOP;
        break;
    case PeerKind::SpeedButton:
        p = std::make_unique<ButtonPeer>(*this, kind, owner);
        cls = "BUTTON", style |= BS_AUTOCHECKBOX | BS_PUSHLIKE | WS_TABSTOP;
        break;
    case PeerKind::CheckBox:
        p = std::make_unique<ButtonPeer>(*this, kind, owner);
        cls = "BUTTON", style |= BS_AUTOCHECKBOX | WS_TABSTOP;
        break;
    case PeerKind::RadioButton:
        p = std::make_unique<ButtonPeer>(*this, kind, owner);
        cls = "BUTTON", style |= BS_AUTORADIOBUTTON | WS_TABSTOP;
        break;
    case PeerKind::GroupBox:
        p = std::make_unique<ContainerPeer>(*this, kind, owner);
        cls = "BUTTON", style |= BS_GROUPBOX | WS_CLIPCHILDREN, ex = WS_EX_CONTROLPARENT;
        break;
    case PeerKind::Panel:
    case PeerKind::TabSheet:
        p = std::make_unique<ContainerPeer>(*this, kind, owner);
        style |= SS_LEFT | WS_CLIPCHILDREN, ex = WS_EX_CONTROLPARENT;
        break;
    case PeerKind::Label:
        p = std::make_unique<LabelPeer>(*this, kind, owner);
        style |= SS_LEFTNOWORDWRAP | SS_NOTIFY | SS_NOPREFIX;
        break;
    case PeerKind::Edit:
        p = std::make_unique<EditPeer>(*this, kind, owner);
        cls = "EDIT", style |= ES_AUTOHSCROLL | WS_TABSTOP, ex = WS_EX_CLIENTEDGE;
        break;
    case PeerKind::ListBox:
        p = std::make_unique<ListBoxPeer>(*this, kind, owner);
        cls = "LISTBOX", ex = WS_EX_CLIENTEDGE;
        style |= LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP;
        break;
    case PeerKind::CheckListBox:
        p = std::make_unique<CheckListPeer>(*this, kind, owner);
        cls = "LISTBOX", ex = WS_EX_CLIENTEDGE;
        style |= LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS |
                 WS_VSCROLL | WS_TABSTOP;
        break;
    case PeerKind::ListView:
        p = std::make_unique<ListViewPeer>(*this, kind, owner);
        cls = WC_LISTVIEWA, ex = WS_EX_CLIENTEDGE;
        style |= LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_TABSTOP;
        break;
    case PeerKind::PageControl:
        p = std::make_unique<TabPeer>(*this, kind, owner);
        cls = WC_TABCONTROLA, style |= WS_TABSTOP | WS_CLIPCHILDREN, ex = WS_EX_CONTROLPARENT;
        break;
    case PeerKind::UpDown:
        p = std::make_unique<UpDownPeer>(*this, kind, owner);
        cls = UPDOWN_CLASSA;
        style |= UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_NOTHOUSANDS;
        break;
    case PeerKind::Image:
        p = std::make_unique<ImagePeer>(*this, kind, owner);
        style |= SS_OWNERDRAW;
        break;
    case PeerKind::Bevel:
        p = std::make_unique<Win32Peer>(*this, kind, owner);
        style |= SS_ETCHEDFRAME;
        break;
    case PeerKind::Form:
        break;
    }
    if (!p->create(ex, cls, style, parentWnd, id))
        throw std::runtime_error("Cannot create a control window");
    if (kind == PeerKind::PageControl) {
        // Narrower tabs, so that all six of the main window fit in one row
        // (comctl32 before 4.71 ignores this and scrolls the tabs instead).
        const UINT setPadding = TCM_FIRST + 43;
        SendMessageA(p->hwnd(), setPadding, 0, MAKELPARAM(2, 3));
    }
    if (kind == PeerKind::ListView)
        SendMessageA(p->hwnd(), LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT,
                     LVS_EX_FULLROWSELECT);
    return p;
}

}  // namespace ui::win32
