#include "app/main_form.h"

#include "app/control_ids.h"
#include "app/settings.h"
#include "app/startup.h"
#include "base/text.h"
#include "common/page_look.h"
#include "platform/registry.h"
#include "ui/messages.h"

namespace {
const char* const kCaption = "Morvane进程管理器";
constexpr int kClientWidth = 375, kClientHeight = 382;
}  // namespace

TfrmMain* frmMain = nullptr;

TfrmMain::TfrmMain(ui::TApplication& application, platform::Os& platform)
    : common::PageHost(application, platform),
      ui::TForm(application, "TfrmMain"),
      app::Banner(asForm()),
      process::ProcessPage(PageControl1, *this),
      window::WindowPage(PageControl1),
      restriction::RestrictPage(PageControl1, asForm()),
      autostart::AutostartPage(PageControl1),
      app::GeneralSettingsPage(PageControl1),
      process::NormalProgramPage(PageControl2),
      app::PasswordSettingsPage(PageControl2),
      app::AboutPage(PageControl1),
      app::PasswordPanel(asForm()),
      Bevel7(*this, ids::Bevel7),
      TrayRetry(*this, ids::TrayRetryTimer),
      ApplicationEvents1(application),
      ImageList1(application, "MENUIMAGES", 16, 16, 0xFF00FF),
      PopupMenu1(asForm()),
      N1(PopupMenu1, ids::N1, "循环清除", 6),
      N2(PopupMenu1, ids::N2, "-"),
      N3(PopupMenu1, ids::N3, "重新登录", 3),
      N4(PopupMenu1, ids::N4, "重新启动", 2),
      N5(PopupMenu1, ids::N5, "关闭系统", 4),
      N6(PopupMenu1, ids::N6, "-"),
      N8(PopupMenu1, ids::N8, "还    原", 0),
      N7(PopupMenu1, ids::N7, common::kExitCaption, 5),
      XPMenu1(asForm()) {
    // Each window starts the program-wide values afresh.
    frmMain = this;
    AppDir.clear();
    IsWindowsNT = false;
    StartMinimized = false;

    setCaption(kCaption);
    setIcon("MAINICON");
    setClientSize(kClientWidth, kClientHeight);
    setUpComponents();
    layOutFrame();
    wireEvents();
    // Last, as the window's description sets it: everything to take over exists.
    XPMenu1.setActive(true);
}

TfrmMain::~TfrmMain() {
    if (frmMain == this) frmMain = nullptr;
}

void TfrmMain::setUpComponents() {
    TrayRetry.setEnabled(false);
    TrayRetry.setInterval(2000);

    N1.autoCheck = true;
    PopupMenu1.images = &ImageList1;

    ui::TFont menuFont;  // 宋体, 12 pixels, GB2312, in the menu text colour
    menuFont.color = ui::clMenuText;
    XPMenu1.Font = menuFont;
    XPMenu1.AutoDetect = true;
}

// The pages placed their own controls; the frame places the pages.
void TfrmMain::layOutFrame() {
    Bevel7.setBounds(0, 0, kClientWidth, kClientHeight);
    Panel1.setBounds(4, 4, 367, 52);
    Image3.setBounds(2, 2, 359, 44);
    PageControl1.setBoundsAndLayout(4, 60, 367, 318);
    Panel2.setBounds(4, 60, 367, 318);
    Panel2.bringToFront();
    PageControl2.setBoundsAndLayout(4, 4, 351, 280);
}

