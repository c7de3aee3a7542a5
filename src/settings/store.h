// Where the settings live and the rules for reading and writing them, for
// the pages that store themselves and the window's start-up and close.
#pragma once
#include <string>

#include "platform/os.h"
#include "platform/registry.h"

namespace settings {

inline constexpr const char* kSettingsKey = "Software\\Zentrek";
inline constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const char* kRunValue = "Zentrek";
inline constexpr int kMinKillTime = 1, kMaxKillTime = 30;

// Only this exact text switches a setting on; "Yes" does not.
inline bool isYes(const std::string& text) { return text == "yes"; }
inline const char* yesNo(bool on) { return on ? "yes" : "no"; }

// A whole number in decimal: blanks before it, an optional sign, digits,
// nothing after. Anything else, or a number outside 32 bits, raises
// "'TEXT' is not a valid integer value".
int toInteger(const std::string& text);

// One value of the settings key, each through a registry object of its own
// that opens the key with full access and creates it when missing. A missing
// value reads as empty text; a value of another type raises "Invalid data
// type for 'NAME'", a failed write "Failed to set data for 'NAME'".
std::string readSetting(platform::Os& os, const std::string& name);
// Opens (or makes) the settings key; RegistryError "Failed to open key
// Software\Zentrek" when it will not open.
void openSettingsToRead(platform::Registry& reg);
void writeSetting(platform::Os& os, const std::string& name, const std::string& text);

}  // namespace settings
