// The settings store of TfrmMain: loading at start, the three check boxes
// that store themselves, the loop clear's interval, and the save at close.
#include "app/settings.h"

#include <cstdint>
#include <cstdlib>
#include <functional>

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
    const platform::Status opened = reg.openKey(kSettingsKey, true);
    if (!opened) throw platform::RegistryError::cannotSet(name, opened);
    reg.writeString(name, text);
}

}  // namespace app

// Each stored item is read on its own: one that cannot be read is shown and
// the others still come, and a value never read is never written back.
void TfrmMain::LoadSettings() {
    intervalNotRead_ = UpDown1.position();
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
        auto gated = [&](const std::function<void()>& read) {
            Application.guard([&] {
                try {
                    read();
                } catch (...) {
                    raiseGate();
                    throw;
                }
            });
        };
        bool opened = false;
        gated([&] {
            app::openSettingsToRead(reg);
            opened = true;
        });
        if (opened) {
            gated([&] {
                if (!app::isYes(reg.readString("RunByPass"))) return;
                raiseGate();
                ChkRunByPass.setChecked(true);
            });
            Application.guard([&] {
                const bool minimised = app::isYes(reg.readString("RunAutoMin"));
                ChkMin.setChecked(minimised);
                StartMinimized = minimised;
            });
            Application.guard([&] {
                const std::string killTime = reg.readString("KillTime");
                intervalNotRead_ = 0;
                if (killTime.empty()) return;
                const int v = app::toInteger(killTime);
                if (v >= app::kMinKillTime && v <= app::kMaxKillTime) {
                    UpDown1.setPosition(v);
                    Timer1.setInterval(static_cast<unsigned>(v) * 1000u);
                }
            });
        }
    }
    Application.guard([this] {
        platform::Registry run(os, platform::RootKey::LocalMachine);
        platform::ignore(run.openKey(app::kRunKey, true),
                         "a Run key this user may not open reads as empty: the box stays unticked");
        std::string exe;
        if (os.exePath(exe) && run.readString(app::kRunValue) == exe) ChkAutoRun.setChecked(true);
    });
    Application.guard([this] {
        process::loadNormalAppList(os, AppDir, ListApp);
        normalListLoaded_ = true;
    });
}

// A Napplst.dat that start-up did not read (nor the copy a cut save left
// aside) is not what the list shows: it is replaced only when the user
// changed the list, and then only after a question. Without a question to
// ask (the session is ending) it is left alone.
void TfrmMain::saveNormalList(bool mayAsk) {
    if (!normalListLoaded_ && process::normalListStored(os, AppDir)) {
        // Start-up leaves the list empty when it did not load the file.
        const bool changed = ListApp.count() != 0;
        if (!changed || !mayAsk || !common::confirmed(Application, app::kUnloadedListQuestion)) return;
    }
    process::saveNormalAppList(os, AppDir, ListApp);
    normalListLoaded_ = true;
}

// Reading the position brings a field the user left with no number in range
// back to what counts, so a bad text is never stored to stop the next start.
// An interval start-up could not read stays as stored unless the user set
// another.
void TfrmMain::saveInterval() {
    if (UpDown1.position() == intervalNotRead_) return;
    app::writeSetting(os, "KillTime", Edit4.text());
}

// Each item goes on its own, so one that fails never keeps the other from
// being stored.
TfrmMain::SaveFailures TfrmMain::SaveSettings(bool mayAsk) {
    SaveFailures failed;
    try {
        saveInterval();
    } catch (const std::exception&) {
        failed.interval = std::current_exception();
    }
    try {
        saveNormalList(mayAsk);
    } catch (const std::exception&) {
        failed.list = std::current_exception();
    }
    return failed;
}

void TfrmMain::ChkRunByPassClick() { app::writeSetting(os, "RunByPass", app::yesNo(ChkRunByPass.checked())); }

void TfrmMain::ChkMinClick() { app::writeSetting(os, "RunAutoMin", app::yesNo(ChkMin.checked())); }

// Every failure is told, whichever way the box went; only a value already
// gone is no failure of unticking.
void TfrmMain::ChkAutoRunClick() {
    platform::Registry run(os, platform::RootKey::LocalMachine);
    const platform::Status opened = run.openKey(app::kRunKey, true);
    if (ChkAutoRun.checked()) {
        std::string exe;
        const platform::Status known = opened ? os.exePath(exe) : opened;
        if (!known) throw platform::RegistryError::cannotSet(app::kRunValue, known);
        run.writeString(app::kRunValue, exe);
        return;
    }
    const platform::Status deleted = opened ? run.deleteValue(app::kRunValue) : opened;
    if (!deleted && deleted.code() != platform::Error::FileNotFound)
        throw platform::RegistryError::cannotDelete(app::kRunValue, deleted);
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
