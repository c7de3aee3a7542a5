// The real Morvane.exe on a system in another language, from a folder and
// with names that code page cannot hold: on the NT family it speaks UTF-16.
// make test runs LanguageE2E under zh_CN, and the first two again under
// en_US and ja_JP (MORVANE_LANG).
#include <algorithm>
#include <cstdio>

#include "e2e/e2e_test.h"

using namespace e2e;

namespace {

constexpr int kTabs = 6, kSettingsTab = 4, kSettingsTabs = 3;

std::string utf8(const std::string& gbk) {
    const std::wstring w = fromGbk(gbk);
    std::string out(w.size() * 4, '\0');
    out.resize(WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), out.data(),
                                   static_cast<int>(out.size()), nullptr, nullptr));
    return out;
}

std::string gbk(const wchar_t* w) { return toGbk(w); }

// Counts change from run to run; the words around them do not.
std::string withoutDigits(std::string s) {
    std::replace_if(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; }, '#');
    return s;
}

BOOL CALLBACK collect(HWND h, LPARAM l) {
    reinterpret_cast<std::vector<HWND>*>(l)->push_back(h);
    return TRUE;
}

// Every fixed text the window shows, page by page, in UTF-8: captions of
// the window and of each control, tabs, column headers, hints.
std::vector<std::string> everyText(App& app) {
    std::vector<std::string> out{"caption " + utf8(windowText(app.hwnd()))};
    for (int tab = 0; tab < kTabs; ++tab) app.selectTab(app::ids::PageControl1, tab);
    app.selectTab(app::ids::PageControl1, kSettingsTab);
    for (int tab = 0; tab < kSettingsTabs; ++tab) app.selectTab(settings::ids::PageControl2, tab);
    for (const auto& t : app.tabCaptions(app::ids::PageControl1)) out.push_back("tab " + utf8(t));
    for (const auto& t : app.tabCaptions(settings::ids::PageControl2)) out.push_back("tab " + utf8(t));
    for (const auto& t : app.columnCaptions(autostart::ids::ListView1)) out.push_back("column " + utf8(t));
    std::vector<HWND> children;
    EnumChildWindows(app.hwnd(), collect, reinterpret_cast<LPARAM>(&children));
    for (HWND h : children) {
        const std::string cls = className(h);
        if (cls == "ListBox" || cls == "SysListView32" || cls == "Edit") continue;  // contents, not captions
        const std::string text = windowText(h);
        if (!text.empty())
            out.push_back(std::to_string(GetDlgCtrlID(h)) + " " + withoutDigits(utf8(text)));
    }
    std::vector<std::string> hints = app.hints();
    std::sort(hints.begin(), hints.end());
    for (const auto& h : hints) out.push_back("hint " + utf8(h));
    return out;
}

// Catches mojibake on a system whose code page is not 936: the captions,
// tabs, columns, hints and a message box must read exactly as the texts
// below, which are those of a Chinese system.
TEST(LanguageE2E, EveryTextReadsAsOnAChineseSystem) {
    run([] {
        CleanSettings clean;
        Session s;
        App& app = s.startApp();
        const std::vector<std::string> texts = everyText(app);
        const std::string file = hostToWinPath(MORVANE_SOURCE_DIR "/tests/e2e/texts.txt");
        std::string got;
        for (const auto& t : texts) got += t + "\n";
        // MORVANE_WRITE_TEXTS=1 on a Chinese system writes them anew, to be read over.
        if (envSet("MORVANE_WRITE_TEXTS")) writeFile(file, got);
        EXPECT_EQ(got, readFile(file)) << "code page " << GetACP();

        // A message box: two passwords that differ.
        app.selectTab(settings::ids::PageControl2, 2);
        app.setText(settings::ids::Edit2, "a");
        app.setText(settings::ids::Edit3, "b");
        app.clickAsync(settings::ids::Button12);
        const MsgBox box = app.waitMessageBox();
        EXPECT_EQ(box.caption + " | " + box.text, "提示 | 两次输入的密码不一致，请重新输入！");
        box.press(IDOK);
    });
}

