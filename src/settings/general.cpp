// "通用设置": the three check boxes that store themselves and the loop
// clear's interval.
#include <cstdlib>

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
    loopTimer_.setInterval(static_cast<unsigned>(seconds) * 1000u);
}

void GeneralSettingsPage::Edit4KeyPress(char& key) { key = 0; }

}  // namespace settings
