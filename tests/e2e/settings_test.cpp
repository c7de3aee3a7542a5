// The settings store and the password gate of the real Morvane.exe, with the
// registry of its Wine prefix and the files beside it.
#include <algorithm>
#include <iterator>
#include <set>

#include "e2e/e2e_test.h"

using namespace e2e;

namespace {

const char* const kKey = CleanSettings::kKey;
const char* const kRun = CleanSettings::kRun;

std::string setting(const char* name) { return regString(HKEY_CURRENT_USER, kKey, name).value_or("<missing>"); }

// Started with the password asked for (and this one stored, if given); the
// panel must be up.
App& startLocked(Session& s, const char* pass = nullptr) {
    setRegString(HKEY_CURRENT_USER, kKey, "RunByPass", "yes");
    if (pass) setRegString(HKEY_CURRENT_USER, kKey, "Pass", pass);
    App& app = s.startApp();
    if (!app.visible(settings::ids::Panel2)) throw Failure("the password panel is not up");
    return app;
}

void closeNormally(App& app) {
    app.selectTab(app::ids::PageControl1, 0);
    app.click(process::ids::BtnExit);
    if (!app.process().waitExit()) throw Failure("the program did not end");
}

TEST(SettingsE2E, TheBoxesTheIntervalAndTheNormalListSurviveARestart) {
    run([] {
        CleanSettings clean;
        Session s;
        const std::string list = s.dir() + "\\Napplst.dat";
        writeFile(list, "A.EXE\r\n程序.EXE");  // the last line without CR LF
        {
            App& app = s.startApp();
            EXPECT_EQ(app.lines(settings::ids::ListApp), (std::vector<std::string>{"A.EXE", "程序.EXE"}));
            app.selectTab(app::ids::PageControl1, 4);
            app.click(settings::ids::ChkMin);
            app.click(settings::ids::ChkAutoRun);
            EXPECT_EQ(setting("RunAutoMin"), "yes");
            std::optional<std::string> runValue = regString(HKEY_LOCAL_MACHINE, kRun, "Zentrek");
            ASSERT_TRUE(runValue.has_value());
            EXPECT_NE(runValue->find("\\Morvane"), std::string::npos) << *runValue;
            app.setText(settings::ids::Edit4, "7");
            closeNormally(app);
        }
        EXPECT_EQ(setting("KillTime"), "7");
        EXPECT_EQ(readFile(list), "A.EXE\r\n程序.EXE\r\n");
        {
            // Start minimised now: into the notification area, and back.
            App& app = s.startApp(kStartMs, false);
            ASSERT_TRUE(waitFor([&] { return !IsWindowVisible(app.hwnd()); }));
            app.trayMessage(WM_LBUTTONDOWN);
            ASSERT_TRUE(waitFor([&] { return IsWindowVisible(app.hwnd()) != 0; }));
            EXPECT_TRUE(app.ticked(settings::ids::ChkMin));
            EXPECT_TRUE(app.ticked(settings::ids::ChkAutoRun));
            EXPECT_FALSE(app.ticked(settings::ids::ChkRunByPass));
            EXPECT_EQ(app.text(settings::ids::Edit4), "7");
            EXPECT_FALSE(app.visible(settings::ids::Panel2));
            // An emptied list leaves an empty file.
            app.selectTab(app::ids::PageControl1, 4);
            app.selectTab(settings::ids::PageControl2, 1);
            app.clickAsync(settings::ids::BtnClear);
            app.waitMessageBox().press(IDYES);
            app.sync();
            app.selectTab(settings::ids::PageControl2, 0);
            app.click(settings::ids::ChkAutoRun);
            EXPECT_FALSE(regString(HKEY_LOCAL_MACHINE, kRun, "Zentrek").has_value());
            closeNormally(app);
        }
        EXPECT_EQ(readFile(list), "");
    });
}

TEST(SettingsE2E, ABadValueIsShownAndTheRestOfStartUpGoesOn) {
    struct Case {
        const char* name;
        DWORD type;
        std::string data;
        const char* error;
    } cases[] = {
        {"RunByPass", REG_DWORD, std::string("\1\0\0\0", 4), "Invalid data type for 'RunByPass'"},
        {"KillTime", REG_SZ, std::string("abc\0", 4), "'abc' is not a valid integer value"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        run([&] {
            CleanSettings clean;
            setRegValue(HKEY_CURRENT_USER, kKey, c.name, c.type, c.data);
            Session s;
            writeFile(s.dir() + "\\Napplst.dat", "A.EXE\r\n");
            App& app = s.startApp(kStartMs, false);
            MsgBox box = app.waitMessageBox(kStartMs);
            EXPECT_EQ(box.text, c.error);
            box.press(IDOK);
            ASSERT_TRUE(waitFor([&] { return app.visible(app::ids::PageControl1); })) << "the window did not open";
            EXPECT_TRUE(waitFor([&] { return app.count(settings::ids::ListApp) == 1; })) << "each item is read on its own";
            EXPECT_TRUE(waitFor([&] { return app.count(process::ids::List1) > 0; })) << "no process list";
            EXPECT_EQ(app.count(restriction::ids::List3), app.count(process::ids::List1)) << "no allow list";
        });
    }
}

TEST(SettingsE2E, ANormalListThatCannotBeWrittenAsksBeforeLeavingWithoutIt) {
    run([] {
        CleanSettings clean;
        Session s;
        const std::string list = s.dir() + "\\Napplst.dat";
        writeFile(list, "OLD.EXE\r\n");
        App& app = s.startApp();
        // Held open by another program: the close cannot replace it. (A
        // read-only file would not do: Wine running as root writes it.)
        HANDLE held = CreateFileW(fromGbk(list).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        for (int answer : {IDNO, IDYES}) {
            app.clickAsync(process::ids::BtnExit);
            MsgBox error = app.waitMessageBox();
            EXPECT_EQ(error.caption, "Morvane");
            error.press(IDOK);
            MsgBox ask = app.waitMessageBox();
            EXPECT_EQ(ask.caption, "确认");
            EXPECT_NE(ask.text.find("正常程序列表"), std::string::npos) << ask.text;
            ask.press(answer);
            if (answer == IDNO) {
                app.sync();
                EXPECT_TRUE(app.process().running());
                EXPECT_TRUE(IsWindowVisible(app.hwnd()));
            }
        }
        EXPECT_TRUE(app.process().waitExit()) << "Yes did not end the program";
        CloseHandle(held);
        EXPECT_EQ(readFile(list), "OLD.EXE\r\n");
    });
}

// A Napplst.dat that start-up did not read is not what the list shows: a
// close leaves it as it is, and asks before replacing it once the user has
// changed the list.
TEST(SettingsE2E, ANormalListFileStartUpDidNotReadIsReplacedOnlyOnRequest) {
    run([] {
        CleanSettings clean;
        Session s;
        const std::string list = s.dir() + "\\Napplst.dat";
        const std::string stored = "OLD.EXE\r\nKEEP.EXE";
        writeFile(list, stored);
        for (int answer : {0, IDNO, IDYES}) {
            SCOPED_TRACE(answer);
            // Held open by another program while the program starts: it cannot be read.
            HANDLE held = CreateFileW(fromGbk(list).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
            ASSERT_NE(held, INVALID_HANDLE_VALUE);
            App& app = s.startApp(kStartMs, false);
            app.waitMessageBox(kStartMs).press(IDOK);
            ASSERT_TRUE(waitFor([&] { return IsWindowVisible(app.hwnd()) != 0; }));
            CloseHandle(held);
            ASSERT_EQ(app.count(settings::ids::ListApp), 0);
            if (answer == 0) {
                closeNormally(app);
                EXPECT_EQ(readFile(list), stored) << "closing without a change emptied it";
                continue;
            }
            app.click(process::ids::BtnRefresh);
            app.select(process::ids::List1, 0);
            const std::string line = app.line(process::ids::List1, 0);
            app.click(process::ids::BtnAddNormalAppList);
            app.clickAsync(process::ids::BtnExit);
            MsgBox ask = app.waitMessageBox();
            EXPECT_EQ(ask.caption, "确认");
            EXPECT_NE(ask.text.find("Napplst.dat"), std::string::npos) << ask.text;
            ask.press(answer);
            ASSERT_TRUE(app.process().waitExit()) << "No keeps the file and still closes";
            EXPECT_EQ(readFile(list), answer == IDYES ? line + "\r\n" : stored);
        }
    });
}

// Windows ends the program without a close at log-off: the end-of-session
// message saves, shows nothing, and never holds up the log-off.
TEST(SettingsE2E, TheEndOfTheSessionSaves) {
    run([] {
        CleanSettings clean;
        Session s;
        const std::string list = s.dir() + "\\Napplst.dat";
        writeFile(list, "A.EXE\r\n");
        App& app = s.startApp();
        app.selectTab(app::ids::PageControl1, 4);
        app.setText(settings::ids::Edit4, "9");
        EXPECT_EQ(send(app.hwnd(), WM_QUERYENDSESSION, 0, 0), TRUE);
        send(app.hwnd(), WM_ENDSESSION, FALSE, 0);
        EXPECT_EQ(setting("KillTime"), "<missing>") << "a cancelled log-off saves nothing";
        send(app.hwnd(), WM_ENDSESSION, TRUE, 0);
        EXPECT_EQ(setting("KillTime"), "9");
        EXPECT_EQ(readFile(list), "A.EXE\r\n");
        EXPECT_EQ(app.dialog(), nullptr);
    });
}

// No key reaches the pages under the password panel: Tab cycles the field
// and its two buttons, and keys meant for a control beneath go to the field.
TEST(PasswordE2E, ThePanelHoldsTheKeyboard) {
    run([] {
        CleanSettings clean;
        Session s;
        App& app = startLocked(s, "abc");
        const HWND inside[] = {app.control(settings::ids::Edit1), app.control(settings::ids::BitBtn1), app.control(settings::ids::BitBtn2)};
        auto held = [&] { return std::find(std::begin(inside), std::end(inside), app.focus()) != std::end(inside); };
        std::set<HWND> visited;
        for (int i = 0; i < 7; ++i) {
            app.pressKey(settings::ids::Edit1, VK_TAB);
            EXPECT_TRUE(held()) << "Tab " << i + 1 << " left the panel";
            visited.insert(app.focus());
        }
        EXPECT_EQ(visited.size(), 3u) << "Tab cycles all three";
        for (UINT vk : {VK_RIGHT, VK_END, VK_HOME, VK_DOWN, VK_TAB}) {
            app.pressKey(app::ids::PageControl1, vk);
            app.pressKey(process::ids::List1, vk);
            EXPECT_EQ(app.currentTab(app::ids::PageControl1), 0) << vk;
            EXPECT_EQ(app.selected(process::ids::List1), -1) << vk;
            EXPECT_TRUE(held()) << vk;
        }
        EXPECT_TRUE(app.visible(settings::ids::Panel2));

        app.setText(settings::ids::Edit1, "abc");
        app.pressKey(settings::ids::Edit1, VK_RETURN);
        ASSERT_TRUE(waitFor([&] { return !app.visible(settings::ids::Panel2); }));
        app.pressKey(app::ids::PageControl1, VK_RIGHT);
        EXPECT_TRUE(waitFor([&] { return app.currentTab(app::ids::PageControl1) == 1; }))
            << "the opened pages take keys again";
    });
}

TEST(PasswordE2E, ThePanelTakesOnlyTheStoredTextAndEnterAndEscapeWorkOnlyWhileItIsUp) {
    run([] {
        CleanSettings clean;
        Session s;
        App& app = startLocked(s, "abc");

        app.setText(settings::ids::Edit1, "ABC");
        app.clickAsync(settings::ids::BitBtn1);
        MsgBox wrong = app.waitMessageBox();
        EXPECT_EQ(wrong.caption, "密码错误");
        EXPECT_EQ(wrong.text, "密码错误，请重新输入！");
        EXPECT_EQ(wrong.buttons, std::vector<int>{IDOK});
        wrong.press(IDOK);
        app.sync();
        EXPECT_EQ(app.text(settings::ids::Edit1), "");
        EXPECT_EQ(app.focus(), app.control(settings::ids::Edit1));
        EXPECT_TRUE(app.visible(settings::ids::Panel2));

        app.setText(settings::ids::Edit1, "abc");
        app.pressKey(settings::ids::Edit1, VK_RETURN);
        EXPECT_TRUE(waitFor([&] { return !app.visible(settings::ids::Panel2); })) << "Enter did not press OK";
        app.pressKey(process::ids::List1, VK_ESCAPE);
        EXPECT_TRUE(app.process().running()) << "Escape reached the hidden panel's exit";
        EXPECT_EQ(app.dialog(), nullptr);
    });
}

TEST(PasswordE2E, EscapeOnThePanelLeavesWithoutSaving) {
    run([] {
        CleanSettings clean;
        Session s;
        App& app = startLocked(s);
        app.pressKey(settings::ids::Edit1, VK_ESCAPE);
        EXPECT_TRUE(app.process().waitExit());
        EXPECT_EQ(setting("KillTime"), "<missing>");
        EXPECT_FALSE(fileExists(s.dir() + "\\Napplst.dat"));

        // No password stored: an empty entry opens the pages.
        App& again = s.startApp();
        again.click(settings::ids::BitBtn1);
        EXPECT_FALSE(again.visible(settings::ids::Panel2));
    });
}

TEST(PasswordE2E, SettingOneStoresItOnlyWhenBothFieldsAgree) {
    run([] {
        CleanSettings clean;
        Session s;
        App& app = s.startApp();
        app.selectTab(app::ids::PageControl1, 4);
        app.click(settings::ids::Button5);
        ASSERT_EQ(app.currentTab(settings::ids::PageControl2), 2);

        // Both fields typed, "确认" pressed; the box it shows, answered.
        auto confirm = [&](const std::string& first, const std::string& second) {
            app.setText(settings::ids::Edit2, first);
            app.setText(settings::ids::Edit3, second);
            app.clickAsync(settings::ids::Button12);
            MsgBox box = app.waitMessageBox();
            box.press(IDOK);
            app.sync();
            return box;
        };
        MsgBox differ = confirm("one", "two");
        EXPECT_EQ(differ.caption, "提示");
        EXPECT_EQ(differ.text, "两次输入的密码不一致，请重新输入！");
        EXPECT_EQ(app.text(settings::ids::Edit2) + app.text(settings::ids::Edit3), "");
        EXPECT_EQ(setting("Pass"), "<missing>");

        MsgBox done = confirm("密码", "密码");
        EXPECT_EQ(done.caption, "成功");
        EXPECT_EQ(done.text, "密码设置成功！");
        EXPECT_EQ(setting("Pass"), "密码");
        EXPECT_EQ(app.text(settings::ids::Edit2) + app.text(settings::ids::Edit3), "");
        app.click(settings::ids::Button13);
        EXPECT_EQ(app.currentTab(settings::ids::PageControl2), 0);
    });
}

}  // namespace
