// The controls of the window-list page, built with their texts, hints and
// places. TfrmMain is made of them.
#pragma once
#include "ui/controls.h"

class TfrmMain;

namespace window {

// Page "窗口列表".
struct WindowPage {
    explicit WindowPage(ui::TPageControl& pages);

    ui::TTabSheet TabSheet2;
    ui::TListBox List2;
    ui::TLabel Label2;
    ui::TButton Button1;
    ui::TButton Button2;
    ui::TButton Button3;
    ui::TButton Button15;
    ui::TButton Button4;
};

// Connects the page's controls to their handlers.
void wire(TfrmMain& form);

}  // namespace window
