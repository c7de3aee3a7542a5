#include "app/frame.h"

#include "app/frame_ids.h"

namespace app {

const char* const kMailAddress = "morvane@example.com";

Banner::Banner(ui::TForm& form)
    : Panel1(form, ids::Panel1), Image3(Panel1, ids::Image3), PageControl1(form, ids::PageControl1) {
    Panel1.setBevel(ui::TBevelCut::Lowered);
    Image3.setPicture("BANNER");
    Image3.setStretch(true);
    Image3.setFramed(true);
}

GeneralSettingsPage::GeneralSettingsPage(ui::TPageControl& pages)
    : TabSheet5(pages, ids::TabSheet5, "程序设置"),
      PageControl2(TabSheet5, ids::PageControl2),
      TabSheet7(PageControl2, ids::TabSheet7, "通用设置"),
      GroupBox2(TabSheet7, ids::GroupBox2),
      ChkAutoRun(GroupBox2, ids::ChkAutoRun, "启动Windows时自动加载"),
      ChkMin(GroupBox2, ids::ChkMin, "程序启动时自动最小化"),
      ChkRunByPass(GroupBox2, ids::ChkRunByPass, "运行本程序需输入密码"),
      Button5(GroupBox2, ids::Button5, "密码设置"),
      Label10(GroupBox2, ids::Label10, "循环清除检测时间："),
      Edit4(GroupBox2, ids::Edit4, "1"),
      UpDown1(GroupBox2, ids::UpDown1),
      Label3(GroupBox2, ids::Label3, "秒") {
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
}

PasswordSettingsPage::PasswordSettingsPage(ui::TPageControl& settingsPages)
    : TabSheet9(settingsPages, ids::TabSheet9, "密码设置"),
      GroupBox4(TabSheet9, ids::GroupBox4),
      Label8(GroupBox4, ids::Label8, "请输入密码："),
      Edit2(GroupBox4, ids::Edit2),
      Label9(GroupBox4, ids::Label9, "请再输入密码："),
      Edit3(GroupBox4, ids::Edit3),
      Button12(GroupBox4, ids::Button12, "确认"),
      Button13(GroupBox4, ids::Button13, "返回") {
    Edit2.setPasswordChar('*');
    Edit3.setPasswordChar('*');

    GroupBox4.setBounds(8, 6, 325, 150);
    Label8.setBounds(24, 32, 100, 16);
    Edit2.setBounds(130, 28, 170, 22);
    Label9.setBounds(24, 64, 100, 16);
    Edit3.setBounds(130, 60, 170, 22);
    Button12.setBounds(130, 102, 80, 26);
    Button13.setBounds(220, 102, 80, 26);
}

AboutPage::AboutPage(ui::TPageControl& pages)
    : TabSheet6(pages, ids::TabSheet6, "关于我们"),
      Image1(TabSheet6, ids::Image1),
      Label12(TabSheet6, ids::Label12, "程序名称：Morvane进程管理器"),
      Label13(TabSheet6, ids::Label13, "程序版本：1.0"),
      Label14(TabSheet6, ids::Label14, "程序设计：Morvane开发组"),
      Label15(TabSheet6, ids::Label15, "版权所有 (C) 2026 Morvane开发组，保留所有权利。"),
      Label16(TabSheet6, ids::Label16, std::string("E-Mail:") + kMailAddress),
      Bevel1(TabSheet6, ids::Bevel1) {
    Image1.setPicture("ABOUTPIC");
    Image1.setStretch(true);
    Image1.setFramed(true);
    for (ui::TLabel* l : {&Label12, &Label13, &Label14}) l->setFontHeight(14);
    Label15.setFontHeight(16);
    Label15.setFontColor(ui::clDkGray);
    Label15.setWordWrap(true);
    Label16.setFontColor(ui::clBlue);
    Label16.setCursor(ui::TCursor::HandPoint);

    Bevel1.setBounds(4, 4, 351, 280);
    Image1.setBounds(18, 18, 96, 96);
    Label12.setBounds(126, 24, 224, 18);
    Label13.setBounds(126, 52, 224, 18);
    Label14.setBounds(126, 80, 224, 18);
    Label15.setBounds(18, 136, 330, 40);
    Label16.setBounds(18, 190, 330, 16);
}

PasswordPanel::PasswordPanel(ui::TForm& form)
    : Panel2(form, ids::Panel2),
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
}

}  // namespace app
