// The window-list page: its controls, built with their texts, hints and
// places, and its handlers. The window holds it.
#pragma once
#include <cstdint>
#include <functional>

#include "common/page_host.h"
#include "ui/controls.h"

namespace window {

// Page "窗口列表".
class WindowPage : public common::Page {
public:
    WindowPage(common::PageHost& host, ui::TPageControl& pages);

    ui::TTabSheet TabSheet2;
    ui::TListBox List2;
    ui::TLabel Label2;
    ui::TButton Button1;
    ui::TButton Button2;
    ui::TButton Button3;
    ui::TButton Button15;
    ui::TButton Button4;

    void RefreshWindowList();
    void List2Click();
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button15Click();

private:
    // The window of the selected title, looked up now; the list is
    // refreshed after the pause whether one was found or not.
    void actOnSelectedTitle(const std::function<void(platform::Hwnd)>& act, std::int32_t pauseMs);
};

}  // namespace window
