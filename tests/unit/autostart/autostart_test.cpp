// The autostart page on the simulated machine: the list as a working copy of
// the five keys, its edits, and an apply that never costs an entry.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <tuple>

#include "app_fixture.h"
#include "autostart/entries.h"

namespace {

const platform::HKey HKLM = platform::RootKey::LocalMachine;
const std::string kBase = "Software\\Microsoft\\Windows\\CurrentVersion\\";
const std::string kRun = kBase + "Run", kServices = kBase + "RunServices", kOnce = kBase + "RunOnce",
                  kOnceEx = kBase + "RunOnceEx", kServicesOnce = kBase + "RunServicesOnce";

// name, location, source
using Row = std::tuple<std::string, std::string, std::string>;
using Rows = std::vector<Row>;
// Every key's existence and values (type and bytes), to prove nothing moved.
using Hive = std::map<std::string, std::map<std::string, std::pair<std::uint32_t, std::string>>>;

struct Autostart : AppFixture {
    void sz(const std::string& key, const std::string& name, const std::string& text) {
        machine.setString(HKLM, key, name, text);
    }
    void expand(const std::string& key, const std::string& name, const std::string& text) {
        machine.setValue(HKLM, key, name, platform::RegType::ExpandString, text + '\0');
    }
    TfrmMain& open() {
        TfrmMain& w = start();
        w.PageControl1.userSelect(3);
        return w;
    }
    Rows rows() const {
        Rows out;
        const auto& l = form->autostart.ListView1;
        for (int i = 0; i < l.count(); ++i) out.emplace_back(l.itemCaption(i), l.subItem(i, 0), l.subItem(i, 1));
        return out;
    }
    std::uint32_t typeOf(const std::string& key, const std::string& name) const {
        return machine.valueType(HKLM, key, name);
    }
    Hive hive() {
        Hive h;
        platform::HKey k = 0;
        for (const auto& key : autostart::AutostartKeys) {
            if (!machine.regOpenKeyEx(HKLM, key.path, platform::KeyAccess::Read, k)) continue;
            auto& values = h[key.path];
            std::string name;
            for (std::uint32_t i = 0; machine.regEnumValue(k, i, name).ok(); ++i) {
                platform::RegValue v;
                EXPECT_TRUE(machine.regQueryValueEx(k, name, v));
                values[name] = {v.type, v.data};
            }
            EXPECT_TRUE(machine.regCloseKey(k));
        }
        return h;
    }
    void type(TfrmMain& w, const std::string& name, const std::string& location) {
        w.autostart.Edit5.setText(name);
        w.autostart.Edit6.setText(location);
    }
};

TEST(Autostart, StartUpListsTheStringValuesOfTheFiveKeysInTheirOrder) {
    Autostart f;
    f.sz(kOnce, "Setup", "setup.exe /continue");
    f.sz(kRun, "Tool", "C:\\Tools\\tool.exe");
    f.sz(kRun, "", "default.exe");
    f.expand(kRun, "Sys", "%SystemRoot%\\sys.exe");
    f.machine.setValue(HKLM, kRun, "Blank", platform::RegType::String, "");
    f.sz(kOnceEx + "\\0001", "Step", "inside a subkey");
    f.sz(kServicesOnce, "Svc", "svc.exe");
    TfrmMain& w = f.open();
    EXPECT_EQ(f.rows(), (Rows{{"Tool", "C:\\Tools\\tool.exe", "Run"},
                              {"", "default.exe", "Run"},
                              {"Sys", "%SystemRoot%\\sys.exe", "Run"},
                              {"Blank", "", "Run"},
                              {"Setup", "setup.exe /continue", "RunOnce"},
                              {"Svc", "svc.exe", "RunServicesOnce"}}));
    EXPECT_EQ(w.autostart.ListView1.itemIndex(), -1);
    EXPECT_TRUE(f.application.messages().empty());
    EXPECT_FALSE(f.machine.hasKey(HKLM, kServices)) << "reading creates nothing";
    EXPECT_EQ(f.machine.openKeys(), 0);

    // Refresh drops what was not applied and keeps the edit fields.
    f.sz(kServices, "New", "new.exe");
    w.autostart.ListView1.userClick(0);
    w.autostart.Button19.userClick();
    w.autostart.Button14.userClick();
    EXPECT_EQ(f.rows().size(), 7u);
    EXPECT_EQ(f.rows()[0], (Row{"Tool", "C:\\Tools\\tool.exe", "Run"}));
    EXPECT_EQ(f.rows()[4], (Row{"New", "new.exe", "RunServices"}));
    EXPECT_EQ(w.autostart.Edit5.text(), "Tool") << "the click copied the row; refresh leaves the fields";
}

// A value of another type is named in the standard error box, yet every
// string value after it is listed, start-up goes on, and apply leaves it
// and everything the list held where they were.
TEST(Autostart, AValueOfAnotherTypeIsReportedAndCostsNothing) {
    Autostart f;
    f.machine.addProcess("[System Process]");
    f.sz(kRun, "Before", "before.exe");
    f.machine.setValue(HKLM, kRun, "Flag", platform::RegType::Dword, std::string("\1\0\0\0", 4));
    f.machine.setValue(HKLM, kRun, "Empty", platform::RegType::Binary, "");
    f.sz(kRun, "After", "after.exe");
    f.machine.setValue(HKLM, kOnce, "List", platform::RegType::MultiString, std::string("a\0b\0\0", 5));
    f.sz(kOnce, "Later", "later.exe");
    TfrmMain& w = f.open();
    EXPECT_EQ(f.application.errors(),
              (std::vector<std::string>{"Invalid data type for 'Flag'\r\nInvalid data type for 'List'"}));
    EXPECT_EQ(f.rows(), (Rows{{"Before", "before.exe", "Run"},
                              {"After", "after.exe", "Run"},
                              {"Later", "later.exe", "RunOnce"}}));
    EXPECT_GT(w.process.List1.count(), 0) << "start-up went on to the process list";

    const Hive before = f.hive();
    w.autostart.Button17.userClick();
    Hive after = f.hive();
    EXPECT_EQ(after[kRun], before.at(kRun));
    EXPECT_EQ(after[kOnce], before.at(kOnce));
    EXPECT_EQ(f.application.errors().size(), 1u);
}

TEST(Autostart, NewAndChangeCheckBothFieldsTrimmedAndKeepTheSource) {
    Autostart f;
    f.sz(kOnce, "Once", "once.exe");
    TfrmMain& w = f.open();
    // Change and delete without a selected row: nothing, not even a check.
    f.type(w, "", "");
    w.autostart.Button21.userClick();
    w.autostart.Button19.userClick();
    EXPECT_TRUE(f.application.messages().empty());
    EXPECT_EQ(f.rows().size(), 1u);

    w.autostart.ListView1.userClick(0);  // a RunOnce row selected: new rows still go to Run
    for (ui::TButton* b : {&w.autostart.Button18, &w.autostart.Button21}) {
        f.application.clearRecords();
        f.type(w, " \t ", "x.exe");
        b->userClick();
        f.type(w, " Name ", "\r\n");
        b->userClick();
        ASSERT_EQ(f.application.messages().size(), 2u);
        EXPECT_EQ(f.application.messages()[0].text, "请输入程序名称");
        EXPECT_EQ(f.application.messages()[1].text, "请输入程序位置");
        for (const auto& m : f.application.messages()) {
            EXPECT_EQ(m.caption, "提示");
            EXPECT_EQ(m.flags, ui::mb::Ok);
        }
        EXPECT_TRUE(w.autostart.Edit6.focused());
        EXPECT_EQ(f.rows().size(), 1u);
    }
    f.type(w, "  ", "y");
    w.autostart.Button18.userClick();
    EXPECT_TRUE(w.autostart.Edit5.focused());

    f.type(w, "  Name ", " C:\\a b\\n.exe  ");
    w.autostart.Button18.userClick();
    f.type(w, "Renamed", "renamed.exe");
    w.autostart.Button21.userClick();
    EXPECT_EQ(f.rows(), (Rows{{"Renamed", "renamed.exe", "RunOnce"}, {"Name", "C:\\a b\\n.exe", "Run"}}));
    EXPECT_EQ(w.autostart.Edit5.text(), "Renamed") << "the fields keep their text";
    w.autostart.ListView1.userClick(1);
    EXPECT_EQ(w.autostart.Edit6.text(), "C:\\a b\\n.exe");
    w.autostart.Button19.userClick();
    EXPECT_EQ(f.rows(), (Rows{{"Renamed", "renamed.exe", "RunOnce"}}));
    EXPECT_EQ(f.machine.stringValue(HKLM, kOnce, "Once"), "once.exe") << "only apply writes";
}

TEST(Autostart, BrowseFillsTheNameOnlyIntoAnEmptyField) {
    Autostart f;
    TfrmMain& w = f.open();
    f.application.answerDialog("C:\\程序\\工具.exe");
    w.autostart.Button20.userClick();
    ASSERT_EQ(f.application.dialogs().size(), 1u);
    EXPECT_EQ(f.application.dialogs()[0].title, "添加自启动程序");
    EXPECT_EQ(f.application.dialogs()[0].filter, "程序文件|*.exe|所有文件|*.*");
    EXPECT_EQ(w.autostart.Edit6.text(), "C:\\程序\\工具.exe");
    EXPECT_EQ(w.autostart.Edit5.text(), "工具.exe");

    f.type(w, " ", "old");
    f.application.answerDialog("D:\\b.exe");
    w.autostart.Button20.userClick();
    EXPECT_EQ(w.autostart.Edit5.text(), " ");
    EXPECT_EQ(w.autostart.Edit6.text(), "D:\\b.exe");
    w.autostart.Button20.userClick();  // cancelled
    EXPECT_EQ(w.autostart.Edit6.text(), "D:\\b.exe");
}

TEST(Autostart, ApplyMakesEachKeysStringsItsRowsAndTouchesNothingElse) {
    Autostart f;
    f.sz(kRun, "", "default.exe");
    f.sz(kRun, "Old", "old.exe");
    f.expand(kRun, "Sys", "%SystemRoot%\\sys.exe");
    f.expand(kRun, "Path", "%ProgramFiles%\\p.exe");
    f.expand(kRun, "Edited", "%windir%\\e.exe");
    f.sz(kRun, "Gone", "gone.exe");
    f.machine.setValue(HKLM, kRun, "Flag", platform::RegType::Dword, std::string("\1\0\0\0", 4));
    f.sz(kOnceEx + "\\0001", "Step", "step.exe");
    f.sz(kOnceEx, "Title", "title");
    TfrmMain& w = f.open();
    auto change = [&](int row, const std::string& name, const std::string& location) {
        w.autostart.ListView1.userClick(row);
        f.type(w, name, location);
        w.autostart.Button21.userClick();
    };
    change(1, "New", "old.exe");         // renamed
    change(3, "Path2", "%ProgramFiles%\\p.exe");  // renamed, location kept
    change(4, "Edited", "%windir%\\e2.exe");      // location changed
    w.autostart.ListView1.userClick(5);
    w.autostart.Button19.userClick();              // Gone
    f.type(w, "Dup", "first.exe");
    w.autostart.Button18.userClick();
    f.type(w, "Dup", "second.exe");
    w.autostart.Button18.userClick();
    f.application.clearRecords();  // the box about Flag
    w.autostart.Button17.userClick();

    EXPECT_TRUE(f.application.messages().empty());
    // Values the list kept are written where they stand; the removed go.
    EXPECT_EQ(f.machine.valueNames(HKLM, kRun),
              (std::vector<std::string>{"", "Sys", "Edited", "Flag", "New", "Path2", "Dup"}));
    EXPECT_EQ(f.machine.stringValue(HKLM, kRun, ""), "default.exe");
    EXPECT_EQ(f.machine.stringValue(HKLM, kRun, "Dup"), "second.exe");
    EXPECT_EQ(f.typeOf(kRun, "Sys"), platform::RegType::ExpandString);
    EXPECT_EQ(f.typeOf(kRun, "Path2"), platform::RegType::ExpandString);
    EXPECT_EQ(f.typeOf(kRun, "Edited"), platform::RegType::String);
    EXPECT_EQ(f.typeOf(kRun, "New"), platform::RegType::String);
    EXPECT_EQ(f.typeOf(kRun, "Flag"), platform::RegType::Dword);
    EXPECT_EQ(f.machine.stringValue(HKLM, kOnceEx + "\\0001", "Step"), "step.exe");
    EXPECT_EQ(f.machine.stringValue(HKLM, kOnceEx, "Title"), "title");
    for (const auto& key : autostart::AutostartKeys) EXPECT_TRUE(f.machine.hasKey(HKLM, key.path)) << key.path;
    EXPECT_EQ(f.rows().size(), 8u) << "the list is not read back";
    EXPECT_EQ(f.machine.openKeys(), 0);
}

// Whichever step fails, every key is as it was before the click, keys the
// apply created are gone again, and the list still holds the user's rows.
TEST(Autostart, AFailureAnywhereInApplyPutsEveryKeyBack) {
    struct Case {
        const char* what;
        std::function<void(sim::SimOs&)> fault;
        std::string error;
    };
    const Case cases[] = {
        {"a removal refused", [](sim::SimOs& m) { m.refuseChangesAfter(HKLM, kOnce, 0); },
         "Failed to delete value 'A'"},
        {"a write refused after a removal",
         [](sim::SimOs& m) { m.refuseChangesAfter(HKLM, kOnce, 1); }, "Failed to set data for 'B'"},
        {"the last key refused",
         [](sim::SimOs& m) { m.refuseChangesAfter(HKLM, kServicesOnce, 0); },
         "Failed to set data for 'S'"},
        {"a key that cannot be created",
         [](sim::SimOs& m) { m.setKeyReadOnly(HKLM, kBase.substr(0, kBase.size() - 1), true); },
         "Failed to create key " + kServices},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Autostart f;
        f.sz(kRun, "R1", "r1.exe");
        f.expand(kRun, "R2", "%windir%\\r2.exe");
        f.machine.setValue(HKLM, kRun, "Flag", platform::RegType::Dword, std::string("\1\0\0\0", 4));
        f.sz(kOnce, "A", "a.exe");
        f.sz(kOnce, "B", "b.exe");
        f.sz(kServicesOnce, "S", "s.exe");
        TfrmMain& w = f.open();
        f.type(w, "Added", "added.exe");
        w.autostart.Button18.userClick();
        w.autostart.ListView1.userClick(2);
        ASSERT_EQ(w.autostart.ListView1.itemCaption(2), "A");
        w.autostart.Button19.userClick();
        const Hive before = f.hive();
        const Rows rows = f.rows();
        c.fault(f.machine);
        f.application.clearRecords();
        w.autostart.Button17.userClick();
        EXPECT_EQ(f.application.errors(), (std::vector<std::string>{c.error}));
        EXPECT_EQ(f.hive(), before);
        EXPECT_FALSE(f.machine.hasKey(HKLM, kServices));
        EXPECT_EQ(f.rows(), rows);
        EXPECT_EQ(f.machine.openKeys(), 0);
    }
}

TEST(Autostart, AValueThatCannotGoBackIsNamedWithItsText) {
    Autostart f;
    f.sz(kRun, "Keep", "C:\\keep.exe /q");
    f.sz(kRun, "Other", "other.exe");
    TfrmMain& w = f.open();
    w.autostart.ListView1.userClick(0);
    w.autostart.Button19.userClick();
    f.machine.refuseChangesAfter(HKLM, kRun, 1, false);  // the removal goes, then nothing
    w.autostart.Button17.userClick();
    ASSERT_EQ(f.application.errors().size(), 1u);
    const std::string error = f.application.errors()[0];
    EXPECT_EQ(error.rfind("Failed to set data for 'Other'", 0), 0u) << error;
    EXPECT_NE(error.find("Run\\Keep = C:\\keep.exe /q"), std::string::npos) << error;
}

// Values the list never held stay: those of a key the fill could not open,
// and all of them when no fill ran (start-up stopped before it).
TEST(Autostart, ApplyNeverEmptiesAKeyTheListDidNotRead) {
    Autostart f;
    f.sz(kRun, "Theirs", "theirs.exe");
    f.sz(kOnce, "Locked", "locked.exe");
    f.machine.setKeyUnopenable(HKLM, kOnce, true);
    TfrmMain& w = f.open();
    EXPECT_EQ(f.rows(), (Rows{{"Theirs", "theirs.exe", "Run"}}));
    EXPECT_TRUE(f.application.messages().empty());
    f.machine.setKeyUnopenable(HKLM, kOnce, false);
    w.autostart.Button17.userClick();
    EXPECT_EQ(f.machine.stringValue(HKLM, kOnce, "Locked"), "locked.exe");

    Autostart g;
    g.sz(kRun, "Theirs", "theirs.exe");
    g.machine.setString(platform::RootKey::CurrentUser, "Software\\Zentrek", "KillTime", "abc");
    TfrmMain& v = g.open();
    ASSERT_EQ(g.application.errors().size(), 1u) << "the settings failed";
    EXPECT_EQ(v.autostart.ListView1.count(), 1) << "and the fill still ran";
    g.type(v, "Mine", "mine.exe");
    v.autostart.Button18.userClick();
    v.autostart.Button17.userClick();
    EXPECT_EQ(g.machine.valueNames(HKLM, kRun), (std::vector<std::string>{"Theirs", "Mine"}));
}

// Values that came after the fill (another program's installer, our own
// Zentrek from the settings page) were never in the list: "应用" keeps
// them, and removes only what the list removed.
TEST(Autostart, ApplyRemovesOnlyWhatTheListRemoved) {
    Autostart f;
    f.sz(kRun, "Old", "old.exe");
    f.sz(kRun, "Renamed", "renamed.exe");
    f.sz(kRun, "Kept", "kept.exe");
    f.sz(kRun, "Retyped", "retyped.exe");
    f.sz(kOnce, "Once", "once.exe");
    TfrmMain& w = f.open();
    f.sz(kRun, "Theirs", "theirs.exe");
    f.sz(kOnce, "Setup", "setup.exe /continue");
    w.PageControl1.userSelect(4);
    w.programSettings.generalSettings.ChkAutoRun.userClick();  // writes Zentrek into Run
    w.PageControl1.userSelect(3);
    w.autostart.ListView1.userClick(0);
    w.autostart.Button19.userClick();  // Old
    w.autostart.ListView1.userClick(0);
    f.type(w, "New name", "renamed.exe");
    w.autostart.Button21.userClick();
    // A string at the fill that is another type by "应用" is no longer the list's to delete.
    w.autostart.ListView1.userClick(2);
    w.autostart.Button19.userClick();  // Retyped
    f.machine.setValue(HKLM, kRun, "Retyped", platform::RegType::Dword, std::string("\1\0\0\0", 4));
    w.autostart.Button17.userClick();
    EXPECT_TRUE(f.application.messages().empty());
    EXPECT_EQ(f.machine.valueNames(HKLM, kRun),
              (std::vector<std::string>{"Kept", "Retyped", "Theirs", "Zentrek", "New name"}));
    EXPECT_EQ(f.typeOf(kRun, "Retyped"), platform::RegType::Dword);
    EXPECT_EQ(f.machine.valueNames(HKLM, kOnce), (std::vector<std::string>{"Once", "Setup"}));
    EXPECT_EQ(f.machine.openKeys(), 0);

    // What an apply wrote is the list's own: renamed or deleted, it goes.
    f.type(w, "Fresh", "fresh.exe");
    w.autostart.Button18.userClick();
    w.autostart.Button17.userClick();
    w.autostart.ListView1.userClick(w.autostart.ListView1.count() - 1);
    f.type(w, "Fresher", "fresh.exe");
    w.autostart.Button21.userClick();
    w.autostart.ListView1.userClick(0);
    w.autostart.Button19.userClick();  // New name
    w.autostart.Button17.userClick();
    EXPECT_EQ(f.machine.valueNames(HKLM, kRun),
              (std::vector<std::string>{"Kept", "Retyped", "Theirs", "Zentrek", "Fresher"}));
}

// A fill that stopped short lists only what it read, and "应用" can remove
// only what the list held; a read that fails during "应用" stops it before
// anything changes, since a value that did not answer is not a missing one.
TEST(Autostart, ReadsThatStopShortNeverCostAnEntry) {
    Autostart f;
    for (const char* n : {"A", "B", "C", "D"}) f.sz(kRun, n, std::string(n) + ".exe");
    f.sz(kOnce, "Once", "once.exe");
    f.machine.failReadsAfter(HKLM, kRun, 7);  // our Zentrek, the listing, A and B
    TfrmMain& w = f.open();
    EXPECT_EQ(f.rows(), (Rows{{"A", "A.exe", "Run"}, {"B", "B.exe", "Run"}, {"Once", "once.exe", "RunOnce"}}));
    f.machine.failReadsAfter(HKLM, kRun, -1);
    w.autostart.ListView1.userClick(0);
    w.autostart.Button19.userClick();
    w.autostart.Button17.userClick();
    EXPECT_TRUE(f.application.messages().empty());
    EXPECT_EQ(f.machine.valueNames(HKLM, kRun), (std::vector<std::string>{"B", "C", "D"}));

    f.sz(kRun, "A", "A.exe");
    Hive before = f.hive();
    w.autostart.Button14.userClick();
    w.autostart.ListView1.userClick(0);
    w.autostart.Button19.userClick();  // A again
    for (int reads : {0, 1, 3}) {  // A's read, then B, C and D's
        SCOPED_TRACE(reads);
        f.machine.failReadsAfter(HKLM, kRun, reads);
        f.application.clearRecords();
        w.autostart.Button17.userClick();
        f.machine.failReadsAfter(HKLM, kRun, -1);
        ASSERT_EQ(f.application.errors().size(), 1u);
        EXPECT_EQ(f.application.errors()[0].rfind("Failed to get data for '", 0), 0u);
        EXPECT_EQ(f.hive(), before);
    }
}

}  // namespace
