// The registry object every settings and autostart operation creates, uses and
// releases: one open key at a time on a fixed root, string values only, and
// the framework's error texts, ready for the standard error box.
#pragma once
#include <cstdint>
#include "base/error.h"
#include <optional>
#include <string>
#include <vector>

#include "platform/os.h"

namespace platform {

// The framework's texts, and ours for a value that would not go, each with
// the code of the call that failed (0 where no call failed: a wrong type).
class RegistryError : public platform::OsError {
public:
    using platform::OsError::OsError;
    static std::string badTypeText(const std::string& name) { return "Invalid data type for '" + name + "'"; }
    static RegistryError badType(const std::string& name) { return RegistryError(badTypeText(name)); }
    static RegistryError cannotSet(const std::string& name, Status why) {
        return RegistryError("Failed to set data for '" + name + "'", why.code());
    }
    static RegistryError cannotRead(const std::string& name, Status why) {
        return RegistryError("Failed to get data for '" + name + "'", why.code());
    }
    static RegistryError cannotDelete(const std::string& name, Status why) {
        return RegistryError("Failed to delete value '" + name + "'", why.code());
    }
    static RegistryError cannotOpen(const std::string& path, Status why) {
        return RegistryError("Failed to open key " + path, why.code());
    }
    static RegistryError cannotCreate(const std::string& path, Status why) {
        return RegistryError("Failed to create key " + path, why.code());
    }
    // The same failure with more for the user to read after its reason.
    RegistryError followedBy(const std::string& more) const { return RegistryError(what() + more, code()); }
};

// How a step failed, as the error box tells it: RegistryError::cannotSet,
// cannotDelete and their kin.
using RegistryFailure = RegistryError (*)(const std::string& name, Status why);

// The one way a failed step becomes the error a page raises: the value of a
// result that came, else the failure `what` names for `name`.
void orRaise(Status done, RegistryFailure what, const std::string& name);
template <class T>
T orRaise(Result<T> done, RegistryFailure what, const std::string& name) {
    orRaise(done.status(), what, name);
    return std::move(*done);
}

// RegType::String and RegType::ExpandString: the types that read as text.
inline bool isString(const platform::RegValue& v) {
    return v.type == platform::RegType::String || v.type == platform::RegType::ExpandString;
}
// A string value's text: its data up to the first NUL, unexpanded.
inline std::string textOf(const platform::RegValue& v) { return v.data.substr(0, v.data.find('\0')); }

// One shape per kind of call:
// - the byte-level calls (openKey, readValue, writeValue, deleteValue,
//   getValueNames, deleteKey) answer as Os's do, with the Status of the call
//   that reached the registry (Error::InvalidHandle when no key is open),
//   readValue with a Result that holds the value;
// - the text calls (readString, writeString, valueIfAny, createKey), whose
//   failure is an error box, raise RegistryError;
// - the questions (hasOpenKey, valueExists, keyExists) answer yes or no, a
//   question that could not be asked reading as no.
class Registry {
public:
    Registry(platform::Os& os, platform::HKey root, std::uint32_t access = platform::KeyAccess::All);
    ~Registry();  // closes the open key
    Registry(const Registry&) = delete;
    Registry& operator=(const Registry&) = delete;

    // Paths are always taken from the root, never from the key that is open.
    // On success the new key replaces the open one; on failure nothing changes.
    [[nodiscard]] platform::Status openKey(const std::string& path, bool canCreate);
    void closeKey();
    bool hasOpenKey() const { return key_ != 0; }

    [[nodiscard]] bool valueExists(const std::string& name);
    // Missing value, empty data or no open key: empty text. RegType::String and
    // RegType::ExpandString: the text up to its first NUL, unexpanded. Any other type:
    // RegistryError "Invalid data type for 'NAME'"; a read that fails for
    // another reason than a missing value: "Failed to get data for 'NAME'".
    std::string readString(const std::string& name);
    // RegType::String (or RegType::ExpandString) with its NUL; RegistryError "Failed to set
    // data for 'NAME'".
    void writeString(const std::string& name, const std::string& text,
                     std::uint32_t type = platform::RegType::String);
    // A value as stored, any type, byte for byte.
    platform::Result<platform::RegValue> readValue(const std::string& name);
    // The value as stored, or nothing when it is missing. A read that fails
    // otherwise is no answer (taken for missing, a "yes" would read as "no"
    // and an undo would delete it): RegistryError "Failed to get data for
    // 'NAME'".
    [[nodiscard]] std::optional<platform::RegValue> valueIfAny(const std::string& name);
    [[nodiscard]] platform::Status writeValue(const std::string& name, const platform::RegValue& value);
    // Error::FileNotFound when it did not exist.
    [[nodiscard]] platform::Status deleteValue(const std::string& name);
    // The open key's value names in enumeration order ("" is the default
    // value); a listing that stops short keeps what it had and says why.
    [[nodiscard]] platform::Status getValueNames(std::vector<std::string>& names);

    // Creates path under the root (handle closed at once); RegistryError
    // "Failed to create key PATH".
    void createKey(const std::string& path);
    [[nodiscard]] bool keyExists(const std::string& path);
    // Removes a key that has no subkeys.
    [[nodiscard]] platform::Status deleteKey(const std::string& path);

private:
    platform::Os& os_;
    platform::HKey root_;
    std::uint32_t access_;
    platform::HKey key_ = 0;
};

}  // namespace platform
