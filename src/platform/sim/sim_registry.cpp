// The registry hive: keys under the four roots, open keys, values, and the
// read-only and unopenable faults.
#include "platform/sim/sim_state.h"

#include <algorithm>

namespace sim {

namespace {

constexpr std::uint32_t KEY_QUERY_VALUE = 0x1;
constexpr std::uint32_t KEY_SET_VALUE = 0x2;
constexpr long ERROR_KEY_DELETED = 1018;

// Registry paths: components split at '\', empty ones dropped, compared
// ignoring ASCII case as Windows does.
std::string normPath(const std::string& path) {
    std::string out, part;
    auto flush = [&] {
        if (part.empty()) return;
        if (!out.empty()) out += '\\';
        out += part;
        part.clear();
    };
    for (std::size_t i = 0; i < path.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(path[i]);
        if (base::isLeadByte(c) && i + 1 < path.size()) {
            part += path[i];
            part += path[++i];
        } else if (c == '\\') {
            flush();
        } else {
            part += path[i];
        }
    }
    flush();
    return out;
}

std::string keyId(const std::string& path) { return base::asciiUpper(normPath(path)); }

// Position of the last '\' that is a character of its own, or npos.
std::size_t lastSep(const std::string& path) {
    std::size_t pos = std::string::npos;
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (base::isLeadByte(static_cast<unsigned char>(path[i])) && i + 1 < path.size())
            ++i;
        else if (path[i] == '\\')
            pos = i;
    }
    return pos;
}

std::string parentOf(const std::string& id) {
    std::size_t sep = lastSep(id);
    return sep == std::string::npos ? std::string() : id.substr(0, sep);
}

std::string lastComponent(const std::string& path) {
    std::size_t sep = lastSep(path);
    return sep == std::string::npos ? path : path.substr(sep + 1);
}

const platform::RegValue* findValue(const Key& k, const std::string& name) {
    for (auto& [n, v] : k.values)
        if (sameName(n, name)) return &v;
    return nullptr;
}

}  // namespace

std::string SimOs::State::keyTarget(platform::HKey root, const std::string& subKey) {
    platform::HKey realRoot;
    std::string id;
    if (!resolve(root, subKey, realRoot, id)) return {};
    return "key " + num(realRoot) + "\\" + id;
}

std::string SimOs::State::valueTarget(platform::HKey key, const std::string& name) {
    const std::string k = keyTarget(key);
    return k.empty() ? k : "value" + k.substr(3) + "\\" + name;
}

bool SimOs::State::resolve(platform::HKey root, const std::string& subKey, platform::HKey& realRoot,
                           std::string& id) {
    std::string sub = keyId(subKey);
    if (isRoot(root)) {
        realRoot = root;
        id = sub;
        return true;
    }
    auto it = keys.find(root);
    if (it == keys.end()) return false;
    realRoot = it->second.root;
    id = it->second.id.empty() ? sub : sub.empty() ? it->second.id : it->second.id + "\\" + sub;
    return true;
}

Key* SimOs::State::key(platform::HKey root, const std::string& id) {
    auto& m = hive[root];
    auto it = m.find(id);
    return it == m.end() ? nullptr : &it->second;
}

Key& SimOs::State::ensureKey(platform::HKey root, const std::string& path) {
    std::string norm = normPath(path);
    std::string id = base::asciiUpper(norm);
    auto& m = hive[root];
    if (auto it = m.find(id); it != m.end()) return it->second;
    if (!id.empty()) {
        std::string parentId = parentOf(id);
        std::string parentNorm = norm.substr(0, parentId.size());
        ensureKey(root, parentNorm);
    }
    Key& k = m[id];
    k.name = lastComponent(norm);
    return k;
}

Key* SimOs::State::keyOf(platform::HKey h, long& err) {
    platform::HKey root;
    std::string id;
    if (!resolve(h, "", root, id)) {
        err = platform::Error::InvalidHandle;
        return nullptr;
    }
    Key* k = id.empty() ? &ensureKey(root, "") : key(root, id);
    err = k ? platform::Error::Success : ERROR_KEY_DELETED;
    return k;
}

bool SimOs::State::readOnlyAt(platform::HKey root, std::string id) {
    for (;;) {
        Key* k = id.empty() ? &ensureKey(root, "") : key(root, id);
        if (k && k->readOnly) return true;
        if (id.empty()) return false;
        id = parentOf(id);
    }
}

