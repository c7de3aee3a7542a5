#include "about/page.h"

#include <string>

#include "about/ids.h"

namespace about {

const char* const kMailAddress = "morvane@example.com";

AboutPage::AboutPage(common::PageHost& pageHost, ui::TPageControl& pages)
    : common::Page(pageHost),
      TabSheet6(pages, ids::TabSheet6, "关于我们"),
      Image1(TabSheet6, ids::Image1),
      Label12(TabSheet6, ids::Label12, "程序名称：Morvane进程管理器"),
      Label13(TabSheet6, ids::Label13, "程序版本：1.0"),
      Label14(TabSheet6, ids::Label14, "程序设计：Morvane开发组"),
      Label15(TabSheet6, ids::Label15, "版权所有 (C) 2026 Morvane开发组，保留所有权利。"),
      Label16(TabSheet6, ids::Label16),
      Bevel1(TabSheet6, ids::Bevel1) {
    Image1.setPicture("ABOUTPIC");
    Image1.setStretch(true);
    Image1.setFramed(true);
    for (ui::TLabel* l : {&Label12, &Label13, &Label14}) l->setFontHeight(14);
    Label15.setFontHeight(16);
    Label15.setFontColor(ui::clDkGray);
    Label15.setWordWrap(true);
    Label16.setCaption(std::string("E-Mail:") + kMailAddress);
    Label16.setFontColor(ui::clBlue);
    Label16.setCursor(ui::TCursor::HandPoint);

    Bevel1.setBounds(4, 4, 351, 280);
    Image1.setBounds(18, 18, 96, 96);
    Label12.setBounds(126, 24, 224, 18);
    Label13.setBounds(126, 52, 224, 18);
    Label14.setBounds(126, 80, 224, 18);
    Label15.setBounds(18, 136, 330, 40);
    Label16.setBounds(18, 190, 330, 16);

    Label16.OnClick = ui::handler<&AboutPage::Label16Click>(this);
}

void AboutPage::Label16Click() {
    platform::ignore(
        os.shellExecute(host.hostHandle(), "Open", std::string("mailto:") + kMailAddress, "", "", 1),
        "a mail link that will not open does nothing visible");
}

}  // namespace about
