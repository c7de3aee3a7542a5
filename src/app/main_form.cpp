#include "app/main_form.h"

#include "app/frame_ids.h"
#include "app/startup.h"
#include "base/text.h"
#include "common/page_look.h"
#include "platform/registry.h"
#include "ui/messages.h"

namespace {
namespace ids = app::ids;
const char* const kCaption = "Morvane进程管理器";
constexpr int kClientWidth = 375, kClientHeight = 382;
}  // namespace

TfrmMain* frmMain = nullptr;

TfrmMain::Host::Host(TfrmMain& form, ui::TApplication& application, platform::Os& platform)
    : common::PageHost(application, platform), form_(form) {}

void TfrmMain::Host::closeWindow() { form_.close(); }
void TfrmMain::Host::hideToNotificationArea() { form_.hideToNotificationArea(); }
void TfrmMain::Host::loopClearSwitched(bool on) { form_.N1.checked = on; }
void TfrmMain::Host::passwordGate(bool up) { form_.N1.enabled = !up; }
void TfrmMain::Host::loopIntervalSet(int seconds) { form_.restriction.setInterval(seconds); }
// The allow list starts as every program the first whole listing found.
void TfrmMain::Host::processesListed() {
    form_.restriction.fillAllowList(app::programNames(form_.process.PageSnapshot));
}
std::uintptr_t TfrmMain::Host::hostHandle() const { return form_.handle(); }

TfrmMain::TfrmMain(ui::TApplication& application, platform::Os& platform)
    : ui::TForm(application, "TfrmMain"),
      Application(application),
      os(platform),
      pageHost(*this, application, platform),
      Panel1(*this, ids::Panel1),
      Image3(Panel1, ids::Image3),
      PageControl1(*this, ids::PageControl1),
      process(pageHost, PageControl1),
      window(pageHost, PageControl1),
      restriction(pageHost, PageControl1, *this),
      autostart(pageHost, PageControl1),
      programSettings(pageHost, PageControl1, passwordPanel),
      about(pageHost, PageControl1),
      passwordPanel(pageHost, *this),
      Bevel7(*this, ids::Bevel7),
      TrayRetry(*this, ids::TrayRetryTimer),
      ApplicationEvents1(application),
      ImageList1(application, "MENUIMAGES", 16, 16, 0xFF00FF),
      PopupMenu1(*this),
      N1(PopupMenu1, ids::N1, "循环清除", 6),
      N2(PopupMenu1, ids::N2, "-"),
      N3(PopupMenu1, ids::N3, "重新登录", 3),
      N4(PopupMenu1, ids::N4, "重新启动", 2),
      N5(PopupMenu1, ids::N5, "关闭系统", 4),
      N6(PopupMenu1, ids::N6, "-"),
      N8(PopupMenu1, ids::N8, "还    原", 0),
      N7(PopupMenu1, ids::N7, common::kExitCaption, 5),
      XPMenu1(*this) {
    frmMain = this;

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
    Panel1.setBevel(ui::TBevelCut::Lowered);
    Image3.setPicture("BANNER");
    Image3.setStretch(true);
    Image3.setFramed(true);

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
    passwordPanel.cover(4, 60, 367, 318);
}

void TfrmMain::wireEvents() {
    OnCreate = ui::handler<&TfrmMain::FormCreate>(this);
    OnPaint = ui::handler<&TfrmMain::FormPaint>(this);
    OnClose = ui::handler<&TfrmMain::FormClose>(this);
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
    const platform::Result<std::string> exe = os.exePath();
    platform::ignore(exe.status(), "empty when the system cannot tell: the lists then go beside the "
                                   "current folder");
    pageHost.AppDir = base::dirPart(*exe);
    // Each step runs through the guard, so it runs even when one before it
    // failed, that error shown: a settings value that cannot be read must
    // not leave NT taken for 9x, or the lists empty (an empty allow list
    // ends every program).
    Application.guard([this] { LoadSettings(); });
    Application.guard([this] { autostart.FillAutostartList(); });
    Application.guard([this] { detectFamily(); });
    if (TakeReadAhead) {
        TakeReadAhead(pageHost.ModuleNames);
        TakeReadAhead = nullptr;
    }
    // A listing that fails leaves the allow list to the next whole one.
    Application.guard([this] { process.RefreshProcessList(); });
    Application.guard([this] { window.RefreshWindowList(); });
}

void TfrmMain::detectFamily() {
    DetectWindowsVersion();
    process.applyFamilyRules();
}

void TfrmMain::DetectWindowsVersion() {
    pageHost.IsWindowsNT = false;
    pageHost.IsWindowsNT = app::isNtPlatform(os);
}

void TfrmMain::FormPaint() {
    if (!pageHost.StartMinimized) return;
    hide();
    AddTrayIcon();
    pageHost.StartMinimized = false;
}

namespace {
const char* const kSettingsUnsaved = "设置未能保存。是否不保存而直接退出？";
const char* const kListUnsaved = "正常程序列表未能保存。是否不保存而直接退出？";
const char* const kBothUnsaved = "设置和正常程序列表未能保存。是否不保存而直接退出？";
}  // namespace

// A failed save stops the close; but a program run from a read-only folder
// could then never be closed, so the user is asked whether to leave anyway.
void TfrmMain::FormClose() {
    const SaveFailures failed = SaveSettings();
    if (!failed.interval.empty() || !failed.list.empty()) {
        for (const std::string* text : {&failed.interval, &failed.list})
            if (!text->empty()) Application.showErrorText(*text);
        const char* question = failed.list.empty()       ? kSettingsUnsaved
                               : failed.interval.empty() ? kListUnsaved
                                                         : kBothUnsaved;
        if (Application.messageBox(question, "确认", ui::mb::YesNo | ui::mb::IconQuestion) != ui::answer::Yes)
            throw ui::EAbort();
    }
    Application.terminate();
}

// No box can be answered while the session ends: what fails is passed
// over, each item on its own, and an unloaded Napplst.dat is left as it is.
void TfrmMain::endSession() { SaveSettings(false); }
