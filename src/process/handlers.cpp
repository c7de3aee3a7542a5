// The handlers of the process page: each reads its controls, applies the
// rule and writes the result back.
#include <algorithm>
#include <optional>

#include "common/kill.h"
#include "common/list_file.h"
#include "common/listing.h"
#include "common/lists.h"
#include "common/normal_list.h"
#include "process/delete.h"
#include "process/kill_plan.h"
#include "process/page.h"

namespace process {

namespace {

using common::confirmed;
using common::selectedLine;
using common::isNormalMarker;
using common::kNormalMarker;

std::vector<bool> checks(const ui::TCheckListBox& list) {
    std::vector<bool> out(static_cast<std::size_t>(std::max(0, list.count())));
    for (std::size_t i = 0; i < out.size(); ++i) out[i] = list.checked(static_cast<int>(i));
    return out;
}

// The clicked line becomes the hint so a long path can be read in full; a
// marker line cannot be added to the normal list again.
void showLine(ui::TListBox& list, ui::TButton& addButton) {
    const std::optional<std::string> line = selectedLine(list);
    if (!line) return;
    list.setHint(*line);
    addButton.setEnabled(!isNormalMarker(*line));
}

}  // namespace

// --- Snapshot and lists.

void ProcessPage::RefreshProcessList() {
    // setItems replaces every line, so checks, selection and markers go too.
    common::ProcessListing l = common::listProcesses(os, host.IsWindowsNT, &host.ModuleNames);
    PageSnapshot = std::move(l.snapshot);
    List1.setItems(l.lines);
    ChkList1.setItems(l.lines);
    Label1.setCaption(common::countText(static_cast<std::size_t>(List1.count())));
    host.processesListed();
}

// --- Ending processes.

std::int32_t ProcessPage::KillTask(const std::string& exeName) {
    return common::killByName(os, exeName);
}

std::int32_t ProcessPage::KillTaskA(std::int32_t index) {
    return common::killEntry(os, PageSnapshot, index);
}

void ProcessPage::BtnKillClick() {
    const KillPlan plan =
        multipleMode() ? planMultipleKill(ChkList1.items(), checks(ChkList1))
                            : planSingleKill(List1.itemIndex(), selectedLine(List1));
    // Every process is ended before the wait, against one snapshot: programs
    // that restart each other get no chance to do so.
    common::killEntries(os, PageSnapshot,
                         std::vector<std::size_t>(plan.lines.begin(), plan.lines.end()));
    if (!plan.refresh) return;
    host.Delay(plan.delayMs);
    RefreshProcessList();
}

// --- Process page.

bool ProcessPage::multipleMode() const { return RadioGroup1.itemIndex() == 1; }

void ProcessPage::BtnExitClick() { host.closeWindow(); }

void ProcessPage::BtnRefreshClick() { RefreshProcessList(); }

void ProcessPage::BtnSaveClick() { host.saveListAs(List1); }

// The list of the mode is shown first, so a refresh that raises never
// leaves "结束进程" reading the hidden one.
void ProcessPage::RadioGroup1Click() {
    ChkList1.setVisible(multipleMode());
    RefreshProcessList();
}

void ProcessPage::List1Click() { showLine(List1, BtnAddNormalAppList); }

void ProcessPage::ChkList1Click() { showLine(ChkList1, BtnAddNormalAppList); }

// --- Normal programs.

void ProcessPage::BtnNormalAppShowClick() {
    ui::TListBox& list = multipleMode() ? ChkList1 : List1;
    for (std::size_t i : common::linesToMark(list.items(), host.NormalPrograms->items()))
        list.setItem(static_cast<int>(i), kNormalMarker);
}

void ProcessPage::BtnAddNormalAppListClick() {
    ui::TListBox& list = multipleMode() ? ChkList1 : List1;
    ui::TListBox& listApp = *host.NormalPrograms;
    const common::AddFromLine r = common::addFromLine(selectedLine(list), listApp.items());
    if (r.outcome == common::AddFromLine::AlreadyListed) {
        Application.messageBox(common::kAlreadyListedText, common::kAlreadyListedCaption,
                               ui::mb::Ok);
    } else if (r.outcome == common::AddFromLine::Added) {
        listApp.add(r.entry);
        list.setItem(list.itemIndex(), kNormalMarker);
    }
}

// --- Deleting program files.

// Each file on its own: one whose deletion fails is shown, and the next one
// checked is still deleted.
void ProcessPage::deleteFileOf(const std::string& path) {
    bool gone = true;
    Application.guard([&] { gone = deleteProgramFile(os, path, [this](std::int32_t ms) { host.Delay(ms); }); });
    if (gone) return;
    Application.messageBox("无法删除文件：" + path, "提示", ui::mb::Ok | ui::mb::IconWarning);
}

void ProcessPage::deleteChosenFile() {
    const std::string* program = host.chooseProgram(kDeleteDialogTitle);
    if (!program) return;
    if (!confirmed(Application, kDeleteQuestion)) return;
    deleteFileOf(*program);
    host.Delay(300);
    RefreshProcessList();
}

void ProcessPage::BtnDelAppClick() {
    if (!multipleMode()) {
        const std::optional<std::string> line = selectedLine(List1);
        if (!line) return deleteChosenFile();
        if (isNormalMarker(*line)) return;
        if (!confirmed(Application, kDeleteQuestion)) return;
        deleteFileOf(*line);
        host.Delay(300);
        RefreshProcessList();
        return;
    }
    const std::vector<std::string> lines = ChkList1.items();
    const std::vector<bool> ticked = checks(ChkList1);
    if (std::find(ticked.begin(), ticked.end(), true) == ticked.end()) return deleteChosenFile();
    if (!confirmed(Application, kDeleteQuestion)) return;
    std::int32_t handled = 0;
    for (std::size_t i = 0; i < lines.size() && i < ticked.size(); ++i) {
        if (!ticked[i] || isNormalMarker(lines[i])) continue;
        ++handled;
        deleteFileOf(lines[i]);
    }
    host.Delay(150 * handled);
    RefreshProcessList();
}

}  // namespace process
