// Deleting a program file from the process page, which only the 9x family
// offers: Wine is told to report Windows 98 to the program.
#include "e2e/e2e_test.h"

using namespace e2e;

namespace {

const char* const kAppDefaults = "Software\\Wine\\AppDefaults\\Morvane.exe";

struct ReportsWindows98 {
    ReportsWindows98() { setRegString(HKEY_CURRENT_USER, kAppDefaults, "Version", "win98"); }
    ~ReportsWindows98() { deleteRegKey(HKEY_CURRENT_USER, kAppDefaults); }
    ReportsWindows98(const ReportsWindows98&) = delete;
    ReportsWindows98& operator=(const ReportsWindows98&) = delete;
};

TEST(ProgramFileDeletion, WithNothingSelectedAChosenFileIsDeletedAfterTheQuestion) {
    run([] {
        ReportsWindows98 win98;
        Session s;
        const std::string victim = s.dir() + "\\删除我.exe";
        writeFile(victim, "MZ");
        App& app = s.startApp();
        ASSERT_TRUE(app.enabled(ids::BtnDelApp)) << "the button is for the 9x family";
        ASSERT_EQ(app.selected(ids::List1), -1);

        app.clickAsync(ids::BtnDelApp);
        FileDialog d = app.waitFileDialog();
        EXPECT_EQ(d.caption, "请指定您要删除的文件");
        d.accept(victim);
        MsgBox ask = app.waitMessageBox();
        EXPECT_EQ(ask.caption, "确认");
        EXPECT_EQ(ask.text, "您当真要删除吗？");
        ask.press(IDNO);
        app.sync();
        EXPECT_TRUE(fileExists(victim)) << "No deleted the file";

        app.clickAsync(ids::BtnDelApp);
        app.waitFileDialog().accept(victim);
        app.waitMessageBox().press(IDYES);
        EXPECT_TRUE(waitFor([&] { return !fileExists(victim); })) << "the file is still there";
        app.sync();
        EXPECT_EQ(app.dialog(), nullptr) << "no message after a deletion that worked";
    });
}

}  // namespace
