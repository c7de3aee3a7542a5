// The application object: message loop, the standard error box, message
// boxes and file dialogs, and the factory of the peers. One implementation
// drives real windows, the other lives in memory for the tests.
#pragma once
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/peer.h"
#include "ui/types.h"

namespace ui {

class TControl;
class TForm;
class TFileDialog;
class TPopupMenu;
class TImageList;

// The caption of the standard error box.
inline constexpr const char* kErrorCaption = "Morvane";

// Ends an action quietly: the event boundary shows nothing for it, so a
// handler that has already told the user can stop what called it.
class EAbort : public std::exception {
public:
    const char* what() const noexcept override { return "Operation aborted"; }
};

class TApplication {
public:
    virtual ~TApplication() = default;

    // --- Peers.
    virtual std::unique_ptr<Peer> createPeer(PeerKind kind, TControl& owner, Peer* parent,
                                             int id) = 0;

    // --- Running.
    // Dispatches every pending message once, then returns.
    virtual void processMessages() = 0;
    // Sleeps until a message arrives or ms have passed, so waits do not spin.
    virtual void waitMessage(std::uint32_t ms) { (void)ms; }
    // Runs until terminate(); returns the exit code.
    virtual int run() = 0;
    virtual void terminate();
    bool terminated() const { return terminated_; }
    TForm* mainForm() const { return mainForm_; }
    void setMainForm(TForm* f) { mainForm_ = f; }
    // The screen the windows are centred on.
    virtual TPoint screenSize() const = 0;
    // Brings a minimised application back (no-op when it is not minimised).
    virtual void restore() {}

    // --- The event boundary. Runs action; an exception escaping it is shown
    // in the standard error box and goes no further.
    void guard(const std::function<void()>& action) noexcept;
    // Inside a catch block: shows the error being handled, as guard does.
    void showCaught() noexcept;
    void showException(const std::exception& e);
    virtual void showErrorText(const std::string& text);

    // Raised when the user minimises the main window.
    std::vector<TNotifyEvent> minimizeHandlers;
    void notifyMinimize();

    // --- Modal interaction.
    // MessageBoxA: returns the answer (ui::answer).
    virtual int messageBox(const std::string& text, const std::string& caption,
                           unsigned flags) = 0;
    // Shows the dialog; on success the chosen path is in dialog.fileName.
    virtual bool runFileDialog(TFileDialog& dialog, bool save) = 0;
    // Opens the menu at a screen point; the chosen item is clicked.
    virtual void popupMenu(TPopupMenu& menu, int x, int y) = 0;
    // An image list made of a bitmap strip resource; 0 when unavailable.
    virtual std::uintptr_t loadImageList(const std::string& resource, int width, int height,
                                         TColor mask, int& count) = 0;
    virtual void releaseImageList(std::uintptr_t handle) { (void)handle; }
    // RegisterWindowMessageA: the number every program gets for this name;
    // 0 when it cannot be had.
    virtual std::uint32_t registerMessage(const std::string& name) = 0;

    // The system's menu font (non-client metrics); false when it cannot be read.
    virtual bool menuFont(TFont& font) { (void)font; return false; }
    // The size of a check box or radio button box (SM_CXHTHUMB).
    virtual int thumbSize() const { return 16; }

    // The window class the next form's window is made with.
    std::string pendingWindowClass;

protected:
    bool terminated_ = false;
    TForm* mainForm_ = nullptr;

private:
    // The error box open now, and the other errors raised under it.
    bool errorOpen_ = false;
    std::string errorShown_;
    std::vector<std::string> errorsWaiting_;
};

}  // namespace ui
