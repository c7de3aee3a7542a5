// The process page and the normal-program page of the real Morvane.exe,
// through their dialogs and message boxes, as a user drives them.
#include <algorithm>

#include "e2e/e2e_test.h"

#include <tlhelp32.h>

using namespace e2e;

namespace {

bool exists(const std::string& winPath) {
    return GetFileAttributesW(fromGbk(winPath).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string crlfJoined(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& l : lines) out += l + "\r\n";
    return out;
}

int indexOf(const std::vector<std::string>& lines, const std::string& s) {
    auto it = std::find(lines.begin(), lines.end(), s);
    return it == lines.end() ? -1 : static_cast<int>(it - lines.begin());
}

#define SKIP_WITHOUT(app, id) \
    if (!(app).hasControl(id)) GTEST_SKIP() << "the program has no control " #id " yet"

TEST(ProcessPage, SaveWritesTheListAndCancelWritesNothing) {
    run([] {
        Session s;
        App& app = s.startApp();
        SKIP_WITHOUT(app, ids::BtnSave);

        std::string cancelled = s.dir() + "\\cancelled.txt";
        app.clickAsync(ids::BtnSave);
        app.waitFileDialog().cancel();
        app.sync();
        EXPECT_FALSE(exists(cancelled));

        // The chosen name gets no extension added when it has one.
        std::string out = s.dir() + "\\进程.txt";
        app.clickAsync(ids::BtnSave);
        app.waitFileDialog().accept(out);
        ASSERT_TRUE(waitFor([&] { return exists(out) && !app.dialog(); })) << "no file written";
        app.sync();
        EXPECT_EQ(readFile(out), crlfJoined(app.lines(ids::List1)));

        // Saving over it asks first; "No" keeps the dialog, then Cancel.
        writeFile(out, "old\r\n");
        app.clickAsync(ids::BtnSave);
        FileDialog d = app.waitFileDialog();
        d.accept(out);
        MsgBox ask = app.waitMessageBox();
        EXPECT_TRUE(std::count(ask.buttons.begin(), ask.buttons.end(), IDYES)) << ask.text;
        ask.press(IDNO);
        d.cancel();
        app.sync();
        EXPECT_EQ(readFile(out), "old\r\n");
    });
}

TEST(ProcessPage, SelectingAndEndingAHelper) {
    if (!Session::haveHelper()) GTEST_SKIP() << "MORVANE_HELPER is not set";
    run([] {
        Session s;
        Process& victim = s.startHelper("e2evictim.exe", "--sleep");
        Process& other = s.startHelper("e2eother.exe", "--sleep");
        ASSERT_TRUE(waitFor([&] { return processListed(victim.pid()) && processListed(other.pid()); }));
        App& app = s.startApp();
        SKIP_WITHOUT(app, ids::BtnKill);

        auto countText = [&] { return "当前系统中共有" + std::to_string(app.count(ids::List1)) + "个进程"; };
        EXPECT_EQ(app.text(ids::Label1), countText());

        int line = indexOf(app.lines(ids::List1), "E2EVICTIM.EXE");
        ASSERT_GE(line, 0) << "the helper is not on the process page";
        app.select(ids::List1, line);
        EXPECT_TRUE(app.enabled(ids::BtnAddNormalAppList));
        app.click(ids::BtnKill);

        EXPECT_TRUE(victim.waitExit()) << "the selected process was not ended";
        EXPECT_TRUE(other.running()) << "another process was ended";
        EXPECT_EQ(indexOf(app.lines(ids::List1), "E2EVICTIM.EXE"), -1) << "the list was not refreshed";
        EXPECT_GE(indexOf(app.lines(ids::List1), "E2EOTHER.EXE"), 0);
        EXPECT_EQ(app.text(ids::Label1), countText()) << "the count follows the refresh";
    });
}

// The path a module snapshot of pid gives for the program itself.
std::string modulePath(DWORD pid) {
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, pid);
    if (snap == INVALID_HANDLE_VALUE) return "";
    MODULEENTRY32 m;
    m.dwSize = sizeof m;
    std::string path = Module32First(snap, &m) ? m.szExePath : "";
    CloseHandle(snap);
    return path;
}

// Only a 64-bit program reads the modules of a 64-bit process; a 32-bit one
// falls back to the entry name. The helper makes the two differ.
TEST(ProcessPage, ALineOfA64BitProcessNamesItsModulePath) {
    if (sizeof(void*) != 8) GTEST_SKIP() << "the 64-bit build alone reads 64-bit modules";
    if (!Session::haveHelper()) GTEST_SKIP() << "MORVANE_HELPER is not set";
    run([] {
        Session s;
        Process& p = s.startHelper("e2eentry.exe", "--module-path C:\\elsewhere\\e2eModule.exe");
        ASSERT_TRUE(waitFor([&] { return modulePath(p.pid()) == "C:\\elsewhere\\e2eModule.exe"; }))
            << "the helper did not take its module path";
        App& app = s.startApp();
        std::vector<std::string> lines = app.lines(ids::List1);
        EXPECT_GE(indexOf(lines, "E2EMODULE.EXE"), 0);
        EXPECT_EQ(indexOf(lines, "E2EENTRY.EXE"), -1) << "the line fell back to the entry name";
    });
}

TEST(ProcessPage, MultipleModeChecksLines) {
    run([] {
        Session s;
        App& app = s.startApp();
        SKIP_WITHOUT(app, ids::ChkList1);
        EXPECT_FALSE(app.visible(ids::ChkList1));

        app.click(ids::RadioGroup1 + 2);  // "多项清除模式"
        ASSERT_TRUE(app.visible(ids::ChkList1));
        EXPECT_EQ(app.lines(ids::ChkList1), app.lines(ids::List1));
        ASSERT_GE(app.count(ids::ChkList1), 2);

        app.toggleCheck(ids::ChkList1, 1);
        EXPECT_TRUE(app.checked(ids::ChkList1, 1));
        EXPECT_FALSE(app.checked(ids::ChkList1, 0));
        app.toggleCheck(ids::ChkList1, 1);
        EXPECT_FALSE(app.checked(ids::ChkList1, 1));

        // Back to single mode: the check list hides and its marks are gone.
        app.toggleCheck(ids::ChkList1, 0);
        app.click(ids::RadioGroup1 + 1);
        EXPECT_FALSE(app.visible(ids::ChkList1));
        app.click(ids::RadioGroup1 + 2);
        EXPECT_FALSE(app.checked(ids::ChkList1, 0));
    });
}

TEST(NormalProgramPage, LoadThenClearAsksFirst) {
    run([] {
        Session s;
        App& app = s.startApp();
        SKIP_WITHOUT(app, ids::BtnOpenAppList);
        std::string file = s.dir() + "\\normal.txt";
        writeFile(file, "C:\\WINDOWS\\NOTEPAD.EXE\r\n程序.EXE\r\n");

        app.selectTab(ids::PageControl1, 4);
        app.selectTab(ids::PageControl2, 1);
        app.clickAsync(ids::BtnOpenAppList);
        app.waitFileDialog().accept(file);
        ASSERT_TRUE(waitFor([&] { return app.count(ids::ListApp) == 2; })) << "the list was not loaded";
        EXPECT_EQ(app.lines(ids::ListApp), (std::vector<std::string>{"C:\\WINDOWS\\NOTEPAD.EXE", "程序.EXE"}));

        app.clickAsync(ids::BtnClear);
        MsgBox ask = app.waitMessageBox();
        EXPECT_EQ(ask.caption, "确认");
        EXPECT_EQ(ask.text, "您当真要清空正常程序列表吗？");
        EXPECT_EQ(ask.buttons.size(), 2u);
        ask.press(IDNO);
        app.sync();
        EXPECT_EQ(app.count(ids::ListApp), 2) << "\"No\" must keep the list";

        app.clickAsync(ids::BtnClear);
        app.waitMessageBox().press(IDYES);
        app.sync();
        EXPECT_EQ(app.count(ids::ListApp), 0);
    });
}

}  // namespace
