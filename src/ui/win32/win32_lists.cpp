// List boxes, the check list drawn by its control, and the report view.
#include <algorithm>
#include "base/small_map.h"

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
    int count() const override {
        return pending() ? lines_.count() : static_cast<int>(send(LB_GETCOUNT, 0, 0));
    }
    std::string cell(int row, int col) const override {
        if (col != 0 || row < 0 || row >= count()) return {};
        if (pending()) return lines_.cell(row, 0);
        return text::listBoxText(hwnd_, row);
    }
    void setCell(int row, int col, const std::string& text) override {
        if (col != 0 || row < 0 || row >= count()) return;
        if (pending()) {
            lines_.setCell(row, 0, text);
            return;
        }
        const LRESULT data = send(LB_GETITEMDATA, row, 0);
        const LRESULT sel = send(LB_GETCURSEL, 0, 0);
        const LRESULT top = send(LB_GETTOPINDEX, 0, 0);
        send(WM_SETREDRAW, FALSE, 0);
        send(LB_DELETESTRING, row, 0);
        text::sendString(hwnd_, LB_INSERTSTRING, row, text);
        send(LB_SETITEMDATA, row, data);
        if (sel == row) send(LB_SETCURSEL, row, 0);
        send(LB_SETTOPINDEX, top, 0);
        send(WM_SETREDRAW, TRUE, 0);
        invalidate();
    }
    int insertRow(int at, const std::string& caption) override {
        if (pending()) return lines_.insert(at, caption);
        const LRESULT i = text::sendString(ensure(), LB_INSERTSTRING, at, caption);
        if (i >= 0) send(LB_SETITEMDATA, i, 0);
        return static_cast<int>(i);
    }
    void deleteRow(int row) override {
        if (pending()) lines_.erase(row);
        else send(LB_DELETESTRING, row, 0);
    }
    void clearRows() override {
        if (pending()) lines_.clear();
        else send(LB_RESETCONTENT, 0, 0);
    }
    // One repaint for the whole list, and room reserved up front.
    void setRows(const std::vector<std::string>& rows) override {
        if (pending()) {
            lines_.clear();
            for (const auto& r : rows) lines_.insert(-1, r);
            return;
        }
        PendingRows lines;
        for (const auto& r : rows) lines.insert(-1, r);
        fill(lines);
    }
    int itemIndex() const override {
        if (pending()) return lines_.sel;
        const LRESULT i = send(LB_GETCURSEL, 0, 0);
        return i == LB_ERR ? -1 : static_cast<int>(i);
    }
    void setItemIndex(int row) override {
        if (pending()) lines_.choose(row);
        else send(LB_SETCURSEL, row, 0);
    }
    std::intptr_t itemData(int row) const override {
        if (row < 0 || row >= count()) return 0;
        return pending() ? lines_.at(row).data : send(LB_GETITEMDATA, row, 0);
    }
    void setItemData(int row, std::intptr_t data) override {
        if (!pending()) send(LB_SETITEMDATA, row, data);
        else if (lines_.has(row)) lines_.at(row).data = data;
    }
    void redrawRow(int row) override {
        RECT rc;
        if (!pending() && send(LB_GETITEMRECT, row, reinterpret_cast<LPARAM>(&rc)) != LB_ERR)
            InvalidateRect(hwnd_, &rc, TRUE);
    }

protected:
    LRESULT send(UINT m, WPARAM w, LPARAM l) const { return text::api().sendMessage(ensure(), m, w, l); }
    void replay() override {
        PendingRows kept;
        std::swap(kept, lines_);
        if (kept.rows.empty()) return;
        fill(kept);
        if (kept.sel >= 0) send(LB_SETCURSEL, kept.sel, 0);
    }

