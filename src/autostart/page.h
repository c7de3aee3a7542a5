// The autostart page: its controls, built with their texts and places, and
// its handlers. The window holds it.
#pragma once
#include <string>

#include "autostart/entries.h"
#include "common/page_host.h"
#include "ui/controls.h"

namespace autostart {

// Page "管理自启动程序".
class AutostartPage : public common::Page {
public:
    AutostartPage(common::PageHost& host, ui::TPageControl& pages);

    ui::TTabSheet TabSheet4;
    ui::TGroupBox GroupBox5;
    ui::TListView ListView1;
    ui::TListBox ListAutoRun;
    ui::TLabel Label4;
    ui::TEdit Edit5;
    ui::TLabel Label17;
    ui::TEdit Edit6;
    ui::TBitBtn Button20;
    ui::TButton Button18;
    ui::TButton Button19;
    ui::TButton Button21;
    ui::TButton Button14;
    ui::TButton Button17;

    // What the last fill read. "应用" removes only values named here: a
    // value that came later, or that the fill could not read, was never in
    // the list and must not go.
    FillRecord filled;

    void FillAutostartList();
    void ApplyAutostartList();
    void ListView1Click();
    void Button14Click();
    void Button17Click();
    void Button18Click();
    void Button19Click();
    void Button20Click();
    void Button21Click();

private:
    // The two checks of "新建" and "更改".
    bool takeEntry(std::string& name, std::string& location);
};

}  // namespace autostart
