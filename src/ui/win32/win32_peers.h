// The peers of the real build: each control is a window of a standard class,
// subclassed so that the notifications its parent receives come back to it.
// A message to the window goes through the hooks of the control first, then
// the peer's own handling, then the class.
//
// A child's window is made when it is first shown (with the form, or when
// its page is), when something needs the window itself, or else while the
// program waits for input; until then the peer keeps what it is told, so
// that each window is made once, at its final place, with its text and font.
// Creating windows is most of a start.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <map>
#include <vector>

#include "ui/peer.h"
#include "ui/win32/win32_app.h"
#include "ui/win32/win32_text.h"

namespace ui::win32 {

class Win32Peer : public Peer {
public:
    Win32Peer(Win32Application& app, PeerKind kind, PeerSink& sink);
    ~Win32Peer() override;

    // A child whose window comes later: of class cls, with WS_CHILD added.
    void defer(Win32Peer* parent, int id, const char* cls, DWORD style, DWORD exStyle);
    // The window, made now if it is still to come: its parents first, and
    // its siblings still to come with it.
    HWND ensure() const;
    // Makes the window still to come of this control, seen or about to be,
    // and in turn those of its children to be seen.
    void realizeShowing();
    // Makes the first window still to come, parents first; false when
    // none is left. The windows not seen at start are made this way while
    // the program waits for input.
    bool realizeNext();
    // Settings the class takes only once its window exists.
    virtual void created() {}
    // A top-level window: the tooltip window its controls' hints go to,
    // made when the first hint needs it.
    virtual HWND tips() { return nullptr; }

    static Win32Peer* of(HWND h);
    HWND hwnd() const { return hwnd_; }
    PeerKind kind() const { return kind_; }
    PeerSink& sink() const { return sink_; }
    Win32Application& app() const { return app_; }
    TCursor cursor() const { return cursor_; }

    std::uintptr_t handle() const override { return reinterpret_cast<std::uintptr_t>(ensure()); }
    void setBounds(int left, int top, int width, int height) override;
    TRect bounds() const override;
    void setText(const std::string& text) override;
    std::string text() const override;
    void setVisible(bool v) override;
    bool visible() const override;
    void setEnabled(bool e) override;
    bool enabled() const override;
    void setFocus() override;
    bool focused() const override;
    void setHint(const std::string& hint) override;
    void setFont(const TFont& font) override;
    void setCursor(TCursor c) override { cursor_ = c; }
    void bringToFront() override;
    void invalidate() override;
    std::intptr_t send(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) override {
        // In the window's own kind: one made Unicode would have a text
        // message sent as ANSI converted, and asked twice.
        return text::api().sendMessage(ensure(), msg, wParam, lParam);
    }
    void setBevel(TBevelCut cut) override;
    void paintOver(bool wholeWindow, const std::function<void(TCanvas&, const TRect&)>& paint) override;

    // A message to the window, as its procedure receives it.
    LRESULT receive(UINT msg, WPARAM w, LPARAM l);

    // What the parent was told about this control.
    virtual void command(int code) { (void)code; }
    virtual bool notify(NMHDR& nm, LRESULT& result) { (void)nm, (void)result; return false; }
    virtual void drawItem(DRAWITEMSTRUCT& d) { (void)d; }
    virtual void measureItem(MEASUREITEMSTRUCT& m) { (void)m; }
    virtual HBRUSH ctlColor(HDC dc);
    virtual void scroll(int code) { (void)code; }
    // The control's own messages, before its class sees them.
    virtual bool filter(UINT msg, WPARAM w, LPARAM l, LRESULT& result);
    bool hasFrame() const;
    void setClassPaint(bool on) override { classPaint_ = on; }
    // Pictures and bevels have no window: the parent draws them into its own
    // paint, below its child windows, in parent coordinates.
    bool windowless() const { return kind_ == PeerKind::Image || kind_ == PeerKind::Bevel; }
    virtual void drawOnParent(HDC dc) { (void)dc; }

    // The class procedure, past the hooks and the peer.
    LRESULT callOld(UINT msg, WPARAM w, LPARAM l) const {
        HWND h = ensure();
        return text::api().callProc(oldProc_, h, msg, w, l);
    }
    LONG_PTR style() const { return hwnd_ ? GetWindowLongPtrA(hwnd_, GWL_STYLE) : style_; }
    void changeStyle(LONG_PTR add, LONG_PTR remove);
    void changeExStyle(LONG_PTR add, LONG_PTR remove);

protected:
    // One event of the window, a boundary of its own: code that changes a
    // control (a tick set by the program) raises it outside any window
    // procedure, and the change goes on after the error is shown.
    void raise(void (PeerSink::*event)()) { app_.guard([&] { (sink_.*event)(); }); }
    // What the window does past the hooks: routes, filter, events, the class.
    LRESULT own(UINT msg, WPARAM w, LPARAM l);
    // The window's class procedure; the form has its own.
    virtual LRESULT classProc(UINT msg, WPARAM w, LPARAM l) { return callOld(msg, w, l); }
    // WM_NCDESTROY: the peer lets go of its window.
    virtual LRESULT windowGone(WPARAM w, LPARAM l);
    // What the peer kept while its window was to come, given to the new window.
    virtual void replay() {}
    // The window is still to come.
    bool pending() const { return !hwnd_ && cls_; }
    // The top-level window has been shown once: from then on a child made
    // visible gets its window at once.
    bool rootShown() const;
    HWND parentWindow() const { return parent_ ? parent_->hwnd_ : nullptr; }
    bool shown_ = false;  // a top-level window: shown once
    Win32Application& app_;
    PeerKind kind_;
    PeerSink& sink_;
    HWND hwnd_ = nullptr;
    WNDPROC oldProc_ = nullptr;
    TFont font_;
    TCursor cursor_ = TCursor::Default;
    bool hasTool_ = false;

private:
    // This window alone; its parent's is there already, or gone for good.
    void realize();
    void subclass();
    bool hasWindowlessKids() const;
    void paintWindowless(HDC dc);
    void paint(WPARAM w, LPARAM l, LRESULT& r);
    void placeInZOrder();
    void detach();
    void mouseMoved(LPARAM at);
    bool underMouse() const;
    void mouseLeft();
    void pollMouse();
    void gotFocus() { raise(&PeerSink::peerEnter); }
    void lostFocus();
    void enabledChanged();
    void textChanged();
    void painted() { raise(&PeerSink::peerAfterPaint); }
    struct After {
        UINT msg;
        void (Win32Peer::*report)();
    };
    static const After kAfterClass[];
    bool hot_ = false;  // the mouse is over the window
    // Kept for the window to come, and the tree it comes in.
    Win32Peer* parent_ = nullptr;
    std::vector<Win32Peer*> kids_;  // top of the z-order first
    const char* cls_ = nullptr;
    int id_ = 0;
    LONG_PTR style_ = 0, exStyle_ = 0;
    TRect bounds_{};
    std::string text_, hint_;
    bool hasFont_ = false;
    bool classPaint_ = true;
    bool hintLater_ = false;  // made before the first show: hint told while idle
};

// Routes what a parent window receives about its children back to them.
bool routeToChild(Win32Application& app, HWND self, UINT msg, WPARAM w, LPARAM l, LRESULT& r);

}  // namespace ui::win32
