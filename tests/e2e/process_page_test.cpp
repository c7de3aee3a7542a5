// The process page and the normal-program page of the real Morvane.exe, with
// helper processes to act on, through their dialogs and message boxes as a
// user drives them: ending processes in both modes, programs that restart
// each other, saving the list, marking normal programs.
#include "e2e/e2e_test.h"

#include <tlhelp32.h>

#include <algorithm>

using namespace e2e;

namespace {

const std::string kMarker = "********正****常****程****序********";
constexpr DWORD kStillActive = 259;
constexpr int kMultipleMode = process::ids::RadioGroup1 + 2;  // the group's second button

#define REQUIRE_HELPER() ASSERT_TRUE(Session::haveHelper()) << "MORVANE_HELPER is not set"

std::string upper(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 0x20);
    return s;
}

struct Entry {
    DWORD pid;
    std::string line;  // the name as the page shows it: upper-cased file name
};

std::vector<Entry> snapshot() {
    std::vector<Entry> out;
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snap == INVALID_HANDLE_VALUE) throw Failure("no Toolhelp snapshot");
    PROCESSENTRY32W e = {};
    e.dwSize = sizeof e;
    for (BOOL ok = Process32FirstW(snap, &e); ok; ok = Process32NextW(snap, &e)) {
        std::wstring name = e.szExeFile;
        std::size_t slash = name.find_last_of(L"\\:");
        if (slash != std::wstring::npos) name.erase(0, slash + 1);
        out.push_back({e.th32ProcessID, upper(toGbk(name))});
    }
    CloseHandle(snap);
    return out;
}

std::vector<DWORD> pidsNamed(const std::string& exe) {
    std::vector<DWORD> out;
    for (const Entry& e : snapshot())
        if (e.line == upper(exe)) out.push_back(e.pid);
    return out;
}

bool running(const std::string& exe) { return !pidsNamed(exe).empty(); }

// Ends every process with one of these names, all in one pass so that
// partners cannot restart each other, until none is left.
void endAllNamed(const std::vector<std::string>& names) {
    waitFor([&] {
        bool any = false;
        for (const std::string& n : names) {
            for (DWORD pid : pidsNamed(n)) {
                any = true;
                if (HANDLE h = OpenProcess(PROCESS_TERMINATE, FALSE, pid)) {
                    TerminateProcess(h, 1);
                    CloseHandle(h);
                }
            }
        }
        return !any;
    });
}

// Processes the session did not start itself (restarted partners); declared
// after the Session so they are gone before it removes its directory.
struct EndOnExit {
    std::vector<std::string> names;
    ~EndOnExit() { endAllNamed(names); }
};

void waitListed(std::initializer_list<Process*> ps) {
    for (Process* p : ps)
        if (!waitFor([&] { return processListed(p->pid()); }))
            throw Failure("helper " + std::to_string(p->pid()) + " was never listed");
}

// Line N of the page belongs to the Nth entry of a Toolhelp pass; with no
// process starting or ending in between, a pass of our own has that order.
// Refreshes until the page and our pass agree on the number of processes.
std::vector<int> linesOf(App& app, const std::vector<DWORD>& pids, const std::string& expected) {
    for (int attempt = 0;; ++attempt) {
        app.click(process::ids::BtnRefresh);
        std::vector<Entry> snap = snapshot();
        std::vector<std::string> lines = app.lines(process::ids::List1);
        if (snap.size() != lines.size()) {
            if (attempt < 5) continue;
            throw Failure("the page shows " + std::to_string(lines.size()) + " processes, Toolhelp " +
                          std::to_string(snap.size()));
        }
        std::vector<int> out;
        for (DWORD pid : pids) {
            auto it = std::find_if(snap.begin(), snap.end(), [&](const Entry& e) { return e.pid == pid; });
            if (it == snap.end()) throw Failure("process " + std::to_string(pid) + " is not running");
            int k = static_cast<int>(it - snap.begin());
            if (lines[k] != expected)
                throw Failure("line " + std::to_string(k) + " of process " + std::to_string(pid) +
                              " shows \"" + lines[k] + "\", not \"" + expected + "\"");
            out.push_back(k);
        }
        return out;
    }
}

