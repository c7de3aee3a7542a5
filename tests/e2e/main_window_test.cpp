// The main window of the real Morvane.exe, driven from outside.
#include <algorithm>

#include "e2e/e2e_test.h"

using namespace e2e;

namespace {

#define REQUIRE_FORM(driver) \
    ASSERT_TRUE((driver).hasControl(app::ids::PageControl1)) << "the window has no page control"

TEST(MainWindowE2E, CaptionFrameSizeAndCentring) {
    run([] {
        Session s;
        App& app = s.startApp();
        HWND h = app.hwnd();
        EXPECT_EQ(windowText(h), kCaption);

        RECT client;
        GetClientRect(h, &client);
        EXPECT_EQ(client.right - client.left, 375);
        EXPECT_EQ(client.bottom - client.top, 382);

        LONG style = GetWindowLongW(h, GWL_STYLE);
        EXPECT_TRUE(style & WS_SYSMENU);
        EXPECT_TRUE(style & WS_MINIMIZEBOX);
        EXPECT_FALSE(style & WS_MAXIMIZEBOX) << "the title bar must not have a maximise button";
        EXPECT_FALSE(style & WS_THICKFRAME) << "the window must not be resizable";

        // Centred by its outer size, integer division.
        RECT r;
        GetWindowRect(h, &r);
        int w = r.right - r.left, hgt = r.bottom - r.top;
        EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - w) / 2);
        EXPECT_EQ(r.top, (GetSystemMetrics(SM_CYSCREEN) - hgt) / 2);
    });
}

TEST(MainWindowE2E, PagesAndTheirTabs) {
    run([] {
        Session s;
        App& app = s.startApp();
        REQUIRE_FORM(app);

        const std::vector<std::string> outer = {"进程列表", "窗口列表", "程序限制",
                                                "管理自启动程序", "程序设置", "关于我们"};
        const std::vector<std::string> inner = {"通用设置", "正常程序设置", "密码设置"};
        const int sheets[] = {process::ids::TabSheet1, window::ids::TabSheet2, restriction::ids::TabSheet3,
                              autostart::ids::TabSheet4, settings::ids::TabSheet5, about::ids::TabSheet6};
        const int innerSheets[] = {settings::ids::TabSheet7, settings::ids::TabSheet8, settings::ids::TabSheet9};

        EXPECT_EQ(app.tabCaptions(app::ids::PageControl1), outer);
        EXPECT_EQ(app.tabCaptions(settings::ids::PageControl2), inner);
        EXPECT_EQ(app.currentTab(app::ids::PageControl1), 0) << "the process page is active at start";
        EXPECT_EQ(app.currentTab(settings::ids::PageControl2), 0) << "the general settings page is active at start";
        // Wine reports the NT platform, where a running program's file is not deleted.
        EXPECT_EQ(app.enabled(process::ids::BtnDelApp), nineXFamily())
            << "\"删除进程\" is for the 9x family only (version " << wineVersion() << ")";

        // A click on a tab shows its page and only its page; going back works too.
        for (int i : {1, 2, 3, 4, 5, 0}) {
            app.selectTab(app::ids::PageControl1, i);
            for (int k = 0; k < 6; ++k)
                EXPECT_EQ(app.visible(sheets[k]), k == i) << "outer tab " << i << ", page " << k;
        }
        app.selectTab(app::ids::PageControl1, 4);
        for (int i : {1, 2, 0}) {
            app.selectTab(settings::ids::PageControl2, i);
            for (int k = 0; k < 3; ++k)
                EXPECT_EQ(app.visible(innerSheets[k]), k == i) << "inner tab " << i << ", page " << k;
        }
    });
}

TEST(MainWindowE2E, AllowListHoldsTheRunningProgramsUpperCased) {
    ASSERT_TRUE(Session::haveHelper()) << "MORVANE_HELPER is not set";
    run([] {
        Session s;
        Process& a1 = s.startHelper("mvhelpa.exe", "--sleep");
        Process& a2 = s.startHelper("mvhelpa.exe", "--sleep");
        Process& b = s.startHelper("MvHelpB.exe", "--sleep");
        for (Process* p : {&a1, &a2, &b})
            ASSERT_TRUE(waitFor([&] { return processListed(p->pid()); })) << "helper " << p->pid() << " not listed";

        App& app = s.startApp();
        REQUIRE_FORM(app);
        std::vector<std::string> list = app.lines(restriction::ids::List3);
        EXPECT_EQ(std::count(list.begin(), list.end(), "MVHELPA.EXE"), 2) << "two copies give two lines";
        EXPECT_EQ(std::count(list.begin(), list.end(), "MVHELPB.EXE"), 1);
        EXPECT_EQ(std::count(list.begin(), list.end(), "MORVANE.EXE"), 1) << "the program lists itself";
        // ASCII upper-casing leaves no byte from 'a' to 'z' in any line.
        for (const std::string& l : list)
            EXPECT_EQ(l.find_first_of("abcdefghijklmnopqrstuvwxyz"), std::string::npos) << l;
    });
}

// Every way out through the window ends the program and runs the closing
// save, which writes the normal-program list beside the executable.

TEST(MainWindowE2E, EveryExitEndsTheProgramAndSaves) {
    struct Way {
        const char* name;
        bool button;
        void (*close)(App&);
    };
    const Way ways[] = {
        {"BtnExit", true, [](App& a) { a.click(process::ids::BtnExit); }},
        {"Button4", true,
         [](App& a) {
             a.selectTab(app::ids::PageControl1, 1);
             a.click(window::ids::Button4);
         }},
        {"WM_CLOSE", false, [](App& a) { PostMessageW(a.hwnd(), WM_CLOSE, 0, 0); }},
        {"SC_CLOSE", false, [](App& a) { PostMessageW(a.hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0); }},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.name);
        run([&] {
            Session s;
            App& app = s.startApp();
            if (way.button) {
                REQUIRE_FORM(app);
            }
            std::string list = s.dir() + "\\Napplst.dat";
            ASSERT_FALSE(fileExists(list));
            way.close(app);
            ASSERT_TRUE(app.process().waitExit()) << way.name << " did not end the program";
            EXPECT_TRUE(fileExists(list)) << way.name << " ended without writing Napplst.dat";
        });
    }
}

TEST(MainWindowE2E, TwoCopiesRunIndependently) {
    run([] {
        Session s;
        App& a = s.startApp();
        App& b = s.startApp();
        EXPECT_NE(a.hwnd(), b.hwnd());
        PostMessageW(a.hwnd(), WM_CLOSE, 0, 0);
        ASSERT_TRUE(a.process().waitExit());
        EXPECT_TRUE(b.process().running());
        EXPECT_TRUE(answers(b.hwnd()));
    });
}

}  // namespace
