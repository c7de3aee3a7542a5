// The settings store of TfrmMain: loading at start, the three check boxes
// that store themselves, the loop clear's interval, and the save at close.
#include "app/settings.h"

#include <cstdint>
#include <cstdlib>

#include "app/main_form.h"
#include "base/error.h"
#include "common/lists.h"
#include "platform/registry.h"
#include "process/normal_list.h"
#include "process/page.h"

namespace app {

int toInteger(const std::string& text) {
    const base::Error invalid("'" + text + "' is not a valid integer value");
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i == text.size()) throw invalid;
    std::int64_t v = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') throw invalid;
        v = v * 10 + (text[i] - '0');
        if (v > 2147483648LL) throw invalid;
    }
    if (negative) v = -v;
    if (v > 2147483647LL) throw invalid;
    return static_cast<int>(v);
}

void openSettingsToRead(platform::Registry& reg) {
    // A key that will not open holds values nobody can read: the password
    // among them must not read as empty.
    const platform::Status opened = reg.openKey(kSettingsKey, true);
    if (!opened) throw platform::RegistryError::cannotOpen(kSettingsKey, opened);
}

std::string readSetting(platform::Os& os, const std::string& name) {
    platform::Registry reg(os, platform::RootKey::CurrentUser);
    openSettingsToRead(reg);
    return reg.readString(name);
}

void writeSetting(platform::Os& os, const std::string& name, const std::string& text) {
    platform::Registry reg(os, platform::RootKey::CurrentUser);
    reg.openKey(kSettingsKey, true);
    reg.writeString(name, text);
}

}  // namespace app

void TfrmMain::LoadSettings() {
    {
        platform::Registry reg(os, platform::RootKey::CurrentUser);
        // The gate goes up first: the tick writes the value back, and a
        // write that fails must not leave the pages open. A key or value
        // that cannot be read keeps the gate up too: whether a password is
        // asked for is not known.
        auto raiseGate = [this] {
            Panel2.show();
            N1.enabled = false;
        };
        bool locked = false;
        try {
            app::openSettingsToRead(reg);
            locked = app::isYes(reg.readString("RunByPass"));
        } catch (const platform::RegistryError&) {
            raiseGate();
            throw;
        }
        if (locked) {
            raiseGate();
            ChkRunByPass.setChecked(true);
        }
        const bool minimised = app::isYes(reg.readString("RunAutoMin"));
        ChkMin.setChecked(minimised);
        StartMinimized = minimised;
        const std::string killTime = reg.readString("KillTime");
        if (!killTime.empty()) {
            const int v = app::toInteger(killTime);
            if (v >= app::kMinKillTime && v <= app::kMaxKillTime) {
                UpDown1.setPosition(v);
                Timer1.setInterval(static_cast<unsigned>(v) * 1000u);
            }
        }
    }
    {
        platform::Registry run(os, platform::RootKey::LocalMachine);
        run.openKey(app::kRunKey, true);
        std::string exe;
        if (os.exePath(exe) && run.readString(app::kRunValue) == exe) ChkAutoRun.setChecked(true);
    }
    process::loadNormalAppList(os, AppDir, ListApp);
    normalListLoaded_ = true;
}

void TfrmMain::SaveSettings() { saveSettings(true); }

// A Napplst.dat that start-up did not read (a step before it failed, or the
// file itself could not be read) is not what the list shows: it is replaced
// only when the user changed the list, and then only after a question.
// Without a question to ask (the session is ending) it is left alone.
void TfrmMain::saveSettings(bool mayAsk) {
    // Reading the position brings a field the user left with no number in
    // range back to what counts, so a bad text is never stored to stop the
    // next start.
    UpDown1.position();
    app::writeSetting(os, "KillTime", Edit4.text());
    if (!normalListLoaded_ && os.fileExists(process::normalListPath(AppDir))) {
        // Start-up leaves the list empty when it did not load the file.
        const bool changed = ListApp.count() != 0;
        if (!changed || !mayAsk ||
            !common::confirmed(Application, app::kUnloadedListQuestion))
            return;
    }
    process::saveNormalAppList(os, AppDir, ListApp);
    normalListLoaded_ = true;
}

void TfrmMain::ChkRunByPassClick() { app::writeSetting(os, "RunByPass", app::yesNo(ChkRunByPass.checked())); }

void TfrmMain::ChkMinClick() { app::writeSetting(os, "RunAutoMin", app::yesNo(ChkMin.checked())); }

void TfrmMain::ChkAutoRunClick() {
    platform::Registry run(os, platform::RootKey::LocalMachine);
    run.openKey(app::kRunKey, true);
    std::string exe;
    os.exePath(exe);
    if (ChkAutoRun.checked())
        run.writeString(app::kRunValue, exe);
    else
        run.deleteValue(app::kRunValue);
}

// The edit holds only what the arrows wrote; anything else keeps the
// interval as the arrows left it.
void TfrmMain::UpDown1Click() {
    int seconds = UpDown1.position();
    const std::string text = Edit4.text();
    char* end = nullptr;
    const long v = std::strtol(text.c_str(), &end, 10);
    if (!text.empty() && end && *end == '\0' && v >= UpDown1.min() && v <= UpDown1.max())
        seconds = static_cast<int>(v);
    Timer1.setInterval(static_cast<unsigned>(seconds) * 1000u);
}

void TfrmMain::Edit4KeyPress(char& key) { key = 0; }