private:
    void fill(const PendingRows& lines) {
        const std::vector<KeptRow>& rows = lines.rows;
        std::size_t bytes = 0;
        for (const auto& r : rows) bytes += r.cells[0].size() + 1;
        send(WM_SETREDRAW, FALSE, 0);
        send(LB_RESETCONTENT, 0, 0);
        send(LB_INITSTORAGE, rows.size(), static_cast<LPARAM>(bytes));
        for (const KeptRow& r : rows) {
            const LRESULT i = text::sendString(hwnd_, LB_ADDSTRING, 0, r.cells[0]);
            if (i >= 0) send(LB_SETITEMDATA, i, r.data);
        }
        send(WM_SETREDRAW, TRUE, 0);
        invalidate();
    }
    PendingRows lines_;
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
                sink_.peerToggled(row);
            return true;
        }
        if (msg == WM_CHAR && w == ' ') {
            const int row = itemIndex();
            if (row >= 0) sink_.peerToggled(row);
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
            selectClickedRow();
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
        if (pending()) {
            keptColumns_.insert(-1, caption, width);
            return;
        }
        LVCOLUMNA c{};
        c.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        c.cx = width;
        c.iSubItem = columns_;
        if (text::sendRecord(ensure(), LVM_INSERTCOLUMNA, LVM_INSERTCOLUMNW, columns_, &c, c.pszText, caption) >= 0)
            ++columns_;
    }
    int count() const override {
        return pending() ? kept_.count() : static_cast<int>(send(LVM_GETITEMCOUNT, 0, 0));
    }
    std::string cell(int row, int col) const override {
        if (row < 0 || row >= count() || col < 0) return {};
        if (pending()) {
            return kept_.cell(row, col);
        }
        if (col >= columns_ && col > 0) {
            auto it = extras_.find(key(row));
            if (it == extras_.end()) return {};
            const size_t k = static_cast<size_t>(col - columns_);
            return k < it->second.size() ? it->second[k] : std::string();
        }
        LVITEMA it{};
        it.iSubItem = col;
        return text::readRecord(ensure(), LVM_GETITEMTEXTA, LVM_GETITEMTEXTW, row, &it, it.pszText,
                                it.cchTextMax);
    }
    void setCell(int row, int col, const std::string& text) override {
        if (row < 0 || row >= count() || col < 0) return;
        if (pending()) {
            kept_.setCell(row, col, text);
            return;
        }
        if (col >= columns_ && col > 0) {
            auto& v = extras_[key(row)];
            const size_t k = static_cast<size_t>(col - columns_);
            if (v.size() <= k) v.resize(k + 1);
            v[k] = text;
            return;
        }
        LVITEMA it{};
        it.iSubItem = col;
        text::sendRecord(ensure(), LVM_SETITEMTEXTA, LVM_SETITEMTEXTW, row, &it, it.pszText, text);
    }
    int insertRow(int at, const std::string& caption) override {
        if (pending()) return kept_.insert(std::min(at, kept_.count()), caption);
        LVITEMA it{};
        it.mask = LVIF_TEXT | LVIF_PARAM;
        it.iItem = at < 0 ? count() : at;
        it.lParam = ++lastKey_;
        return static_cast<int>(
            text::sendRecord(ensure(), LVM_INSERTITEMA, LVM_INSERTITEMW, 0, &it, it.pszText, caption));
    }
    void deleteRow(int row) override {
        if (pending()) return kept_.erase(row);
        extras_.erase(key(row));
        send(LVM_DELETEITEM, row, 0);
    }
    void clearRows() override {
        kept_.clear();
        if (pending()) return;
        send(LVM_DELETEALLITEMS, 0, 0);
        extras_.clear();
    }
    int itemIndex() const override {
        if (pending()) return kept_.sel;
        return static_cast<int>(send(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    }
    // The comctl32 of Windows 95 (4.00) knows no full-row selection and
    // selects a row only by its first column's text: a click elsewhere on
    // the row selects it here, as the extended style would. The row is
    // found by its height, since a hit test would look for that text.
    void selectClickedRow() {
        if (send(LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_FULLROWSELECT) return;
        const int top = static_cast<int>(send(LVM_GETTOPINDEX, 0, 0));
        RECT first{};
        first.left = LVIR_BOUNDS;
        if (!send(LVM_GETITEMRECT, top, reinterpret_cast<LPARAM>(&first))) return;
        const DWORD at = GetMessagePos();
        POINT p{static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
        ScreenToClient(hwnd_, &p);
        const int height = first.bottom - first.top;
        if (height <= 0 || p.y < first.top || p.x < first.left || p.x >= first.right) return;
        const int row = top + (p.y - first.top) / height;
        if (row < count() && row != itemIndex()) setItemIndex(row);
    }
    void setItemIndex(int row) override {
        if (pending()) return kept_.select(row);
        LVITEMA it{};
        it.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        it.state = 0;
        send(LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&it));
        if (row < 0 || row >= count()) return;
        it.state = LVIS_SELECTED | LVIS_FOCUSED;
        send(LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&it));
        send(LVM_ENSUREVISIBLE, row, FALSE);
    }

protected:
    void replay() override {
        PendingRows columns, kept;
        std::swap(columns, keptColumns_);
        std::swap(kept, kept_);
        for (const KeptRow& c : columns.rows) addColumn(c.cells[0], static_cast<int>(c.data));
        for (const KeptRow& r : kept.rows) {
            const auto& cells = r.cells;
            const int row = insertRow(-1, cells[0]);
            for (size_t col = 1; col < cells.size(); ++col) setCell(row, static_cast<int>(col), cells[col]);
        }
        if (kept.sel >= 0) setItemIndex(kept.sel);
    }

private:
    LRESULT send(UINT m, WPARAM w, LPARAM l) const { return text::api().sendMessage(ensure(), m, w, l); }
    LPARAM key(int row) const {
        LVITEMA it{};
        it.mask = LVIF_PARAM;
        it.iItem = row;
        return send(LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&it)) ? it.lParam : 0;
    }
    int columns_ = 0;
    LPARAM lastKey_ = 0;
    base::SmallMap<LPARAM, std::vector<std::string>> extras_;  // sub-items without a column
    PendingRows keptColumns_, kept_;
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
