// Deleting a program file from the process page, which only the 9x family
// offers: Wine is told to report Windows 98 to the program, or the 9x
// version of the run.
#include "e2e/e2e_test.h"

using namespace e2e;

namespace {

TEST(ProgramFileDeletionE2E, WithNothingSelectedAChosenFileIsDeletedAfterTheQuestion) {
    if (!wineVersion().empty() && !nineXFamily())
        GTEST_SKIP() << "the NT family offers no deletion; its button's state is checked with the pages";
    run([] {
        ReportedVersion nineX(wineVersion().empty() ? "win98" : wineVersion());
        Session s;
        const std::string victim = s.dir() + "\\删除我.exe";
        writeFile(victim, "MZ");
        App& app = s.startApp();
        ASSERT_TRUE(app.enabled(process::ids::BtnDelApp)) << "the button is for the 9x family";
        ASSERT_EQ(app.selected(process::ids::List1), -1);

        app.clickAsync(process::ids::BtnDelApp);
        FileDialog d = app.waitFileDialog();
        EXPECT_EQ(d.caption, "请指定您要删除的文件");
        d.accept(victim);
        MsgBox ask = app.waitMessageBox();
        EXPECT_EQ(ask.caption, "确认");
        EXPECT_EQ(ask.text, "您当真要删除吗？");
        ask.press(IDNO);
        app.sync();
        EXPECT_TRUE(fileExists(victim)) << "No deleted the file";

        app.clickAsync(process::ids::BtnDelApp);
        app.waitFileDialog().accept(victim);
        app.waitMessageBox().press(IDYES);
        EXPECT_TRUE(waitFor([&] { return !fileExists(victim); })) << "the file is still there";
        app.sync();
        EXPECT_EQ(app.dialog(), nullptr) << "no message after a deletion that worked";
    });
}

}  // namespace
