// The parts of the window app builds itself: the banner and the page
// control, the settings pages it owns, the About page and the password
// panel. The other pages come from their own folders.
#pragma once
#include "ui/controls.h"

namespace app {

// Banner and the page control every page sits in.
struct Banner {
    explicit Banner(ui::TForm& form);

    ui::TPanel Panel1;
    ui::TImage Image3;
    ui::TPageControl PageControl1;
};

// Page "程序设置", its inner page control and its first inner page "通用设置".
struct GeneralSettingsPage {
    explicit GeneralSettingsPage(ui::TPageControl& pages);

    ui::TTabSheet TabSheet5;
    ui::TPageControl PageControl2;
    ui::TTabSheet TabSheet7;
    ui::TGroupBox GroupBox2;
    ui::TCheckBox ChkAutoRun;
    ui::TCheckBox ChkMin;
    ui::TCheckBox ChkRunByPass;
    ui::TButton Button5;
    ui::TLabel Label10;
    ui::TEdit Edit4;
    ui::TUpDown UpDown1;
    ui::TLabel Label3;
};

// "程序设置" > "密码设置".
struct PasswordSettingsPage {
    explicit PasswordSettingsPage(ui::TPageControl& settingsPages);

    ui::TTabSheet TabSheet9;
    ui::TGroupBox GroupBox4;
    ui::TLabel Label8;
    ui::TEdit Edit2;
    ui::TLabel Label9;
    ui::TEdit Edit3;
    ui::TButton Button12;
    ui::TButton Button13;
};

// Page "关于我们".
struct AboutPage {
    explicit AboutPage(ui::TPageControl& pages);

    ui::TTabSheet TabSheet6;
    ui::TImage Image1;
    ui::TLabel Label12;
    ui::TLabel Label13;
    ui::TLabel Label14;
    ui::TLabel Label15;
    ui::TLabel Label16;
    ui::TBevel Bevel1;
};

// The start-up password panel, over the page control.
struct PasswordPanel {
    explicit PasswordPanel(ui::TForm& form);

    ui::TPanel Panel2;
    ui::TImage Image2;
    ui::TLabel Label5;
    ui::TLabel Label6;
    ui::TLabel Label7;
    ui::TEdit Edit1;
    ui::TBitBtn BitBtn1;
    ui::TBitBtn BitBtn2;
};

extern const char* const kMailAddress;

}  // namespace app
