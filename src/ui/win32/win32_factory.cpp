// Which peer and which window class each kind of control gets.
#include "base/error.h"

#include "ui/controls.h"
#include "ui/win32/win32_families.h"

namespace ui::win32 {

namespace {

struct PeerClass {
    PeerKind kind;
    std::unique_ptr<Win32Peer> (*make)(Win32Application&, PeerKind, PeerSink&);
    const char* windowClass;
    DWORD style;  // besides WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS
    DWORD exStyle;
};

constexpr PeerClass kPeerClasses[] = {
    {PeerKind::Button, makeButtonPeer, "BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0},
    {PeerKind::BitBtn, makeBitBtnPeer, "BUTTON", BS_OWNERDRAW | WS_TABSTOP, 0},
    {PeerKind::SpeedButton, makeButtonPeer, "BUTTON", BS_AUTOCHECKBOX | BS_PUSHLIKE | WS_TABSTOP, 0},
    {PeerKind::CheckBox, makeButtonPeer, "BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, 0},
    {PeerKind::RadioButton, makeButtonPeer, "BUTTON", BS_AUTORADIOBUTTON | WS_TABSTOP, 0},
    {PeerKind::GroupBox, makeContainerPeer, "BUTTON", BS_GROUPBOX | WS_CLIPCHILDREN,
     WS_EX_CONTROLPARENT},
    {PeerKind::Panel, makeContainerPeer, "STATIC", SS_LEFT | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT},
    {PeerKind::TabSheet, makeContainerPeer, "STATIC", SS_LEFT | WS_CLIPCHILDREN,
     WS_EX_CONTROLPARENT},
    {PeerKind::Label, makeLabelPeer, "STATIC", SS_LEFTNOWORDWRAP | SS_NOTIFY | SS_NOPREFIX, 0},
    {PeerKind::Edit, makeEditPeer, "EDIT", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE},
    {PeerKind::ListBox, makeListBoxPeer, "LISTBOX",
     LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE},
    {PeerKind::CheckListBox, makeCheckListPeer, "LISTBOX",
     LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | WS_VSCROLL |
         WS_TABSTOP,
     WS_EX_CLIENTEDGE},
    {PeerKind::ListView, makeListViewPeer, WC_LISTVIEWA,
     LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_TABSTOP, WS_EX_CLIENTEDGE},
    {PeerKind::PageControl, makeTabPeer, WC_TABCONTROLA, WS_TABSTOP | WS_CLIPCHILDREN,
     WS_EX_CONTROLPARENT},
    {PeerKind::UpDown, makeUpDownPeer, UPDOWN_CLASSA,
     UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_NOTHOUSANDS, 0},
    // No window class: drawn by the parent.
    {PeerKind::Image, makeWindowlessPeer, nullptr, 0, 0},
    {PeerKind::Bevel, makeWindowlessPeer, nullptr, 0, 0},
};

}  // namespace

std::unique_ptr<Peer> Win32Application::createPeer(PeerKind kind, TControl& owner, Peer* parent,
                                                   int id) {
    if (kind == PeerKind::Form)
        return makeFormPeer(*this, owner, pendingWindowClass.empty() ? "TForm" : pendingWindowClass);
    for (const PeerClass& c : kPeerClasses) {
        if (c.kind != kind) continue;
        std::unique_ptr<Win32Peer> p = c.make(*this, kind, owner);
        p->defer(static_cast<Win32Peer*>(parent), id, c.windowClass,
                 WS_VISIBLE | WS_CLIPSIBLINGS | c.style, c.exStyle);
        return p;
    }
    throw base::Error("Cannot create a control window");
}

}  // namespace ui::win32
