#include "process/page.h"

#include "common/page_look.h"
#include "process/ids.h"

namespace process {

ProcessPage::ProcessPage(common::PageHost& pageHost, ui::TPageControl& pages)
    : common::Page(pageHost),
      TabSheet1(pages, ids::TabSheet1, "进程列表"),
      List1(TabSheet1, ids::List1),
      ChkList1(TabSheet1, ids::ChkList1),
      RadioGroup1(TabSheet1, ids::RadioGroup1),
      Label1(TabSheet1, ids::Label1),
      BtnNormalAppShow(TabSheet1, ids::BtnNormalAppShow, "标识正常程序"),
      BtnAddNormalAppList(TabSheet1, ids::BtnAddNormalAppList, "加入正常列表"),
      BtnRefresh(TabSheet1, ids::BtnRefresh, "刷新列表"),
      BtnSave(TabSheet1, ids::BtnSave, "保存列表"),
      BtnKill(TabSheet1, ids::BtnKill, "结束进程"),
      BtnDelApp(TabSheet1, ids::BtnDelApp, "删除进程"),
      BtnExit(TabSheet1, ids::BtnExit, common::kExitCaption) {
    RadioGroup1.setItems({"单一清除模式", "多项清除模式"});
    RadioGroup1.setColumns(2);
    RadioGroup1.setItemIndex(0);
    List1.setCursor(ui::TCursor::HandPoint);
    ChkList1.setCursor(ui::TCursor::HandPoint);
    ChkList1.hide();
    Label1.setWordWrap(true);
    BtnNormalAppShow.setHint("标识自定义的正常程序");
    BtnAddNormalAppList.setHint("将选定项目加入正常程序列表");
    BtnRefresh.setHint("刷新进程列表");
    BtnSave.setHint("将进程列表保存为文件");
    BtnKill.setHint("禁止选定进程的运行");
    BtnDelApp.setHint("删除选定进程对应的程序文件");
    BtnExit.setHint(common::kExitHint);

    List1.setBounds(4, 4, 252, 236);
    // The check list stands in for the list in the multiple mode.
    ChkList1.setBounds(4, 4, 252, 236);
    ChkList1.bringToFront();
    RadioGroup1.setBoundsAndLayout(4, 244, 252, 40);
    Label1.setBounds(common::kColumnX, 6, common::kColumnW, 28);
    common::stackButtons({&BtnNormalAppShow, &BtnAddNormalAppList, &BtnRefresh, &BtnSave, &BtnKill,
                        &BtnDelApp, &BtnExit},
                       common::kColumnX, 38);

    BtnRefresh.OnClick = ui::handler<&ProcessPage::BtnRefreshClick>(this);
    BtnSave.OnClick = ui::handler<&ProcessPage::BtnSaveClick>(this);
    RadioGroup1.OnClick = ui::handler<&ProcessPage::RadioGroup1Click>(this);
    List1.OnClick = ui::handler<&ProcessPage::List1Click>(this);
    ChkList1.OnClick = ui::handler<&ProcessPage::ChkList1Click>(this);
    BtnKill.OnClick = ui::handler<&ProcessPage::BtnKillClick>(this);
    BtnDelApp.OnClick = ui::handler<&ProcessPage::BtnDelAppClick>(this);
    BtnNormalAppShow.OnClick = ui::handler<&ProcessPage::BtnNormalAppShowClick>(this);
    BtnAddNormalAppList.OnClick = ui::handler<&ProcessPage::BtnAddNormalAppListClick>(this);
    BtnExit.OnClick = ui::handler<&ProcessPage::BtnExitClick>(this);
}

}  // namespace process
