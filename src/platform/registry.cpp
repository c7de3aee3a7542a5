#include "platform/registry.h"

namespace platform {

namespace {
// Windows takes a subkey path relative to its root and refuses one that
// starts with a backslash (ERROR_BAD_PATHNAME); callers may write either.
std::string relative(const std::string& path) {
    const std::size_t start = path.find_first_not_of('\\');
    return start == std::string::npos ? std::string() : path.substr(start);
}
}  // namespace

Registry::Registry(platform::Os& os, platform::HKey root, std::uint32_t access)
    : os_(os), root_(root), access_(access) {}

Registry::~Registry() { closeKey(); }

bool Registry::openKey(const std::string& path, bool canCreate) {
    const std::string sub = relative(path);
    platform::HKey k = 0;
    if (!result(canCreate ? os_.regCreateKeyEx(root_, sub, access_, k)
                          : os_.regOpenKeyEx(root_, sub, access_, k)))
        return false;
    closeKey();
    key_ = k;
    return true;
}

void Registry::closeKey() {
    if (key_ == 0) return;
    os_.regCloseKey(key_);
    key_ = 0;
}

bool Registry::valueExists(const std::string& name) {
    platform::RegValue v;
    return key_ != 0 && os_.regQueryValueEx(key_, name, v) == platform::ERROR_SUCCESS;
}

bool Registry::result(long err) {
    error_ = err;
    return err == platform::ERROR_SUCCESS;
}

std::string Registry::readString(const std::string& name) {
    if (key_ == 0) return "";
    const std::optional<platform::RegValue> v = valueIfAny(name);
    if (!v || v->data.empty()) return "";
    if (!isString(*v)) throw RegistryError::badType(name);
    return textOf(*v);
}

std::optional<platform::RegValue> Registry::valueIfAny(const std::string& name) {
    platform::RegValue v;
    if (readValue(name, v)) return v;
    if (error_ == platform::ERROR_FILE_NOT_FOUND) return std::nullopt;
    throw RegistryError::cannotRead(name);
}

void Registry::writeString(const std::string& name, const std::string& text, std::uint32_t type) {
    if (!writeValue(name, {type, text + '\0'})) throw RegistryError::cannotSet(name);
}

bool Registry::readValue(const std::string& name, platform::RegValue& value) {
    return result(key_ == 0 ? platform::ERROR_INVALID_HANDLE : os_.regQueryValueEx(key_, name, value));
}

bool Registry::writeValue(const std::string& name, const platform::RegValue& value) {
    return result(key_ == 0 ? platform::ERROR_INVALID_HANDLE : os_.regSetValueEx(key_, name, value));
}

bool Registry::deleteValue(const std::string& name) {
    return result(key_ == 0 ? platform::ERROR_INVALID_HANDLE : os_.regDeleteValue(key_, name));
}

std::vector<std::string> Registry::getValueNames() {
    std::vector<std::string> names;
    platform::RegKeyInfo info;
    if (!result(key_ == 0 ? platform::ERROR_INVALID_HANDLE : os_.regQueryInfoKey(key_, info)))
        return names;
    for (std::uint32_t i = 0; i < info.values; ++i) {
        std::string name;
        if (!result(os_.regEnumValue(key_, i, name))) break;
        names.push_back(name);
    }
    return names;
}

void Registry::createKey(const std::string& path) {
    platform::HKey k = 0;
    if (os_.regCreateKeyEx(root_, relative(path), access_, k) != platform::ERROR_SUCCESS)
        throw RegistryError::cannotCreate(path);
    os_.regCloseKey(k);
}

bool Registry::keyExists(const std::string& path) {
    platform::HKey k = 0;
    if (os_.regOpenKeyEx(root_, relative(path), platform::KEY_READ, k) != platform::ERROR_SUCCESS) return false;
    os_.regCloseKey(k);
    return true;
}

bool Registry::deleteKey(const std::string& path) { return result(os_.regDeleteKey(root_, relative(path))); }

}  // namespace platform
