// Top-level windows in Z order, closed by WM_CLOSE and quit by WM_QUIT.
#include "platform/sim/sim_state.h"

#include <algorithm>

namespace sim {

namespace {

constexpr std::size_t kMaxWindowText = 254;  // 255-byte buffer with its NUL

}  // namespace

platform::Hwnd SimOs::addWindow(const std::string& title, std::uint32_t ownerPid) {
    auto w = std::make_shared<Window>();
    w->hwnd = s_->nextHwnd;
    s_->nextHwnd += 0x10;
    w->title = title;
    w->ownerPid = ownerPid;
    s_->windows.push_back(w);
    return w->hwnd;
}

Window* SimOs::window(platform::Hwnd h) {
    for (auto& w : s_->windows)
        if (w->hwnd == h) return w.get();
    return nullptr;
}

std::vector<Window> SimOs::windows() const {
    std::vector<Window> out;
    for (auto& w : s_->windows)
        if (w->alive) out.push_back(*w);
    return out;
}

void SimOs::moveWindowToBottom(platform::Hwnd h) {
    auto& ws = s_->windows;
    auto it = std::find_if(ws.begin(), ws.end(), [&](const auto& w) { return w->hwnd == h; });
    if (it != ws.end()) std::rotate(it, it + 1, ws.end());
}

void SimOs::onWindowWalk(std::function<void(SimOs&, platform::Hwnd)> hook) {
    s_->windowWalk = std::move(hook);
}

// --- platform::Os ----------------------------------------------------------------

platform::Status SimOs::getWindow(platform::Hwnd wnd, std::uint32_t cmd, platform::Hwnd& found) {
    found = 0;
    if (s_->log("GetWindow", "hwnd=" + hex(wnd) + ", cmd=" + num(cmd))) {
        const platform::Status failed = s_->walkFailure();
        return failed.code() == platform::Error::NoMoreFiles ? platform::Status() : failed;
    }
    auto& ws = s_->windows;
    if (cmd == platform::WindowWalk::First) {
        for (auto& w : ws)
            if (w->alive) {
                found = w->hwnd;
                break;
            }
        return {};
    }
    if (cmd != platform::WindowWalk::Next) return platform::Status(87);  // ERROR_INVALID_PARAMETER
    if (s_->windowWalk) s_->windowWalk(*this, wnd);
    auto it = std::find_if(ws.begin(), ws.end(), [&](const auto& w) { return w->hwnd == wnd && w->alive; });
    if (it == ws.end()) return platform::Status(platform::Error::InvalidWindowHandle);
    for (++it; it != ws.end(); ++it)
        if ((*it)->alive) {
            found = (*it)->hwnd;
            break;
        }
    return {};
}

int SimOs::getWindowText(platform::Hwnd wnd, std::string& text) {
    if (s_->log("GetWindowTextA", "hwnd=" + hex(wnd))) {
        text.clear();
        return 0;
    }
    Window* w = window(wnd);
    if (!w || !w->alive) {
        text.clear();
        return 0;
    }
    text = w->title.substr(0, kMaxWindowText);
    return static_cast<int>(text.size());
}

platform::Hwnd SimOs::findWindow(const char* className, const char* windowName) {
    if (s_->log("FindWindowA", std::string("class=") + (className ? className : "(null)") +
                                   ", title=" + (windowName ? windowName : "(null)")))
        return 0;
    // Like FindWindowA: whole texts, not case-sensitive.
    for (auto& w : s_->windows) {
        if (!w->alive) continue;
        if (className && !sameName(w->className, className)) continue;
        if (windowName && !sameName(w->title, windowName)) continue;
        return w->hwnd;
    }
    return 0;
}

platform::Status SimOs::sendClose(platform::Hwnd wnd, std::uint32_t timeoutMs) {
    if (s_->log("SendMessageA", "hwnd=" + hex(wnd) + ", WM_CLOSE, timeout=" + num(timeoutMs))) {
        advance(timeoutMs);  // a window that does not answer
        return platform::Status(platform::Error::Timeout);
    }
    Window* w = window(wnd);
    if (!w || !w->alive) return platform::Status(platform::Error::InvalidWindowHandle);
    if (w->hung) {
        advance(timeoutMs);
        return platform::Status(platform::Error::Timeout);
    }
    if (!w->refusesClose) w->alive = false;
    return {};
}

platform::Status SimOs::postQuit(platform::Hwnd wnd) {
    if (s_->log("PostMessageA", "hwnd=" + hex(wnd) + ", WM_QUIT")) return platform::Status(platform::Error::AccessDenied);
    Window* w = window(wnd);
    if (!w || !w->alive) return platform::Status(platform::Error::InvalidWindowHandle);
    if (w->hung) return {};  // lands in a queue nobody reads
    if (auto p = w->ownerPid ? s_->running(w->ownerPid) : nullptr) {
        p->running = false;
        p->exitCode = 0;
        s_->processEnded(*this, p);
    }
    w->alive = false;
    return {};
}

}  // namespace sim