bool SimOs::State::readOnlyHandle(platform::HKey h) {
    platform::HKey root;
    std::string id;
    return resolve(h, "", root, id) && readOnlyAt(root, id);
}

std::uint32_t SimOs::State::accessOf(platform::HKey h) {
    auto it = keys.find(h);
    return it == keys.end() ? platform::KeyAccess::All : it->second.access;
}

std::vector<std::string> SimOs::State::childrenOf(platform::HKey root, const std::string& id) {
    std::vector<std::string> out;
    for (auto& [kid, k] : hive[root]) {
        if (kid.empty() || kid == id) continue;
        if (parentOf(kid) == id) out.push_back(k.name);
    }
    return out;
}

void SimOs::setValue(platform::HKey root, const std::string& subKey, const std::string& name,
                     std::uint32_t type, const std::string& data) {
    Key& k = s_->ensureKey(root, subKey);
    for (auto& [n, v] : k.values)
        if (sameName(n, name)) {
            v = {type, data};
            return;
        }
    k.values.push_back({name, {type, data}});
}

void SimOs::setString(platform::HKey root, const std::string& subKey, const std::string& name,
                      const std::string& text) {
    setValue(root, subKey, name, platform::RegType::String, text + '\0');
}

bool SimOs::hasKey(platform::HKey root, const std::string& subKey) const {
    std::string id = keyId(subKey);
    if (id.empty()) return true;
    auto it = s_->hive.find(root);
    return it != s_->hive.end() && it->second.count(id);
}

bool SimOs::hasValue(platform::HKey root, const std::string& subKey, const std::string& name) const {
    if (!hasKey(root, subKey)) return false;
    const Key* k = s_->key(root, keyId(subKey));
    return k && findValue(*k, name);
}

std::string SimOs::stringValue(platform::HKey root, const std::string& subKey,
                               const std::string& name) const {
    if (!hasKey(root, subKey)) return "";
    const Key* k = s_->key(root, keyId(subKey));
    const platform::RegValue* v = k ? findValue(*k, name) : nullptr;
    if (!v) return "";
    return v->data.substr(0, v->data.find('\0'));
}

std::uint32_t SimOs::valueType(platform::HKey root, const std::string& subKey,
                               const std::string& name) const {
    if (!hasKey(root, subKey)) return platform::RegType::None;
    const Key* k = s_->key(root, keyId(subKey));
    const platform::RegValue* v = k ? findValue(*k, name) : nullptr;
    return v ? v->type : platform::RegType::None;
}

std::vector<std::string> SimOs::valueNames(platform::HKey root, const std::string& subKey) const {
    std::vector<std::string> out;
    if (!hasKey(root, subKey)) return out;
    if (const Key* k = s_->key(root, keyId(subKey)))
        for (auto& [n, v] : k->values) out.push_back(n);
    return out;
}

void SimOs::removeKey(platform::HKey root, const std::string& subKey) {
    std::string id = keyId(subKey);
    auto& m = s_->hive[root];
    std::erase_if(m, [&](const auto& kv) {
        const std::string& kid = kv.first;
        return kid == id || (id.empty() || (kid.size() > id.size() &&
                                            kid.compare(0, id.size(), id) == 0 &&
                                            kid[id.size()] == '\\'));
    });
}

void SimOs::setKeyReadOnly(platform::HKey root, const std::string& subKey, bool readOnly) {
    s_->ensureKey(root, subKey).readOnly = readOnly;
}

void SimOs::setKeyUnopenable(platform::HKey root, const std::string& subKey, bool unopenable) {
    s_->ensureKey(root, subKey).unopenable = unopenable;
}

void SimOs::refuseChangesAfter(platform::HKey root, const std::string& subKey, int changes, bool once) {
    Key& k = s_->ensureKey(root, subKey);
    k.changesLeft = changes;
    k.refusesOnce = once;
}

void SimOs::failReadsAfter(platform::HKey root, const std::string& subKey, int reads, long error) {
    Key& k = s_->ensureKey(root, subKey);
    if (reads < 0) k.readsLeft.reset();
    else k.readsLeft = reads;
    k.readError = error;
}

int SimOs::openKeys() const { return static_cast<int>(s_->keys.size()); }

// --- platform::Os ----------------------------------------------------------------

