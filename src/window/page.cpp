#include "window/page.h"

#include "common/page_look.h"
#include "window/ids.h"

namespace window {

WindowPage::WindowPage(common::PageHost& pageHost, ui::TPageControl& pages)
    : common::Page(pageHost),
      TabSheet2(pages, ids::TabSheet2, "窗口列表"),
      List2(TabSheet2, ids::List2),
      Label2(TabSheet2, ids::Label2),
      Button1(TabSheet2, ids::Button1, "刷新列表"),
      Button2(TabSheet2, ids::Button2, "保存列表"),
      Button3(TabSheet2, ids::Button3, "关闭窗口"),
      Button15(TabSheet2, ids::Button15, "关闭程序"),
      Button4(TabSheet2, ids::Button4, common::kExitCaption) {
    List2.setCursor(ui::TCursor::HandPoint);
    Label2.setWordWrap(true);
    Button1.setHint("刷新窗口列表");
    Button2.setHint("将窗口列表保存为文件");
    Button3.setHint("关闭选定的窗口");
    Button15.setHint("关闭选定窗口所属的程序");
    Button4.setHint(common::kExitHint);

    List2.setBounds(4, 4, 252, 280);
    Label2.setBounds(common::kColumnX, 6, common::kColumnW, 28);
    common::stackButtons({&Button1, &Button2, &Button3, &Button15, &Button4}, common::kColumnX, 38);

    List2.OnClick = ui::handler<&WindowPage::List2Click>(this);
    Button1.OnClick = ui::handler<&WindowPage::Button1Click>(this);
    Button2.OnClick = ui::handler<&WindowPage::Button2Click>(this);
    Button3.OnClick = ui::handler<&WindowPage::Button3Click>(this);
    Button15.OnClick = ui::handler<&WindowPage::Button15Click>(this);
    Button4.OnClick = ui::handler<&common::PageHost::closeWindow>(&host);
}

}  // namespace window
