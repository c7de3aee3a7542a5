#include "settings/store.h"

#include <cstdint>

#include "base/error.h"

namespace settings {

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
    platform::orRaise(reg.openKey(kSettingsKey, true), platform::RegistryError::cannotOpen, kSettingsKey);
}

std::string readSetting(platform::Os& os, const std::string& name) {
    platform::Registry reg(os, platform::RootKey::CurrentUser);
    openSettingsToRead(reg);
    return reg.readString(name);
}

void writeSetting(platform::Os& os, const std::string& name, const std::string& text) {
    platform::Registry reg(os, platform::RootKey::CurrentUser);
    platform::orRaise(reg.openKey(kSettingsKey, true), platform::RegistryError::cannotSet, name);
    reg.writeString(name, text);
}

}  // namespace settings
