// The process page: its controls, built with texts, hints and places, and
// its handlers.
#pragma once
#include <cstdint>
#include <string>

#include "common/page_host.h"
#include "common/process_record.h"
#include "ui/controls.h"

namespace process {

// Page "进程列表".
class ProcessPage : public common::Page {
public:
    ProcessPage(common::PageHost& host, ui::TPageControl& pages);

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
    bool multipleMode() const;
    // One path deleted within the bound; the user is told when it stays.
    void deleteFileOf(const std::string& path);
    void deleteChosenFile();
};

}  // namespace process
