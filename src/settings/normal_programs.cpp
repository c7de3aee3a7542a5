// The handlers of "程序设置" > "正常程序设置".
#include "common/list_file.h"
#include "common/lists.h"
#include "common/normal_list.h"
#include "settings/page.h"

namespace settings {

using namespace common;

void NormalProgramPage::BtnAddClick() {
    const std::string* program = host.chooseProgram(kAddDialogTitle);
    if (!program) return;
    if (auto entry = entryFromPath(*program, ListApp.items()))
        ListApp.add(*entry);
}

void NormalProgramPage::ListAppClick() {
    if (auto line = selectedLine(ListApp)) ListApp.setHint(*line);
}

void NormalProgramPage::BtnDelClick() { removeSelectedLine(ListApp); }

void NormalProgramPage::BtnClearClick() {
    if (confirmed(Application, kClearQuestion)) ListApp.clear();
}

void NormalProgramPage::BtnSaveAppListClick() { host.saveListAs(ListApp); }

void NormalProgramPage::BtnOpenAppListClick() {
    const std::string* file = host.chooseListFile();
    if (!file) return;
    // Read first: a file that cannot be read leaves the list as it was.
    ListApp.setItems(readChosenListFile(os, *file));
}

void NormalProgramPage::loadSettings() {
    // A missing file is no error and leaves the list as it is; so does an
    // unreadable one, which raises.
    if (auto entries = loadNormalList(os, host.AppDir)) ListApp.setItems(*entries);
    listLoaded_ = true;
}

void NormalProgramPage::saveSettings(bool mayAsk) {
    if (!listLoaded_) {
        // Start-up leaves the list empty when it did not load the file: an
        // empty one is unchanged, and the file is not even looked for.
        if (ListApp.count() == 0) return;
        if (normalListStored(os, host.AppDir) && (!mayAsk || !confirmed(Application, kUnloadedListQuestion)))
            return;
    }
    saveNormalList(os, host.AppDir, ListApp.items());
    listLoaded_ = true;
}

}  // namespace settings
