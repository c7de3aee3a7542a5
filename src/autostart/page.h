// The controls of the autostart page, built with their texts and places.
// TfrmMain is made of them.
#pragma once
#include "autostart/entries.h"
#include "ui/controls.h"

class TfrmMain;

namespace autostart {

// Page "管理自启动程序".
struct AutostartPage {
    explicit AutostartPage(ui::TPageControl& pages);

    ui::TTabSheet TabSheet4;
    ui::TGroupBox GroupBox5;
    ui::TListView ListView1;
    ui::TListBox ListAutoRun;
    ui::TLabel Label4;
    ui::TEdit Edit5;
    ui::TLabel Label17;
    ui::TEdit Edit6;
    ui::TBitBtn Button20;
    ui::TButton Button18;
    ui::TButton Button19;
    ui::TButton Button21;
    ui::TButton Button14;
    ui::TButton Button17;

    // What the last fill read. "应用" removes only values named here: a
    // value that came later, or that the fill could not read, was never in
    // the list and must not go.
    FillRecord filled;
};

// Connects the page's controls to their handlers.
void wire(TfrmMain& form);

}  // namespace autostart
