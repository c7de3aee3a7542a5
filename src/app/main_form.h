// The main window: every page, control and non-visual component, and the
// program-wide values beside it. Each subsystem folder defines the handlers
// of its own pages.
#pragma once
#include <cstdint>
#include <string>

#include "platform/os.h"
#include "process/snapshot.h"
#include "ui/application.h"
#include "ui/controls.h"
#include "ui/dialogs.h"
#include "ui/menus.h"

class TfrmMain;

// Program-wide values.
extern TfrmMain* frmMain;     // set before FormCreate runs
extern std::string AppDir;    // the executable's directory, with its backslash
extern bool IsWindowsNT;      // NT, 2000, XP (not 95, 98, Me)
extern bool StartMinimized;   // hide into the notification area at the next paint

class TfrmMain : public ui::TForm {
public:
    TfrmMain(ui::TApplication& application, os::Os& platform);
    ~TfrmMain() override;

    ui::TApplication& Application;
    os::Os& os;

    // --- Frame of the window.
    ui::TPanel Panel1;
    ui::TImage Image3;
    ui::TPageControl PageControl1;

    // Page "进程列表".
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

    // Page "窗口列表".
    ui::TTabSheet TabSheet2;
    ui::TListBox List2;
    ui::TLabel Label2;
    ui::TButton Button1;
    ui::TButton Button2;
    ui::TButton Button3;
    ui::TButton Button15;
    ui::TButton Button4;

    // Page "程序限制".
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

    // Page "管理自启动程序".
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

    // Page "程序设置" with its inner pages.
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
    ui::TTabSheet TabSheet8;
    ui::TGroupBox GroupBox1;
    ui::TListBox ListApp;
    ui::TButton BtnSaveAppList;
    ui::TButton BtnOpenAppList;
    ui::TButton BtnAdd;
    ui::TButton BtnDel;
    ui::TButton BtnClear;
    ui::TTabSheet TabSheet9;
    ui::TGroupBox GroupBox4;
    ui::TLabel Label8;
    ui::TEdit Edit2;
    ui::TLabel Label9;
    ui::TEdit Edit3;
    ui::TButton Button12;
    ui::TButton Button13;

    // Page "关于我们".
    ui::TTabSheet TabSheet6;
    ui::TImage Image1;
    ui::TLabel Label12;
    ui::TLabel Label13;
    ui::TLabel Label14;
    ui::TLabel Label15;
    ui::TLabel Label16;
    ui::TBevel Bevel1;

    // Password panel, over PageControl1.
    ui::TPanel Panel2;
    ui::TImage Image2;
    ui::TLabel Label5;
    ui::TLabel Label6;
    ui::TLabel Label7;
    ui::TEdit Edit1;
    ui::TBitBtn BitBtn1;
    ui::TBitBtn BitBtn2;

    // Lowest in the stacking order, so it frames without covering.
    ui::TBevel Bevel7;

    // --- Non-visual components.
    ui::TSaveDialog SaveDialog1;
    ui::TOpenDialog OpenDialog1;
    ui::TOpenDialog NormalAppSet;
    ui::TTimer Timer1;
    ui::TApplicationEvents ApplicationEvents1;
    ui::TImageList ImageList1;
    ui::TPopupMenu PopupMenu1;
    ui::TMenuItem N1;
    ui::TMenuItem N2;
    ui::TMenuItem N3;
    ui::TMenuItem N4;
    ui::TMenuItem N5;
    ui::TMenuItem N6;
    ui::TMenuItem N8;
    ui::TMenuItem N7;

    // Two lists of process records, entry N behind line N of their list box.
    process::ProcessSnapshot PageSnapshot, LoopSnapshot;

    // --- Start-up, paint, close.
    void FormCreate();
    void FormPaint();
    void FormClose();
    void DetectWindowsVersion();
    void BtnExitClick();
    void Label16Click();
    void AddTrayIcon();

    // --- Process page.
    void RefreshProcessList();
    void RefreshHideList();
    void Delay(std::int32_t ms);
    std::int32_t KillTask(const std::string& exeName);
    std::int32_t KillTaskA(std::int32_t index);
    std::int32_t KillTaskB(std::int32_t index);
    void BtnRefreshClick();
    void BtnSaveClick();
    void RadioGroup1Click();
    void List1Click();
    void ChkList1Click();
    void BtnKillClick();
    void BtnNormalAppShowClick();
    void BtnAddNormalAppListClick();
    void BtnAddClick();
    void ListAppClick();
    void BtnDelClick();
    void BtnClearClick();
    void BtnSaveAppListClick();
    void BtnOpenAppListClick();

private:
    void layOut();
    void setTexts();
    void wireEvents();
};
