// List boxes, the check list drawn by its control, and the report view.
#include <map>

#include "ui/controls.h"
#include "ui/win32/win32_canvas.h"
#include "ui/win32/win32_families.h"

namespace ui::win32 {

namespace {

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
    void created() override {
        send(LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    }
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

}  // namespace

std::unique_ptr<Win32Peer> makeListBoxPeer(Win32Application& app, PeerKind kind, PeerSink& sink) {
    return std::make_unique<ListBoxPeer>(app, kind, sink);
}

std::unique_ptr<Win32Peer> makeCheckListPeer(Win32Application& app, PeerKind kind, PeerSink& sink) {
    return std::make_unique<CheckListPeer>(app, kind, sink);
}

std::unique_ptr<Win32Peer> makeListViewPeer(Win32Application& app, PeerKind kind, PeerSink& sink) {
    return std::make_unique<ListViewPeer>(app, kind, sink);
}

}  // namespace ui::win32
