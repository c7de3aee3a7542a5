#include "app/main_form.h"

#include "app/control_ids.h"
#include "app/startup.h"
#include "base/text.h"

TfrmMain* frmMain = nullptr;
std::string AppDir;
bool IsWindowsNT = false;
bool StartMinimized = false;

namespace {
const char* const kCaption = "Morvane进程管理器";
const char* const kMailAddress = "morvane@example.com";
const char* const kExitCaption = "退    出";
const char* const kExitHint = "退出Morvane进程管理器";
const char* const kListFilter = "文本文件|*.txt|所有文件|*.*";
const char* const kProgramFilter = "程序文件|*.exe|所有文件|*.*";
constexpr int kClientWidth = 375, kClientHeight = 382;
}  // namespace

TfrmMain::TfrmMain(ui::TApplication& application, os::Os& platform)
    : ui::TForm(application, "TfrmMain"),
      Application(application),
      os(platform),
      Panel1(*this, ids::Panel1),
      Image3(Panel1, ids::Image3),
      PageControl1(*this, ids::PageControl1),
      TabSheet1(PageControl1, ids::TabSheet1, "进程列表"),
      List1(TabSheet1, ids::List1),
      ChkList1(TabSheet1, ids::ChkList1),
      RadioGroup1(TabSheet1, ids::RadioGroup1),
      Label1(TabSheet1, ids::Label1),
      BtnNormalAppShow(TabSheet1, ids::BtnNormalAppShow, "标识正常程序"),
      BtnAddNormalAppList(TabSheet1, ids::BtnAddNormalAppList, "加入正常列表"),
      BtnRefresh(TabSheet1, ids::BtnRefresh, "刷新列表"),
      BtnSave(TabSheet1, ids::BtnSave, "保存列表"),
      BtnKill(TabSheet1, ids::BtnKill, "结束进程"),
      BtnDelApp(TabSheet1, ids::BtnDelApp, "删除进程"),
      BtnExit(TabSheet1, ids::BtnExit, kExitCaption),
      TabSheet2(PageControl1, ids::TabSheet2, "窗口列表"),
      List2(TabSheet2, ids::List2),
      Label2(TabSheet2, ids::Label2),
      Button1(TabSheet2, ids::Button1, "刷新列表"),
      Button2(TabSheet2, ids::Button2, "保存列表"),
      Button3(TabSheet2, ids::Button3, "关闭窗口"),
      Button15(TabSheet2, ids::Button15, "关闭程序"),
      Button4(TabSheet2, ids::Button4, kExitCaption),
      TabSheet3(PageControl1, ids::TabSheet3, "程序限制"),
      GroupBox3(TabSheet3, ids::GroupBox3, "允许运行程序列表"),
      List3(GroupBox3, ids::List3),
      ListHide(GroupBox3, ids::ListHide),
      ListYunXu(GroupBox3, ids::ListYunXu),
      RadioGroup2(GroupBox3, ids::RadioGroup2),
      ListJinZhi(TabSheet3, ids::ListJinZhi),
      Button6(TabSheet3, ids::Button6, "另存列表"),
      Button7(TabSheet3, ids::Button7, "载入列表"),
      Button16(TabSheet3, ids::Button16, "清空列表"),
      Button8(TabSheet3, ids::Button8, "添    加"),
      Button9(TabSheet3, ids::Button9, "删    除"),
      Button10(TabSheet3, ids::Button10, "添加所有进程"),
      SpeedButton1(TabSheet3, ids::SpeedButton1, "循环清除"),
      Button11(TabSheet3, ids::Button11, "后台监视"),
      TabSheet4(PageControl1, ids::TabSheet4, "管理自启动程序"),
      GroupBox5(TabSheet4, ids::GroupBox5, "自启动程序列表"),
      ListView1(GroupBox5, ids::ListView1),
      ListAutoRun(TabSheet4, ids::ListAutoRun),
      Label4(TabSheet4, ids::Label4, "程序名称："),
      Edit5(TabSheet4, ids::Edit5),
      Label17(TabSheet4, ids::Label17, "程序位置："),
      Edit6(TabSheet4, ids::Edit6),
      Button20(TabSheet4, ids::Button20),
      Button18(TabSheet4, ids::Button18, "新建"),
      Button19(TabSheet4, ids::Button19, "删除"),
      Button21(TabSheet4, ids::Button21, "更改"),
      Button14(TabSheet4, ids::Button14, "刷新"),
      Button17(TabSheet4, ids::Button17, "应用"),
      TabSheet5(PageControl1, ids::TabSheet5, "程序设置"),
      PageControl2(TabSheet5, ids::PageControl2),
      TabSheet7(PageControl2, ids::TabSheet7, "通用设置"),
      GroupBox2(TabSheet7, ids::GroupBox2),
      ChkAutoRun(GroupBox2, ids::ChkAutoRun, "启动Windows时自动加载"),
      ChkMin(GroupBox2, ids::ChkMin, "程序启动时自动最小化"),
      ChkRunByPass(GroupBox2, ids::ChkRunByPass, "运行本程序需输入密码"),
      Button5(GroupBox2, ids::Button5, "密码设置"),
      Label10(GroupBox2, ids::Label10, "循环清除检测时间："),
      Edit4(GroupBox2, ids::Edit4, "1"),
      UpDown1(GroupBox2, ids::UpDown1),
      Label3(GroupBox2, ids::Label3, "秒"),
      TabSheet8(PageControl2, ids::TabSheet8, "正常程序设置"),
      GroupBox1(TabSheet8, ids::GroupBox1, "正常程序列表"),
      ListApp(GroupBox1, ids::ListApp),
      BtnSaveAppList(TabSheet8, ids::BtnSaveAppList, "另存列表"),
      BtnOpenAppList(TabSheet8, ids::BtnOpenAppList, "载入列表"),
      BtnAdd(TabSheet8, ids::BtnAdd, "添    加"),
      BtnDel(TabSheet8, ids::BtnDel, "删    除"),
      BtnClear(TabSheet8, ids::BtnClear, "清空列表"),
      TabSheet9(PageControl2, ids::TabSheet9, "密码设置"),
      GroupBox4(TabSheet9, ids::GroupBox4),
      Label8(GroupBox4, ids::Label8, "请输入密码："),
      Edit2(GroupBox4, ids::Edit2),
      Label9(GroupBox4, ids::Label9, "请再输入密码："),
      Edit3(GroupBox4, ids::Edit3),
      Button12(GroupBox4, ids::Button12, "确认"),
      Button13(GroupBox4, ids::Button13, "返回"),
      TabSheet6(PageControl1, ids::TabSheet6, "关于我们"),
      Image1(TabSheet6, ids::Image1),
      Label12(TabSheet6, ids::Label12, "程序名称：Morvane进程管理器"),
      Label13(TabSheet6, ids::Label13, "程序版本：1.0"),
      Label14(TabSheet6, ids::Label14, "程序设计：Morvane开发组"),
      Label15(TabSheet6, ids::Label15, "版权所有 (C) 2026 Morvane开发组，保留所有权利。"),
      Label16(TabSheet6, ids::Label16, std::string("E-Mail:") + kMailAddress),
      Bevel1(TabSheet6, ids::Bevel1),
      Panel2(*this, ids::Panel2),
      Image2(Panel2, ids::Image2),
      Label5(Panel2, ids::Label5, "欢迎使用！请输入运行密码。"),
      Label6(Panel2, ids::Label6, "如果密码为空，请直接单击确定。"),
      Label7(Panel2, ids::Label7, "密码："),
      Edit1(Panel2, ids::Edit1),
      BitBtn1(Panel2, ids::BitBtn1, "确定"),
      BitBtn2(Panel2, ids::BitBtn2, "退出"),
      Bevel7(*this, ids::Bevel7),
      SaveDialog1(application),
      OpenDialog1(application),
      NormalAppSet(application),
      Timer1(*this, ids::Timer1),
      ApplicationEvents1(application),
      ImageList1(application, "MENUIMAGES", 16, 16, 0xFF00FF),
      PopupMenu1(application),
      N1(PopupMenu1, ids::N1, "循环清除", 6),
      N2(PopupMenu1, ids::N2, "-"),
      N3(PopupMenu1, ids::N3, "重新登录", 3),
      N4(PopupMenu1, ids::N4, "重新启动", 2),
      N5(PopupMenu1, ids::N5, "关闭系统", 4),
      N6(PopupMenu1, ids::N6, "-"),
      N8(PopupMenu1, ids::N8, "还    原", 0),
      N7(PopupMenu1, ids::N7, kExitCaption, 5) {
    // Each window starts the program-wide values afresh.
    frmMain = this;
    AppDir.clear();
    IsWindowsNT = false;
    StartMinimized = false;

    setCaption(kCaption);
    setIcon("MAINICON");
    setClientSize(kClientWidth, kClientHeight);
    setTexts();
    layOut();
    wireEvents();
}

