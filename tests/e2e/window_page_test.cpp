// The window-list page of the real Morvane.exe with helper windows: closing,
// quitting, and a window that never answers.
#include <algorithm>

#include "e2e/e2e_test.h"

using namespace e2e;

namespace {

int lineOf(App& app, const std::string& title) {
    const std::vector<std::string> lines = app.lines(window::ids::List2);
    const auto it = std::find(lines.begin(), lines.end(), title);
    return it == lines.end() ? -1 : static_cast<int>(it - lines.begin());
}

TEST(WindowPageE2E, ClosingAndQuittingEndTheirProgramsAndTheListFollows) {
    ASSERT_TRUE(Session::haveHelper()) << "MORVANE_HELPER is not set";
    run([] {
        Session s;
        Process& closing = s.startHelper("e2ewinclose.exe", "--title 关闭我 --close-code 7");
        waitTopWindow(closing.pid(), "关闭我");
        App& app = s.startApp();
        app.selectTab(app::ids::PageControl1, 1);
        // Made after the start: only the refresh can bring its line.
        Process& quitting = s.startHelper("e2ewinquit.exe", "--title QuitMe --hidden --quit-code 9");
        ASSERT_TRUE(waitFor([&] { return findTopWindow(quitting.pid(), "QuitMe", false) != nullptr; }));
        ASSERT_EQ(lineOf(app, "QuitMe"), -1);
        app.click(window::ids::Button1);
        const std::string count = "当前系统中共有" + std::to_string(app.count(window::ids::List2)) + "个窗口";
        EXPECT_EQ(app.text(window::ids::Label2), count);
        ASSERT_GE(lineOf(app, "关闭我"), 0);
        ASSERT_GE(lineOf(app, "QuitMe"), 0) << "a hidden window is listed too";
        EXPECT_GE(lineOf(app, kCaption), 0) << "our own window is listed too";

        app.select(window::ids::List2, lineOf(app, "关闭我"));
        app.click(window::ids::Button3);
        EXPECT_TRUE(closing.waitExit());
        EXPECT_EQ(closing.exitCode(), 7u);
        EXPECT_EQ(lineOf(app, "关闭我"), -1) << "the list was not refreshed";

        app.select(window::ids::List2, lineOf(app, "QuitMe"));
        app.click(window::ids::Button15);
        EXPECT_TRUE(quitting.waitExit());
        EXPECT_EQ(quitting.exitCode(), 9u);
        EXPECT_EQ(lineOf(app, "QuitMe"), -1);
    });
}

TEST(WindowPageE2E, ALongTitleIsCutAndTheListSavesWithCrLf) {
    ASSERT_TRUE(Session::haveHelper()) << "MORVANE_HELPER is not set";
    run([] {
        Session s;
        const std::string title(300, 'T');
        Process& longTitle = s.startHelper("e2ewinlong.exe", "--title " + title);
        waitTopWindow(longTitle.pid(), title.substr(0, 255));  // the driver reads 255 at most
        App& app = s.startApp();
        app.selectTab(app::ids::PageControl1, 1);
        EXPECT_GE(lineOf(app, title.substr(0, 254)), 0) << "not listed with its first 254 bytes";

        const std::string path = s.dir() + "\\窗口.txt";
        app.clickAsync(window::ids::Button2);
        app.waitFileDialog().accept(path);
        waitFor([&] { return app.dialog() == nullptr; });
        app.sync();
        std::string expected;
        for (const std::string& l : app.lines(window::ids::List2)) expected += l + "\r\n";
        EXPECT_EQ(readFile(path), expected);
    });
}

TEST(WindowPageE2E, AWindowThatNeverAnswersDoesNotFreezeOurs) {
    ASSERT_TRUE(Session::haveHelper()) << "MORVANE_HELPER is not set";
    run([] {
        Session s;
        Process& hung = s.startHelper("e2ewinhung.exe", "--title HungWindow --hang");
        waitFor([&] { return findTopWindow(hung.pid(), "HungWindow") != nullptr; });
        App& app = s.startApp();
        app.selectTab(app::ids::PageControl1, 1);
        app.click(window::ids::Button1);
        ASSERT_GE(lineOf(app, "HungWindow"), 0);
        app.select(window::ids::List2, lineOf(app, "HungWindow"));
        const DWORD t0 = GetTickCount();
        app.clickAsync(window::ids::Button3);
        // The close gives up after its bound (5 s), waits 300 ms and
        // refreshes; by then the window answers as ever.
        Sleep(6000);
        EXPECT_TRUE(answers(app.hwnd(), 4000)) << "our window stayed frozen";
        EXPECT_LT(GetTickCount() - t0, 10000u);
        EXPECT_GE(lineOf(app, "HungWindow"), 0) << "refreshed, the hung window still there";
        EXPECT_TRUE(hung.running());
    });
}

}  // namespace
