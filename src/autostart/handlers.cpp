// The autostart page of TfrmMain: the list is a working copy of the keys,
// edited here and written back by "应用".
#include "app/main_form.h"
#include "autostart/entries.h"
#include "base/text.h"
#include "platform/registry.h"

namespace {

using autostart::Entry;

// A row's cells: the caption is the name; the sub-items past the location
// have no column and are never shown.
constexpr int kLocation = 0, kSource = 1, kType = 2;
const char* const kExpandable = "REG_EXPAND_SZ";

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

// The two checks of "新建" and "更改", in this order; a field left blank is
// pointed out and given the focus.
bool takeEntry(TfrmMain& f, std::string& name, std::string& location) {
    name = base::trim(f.Edit5.text());
    if (name.empty()) {
        f.Application.messageBox("请输入程序名称", "提示", ui::mb::Ok);
        f.Edit5.setFocus();
        return false;
    }
    location = base::trim(f.Edit6.text());
    if (location.empty()) {
        f.Application.messageBox("请输入程序位置", "提示", ui::mb::Ok);
        f.Edit6.setFocus();
        return false;
    }
    return true;
}

}  // namespace

// A value of another type is not listed, and so never touched by "应用";
// the user is told of it once the list is whole, which also lets start-up go
// on to the pages after this one.
void TfrmMain::FillAutostartList() {
    ListView1.clear();
    filled = {};
    std::string wrongTypes;
    for (std::size_t k = 0; k < autostart::AutostartKeys.size(); ++k) {
        const autostart::AutostartKey& key = autostart::AutostartKeys[k];
        ListAutoRun.clear();
        platform::Registry reg(os, os::HKEY_LOCAL_MACHINE);
        bool whole = reg.openKey(key.path, false);
        if (whole) {
            ListAutoRun.setItems(reg.getValueNames());
            whole = reg.lastError() == os::ERROR_SUCCESS;
        } else if (reg.lastError() == os::ERROR_FILE_NOT_FOUND) {
            whole = true;  // nothing in it to lose
        }
        for (int i = 0; i < ListAutoRun.count(); ++i) {
            const std::string name = ListAutoRun.item(i);
            Entry row;
            switch (autostart::readEntry(reg, name, key.source, row)) {
                case autostart::Reading::Row:
                    appendRow(ListView1, row);
                    filled.names[k].push_back(name);
                    break;
                case autostart::Reading::WrongType:
                    if (!wrongTypes.empty()) wrongTypes += "\r\n";
                    wrongTypes += platform::RegistryError::badType(name).what();
                    break;
                case autostart::Reading::Unreadable: whole = false; break;
                case autostart::Reading::Skipped: break;
            }
        }
        if (whole) filled.whole |= autostart::keyBit(k);
    }
    if (!wrongTypes.empty()) Application.showException(platform::RegistryError(wrongTypes));
}

void TfrmMain::ApplyAutostartList() { autostart::applyEntries(os, rowsOf(ListView1), filled); }

void TfrmMain::ListView1Click() {
    const int row = ListView1.itemIndex();
    if (row < 0) return;
    Edit5.setText(ListView1.itemCaption(row));
    Edit6.setText(ListView1.subItem(row, kLocation));
}

void TfrmMain::Button18Click() {
    std::string name, location;
    if (takeEntry(*this, name, location))
        appendRow(ListView1, {name, location, autostart::kNewEntrySource});
}

void TfrmMain::Button19Click() {
    const int row = ListView1.itemIndex();
    if (row >= 0) ListView1.deleteItem(row);
}

// The row keeps its source; a new location is a plain string.
void TfrmMain::Button21Click() {
    const int row = ListView1.itemIndex();
    std::string name, location;
    if (row < 0 || !takeEntry(*this, name, location)) return;
    if (location != ListView1.subItem(row, kLocation)) ListView1.setSubItem(row, kType, "");
    ListView1.setItemCaption(row, name);
    ListView1.setSubItem(row, kLocation, location);
}

void TfrmMain::Button20Click() {
    NormalAppSet.title = "添加自启动程序";
    if (!NormalAppSet.execute()) return;
    Edit6.setText(NormalAppSet.fileName);
    if (Edit5.text().empty()) Edit5.setText(base::fileNamePart(NormalAppSet.fileName));
}

void TfrmMain::Button14Click() {
    ListView1.clear();
    FillAutostartList();
}

void TfrmMain::Button17Click() { ApplyAutostartList(); }

namespace autostart {

void wire(TfrmMain& f) {
    f.ListView1.OnClick = [&f] { f.ListView1Click(); };
    f.Button18.OnClick = [&f] { f.Button18Click(); };
    f.Button19.OnClick = [&f] { f.Button19Click(); };
    f.Button21.OnClick = [&f] { f.Button21Click(); };
    f.Button20.OnClick = [&f] { f.Button20Click(); };
    f.Button14.OnClick = [&f] { f.Button14Click(); };
    f.Button17.OnClick = [&f] { f.Button17Click(); };
}

}  // namespace autostart
