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

const os::RegValue* findValue(const Key& k, const std::string& name) {
    for (auto& [n, v] : k.values)
        if (sameName(n, name)) return &v;
    return nullptr;
}

}  // namespace

bool SimOs::State::resolve(os::HKey root, const std::string& subKey, os::HKey& realRoot,
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

Key* SimOs::State::key(os::HKey root, const std::string& id) {
    auto& m = hive[root];
    auto it = m.find(id);
    return it == m.end() ? nullptr : &it->second;
}

Key& SimOs::State::ensureKey(os::HKey root, const std::string& path) {
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

Key* SimOs::State::keyOf(os::HKey h, long& err) {
    os::HKey root;
    std::string id;
    if (!resolve(h, "", root, id)) {
        err = os::ERROR_INVALID_HANDLE;
        return nullptr;
    }
    Key* k = id.empty() ? &ensureKey(root, "") : key(root, id);
    err = k ? os::ERROR_SUCCESS : ERROR_KEY_DELETED;
    return k;
}

bool SimOs::State::readOnlyAt(os::HKey root, std::string id) {
    for (;;) {
        Key* k = id.empty() ? &ensureKey(root, "") : key(root, id);
        if (k && k->readOnly) return true;
        if (id.empty()) return false;
        id = parentOf(id);
    }
}

bool SimOs::State::readOnlyHandle(os::HKey h) {
    os::HKey root;
    std::string id;
    return resolve(h, "", root, id) && readOnlyAt(root, id);
}

std::uint32_t SimOs::State::accessOf(os::HKey h) {
    auto it = keys.find(h);
    return it == keys.end() ? os::KEY_ALL_ACCESS : it->second.access;
}

std::vector<std::string> SimOs::State::childrenOf(os::HKey root, const std::string& id) {
    std::vector<std::string> out;
    for (auto& [kid, k] : hive[root]) {
        if (kid.empty() || kid == id) continue;
        if (parentOf(kid) == id) out.push_back(k.name);
    }
    return out;
}

void SimOs::setValue(os::HKey root, const std::string& subKey, const std::string& name,
                     std::uint32_t type, const std::string& data) {
    Key& k = s_->ensureKey(root, subKey);
    for (auto& [n, v] : k.values)
        if (sameName(n, name)) {
            v = {type, data};
            return;
        }
    k.values.push_back({name, {type, data}});
}

void SimOs::setString(os::HKey root, const std::string& subKey, const std::string& name,
                      const std::string& text) {
    setValue(root, subKey, name, os::REG_SZ, text + '\0');
}

bool SimOs::hasKey(os::HKey root, const std::string& subKey) const {
    std::string id = keyId(subKey);
    if (id.empty()) return true;
    auto it = s_->hive.find(root);
    return it != s_->hive.end() && it->second.count(id);
}

bool SimOs::hasValue(os::HKey root, const std::string& subKey, const std::string& name) const {
    if (!hasKey(root, subKey)) return false;
    const Key* k = s_->key(root, keyId(subKey));
    return k && findValue(*k, name);
}

std::string SimOs::stringValue(os::HKey root, const std::string& subKey,
                               const std::string& name) const {
    if (!hasKey(root, subKey)) return "";
    const Key* k = s_->key(root, keyId(subKey));
    const os::RegValue* v = k ? findValue(*k, name) : nullptr;
    if (!v) return "";
    return v->data.substr(0, v->data.find('\0'));
}

std::uint32_t SimOs::valueType(os::HKey root, const std::string& subKey,
                               const std::string& name) const {
    if (!hasKey(root, subKey)) return os::REG_NONE;
    const Key* k = s_->key(root, keyId(subKey));
    const os::RegValue* v = k ? findValue(*k, name) : nullptr;
    return v ? v->type : os::REG_NONE;
}

std::vector<std::string> SimOs::valueNames(os::HKey root, const std::string& subKey) const {
    std::vector<std::string> out;
    if (!hasKey(root, subKey)) return out;
    if (const Key* k = s_->key(root, keyId(subKey)))
        for (auto& [n, v] : k->values) out.push_back(n);
    return out;
}

void SimOs::removeKey(os::HKey root, const std::string& subKey) {
    std::string id = keyId(subKey);
    auto& m = s_->hive[root];
    std::erase_if(m, [&](const auto& kv) {
        const std::string& kid = kv.first;
        return kid == id || (id.empty() || (kid.size() > id.size() &&
                                            kid.compare(0, id.size(), id) == 0 &&
                                            kid[id.size()] == '\\'));
    });
}

void SimOs::setKeyReadOnly(os::HKey root, const std::string& subKey, bool readOnly) {
    s_->ensureKey(root, subKey).readOnly = readOnly;
}

void SimOs::setKeyUnopenable(os::HKey root, const std::string& subKey, bool unopenable) {
    s_->ensureKey(root, subKey).unopenable = unopenable;
}

void SimOs::refuseChangesAfter(os::HKey root, const std::string& subKey, int changes, bool once) {
    Key& k = s_->ensureKey(root, subKey);
    k.changesLeft = changes;
    k.refusesOnce = once;
}

void SimOs::failReadsAfter(os::HKey root, const std::string& subKey, int reads, long error) {
    Key& k = s_->ensureKey(root, subKey);
    if (reads < 0) k.readsLeft.reset();
    else k.readsLeft = reads;
    k.readError = error;
}

int SimOs::openKeys() const { return static_cast<int>(s_->keys.size()); }

// --- os::Os ----------------------------------------------------------------

long SimOs::regOpenKeyEx(os::HKey root, const std::string& subKey, std::uint32_t access,
                         os::HKey& key) {
    if (s_->log("RegOpenKeyExA", hex(root) + "\\" + subKey + ", access=" + hex(access)))
        return os::ERROR_ACCESS_DENIED;
    if (!subKey.empty() && subKey.front() == '\\') return os::ERROR_BAD_PATHNAME;
    os::HKey realRoot;
    std::string id;
    if (!s_->resolve(root, subKey, realRoot, id)) return os::ERROR_INVALID_HANDLE;
    Key* k = id.empty() ? &s_->ensureKey(realRoot, "") : s_->key(realRoot, id);
    if (!k) return os::ERROR_FILE_NOT_FOUND;
    if (k->unopenable) return os::ERROR_ACCESS_DENIED;
    key = s_->nextKey;
    s_->nextKey += 4;
    s_->keys[key] = {realRoot, id, access};
    return os::ERROR_SUCCESS;
}

long SimOs::regCreateKeyEx(os::HKey root, const std::string& subKey, std::uint32_t access,
                           os::HKey& key) {
    if (s_->log("RegCreateKeyExA", hex(root) + "\\" + subKey + ", access=" + hex(access)))
        return os::ERROR_ACCESS_DENIED;
    if (!subKey.empty() && subKey.front() == '\\') return os::ERROR_BAD_PATHNAME;
    os::HKey realRoot;
    std::string id;
    if (!s_->resolve(root, subKey, realRoot, id)) return os::ERROR_INVALID_HANDLE;
    Key* k = id.empty() ? &s_->ensureKey(realRoot, "") : s_->key(realRoot, id);
    if (!k) {
        // A new key needs write access to the nearest existing ancestor.
        for (std::string up = parentOf(id);; up = parentOf(up)) {
            Key* a = up.empty() ? &s_->ensureKey(realRoot, "") : s_->key(realRoot, up);
            if (a) {
                if (a->unopenable || s_->readOnlyAt(realRoot, up)) return os::ERROR_ACCESS_DENIED;
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
    if (k->unopenable) return os::ERROR_ACCESS_DENIED;
    key = s_->nextKey;
    s_->nextKey += 4;
    s_->keys[key] = {realRoot, id, access};
    return os::ERROR_SUCCESS;
}

long SimOs::regCloseKey(os::HKey key) {
    s_->log("RegCloseKey", hex(key));
    if (State::isRoot(key)) return os::ERROR_SUCCESS;
    return s_->keys.erase(key) ? os::ERROR_SUCCESS : os::ERROR_INVALID_HANDLE;
}

long SimOs::regQueryValueEx(os::HKey key, const std::string& name, os::RegValue& value) {
    if (s_->log("RegQueryValueExA", hex(key) + ", " + name)) return os::ERROR_ACCESS_DENIED;
    long err;
    Key* k = s_->keyOf(key, err);
    if (!k) return err;
    if (!(s_->accessOf(key) & KEY_QUERY_VALUE)) return os::ERROR_ACCESS_DENIED;
    if (const long fault = k->readFault()) return fault;
    const os::RegValue* v = findValue(*k, name);
    if (!v) return os::ERROR_FILE_NOT_FOUND;
    value = *v;
    return os::ERROR_SUCCESS;
}

long SimOs::regSetValueEx(os::HKey key, const std::string& name, const os::RegValue& value) {
    if (s_->log("RegSetValueExA", hex(key) + ", " + name + ", type=" + num(value.type) +
                                      ", size=" + num(value.data.size())))
        return os::ERROR_ACCESS_DENIED;
    long err;
    Key* k = s_->keyOf(key, err);
    if (!k) return err;
    if (s_->readOnlyHandle(key) || !(s_->accessOf(key) & KEY_SET_VALUE) || k->refusesChange())
        return os::ERROR_ACCESS_DENIED;
    for (auto& [n, v] : k->values)
        if (sameName(n, name)) {
            v = value;
            return os::ERROR_SUCCESS;
        }
    k->values.push_back({name, value});
    return os::ERROR_SUCCESS;
}

long SimOs::regDeleteValue(os::HKey key, const std::string& name) {
    if (s_->log("RegDeleteValueA", hex(key) + ", " + name)) return os::ERROR_ACCESS_DENIED;
    long err;
    Key* k = s_->keyOf(key, err);
    if (!k) return err;
    auto it = std::find_if(k->values.begin(), k->values.end(),
                           [&](const auto& nv) { return sameName(nv.first, name); });
    if (s_->readOnlyHandle(key) || !(s_->accessOf(key) & KEY_SET_VALUE))
        return os::ERROR_ACCESS_DENIED;
    if (it == k->values.end()) return os::ERROR_FILE_NOT_FOUND;
    if (k->refusesChange()) return os::ERROR_ACCESS_DENIED;
    k->values.erase(it);
    return os::ERROR_SUCCESS;
}

long SimOs::regEnumValue(os::HKey key, std::uint32_t index, std::string& name) {
    if (s_->log("RegEnumValueA", hex(key) + ", index=" + num(index))) return os::ERROR_ACCESS_DENIED;
    long err;
    Key* k = s_->keyOf(key, err);
    if (!k) return err;
    if (!(s_->accessOf(key) & KEY_QUERY_VALUE)) return os::ERROR_ACCESS_DENIED;
    if (const long fault = k->readFault()) return fault;
    if (index >= k->values.size()) return os::ERROR_NO_MORE_ITEMS;
    name = k->values[index].first;
    return os::ERROR_SUCCESS;
}

long SimOs::regQueryInfoKey(os::HKey key, os::RegKeyInfo& info) {
    if (s_->log("RegQueryInfoKeyA", hex(key))) return os::ERROR_ACCESS_DENIED;
    long err;
    Key* k = s_->keyOf(key, err);
    if (!k) return err;
    os::HKey root;
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
    return os::ERROR_SUCCESS;
}

long SimOs::regDeleteKey(os::HKey root, const std::string& subKey) {
    if (s_->log("RegDeleteKeyA", hex(root) + "\\" + subKey)) return os::ERROR_ACCESS_DENIED;
    if (!subKey.empty() && subKey.front() == '\\') return os::ERROR_BAD_PATHNAME;
    os::HKey realRoot;
    std::string id;
    if (!s_->resolve(root, subKey, realRoot, id)) return os::ERROR_INVALID_HANDLE;
    if (id.empty()) return os::ERROR_ACCESS_DENIED;
    Key* k = s_->key(realRoot, id);
    if (!k) return os::ERROR_FILE_NOT_FOUND;
    if (k->unopenable || s_->readOnlyAt(realRoot, id)) return os::ERROR_ACCESS_DENIED;
    // NT refuses a key with subkeys; 9x removes the whole tree.
    if (s_->family == Family::NT && !s_->childrenOf(realRoot, id).empty())
        return os::ERROR_ACCESS_DENIED;
    removeKey(realRoot, id);
    return os::ERROR_SUCCESS;
}

}  // namespace sim
