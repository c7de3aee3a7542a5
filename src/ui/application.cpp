#include "ui/application.h"

#include "ui/controls.h"

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

void TApplication::showErrorText(const std::string& text) {
    messageBox(text, kErrorCaption, mb::IconError | mb::Ok);
}

void TApplication::notifyMinimize() {
    for (auto& h : minimizeHandlers)
        if (h) h();
}

}  // namespace ui
