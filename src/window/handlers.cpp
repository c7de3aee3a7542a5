// The window-list page of TfrmMain.
#include <functional>
#include <optional>

#include "app/main_form.h"
#include "common/lists.h"
#include "window/list.h"

namespace {
constexpr std::int32_t kAfterCloseMs = 300, kAfterQuitMs = 1500;
}  // namespace

void TfrmMain::RefreshWindowList() {
    List2.setItems(window::listWindowTitles(os, handle()));
    Label2.setCaption(window::countText(static_cast<std::size_t>(List2.count())));
}

void TfrmMain::List2Click() {
    if (const auto line = page::selectedLine(List2)) List2.setHint(*line);
}

void TfrmMain::Button1Click() { RefreshWindowList(); }

void TfrmMain::Button2Click() { saveListAs(List2); }

namespace {

// The window of the selected title, looked up now (the list keeps titles
// only); the list is refreshed after the pause whether one was found or not.
void actOnSelectedTitle(TfrmMain& f, const std::function<void(os::Hwnd)>& act, std::int32_t pauseMs) {
    const std::optional<std::string> title = page::selectedLine(f.List2);
    if (!title) return;
    if (const os::Hwnd w = f.os.findWindow(nullptr, title->c_str())) act(w);
    f.Delay(pauseMs);
    f.RefreshWindowList();
}

}  // namespace

// A window that never answers is given up on after a few seconds (the
// platform's bounded send), so ours is never frozen for ever.
void TfrmMain::Button3Click() {
    actOnSelectedTitle(*this, [this](os::Hwnd w) { os.sendClose(w); }, kAfterCloseMs);
}

void TfrmMain::Button15Click() {
    actOnSelectedTitle(*this, [this](os::Hwnd w) { os.postQuit(w); }, kAfterQuitMs);
}

namespace window {

void wire(TfrmMain& f) {
    f.List2.OnClick = [&f] { f.List2Click(); };
    f.Button1.OnClick = [&f] { f.Button1Click(); };
    f.Button2.OnClick = [&f] { f.Button2Click(); };
    f.Button3.OnClick = [&f] { f.Button3Click(); };
    f.Button15.OnClick = [&f] { f.Button15Click(); };
}

}  // namespace window
