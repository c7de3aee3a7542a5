// The pages of "程序设置" that app does not fill from another folder: the
// general settings and the password settings, and the start-up password
// panel that guards the window. Their controls, built with texts and
// places, and their handlers.
#pragma once
#include "common/page_host.h"
#include "ui/controls.h"
#include "ui/hooks.h"

namespace settings {

class PasswordSettingsPage;

// "程序设置" > "通用设置".
class GeneralSettingsPage : public common::Page {
public:
    // The loop clear's timer takes the interval set here; the password
    // page, built later, is only kept here for Button5 to show it.
    GeneralSettingsPage(common::PageHost& host, ui::TPageControl& settingsPages, ui::TTimer& loopTimer,
                        PasswordSettingsPage& passwordPage);

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
    // The Delete key and the edit commands change a text without a typed
    // character; this keeps Edit4 to what the arrows write.
    ui::THookRegistration Edit4Guard;

    void ChkRunByPassClick();
    void ChkMinClick();
    void ChkAutoRunClick();
    void Button5Click();
    void UpDown1Click();
    void Edit4KeyPress(char& key);

private:
    ui::TPageControl& pages_;
    ui::TTimer& loopTimer_;
    PasswordSettingsPage& passwordPage_;
};

// "程序设置" > "密码设置".
class PasswordSettingsPage : public common::Page {
public:
    // Button13 goes back to generalTab.
    PasswordSettingsPage(common::PageHost& host, ui::TPageControl& settingsPages, ui::TTabSheet& generalTab);

    ui::TTabSheet TabSheet9;
    ui::TGroupBox GroupBox4;
    ui::TLabel Label8;
    ui::TEdit Edit2;
    ui::TLabel Label9;
    ui::TEdit Edit3;
    ui::TButton Button12;
    ui::TButton Button13;

    void Button13Click();
    void Edit2KeyPress(char& key);
    void Edit3KeyPress(char& key);
    void Button12Click();

private:
    ui::TPageControl& pages_;
    ui::TTabSheet& generalTab_;
};

// The start-up password panel, over the page control.
class PasswordPanel : public common::Page {
public:
    PasswordPanel(common::PageHost& host, ui::TForm& form);

    ui::TPanel Panel2;
    ui::TImage Image2;
    ui::TLabel Label5;
    ui::TLabel Label6;
    ui::TLabel Label7;
    ui::TEdit Edit1;
    ui::TBitBtn BitBtn1;
    ui::TBitBtn BitBtn2;

    void BitBtn1Click();
    void BitBtn2Click();
};

}  // namespace settings
