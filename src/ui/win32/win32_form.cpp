// The top-level window: its own class, timers, closing, minimising, the
// tooltip window its controls share.
#include <stdexcept>

#include "ui/win32/win32_families.h"

namespace ui::win32 {

namespace {

class FormPeer : public Win32Peer {
public:
    FormPeer(Win32Application& app, PeerSink& sink) : Win32Peer(app, PeerKind::Form, sink) {}
    ~FormPeer() override {
        if (hwnd_) {
            if (tips_) DestroyWindow(tips_);
            HWND h = hwnd_;
            hwnd_ = nullptr;
            SetWindowLongPtrA(h, GWLP_USERDATA, 0);
            DestroyWindow(h);
        }
    }
    static constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX |
                                    WS_CLIPCHILDREN;

    bool createForm(const std::string& cls) {
        WNDCLASSA wc{};
        if (!GetClassInfoA(app_.instance(), cls.c_str(), &wc)) {
            wc = WNDCLASSA{};
            wc.style = CS_DBLCLKS;
            wc.lpfnWndProc = formProc;
            wc.hInstance = app_.instance();
            wc.hIcon = LoadIconA(app_.instance(), "MAINICON");
            wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
            wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
            wc.lpszClassName = cls.c_str();
            if (!RegisterClassA(&wc)) return false;
        }
        hwnd_ = CreateWindowExA(0, cls.c_str(), "", kStyle, CW_USEDEFAULT, CW_USEDEFAULT, 300, 300,
                                nullptr, nullptr, app_.instance(), this);
        if (!hwnd_) return false;
        tips_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_,
                                nullptr, app_.instance(), nullptr);
        if (tips_) {
            SetPropA(hwnd_, kTipsProp, tips_);
            SendMessageA(tips_, TTM_SETMAXTIPWIDTH, 0, 360);
        }
        return true;
    }

    void setBounds(int left, int top, int width, int height) override {
        MoveWindow(hwnd_, left, top, width, height, TRUE);
    }
    void setClientSize(int width, int height) override {
        RECT r{0, 0, width, height};
        AdjustWindowRectEx(&r, static_cast<DWORD>(style()), FALSE,
                           static_cast<DWORD>(GetWindowLongPtrA(hwnd_, GWL_EXSTYLE)));
        SetWindowPos(hwnd_, nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    void setVisible(bool v) override {
        if (v) {
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
        icon_ = LoadIconA(app_.instance(), resource.c_str());
        HICON small = static_cast<HICON>(LoadImageA(app_.instance(), resource.c_str(), IMAGE_ICON,
                                                    16, 16, 0));
        SendMessageA(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
        SendMessageA(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small ? small : icon_));
    }
    std::uintptr_t iconHandle() const override { return reinterpret_cast<std::uintptr_t>(icon_); }

    static LRESULT CALLBACK formProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
        if (msg == WM_NCCREATE) {
            auto* cs = reinterpret_cast<CREATESTRUCTA*>(l);
            SetWindowLongPtrA(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
        }
        auto* self = reinterpret_cast<FormPeer*>(GetWindowLongPtrA(h, GWLP_USERDATA));
        if (!self || !self->hwnd_) return DefWindowProcA(h, msg, w, l);
        return self->handle(msg, w, l);
    }

private:
    LRESULT handle(UINT msg, WPARAM w, LPARAM l) {
        LRESULT r = 0;
        if (routeToChild(app_, hwnd_, msg, w, l, r)) return r;
        switch (msg) {
        case WM_COMMAND:
            if (l == 0 && (LOWORD(w) == IDOK || LOWORD(w) == IDCANCEL)) return 0;
            break;
        case WM_TIMER: {
            const int id = static_cast<int>(w);
            guard([&] { sink_.peerTimer(id); });
            return 0;
        }
        case WM_CLOSE:
            guard([&] { sink_.peerCloseQuery(); });
            return 0;
        case WM_ACTIVATE:
            // Coming back to the window puts the focus where the user left it.
            if (LOWORD(w) == WA_INACTIVE) {
                HWND f = GetFocus();
                if (f && IsChild(hwnd_, f)) lastFocus_ = f;
            } else if (lastFocus_ && IsWindow(lastFocus_) && IsWindowVisible(lastFocus_) &&
                       IsChild(hwnd_, lastFocus_) &&
                       !HIWORD(w)) {
                SetFocus(lastFocus_);
                return 0;
            }
            break;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            BeginPaint(hwnd_, &ps);
            EndPaint(hwnd_, &ps);
            guard([&] { sink_.peerPaint(); });
            return 0;
        }
        case WM_SYSCOMMAND:
            if ((w & 0xFFF0) == SC_MINIMIZE) {
                r = DefWindowProcA(hwnd_, msg, w, l);
                guard([&] { sink_.peerMinimize(); });
                return r;
            }
            break;
        default:
            break;
        }
        return DefWindowProcA(hwnd_, msg, w, l);
    }

    HWND tips_ = nullptr;
    HWND lastFocus_ = nullptr;
    HICON icon_ = nullptr;
    bool shown_ = false;
};

}  // namespace

std::unique_ptr<Peer> makeFormPeer(Win32Application& app, PeerSink& sink, const std::string& windowClass) {
    auto p = std::make_unique<FormPeer>(app, sink);
    if (!p->createForm(windowClass)) throw std::runtime_error("Cannot create the main window");
    return p;
}

}  // namespace ui::win32
