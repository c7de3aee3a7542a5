// The window-list page on the simulated machine.
#include <gtest/gtest.h>

#include <algorithm>

#include "app_fixture.h"

namespace {

using V = std::vector<std::string>;

struct Windows : AppFixture {
    Windows() {
        machine.addWindow("Editor");
        machine.addWindow("");  // untitled: never listed
        hidden = machine.addWindow("Hidden tool");
        machine.addWindow("Editor");
    }
    std::size_t walks() { return machine.countCalls("GetWindow"); }
    platform::Hwnd hidden = 0;
};

TEST(WindowPage, StartUpListsEveryTitledWindowInZOrderAndCountsThem) {
    Windows f;
    f.machine.addWindow(std::string(300, 'x'));
    TfrmMain& w = f.start();
    EXPECT_EQ(w.window.List2.items(), (V{"Editor", "Hidden tool", "Editor", std::string(254, 'x')}));
    EXPECT_EQ(w.window.Label2.caption(), "当前系统中共有4个窗口");
    w.PageControl1.userSelect(1);
    w.window.List2.userSelect(3);
    EXPECT_EQ(w.window.List2.hint(), std::string(254, 'x'));
}

TEST(WindowPage, CloseButtonsWithoutASelectionDoNothing) {
    Windows f;
    TfrmMain& w = f.start();
    const auto before = f.walks();
    w.window.Button3.userClick();
    w.window.Button15.userClick();
    EXPECT_EQ(f.walks(), before) << "not even a refresh";
    EXPECT_EQ(f.machine.countCalls("SendMessageA") + f.machine.countCalls("PostMessageA"), 0u);
}

TEST(WindowPage, ClosingActsOnTheFirstWindowOfThatTitleWaitsAndRefreshes) {
    Windows f;
    TfrmMain& w = f.start();
    w.PageControl1.userSelect(1);
    w.window.List2.userSelect(2);  // the second "Editor" line: the first window still goes
    const auto t0 = f.machine.getTickCount();
    w.window.Button3.userClick();
    EXPECT_GE(f.machine.getTickCount() - t0, 300u);
    EXPECT_EQ(w.window.List2.items(), (V{"Hidden tool", "Editor"}));
    EXPECT_EQ(w.window.Label2.caption(), "当前系统中共有2个窗口");
}

TEST(WindowPage, AHungWindowCostsOnlyTheTimeoutAndTheListIsRefreshed) {
    Windows f;
    f.machine.window(f.hidden)->hung = true;
    TfrmMain& w = f.start();
    w.PageControl1.userSelect(1);
    w.window.List2.userSelect(1);
    const auto t0 = f.machine.getTickCount();
    w.window.Button3.userClick();
    EXPECT_LT(f.machine.getTickCount() - t0, 10000u);
    EXPECT_EQ(w.window.List2.count(), 3) << "refreshed, the hung window still there";
}

TEST(WindowPage, QuittingPostsWaitsLongerAndAGoneTitleOnlyRefreshes) {
    Windows f;
    TfrmMain& w = f.start();
    w.PageControl1.userSelect(1);
    w.window.List2.userSelect(1);
    const auto t0 = f.machine.getTickCount();
    w.window.Button15.userClick();
    EXPECT_GE(f.machine.getTickCount() - t0, 1500u);
    EXPECT_EQ(f.machine.countCalls("PostMessageA"), 1u);
    EXPECT_EQ(w.window.List2.items(), (V{"Editor", "Editor"}));

    const platform::Hwnd gone = f.machine.addWindow("Gone");
    w.window.Button1.userClick();
    const V lines = w.window.List2.items();
    const auto at = std::find(lines.begin(), lines.end(), "Gone") - lines.begin();
    ASSERT_LT(at, static_cast<long>(lines.size()));
    w.window.List2.userSelect(static_cast<int>(at));
    f.machine.window(gone)->alive = false;
    w.window.Button15.userClick();
    EXPECT_EQ(f.machine.countCalls("PostMessageA"), 1u) << "nothing sent to a title no window has";
    EXPECT_EQ(w.window.List2.items(), (V{"Editor", "Editor"}));
}

TEST(WindowPage, SavingWritesEveryTitleWithCrLf) {
    Windows f;
    TfrmMain& w = f.start();
    f.application.answerDialog("C:\\windows.txt");
    w.PageControl1.userSelect(1);
    w.window.Button2.userClick();
    EXPECT_EQ(f.machine.bytesOf("C:\\windows.txt"), "Editor\r\nHidden tool\r\nEditor\r\n");
}

}  // namespace

// Windows raised and lowered while the list is walked can lead GetWindow back
// to a window already passed, or on through windows made faster than it
// walks; the refresh stops, keeping every line gathered.
TEST(WindowPage, AWalkThatCirclesOrNeverEndsStopsWithWhatItGathered) {
    Windows f;
    TfrmMain& w = f.start();
    w.PageControl1.userSelect(1);
    f.machine.onWindowWalk([](sim::SimOs& m, platform::Hwnd from) {
        const auto ws = m.windows();
        if (!ws.empty() && ws.back().hwnd == from) m.moveWindowToBottom(ws.front().hwnd);
    });
    const auto walked = f.walks();
    w.window.Button1.userClick();
    EXPECT_EQ(w.window.List2.items(), (V{"Editor", "Hidden tool", "Editor"}));
    EXPECT_EQ(f.walks() - walked, 5u) << "four windows, then one passed before";

    int made = 0;
    f.machine.onWindowWalk([&made](sim::SimOs& m, platform::Hwnd) { m.addWindow("New " + std::to_string(++made)); });
    w.window.Button1.userClick();
    EXPECT_EQ(w.window.List2.count(), 10000 - 1) << "10,000 windows, one of them untitled";
    EXPECT_EQ(w.window.List2.item(3), "New 1");
    EXPECT_EQ(w.window.Label2.caption(), "当前系统中共有9999个窗口");
}
