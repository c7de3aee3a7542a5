// The start-up password panel and the page that sets the password.
#include "settings/page.h"
#include "settings/store.h"

namespace settings {

namespace {
const char* const kWrongText = "密码错误，请重新输入！";
const char* const kWrongCaption = "密码错误";
const char* const kMismatchText = "两次输入的密码不一致，请重新输入！";
const char* const kMismatchCaption = "提示";
const char* const kSetText = "密码设置成功！";
const char* const kSetCaption = "成功";
constexpr char kEnter = 13;
}  // namespace

void PasswordPanel::BitBtn1Click() {
    // Read at every press: the password is never kept in memory.
    if (Edit1.text() == readSetting(os, "Pass")) {
        lower();
        return;
    }
    Application.messageBox(kWrongText, kWrongCaption, ui::mb::Ok);
    Edit1.setText("");
    Edit1.setFocus();
}

// Leaves at once: the closing save is for a user who got past the panel.
void PasswordPanel::BitBtn2Click() { Application.terminate(); }

void PasswordSettingsPage::Button13Click() { pages_.setActivePage(generalTab_); }

void PasswordSettingsPage::Edit2KeyPress(char& key) {
    if (key == kEnter) Edit3.setFocus();
}

void PasswordSettingsPage::Edit3KeyPress(char& key) {
    if (key == kEnter) Button12.setFocus();
}

void PasswordSettingsPage::Button12Click() {
    const std::string password = Edit2.text();
    const bool same = password == Edit3.text();
    if (!same) Application.messageBox(kMismatchText, kMismatchCaption, ui::mb::Ok);
    Edit2.setText("");
    Edit3.setText("");
    if (!same) {
        Edit2.setFocus();
        return;
    }
    writeSetting(os, "Pass", password);
    Application.messageBox(kSetText, kSetCaption, ui::mb::Ok);
}

}  // namespace settings
