// The main window: it holds its pages (each whole in the folder that owns
// it, handlers included), and keeps what is its own: the banner, the page
// controls, the non-visual components, start-up, the settings store, close,
// and the notification icon with its menu.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "about/page.h"
#include "autostart/page.h"
#include "common/listing.h"
#include "common/page_host.h"
#include "menulook/xpmenu.h"
#include "platform/os.h"
#include "process/page.h"
#include "restriction/page.h"
#include "settings/page.h"
#include "ui/application.h"
#include "ui/controls.h"
#include "ui/dialogs.h"
#include "ui/menus.h"
#include "window/page.h"

// The window holds its pages in creation order: the banner holds the page
// control the pages sit in, and the password panel lies above them all.
class TfrmMain : public ui::TForm {
public:
    TfrmMain(ui::TApplication& application, platform::Os& platform);
    ~TfrmMain() override;

    // What the pages ask of the window, answered by it.
    class Host final : public common::PageHost {
    public:
        Host(TfrmMain& form, ui::TApplication& application, platform::Os& platform);
        void closeWindow() override;
        void hideToNotificationArea() override;
        void loopClearSwitched(bool on) override;
        void passwordGate(bool up) override;
        void loopIntervalSet(int seconds) override;
        void processesListed() override;
        std::uintptr_t hostHandle() const override;

    private:
        TfrmMain& form_;
    };

    ui::TApplication& Application;
    platform::Os& os;
    Host pageHost;

    // --- The banner and the page control every page sits in.
    ui::TPanel Panel1;
    ui::TImage Image3;
    ui::TPageControl PageControl1;

    // --- The pages, in tab order.
    process::ProcessPage process;
    window::WindowPage window;
    restriction::RestrictPage restriction;
    autostart::AutostartPage autostart;
    settings::ProgramSettings programSettings;
    about::AboutPage about;
    settings::PasswordPanel passwordPanel;

    // Lowest in the stacking order, so it frames without covering.
    ui::TBevel Bevel7;

    // --- Non-visual components (the file dialogs are the page host's).
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

    // --- Settings store: the pages that show settings load and save them.
    void LoadSettings();
    // The closing save, each page on its own; what failed comes back as the
    // text of its error (empty when saved), for the caller to show. Without
    // mayAsk it asks nothing.
    struct SaveFailures {
        std::string interval, list;
    };
    SaveFailures SaveSettings(bool mayAsk = true);

private:
    void endSession();
    void detectFamily();
    // Hidden into the notification area by us (not merely without an icon).
    bool inNotificationArea_ = false;
    int trayRetriesLeft_ = 0;
    void retryTrayIcon();
    // Out of the notification area: icon gone, window shown, in front, restored.
    void comeBack();
    void hideToNotificationArea();
    void setUpComponents();
    void layOutFrame();
    void wireEvents();
};

// The one main window, set before FormCreate runs.
extern TfrmMain* frmMain;