TfrmMain::~TfrmMain() {
    if (frmMain == this) frmMain = nullptr;
}

void TfrmMain::setTexts() {
    RadioGroup1.setItems({"单一清除模式", "多项清除模式"});
    RadioGroup1.setColumns(2);
    RadioGroup1.setItemIndex(0);
    RadioGroup2.setItems({"允许运行模式", "禁止运行模式"});
    RadioGroup2.setColumns(2);
    RadioGroup2.setItemIndex(0);

    for (ui::TControl* c : {static_cast<ui::TControl*>(&List1), static_cast<ui::TControl*>(&ChkList1),
                            static_cast<ui::TControl*>(&List2)})
        c->setCursor(ui::TCursor::HandPoint);
    ChkList1.hide();
    Label1.setWordWrap(true);
    Label2.setWordWrap(true);
    BtnNormalAppShow.setHint("标识自定义的正常程序");
    BtnAddNormalAppList.setHint("将选定项目加入正常程序列表");
    BtnRefresh.setHint("刷新进程列表");
    BtnSave.setHint("将进程列表保存为文件");
    BtnKill.setHint("禁止选定进程的运行");
    BtnDelApp.setHint("删除选定进程对应的程序文件");
    BtnExit.setHint(kExitHint);
    Button1.setHint("刷新窗口列表");
    Button2.setHint("将窗口列表保存为文件");
    Button3.setHint("关闭选定的窗口");
    Button15.setHint("关闭选定窗口所属的程序");
    Button4.setHint(kExitHint);

    ListHide.hide();
    ListYunXu.hide();
    ListJinZhi.hide();

    ListView1.addColumn("程序名称", 100);
    ListView1.addColumn("程序位置", 220);
    ListAutoRun.hide();
    Button20.setGlyph("FOLDERGLYPH");

    UpDown1.setAssociate(Edit4);
    UpDown1.setRange(1, 30);
    UpDown1.setPosition(1);
    Edit2.setPasswordChar('*');
    Edit3.setPasswordChar('*');

    Image1.setPicture("ABOUTPIC");
    Image1.setStretch(true);
    Image1.setFramed(true);
    for (ui::TLabel* l : {&Label12, &Label13, &Label14}) l->setFontHeight(14);
    Label15.setFontHeight(16);
    Label15.setFontColor(ui::clDkGray);
    Label15.setWordWrap(true);
    Label16.setFontColor(ui::clBlue);
    Label16.setCursor(ui::TCursor::HandPoint);

    Panel1.setBevel(ui::TBevelCut::Lowered);
    Image3.setPicture("BANNER");
    Image3.setStretch(true);
    Image3.setFramed(true);

    Panel2.setBevel(ui::TBevelCut::Lowered);
    Panel2.hide();
    Image2.setPicture("PASSPIC");
    Image2.setStretch(true);
    for (ui::TLabel* l : {&Label5, &Label6, &Label7}) l->setFontHeight(14);
    Edit1.setFontHeight(16);
    Edit1.setPasswordChar('*');
    BitBtn1.setGlyph("OKGLYPH");
    BitBtn1.setDefault(true);
    BitBtn2.setGlyph("NOGLYPH");
    BitBtn2.setCancel(true);

    SaveDialog1.defaultExt = "txt";
    SaveDialog1.filter = kListFilter;
    SaveDialog1.options = ui::ofn::OverwritePrompt | ui::ofn::HideReadOnly | ui::ofn::EnableSizing;
    OpenDialog1.defaultExt = "txt";
    OpenDialog1.filter = kListFilter;
    OpenDialog1.options = ui::ofn::HideReadOnly | ui::ofn::EnableSizing;
    NormalAppSet.defaultExt = "exe";
    NormalAppSet.filter = kProgramFilter;
    NormalAppSet.options = ui::ofn::HideReadOnly | ui::ofn::EnableSizing;

    Timer1.setEnabled(false);
    Timer1.setInterval(1000);

    N1.autoCheck = true;
    PopupMenu1.images = &ImageList1;
}