platform::Status SimOs::regOpenKeyEx(platform::HKey root, const std::string& subKey, std::uint32_t access,
                         platform::HKey& key) {
    if (s_->log("RegOpenKeyExA", hex(root) + "\\" + subKey + ", access=" + hex(access), s_->keyTarget(root, subKey)))
        return platform::Status(platform::Error::AccessDenied);
    if (!subKey.empty() && subKey.front() == '\\') return platform::Status(platform::Error::BadPathname);
    platform::HKey realRoot;
    std::string id;
    if (!s_->resolve(root, subKey, realRoot, id)) return platform::Status(platform::Error::InvalidHandle);
    Key* k = id.empty() ? &s_->ensureKey(realRoot, "") : s_->key(realRoot, id);
    if (!k) return platform::Status(platform::Error::FileNotFound);
    if (k->unopenable) return platform::Status(platform::Error::AccessDenied);
    key = s_->nextKey;
    s_->nextKey += 4;
    s_->keys[key] = {realRoot, id, access};
    return platform::Status(platform::Error::Success);
}

platform::Status SimOs::regCreateKeyEx(platform::HKey root, const std::string& subKey, std::uint32_t access,
                           platform::HKey& key) {
    if (s_->log("RegCreateKeyExA", hex(root) + "\\" + subKey + ", access=" + hex(access), s_->keyTarget(root, subKey)))
        return platform::Status(platform::Error::AccessDenied);
    if (!subKey.empty() && subKey.front() == '\\') return platform::Status(platform::Error::BadPathname);
    platform::HKey realRoot;
    std::string id;
    if (!s_->resolve(root, subKey, realRoot, id)) return platform::Status(platform::Error::InvalidHandle);
    Key* k = id.empty() ? &s_->ensureKey(realRoot, "") : s_->key(realRoot, id);
    if (!k) {
        // A new key needs write access to the nearest existing ancestor.
        for (std::string up = parentOf(id);; up = parentOf(up)) {
            Key* a = up.empty() ? &s_->ensureKey(realRoot, "") : s_->key(realRoot, up);
            if (a) {
                if (a->unopenable || s_->readOnlyAt(realRoot, up)) return platform::Status(platform::Error::AccessDenied);
                break;
            }
            if (up.empty()) break;
        }
        // Keep the caller's spelling for the new components.
        std::string norm = normPath(subKey);
        auto it = s_->keys.find(root);
        std::string full = (it != s_->keys.end() && !it->second.id.empty())
                               ? it->second.id + (norm.empty() ? "" : "\\" + norm)
                               : norm;
        k = &s_->ensureKey(realRoot, full);
    }
    if (k->unopenable) return platform::Status(platform::Error::AccessDenied);
    key = s_->nextKey;
    s_->nextKey += 4;
    s_->keys[key] = {realRoot, id, access};
    return platform::Status(platform::Error::Success);
}

platform::Status SimOs::regCloseKey(platform::HKey key) {
    s_->log("RegCloseKey", hex(key));
    if (State::isRoot(key)) return platform::Status(platform::Error::Success);
    return s_->keys.erase(key) ? platform::Status() : platform::Status(platform::Error::InvalidHandle);
}

platform::Status SimOs::regQueryValueEx(platform::HKey key, const std::string& name, platform::RegValue& value) {
    if (s_->log("RegQueryValueExA", hex(key) + ", " + name, s_->valueTarget(key, name))) return platform::Status(platform::Error::AccessDenied);
    long err;
    Key* k = s_->keyOf(key, err);
    if (!k) return platform::Status(err);
    if (!(s_->accessOf(key) & KEY_QUERY_VALUE)) return platform::Status(platform::Error::AccessDenied);
    if (const long fault = k->readFault()) return platform::Status(fault);
    const platform::RegValue* v = findValue(*k, name);
    if (!v) return platform::Status(platform::Error::FileNotFound);
    value = *v;
    return platform::Status(platform::Error::Success);
}

