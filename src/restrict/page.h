// The controls of the restriction page, built with their texts and places.
// TfrmMain is made of them.
#pragma once
#include "ui/controls.h"

class TfrmMain;

namespace restriction {

// Page "程序限制".
struct RestrictPage {
    explicit RestrictPage(ui::TPageControl& pages);

    ui::TTabSheet TabSheet3;
    ui::TGroupBox GroupBox3;
    ui::TListBox List3;
    ui::TListBox ListHide;
    ui::TListBox ListYunXu;
    ui::TRadioGroup RadioGroup2;
    ui::TListBox ListJinZhi;
    ui::TButton Button6;
    ui::TButton Button7;
    ui::TButton Button16;
    ui::TButton Button8;
    ui::TButton Button9;
    ui::TButton Button10;
    ui::TSpeedButton SpeedButton1;
    ui::TButton Button11;
};

// Connects the page's controls, the loop-clear timer and the interval
// controls to their handlers.
void wire(TfrmMain& form);

}  // namespace restriction
