// The registry object every settings and autostart operation creates, uses and
// releases: one open key at a time on a fixed root, string values only, and
// the framework's error texts, ready for the standard error box.
#pragma once
#include <cstdint>
#include "base/error.h"
#include <string>
#include <vector>

#include "platform/os.h"

namespace platform {

class RegistryError : public base::Error {
public:
    using base::Error::Error;
};

class Registry {
public:
    Registry(os::Os& os, os::HKey root, std::uint32_t access = os::KEY_ALL_ACCESS);
    ~Registry();  // closes the open key
    Registry(const Registry&) = delete;
    Registry& operator=(const Registry&) = delete;

    // Paths are always taken from the root, never from the key that is open.
    // On success the new key replaces the open one; on failure nothing changes.
    bool openKey(const std::string& path, bool canCreate);
    void closeKey();
    bool hasOpenKey() const { return key_ != 0; }

    bool valueExists(const std::string& name);
    // Missing value, empty data or no open key: empty text. REG_SZ and
    // REG_EXPAND_SZ: the text up to its first NUL, unexpanded. Any other type:
    // RegistryError "Invalid data type for 'NAME'".
    std::string readString(const std::string& name);
    // REG_SZ with its NUL; RegistryError "Failed to set data for 'NAME'".
    void writeString(const std::string& name, const std::string& text);
    bool deleteValue(const std::string& name);  // false when it did not exist
    // The open key's value names in enumeration order ("" is the default value).
    std::vector<std::string> getValueNames();

    // Creates path under the root (handle closed at once); RegistryError
    // "Failed to create key PATH".
    void createKey(const std::string& path);
    bool keyExists(const std::string& path);

private:
    os::Os& os_;
    os::HKey root_;
    std::uint32_t access_;
    os::HKey key_ = 0;
};

}  // namespace platform
