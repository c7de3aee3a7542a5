// A machine out of window handles, for real: the window system's handles
// live in Wine's server, shared by every program of the prefix.
#include "e2e/e2e_test.h"

#include <algorithm>

using namespace e2e;

// Catches a page that needs a new window handle to list or end a program,
// and a window left unusable once handles are back.
TEST(StarvedE2E, TheProgramHoldingEveryHandleIsListedAndEndedAndTheWindowWorksAfter) {
    ASSERT_TRUE(Session::haveHelper()) << "MORVANE_HELPER is not set";
    run([] {
        Session s;
        App& app = s.startApp();
        Process& hog = s.startHelper("hog.exe", "--title hog --starve");
        // Retitled once it holds every handle; shown or not by then.
        ASSERT_TRUE(waitFor([&] { return findTopWindow(hog.pid(), "starved", false) != nullptr; }, 60000))
            << "the helper never ran out";
        if (HMENU m = CreateMenu()) {
            DestroyMenu(m);
            GTEST_SKIP() << "Wine still hands out window handles";
        }
        app.clickAsync(process::ids::BtnRefresh);
        const int at = app.waitLine(process::ids::List1, "HOG.EXE");
        ASSERT_GE(at, 0) << "the helper is not listed";
        app.select(process::ids::List1, at);
        app.clickAsync(process::ids::BtnKill);
        EXPECT_TRUE(hog.waitExit()) << "the helper was not ended";
        app.sync();
        EXPECT_EQ(app.dialog(), nullptr) << "a box for a machine that had room again";
        const int pages = app::ids::PageControl1;
        for (int i = app.tabCount(pages) - 1; i >= 0; --i) app.selectTab(pages, i);
        app.click(process::ids::BtnRefresh);
        const auto after = app.lines(process::ids::List1);
        EXPECT_EQ(std::find(after.begin(), after.end(), "HOG.EXE"), after.end());
        EXPECT_EQ(app.dialog(), nullptr);
    });
}
