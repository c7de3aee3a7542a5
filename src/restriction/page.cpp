#include "restriction/page.h"

#include "common/page_look.h"
#include "restriction/ids.h"

namespace restriction {

RestrictPage::RestrictPage(common::PageHost& pageHost, ui::TPageControl& pages, ui::TForm& form)
    : common::Page(pageHost),
      TabSheet3(pages, ids::TabSheet3, "程序限制"),
      GroupBox3(TabSheet3, ids::GroupBox3, "允许运行程序列表"),
      List3(GroupBox3, ids::List3),
      ListHide(GroupBox3, ids::ListHide),
      ListYunXu(GroupBox3, ids::ListYunXu),
      RadioGroup2(GroupBox3, ids::RadioGroup2),
      ListJinZhi(TabSheet3, ids::ListJinZhi),
      Button6(TabSheet3, ids::Button6, "另存列表"),
      Button7(TabSheet3, ids::Button7, "载入列表"),
      Button16(TabSheet3, ids::Button16, "清空列表"),
      Button8(TabSheet3, ids::Button8, "添    加"),
      Button9(TabSheet3, ids::Button9, "删    除"),
      Button10(TabSheet3, ids::Button10, "添加所有进程"),
      SpeedButton1(TabSheet3, ids::SpeedButton1, "循环清除"),
      Button11(TabSheet3, ids::Button11, "后台监视"),
      Timer1(form, ids::Timer1) {
    RadioGroup2.setItems({"允许运行模式", "禁止运行模式"});
    RadioGroup2.setColumns(2);
    RadioGroup2.setItemIndex(0);
    // Out of sight: the pass's process lines, and the list of each mode
    // while the other is shown.
    ListHide.hide();
    ListYunXu.hide();
    ListJinZhi.hide();

    GroupBox3.setBounds(4, 2, 252, 282);
    List3.setBounds(8, 18, 236, 214);
    ListHide.setBounds(8, 18, 236, 214);
    ListYunXu.setBounds(8, 18, 236, 214);
    RadioGroup2.setBoundsAndLayout(8, 236, 236, 40);
    ListJinZhi.setBounds(8, 18, 236, 214);
    common::stackButtons(
        {&Button6, &Button7, &Button16, &Button8, &Button9, &Button10, &SpeedButton1, &Button11},
        common::kColumnX, 8);

    Timer1.setEnabled(false);
    Timer1.setInterval(1000);

    RadioGroup2.OnClick = ui::handler<&RestrictPage::RadioGroup2Click>(this);
    Button8.OnClick = ui::handler<&RestrictPage::Button8Click>(this);
    Button9.OnClick = ui::handler<&RestrictPage::Button9Click>(this);
    Button16.OnClick = ui::handler<&RestrictPage::Button16Click>(this);
    Button10.OnClick = ui::handler<&RestrictPage::Button10Click>(this);
    Button6.OnClick = ui::handler<&RestrictPage::Button6Click>(this);
    Button7.OnClick = ui::handler<&RestrictPage::Button7Click>(this);
    Timer1.OnTimer = ui::handler<&RestrictPage::Timer1Timer>(this);
    SpeedButton1.OnClick = ui::handler<&RestrictPage::SpeedButton1Click>(this);
    Button11.OnClick = ui::handler<&RestrictPage::Button11Click>(this);
}

}  // namespace restriction