platform::Status SimOs::regSetValueEx(platform::HKey key, const std::string& name, const platform::RegValue& value) {
    if (s_->log("RegSetValueExA", hex(key) + ", " + name + ", type=" + num(value.type) +
                                      ", size=" + num(value.data.size()), s_->valueTarget(key, name)))
        return platform::Status(platform::Error::AccessDenied);
    long err;
    Key* k = s_->keyOf(key, err);
    if (!k) return platform::Status(err);
    if (s_->readOnlyHandle(key) || !(s_->accessOf(key) & KEY_SET_VALUE) || k->refusesChange())
        return platform::Status(platform::Error::AccessDenied);
    for (auto& [n, v] : k->values)
        if (sameName(n, name)) {
            v = value;
            return platform::Status(platform::Error::Success);
        }
    k->values.push_back({name, value});
    return platform::Status(platform::Error::Success);
}

platform::Status SimOs::regDeleteValue(platform::HKey key, const std::string& name) {
    if (s_->log("RegDeleteValueA", hex(key) + ", " + name, s_->valueTarget(key, name))) return platform::Status(platform::Error::AccessDenied);
    long err;
    Key* k = s_->keyOf(key, err);
    if (!k) return platform::Status(err);
    auto it = std::find_if(k->values.begin(), k->values.end(),
                           [&](const auto& nv) { return sameName(nv.first, name); });
    if (s_->readOnlyHandle(key) || !(s_->accessOf(key) & KEY_SET_VALUE))
        return platform::Status(platform::Error::AccessDenied);
    if (it == k->values.end()) return platform::Status(platform::Error::FileNotFound);
    if (k->refusesChange()) return platform::Status(platform::Error::AccessDenied);
    k->values.erase(it);
    return platform::Status(platform::Error::Success);
}

platform::Status SimOs::regEnumValue(platform::HKey key, std::uint32_t index, std::string& name) {
    if (s_->log("RegEnumValueA", hex(key) + ", index=" + num(index), s_->keyTarget(key))) return platform::Status(platform::Error::AccessDenied);
    long err;
    Key* k = s_->keyOf(key, err);
    if (!k) return platform::Status(err);
    if (!(s_->accessOf(key) & KEY_QUERY_VALUE)) return platform::Status(platform::Error::AccessDenied);
    if (const long fault = k->readFault()) return platform::Status(fault);
    if (index >= k->values.size()) return platform::Status(platform::Error::NoMoreItems);
    name = k->values[index].first;
    return platform::Status(platform::Error::Success);
}

platform::Status SimOs::regQueryInfoKey(platform::HKey key, platform::RegKeyInfo& info) {
    if (s_->log("RegQueryInfoKeyA", hex(key), s_->keyTarget(key))) return platform::Status(platform::Error::AccessDenied);
    long err;
    Key* k = s_->keyOf(key, err);
    if (!k) return platform::Status(err);
    platform::HKey root;
    std::string id;
    s_->resolve(key, "", root, id);
    info = {};
    for (auto& child : s_->childrenOf(root, id)) {
        ++info.subKeys;
        info.maxSubKeyLen = std::max<std::uint32_t>(info.maxSubKeyLen, child.size());
    }
    for (auto& [n, v] : k->values) {
        ++info.values;
        info.maxValueNameLen = std::max<std::uint32_t>(info.maxValueNameLen, n.size());
        info.maxValueLen = std::max<std::uint32_t>(info.maxValueLen, v.data.size());
    }
    return platform::Status(platform::Error::Success);
}

platform::Status SimOs::regDeleteKey(platform::HKey root, const std::string& subKey) {
    if (s_->log("RegDeleteKeyA", hex(root) + "\\" + subKey, s_->keyTarget(root, subKey))) return platform::Status(platform::Error::AccessDenied);
    if (!subKey.empty() && subKey.front() == '\\') return platform::Status(platform::Error::BadPathname);
    platform::HKey realRoot;
    std::string id;
    if (!s_->resolve(root, subKey, realRoot, id)) return platform::Status(platform::Error::InvalidHandle);
    if (id.empty()) return platform::Status(platform::Error::AccessDenied);
    Key* k = s_->key(realRoot, id);
    if (!k) return platform::Status(platform::Error::FileNotFound);
    if (k->unopenable || s_->readOnlyAt(realRoot, id)) return platform::Status(platform::Error::AccessDenied);
    // NT refuses a key with subkeys; 9x removes the whole tree.
    if (s_->family == Family::NT && !s_->childrenOf(realRoot, id).empty())
        return platform::Status(platform::Error::AccessDenied);
    removeKey(realRoot, id);
    return platform::Status(platform::Error::Success);
}

}  // namespace sim
