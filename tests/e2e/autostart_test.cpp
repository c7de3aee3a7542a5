// The autostart page of the real Morvane.exe against the real autostart keys
// of its Wine prefix, which every test puts back as it found them.
#include <map>

#include "e2e/e2e_test.h"

using namespace e2e;
using namespace std::string_literals;

namespace {

const std::string kBase = "Software\\Microsoft\\Windows\\CurrentVersion\\";
const std::string kRun = kBase + "Run", kOnce = kBase + "RunOnce";
const char* const kSources[] = {"Run", "RunServices", "RunOnce", "RunOnceEx", "RunServicesOnce"};
constexpr int kAutostartTab = 3;

struct Value {
    DWORD type;
    std::string data;
    bool operator==(const Value&) const = default;
};
using Key = std::map<std::string, Value>;

std::optional<Key> readKey(const std::string& path) {
    HKEY k = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return std::nullopt;
    Key out;
    for (DWORD i = 0;; ++i) {
        char name[1024];
        DWORD len = sizeof name, type = 0, size = 0;
        if (RegEnumValueA(k, i, name, &len, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) break;
        std::string data(size, '\0');
        RegQueryValueExA(k, name, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
        out[std::string(name, len)] = {type, data};
    }
    RegCloseKey(k);
    return out;
}

std::optional<Value> regValue(const std::string& path, const std::string& name) {
    const std::optional<Key> key = readKey(path);
    if (!key || !key->count(name)) return std::nullopt;
    return key->at(name);
}

// The five keys as they were before the test, put back after it.
class KeysRestored {
public:
    KeysRestored() {
        for (const char* s : kSources) before_[s] = readKey(kBase + s);
    }
    ~KeysRestored() {
        for (const auto& [source, key] : before_) {
            const std::string path = kBase + source;
            if (const std::optional<Key> now = readKey(path))
                for (const auto& [name, v] : *now) deleteRegValue(HKEY_LOCAL_MACHINE, path, name);
            if (!key) {
                deleteRegKey(HKEY_LOCAL_MACHINE, path);
                continue;
            }
            for (const auto& [name, v] : *key) setRegValue(HKEY_LOCAL_MACHINE, path, name, v.type, v.data);
        }
    }
    KeysRestored(const KeysRestored&) = delete;
    KeysRestored& operator=(const KeysRestored&) = delete;

private:
    std::map<std::string, std::optional<Key>> before_;
};

int rowOf(const App& app, const std::string& name) {
    const std::vector<std::string> names = app.column(autostart::ids::ListView1, 0);
    for (size_t i = 0; i < names.size(); ++i)
        if (names[i] == name) return static_cast<int>(i);
    return -1;
}

std::string locationOf(const App& app, const std::string& name) {
    const int row = rowOf(app, name);
    return row < 0 ? "<not listed>" : app.cell(autostart::ids::ListView1, row, 1);
}

TEST(AutostartE2E, ListsAsStoredAndNewChangeDeleteReachTheKeyOnlyOnApply) {
    run([] {
        KeysRestored restored;
        setRegString(HKEY_LOCAL_MACHINE, kRun, "", "default.exe /e2e");
        setRegValue(HKEY_LOCAL_MACHINE, kOnce, "E2EExpand", REG_EXPAND_SZ, "%SystemRoot%\\e2e.exe\0"s);
        Session s;
        App& app = s.startApp();
        app.selectTab(app::ids::PageControl1, kAutostartTab);
        EXPECT_EQ(locationOf(app, ""), "default.exe /e2e");
        EXPECT_EQ(locationOf(app, "E2EExpand"), "%SystemRoot%\\e2e.exe");
        EXPECT_LT(rowOf(app, ""), rowOf(app, "E2EExpand")) << "Run comes before RunOnce";

        app.setText(autostart::ids::Edit5, "E2E新程序");
        app.setText(autostart::ids::Edit6, "C:\\e2e\\新.exe");
        app.click(autostart::ids::Button18);
        ASSERT_EQ(rowOf(app, "E2E新程序"), app.rowCount(autostart::ids::ListView1) - 1);
        EXPECT_FALSE(regString(HKEY_LOCAL_MACHINE, kRun, "E2E新程序").has_value()) << "before apply";
        app.click(autostart::ids::Button17);
        EXPECT_EQ(regString(HKEY_LOCAL_MACHINE, kRun, "E2E新程序"), "C:\\e2e\\新.exe");
        EXPECT_EQ(regString(HKEY_LOCAL_MACHINE, kRun, ""), "default.exe /e2e");
        EXPECT_EQ(regValue(kOnce, "E2EExpand"), (Value{REG_EXPAND_SZ, "%SystemRoot%\\e2e.exe\0"s}));

        app.setText(autostart::ids::Edit5, "");
        app.setText(autostart::ids::Edit6, "");
        app.selectRow(autostart::ids::ListView1, rowOf(app, "E2E新程序"));
        EXPECT_EQ(app.text(autostart::ids::Edit5), "E2E新程序");
        EXPECT_EQ(app.text(autostart::ids::Edit6), "C:\\e2e\\新.exe");
        app.setText(autostart::ids::Edit5, "E2E改名");
        app.click(autostart::ids::Button21);
        app.click(autostart::ids::Button17);
        EXPECT_FALSE(regString(HKEY_LOCAL_MACHINE, kRun, "E2E新程序").has_value());
        EXPECT_EQ(regString(HKEY_LOCAL_MACHINE, kRun, "E2E改名"), "C:\\e2e\\新.exe");

        app.selectRow(autostart::ids::ListView1, rowOf(app, "E2E改名"));
        app.click(autostart::ids::Button19);
        EXPECT_EQ(rowOf(app, "E2E改名"), -1);
        EXPECT_TRUE(regString(HKEY_LOCAL_MACHINE, kRun, "E2E改名").has_value()) << "before apply";
        app.click(autostart::ids::Button17);
        EXPECT_FALSE(regString(HKEY_LOCAL_MACHINE, kRun, "E2E改名").has_value());
        EXPECT_EQ(app.dialog(), nullptr) << "no message on success";
        for (const char* source : kSources) EXPECT_TRUE(readKey(kBase + source).has_value()) << source;
    });
}

TEST(AutostartE2E, AValueOfAnotherTypeIsNamedAndApplyLosesNothing) {
    run([] {
        KeysRestored restored;
        setRegString(HKEY_LOCAL_MACHINE, kRun, "E2EBefore", "before.exe");
        setRegValue(HKEY_LOCAL_MACHINE, kRun, "E2EFlag", REG_DWORD, "\x01\0\0\0"s);
        setRegString(HKEY_LOCAL_MACHINE, kRun, "E2EAfter", "after.exe");
        setRegString(HKEY_LOCAL_MACHINE, kOnce, "E2ELater", "later.exe");
        const std::optional<Key> run = readKey(kRun), once = readKey(kOnce);
        Session s;
        App& app = s.startApp(kStartMs, false);
        MsgBox box = app.waitMessageBox(kStartMs);
        EXPECT_EQ(box.text, "Invalid data type for 'E2EFlag'");
        box.press(IDOK);
        ASSERT_TRUE(waitFor([&] { return IsWindowVisible(app.hwnd()) != 0; }));
        EXPECT_GT(app.count(process::ids::List1), 0) << "start-up went on to the process list";
        app.selectTab(app::ids::PageControl1, kAutostartTab);
        EXPECT_EQ(locationOf(app, "E2EAfter"), "after.exe");
        EXPECT_EQ(locationOf(app, "E2ELater"), "later.exe");
        EXPECT_EQ(rowOf(app, "E2EFlag"), -1);

        app.click(autostart::ids::Button17);
        EXPECT_EQ(app.dialog(), nullptr);
        EXPECT_EQ(readKey(kRun), run);
        EXPECT_EQ(readKey(kOnce), once);
    });
}

TEST(AutostartE2E, TheSettingsPagesOwnValueShowsAfterRefresh) {
    run([] {
        KeysRestored restored;
        CleanSettings clean;
        Session s;
        App& app = s.startApp();
        app.selectTab(app::ids::PageControl1, 4);
        app.click(settings::ids::ChkAutoRun);
        const std::optional<std::string> own = regString(HKEY_LOCAL_MACHINE, kRun, "Zentrek");
        ASSERT_TRUE(own.has_value());
        app.selectTab(app::ids::PageControl1, kAutostartTab);
        EXPECT_EQ(rowOf(app, "Zentrek"), -1);
        app.click(autostart::ids::Button14);
        EXPECT_EQ(locationOf(app, "Zentrek"), *own);
    });
}

// Another program's installer and the settings page write into the keys
// after the list was filled: "应用" removes only what the list removed.
TEST(AutostartE2E, ApplyKeepsWhatOthersAddedAfterTheFill) {
    run([] {
        KeysRestored restored;
        CleanSettings clean;
        setRegString(HKEY_LOCAL_MACHINE, kRun, "E2EOld", "old.exe");
        setRegString(HKEY_LOCAL_MACHINE, kRun, "E2EKept", "kept.exe");
        Session s;
        App& app = s.startApp();
        setRegString(HKEY_LOCAL_MACHINE, kRun, "E2ETheirs", "theirs.exe");
        setRegString(HKEY_LOCAL_MACHINE, kOnce, "E2ESetup", "setup.exe /continue");
        app.selectTab(app::ids::PageControl1, 4);
        app.click(settings::ids::ChkAutoRun);
        const std::optional<std::string> own = regString(HKEY_LOCAL_MACHINE, kRun, "Zentrek");
        ASSERT_TRUE(own.has_value());
        app.selectTab(app::ids::PageControl1, kAutostartTab);
        app.selectRow(autostart::ids::ListView1, rowOf(app, "E2EOld"));
        app.click(autostart::ids::Button19);
        app.click(autostart::ids::Button17);
        EXPECT_EQ(app.dialog(), nullptr);
        EXPECT_FALSE(regString(HKEY_LOCAL_MACHINE, kRun, "E2EOld").has_value());
        EXPECT_EQ(regString(HKEY_LOCAL_MACHINE, kRun, "E2EKept"), "kept.exe");
        EXPECT_EQ(regString(HKEY_LOCAL_MACHINE, kRun, "E2ETheirs"), "theirs.exe");
        EXPECT_EQ(regString(HKEY_LOCAL_MACHINE, kOnce, "E2ESetup"), "setup.exe /continue");
        EXPECT_EQ(regString(HKEY_LOCAL_MACHINE, kRun, "Zentrek"), own);
    });
}

}  // namespace
