// The settings store and the password gate on the simulated machine: what
// start-up reads and writes back, what each box stores, the closing save,
// and the password panel and page.
#include <gtest/gtest.h>

#include "common/normal_list.h"
#include "settings/store.h"
#include "app_fixture.h"

namespace {

using V = std::vector<std::string>;
const platform::HKey HKCU = platform::RootKey::CurrentUser;
const platform::HKey HKLM = platform::RootKey::LocalMachine;
const char* const kKey = "Software\\Zentrek";
const char* const kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char* const kExe = "C:\\Morvane\\Morvane.exe";
const char* const kList = "C:\\Morvane\\Napplst.dat";

struct Settings : AppFixture {
    Settings() { machine.addProcess("[System Process]"); }
    void set(const std::string& name, const std::string& text) { machine.setString(HKCU, kKey, name, text); }
    std::string get(const std::string& name) { return machine.stringValue(HKCU, kKey, name); }
};

TEST(Settings, StartReadsEverythingAndWritesBackOnlyWhatTheBoxesStore) {
    Settings f;
    f.set("RunByPass", "yes");
    f.set("RunAutoMin", "yes");
    f.set("KillTime", "30");
    f.machine.setString(HKLM, kRun, "Zentrek", kExe);
    f.machine.addFile(kList, "A.EXE\r\nB.EXE\r\n");
    f.machine.clearCalls();
    TfrmMain& w = f.start();

    EXPECT_TRUE(w.programSettings.generalSettings.ChkRunByPass.checked());
    EXPECT_TRUE(w.passwordPanel.Panel2.visible());
    EXPECT_FALSE(w.N1.enabled);
    EXPECT_TRUE(w.programSettings.generalSettings.ChkMin.checked());
    EXPECT_TRUE(w.pageHost.StartMinimized) << "consumed at the first paint";
    EXPECT_EQ(w.programSettings.generalSettings.Edit4.text(), "30");
    EXPECT_EQ(w.restriction.Timer1.interval(), 30000u);
    EXPECT_TRUE(w.programSettings.generalSettings.ChkAutoRun.checked());
    EXPECT_EQ(w.programSettings.normalPrograms.ListApp.items(), (V{"A.EXE", "B.EXE"}));
    // The handlers wrote back what they found, in the order of the boxes; nothing else.
    EXPECT_EQ(f.machine.countCalls("RegSetValueExA"), 3u);
    EXPECT_EQ(f.get("RunByPass"), "yes");
    EXPECT_EQ(f.get("RunAutoMin"), "yes");
    EXPECT_EQ(f.machine.stringValue(HKLM, kRun, "Zentrek"), kExe);
    EXPECT_TRUE(f.application.messages().empty());
    EXPECT_EQ(f.machine.openKeys(), 0);
}

TEST(Settings, AMissingKeyIsCreatedAndTheFirstCloseWritesTheDesignValues) {
    Settings f;
    TfrmMain& w = f.start();
    EXPECT_TRUE(f.machine.hasKey(HKCU, kKey));
    EXPECT_FALSE(w.programSettings.generalSettings.ChkRunByPass.checked() || w.programSettings.generalSettings.ChkMin.checked() || w.programSettings.generalSettings.ChkAutoRun.checked());
    EXPECT_FALSE(w.passwordPanel.Panel2.visible());
    EXPECT_EQ(f.machine.countCalls("RegSetValueExA"), 0u);
    w.process.BtnExit.userClick();
    EXPECT_TRUE(f.application.terminated());
    EXPECT_EQ(f.get("KillTime"), "1");
    ASSERT_NE(f.machine.file(kList), nullptr) << "an empty list still writes its file";
    EXPECT_EQ(f.machine.bytesOf(kList), "");
}

TEST(Settings, AFieldLeftWithoutANumberIsNeverStored) {
    for (const auto& [typed, stored] : {std::pair{"abc", "1"}, {"45", "30"}, {"12", "12"}}) {
        Settings f;
        TfrmMain& w = f.start();
        w.programSettings.generalSettings.Edit4.setText(typed);
        w.process.BtnExit.userClick();
        EXPECT_EQ(f.get("KillTime"), stored) << typed;
    }
}

TEST(Settings, OnlyAnExactYesAndAnIntervalOfOneToThirtyCount) {
    for (const char* t : {"0", "31", "-5"}) {
        Settings f;
        f.set("RunByPass", "Yes");
        f.set("RunAutoMin", "YES");
        f.set("KillTime", t);
        TfrmMain& w = f.start();
        EXPECT_FALSE(w.programSettings.generalSettings.ChkRunByPass.checked()) << t;
        EXPECT_FALSE(w.passwordPanel.Panel2.visible()) << t;
        EXPECT_FALSE(w.programSettings.generalSettings.ChkMin.checked()) << t;
        EXPECT_FALSE(w.pageHost.StartMinimized) << t;
        EXPECT_EQ(w.programSettings.generalSettings.Edit4.text(), "1") << t;
        EXPECT_EQ(w.restriction.Timer1.interval(), 1000u) << t;
        EXPECT_TRUE(f.application.errors().empty()) << t;
        // Ticking by hand stores the exact word.
        w.PageControl1.userSelect(4);
        w.programSettings.generalSettings.ChkRunByPass.userClick();
        EXPECT_EQ(f.get("RunByPass"), "yes");
        w.programSettings.generalSettings.ChkRunByPass.userClick();
        EXPECT_EQ(f.get("RunByPass"), "no");
    }
}

// Each stored item is read on its own; a value that could not be read is
// never written back (a RunByPass of another type once cost the interval).
TEST(Settings, ABadValueIsShownAndTheRestOfStartUpGoesOn) {
    struct Case {
        const char* name;
        std::uint32_t type;
        std::string data;
        const char* error;
        std::string killTimeAfterClose;
    } cases[] = {
        {"RunByPass", platform::RegType::Dword, std::string("\1\0\0\0", 4), "Invalid data type for 'RunByPass'", "20"},
        {"KillTime", platform::RegType::Binary, "\x05", "Invalid data type for 'KillTime'", "\x05"},
        {"KillTime", platform::RegType::String, std::string("abc\0", 4), "'abc' is not a valid integer value", "1"},
        {"KillTime", platform::RegType::String, std::string("12 \0", 4), "'12 ' is not a valid integer value", "1"},
    };
    for (const Case& c : cases) {
        Settings f;
        f.set("KillTime", "20");
        f.set("RunAutoMin", "yes");
        f.machine.setValue(HKCU, kKey, c.name, c.type, c.data);
        f.machine.addFile(kList, "A.EXE\r\n");
        TfrmMain& w = f.start();
        EXPECT_EQ(f.application.errors(), V{c.error});
        EXPECT_TRUE(w.programSettings.generalSettings.ChkMin.checked()) << c.error;
        EXPECT_EQ(w.programSettings.normalPrograms.ListApp.count(), 1) << "the list file is read all the same";
        EXPECT_EQ(w.process.List1.count(), 1) << "the process list still comes";
        EXPECT_EQ(w.restriction.List3.count(), w.process.List1.count());
        EXPECT_EQ(f.machine.openKeys(), 0);
        w.close();
        EXPECT_EQ(f.get("KillTime"), c.killTimeAfterClose) << c.error;
    }
}

TEST(Settings, IntegersAreDecimalWithBlanksBeforeAndASign) {
    EXPECT_EQ(settings::toInteger("30"), 30);
    EXPECT_EQ(settings::toInteger("  -5"), -5);
    EXPECT_EQ(settings::toInteger("+007"), 7);
    EXPECT_EQ(settings::toInteger("-2147483648"), -2147483647 - 1);
    for (const char* bad : {"", " ", "-", "1.5", "0x10", "2147483648", "99999999999999999999"})
        EXPECT_THROW(settings::toInteger(bad), base::Error) << bad;
}

TEST(Settings, TheRunValueCountsOnlyForThisCopyAndTheBoxOwnsIt) {
    for (const char* other : {"C:\\Other\\Morvane.exe", "c:\\morvane\\morvane.exe"}) {
        Settings f;
        f.machine.setString(HKLM, kRun, "Zentrek", other);
        TfrmMain& w = f.start();
        EXPECT_FALSE(w.programSettings.generalSettings.ChkAutoRun.checked()) << other;
        EXPECT_EQ(f.machine.stringValue(HKLM, kRun, "Zentrek"), other) << "left as it was";
        w.PageControl1.userSelect(4);
        w.programSettings.generalSettings.ChkAutoRun.userClick();
        EXPECT_EQ(f.machine.stringValue(HKLM, kRun, "Zentrek"), kExe);
        w.programSettings.generalSettings.ChkAutoRun.userClick();
        EXPECT_FALSE(f.machine.hasValue(HKLM, kRun, "Zentrek"));
        w.programSettings.generalSettings.ChkAutoRun.userClick();
        f.machine.removeKey(HKLM, kRun);  // another tool took the value away
        f.machine.setString(HKLM, kRun, "Other", "other.exe");
        w.programSettings.generalSettings.ChkAutoRun.userClick();  // a value already gone is no failure
        EXPECT_TRUE(f.application.errors().empty());
    }
}

// The tick stores this program's path or says why not: a Run key that will
// not open, or a path longer than the system hands out (once stored empty).
TEST(Settings, ATickThatCannotStoreThisProgramSaysSo) {
    for (bool longPath : {false, true}) {
        Settings f;
        if (longPath) {
            f.machine.setExePath("C:\\" + std::string(32767, 'a') + "\\Morvane.exe");
        } else {
            f.machine.setString(HKLM, kRun, "Zentrek", kExe);
            f.machine.setKeyUnopenable(HKLM, kRun, true);
        }
        TfrmMain& w = f.start();
        EXPECT_FALSE(w.programSettings.generalSettings.ChkAutoRun.checked());
        EXPECT_TRUE(f.application.errors().empty());
        w.PageControl1.userSelect(4);
        w.programSettings.generalSettings.ChkAutoRun.userClick();
        EXPECT_EQ(f.application.errors(), V{"Failed to set data for 'Zentrek'"});
        EXPECT_EQ(f.machine.hasValue(HKLM, kRun, "Zentrek"), !longPath);
        EXPECT_TRUE(w.programSettings.generalSettings.ChkAutoRun.checked()) << "the box keeps the user's tick";
    }
}

TEST(Closing, AFailedSaveAsksWhetherToLeaveWithoutIt) {
    for (int answer : {ui::answer::No, ui::answer::Yes, 0}) {
        Settings f;
        f.machine.addFile(kList, "OLD.EXE\r\n", platform::FileAttr::ReadOnly);
        TfrmMain& w = f.start();
        w.programSettings.normalPrograms.ListApp.setItems({"NEW.EXE"});
        f.application.answerMessage(ui::answer::Ok);  // the error box
        f.application.answerMessage(answer);
        w.process.BtnExit.userClick();
        ASSERT_EQ(f.application.errors().size(), 1u) << answer;
        const auto& asked = lastOf(f.application.messages());
        EXPECT_EQ(asked.caption, "确认");
        EXPECT_NE(asked.text.find("正常程序列表"), std::string::npos);
        EXPECT_EQ(f.application.terminated(), answer == ui::answer::Yes) << answer;
        EXPECT_EQ(w.visible(), answer != ui::answer::Yes) << answer;
        EXPECT_EQ(f.machine.bytesOf(kList), "OLD.EXE\r\n");
        EXPECT_EQ(f.get("KillTime"), "1") << "written before the file";
    }
}

// The interval start-up could not read stayed unwritten once the user had
// set another and it was stored: set back, it was never written again.
TEST(Closing, AnIntervalStoredOnceIsStoredAgainAfterAStartThatCouldNotReadIt) {
    Settings f;
    f.machine.setValue(HKCU, kKey, "KillTime", platform::RegType::Binary, "\x05");
    f.machine.addFile(kList, "OLD.EXE\r\n", platform::FileAttr::ReadOnly);
    TfrmMain& w = f.start();
    // The list cannot be saved: the first close stays, the second leaves.
    for (int seconds : {5, 1}) {
        w.programSettings.generalSettings.UpDown1.setPosition(seconds);
        f.application.answerMessage(ui::answer::Ok);
        f.application.answerMessage(seconds == 5 ? ui::answer::No : ui::answer::Yes);
        w.process.BtnExit.userClick();
        ASSERT_EQ(f.application.terminated(), seconds == 1);
        EXPECT_EQ(f.get("KillTime"), std::to_string(seconds));
    }
}

// With the program's folder out of sight, every close once showed an error
// and asked about a list nobody had changed.
TEST(Closing, AListNobodyChangedIsNotAskedAboutWhenItsFolderCannotBeLookedAt) {
    Settings f;
    f.machine.addDirectory("C:\\Morvane");
    f.machine.file("C:\\Morvane")->unreadable = true;
    TfrmMain& w = f.start();
    ASSERT_EQ(f.application.errors().size(), 1u);
    w.process.BtnExit.userClick();
    EXPECT_TRUE(f.application.terminated());
    EXPECT_EQ(f.application.messages().size(), 1u);
    EXPECT_EQ(f.get("KillTime"), "1");
}

// Each item is saved on its own: an interval that cannot be stored once
// kept the list from its file.
TEST(Closing, AFailedIntervalWriteNeverKeepsTheListFromItsFile) {
    for (bool listFails : {false, true}) {
        Settings f;
        if (listFails) f.machine.addFile(kList, "OLD.EXE\r\n", platform::FileAttr::ReadOnly);
        TfrmMain& w = f.start();
        w.programSettings.normalPrograms.ListApp.setItems({"NEW.EXE"});
        f.machine.setKeyReadOnly(HKCU, kKey, true);
        w.process.BtnExit.userClick();
        const V shown = listFails ? V{"Failed to set data for 'KillTime'", "File access denied"}
                                  : V{"Failed to set data for 'KillTime'"};
        EXPECT_EQ(f.application.errors(), shown);
        EXPECT_EQ(lastOf(f.application.messages()).text,
                  listFails ? "设置和正常程序列表未能保存。是否不保存而直接退出？" : "设置未能保存。是否不保存而直接退出？");
        EXPECT_EQ(f.machine.bytesOf(kList), listFails ? "OLD.EXE\r\n" : "NEW.EXE\r\n");
    }
}

// Napplst.dat that start-up did not read holds what the list does not show:
// closing leaves it as it is, unless the user changed the list and says Yes.
// So does the copy a cut save left aside on 9x, which once counted for no list.
TEST(Closing, ANormalListFileStartUpDidNotReadIsReplacedOnlyOnRequest) {
    enum Why { Unreadable, OnlyPutAside };
    for (Why why : {Unreadable, OnlyPutAside}) {
        for (int answer : {-1, ui::answer::No, ui::answer::Yes}) {
            Settings f;
            const std::string kept = why == Unreadable ? kList : std::string(kList) + "~old";
            f.machine.addFile(kept, "OLD.EXE\r\nKEEP.EXE");
            f.machine.file(kept)->unreadable = true;
            TfrmMain& w = f.start();
            ASSERT_EQ(f.application.errors().size(), 1u);
            ASSERT_EQ(w.programSettings.normalPrograms.ListApp.count(), 0);
            f.machine.file(kept)->unreadable = false;
            const auto shown = f.application.messages().size();
            if (answer != -1) {
                w.programSettings.normalPrograms.ListApp.add("NEW.EXE");
                f.application.answerMessage(answer);
            }
            w.process.BtnExit.userClick();
            EXPECT_TRUE(f.application.terminated());
            EXPECT_EQ(f.get("KillTime"), "1");
            const std::string context = std::to_string(why) + "/" + std::to_string(answer);
            if (answer == -1) {
                EXPECT_EQ(f.application.messages().size(), shown) << "no question: " << context;
            } else {
                ASSERT_EQ(f.application.messages().size(), shown + 1) << context;
                EXPECT_EQ(lastOf(f.application.messages()).caption, "确认");
                EXPECT_EQ(lastOf(f.application.messages()).text, common::kUnloadedListQuestion);
            }
            if (answer == ui::answer::Yes) {
                EXPECT_EQ(f.machine.bytesOf(kList), "NEW.EXE\r\n") << context;
            } else {
                EXPECT_EQ(f.machine.bytesOf(kept), "OLD.EXE\r\nKEEP.EXE") << context;
                EXPECT_EQ(f.machine.file(kList) != nullptr, why == Unreadable) << context;
            }
        }
    }
}

// A save on Windows 95 to Me cut off between its two renames leaves the list
// only in the file put aside; the next start reads it from there.
TEST(Closing, ANormalListPutAsideByACutSaveIsReadAtTheNextStart) {
    AppFixture f(sim::Family::Win9x);
    f.machine.addFile(std::string(kList) + "~old", "A.EXE\r\nB.EXE\r\n");
    TfrmMain& w = f.start();
    EXPECT_EQ(w.programSettings.normalPrograms.ListApp.items(), (V{"A.EXE", "B.EXE"}));
    w.process.BtnExit.userClick();
    ASSERT_NE(f.machine.file(kList), nullptr);
    EXPECT_EQ(f.machine.bytesOf(kList), "A.EXE\r\nB.EXE\r\n");

    // Beside the file a save wrote (its delete of the old copy failed), the
    // copy is stale: once read first, the user's saved changes were lost.
    AppFixture g(sim::Family::Win9x);
    g.machine.addFile(kList, "NEW.EXE\r\n");
    g.machine.addFile(std::string(kList) + "~old", "OLD.EXE\r\n");
    EXPECT_EQ(g.start().programSettings.normalPrograms.ListApp.items(), V{"NEW.EXE"});
}

// With no file to keep, the close writes the list as ever.
TEST(Closing, AMissingNormalListFileIsWrittenAlsoAfterAnUnfinishedStart) {
    Settings f;
    f.set("KillTime", "abc");
    TfrmMain& w = f.start();
    ASSERT_EQ(f.application.errors().size(), 1u);
    w.process.BtnExit.userClick();
    ASSERT_NE(f.machine.file(kList), nullptr);
    EXPECT_EQ(f.machine.bytesOf(kList), "");
    EXPECT_EQ(f.application.messages().size(), 1u) << "no question";
}

// The end of the Windows session saves like a close, shows nothing, and never
// holds up the log-off; a cancelled log-off saves nothing.
TEST(Closing, TheEndOfTheSessionSavesWithoutABox) {
    constexpr std::uint32_t kQueryEndSession = 0x11, kEndSession = 0x16;
    Settings f;
    f.machine.addFile(kList, "A.EXE\r\n");
    TfrmMain& w = f.start();
    w.programSettings.normalPrograms.ListApp.add("B.EXE");
    w.programSettings.generalSettings.UpDown1.setPosition(12);
    EXPECT_EQ(f.application.sendMessage(w.handle(), kQueryEndSession, 0, 0), 1);
    f.application.sendMessage(w.handle(), kEndSession, 0, 0);
    EXPECT_FALSE(f.machine.hasValue(HKCU, kKey, "KillTime")) << "the log-off was cancelled";
    f.application.sendMessage(w.handle(), kEndSession, 1, 0);
    EXPECT_EQ(f.get("KillTime"), "12");
    EXPECT_EQ(f.machine.bytesOf(kList), "A.EXE\r\nB.EXE\r\n");
    EXPECT_TRUE(f.application.messages().empty());

    // A save that fails is passed over; an unread list file is left alone.
    Settings g;
    g.machine.addFile(kList, "OLD.EXE\r\n");
    g.machine.file(kList)->unreadable = true;
    TfrmMain& v = g.start();
    g.machine.file(kList)->unreadable = false;
    v.programSettings.normalPrograms.ListApp.add("NEW.EXE");
    g.machine.setKeyReadOnly(HKCU, kKey, true);
    const auto shown = g.application.messages().size();
    g.application.sendMessage(v.handle(), kEndSession, 1, 0);
    EXPECT_EQ(g.application.messages().size(), shown);
    EXPECT_EQ(g.machine.bytesOf(kList), "OLD.EXE\r\n");
    g.machine.setKeyReadOnly(HKCU, kKey, false);
    g.application.sendMessage(v.handle(), kEndSession, 1, 0);
    EXPECT_EQ(g.get("KillTime"), "1");
    EXPECT_EQ(g.machine.bytesOf(kList), "OLD.EXE\r\n");

    // Agreed to once, replacing the unread file is never asked again nor skipped.
    g.machine.setKeyReadOnly(HKCU, kKey, true);
    for (int answer : {ui::answer::Yes, ui::answer::Ok, ui::answer::No}) g.application.answerMessage(answer);
    v.process.BtnExit.userClick();
    ASSERT_FALSE(g.application.terminated());
    v.programSettings.normalPrograms.ListApp.add("MORE.EXE");
    g.application.sendMessage(v.handle(), kEndSession, 1, 0);
    EXPECT_EQ(g.machine.bytesOf(kList), "NEW.EXE\r\nMORE.EXE\r\n");
}

struct Gate : Settings {
    TfrmMain& startLocked(const char* pass = nullptr) {
        set("RunByPass", "yes");
        if (pass) set("Pass", pass);
        return start();
    }
};

TEST(Password, TheRightTextOpensThePagesAndAWrongOneIsAskedAgain) {
    Gate f;
    TfrmMain& w = f.startLocked("secret");
    ASSERT_TRUE(w.passwordPanel.Panel2.visible());
    for (const char* wrong : {"SECRET", "secret ", ""}) {
        w.passwordPanel.Edit1.setText(wrong);
        w.passwordPanel.BitBtn1.userClick();
        EXPECT_TRUE(w.passwordPanel.Panel2.visible()) << wrong;
        EXPECT_EQ(w.passwordPanel.Edit1.text(), "") << wrong;
        EXPECT_TRUE(w.passwordPanel.Edit1.focused()) << wrong;
    }
    ASSERT_EQ(f.application.messages().size(), 3u);
    EXPECT_EQ(f.application.messages()[0].text, "密码错误，请重新输入！");
    EXPECT_EQ(f.application.messages()[0].caption, "密码错误");
    // Read afresh at every press.
    f.set("Pass", "changed");
    w.passwordPanel.Edit1.setText("changed");
    w.passwordPanel.BitBtn1.userClick();
    EXPECT_FALSE(w.passwordPanel.Panel2.visible());
    EXPECT_TRUE(w.N1.enabled);
    EXPECT_EQ(w.passwordPanel.Edit1.text(), "changed");
}

// The tick writes the value back; a write that fails must not leave the
// pages open behind a panel that never went up.
TEST(Password, TheGateIsUpBeforeTheTicksWriteBackCanFail) {
    Gate f;
    f.machine.refuseChangesAfter(HKCU, kKey, 0);
    TfrmMain& w = f.startLocked("secret");
    EXPECT_EQ(f.application.errors(), V{"Failed to set data for 'RunByPass'"});
    EXPECT_TRUE(w.passwordPanel.Panel2.visible());
    EXPECT_FALSE(w.N1.enabled);
}

// Settings that cannot be read do not say that no password is asked for: the
// gate stays up, and the password cannot read as empty.
TEST(Password, SettingsThatCannotBeReadKeepTheGateUp) {
    Gate f;
    f.machine.setKeyUnopenable(HKCU, kKey, true);
    TfrmMain& w = f.startLocked("secret");
    EXPECT_EQ(f.application.errors(), V{"Failed to open key Software\\Zentrek"});
    EXPECT_TRUE(w.passwordPanel.Panel2.visible());
    EXPECT_FALSE(w.N1.enabled);
    w.passwordPanel.BitBtn1.userClick();
    EXPECT_EQ(f.application.errors().size(), 2u);
    EXPECT_TRUE(w.passwordPanel.Panel2.visible()) << "an empty entry passed a password nobody could read";

    Gate g;
    g.machine.failReadsAfter(HKCU, kKey, 0);
    TfrmMain& v = g.startLocked("secret");
    EXPECT_EQ(g.application.errors(), (V{"Failed to get data for 'RunByPass'", "Failed to get data for 'RunAutoMin'",
                                         "Failed to get data for 'KillTime'"}));
    EXPECT_TRUE(v.passwordPanel.Panel2.visible());
}

TEST(Password, NoStoredPasswordLetsAnEmptyEntryIn) {
    Gate f;
    TfrmMain& w = f.startLocked();
    w.userKey(ui::VK_RETURN_KEY);
    EXPECT_FALSE(w.passwordPanel.Panel2.visible());
    EXPECT_TRUE(f.application.messages().empty());
}

TEST(Password, LeavingThroughThePanelSavesNothing) {
    Gate f;
    TfrmMain& w = f.startLocked("x");
    w.userKey(ui::VK_ESCAPE_KEY);
    EXPECT_TRUE(f.application.terminated());
    EXPECT_FALSE(f.machine.hasValue(HKCU, kKey, "KillTime"));
    EXPECT_EQ(f.machine.file(kList), nullptr);
}

TEST(Password, SettingOneNeedsTheSameTextTwice) {
    Settings f;
    TfrmMain& w = f.start();
    w.PageControl1.userSelect(4);
    w.programSettings.generalSettings.Button5.userClick();
    EXPECT_EQ(w.programSettings.PageControl2.activePage(), &w.programSettings.passwordSettings.TabSheet9);

    w.programSettings.passwordSettings.Edit2.setText("abc");
    w.programSettings.passwordSettings.Edit3.setText("abd");
    w.programSettings.passwordSettings.Button12.userClick();
    EXPECT_EQ(lastOf(f.application.messages()).text, "两次输入的密码不一致，请重新输入！");
    EXPECT_EQ(lastOf(f.application.messages()).caption, "提示");
    EXPECT_EQ(w.programSettings.passwordSettings.Edit2.text() + w.programSettings.passwordSettings.Edit3.text(), "");
    EXPECT_TRUE(w.programSettings.passwordSettings.Edit2.focused());
    EXPECT_FALSE(f.machine.hasValue(HKCU, kKey, "Pass"));

    // Enter walks from the first field to the second, then to the button.
    w.programSettings.passwordSettings.Edit2.setFocus();
    w.programSettings.passwordSettings.Edit2.userType("abc\r");
    EXPECT_TRUE(w.programSettings.passwordSettings.Edit3.focused());
    w.programSettings.passwordSettings.Edit3.userType("abc\r");
    EXPECT_TRUE(w.programSettings.passwordSettings.Button12.focused());
    EXPECT_FALSE(f.machine.hasValue(HKCU, kKey, "Pass")) << "Enter only moves the focus";
    w.programSettings.passwordSettings.Button12.userClick();
    EXPECT_EQ(f.get("Pass"), "abc");
    EXPECT_EQ(lastOf(f.application.messages()).text, "密码设置成功！");
    EXPECT_EQ(lastOf(f.application.messages()).caption, "成功");
    EXPECT_EQ(w.programSettings.PageControl2.activePage(), &w.programSettings.passwordSettings.TabSheet9);
    EXPECT_FALSE(w.programSettings.generalSettings.ChkRunByPass.checked()) << "setting a password does not switch the gate on";

    w.programSettings.passwordSettings.Button13.userClick();
    EXPECT_EQ(w.programSettings.PageControl2.activePage(), &w.programSettings.generalSettings.TabSheet7);
}

TEST(Password, AFailedWriteIsShownAfterTheFieldsWereEmptied) {
    Settings f;
    TfrmMain& w = f.start();
    f.machine.setKeyReadOnly(HKCU, kKey, true);
    w.PageControl1.userSelect(4);
    w.programSettings.PageControl2.userSelect(2);
    w.programSettings.passwordSettings.Edit2.setText("abc");
    w.programSettings.passwordSettings.Edit3.setText("abc");
    w.programSettings.passwordSettings.Button12.userClick();
    EXPECT_EQ(f.application.errors(), V{"Failed to set data for 'Pass'"});
    EXPECT_EQ(w.programSettings.passwordSettings.Edit2.text() + w.programSettings.passwordSettings.Edit3.text(), "");
    for (const auto& m : f.application.messages()) EXPECT_NE(m.caption, "成功");
}

}  // namespace
