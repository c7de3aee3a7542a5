// The handlers of the autostart page: the list is a working copy of the
// keys, edited here and written back by "应用".
#include "autostart/entries.h"
#include "autostart/page.h"
#include "base/text.h"
#include "platform/registry.h"

namespace autostart {

namespace {

// A row's cells: the caption is the name; the sub-items past the location
// have no column and are never shown.
constexpr int kLocation = 0, kSource = 1, kType = 2;
const char* const kExpandable = "RegType::ExpandString";

void appendRow(ui::TListView& list, const Entry& e) {
    const int row = list.addItem(e.name);
    list.setSubItem(row, kLocation, e.location);
    list.setSubItem(row, kSource, e.source);
    list.setSubItem(row, kType, e.expandable ? kExpandable : "");
}

std::vector<Entry> rowsOf(const ui::TListView& list) {
    std::vector<Entry> rows;
    for (int i = 0; i < list.count(); ++i)
        rows.push_back({list.itemCaption(i), list.subItem(i, kLocation), list.subItem(i, kSource),
                        list.subItem(i, kType) == kExpandable});
    return rows;
}

}  // namespace

// The two checks of "新建" and "更改", in this order; a field left blank is
// pointed out and given the focus.
bool AutostartPage::takeEntry(std::string& name, std::string& location) {
    name = base::trim(Edit5.text());
    if (name.empty()) {
        Application.messageBox("请输入程序名称", "提示", ui::mb::Ok);
        Edit5.setFocus();
        return false;
    }
    location = base::trim(Edit6.text());
    if (location.empty()) {
        Application.messageBox("请输入程序位置", "提示", ui::mb::Ok);
        Edit6.setFocus();
        return false;
    }
    return true;
}

// A value of another type is not listed, and so never touched by "应用";
// the user is told of it once the list is whole, which also lets start-up go
// on to the pages after this one.
void AutostartPage::FillAutostartList() {
    ListView1.clear();
    filled = {};
    std::string wrongTypes;
    for (std::size_t k = 0; k < AutostartKeys.size(); ++k) {
        const AutostartKey& key = AutostartKeys[k];
        ListAutoRun.clear();
        platform::Registry reg(os, platform::RootKey::LocalMachine);
        const platform::Status opened = reg.openKey(key.path, false);
        bool whole = opened.ok();
        if (whole) {
            std::vector<std::string> names;
            whole = reg.getValueNames(names).ok();
            ListAutoRun.setItems(names);
        } else if (opened.code() == platform::Error::FileNotFound) {
            whole = true;  // nothing in it to lose
        }
        for (int i = 0; i < ListAutoRun.count(); ++i) {
            const std::string name = ListAutoRun.item(i);
            Entry row;
            switch (readEntry(reg, name, key.source, row)) {
                case Reading::Row:
                    appendRow(ListView1, row);
                    filled.names[k].push_back(name);
                    break;
                case Reading::WrongType:
                    if (!wrongTypes.empty()) wrongTypes += "\r\n";
                    wrongTypes += platform::RegistryError::badTypeText(name);
                    break;
                case Reading::Unreadable: whole = false; break;
                case Reading::Skipped: break;
            }
        }
        if (whole) filled.whole |= keyBit(k);
    }
    if (!wrongTypes.empty()) Application.showErrorText(wrongTypes);
}

void AutostartPage::ApplyAutostartList() { applyEntries(os, rowsOf(ListView1), filled); }

void AutostartPage::ListView1Click() {
    const int row = ListView1.itemIndex();
    if (row < 0) return;
    Edit5.setText(ListView1.itemCaption(row));
    Edit6.setText(ListView1.subItem(row, kLocation));
}

void AutostartPage::Button18Click() {
    std::string name, location;
    if (takeEntry(name, location))
        appendRow(ListView1, {name, location, kNewEntrySource});
}

void AutostartPage::Button19Click() {
    const int row = ListView1.itemIndex();
    if (row >= 0) ListView1.deleteItem(row);
}

// The row keeps its source; a new location is a plain string.
void AutostartPage::Button21Click() {
    const int row = ListView1.itemIndex();
    std::string name, location;
    if (row < 0 || !takeEntry(name, location)) return;
    if (location != ListView1.subItem(row, kLocation)) ListView1.setSubItem(row, kType, "");
    ListView1.setItemCaption(row, name);
    ListView1.setSubItem(row, kLocation, location);
}

void AutostartPage::Button20Click() {
    const std::string* program = host.chooseProgram("添加自启动程序");
    if (!program) return;
    Edit6.setText(*program);
    if (Edit5.text().empty()) Edit5.setText(base::fileNamePart(*program));
}

void AutostartPage::Button14Click() {
    ListView1.clear();
    FillAutostartList();
}

void AutostartPage::Button17Click() { ApplyAutostartList(); }

}  // namespace autostart
