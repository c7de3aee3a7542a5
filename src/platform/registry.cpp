#include "platform/registry.h"

namespace platform {

namespace {
// Windows takes a subkey path relative to its root and refuses one that
// starts with a backslash (Error::BadPathname); callers may write either.
std::string relative(const std::string& path) {
    const std::size_t start = path.find_first_not_of('\\');
    return start == std::string::npos ? std::string() : path.substr(start);
}
}  // namespace

// One copy of the throw, not one at every step that may fail.
void orRaise(Status done, RegistryFailure what, const std::string& name) {
    if (!done) throw what(name, done);
}

Registry::Registry(platform::Os& os, platform::HKey root, std::uint32_t access)
    : os_(os), root_(root), access_(access) {}

Registry::~Registry() { closeKey(); }

platform::Status Registry::openKey(const std::string& path, bool canCreate) {
    const std::string sub = relative(path);
    platform::HKey k = 0;
    const platform::Status opened = canCreate ? os_.regCreateKeyEx(root_, sub, access_, k)
                                              : os_.regOpenKeyEx(root_, sub, access_, k);
    if (!opened) return opened;
    closeKey();
    key_ = k;
    return {};
}

void Registry::closeKey() {
    if (key_ == 0) return;
    platform::ignore(os_.regCloseKey(key_), "nothing can be done about a key that will not close");
    key_ = 0;
}

bool Registry::valueExists(const std::string& name) { return readValue(name).ok(); }

std::string Registry::readString(const std::string& name) {
    if (key_ == 0) return "";
    const std::optional<platform::RegValue> v = valueIfAny(name);
    if (!v || v->data.empty()) return "";
    if (!isString(*v)) throw RegistryError::badType(name);
    return textOf(*v);
}

std::optional<platform::RegValue> Registry::valueIfAny(const std::string& name) {
    platform::Result<platform::RegValue> read = readValue(name);
    if (read.status().code() == platform::Error::FileNotFound) return std::nullopt;
    return orRaise(std::move(read), RegistryError::cannotRead, name);
}

void Registry::writeString(const std::string& name, const std::string& text, std::uint32_t type) {
    orRaise(writeValue(name, {type, text + '\0'}), RegistryError::cannotSet, name);
}

platform::Result<platform::RegValue> Registry::readValue(const std::string& name) {
    platform::RegValue value;
    const platform::Status read =
        key_ == 0 ? platform::Status(platform::Error::InvalidHandle) : os_.regQueryValueEx(key_, name, value);
    if (!read) return platform::Result<platform::RegValue>(read);
    return value;
}

platform::Status Registry::writeValue(const std::string& name, const platform::RegValue& value) {
    return key_ == 0 ? platform::Status(platform::Error::InvalidHandle) : os_.regSetValueEx(key_, name, value);
}

platform::Status Registry::deleteValue(const std::string& name) {
    return key_ == 0 ? platform::Status(platform::Error::InvalidHandle) : os_.regDeleteValue(key_, name);
}

platform::Status Registry::getValueNames(std::vector<std::string>& names) {
    names.clear();
    platform::RegKeyInfo info;
    const platform::Status counted =
        key_ == 0 ? platform::Status(platform::Error::InvalidHandle) : os_.regQueryInfoKey(key_, info);
    if (!counted) return counted;
    for (std::uint32_t i = 0; i < info.values; ++i) {
        std::string name;
        const platform::Status listed = os_.regEnumValue(key_, i, name);
        if (!listed) return listed;
        names.push_back(name);
    }
    return {};
}

void Registry::createKey(const std::string& path) {
    platform::HKey k = 0;
    orRaise(os_.regCreateKeyEx(root_, relative(path), access_, k), RegistryError::cannotCreate, path);
    platform::ignore(os_.regCloseKey(k), "nothing can be done about a key that will not close");
}

bool Registry::keyExists(const std::string& path) {
    platform::HKey k = 0;
    if (!os_.regOpenKeyEx(root_, relative(path), platform::KeyAccess::Read, k)) return false;
    platform::ignore(os_.regCloseKey(k), "nothing can be done about a key that will not close");
    return true;
}

platform::Status Registry::deleteKey(const std::string& path) {
    return os_.regDeleteKey(root_, relative(path));
}

}  // namespace platform
