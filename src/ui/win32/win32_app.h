// The application over real windows: the message loop with the dialog keys,
// the peers (windows of the standard classes), message boxes, file dialogs
// and popup menus.
#pragma once
#include <windows.h>

#include "base/small_map.h"
#include <string>
#include <tuple>

#include "ui/application.h"

namespace ui::win32 {

class Win32Application : public TApplication {
public:
    explicit Win32Application(HINSTANCE instance);
    ~Win32Application() override;

    std::unique_ptr<Peer> createPeer(PeerKind kind, TControl& owner, Peer* parent,
                                     int id) override;
    void processMessages() override;
    void waitMessage(std::uint32_t ms) override;
    int run() override;
    void terminate() override;
    TPoint screenSize() const override;
    void restore() override;
    int messageBox(const std::string& text, const std::string& caption,
                   unsigned flags) override;
    bool runFileDialog(TFileDialog& dialog, bool save) override;
    void popupMenu(TPopupMenu& menu, int x, int y) override;
    std::uintptr_t loadImageList(const std::string& resource, int width, int height, TColor mask,
                                 int& count) override;
    void releaseImageList(std::uintptr_t handle) override;
    std::uint32_t registerMessage(const std::string& name) override;
    bool menuFont(TFont& font) override;
    int thumbSize() const override;

    HINSTANCE instance() const { return instance_; }
    // Fonts live as long as the application; equal fonts share one handle.
    HFONT font(const TFont& f);
    HCURSOR handCursor();
    // Dialog keys of the form that owns the target window; true when used.
    bool preTranslate(MSG& msg);
    // Asks for WM_MOUSELEAVE once the mouse leaves h; false where the system
    // cannot, and the caller finds out by polling.
    bool trackMouseLeave(HWND h);
    // Polls even where the system could tell, as on Windows 95 (for tests).
    bool pollMouseLeave = false;

private:
    void dispatch(MSG& msg);
    HWND ownerWindow() const;
    HINSTANCE instance_;
    base::SmallMap<std::tuple<std::string, int, bool, int>, HFONT> fonts_;
    HCURSOR hand_ = nullptr;
    int exitCode_ = 0;
    using TrackMouseFn = BOOL(WINAPI*)(TRACKMOUSEEVENT*);
    TrackMouseFn trackMouse_ = nullptr;
    bool trackLookedUp_ = false;
};

}  // namespace ui::win32
