// The top-level window: its own class, timers, closing, minimising, the
// tooltip window its controls share.
#include "base/error.h"

#include "ui/win32/win32_families.h"
#include "ui/win32/win32_objects.h"
#include "ui/win32/win32_text.h"

namespace ui::win32 {

namespace {

class FormPeer : public Win32Peer {
public:
    FormPeer(Win32Application& app, PeerSink& sink) : Win32Peer(app, PeerKind::Form, sink) {}
    ~FormPeer() override {
        hooks().clear();
        if (hwnd_) {
            if (tips_) DestroyWindow(tips_);
            HWND h = hwnd_;
            hwnd_ = nullptr;
            SetWindowLongPtrA(h, GWLP_USERDATA, 0);
            DestroyWindow(h);
        }
        // Once its window is gone.
        if (small_) DestroyIcon(objects::release(objects::Icon, small_));
    }
    static constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX |
                                    WS_CLIPCHILDREN;

    bool createForm(const std::string& cls) {
        WNDCLASSA wc{};
        if (!text::api().classInfo(app_.instance(), text::arg(cls), &wc)) {
            const text::Arg name = text::arg(cls);
            wc = WNDCLASSA{};
            wc.style = CS_DBLCLKS;
            wc.lpfnWndProc = formProc;
            wc.hInstance = app_.instance();
            wc.hIcon = LoadIconA(app_.instance(), "MAINICON");
            wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
            wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
            wc.lpszClassName = name;
            if (!text::api().registerClass(&wc)) return false;
        }
        hwnd_ = objects::create(objects::Window, [&] {
            return text::api().createWindow(0, text::arg(cls), text::arg(""), kStyle, CW_USEDEFAULT,
                                            CW_USEDEFAULT, 300, 300, nullptr, nullptr, app_.instance(), this);
        });
        return hwnd_ != nullptr;
    }

    HWND tips() override {
        if (tips_ || !hwnd_) return tips_;
        tips_ = objects::create(objects::Window, [&] {
            return text::api().createWindow(WS_EX_TOPMOST, text::arg(TOOLTIPS_CLASSA), nullptr,
                                            WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                                            CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr, app_.instance(), nullptr);
        });
        if (tips_) SendMessageA(tips_, TTM_SETMAXTIPWIDTH, 0, 360);
        return tips_;
    }

