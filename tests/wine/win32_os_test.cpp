// The real platform layer under Wine, for what only a real system can show:
// Toolhelp found at run time, names and module paths of real 32-bit
// processes (Chinese ones too), file errors, hung and stubborn windows.
#include <gtest/gtest.h>

#include "platform/win32/win.h"

#include "base/text.h"
#include "platform/files.h"
#include "platform/process_query.h"
#include "platform/win32/win32_os.h"
#include "wine/wine_support.h"

using platform::Win32Os;
using winetest::Helpers;
using winetest::ScratchDir;

namespace {

const std::string kChineseExe = "测试程序.exe";
// 淺 is B4 5C in GBK: its trail byte is a backslash.
const std::string kBackslashTrailExe = "淺程序.exe";

struct Listed {
    bool found = false;
    std::string exeFile, modulePath;
};

Listed lookUpProcess(Win32Os& os, DWORD pid) {
    Listed out;
    for (const platform::ProcessEntry& e : platform::ProcessWalk(os)) {
        EXPECT_EQ(e.size, platform::kProcessEntrySize);
        if (e.processId != pid) continue;
        out.found = true;
        out.exeFile = e.exeFile;
        out.modulePath = platform::modulePath(os, pid).value_or("");
    }
    return out;
}

}  // namespace

TEST(Win32OsToolhelp, ReportsChineseAndUpperCaseNamesByteForByte) {
    Win32Os os;
    ASSERT_TRUE(os.toolhelpAvailable());
    Helpers helpers;
    for (const std::string& name : {kChineseExe, kBackslashTrailExe, std::string("UPPER.EXE")}) {
        SCOPED_TRACE(name);
        winetest::Started s = helpers.start(name);
        ASSERT_NE(s.pid, 0u);
        Listed l = lookUpProcess(os, s.pid);
        ASSERT_TRUE(l.found);
        // Bare names, as on the NT family, in the file's own case and bytes.
        EXPECT_EQ(l.exeFile, name);
        EXPECT_EQ(base::fileNamePart(l.modulePath), name);
        EXPECT_EQ(base::asciiUpper(l.modulePath), base::asciiUpper(helpers.copy(name)));
    }
}

TEST(Win32OsToolhelp, FailuresGiveNoHandleAndNoEntryAndSayWhy) {
    Win32Os os;
    platform::ProcessEntry e;
    platform::ModuleEntry m;
    EXPECT_EQ(os.process32First(platform::kNoHandle, e), platform::Status(platform::Error::InvalidHandle));
    EXPECT_EQ(os.module32First(platform::kNoHandle, m), platform::Status(platform::Error::InvalidHandle));
    // A process that does not exist has no module list: INVALID_HANDLE_VALUE
    // must come back as "no handle", never as a handle to close.
    platform::Handle h = 1;
    const platform::Status snap = os.createToolhelp32Snapshot(platform::Snapshot::Modules, 0x7FFFFFF0u, h);
    EXPECT_FALSE(snap);
    EXPECT_NE(snap.code(), 0u);
    EXPECT_EQ(h, platform::kNoHandle);
    // The idle process cannot be opened.
    h = 1;
    EXPECT_FALSE(os.openProcess(platform::ProcessAccess::Terminate, false, 0, h));
    EXPECT_EQ(h, platform::kNoHandle);
    EXPECT_EQ(os.closeHandle(platform::kNoHandle), platform::Status(platform::Error::InvalidHandle));
}

// The helper's partner mode stands in for programs that restart each other:
// ended one at a time they come back, ended in one go they stay down.
TEST(Win32OsProcess, PartnersComeBackUnlessBothEndInOneGo) {
    Win32Os os;
    Helpers helpers;
    helpers.copy("ringb.exe");
    ASSERT_NE(helpers.start("ringa.exe", "--partner ringb.exe").pid, 0u);
    auto one = [&](const char* name) {
        auto ids = helpers.running(name);
        return ids.size() == 1 ? ids[0] : 0;
    };
    // Listed is not yet started: ended while it still makes its partner, the
    // first could take the half-made second with it.
    ASSERT_TRUE(winetest::waitUntil([&] {
        const DWORD b = one("ringb.exe");
        return b && winetest::moduleListReadable(b);
    }, 15000));
    auto end = [&](DWORD pid) {
        platform::Handle h = platform::kNoHandle;
        ASSERT_TRUE(os.openProcess(platform::ProcessAccess::All, true, pid, h));
        EXPECT_TRUE(os.terminateProcess(h, 0));
        EXPECT_TRUE(os.closeHandle(h));
    };

    DWORD a = one("ringa.exe");
    end(a);
    EXPECT_TRUE(winetest::waitUntil([&] { DWORD n = one("ringa.exe"); return n && n != a; }, 15000))
        << "ringa.exe was not restarted";

    DWORD na = one("ringa.exe"), nb = one("ringb.exe");
    ASSERT_TRUE(na && nb);
    end(na);
    end(nb);
    Sleep(1000);  // four polls of the partners
    EXPECT_TRUE(helpers.running("ringa.exe").empty());
    EXPECT_TRUE(helpers.running("ringb.exe").empty());
}

