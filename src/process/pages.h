// The controls of the process page and of the normal-program settings page,
// each built with its texts, hints and place. TfrmMain is made of them.
#pragma once
#include "ui/controls.h"

class TfrmMain;

namespace process {

// Page "进程列表".
struct ProcessPage {
    explicit ProcessPage(ui::TPageControl& pages);

    ui::TTabSheet TabSheet1;
    ui::TListBox List1;
    ui::TCheckListBox ChkList1;
    ui::TRadioGroup RadioGroup1;
    ui::TLabel Label1;
    ui::TButton BtnNormalAppShow;
    ui::TButton BtnAddNormalAppList;
    ui::TButton BtnRefresh;
    ui::TButton BtnSave;
    ui::TButton BtnKill;
    ui::TButton BtnDelApp;
    ui::TButton BtnExit;
};

// Page "程序设置" > "正常程序设置".
struct NormalProgramPage {
    explicit NormalProgramPage(ui::TPageControl& settingsPages);

    ui::TTabSheet TabSheet8;
    ui::TGroupBox GroupBox1;
    ui::TListBox ListApp;
    ui::TButton BtnSaveAppList;
    ui::TButton BtnOpenAppList;
    ui::TButton BtnAdd;
    ui::TButton BtnDel;
    ui::TButton BtnClear;
};

// Connects both pages' controls to their handlers.
void wire(TfrmMain& form);

}  // namespace process
