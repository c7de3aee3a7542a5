// The handlers of the window-list page.
#include <optional>

#include "common/lists.h"
#include "window/list.h"
#include "window/page.h"

namespace window {

namespace {
constexpr std::int32_t kAfterCloseMs = 300, kAfterQuitMs = 1500;
}  // namespace

void WindowPage::RefreshWindowList() {
    List2.setItems(listWindowTitles(os, host.hostHandle()));
    Label2.setCaption(countText(static_cast<std::size_t>(List2.count())));
}

void WindowPage::List2Click() {
    if (const auto line = common::selectedLine(List2)) List2.setHint(*line);
}

void WindowPage::Button1Click() { RefreshWindowList(); }

void WindowPage::Button2Click() { host.saveListAs(List2); }

// The list keeps titles only, so the window is looked up when it is acted on.
void WindowPage::actOnSelectedTitle(const std::function<void(platform::Hwnd)>& act,
                                    std::int32_t pauseMs) {
    const std::optional<std::string> title = common::selectedLine(List2);
    if (!title) return;
    if (const platform::Hwnd w = os.findWindow(nullptr, title->c_str())) act(w);
    host.Delay(pauseMs);
    RefreshWindowList();
}

// A window that never answers is given up on after a few seconds (the
// platform's bounded send), so ours is never frozen for ever.
void WindowPage::Button3Click() {
    actOnSelectedTitle([this](platform::Hwnd w) {
        platform::ignore(os.sendClose(w), "the refreshed list shows whether the window went");
    }, kAfterCloseMs);
}

void WindowPage::Button15Click() {
    actOnSelectedTitle([this](platform::Hwnd w) {
        platform::ignore(os.postQuit(w), "the refreshed list shows whether the program went");
    }, kAfterQuitMs);
}

}  // namespace window
