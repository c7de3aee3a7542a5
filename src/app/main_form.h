// The main window, made of its pages in tab order (each page whole in the
// folder that owns it, handlers included), its non-visual components, and
// the handlers of the parts app owns: start-up, close, settings, password,
// notification icon.
#pragma once
#include <cstdint>
#include <exception>
#include <functional>
#include <string>

#include "app/frame.h"
#include "autostart/page.h"
#include "common/listing.h"
#include "common/page_host.h"
#include "common/program.h"
#include "menulook/xpmenu.h"
#include "platform/os.h"
#include "process/page.h"
#include "restriction/page.h"
#include "ui/application.h"
#include "ui/controls.h"
#include "ui/dialogs.h"
#include "ui/menus.h"
#include "window/page.h"

// The bases come in creation order: the banner holds the page control the
// pages after it sit in, and the password panel lies above them all.
class TfrmMain : public ui::TForm,
                 public app::Banner,
                 public process::ProcessPage,
                 public window::WindowPage,
                 public restriction::RestrictPage,
                 public autostart::AutostartPage,
                 public app::GeneralSettingsPage,
                 public process::NormalProgramPage,
                 public app::PasswordSettingsPage,
                 public app::AboutPage,
                 public app::PasswordPanel {
public:
    TfrmMain(ui::TApplication& application, platform::Os& platform);
    ~TfrmMain() override;

    // Lowest in the stacking order, so it frames without covering.
    ui::TBevel Bevel7;

    // --- Non-visual components (the file dialogs are the pages' own).
    // Adds the notification icon again while the shell is not ready for it.
    ui::TTimer TrayRetry;
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
    // Draws the menu and repaints the window's buttons, fields and boxes flat.
    menulook::TXPMenu XPMenu1;

    // Set by the entry point to hand over the names it read on another thread
    // while the window was being built; the first listing starts from them.
    std::function<void(common::ModuleNameCache&)> TakeReadAhead;

    // --- Start-up, paint, close.
    void FormCreate();
    void FormPaint();
    void FormClose();
    void DetectWindowsVersion();
    void Label16Click();

    // --- Notification icon and its menu.
    static constexpr std::uint32_t WM_TRAYICON = 0x0464;  // WM_USER + 100
    void AddTrayIcon();
    void RemoveTrayIcon();
    bool WMTrayIcon(ui::TMessage& msg);
    void ApplicationEvents1Minimize();
    void N1Click();
    void N3Click();
    void N4Click();
    void N5Click();
    void N8Click();
    void N7Click();

    // --- Settings store and password.
    void LoadSettings();
    // The closing save, each item on its own; what failed comes back, each
    // error apart, for the caller to show. Without mayAsk it asks nothing
    // and never replaces a Napplst.dat that start-up did not load.
    struct SaveFailures {
        std::exception_ptr interval, list;
    };
    SaveFailures SaveSettings(bool mayAsk = true);
    void ChkRunByPassClick();
    void ChkMinClick();
    void ChkAutoRunClick();
    void BitBtn1Click();
    void BitBtn2Click();
    void Button5Click();
    void Button13Click();
    void Edit2KeyPress(char& key);
    void Edit3KeyPress(char& key);
    void Button12Click();

    // --- Interval of the loop clear, on "通用设置".
    void UpDown1Click();
    void Edit4KeyPress(char& key);
    // The Delete key and the edit commands change a text without a typed
    // character; this keeps Edit4 to what the arrows write.
    ui::THookRegistration Edit4Guard;

    // --- What the pages ask of the window.
    void closeWindow() override;
    void hideToNotificationArea() override;
    void loopClearSwitched(bool on) override;
    std::uintptr_t hostHandle() const override;

private:
    // Napplst.dat was read whole at start-up (or was missing), or the list
    // has been saved over it since.
    bool normalListLoaded_ = false;
    // The interval's position when start-up could not read KillTime; 0
    // once it was read.
    int intervalNotRead_ = 0;
    void saveInterval();
    void saveNormalList(bool mayAsk);
    void endSession();
    // One step of start-up; a failure is shown and start-up goes on.
    void startUpStep(void (TfrmMain::*step)());
    void detectFamily();
    // Hidden into the notification area by us (not merely without an icon).
    bool inNotificationArea_ = false;
    int trayRetriesLeft_ = 0;
    void retryTrayIcon();
    // Out of the notification area: icon gone, window shown, in front, restored.
    void comeBack();
    // The form alone: a part built from *this would take it for a copy.
    ui::TForm& asForm() { return *this; }
    void setUpComponents();
    void layOutFrame();
    void wireEvents();
};

// The one main window, set before FormCreate runs.
extern TfrmMain* frmMain;
