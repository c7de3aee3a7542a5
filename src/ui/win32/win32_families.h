// Inside the Win32 layer: what the peer families share, and the makers the
// factory table lists.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "ui/win32/win32_peers.h"

namespace ui::win32 {

inline HBRUSH faceBrush() { return GetSysColorBrush(COLOR_BTNFACE); }

// Rows kept while the window is still to come, with the controls' rules
// for the selection: it moves with its row and goes with it. A row is its
// cells and the item data (list boxes) or the width (list view columns).
struct KeptRow {
    std::vector<std::string> cells;
    std::intptr_t data = 0;
};

struct PendingRows {
    std::vector<KeptRow> rows;
    int sel = -1;

    int count() const { return static_cast<int>(rows.size()); }
    bool has(int row) const { return row >= 0 && row < count(); }
    KeptRow& at(int row) { return rows[static_cast<size_t>(row)]; }
    const KeptRow& at(int row) const { return rows[static_cast<size_t>(row)]; }
    // At -1 or at the end appends; past the end refuses (-1), as the controls do.
    int insert(int at, const std::string& caption, std::intptr_t data = 0);
    void erase(int row);
    void clear();
    // Empty when the row or the cell is not there.
    std::string cell(int row, int col) const;
    void setCell(int row, int col, const std::string& text);
    // A list view drops its selection for a row that is not there...
    void select(int row) { sel = has(row) ? row : -1; }
    // ...a list box and a tab strip keep theirs.
    void choose(int row) {
        if (row == -1 || has(row)) sel = row;
    }
};
std::unique_ptr<Win32Peer> makeButtonPeer(Win32Application& app, PeerKind kind, PeerSink& sink);
std::unique_ptr<Win32Peer> makeBitBtnPeer(Win32Application& app, PeerKind kind, PeerSink& sink);
std::unique_ptr<Win32Peer> makeLabelPeer(Win32Application& app, PeerKind kind, PeerSink& sink);
std::unique_ptr<Win32Peer> makeEditPeer(Win32Application& app, PeerKind kind, PeerSink& sink);
std::unique_ptr<Win32Peer> makeUpDownPeer(Win32Application& app, PeerKind kind, PeerSink& sink);
std::unique_ptr<Win32Peer> makeWindowlessPeer(Win32Application& app, PeerKind kind, PeerSink& sink);
std::unique_ptr<Win32Peer> makeListBoxPeer(Win32Application& app, PeerKind kind, PeerSink& sink);
std::unique_ptr<Win32Peer> makeCheckListPeer(Win32Application& app, PeerKind kind, PeerSink& sink);
std::unique_ptr<Win32Peer> makeListViewPeer(Win32Application& app, PeerKind kind, PeerSink& sink);
std::unique_ptr<Win32Peer> makeContainerPeer(Win32Application& app, PeerKind kind, PeerSink& sink);
std::unique_ptr<Win32Peer> makeTabPeer(Win32Application& app, PeerKind kind, PeerSink& sink);
// The form is not a child window: its own class, made at once.
std::unique_ptr<Peer> makeFormPeer(Win32Application& app, PeerSink& sink,
                                   const std::string& windowClass);

}  // namespace ui::win32
