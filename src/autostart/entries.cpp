#include "autostart/entries.h"

#include <map>
#include <memory>
#include <optional>

namespace autostart {

namespace {

using platform::Registry;
using platform::RegistryError;

constexpr os::HKey kRoot = os::HKEY_LOCAL_MACHINE;

// What one apply changed, so that a failure part-way can put every key back
// as it was before.
class Journal {
public:
    explicit Journal(os::Os& os) : os_(os) {}

    void created(const AutostartKey& key) { created_.push_back(&key); }
    void removed(const AutostartKey& key, const std::string& name, const os::RegValue& was) {
        removed_.push_back({&key, name, was});
    }
    void written(const AutostartKey& key, const std::string& name,
                 std::optional<os::RegValue> was) {
        written_.push_back({&key, name, std::move(was)});
    }

    // Writes are undone newest first; removed values then come back in the
    // order they were listed. Returns the values that could not come back,
    // as "Run\name = text" lines.
    std::vector<std::string> undo() {
        std::vector<std::string> lost;
        for (auto it = written_.rbegin(); it != written_.rend(); ++it) {
            Registry* reg = open(*it->key);
            const bool back = reg && (it->was ? reg->writeValue(it->name, *it->was)
                                              : reg->deleteValue(it->name));
            if (!back && it->was) lost.push_back(line(*it));
        }
        for (const Change& c : removed_) {
            Registry* reg = open(*c.key);
            if (!reg || !reg->writeValue(c.name, *c.was)) lost.push_back(line(c));
        }
        open_.clear();
        for (auto it = created_.rbegin(); it != created_.rend(); ++it)
            Registry(os_, kRoot).deleteKey((*it)->path);
        return lost;
    }

private:
    struct Change {
        const AutostartKey* key;
        std::string name;
        std::optional<os::RegValue> was;
    };

    Registry* open(const AutostartKey& key) {
        auto& reg = open_[key.path];
        if (!reg) {
            reg = std::make_unique<Registry>(os_, kRoot);
            reg->openKey(key.path, false);
        }
        return reg->hasOpenKey() ? reg.get() : nullptr;
    }

    static std::string line(const Change& c) {
        return std::string(c.key->source) + "\\" + c.name + " = " +
               (platform::isString(*c.was) ? platform::textOf(*c.was) : std::string());
    }

    os::Os& os_;
    std::vector<const AutostartKey*> created_;
    std::vector<Change> removed_, written_;
    std::map<std::string, std::unique_ptr<Registry>> open_;
};

bool hasRows(const std::vector<Entry>& rows, const std::string& source) {
    for (const Entry& r : rows)
        if (r.source == source) return true;
    return false;
}

// Opens the key with full access, creating it when it is missing.
std::unique_ptr<Registry> openForApply(os::Os& os, const AutostartKey& key, Journal& journal) {
    auto reg = std::make_unique<Registry>(os, kRoot);
    if (reg->openKey(key.path, false)) return reg;
    if (reg->lastError() != os::ERROR_FILE_NOT_FOUND || !reg->openKey(key.path, true))
        throw RegistryError::cannotCreate(key.path);
    journal.created(key);
    return reg;
}

void removeStrings(Registry& reg, const AutostartKey& key, Journal& journal) {
    for (const std::string& name : reg.getValueNames()) {
        os::RegValue was;
        if (!reg.readValue(name, was) || !platform::isString(was)) continue;
        if (reg.deleteValue(name))
            journal.removed(key, name, was);
        else if (reg.lastError() != os::ERROR_FILE_NOT_FOUND)
            throw RegistryError::cannotDelete(name);
    }
}

void writeRows(Registry& reg, const AutostartKey& key, const std::vector<Entry>& rows,
               Journal& journal) {
    for (const Entry& row : rows) {
        if (row.source != key.source) continue;
        os::RegValue was;
        const bool existed = reg.readValue(row.name, was);
        reg.writeString(row.name, row.location, row.expandable ? os::REG_EXPAND_SZ : os::REG_SZ);
        journal.written(key, row.name, existed ? std::optional(was) : std::nullopt);
    }
}

}  // namespace

Reading readEntry(Registry& key, const std::string& name, const std::string& source, Entry& row) {
    os::RegValue v;
    if (!key.readValue(name, v))
        return key.lastError() == os::ERROR_FILE_NOT_FOUND ? Reading::Skipped : Reading::Unreadable;
    if (!platform::isString(v)) return v.data.empty() ? Reading::Skipped : Reading::WrongType;
    row = {name, platform::textOf(v), source, v.type == os::REG_EXPAND_SZ};
    return Reading::Row;
}

void applyEntries(os::Os& os, const std::vector<Entry>& rows,
                  const std::set<std::string>& readSources) {
    Journal journal(os);
    try {
        // Every key is open before the first value goes, so a key that will
        // not open stops the apply while nothing has changed.
        std::vector<std::unique_ptr<Registry>> keys;
        for (const AutostartKey& key : AutostartKeys)
            keys.push_back(readSources.count(key.source) || hasRows(rows, key.source)
                               ? openForApply(os, key, journal)
                               : nullptr);
        for (std::size_t i = 0; i < keys.size(); ++i)
            if (keys[i] && readSources.count(AutostartKeys[i].source))
                removeStrings(*keys[i], AutostartKeys[i], journal);
        for (std::size_t i = 0; i < keys.size(); ++i)
            if (keys[i]) writeRows(*keys[i], AutostartKeys[i], rows, journal);
    } catch (const RegistryError& e) {
        const std::vector<std::string> lost = journal.undo();
        if (lost.empty()) throw;
        std::string text = std::string(e.what()) + "\r\n\r\n下列自启动项未能恢复，请记下后手工添加：";
        for (const std::string& l : lost) text += "\r\n" + l;
        throw RegistryError(text);
    }
}

}  // namespace autostart
