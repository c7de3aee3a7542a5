// Inside the Win32 layer: what the peer families share, and the makers the
// factory table lists.
#pragma once
#include <memory>
#include <string>

#include "ui/win32/win32_peers.h"

namespace ui::win32 {

inline HBRUSH faceBrush() { return GetSysColorBrush(COLOR_BTNFACE); }

// On a form: the tooltip window its controls' hints go to.
extern const char* const kTipsProp;

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