// Catches an ANSI path where the folder's name has no ANSI form: the close
// could not save, the next start loaded nothing.
TEST(LanguageE2E, WorksFromAFolderTheCodePageCannotName) {
    if (nineXFamily()) GTEST_SKIP() << "the 9x family names files in its code page only";
    run([] {
        CleanSettings clean;
        Session s;
        // Korean on a Chinese system, Chinese elsewhere.
        const std::string folder = gbk(GetACP() == 936 ? L"도구" : L"工具");
        const std::vector<std::string> names{"A.EXE", gbk(L"한국어.EXE")};
        {
            App& app = s.startApp(kStartMs, true, folder);
            app.selectTab(app::ids::PageControl1, kSettingsTab);
            app.selectTab(settings::ids::PageControl2, 1);
            const std::string list = s.dir() + "\\" + folder + "\\" + gbk(L"목록 列表.txt");
            writeFile(list, names[0] + "\r\n" + names[1] + "\r\n");
            app.clickAsync(settings::ids::BtnOpenAppList);
            app.waitFileDialog().accept(list);
            waitFor([&] { return app.dialog() == nullptr; });
            app.sync();
            ASSERT_EQ(app.lines(settings::ids::ListApp), names);
            PostMessageW(app.hwnd(), WM_CLOSE, 0, 0);
            ASSERT_TRUE(app.process().waitExit()) << "the close did not end the program";
        }
        EXPECT_EQ(readFile(s.dir() + "\\" + folder + "\\Napplst.dat"), names[0] + "\r\n" + names[1] + "\r\n");
        App& again = s.startApp(kStartMs, true, folder);
        EXPECT_EQ(again.lines(settings::ids::ListApp), names)
            << "the next start did not read the list back";
    });
}

// The helper's window title as --title-utf16 wants it.
std::string hexTitle(const wchar_t* title) {
    std::string hex;
    char unit[5];
    for (const wchar_t* c = title; *c; ++c) {
        std::snprintf(unit, sizeof unit, "%04X", static_cast<unsigned>(*c));
        hex += unit;
    }
    return hex;
}

int lineOf(const std::vector<std::string>& lines, const std::string& line) {
    const auto it = std::find(lines.begin(), lines.end(), line);
    return it == lines.end() ? -1 : static_cast<int>(it - lines.begin());
}

// Catches a name taken through code page 936 on the way in or out: it would
// show as question marks, match no process, close no window, and come back
// from a list file as another name. On a Chinese system, with Korean names.
TEST(LanguageE2E, NamesNoCodePageHoldsAreShownAndActedOn) {
    ASSERT_TRUE(Session::haveHelper()) << "MORVANE_HELPER is not set";
    if (GetACP() != 936 || nineXFamily()) GTEST_SKIP() << "the Korean names stand for what 936 cannot hold";
    run([] {
        CleanSettings clean;
        Session s;
        const std::string exe = gbk(L"프로그램.exe"), shown = gbk(L"프로그램.EXE");
        Process& first = s.startHelper(exe, "--sleep");
        Process& window = s.startHelper("e2ekorean.exe", "--title-utf16 " + hexTitle(L"한국어 창"));
        waitTopWindow(window.pid(), gbk(L"한국어 창"));
        App& app = s.startApp();

        // Shown right, and ended by selection.
        const int line = lineOf(app.lines(process::ids::List1), shown);
        ASSERT_GE(line, 0) << "not listed as " << utf8(shown);
        app.select(process::ids::List1, line);
        app.click(process::ids::BtnKill);
        EXPECT_TRUE(first.waitExit(5000)) << "not ended by selection";

        // Closed by its title.
        app.selectTab(app::ids::PageControl1, 1);
        app.click(window::ids::Button1);
        const int titled = lineOf(app.lines(window::ids::List2), gbk(L"한국어 창"));
        ASSERT_GE(titled, 0) << "the window is not listed by its title";
        app.select(window::ids::List2, titled);
        app.click(window::ids::Button3);
        EXPECT_TRUE(window.waitExit(5000)) << "the window was not closed";

        // Added to the forbid list, saved and read back unchanged, and ended by the pass.
        app.selectTab(app::ids::PageControl1, 2);
        app.click(restriction::ids::RadioGroup2 + 2);
        app.clickAsync(restriction::ids::Button8);
        app.waitFileDialog().accept(s.dir() + "\\" + exe);
        waitFor([&] { return app.dialog() == nullptr; });
        app.sync();
        ASSERT_EQ(app.lines(restriction::ids::List3), std::vector<std::string>{shown});
        const std::string list = s.dir() + "\\" + gbk(L"금지.txt");
        app.clickAsync(restriction::ids::Button6);
        app.waitFileDialog().accept(list);
        waitFor([&] { return app.dialog() == nullptr; });
        app.sync();
        EXPECT_EQ(readFile(list), shown + "\r\n") << "not saved as the same bytes";
        app.clickAsync(restriction::ids::Button7);
        app.waitFileDialog().accept(list);
        waitFor([&] { return app.dialog() == nullptr; });
        app.sync();
        EXPECT_EQ(app.lines(restriction::ids::List3), std::vector<std::string>{shown}) << "read back as another name";

        Process& again = s.startHelper(exe, "--sleep");
        ASSERT_TRUE(waitFor([&] { return processListed(again.pid()); }));
        app.click(restriction::ids::SpeedButton1);
        EXPECT_TRUE(again.waitExit(5000)) << "the forbid list's pass did not end it";
        app.click(restriction::ids::SpeedButton1);
    });
}

}  // namespace