TEST(Win32OsSystem, TickCountVersionAndOwnPath) {
    Win32Os os;
    std::uint32_t t0 = os.getTickCount();
    Sleep(120);
    std::uint32_t elapsed = os.getTickCount() - t0;
    EXPECT_GE(elapsed, 100u);
    EXPECT_LT(elapsed, 5000u);

    platform::VersionInfo v;
    ASSERT_TRUE(os.getVersionEx(v));
    EXPECT_EQ(v.size, platform::kVersionInfoSize);
    EXPECT_EQ(v.platformId, platform::PlatformId::NT);
    EXPECT_GE(v.major, 4u);

    const platform::Result<std::string> self = os.exePath();
    ASSERT_TRUE(self);
    EXPECT_EQ(base::asciiUpper(base::fileNamePart(*self)), "WINE_TESTS.EXE");
    EXPECT_TRUE(platform::fileFound(os, *self));
}

TEST(Win32OsFiles, PatternsAndEmptyPathsNameNoFile) {
    Win32Os os;
    ScratchDir dir;
    ASSERT_TRUE(os.writeFile(dir.file("a.txt"), "x"));
    EXPECT_TRUE(platform::fileFound(os, dir.file("a.txt")));
    // FindFirstFileA would match these against a.txt.
    EXPECT_FALSE(platform::fileFound(os, dir.file("*.txt")));
    EXPECT_FALSE(platform::fileFound(os, dir.file("?.txt")));
    EXPECT_FALSE(platform::fileFound(os, ""));
    // A missing folder or drive names nothing; it is no failed look.
    EXPECT_FALSE(platform::fileFound(os, dir.file("none\\a.txt")));
    EXPECT_FALSE(platform::fileFound(os, "Q:\\none\\a.txt"));
}

