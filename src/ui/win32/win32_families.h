// Inside the Win32 layer: what the peer families share, and the makers the
// factory table lists.
#pragma once
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "ui/win32/win32_peers.h"

namespace ui::win32 {

inline HBRUSH faceBrush() { return GetSysColorBrush(COLOR_BTNFACE); }

// Rows kept while the window is still to come, with the controls' rules
// for the selection: it moves with its row and goes with it.
template <class Row>
struct PendingRows {
    std::vector<Row> rows;
    int sel = -1;

    int count() const { return static_cast<int>(rows.size()); }
    bool has(int row) const { return row >= 0 && row < count(); }
    Row& at(int row) { return rows[static_cast<size_t>(row)]; }
    const Row& at(int row) const { return rows[static_cast<size_t>(row)]; }
    int insert(int at, Row row) {
        if (at < 0) at = count();
        if (at > count()) return -1;
        rows.insert(rows.begin() + at, std::move(row));
        if (sel >= at) ++sel;
        return at;
    }
    void erase(int row) {
        if (!has(row)) return;
        rows.erase(rows.begin() + row);
        if (sel == row) sel = -1;
        else if (sel > row) --sel;
    }
    void clear() {
        rows.clear();
        sel = -1;
    }
    // A list view drops its selection for a row that is not there...
    void select(int row) { sel = has(row) ? row : -1; }
    // ...a list box and a tab strip keep theirs.
    void choose(int row) {
        if (row == -1 || has(row)) sel = row;
    }
};
std::unique_ptr<Win32Peer> makePlainPeer(Win32Application& app, PeerKind kind, PeerSink& sink);
std::unique_ptr<Win32Peer> makeButtonPeer(Win32Application& app, PeerKind kind, PeerSink& sink);
std::unique_ptr<Win32Peer> makeBitBtnPeer(Win32Application& app, PeerKind kind, PeerSink& sink);
std::unique_ptr<Win32Peer> makeLabelPeer(Win32Application& app, PeerKind kind, PeerSink& sink);
std::unique_ptr<Win32Peer> makeEditPeer(Win32Application& app, PeerKind kind, PeerSink& sink);
std::unique_ptr<Win32Peer> makeUpDownPeer(Win32Application& app, PeerKind kind, PeerSink& sink);
std::unique_ptr<Win32Peer> makeImagePeer(Win32Application& app, PeerKind kind, PeerSink& sink);
std::unique_ptr<Win32Peer> makeListBoxPeer(Win32Application& app, PeerKind kind, PeerSink& sink);
std::unique_ptr<Win32Peer> makeCheckListPeer(Win32Application& app, PeerKind kind, PeerSink& sink);
std::unique_ptr<Win32Peer> makeListViewPeer(Win32Application& app, PeerKind kind, PeerSink& sink);
std::unique_ptr<Win32Peer> makeContainerPeer(Win32Application& app, PeerKind kind, PeerSink& sink);
std::unique_ptr<Win32Peer> makeTabPeer(Win32Application& app, PeerKind kind, PeerSink& sink);
// The form is not a child window: its own class, made at once.
std::unique_ptr<Peer> makeFormPeer(Win32Application& app, PeerSink& sink,
                                   const std::string& windowClass);

}  // namespace ui::win32
