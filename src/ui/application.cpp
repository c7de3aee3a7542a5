#include "ui/application.h"

#include "ui/controls.h"

#include <algorithm>

namespace ui {

void TApplication::terminate() { terminated_ = true; }

void TApplication::guard(const std::function<void()>& action) noexcept {
    try {
        action();
    } catch (...) {
        showCaught();
    }
}

void TApplication::showCaught() noexcept {
    try {
        throw;
    } catch (const EAbort&) {
    } catch (const std::exception& e) {
        try { showException(e); } catch (...) {}
    } catch (...) {
        try { showErrorText("Unknown error"); } catch (...) {}
    }
}

void TApplication::showException(const std::exception& e) { showErrorText(e.what()); }

// One box at a time: a paint failing under an open box would stack one on
// another. The same error again is dropped; a few others wait their turn.
void TApplication::showErrorText(const std::string& text) {
    constexpr std::size_t kMostWaiting = 3;
    if (errorOpen_) {
        if (text != errorShown_ && errorsWaiting_.size() < kMostWaiting &&
            std::find(errorsWaiting_.begin(), errorsWaiting_.end(), text) == errorsWaiting_.end())
            errorsWaiting_.push_back(text);
        return;
    }
    struct Open {
        TApplication& app;
        ~Open() {
            app.errorOpen_ = false;
            app.errorsWaiting_.clear();
        }
    } open{*this};
    errorOpen_ = true;
    errorShown_ = text;
    for (;;) {
        messageBox(errorShown_, kErrorCaption, mb::IconError | mb::Ok);
        if (errorsWaiting_.empty()) return;
        errorShown_ = errorsWaiting_.front();
        errorsWaiting_.erase(errorsWaiting_.begin());
    }
}

void TApplication::notifyMinimize() {
    for (auto& h : minimizeHandlers)
        if (h) h();
}

}  // namespace ui
