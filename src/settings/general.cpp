// "通用设置": the three check boxes that store themselves and the loop
// clear's interval.
#include <cstdlib>
#include <functional>

#include "platform/registry.h"
#include "settings/page.h"
#include "settings/store.h"

namespace settings {

void GeneralSettingsPage::ChkRunByPassClick() { writeSetting(os, "RunByPass", yesNo(ChkRunByPass.checked())); }

void GeneralSettingsPage::ChkMinClick() { writeSetting(os, "RunAutoMin", yesNo(ChkMin.checked())); }

// Every failure is told, whichever way the box went; only a value already
// gone is no failure of unticking.
void GeneralSettingsPage::ChkAutoRunClick() {
    platform::Registry run(os, platform::RootKey::LocalMachine);
    const platform::Status opened = run.openKey(kRunKey, true);
    if (ChkAutoRun.checked()) {
        platform::orRaise(opened, platform::RegistryError::cannotSet, kRunValue);
        run.writeString(kRunValue, platform::orRaise(os.exePath(), platform::RegistryError::cannotSet, kRunValue));
        return;
    }
    const platform::Status deleted = opened ? run.deleteValue(kRunValue) : opened;
    if (deleted.code() != platform::Error::FileNotFound)
        platform::orRaise(deleted, platform::RegistryError::cannotDelete, kRunValue);
}

void GeneralSettingsPage::Button5Click() { pages_.setActivePage(passwordPage_.TabSheet9); }

// The edit holds only what the arrows wrote; anything else keeps the
// interval as the arrows left it.
void GeneralSettingsPage::UpDown1Click() {
    int seconds = UpDown1.position();
    const std::string text = Edit4.text();
    char* end = nullptr;
    const long v = std::strtol(text.c_str(), &end, 10);
    if (!text.empty() && end && *end == '\0' && v >= UpDown1.min() && v <= UpDown1.max())
        seconds = static_cast<int>(v);
    host.loopIntervalSet(seconds);
}

void GeneralSettingsPage::Edit4KeyPress(char& key) { key = 0; }

// A value never read is never written back.
void GeneralSettingsPage::loadSettings() {
    intervalNotRead_ = UpDown1.position();
    {
        platform::Registry reg(os, platform::RootKey::CurrentUser);
        // The gate goes up first: the tick writes the value back, and a
        // write that fails must not leave the pages open. A key or value
        // that cannot be read keeps the gate up too: whether a password is
        // asked for is not known.
        auto gated = [&](const std::function<void()>& read) {
            Application.guard([&] {
                try {
                    read();
                } catch (...) {
                    passwordPanel_.raise();
                    throw;
                }
            });
        };
        bool opened = false;
        gated([&] {
            openSettingsToRead(reg);
            opened = true;
        });
        if (opened) {
            gated([&] {
                if (!isYes(reg.readString("RunByPass"))) return;
                passwordPanel_.raise();
                ChkRunByPass.setChecked(true);
            });
            Application.guard([&] {
                const bool minimised = isYes(reg.readString("RunAutoMin"));
                ChkMin.setChecked(minimised);
                host.StartMinimized = minimised;
            });
            Application.guard([&] {
                const std::string killTime = reg.readString("KillTime");
                intervalNotRead_ = 0;
                if (killTime.empty()) return;
                const int v = toInteger(killTime);
                if (v >= kMinKillTime && v <= kMaxKillTime) {
                    UpDown1.setPosition(v);
                    host.loopIntervalSet(v);
                }
            });
        }
    }
    Application.guard([this] {
        platform::Registry run(os, platform::RootKey::LocalMachine);
        platform::ignore(run.openKey(kRunKey, true),
                         "a Run key this user may not open reads as empty: the box stays unticked");
        const platform::Result<std::string> exe = os.exePath();
        if (exe && run.readString(kRunValue) == *exe) ChkAutoRun.setChecked(true);
    });
}

// Reading the position brings a field the user left with no number in range
// back to what counts, so a bad text is never stored to stop the next start.
// An interval start-up could not read stays as stored unless the user set
// another; once one is stored, every later one is.
void GeneralSettingsPage::saveSettings() {
    if (UpDown1.position() == intervalNotRead_) return;
    writeSetting(os, "KillTime", Edit4.text());
    intervalNotRead_ = 0;
}

}  // namespace settings
