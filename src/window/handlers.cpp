// The window-list page of TfrmMain.
#include "app/main_form.h"
#include "process/normal_list.h"
#include "window/list.h"

namespace {
constexpr std::int32_t kAfterCloseMs = 300, kAfterQuitMs = 1500;
}  // namespace

void TfrmMain::RefreshWindowList() {
    List2.setItems(window::listWindowTitles(os, handle()));
    Label2.setCaption(window::countText(static_cast<std::size_t>(List2.count())));
}

void TfrmMain::List2Click() {
    const int sel = List2.itemIndex();
    if (sel >= 0 && sel < List2.count()) List2.setHint(List2.item(sel));
}

void TfrmMain::Button1Click() { RefreshWindowList(); }

void TfrmMain::Button2Click() {
    if (!SaveDialog1.execute()) return;
    process::writeListFile(os, SaveDialog1.fileName, List2.items());
}

// A window that never answers is given up on after a few seconds (the
// platform's bounded send), so ours is never frozen for ever.
void TfrmMain::Button3Click() {
    const int sel = List2.itemIndex();
    if (sel < 0 || sel >= List2.count()) return;
    if (const os::Hwnd w = os.findWindow(nullptr, List2.item(sel).c_str())) os.sendClose(w);
    Delay(kAfterCloseMs);
    RefreshWindowList();
}

void TfrmMain::Button15Click() {
    const int sel = List2.itemIndex();
    if (sel < 0 || sel >= List2.count()) return;
    if (const os::Hwnd w = os.findWindow(nullptr, List2.item(sel).c_str())) os.postQuit(w);
    Delay(kAfterQuitMs);
    RefreshWindowList();
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