int lineOf(App& app, DWORD pid, const std::string& expected) { return linesOf(app, {pid}, expected)[0]; }

std::string countText(int n) { return "当前系统中共有" + std::to_string(n) + "个进程"; }

int countOf(const std::vector<std::string>& lines, const std::string& line) {
    return static_cast<int>(std::count(lines.begin(), lines.end(), line));
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

TEST(ProcessPageE2E, SingleModeEndsOnlyTheSelectedCopy) {
    REQUIRE_HELPER();
    run([] {
        Session s;
        Process& c1 = s.startHelper("mvcopy.exe", "--sleep");
        Process& c2 = s.startHelper("mvcopy.exe", "--sleep");
        Process& other = s.startHelper("mvother.exe", "--sleep");
        waitListed({&c1, &c2, &other});
        App& app = s.startApp();

        EXPECT_FALSE(app.visible(process::ids::ChkList1)) << "single mode at start";
        EXPECT_EQ(app.lines(process::ids::ChkList1), app.lines(process::ids::List1));
        EXPECT_EQ(app.text(process::ids::Label1), countText(app.count(process::ids::List1)));

        // Nothing selected: nothing happens, not even a refresh.
        ASSERT_EQ(app.selected(process::ids::List1), -1);
        Process& late = s.startHelper("mvlate.exe", "--sleep");
        waitListed({&late});
        app.click(process::ids::BtnKill);
        EXPECT_EQ(countOf(app.lines(process::ids::List1), "MVLATE.EXE"), 0) << "the list was refreshed";
        for (Process* p : {&c1, &c2, &other, &late}) EXPECT_TRUE(p->running());

        // The later of the two equal lines: ending the first process of that
        // name would be the wrong one.
        std::vector<int> k = linesOf(app, {c1.pid(), c2.pid()}, "MVCOPY.EXE");
        Process& target = k[1] > k[0] ? c2 : c1;
        Process& spare = k[1] > k[0] ? c1 : c2;
        app.select(process::ids::List1, std::max(k[0], k[1]));
        app.click(process::ids::BtnKill);

        ASSERT_TRUE(target.waitExit(5000)) << "the selected copy still runs";
        EXPECT_EQ(target.exitCode(), kStillActive) << "ended with the code it reported while running";
        EXPECT_TRUE(spare.running()) << "the other copy of the program was ended too";
        EXPECT_TRUE(other.running());

        // The page was rebuilt without the ended copy.
        std::vector<std::string> lines = app.lines(process::ids::List1);
        EXPECT_EQ(countOf(lines, "MVCOPY.EXE"), 1);
        EXPECT_EQ(countOf(lines, "MVOTHER.EXE"), 1);
        EXPECT_EQ(app.text(process::ids::Label1), countText(static_cast<int>(lines.size())));

        // A line whose process ended after the refresh still stands for that
        // process: pressing the button ends nothing else.
        int ks = lineOf(app, spare.pid(), "MVCOPY.EXE");
        spare.kill();
        app.select(process::ids::List1, ks);
        app.click(process::ids::BtnKill);
        EXPECT_TRUE(other.running()) << "a stale line ended another process";
        EXPECT_TRUE(late.running()) << "a stale line ended another process";
        EXPECT_EQ(countOf(app.lines(process::ids::List1), "MVCOPY.EXE"), 0);

        // Its own line ends the program itself.
        app.select(process::ids::List1, lineOf(app, app.process().pid(), "MORVANE.EXE"));
        app.clickAsync(process::ids::BtnKill);
        ASSERT_TRUE(app.process().waitExit(5000)) << "ending its own line did not end the program";
        EXPECT_EQ(app.process().exitCode(), kStillActive);
    });
}

TEST(ProcessPageE2E, MultipleModeEndsTheCheckedLinesButNotAMarkedOne) {
    REQUIRE_HELPER();
    run([] {
        Session s;
        Process& c1 = s.startHelper("mvcopy.exe", "--sleep");
        Process& c2 = s.startHelper("mvcopy.exe", "--sleep");
        Process& marked = s.startHelper("mvother.exe", "--sleep");
        Process& unchecked = s.startHelper("mvspare.exe", "--sleep");
        waitListed({&c1, &c2, &marked, &unchecked});
        App& app = s.startApp();

        app.click(kMultipleMode);
        ASSERT_TRUE(app.visible(process::ids::ChkList1)) << "multiple mode shows the check list";

        // Nothing checked: nothing ends, but the list is rebuilt.
        Process& late = s.startHelper("mvlate.exe", "--sleep");
        waitListed({&late});
        app.click(process::ids::BtnKill);
        EXPECT_EQ(countOf(app.lines(process::ids::ChkList1), "MVLATE.EXE"), 1) << "the list was not refreshed";
        for (Process* p : {&c1, &c2, &marked, &unchecked, &late}) EXPECT_TRUE(p->running());
        std::vector<int> k = linesOf(app, {c1.pid(), c2.pid()}, "MVCOPY.EXE");
        int km = lineOf(app, marked.pid(), "MVOTHER.EXE");
        ASSERT_EQ(app.lines(process::ids::ChkList1), app.lines(process::ids::List1));

        // Checked first, then marked: the mark keeps the check.
        for (int line : {k[0], k[1], km}) app.toggleCheck(process::ids::ChkList1, line);
        app.select(process::ids::ChkList1, km);
        app.click(process::ids::BtnAddNormalAppList);
        ASSERT_EQ(app.line(process::ids::ChkList1, km), kMarker);
        EXPECT_EQ(app.line(process::ids::List1, km), "MVOTHER.EXE") << "only the list of the current mode is marked";
        app.select(process::ids::ChkList1, km);
        EXPECT_FALSE(app.enabled(process::ids::BtnAddNormalAppList)) << "a marker line cannot be added";
        for (int line : {k[0], k[1], km}) ASSERT_TRUE(app.checked(process::ids::ChkList1, line)) << "line " << line;
        app.click(process::ids::BtnKill);

        EXPECT_TRUE(c1.waitExit(5000));
        EXPECT_TRUE(c2.waitExit(5000));
        for (Process* c : {&c1, &c2}) {
            if (!c->running()) {
                EXPECT_EQ(c->exitCode(), kStillActive);
            }
        }
        EXPECT_TRUE(marked.running()) << "a checked marker line was ended";
        EXPECT_TRUE(unchecked.running()) << "an unchecked line was ended";

        // Rebuilt: names back, no check marks, still in multiple mode.
        EXPECT_TRUE(app.visible(process::ids::ChkList1));
        std::vector<std::string> lines = app.lines(process::ids::ChkList1);
        EXPECT_EQ(lines, app.lines(process::ids::List1));
        EXPECT_EQ(countOf(lines, "MVCOPY.EXE"), 0);
        EXPECT_EQ(countOf(lines, "MVOTHER.EXE"), 1);
        EXPECT_EQ(countOf(lines, kMarker), 0);
        for (int i = 0; i < static_cast<int>(lines.size()); ++i)
            EXPECT_FALSE(app.checked(process::ids::ChkList1, i)) << "line " << i << " still checked";

        // Back to single mode: the check list hides, and its marks are gone
        // when it comes back.
        app.toggleCheck(process::ids::ChkList1, 0);
        app.click(process::ids::RadioGroup1 + 1);
        EXPECT_FALSE(app.visible(process::ids::ChkList1));
        app.click(kMultipleMode);
        EXPECT_FALSE(app.checked(process::ids::ChkList1, 0));
    });
}

TEST(ProcessPageE2E, PartnersEndOnlyTogether) {
    REQUIRE_HELPER();
    run([] {
        Session s;
        // The first partner starts the second itself, from its own directory.
        std::string b = s.dir() + "\\mvpb.exe";
        if (!CopyFileW(fromGbk(envPath("MORVANE_HELPER")).c_str(), fromGbk(b).c_str(), TRUE))
            throw Failure("cannot copy the helper to " + b);
        EndOnExit guard{{"mvpa.exe", "mvpb.exe"}};
        Process& a = s.startHelper("mvpa.exe", "--partner mvpb.exe");
        ASSERT_TRUE(waitFor([] { return running("mvpb.exe"); })) << "the partner was not started";
        waitListed({&a});
        App& app = s.startApp();

        // One by one, each comes back: its partner notices and restarts it.
        app.select(process::ids::List1, lineOf(app, a.pid(), "MVPA.EXE"));
        app.click(process::ids::BtnKill);
        ASSERT_TRUE(a.waitExit(5000)) << "the selected partner still runs";
        ASSERT_TRUE(waitFor([] { return running("mvpa.exe"); }, 5000)) << "mvpa.exe was not restarted";

        std::vector<DWORD> pb = pidsNamed("mvpb.exe");
        ASSERT_EQ(pb.size(), 1u);
        app.select(process::ids::List1, lineOf(app, pb[0], "MVPB.EXE"));
        app.click(process::ids::BtnKill);
        ASSERT_TRUE(waitFor([&] { return !processListed(pb[0]); }, 5000)) << "the selected partner still runs";
        EXPECT_TRUE(waitFor([&] {
            std::vector<DWORD> now = pidsNamed("mvpb.exe");
            return !now.empty() && now[0] != pb[0];
        }, 5000)) << "ended one by one, mvpb.exe should have come back";

        // Both checked and ended in one press: neither comes back.
        std::vector<DWORD> pa = pidsNamed("mvpa.exe");
        pb = pidsNamed("mvpb.exe");
        ASSERT_EQ(pa.size(), 1u);
        ASSERT_EQ(pb.size(), 1u);
        app.click(kMultipleMode);
        int ka = lineOf(app, pa[0], "MVPA.EXE");
        int kb = lineOf(app, pb[0], "MVPB.EXE");
        app.toggleCheck(process::ids::ChkList1, ka);
        app.toggleCheck(process::ids::ChkList1, kb);
        app.click(process::ids::BtnKill);
        EXPECT_TRUE(waitFor([] { return !running("mvpa.exe") && !running("mvpb.exe"); }, 5000))
            << "the checked partners were not ended";
        Sleep(2000);  // eight polls of the partners
        EXPECT_FALSE(running("mvpa.exe")) << "ended together, mvpa.exe came back";
        EXPECT_FALSE(running("mvpb.exe")) << "ended together, mvpb.exe came back";
    });
}

TEST(ProcessPageE2E, SaveWritesEveryLineWithCrLf) {
    REQUIRE_HELPER();
    run([] {
        Session s;
        Process& c = s.startHelper("mvcopy.exe", "--sleep");
        Process& cn = s.startHelper("进程甲.exe", "--sleep");
        waitListed({&c, &cn});
        App& app = s.startApp();
        lineOf(app, cn.pid(), "进程甲.EXE");  // a Chinese name keeps its bytes

        // A marked line is saved as the marker, in the program's own bytes.
        app.select(process::ids::List1, lineOf(app, c.pid(), "MVCOPY.EXE"));
        app.click(process::ids::BtnAddNormalAppList);

        std::vector<std::string> lines = app.lines(process::ids::List1);
        ASSERT_EQ(countOf(lines, kMarker), 1);
        std::string expected;
        for (const std::string& l : lines) expected += l + "\r\n";

        // Cancelled, nothing is written.
        std::string path = s.dir() + "\\进程列表.txt";
        app.clickAsync(process::ids::BtnSave);
        app.waitFileDialog().cancel();
        app.sync();
        EXPECT_FALSE(fileExists(path));

        // Saving over a file asks first; "No" keeps the dialog, then Cancel.
        writeFile(path, "old\r\n");
        app.clickAsync(process::ids::BtnSave);
        FileDialog d = app.waitFileDialog();
        d.accept(path);
        MsgBox ask = app.waitMessageBox();
        EXPECT_TRUE(std::count(ask.buttons.begin(), ask.buttons.end(), IDNO)) << ask.text;
        ask.press(IDNO);
        d.cancel();
        app.sync();
        EXPECT_EQ(readFile(path), "old\r\n");

        // Saving over a longer file replaces it whole, after asking.
        writeFile(path, std::string(expected.size() + 64, 'x'));
        app.clickAsync(process::ids::BtnSave);
        app.waitFileDialog().accept(path);
        app.waitMessageBox(5000).press(IDYES);

        // Not read while the program saves: a reader without delete sharing
        // keeps the new text from taking the old one's place.
        waitFor([&] { return app.dialog() == nullptr; }, 5000);
        app.sync();
        std::string got = readFile(path);
        EXPECT_EQ(got.size(), expected.size()) << "the older, longer file was not replaced whole";
        EXPECT_EQ(got.substr(0, expected.size()), expected);
        EXPECT_EQ(app.dialog(), nullptr) << "no message after saving";

        // A file another program holds open cannot be replaced: the error
        // is shown, the file keeps what it had, and the window goes on.
        writeFile(path, "old\r\n");
        HANDLE held = CreateFileW(fromGbk(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        app.clickAsync(process::ids::BtnSave);
        app.waitFileDialog().accept(path);
        app.waitMessageBox().press(IDYES);  // the dialog's own question
        MsgBox error = app.waitMessageBox();
        CloseHandle(held);
        EXPECT_EQ(error.caption, "Morvane");
        // The new text cannot take the old one's place: the system calls
        // that a denied access (Windows may also say sharing violation).
        EXPECT_TRUE(error.text == "File access denied" || error.text.rfind("I/O error 32", 0) == 0)
            << error.text;
        error.press(IDOK);
        app.sync();
        EXPECT_EQ(readFile(path), "old\r\n");
        EXPECT_FALSE(fileExists(path + "~new")) << "the unused new file was left beside it";
    });
}

TEST(ProcessPageE2E, NormalListMarksEveryCopyAndRefusesDuplicates) {
    REQUIRE_HELPER();
    run([] {
        Session s;
        Process& c1 = s.startHelper("mvcopy.exe", "--sleep");
        Process& c2 = s.startHelper("mvcopy.exe", "--sleep");
        Process& other = s.startHelper("mvother.exe", "--sleep");
        waitListed({&c1, &c2, &other});
        App& app = s.startApp();
        std::string count = app.text(process::ids::Label1);

        std::vector<int> k = linesOf(app, {c1.pid(), c2.pid()}, "MVCOPY.EXE");
        int ko = lineOf(app, other.pid(), "MVOTHER.EXE");
        ASSERT_EQ(app.count(settings::ids::ListApp), 0);
        app.select(process::ids::List1, k[0]);
        EXPECT_TRUE(app.enabled(process::ids::BtnAddNormalAppList));
        app.click(process::ids::BtnAddNormalAppList);
        EXPECT_EQ(app.line(process::ids::List1, k[0]), kMarker);
        EXPECT_EQ(app.line(process::ids::List1, k[1]), "MVCOPY.EXE") << "adding marks the selected line only";
        EXPECT_EQ(app.lines(settings::ids::ListApp), std::vector<std::string>{"MVCOPY.EXE"});
        EXPECT_EQ(app.text(process::ids::Label1), count) << "marking does not change the count";

        app.select(process::ids::List1, k[0]);
        EXPECT_FALSE(app.enabled(process::ids::BtnAddNormalAppList)) << "a marker line cannot be added";
        app.select(process::ids::List1, ko);
        EXPECT_TRUE(app.enabled(process::ids::BtnAddNormalAppList));

        app.click(process::ids::BtnRefresh);
        std::vector<std::string> lines = app.lines(process::ids::List1);
        EXPECT_EQ(countOf(lines, kMarker), 0) << "a refresh restores the names";
        EXPECT_EQ(countOf(lines, "MVCOPY.EXE"), 2);

        app.click(process::ids::BtnNormalAppShow);
        lines = app.lines(process::ids::List1);
        EXPECT_EQ(lines[k[0]], kMarker);
        EXPECT_EQ(lines[k[1]], kMarker);
        EXPECT_EQ(lines[ko], "MVOTHER.EXE");
        EXPECT_EQ(countOf(lines, kMarker), 2) << "only the listed program is marked";

        // The same program again, from a line that is not marked.
        app.click(process::ids::BtnRefresh);
        k = linesOf(app, {c1.pid(), c2.pid()}, "MVCOPY.EXE");
        app.select(process::ids::List1, k[1]);
        app.clickAsync(process::ids::BtnAddNormalAppList);
        MsgBox box = app.waitMessageBox();
        EXPECT_EQ(box.caption, "提示");
        EXPECT_EQ(box.text, "该项已存在于正常程序列表中！");
        EXPECT_EQ(box.buttons, std::vector<int>{IDOK});
        box.press(IDOK);
        app.sync();
        EXPECT_EQ(app.line(process::ids::List1, k[1]), "MVCOPY.EXE") << "a refused line is not marked";
        EXPECT_EQ(app.lines(settings::ids::ListApp), std::vector<std::string>{"MVCOPY.EXE"});
    });
}

// Only a 64-bit program reads the modules of a 64-bit process; a 32-bit one
// falls back to the entry name. The helper makes the two differ.
TEST(ProcessPageE2E, ALineOfA64BitProcessNamesItsModulePath) {
    if (sizeof(void*) != 8) GTEST_SKIP() << "the 64-bit build alone reads 64-bit modules";
    REQUIRE_HELPER();
    run([] {
        Session s;
        Process& p = s.startHelper("e2eentry.exe", "--module-path C:\\elsewhere\\e2eModule.exe");
        ASSERT_TRUE(waitFor([&] { return modulePath(p.pid()) == "C:\\elsewhere\\e2eModule.exe"; }))
            << "the helper did not take its module path";
        App& app = s.startApp();
        std::vector<std::string> lines = app.lines(process::ids::List1);
        EXPECT_EQ(countOf(lines, "E2EMODULE.EXE"), 1);
        EXPECT_EQ(countOf(lines, "E2EENTRY.EXE"), 0) << "the line fell back to the entry name";
    });
}

TEST(NormalProgramPageE2E, LoadThenClearAsksFirst) {
    run([] {
        Session s;
        App& app = s.startApp();
        std::string file = s.dir() + "\\normal.txt";
        writeFile(file, "C:\\WINDOWS\\NOTEPAD.EXE\r\n程序.EXE\r\n");

        app.selectTab(app::ids::PageControl1, 4);
        app.selectTab(settings::ids::PageControl2, 1);
        app.clickAsync(settings::ids::BtnOpenAppList);
        app.waitFileDialog().accept(file);
        ASSERT_TRUE(waitFor([&] { return app.count(settings::ids::ListApp) == 2; })) << "the list was not loaded";
        EXPECT_EQ(app.lines(settings::ids::ListApp), (std::vector<std::string>{"C:\\WINDOWS\\NOTEPAD.EXE", "程序.EXE"}));

        app.clickAsync(settings::ids::BtnClear);
        MsgBox ask = app.waitMessageBox();
        EXPECT_EQ(ask.caption, "确认");
        EXPECT_EQ(ask.text, "您当真要清空正常程序列表吗？");
        EXPECT_EQ(ask.buttons.size(), 2u);
        ask.press(IDNO);
        app.sync();
        EXPECT_EQ(app.count(settings::ids::ListApp), 2) << "\"No\" must keep the list";

        app.clickAsync(settings::ids::BtnClear);
        app.waitMessageBox().press(IDYES);
        // The box's button is posted; the sync alone may come back first.
        EXPECT_TRUE(waitFor([&] { return app.count(settings::ids::ListApp) == 0; }));
    });
}

}  // namespace
