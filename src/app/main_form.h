// The main window, made of its pages in tab order (each built by the folder
// that owns it), its non-visual components, and the handlers every folder
// defines for its own pages.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "app/frame.h"
#include "autostart/page.h"
#include "common/process_record.h"
#include "common/program.h"
#include "menulook/xpmenu.h"
#include "platform/os.h"
#include "process/listing.h"
#include "process/pages.h"
#include "restrict/page.h"
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
    TfrmMain(ui::TApplication& application, os::Os& platform);
    ~TfrmMain() override;

    ui::TApplication& Application;
    os::Os& os;

    // Lowest in the stacking order, so it frames without covering.
    ui::TBevel Bevel7;

    // --- Non-visual components.
    ui::TSaveDialog SaveDialog1;
    ui::TOpenDialog OpenDialog1;
    ui::TOpenDialog NormalAppSet;
    ui::TTimer Timer1;
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

    // Two lists of process records, entry N behind line N of their list box.
    process::ProcessSnapshot PageSnapshot, LoopSnapshot;
    // The executable names both lists have already read, by process.
    process::ModuleNameCache ModuleNames;
    // Set by the entry point to hand over the names it read on another thread
    // while the window was being built; the first listing starts from them.
    std::function<void(process::ModuleNameCache&)> TakeReadAhead;

    // --- Start-up, paint, close.
    void FormCreate();
    void FormPaint();
    void FormClose();
    void DetectWindowsVersion();
    void BtnExitClick();
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

    // --- Window list page.
    void RefreshWindowList();
    void List2Click();
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button15Click();

    // --- Autostart page.
    void FillAutostartList();
    void ApplyAutostartList();
    void ListView1Click();
    void Button14Click();
    void Button17Click();
    void Button18Click();
    void Button19Click();
    void Button20Click();
    void Button21Click();

    // --- Settings store and password.
    void LoadSettings();
    void SaveSettings();
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
    // Writes a list box's lines, CR LF each, to a file the user names.
    void saveListAs(const ui::TListBox& list);
    void BtnKillClick();
    void BtnDelAppClick();
    void BtnNormalAppShowClick();
    void BtnAddNormalAppListClick();
    void BtnAddClick();
    void ListAppClick();
    void BtnDelClick();
    void BtnClearClick();
    void BtnSaveAppListClick();
    void BtnOpenAppListClick();

    // --- Restriction page and the loop clear.
    void RadioGroup2Click();
    void Button8Click();
    void Button9Click();
    void Button16Click();
    void Button10Click();
    void Button6Click();
    void Button7Click();
    void Timer1Timer();
    void SpeedButton1Click();
    void Button11Click();
    void UpDown1Click();
    void Edit4KeyPress(char& key);
    // The Delete key and the edit commands change a text without a typed
    // character; this keeps Edit4 to what the arrows write.
    ui::THookRegistration Edit4Guard;

private:
    // Set while a pass's error box is open: later passes run, but add no box.
    bool loopErrorShown_ = false;
    // Napplst.dat was read whole at start-up (or was missing), or the list
    // has been saved over it since.
    bool normalListLoaded_ = false;
    // The closing save; without mayAsk it shows nothing and never replaces
    // a Napplst.dat that start-up did not load.
    void saveSettings(bool mayAsk);
    void endSession();
    void loopClearPass();
    void switchLoopClear(bool on, const std::function<void()>& setMirror);
    // Hidden into the notification area by us (not merely without an icon).
    bool inNotificationArea_ = false;
    int trayRetriesLeft_ = 0;
    void retryTrayIcon();
    // One path deleted within the bound; the user is told when it stays.
    void deleteFileOf(const std::string& path);
    void deleteChosenFile();
    // Out of the notification area: icon gone, window shown, in front, restored.
    void comeBack();
    // The form alone: a part built from *this would take it for a copy.
    ui::TForm& asForm() { return *this; }
    void setUpComponents();
    void layOutFrame();
    void wireEvents();
};