void TfrmMain::layOut() {
    Bevel7.setBounds(0, 0, kClientWidth, kClientHeight);
    Panel1.setBounds(4, 4, 367, 52);
    Image3.setBounds(2, 2, 359, 44);
    PageControl1.setBoundsAndLayout(4, 60, 367, 318);
    Panel2.setBounds(4, 60, 367, 318);
    Panel2.bringToFront();

    // Lists on the left, buttons down a right-hand column.
    constexpr int colX = 262, colW = 93, btnH = 26, step = 34;
    List1.setBounds(4, 4, 252, 236);
    ChkList1.setBounds(4, 4, 252, 236);
    ChkList1.bringToFront();
    RadioGroup1.setBoundsAndLayout(4, 244, 252, 40);
    Label1.setBounds(colX, 6, colW, 28);
    {
        int y = 38;
        for (ui::TButton* b : {&BtnNormalAppShow, &BtnAddNormalAppList, &BtnRefresh, &BtnSave,
                               &BtnKill, &BtnDelApp, &BtnExit}) {
            b->setBounds(colX, y, colW, btnH);
            y += step;
        }
    }

    List2.setBounds(4, 4, 252, 280);
    Label2.setBounds(colX, 6, colW, 28);
    {
        int y = 38;
        for (ui::TButton* b : {&Button1, &Button2, &Button3, &Button15, &Button4}) {
            b->setBounds(colX, y, colW, btnH);
            y += step;
        }
    }

    GroupBox3.setBounds(4, 2, 252, 282);
    List3.setBounds(8, 18, 236, 214);
    ListHide.setBounds(8, 18, 236, 214);
    ListYunXu.setBounds(8, 18, 236, 214);
    RadioGroup2.setBoundsAndLayout(8, 236, 236, 40);
    ListJinZhi.setBounds(8, 18, 236, 214);
    {
        int y = 8;
        for (ui::TControl* c :
             {static_cast<ui::TControl*>(&Button6), static_cast<ui::TControl*>(&Button7),
              static_cast<ui::TControl*>(&Button16), static_cast<ui::TControl*>(&Button8),
              static_cast<ui::TControl*>(&Button9), static_cast<ui::TControl*>(&Button10),
              static_cast<ui::TControl*>(&SpeedButton1), static_cast<ui::TControl*>(&Button11)}) {
            c->setBounds(colX, y, colW, btnH);
            y += step;
        }
    }

    GroupBox5.setBounds(4, 2, 351, 190);
    ListView1.setBounds(8, 18, 335, 164);
    Label4.setBounds(8, 203, 64, 16);
    Edit5.setBounds(74, 199, 281, 22);
    Label17.setBounds(8, 229, 64, 16);
    Edit6.setBounds(74, 225, 255, 22);
    Button20.setBounds(331, 225, 24, 22);
    {
        int x = 4;
        for (ui::TButton* b : {&Button18, &Button19, &Button21, &Button14, &Button17}) {
            b->setBounds(x, 256, 63, btnH);
            x += 73;
        }
    }

    PageControl2.setBoundsAndLayout(4, 4, 351, 280);
    GroupBox2.setBounds(8, 6, 325, 150);
    ChkAutoRun.setBounds(16, 18, 280, 20);
    ChkMin.setBounds(16, 46, 280, 20);
    ChkRunByPass.setBounds(16, 74, 176, 20);
    Button5.setBounds(204, 72, 80, 24);
    Label10.setBounds(16, 114, 110, 16);
    Edit4.setBounds(128, 110, 52, 22);
    UpDown1.setAssociate(Edit4);
    Label3.setBounds(186, 114, 20, 16);

    GroupBox1.setBounds(8, 6, 228, 236);
    ListApp.setBounds(8, 18, 212, 210);
    {
        int y = 12;
        for (ui::TButton* b : {&BtnSaveAppList, &BtnOpenAppList, &BtnAdd, &BtnDel, &BtnClear}) {
            b->setBounds(244, y, colW, btnH);
            y += step;
        }
    }

    GroupBox4.setBounds(8, 6, 325, 150);
    Label8.setBounds(24, 32, 100, 16);
    Edit2.setBounds(130, 28, 170, 22);
    Label9.setBounds(24, 64, 100, 16);
    Edit3.setBounds(130, 60, 170, 22);
    Button12.setBounds(130, 102, 80, btnH);
    Button13.setBounds(220, 102, 80, btnH);

    Bevel1.setBounds(4, 4, 351, 280);
    Image1.setBounds(18, 18, 96, 96);
    Label12.setBounds(126, 24, 224, 18);
    Label13.setBounds(126, 52, 224, 18);
    Label14.setBounds(126, 80, 224, 18);
    Label15.setBounds(18, 136, 330, 40);
    Label16.setBounds(18, 190, 330, 16);

    Image2.setBounds(8, 8, 345, 70);
    Label5.setBounds(40, 98, 300, 18);
    Label6.setBounds(40, 124, 300, 18);
    Label7.setBounds(40, 164, 50, 18);
    Edit1.setBounds(92, 159, 200, 26);
    BitBtn1.setBounds(92, 206, 92, 30);
    BitBtn2.setBounds(200, 206, 92, 30);
}