void TfrmMain::wireEvents() {
    OnCreate = ui::handler<&TfrmMain::FormCreate>(this);
    OnPaint = ui::handler<&TfrmMain::FormPaint>(this);
    OnClose = ui::handler<&TfrmMain::FormClose>(this);
    Label16.OnClick = ui::handler<&TfrmMain::Label16Click>(this);
    ChkRunByPass.OnClick = ui::handler<&TfrmMain::ChkRunByPassClick>(this);
    ChkMin.OnClick = ui::handler<&TfrmMain::ChkMinClick>(this);
    ChkAutoRun.OnClick = ui::handler<&TfrmMain::ChkAutoRunClick>(this);
    BitBtn1.OnClick = ui::handler<&TfrmMain::BitBtn1Click>(this);
    BitBtn2.OnClick = ui::handler<&TfrmMain::BitBtn2Click>(this);
    Button5.OnClick = ui::handler<&TfrmMain::Button5Click>(this);
    Button13.OnClick = ui::handler<&TfrmMain::Button13Click>(this);
    Edit2.OnKeyPress = [this](char& key) { Edit2KeyPress(key); };
    Edit3.OnKeyPress = [this](char& key) { Edit3KeyPress(key); };
    Button12.OnClick = ui::handler<&TfrmMain::Button12Click>(this);
    UpDown1.OnClick = ui::handler<&TfrmMain::UpDown1Click>(this);
    Edit4.OnKeyPress = [this](char& key) { Edit4KeyPress(key); };
    Edit4Guard = Edit4.installHook([](ui::TMessage& m, const ui::TMessageNext& next) {
        namespace wm = ui::wm;
        const bool changesText = m.msg == wm::Cut || m.msg == wm::Paste || m.msg == wm::Clear ||
                                 m.msg == wm::Undo || m.msg == wm::EmUndo ||
                                 (m.msg == wm::KeyDown && m.wParam == wm::VkDelete);
        if (!changesText) next(m);
    });
    // While the password panel is up, no key reaches the pages beneath it.
    holdKeyboard(&Panel2, &Edit1);
    setMessageHandler(WM_TRAYICON, [this](ui::TMessage& m) { return WMTrayIcon(m); });
    // A shell that restarted has forgotten every icon; it says so to all.
    if (const std::uint32_t taskbarCreated = Application.registerMessage("TaskbarCreated"))
        setMessageHandler(taskbarCreated, [this](ui::TMessage&) {
            if (inNotificationArea_) AddTrayIcon();
            return false;
        });
    // A log-off is never held up; the save runs when it really happens,
    // before Windows ends the program without a close.
    setMessageHandler(ui::wm::QueryEndSession, [](ui::TMessage& m) {
        m.result = 1;
        return true;
    });
    setMessageHandler(ui::wm::EndSession, [this](ui::TMessage& m) {
        if (m.wParam) endSession();
        m.result = 0;
        return true;
    });
    TrayRetry.OnTimer = ui::handler<&TfrmMain::retryTrayIcon>(this);
    ApplicationEvents1.OnMinimize = ui::handler<&TfrmMain::ApplicationEvents1Minimize>(this);
    N1.OnClick = ui::handler<&TfrmMain::N1Click>(this);
    N3.OnClick = ui::handler<&TfrmMain::N3Click>(this);
    N4.OnClick = ui::handler<&TfrmMain::N4Click>(this);
    N5.OnClick = ui::handler<&TfrmMain::N5Click>(this);
    N8.OnClick = ui::handler<&TfrmMain::N8Click>(this);
    N7.OnClick = ui::handler<&TfrmMain::N7Click>(this);
}

void TfrmMain::FormCreate() {
    const ui::TPoint screen = Application.screenSize();
    const ui::TRect outer = windowRect();
    moveTo(app::centredOrigin(screen.x, outer.width()),
           app::centredOrigin(screen.y, outer.height()));
    std::string exe;
    platform::ignore(os.exePath(exe), "empty when the system cannot tell: the lists then go beside the "
                                      "current folder");
    AppDir = base::dirPart(exe);
    // Each step runs even when one before it failed, its error shown: a
    // settings value that cannot be read must not leave NT taken for 9x,
    // or the lists empty (an empty allow list ends every program).
    startUpStep(&TfrmMain::LoadSettings);
    startUpStep(&TfrmMain::FillAutostartList);
    startUpStep(&TfrmMain::detectFamily);
    if (TakeReadAhead) {
        TakeReadAhead(ModuleNames);
        TakeReadAhead = nullptr;
    }
    startUpStep(&TfrmMain::RefreshProcessList);
    startUpStep(&TfrmMain::RefreshWindowList);
    // The allow list starts as every program running now: those the process
    // page has just listed, from the same snapshot.
    List3.setItems(app::programNames(PageSnapshot));
}

void TfrmMain::startUpStep(void (TfrmMain::*step)()) {
    Application.guard([this, step] { (this->*step)(); });
}

void TfrmMain::detectFamily() {
    DetectWindowsVersion();
    if (IsWindowsNT) BtnDelApp.setEnabled(false);
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

namespace {
const char* const kSettingsUnsaved = "设置未能保存。是否不保存而直接退出？";
const char* const kListUnsaved = "正常程序列表未能保存。是否不保存而直接退出？";
const char* const kBothUnsaved = "设置和正常程序列表未能保存。是否不保存而直接退出？";

void showFailure(ui::TApplication& app, const std::exception_ptr& failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const std::exception& e) {
        app.showException(e);
    }
}
}  // namespace

// A failed save stops the close; but a program run from a read-only folder
// could then never be closed, so the user is asked whether to leave anyway.
void TfrmMain::FormClose() {
    const SaveFailures failed = SaveSettings();
    if (failed.interval || failed.list) {
        for (const std::exception_ptr& e : {failed.interval, failed.list})
            if (e) showFailure(Application, e);
        const char* question = !failed.list ? kSettingsUnsaved : !failed.interval ? kListUnsaved : kBothUnsaved;
        if (Application.messageBox(question, "确认", ui::mb::YesNo | ui::mb::IconQuestion) != ui::answer::Yes)
            throw ui::EAbort();
    }
    Application.terminate();
}

// No box can be answered while the session ends: what fails is passed
// over, each item on its own, and an unloaded Napplst.dat is left as it is.
void TfrmMain::endSession() { SaveSettings(false); }

void TfrmMain::closeWindow() { close(); }

std::uintptr_t TfrmMain::hostHandle() const { return handle(); }

void TfrmMain::Label16Click() {
    platform::ignore(os.shellExecute(handle(), "Open", std::string("mailto:") + app::kMailAddress, "", "", 1),
                     "a mail link that will not open does nothing visible");
}
