#include "autostart/page.h"

#include "autostart/ids.h"
#include "common/page_look.h"

namespace autostart {

AutostartPage::AutostartPage(common::PageHost& pageHost, ui::TPageControl& pages)
    : common::Page(pageHost),
      TabSheet4(pages, ids::TabSheet4, "管理自启动程序"),
      GroupBox5(TabSheet4, ids::GroupBox5, "自启动程序列表"),
      ListView1(GroupBox5, ids::ListView1),
      ListAutoRun(TabSheet4, ids::ListAutoRun),
      Label4(TabSheet4, ids::Label4, "程序名称："),
      Edit5(TabSheet4, ids::Edit5),
      Label17(TabSheet4, ids::Label17, "程序位置："),
      Edit6(TabSheet4, ids::Edit6),
      Button20(TabSheet4, ids::Button20),
      Button18(TabSheet4, ids::Button18, "新建"),
      Button19(TabSheet4, ids::Button19, "删除"),
      Button21(TabSheet4, ids::Button21, "更改"),
      Button14(TabSheet4, ids::Button14, "刷新"),
      Button17(TabSheet4, ids::Button17, "应用") {
    ListView1.addColumn("程序名称", 100);
    ListView1.addColumn("程序位置", 220);
    // Scratch list of one key's value names while the list is filled.
    ListAutoRun.hide();
    Button20.setGlyph("FOLDERGLYPH");

    GroupBox5.setBounds(4, 2, 351, 190);
    ListView1.setBounds(8, 18, 335, 164);
    Label4.setBounds(8, 203, 64, 16);
    Edit5.setBounds(74, 199, 281, 22);
    Label17.setBounds(8, 229, 64, 16);
    Edit6.setBounds(74, 225, 255, 22);
    Button20.setBounds(331, 225, 24, 22);
    int x = 4;
    for (ui::TButton* b : {&Button18, &Button19, &Button21, &Button14, &Button17}) {
        b->setBounds(x, 256, 63, common::kButtonH);
        x += 73;
    }

    ListView1.OnClick = ui::handler<&AutostartPage::ListView1Click>(this);
    Button18.OnClick = ui::handler<&AutostartPage::Button18Click>(this);
    Button19.OnClick = ui::handler<&AutostartPage::Button19Click>(this);
    Button21.OnClick = ui::handler<&AutostartPage::Button21Click>(this);
    Button20.OnClick = ui::handler<&AutostartPage::Button20Click>(this);
    Button14.OnClick = ui::handler<&AutostartPage::Button14Click>(this);
    Button17.OnClick = ui::handler<&AutostartPage::Button17Click>(this);
}

}  // namespace autostart
