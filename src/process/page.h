// The process page and the normal-program settings page: their controls,
// built with texts, hints and places, and their handlers. The window
// holds one of each.
#pragma once
#include <cstdint>
#include <string>

#include "common/page_host.h"
#include "common/process_record.h"
#include "ui/controls.h"

namespace process {

class NormalProgramPage;

// Page "进程列表".
class ProcessPage : public common::Page {
public:
    // The normal list the page marks and adds to sits on another page of
    // this folder, built later: it is only kept here, not touched.
    ProcessPage(common::PageHost& host, ui::TPageControl& pages, NormalProgramPage& normalPage);

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

    // The process records behind the lines of List1 and ChkList1.
    common::ProcessSnapshot PageSnapshot;

    void RefreshProcessList();
    std::int32_t KillTask(const std::string& exeName);
    std::int32_t KillTaskA(std::int32_t index);
    void BtnRefreshClick();
    void BtnSaveClick();
    void RadioGroup1Click();
    void List1Click();
    void ChkList1Click();
    void BtnKillClick();
    void BtnDelAppClick();
    void BtnNormalAppShowClick();
    void BtnAddNormalAppListClick();
    void BtnExitClick();
    // Once the family is known: on the NT family no program file is deleted.
    void applyFamilyRules() {
        if (host.IsWindowsNT) BtnDelApp.setEnabled(false);
    }

private:
    NormalProgramPage& normalPage_;
    bool multipleMode() const;
    // One path deleted within the bound; the user is told when it stays.
    void deleteFileOf(const std::string& path);
    void deleteChosenFile();
};

// Page "程序设置" > "正常程序设置".
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

// The normal-program list file beside the executable, for the settings
// store: read at start-up, written at close.
// Fills listApp from appDir + "Napplst.dat". A missing file is no error and
// leaves the list as it is; an unreadable one raises platform::OsError and leaves
// it as it is too.
void loadNormalAppList(platform::Os& os, const std::string& appDir, ui::TListBox& listApp);
// Writes every entry with CR LF, an empty list as an empty file.
void saveNormalAppList(platform::Os& os, const std::string& appDir, const ui::TListBox& listApp);

}  // namespace process
