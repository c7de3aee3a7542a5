#include "settings/page.h"

#include "common/page_look.h"
#include "settings/ids.h"
#include "ui/messages.h"

namespace settings {

GeneralSettingsPage::GeneralSettingsPage(common::PageHost& pageHost, ui::TPageControl& settingsPages,
                                         PasswordSettingsPage& passwordPage, PasswordPanel& passwordPanel)
    : common::Page(pageHost),
      TabSheet7(settingsPages, ids::TabSheet7, "通用设置"),
      GroupBox2(TabSheet7, ids::GroupBox2),
      ChkAutoRun(GroupBox2, ids::ChkAutoRun, "启动Windows时自动加载"),
      ChkMin(GroupBox2, ids::ChkMin, "程序启动时自动最小化"),
      ChkRunByPass(GroupBox2, ids::ChkRunByPass, "运行本程序需输入密码"),
      Button5(GroupBox2, ids::Button5, "密码设置"),
      Label10(GroupBox2, ids::Label10, "循环清除检测时间："),
      Edit4(GroupBox2, ids::Edit4, "1"),
      UpDown1(GroupBox2, ids::UpDown1),
      Label3(GroupBox2, ids::Label3, "秒"),
      pages_(settingsPages),
      passwordPage_(passwordPage),
      passwordPanel_(passwordPanel) {
    UpDown1.setAssociate(Edit4);
    UpDown1.setRange(1, 30);
    UpDown1.setPosition(1);

    GroupBox2.setBounds(8, 6, 325, 150);
    ChkAutoRun.setBounds(16, 18, 280, 20);
    ChkMin.setBounds(16, 46, 280, 20);
    ChkRunByPass.setBounds(16, 74, 176, 20);
    Button5.setBounds(204, 72, 80, 24);
    Label10.setBounds(16, 114, 110, 16);
    Edit4.setBounds(128, 110, 52, 22);
    // Once more, now that the field has its place: the arrows sit beside it.
    UpDown1.setAssociate(Edit4);
    Label3.setBounds(186, 114, 20, 16);

    ChkRunByPass.OnClick = ui::handler<&GeneralSettingsPage::ChkRunByPassClick>(this);
    ChkMin.OnClick = ui::handler<&GeneralSettingsPage::ChkMinClick>(this);
    ChkAutoRun.OnClick = ui::handler<&GeneralSettingsPage::ChkAutoRunClick>(this);
    Button5.OnClick = ui::handler<&GeneralSettingsPage::Button5Click>(this);
    UpDown1.OnClick = ui::handler<&GeneralSettingsPage::UpDown1Click>(this);
    Edit4.OnKeyPress = [this](char& key) { Edit4KeyPress(key); };
    Edit4Guard = Edit4.installHook([](ui::TMessage& m, const ui::TMessageNext& next) {
        namespace wm = ui::wm;
        const bool changesText = m.msg == wm::Cut || m.msg == wm::Paste || m.msg == wm::Clear ||
                                 m.msg == wm::Undo || m.msg == wm::EmUndo ||
                                 (m.msg == wm::KeyDown && m.wParam == wm::VkDelete);
        if (!changesText) next(m);
    });
}

NormalProgramPage::NormalProgramPage(common::PageHost& pageHost, ui::TPageControl& settingsPages)
    : common::Page(pageHost),
      TabSheet8(settingsPages, ids::TabSheet8, "正常程序设置"),
      GroupBox1(TabSheet8, ids::GroupBox1, "正常程序列表"),
      ListApp(GroupBox1, ids::ListApp),
      BtnSaveAppList(TabSheet8, ids::BtnSaveAppList, "另存列表"),
      BtnOpenAppList(TabSheet8, ids::BtnOpenAppList, "载入列表"),
      BtnAdd(TabSheet8, ids::BtnAdd, "添    加"),
      BtnDel(TabSheet8, ids::BtnDel, "删    除"),
      BtnClear(TabSheet8, ids::BtnClear, "清空列表") {
    host.NormalPrograms = &ListApp;
    GroupBox1.setBounds(8, 6, 228, 236);
    ListApp.setBounds(8, 18, 212, 210);
    common::stackButtons({&BtnSaveAppList, &BtnOpenAppList, &BtnAdd, &BtnDel, &BtnClear}, 244, 12);

    BtnAdd.OnClick = ui::handler<&NormalProgramPage::BtnAddClick>(this);
    ListApp.OnClick = ui::handler<&NormalProgramPage::ListAppClick>(this);
    BtnDel.OnClick = ui::handler<&NormalProgramPage::BtnDelClick>(this);
    BtnClear.OnClick = ui::handler<&NormalProgramPage::BtnClearClick>(this);
    BtnSaveAppList.OnClick = ui::handler<&NormalProgramPage::BtnSaveAppListClick>(this);
    BtnOpenAppList.OnClick = ui::handler<&NormalProgramPage::BtnOpenAppListClick>(this);
}

PasswordSettingsPage::PasswordSettingsPage(common::PageHost& pageHost, ui::TPageControl& settingsPages,
                                           ui::TTabSheet& generalTab)
    : common::Page(pageHost),
      TabSheet9(settingsPages, ids::TabSheet9, "密码设置"),
      GroupBox4(TabSheet9, ids::GroupBox4),
      Label8(GroupBox4, ids::Label8, "请输入密码："),
      Edit2(GroupBox4, ids::Edit2),
      Label9(GroupBox4, ids::Label9, "请再输入密码："),
      Edit3(GroupBox4, ids::Edit3),
      Button12(GroupBox4, ids::Button12, "确认"),
      Button13(GroupBox4, ids::Button13, "返回"),
      pages_(settingsPages),
      generalTab_(generalTab) {
    Edit2.setPasswordChar('*');
    Edit3.setPasswordChar('*');

    GroupBox4.setBounds(8, 6, 325, 150);
    Label8.setBounds(24, 32, 100, 16);
    Edit2.setBounds(130, 28, 170, 22);
    Label9.setBounds(24, 64, 100, 16);
    Edit3.setBounds(130, 60, 170, 22);
    Button12.setBounds(130, 102, 80, 26);
    Button13.setBounds(220, 102, 80, 26);

    Button13.OnClick = ui::handler<&PasswordSettingsPage::Button13Click>(this);
    Edit2.OnKeyPress = [this](char& key) { Edit2KeyPress(key); };
    Edit3.OnKeyPress = [this](char& key) { Edit3KeyPress(key); };
    Button12.OnClick = ui::handler<&PasswordSettingsPage::Button12Click>(this);
}

PasswordPanel::PasswordPanel(common::PageHost& pageHost, ui::TForm& form)
    : common::Page(pageHost),
      Panel2(form, ids::Panel2),
      Image2(Panel2, ids::Image2),
      Label5(Panel2, ids::Label5, "欢迎使用！请输入运行密码。"),
      Label6(Panel2, ids::Label6, "如果密码为空，请直接单击确定。"),
      Label7(Panel2, ids::Label7, "密码："),
      Edit1(Panel2, ids::Edit1),
      BitBtn1(Panel2, ids::BitBtn1, "确定"),
      BitBtn2(Panel2, ids::BitBtn2, "退出") {
    Panel2.setBevel(ui::TBevelCut::Lowered);
    Panel2.hide();
    Image2.setPicture("PASSPIC");
    Image2.setStretch(true);
    for (ui::TLabel* l : {&Label5, &Label6, &Label7}) l->setFontHeight(14);
    Edit1.setFontHeight(16);
    Edit1.setPasswordChar('*');
    BitBtn1.setGlyph("OKGLYPH");
    BitBtn1.setDefault(true);
    BitBtn2.setGlyph("NOGLYPH");
    BitBtn2.setCancel(true);

    Image2.setBounds(8, 8, 345, 70);
    Label5.setBounds(40, 98, 300, 18);
    Label6.setBounds(40, 124, 300, 18);
    Label7.setBounds(40, 164, 50, 18);
    Edit1.setBounds(92, 159, 200, 26);
    BitBtn1.setBounds(92, 206, 92, 30);
    BitBtn2.setBounds(200, 206, 92, 30);

    BitBtn1.OnClick = ui::handler<&PasswordPanel::BitBtn1Click>(this);
    BitBtn2.OnClick = ui::handler<&PasswordPanel::BitBtn2Click>(this);
    // While the panel is up, no key reaches the pages beneath it.
    form.holdKeyboard(&Panel2, &Edit1);
}

}  // namespace settings
