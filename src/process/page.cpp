// The process page and the normal-program settings page of TfrmMain: each
// handler reads its controls, applies the rule and writes the result back.
#include "process/page.h"

#include <algorithm>
#include <optional>

#include "app/main_form.h"
#include "common/lists.h"
#include "process/delay.h"
#include "process/delete.h"
#include "process/kill.h"
#include "process/listing.h"
#include "process/normal_list.h"

namespace process {

void loadNormalAppList(os::Os& os, const std::string& appDir, ui::TListBox& listApp) {
    if (auto entries = loadNormalList(os, appDir)) listApp.setItems(*entries);
}

void saveNormalAppList(os::Os& os, const std::string& appDir, const ui::TListBox& listApp) {
    saveNormalList(os, appDir, listApp.items());
}

}  // namespace process

namespace {

bool multipleMode(const TfrmMain& f) { return f.RadioGroup1.itemIndex() == 1; }

using page::confirmed;
using page::selectedLine;

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
    addButton.setEnabled(!process::isNormalMarker(*line));
}

}  // namespace

// --- Snapshot and lists.

void TfrmMain::RefreshProcessList() {
    // setItems replaces every line, so checks, selection and markers go too.
    process::ProcessListing l = process::listProcesses(os, IsWindowsNT, &ModuleNames);
    PageSnapshot = std::move(l.snapshot);
    List1.setItems(l.lines);
    ChkList1.setItems(l.lines);
    Label1.setCaption(process::countText(static_cast<std::size_t>(List1.count())));
}

void TfrmMain::RefreshHideList() {
    process::ProcessListing l = process::listHidden(os, IsWindowsNT, &ModuleNames);
    ListHide.setItems(l.lines);
    if (IsWindowsNT) LoopSnapshot = std::move(l.snapshot);
}

void TfrmMain::Delay(std::int32_t ms) {
    process::delay(
        os, ms, [this] { Application.processMessages(); },
        [this](std::uint32_t left) { Application.waitMessage(left); },
        [this] { return Application.terminated(); });
}

// --- Ending processes.

std::int32_t TfrmMain::KillTask(const std::string& exeName) {
    return process::killByName(os, exeName);
}

std::int32_t TfrmMain::KillTaskA(std::int32_t index) {
    return process::killEntry(os, PageSnapshot, index);
}

std::int32_t TfrmMain::KillTaskB(std::int32_t index) {
    return process::killEntry(os, LoopSnapshot, index);
}

void TfrmMain::BtnKillClick() {
    const process::KillPlan plan =
        multipleMode(*this) ? process::planMultipleKill(ChkList1.items(), checks(ChkList1))
                            : process::planSingleKill(List1.itemIndex(), selectedLine(List1));
    // Every process is ended before the wait, against one snapshot: programs
    // that restart each other get no chance to do so.
    process::killEntries(os, PageSnapshot,
                         std::vector<std::size_t>(plan.lines.begin(), plan.lines.end()));
    if (!plan.refresh) return;
    Delay(plan.delayMs);
    RefreshProcessList();
}

// --- Process page.

void TfrmMain::BtnRefreshClick() { RefreshProcessList(); }

void TfrmMain::saveListAs(const ui::TListBox& list) {
    if (!SaveDialog1.execute()) return;
    process::writeListFile(os, SaveDialog1.fileName, list.items());
}

void TfrmMain::BtnSaveClick() { saveListAs(List1); }

void TfrmMain::RadioGroup1Click() {
    RefreshProcessList();
    ChkList1.setVisible(multipleMode(*this));
}

void TfrmMain::List1Click() { showLine(List1, BtnAddNormalAppList); }

void TfrmMain::ChkList1Click() { showLine(ChkList1, BtnAddNormalAppList); }

// --- Normal programs.

void TfrmMain::BtnNormalAppShowClick() {
    ui::TListBox& list = multipleMode(*this) ? ChkList1 : List1;
    for (std::size_t i : process::linesToMark(list.items(), ListApp.items()))
        list.setItem(static_cast<int>(i), process::kNormalMarker);
}

void TfrmMain::BtnAddNormalAppListClick() {
    ui::TListBox& list = multipleMode(*this) ? ChkList1 : List1;
    const process::AddFromLine r = process::addFromLine(selectedLine(list), ListApp.items());
    if (r.outcome == process::AddFromLine::AlreadyListed) {
        Application.messageBox(process::kAlreadyListedText, process::kAlreadyListedCaption,
                               ui::mb::Ok);
    } else if (r.outcome == process::AddFromLine::Added) {
        ListApp.add(r.entry);
        list.setItem(list.itemIndex(), process::kNormalMarker);
    }
}

void TfrmMain::BtnAddClick() {
    NormalAppSet.title = process::kAddDialogTitle;
    if (!NormalAppSet.execute()) return;
    if (auto entry = process::entryFromPath(NormalAppSet.fileName, ListApp.items()))
        ListApp.add(*entry);
}

void TfrmMain::ListAppClick() {
    if (auto line = selectedLine(ListApp)) ListApp.setHint(*line);
}

void TfrmMain::BtnDelClick() { page::removeSelectedLine(ListApp); }

void TfrmMain::BtnClearClick() {
    if (confirmed(Application, process::kClearQuestion, process::kClearCaption)) ListApp.clear();
}

void TfrmMain::BtnSaveAppListClick() { saveListAs(ListApp); }

void TfrmMain::BtnOpenAppListClick() {
    if (!OpenDialog1.execute()) return;
    // Read first: a file that cannot be read leaves the list as it was.
    ListApp.setItems(process::readChosenListFile(os, OpenDialog1.fileName));
}

// --- Deleting program files.

void TfrmMain::deleteFileOf(const std::string& path) {
    if (process::deleteProgramFile(os, path, [this](std::int32_t ms) { Delay(ms); })) return;
    Application.messageBox("无法删除文件：" + path, "提示", ui::mb::Ok | ui::mb::IconWarning);
}

void TfrmMain::deleteChosenFile() {
    NormalAppSet.title = process::kDeleteDialogTitle;
    if (!NormalAppSet.execute()) return;
    if (!confirmed(Application, process::kDeleteQuestion, process::kDeleteCaption)) return;
    deleteFileOf(NormalAppSet.fileName);
    Delay(300);
    RefreshProcessList();
}

void TfrmMain::BtnDelAppClick() {
    if (!multipleMode(*this)) {
        const std::optional<std::string> line = selectedLine(List1);
        if (!line) return deleteChosenFile();
        if (process::isNormalMarker(*line)) return;
        if (!confirmed(Application, process::kDeleteQuestion, process::kDeleteCaption)) return;
        deleteFileOf(*line);
        Delay(300);
        RefreshProcessList();
        return;
    }
    const std::vector<std::string> lines = ChkList1.items();
    const std::vector<bool> ticked = checks(ChkList1);
    if (std::find(ticked.begin(), ticked.end(), true) == ticked.end()) return deleteChosenFile();
    if (!confirmed(Application, process::kDeleteQuestion, process::kDeleteCaption)) return;
    std::int32_t handled = 0;
    for (std::size_t i = 0; i < lines.size() && i < ticked.size(); ++i) {
        if (!ticked[i] || process::isNormalMarker(lines[i])) continue;
        ++handled;
        deleteFileOf(lines[i]);
    }
    Delay(150 * handled);
    RefreshProcessList();
}
