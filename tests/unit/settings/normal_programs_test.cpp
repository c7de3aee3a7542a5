// The normal-program page built alone on the fake host, driven like a user
// would on the simulated machine.
#include <gtest/gtest.h>

#include "page_fixture.h"
#include "settings/page.h"

namespace {

using V = std::vector<std::string>;

TEST(NormalProgramPage, AddDeleteAndClear) {
    PageFixture p;
    settings::NormalProgramPage page(p.host, p.pages);
    p.open(&page.TabSheet8);
    p.application.answerDialog("C:\\WinNT\\notepad.exe");
    page.BtnAdd.userClick();
    p.application.answerDialog("c:\\winnt\\NOTEPAD.exe");
    page.BtnAdd.userClick();  // the same program: refused without a word
    p.application.answerDialog(std::nullopt);
    page.BtnAdd.userClick();
    EXPECT_EQ(page.ListApp.items(), V{"C:\\WINNT\\NOTEPAD.EXE"});
    EXPECT_TRUE(p.application.messages().empty());
    ASSERT_EQ(p.application.dialogs().size(), 3u);
    EXPECT_EQ(p.application.dialogs()[0].title, "添加正常程序");
    EXPECT_FALSE(p.application.dialogs()[0].save);

    page.ListApp.add("B.EXE");
    page.ListApp.userSelect(1);
    EXPECT_EQ(page.ListApp.hint(), "B.EXE");
    page.BtnDel.userClick();
    EXPECT_EQ(page.ListApp.items(), V{"C:\\WINNT\\NOTEPAD.EXE"});
    page.ListApp.setItemIndex(-1);
    page.BtnDel.userClick();
    EXPECT_EQ(page.ListApp.count(), 1);

    p.application.answerMessage(ui::answer::No);
    page.BtnClear.userClick();
    EXPECT_EQ(page.ListApp.count(), 1);
    p.application.answerMessage(0);  // the box could not be shown
    page.BtnClear.userClick();
    EXPECT_EQ(page.ListApp.count(), 1);
    page.BtnClear.userClick();  // unscripted: the first button, Yes
    EXPECT_EQ(page.ListApp.count(), 0);
    ASSERT_EQ(p.application.messages().size(), 3u);
    EXPECT_EQ(p.application.messages()[0].text, "您当真要清空正常程序列表吗？");
    EXPECT_EQ(p.application.messages()[0].caption, "确认");
    EXPECT_EQ(p.application.messages()[0].flags & 0xF, ui::mb::YesNo);
}

TEST(NormalProgramPage, ListFilesRoundTripAndAFailedLoadLosesNothing) {
    PageFixture p;
    settings::NormalProgramPage page(p.host, p.pages);
    p.open(&page.TabSheet8);
    page.ListApp.setItems({"B.EXE", "记事本.EXE", "A.EXE"});
    p.application.answerDialog("C:\\n.txt");
    page.BtnSaveAppList.userClick();
    page.ListApp.clear();
    p.application.answerDialog("C:\\n.txt");
    page.BtnOpenAppList.userClick();
    ASSERT_EQ(page.ListApp.items(), (V{"B.EXE", "记事本.EXE", "A.EXE"}));

    p.machine.file("C:\\n.txt")->unreadable = true;
    p.application.answerDialog("C:\\n.txt");
    page.BtnOpenAppList.userClick();
    EXPECT_EQ(p.application.errors().size(), 1u);
    EXPECT_EQ(page.ListApp.count(), 3);

    p.machine.addFile("C:\\empty.txt");
    p.application.answerDialog("C:\\empty.txt");
    page.BtnOpenAppList.userClick();
    EXPECT_EQ(page.ListApp.items(), V{""});
}

// GetSaveFileName or GetOpenFileName returning FALSE with an extended error
// is no cancel: the user is told, and the name the user may have typed is
// not taken for a choice.
TEST(NormalProgramPage, AFailingFileDialogIsShownAndTakesNothing) {
    PageFixture p;
    settings::NormalProgramPage page(p.host, p.pages);
    p.open(&page.TabSheet8);
    page.ListApp.setItems({"A.EXE"});
    p.machine.addFile("C:\\n.txt", "OTHER.EXE\r\n");
    auto failNextDialog = [&] {
        sim::FaultPlan plan;
        plan.family = sim::CallFamily::Dialogs;
        plan.at = 1;
        p.machine.setFaultPlan(plan);
    };

    failNextDialog();
    p.application.answerDialog("C:\\n.txt");
    page.BtnSaveAppList.userClick();
    EXPECT_EQ(p.machine.bytesOf("C:\\n.txt"), "OTHER.EXE\r\n");
    failNextDialog();
    p.application.answerDialog("C:\\n.txt");
    page.BtnOpenAppList.userClick();
    failNextDialog();
    p.application.answerDialog("C:\\Apps\\new.exe");
    page.BtnAdd.userClick();
    EXPECT_EQ(page.ListApp.items(), V{"A.EXE"});
    EXPECT_EQ(p.application.errors().size(), 3u);

    p.application.answerDialog("C:\\n.txt");
    page.BtnOpenAppList.userClick();
    EXPECT_EQ(page.ListApp.items(), V{"OTHER.EXE"}) << "the next dialog is answered as the user chose";

    // Cancel loads nothing, not the file chosen last time, and keeps the edits.
    page.ListApp.add("B.EXE");
    p.application.answerDialog(std::nullopt);
    page.BtnOpenAppList.userClick();
    EXPECT_EQ(page.ListApp.items(), (V{"OTHER.EXE", "B.EXE"}));
    EXPECT_EQ(p.application.errors().size(), 3u);
}

TEST(NormalProgramPage, NapplstLoadLeavesTheListAloneWhenTheFileIsMissing) {
    PageFixture p;
    settings::NormalProgramPage page(p.host, p.pages);
    page.ListApp.setItems({"KEPT"});
    page.loadSettings();
    EXPECT_EQ(page.ListApp.items(), V{"KEPT"});
    page.ListApp.setItems({"A.EXE", ""});
    page.saveSettings(false);
    page.ListApp.clear();
    page.loadSettings();
    EXPECT_EQ(page.ListApp.items(), (V{"A.EXE", ""}));
}

}  // namespace
