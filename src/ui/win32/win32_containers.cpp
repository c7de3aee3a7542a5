// Windows that hold other controls: panels, group boxes, pages and the page
// control with its tabs.
#include <algorithm>

#include "ui/win32/win32_families.h"

namespace ui::win32 {

namespace {

// Panels, pages and group boxes hold other controls: they paint their own
// background, since their parent leaves them out.
class ContainerPeer : public Win32Peer {
public:
    // A panel or page is a static control: without a caption its painting
    // would only fill the background the erase has just filled.
    ContainerPeer(Win32Application& app, PeerKind kind, PeerSink& sink) : Win32Peer(app, kind, sink) {
        if (paintsOnlyCaption()) setClassPaint(false);
    }
    void setText(const std::string& text) override {
        Win32Peer::setText(text);
        if (paintsOnlyCaption()) setClassPaint(!text.empty());
    }
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

private:
    bool paintsOnlyCaption() const { return kind_ == PeerKind::Panel || kind_ == PeerKind::TabSheet; }
};

class TabPeer : public ContainerPeer {
public:
    using ContainerPeer::ContainerPeer;
    // Narrower tabs, so that all six of the main window fit in one row
    // (comctl32 before 4.71 ignores this and scrolls the tabs instead).
    void created() override {
        const UINT setPadding = TCM_FIRST + 43;
        SendMessageA(hwnd_, setPadding, 0, MAKELPARAM(2, 3));
    }
    bool filter(UINT, WPARAM, LPARAM, LRESULT&) override { return false; }
    bool notify(NMHDR& nm, LRESULT& r) override {
        if (nm.code == static_cast<UINT>(TCN_SELCHANGE)) {
            sink_.peerChanged();
            r = 0;
            return true;
        }
        return false;
    }
    int count() const override {
        return pending() ? kept_.count() : static_cast<int>(send(TCM_GETITEMCOUNT, 0, 0));
    }
    std::string cell(int row, int col) const override {
        if (col != 0) return {};
        if (pending()) return kept_.cell(row, 0);
        TCITEMA it{};
        it.mask = TCIF_TEXT;
        return text::readRecord(ensure(), TCM_GETITEMA, TCM_GETITEMW, row, &it, it.pszText, it.cchTextMax);
    }
    int insertRow(int at, const std::string& caption) override {
        if (pending()) return kept_.insert(std::min(at, kept_.count()), caption);
        TCITEMA it{};
        it.mask = TCIF_TEXT;
        return static_cast<int>(text::sendRecord(ensure(), TCM_INSERTITEMA, TCM_INSERTITEMW,
                                                 at < 0 ? count() : at, &it, it.pszText, caption));
    }
    void deleteRow(int row) override {
        if (pending()) kept_.erase(row);
        else send(TCM_DELETEITEM, row, 0);
    }
    int itemIndex() const override { return pending() ? kept_.sel : static_cast<int>(send(TCM_GETCURSEL, 0, 0)); }
    void setItemIndex(int row) override {
        if (pending()) kept_.choose(row);
        else send(TCM_SETCURSEL, row, 0);
    }
    // Until the window is made its tabs have no height: the pages are laid
    // out again then.
    TRect displayRect() const override {
        RECT rc{0, 0, bounds().width(), bounds().height()};
        if (!pending()) {
            GetClientRect(hwnd_, &rc);
            send(TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&rc));
        }
        return {rc.left, rc.top, rc.right, rc.bottom};
    }

protected:
    void replay() override {
        PendingRows kept;
        std::swap(kept, kept_);
        for (const KeptRow& r : kept.rows) insertRow(-1, r.cells[0]);
        if (kept.sel >= 0) setItemIndex(kept.sel);
    }

private:
    LRESULT send(UINT m, WPARAM w, LPARAM l) const { return text::api().sendMessage(ensure(), m, w, l); }
    PendingRows kept_;
};

}  // namespace

std::unique_ptr<Win32Peer> makeContainerPeer(Win32Application& app, PeerKind kind, PeerSink& sink) {
    return std::make_unique<ContainerPeer>(app, kind, sink);
}

std::unique_ptr<Win32Peer> makeTabPeer(Win32Application& app, PeerKind kind, PeerSink& sink) {
    return std::make_unique<TabPeer>(app, kind, sink);
}

}  // namespace ui::win32