TEST(Win32OsFiles, FailuresGiveTheSystemsCodeAndReason) {
    Win32Os os;
    ScratchDir dir;
    std::string bytes;
    auto failure = [&](platform::Status done) -> std::pair<std::uint32_t, std::string> {
        return {done.code(), done ? "no error" : platform::fileErrorText(os, done)};
    };
    auto missing = failure(os.readFile(dir.file("none.txt"), bytes));
    EXPECT_EQ(missing.first, 2u);
    EXPECT_EQ(missing.second, "File not found");
    auto noDir = failure(os.writeFile(dir.file("no\\such\\a.txt"), "x"));
    EXPECT_EQ(noDir.first, 3u);
    EXPECT_EQ(noDir.second, "Path not found");

    // A directory cannot be opened as a file (root ignores read-only bits,
    // so a read-only file would prove nothing here).
    std::string sub = dir.file("sub");
    ASSERT_TRUE(CreateDirectoryA(sub.c_str(), nullptr));
    auto denied = failure(os.writeFile(sub, "lost"));
    EXPECT_EQ(denied.first, platform::Error::AccessDenied);
    EXPECT_EQ(denied.second, "File access denied");
    RemoveDirectoryA(sub.c_str());

    std::string locked = dir.file("locked.txt");
    ASSERT_TRUE(os.writeFile(locked, "data"));
    HANDLE h = CreateFileA(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    auto shared = failure(os.readFile(locked, bytes));
    CloseHandle(h);
    EXPECT_EQ(shared.first, platform::Error::SharingViolation);
    EXPECT_EQ(shared.second.rfind("I/O error 32", 0), 0u) << shared.second;
}

TEST(Win32OsWindows, TitlesAreReadCutAndFound) {
    Win32Os os;
    Helpers helpers;
    std::string longTitle(300, 'T');
    longTitle.replace(0, 4, "长标");
    HWND longWnd = helpers.startWindow("long.exe", longTitle);
    ASSERT_NE(longWnd, nullptr);
    HWND hidden = helpers.startWindow("hidden.exe", "隐藏的窗口", "--hidden");
    ASSERT_NE(hidden, nullptr);

    std::string text;
    EXPECT_EQ(os.getWindowText(reinterpret_cast<platform::Hwnd>(longWnd), text), 254);
    EXPECT_EQ(text, longTitle.substr(0, 254));
    EXPECT_EQ(os.findWindow(nullptr, longTitle.c_str()), reinterpret_cast<platform::Hwnd>(longWnd));
    EXPECT_EQ(os.findWindow(nullptr, text.c_str()), 0u);  // the cut title names no window

    // The Z-order walk reaches hidden windows as well.
    bool sawHidden = false;
    HWND any = GetDesktopWindow();
    platform::Hwnd w = 0;
    platform::Status walked =
        os.getWindow(reinterpret_cast<platform::Hwnd>(GetTopWindow(any)), platform::WindowWalk::First, w);
    for (; walked && w; walked = os.getWindow(w, platform::WindowWalk::Next, w)) {
        if (os.getWindowText(w, text) > 0 && text == "隐藏的窗口") sawHidden = true;
    }
    EXPECT_TRUE(sawHidden);
    EXPECT_TRUE(walked) << walked.code();
}

TEST(Win32OsWindows, CloseAndQuitReachOtherPrograms) {
    Win32Os os;
    Helpers helpers;
    winetest::Started closer, quitter, stubborn;
    HWND c = helpers.startWindow("closer.exe", "关闭我", "--close-code 7", &closer);
    HWND q = helpers.startWindow("quitter.exe", "退出我", "--quit-code 9", &quitter);
    HWND s = helpers.startWindow("stubborn.exe", "不关", "--refuse-close", &stubborn);
    ASSERT_TRUE(c && q && s);

    EXPECT_TRUE(os.sendClose(reinterpret_cast<platform::Hwnd>(c), 3000));
    DWORD code = 0;
    ASSERT_TRUE(winetest::exitCodeOf(closer.process, code));
    EXPECT_EQ(code, 7u);

    EXPECT_TRUE(os.postQuit(reinterpret_cast<platform::Hwnd>(q)));
    ASSERT_TRUE(winetest::exitCodeOf(quitter.process, code));
    EXPECT_EQ(code, 9u);

    EXPECT_TRUE(os.sendClose(reinterpret_cast<platform::Hwnd>(s), 3000));
    EXPECT_TRUE(IsWindow(s));
    // A window that is gone is a failed target, not a hang.
    EXPECT_EQ(os.sendClose(reinterpret_cast<platform::Hwnd>(c), 3000), platform::Status(platform::Error::InvalidWindowHandle));
}

TEST(Win32OsWindows, HungWindowCostsOnlyTheTimeout) {
    Win32Os os;
    Helpers helpers;
    HWND h = helpers.startWindow("hung.exe", "挂起的窗口", "--hang");
    ASSERT_NE(h, nullptr);
    DWORD t0 = GetTickCount();
    EXPECT_EQ(os.sendClose(reinterpret_cast<platform::Hwnd>(h), 400), platform::Status(platform::Error::Timeout));
    EXPECT_LT(GetTickCount() - t0, 3000u);
    EXPECT_TRUE(IsWindow(h));
}

TEST(Win32OsRegistry, ValuesOfEveryTypeRoundTrip) {
    Win32Os os;
    const std::string sub = "Software\\Zentrek\\WineTest" + base::intToStr(GetCurrentProcessId());
    platform::HKey k = 0;
    ASSERT_EQ(os.regCreateKeyEx(platform::RootKey::CurrentUser, sub, platform::KeyAccess::All, k), platform::Status());
    struct V { std::string name; std::uint32_t type; std::string data; };
    const std::vector<V> values = {
        {"KillTime", platform::RegType::String, std::string("30\0", 3)},
        {"", platform::RegType::String, std::string("默认\0", 5)},
        {"路径", platform::RegType::ExpandString, std::string("%WINDIR%\\a.exe\0", 15)},
        {"Count", platform::RegType::Dword, std::string("\x05\0\0\0", 4)},
        {"Blob", platform::RegType::Binary, std::string("\0\x01\xFF", 3)},
        {"Empty", platform::RegType::String, std::string()},
    };
    for (const V& v : values) {
        platform::RegValue rv;
        rv.type = v.type;
        rv.data = v.data;
        EXPECT_EQ(os.regSetValueEx(k, v.name, rv), platform::Status()) << v.name;
    }
    for (const V& v : values) {
        platform::RegValue got;
        ASSERT_EQ(os.regQueryValueEx(k, v.name, got), platform::Status()) << v.name;
        EXPECT_EQ(got.type, v.type) << v.name;
        EXPECT_EQ(got.data, v.data) << v.name;
    }
    platform::RegKeyInfo info;
    ASSERT_EQ(os.regQueryInfoKey(k, info), platform::Status());
    EXPECT_EQ(info.values, values.size());
    std::vector<std::string> names;
    std::string name;
    for (std::uint32_t i = 0; os.regEnumValue(k, i, name).ok(); ++i) names.push_back(name);
    EXPECT_EQ(names.size(), values.size());
    EXPECT_EQ(os.regEnumValue(k, static_cast<std::uint32_t>(values.size()), name),
              platform::Status(platform::Error::NoMoreItems));

    EXPECT_EQ(os.regDeleteValue(k, "Blob"), platform::Status());
    platform::RegValue gone;
    EXPECT_EQ(os.regQueryValueEx(k, "Blob", gone), platform::Status(platform::Error::FileNotFound));
    EXPECT_EQ(os.regCloseKey(k), platform::Status());
    EXPECT_EQ(os.regDeleteKey(platform::RootKey::CurrentUser, sub), platform::Status());
    EXPECT_EQ(os.regOpenKeyEx(platform::RootKey::CurrentUser, sub, platform::KeyAccess::Read, k), platform::Status(platform::Error::FileNotFound));
}

TEST(Win32OsRegistry, MachineRunKeyTakesAndDropsAValue) {
    Win32Os os;
    const std::string run = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    const std::string name = "MorvaneWineTest" + base::intToStr(GetCurrentProcessId());
    platform::HKey k = 0;
    ASSERT_EQ(os.regOpenKeyEx(platform::RootKey::LocalMachine, run, platform::KeyAccess::All, k), platform::Status());
    const std::string path = "C:\\程序\\Morvane.exe";
    EXPECT_EQ(os.regSetValueEx(k, name, {platform::RegType::String, path + '\0'}), platform::Status());
    platform::RegValue v;
    EXPECT_EQ(os.regQueryValueEx(k, name, v), platform::Status());
    EXPECT_EQ(v.data, path + '\0');
    EXPECT_EQ(os.regDeleteValue(k, name), platform::Status());
    EXPECT_EQ(os.regDeleteValue(k, name), platform::Status(platform::Error::FileNotFound));
    EXPECT_TRUE(os.regCloseKey(k));
}

TEST(Win32OsTray, IconIsAddedChangedAndRemoved) {
    Win32Os os;
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "MorvaneTrayTest";
    RegisterClassA(&wc);
    HWND w = CreateWindowA("MorvaneTrayTest", "tray", WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                           nullptr, wc.hInstance, nullptr);
    ASSERT_NE(w, nullptr);
    platform::NotifyIconData d;
    d.wnd = reinterpret_cast<platform::Hwnd>(w);
    d.id = 3;
    d.flags = platform::TrayFlag::Message | platform::TrayFlag::Icon | platform::TrayFlag::Tip;
    d.callbackMessage = 0x0464;
    d.icon = reinterpret_cast<std::uintptr_t>(LoadIconA(nullptr, IDI_APPLICATION));
    d.tip = std::string(62, 'x') + "进";  // the double-byte character does not fit
    EXPECT_TRUE(os.shellNotifyIcon(platform::TrayMessage::Add, d));
    d.tip = "Morvane进程管理器";
    EXPECT_TRUE(os.shellNotifyIcon(platform::TrayMessage::Modify, d));
    EXPECT_TRUE(os.shellNotifyIcon(platform::TrayMessage::Delete, d));
    EXPECT_FALSE(os.shellNotifyIcon(platform::TrayMessage::Modify, d));  // gone
    DestroyWindow(w);
}