    // Before the first show the place is only noted, and the show makes one
    // move: each move of a hidden top-level window is passed on to X.
    void setBounds(int left, int top, int width, int height) override {
        if (shown_) {
            MoveWindow(hwnd_, left, top, width, height, TRUE);
            return;
        }
        place_ = {left, top, left + width, top + height};
        placed_ = true;
    }
    TRect bounds() const override { return shown_ || !placed_ ? Win32Peer::bounds() : place_; }
    void setClientSize(int width, int height) override {
        RECT r{0, 0, width, height};
        AdjustWindowRectEx(&r, static_cast<DWORD>(style()), FALSE,
                           static_cast<DWORD>(GetWindowLongPtrA(hwnd_, GWL_EXSTYLE)));
        if (shown_) {
            SetWindowPos(hwnd_, nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            return;
        }
        const TRect b = bounds();
        setBounds(b.left, b.top, r.right - r.left, r.bottom - r.top);
    }
    void setVisible(bool v) override {
        if (v) {
            if (!shown_ && placed_)
                SetWindowPos(hwnd_, nullptr, place_.left, place_.top, place_.width(), place_.height(),
                             SWP_NOZORDER | SWP_NOACTIVATE);
            // The controls to be seen get their windows before the first paint.
            realizeShowing();
            ShowWindow(hwnd_, shown_ ? SW_SHOW : SW_SHOWNORMAL);
            shown_ = true;
            UpdateWindow(hwnd_);
        } else {
            ShowWindow(hwnd_, SW_HIDE);
        }
    }
    void setHint(const std::string&) override {}
    void setTimer(int id, unsigned ms) override { SetTimer(hwnd_, static_cast<UINT_PTR>(id), ms, nullptr); }
    void killTimer(int id) override { KillTimer(hwnd_, static_cast<UINT_PTR>(id)); }
    void setIcon(const std::string& resource) override {
        // The big one is shared, the system's to free; the small one is ours.
        icon_ = LoadIconA(app_.instance(), resource.c_str());
        HICON small = objects::create(objects::Icon, [&] {
            return static_cast<HICON>(LoadImageA(app_.instance(), resource.c_str(), IMAGE_ICON, 16, 16, 0));
        });
        HICON was = small_;
        small_ = small;
        if (!small) small = icon_;
        // Before the first show the class carries them: the window takes them
        // when it is mapped, where each WM_SETICON makes Wine convert and send
        // both pictures to the X server again.
        if (!shown_) {
            SetClassLongPtrA(hwnd_, GCLP_HICON, reinterpret_cast<LONG_PTR>(icon_));
            SetClassLongPtrA(hwnd_, GCLP_HICONSM, reinterpret_cast<LONG_PTR>(small));
        } else {
            SendMessageA(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
            SendMessageA(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
        }
        if (was) DestroyIcon(objects::release(objects::Icon, was));
    }
    std::uintptr_t iconHandle() const override { return reinterpret_cast<std::uintptr_t>(icon_); }

    static LRESULT CALLBACK formProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
        if (msg == WM_NCCREATE) {
            auto* cs = reinterpret_cast<CREATESTRUCTA*>(l);
            SetWindowLongPtrA(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
        }
        auto* self = reinterpret_cast<FormPeer*>(GetWindowLongPtrA(h, GWLP_USERDATA));
        if (LRESULT r = 0; objects::control(msg, w, l, r)) return r;
        if (!self || !self->hwnd_) return text::api().defaultProc(h, msg, w, l);
        return self->receive(msg, w, l);
    }

protected:
    // What the form does itself; a message it leaves goes to the form's
    // handlers, then to the default procedure.
    LRESULT classProc(UINT msg, WPARAM w, LPARAM l) override;
    LRESULT windowGone(WPARAM w, LPARAM l) override {
        HWND h = hwnd_;
        hwnd_ = nullptr;
        SetWindowLongPtrA(h, GWLP_USERDATA, 0);
        return text::api().defaultProc(h, WM_NCDESTROY, w, l);
    }

private:
    bool dialogCommand(WPARAM w, LPARAM l, LRESULT& r) {
        if (l != 0 || (LOWORD(w) != IDOK && LOWORD(w) != IDCANCEL)) return false;
        r = 0;
        return true;
    }
    bool timer(WPARAM w, LPARAM, LRESULT& r) {
        const int id = static_cast<int>(w);
        sink_.peerTimer(id);
        r = 0;
        return true;
    }
    bool closeQuery(WPARAM, LPARAM, LRESULT& r) {
        sink_.peerCloseQuery();
        r = 0;
        return true;
    }
    // Coming back to the window puts the focus where the user left it.
    bool activate(WPARAM w, LPARAM, LRESULT& r) {
        if (LOWORD(w) == WA_INACTIVE) {
            HWND f = GetFocus();
            if (f && IsChild(hwnd_, f)) lastFocus_ = f;
            return false;
        }
        if (!lastFocus_ || !IsWindow(lastFocus_) || !IsWindowVisible(lastFocus_) ||
            !IsChild(hwnd_, lastFocus_) || HIWORD(w))
            return false;
        SetFocus(lastFocus_);
        r = 0;
        return true;
    }
    // Into the given context when the peer began the paint itself.
    bool paint(WPARAM w, LPARAM, LRESULT& r) {
        if (!w) {
            PAINTSTRUCT ps;
            BeginPaint(hwnd_, &ps);
            EndPaint(hwnd_, &ps);
        }
        sink_.peerPaint();
        r = 0;
        return true;
    }
    bool sysCommand(WPARAM w, LPARAM l, LRESULT& r) {
        if ((w & 0xFFF0) != SC_MINIMIZE) return false;
        r = text::api().defaultProc(hwnd_, WM_SYSCOMMAND, w, l);
        sink_.peerMinimize();
        return true;
    }

    struct Handler {
        UINT msg;
        bool (FormPeer::*handle)(WPARAM, LPARAM, LRESULT&);
    };
    static const Handler kHandlers[];

    HWND tips_ = nullptr;
    HWND lastFocus_ = nullptr;
    HICON icon_ = nullptr;
    HICON small_ = nullptr;
    TRect place_{};
    bool placed_ = false;
};

const FormPeer::Handler FormPeer::kHandlers[] = {
    {WM_COMMAND, &FormPeer::dialogCommand}, {WM_TIMER, &FormPeer::timer},
    {WM_CLOSE, &FormPeer::closeQuery},      {WM_ACTIVATE, &FormPeer::activate},
    {WM_PAINT, &FormPeer::paint},           {WM_SYSCOMMAND, &FormPeer::sysCommand},
};

LRESULT FormPeer::classProc(UINT msg, WPARAM w, LPARAM l) {
    LRESULT r = 0;
    for (const Handler& h : kHandlers)
        if (h.msg == msg && (this->*h.handle)(w, l, r)) return r;
    TMessage m{msg, w, l, 0};
    return sink_.peerMessage(m) ? m.result : text::api().defaultProc(hwnd_, msg, w, l);
}

}  // namespace

std::unique_ptr<Peer> makeFormPeer(Win32Application& app, PeerSink& sink, const std::string& windowClass) {
    auto p = std::make_unique<FormPeer>(app, sink);
    if (!p->createForm(windowClass)) throw base::Error("Cannot create the main window");
    return p;
}

}  // namespace ui::win32
