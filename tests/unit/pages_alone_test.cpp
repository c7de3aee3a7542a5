// Each page built on the fake host alone: what it asks of the window goes
// through its host, and what it owns it sets itself.
#include <gtest/gtest.h>

#include "about/page.h"
#include "autostart/page.h"
#include "common/normal_list.h"
#include "page_fixture.h"
#include "process/page.h"
#include "restriction/page.h"
#include "settings/page.h"
#include "window/page.h"

namespace {

// Catches a process page that leaves the window without its host, lists
// without telling it, marks by another list than the host's normal list, or
// keeps the delete button on the NT family.
TEST(PageAlone, ProcessPageAsksItsHostAndAppliesItsFamilyRules) {
    PageFixture f;
    f.machine.addProcess("notepad.exe");
    f.machine.addProcess("calc.exe");
    process::ProcessPage page(f.host, f.pages);
    page.RefreshProcessList();
    EXPECT_EQ(page.List1.items(), (std::vector<std::string>{"NOTEPAD.EXE", "CALC.EXE"}));
    EXPECT_EQ(f.host.listings, 1);
    f.normalList.add("CALC.EXE");
    page.BtnNormalAppShowClick();
    EXPECT_EQ(page.List1.item(1), common::kNormalMarker);
    page.applyFamilyRules();
    EXPECT_FALSE(page.BtnDelApp.enabled());
    f.open(&page.TabSheet1);
    page.BtnExit.userClick();
    EXPECT_EQ(f.host.closes, 1);
}

// Catches a normal-program page that reads or writes Napplst.dat anywhere
// but in its host's program folder, or keeps its list from the host the
// process page asks.
TEST(PageAlone, NormalProgramPageLoadsAndSavesItsListInTheHostsFolder) {
    PageFixture f;
    f.machine.addFile("C:\\Morvane\\Napplst.dat", "A.EXE\r\n");
    settings::NormalProgramPage page(f.host, f.pages);
    EXPECT_EQ(f.host.NormalPrograms, &page.ListApp);
    page.loadSettings();
    EXPECT_EQ(page.ListApp.items(), std::vector<std::string>{"A.EXE"});
    page.ListApp.add("B.EXE");
    page.saveSettings(true);
    EXPECT_EQ(f.machine.bytesOf("C:\\Morvane\\Napplst.dat"), "A.EXE\r\nB.EXE\r\n");
}

// Catches a window list that shows the window the pages sit in.
TEST(PageAlone, WindowPageLeavesOutItsHostsWindow) {
    PageFixture f;
    f.machine.addWindow("Editor");
    window::WindowPage page(f.host, f.pages);
    page.RefreshWindowList();
    EXPECT_EQ(page.List2.items(), std::vector<std::string>{"Editor"});
}

// Catches a switch from outside that echoes back to the menu, a page switch
// that does not tell it, and an interval not in milliseconds.
TEST(PageAlone, RestrictionPageSwitchesAndTimesItsOwnLoopClear) {
    PageFixture f;
    restriction::RestrictPage page(f.host, f.pages, f.form);
    page.setInterval(7);
    EXPECT_EQ(page.Timer1.interval(), 7000u);
    page.setLoopClear(true);
    EXPECT_TRUE(page.SpeedButton1.down());
    EXPECT_TRUE(page.Timer1.enabled());
    EXPECT_FALSE(page.Button8.enabled());
    EXPECT_FALSE(f.host.loopClear) << "the menu switched it: nothing to tell";
    f.open(&page.TabSheet3);
    page.SpeedButton1.userClick();
    EXPECT_FALSE(page.Timer1.enabled());
    EXPECT_EQ(f.host.loopClear, false);
}

// Catches a dialog title carried over from the question another page asked.
TEST(PageAlone, AutostartPageAsksForAProgramUnderItsOwnTitle) {
    PageFixture f;
    autostart::AutostartPage page(f.host, f.pages);
    (void)f.host.chooseProgram("another page's question");
    f.application.answerDialog("C:\\Tools\\tool.exe");
    f.open(&page.TabSheet4);
    page.Button20.userClick();
    EXPECT_EQ(lastOf(f.application.dialogs()).title, "添加自启动程序");
    EXPECT_EQ(page.Edit6.text(), "C:\\Tools\\tool.exe");
}

// Catches settings that raise the gate or set the interval by reaching past
// the page's own panel and host, and a settings sheet whose pages are not on
// its own inner control in tab order, or that does not lie among the
// window's pages.
TEST(PageAlone, SettingsPagesLoadTheirSettingsAndRaiseAndLowerTheGate) {
    PageFixture f;
    for (auto [name, value] : {std::pair{"RunByPass", "yes"}, {"KillTime", "9"}, {"Pass", ""}})
        f.machine.setString(platform::RootKey::CurrentUser, "Software\\Zentrek", name, value);
    settings::PasswordPanel panel(f.host, f.form);
    settings::ProgramSettings sheet(f.host, f.pages, panel);
    EXPECT_EQ(f.pages.pages(), std::vector<ui::TTabSheet*>{&sheet.TabSheet5});
    EXPECT_EQ(sheet.PageControl2.pages(),
              (std::vector<ui::TTabSheet*>{&sheet.generalSettings.TabSheet7, &sheet.normalPrograms.TabSheet8,
                                           &sheet.passwordSettings.TabSheet9}));
    settings::GeneralSettingsPage& general = sheet.generalSettings;
    general.loadSettings();
    EXPECT_TRUE(panel.Panel2.visible());
    EXPECT_EQ(f.host.gateUp, true);
    EXPECT_EQ(f.host.interval, 9);
    f.open();
    panel.BitBtn1.userClick();
    EXPECT_FALSE(panel.Panel2.visible());
    EXPECT_EQ(f.host.gateUp, false);
}

// Catches a mail link opened for no window or another one than the host's.
TEST(PageAlone, AboutPageOpensANewMailForItsHostsWindow) {
    PageFixture f;
    about::AboutPage page(f.host, f.pages);
    f.open(&page.TabSheet6);
    page.Label16.userClick();
    EXPECT_EQ(f.machine.shellExecutes(), std::vector<std::string>{"Open|mailto:morvane@example.com|||1"});
    EXPECT_EQ(lastOf(f.machine.calls()).args.rfind("hwnd=0x5151", 0), 0u) << lastOf(f.machine.calls()).args;
    EXPECT_EQ(page.Label16.caption(), "E-Mail:morvane@example.com");
    EXPECT_EQ(page.Label16.cursor(), ui::TCursor::HandPoint);
}

}  // namespace
