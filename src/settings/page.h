// Page "程序设置" whole: its sheet and inner page control, the general,
// normal-program and password pages on it, and the start-up password panel
// that guards the window. Their controls, built with texts and places, and
// their handlers.
#pragma once
#include "common/page_host.h"
#include "settings/ids.h"
#include "ui/controls.h"
#include "ui/hooks.h"

namespace settings {

class PasswordSettingsPage;
class PasswordPanel;

// "程序设置" > "通用设置".
class GeneralSettingsPage : public common::Page {
public:
    // The password page and panel, built later, are only kept here: Button5
    // shows the page, and the settings raise the panel.
    GeneralSettingsPage(common::PageHost& host, ui::TPageControl& settingsPages, PasswordSettingsPage& passwordPage,
                        PasswordPanel& passwordPanel);

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

    // Start-up: each value on its own, one that cannot be read shown and
    // the others still read.
    void loadSettings();
    // The close: the interval, unless start-up could not read it and the
    // user set none.
    void saveSettings();

private:
    ui::TPageControl& pages_;
    PasswordSettingsPage& passwordPage_;
    PasswordPanel& passwordPanel_;
    // The interval's position when start-up could not read KillTime; 0
    // once it was read or written.
    int intervalNotRead_ = 0;
};

// "程序设置" > "正常程序设置".
class NormalProgramPage : public common::Page {
public:
    NormalProgramPage(common::PageHost& host, ui::TPageControl& settingsPages);

    ui::TTabSheet TabSheet8;
    ui::TGroupBox GroupBox1;
    ui::TListBox ListApp;
    ui::TButton BtnSaveAppList;
    ui::TButton BtnOpenAppList;
    ui::TButton BtnAdd;
    ui::TButton BtnDel;
    ui::TButton BtnClear;

    void BtnAddClick();
    void ListAppClick();
    void BtnDelClick();
    void BtnClearClick();
    void BtnSaveAppListClick();
    void BtnOpenAppListClick();

    // Napplst.dat into the list at start-up, and back at the close. A file
    // start-up did not read (nor the copy a cut save left aside) is not
    // what the list shows: it is replaced only when the user changed the
    // list, and then only after a question; without mayAsk (the session is
    // ending) it is left alone.
    void loadSettings();
    void saveSettings(bool mayAsk);

private:
    // Napplst.dat was read whole at start-up (or was missing), or the list
    // has been saved over it since.
    bool listLoaded_ = false;
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

    // The gate over the pages, and the menu's items it holds back.
    void raise() {
        Panel2.show();
        host.passwordGate(true);
    }
    void lower() {
        Panel2.hide();
        host.passwordGate(false);
    }
    // Placed over the pages, above them.
    void cover(int left, int top, int width, int height) {
        Panel2.setBounds(left, top, width, height);
        Panel2.bringToFront();
    }
};

// Page "程序设置": the sheet among the window's pages, its inner page
// control, and the three pages on it in tab order.
class ProgramSettings {
public:
    // The password panel, built later, is only kept: the general page
    // raises it. Inline, so the window's constructor builds it with its
    // own clean-up.
    ProgramSettings(common::PageHost& host, ui::TPageControl& pages, PasswordPanel& passwordPanel)
        : TabSheet5(pages, ids::TabSheet5, "程序设置"),
          PageControl2(TabSheet5, ids::PageControl2),
          generalSettings(host, PageControl2, passwordSettings, passwordPanel),
          normalPrograms(host, PageControl2),
          passwordSettings(host, PageControl2, generalSettings.TabSheet7) {
        PageControl2.setBoundsAndLayout(4, 4, 351, 280);
    }

    ui::TTabSheet TabSheet5;
    ui::TPageControl PageControl2;
    GeneralSettingsPage generalSettings;
    NormalProgramPage normalPrograms;
    PasswordSettingsPage passwordSettings;
};

}  // namespace settings