void TfrmMain::wireEvents() {
    OnCreate = [this] { FormCreate(); };
    OnPaint = [this] { FormPaint(); };
    OnClose = [this] { FormClose(); };
    BtnExit.OnClick = [this] { BtnExitClick(); };
    Button4.OnClick = [this] { BtnExitClick(); };
    Label16.OnClick = [this] { Label16Click(); };

    BtnRefresh.OnClick = [this] { BtnRefreshClick(); };
    BtnSave.OnClick = [this] { BtnSaveClick(); };
    RadioGroup1.OnClick = [this] { RadioGroup1Click(); };
    List1.OnClick = [this] { List1Click(); };
    ChkList1.OnClick = [this] { ChkList1Click(); };
    BtnKill.OnClick = [this] { BtnKillClick(); };
    BtnNormalAppShow.OnClick = [this] { BtnNormalAppShowClick(); };
    BtnAddNormalAppList.OnClick = [this] { BtnAddNormalAppListClick(); };
    BtnAdd.OnClick = [this] { BtnAddClick(); };
    ListApp.OnClick = [this] { ListAppClick(); };
    BtnDel.OnClick = [this] { BtnDelClick(); };
    BtnClear.OnClick = [this] { BtnClearClick(); };
    BtnSaveAppList.OnClick = [this] { BtnSaveAppListClick(); };
    BtnOpenAppList.OnClick = [this] { BtnOpenAppListClick(); };
}

void TfrmMain::FormCreate() {
    const ui::TPoint screen = Application.screenSize();
    const ui::TRect outer = windowRect();
    moveTo(app::centredOrigin(screen.x, outer.width()),
           app::centredOrigin(screen.y, outer.height()));
    AppDir = base::dirPart(os.exePath());
    // The settings and the autostart list are read here, before the platform
    // is known.
    DetectWindowsVersion();
    if (IsWindowsNT) BtnDelApp.setEnabled(false);
    RefreshProcessList();
    // The window list is filled here, once the process list stands.
    List3.setItems(app::runningProgramNames(os));
}

void TfrmMain::DetectWindowsVersion() {
    IsWindowsNT = false;
    IsWindowsNT = app::isNtPlatform(os);
}

void TfrmMain::FormPaint() {
    if (!StartMinimized) return;
    hide();
    AddTrayIcon();
    StartMinimized = false;
}

void TfrmMain::FormClose() {
    // The closing save of the settings comes first; an error there stops the close.
    Application.terminate();
}

void TfrmMain::BtnExitClick() { close(); }

void TfrmMain::Label16Click() {
    os.shellExecute(handle(), "Open", std::string("mailto:") + kMailAddress, "", "", 1);
}
