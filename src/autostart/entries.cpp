#include "autostart/entries.h"

#include <memory>
#include <optional>

namespace autostart {

namespace {

using platform::Registry;
using platform::RegistryError;

constexpr platform::HKey kRoot = platform::RootKey::LocalMachine;
constexpr std::size_t kKeys = AutostartKeys.size();

// One value of one key, and what it held before (nothing: it was missing).
struct Change {
    std::size_t key;
    std::string name;
    std::optional<platform::RegValue> was;
};

// What one apply changed, so that a failure part-way can put every key back
// as it was before.
class Journal {
public:
    explicit Journal(platform::Os& os) : os_(os) {}

    void created(std::size_t key) { created_ |= keyBit(key); }
    void removed(Change c) { removed_.push_back(std::move(c)); }
    void written(Change c) { written_.push_back(std::move(c)); }

    // Writes are undone newest first; removed values then come back in the
    // order they were listed. Returns the values that could not come back,
    // as "Run\name = text" lines.
    std::vector<std::string> undo() {
        std::vector<std::string> lost;
        for (auto it = written_.rbegin(); it != written_.rend(); ++it) {
            Registry* reg = open(it->key);
            const bool back = reg && (it->was ? reg->writeValue(it->name, *it->was)
                                              : reg->deleteValue(it->name));
            if (!back && it->was) lost.push_back(line(*it));
        }
        for (const Change& c : removed_) {
            Registry* reg = open(c.key);
            if (!reg || !reg->writeValue(c.name, *c.was)) lost.push_back(line(c));
        }
        for (auto& reg : open_) reg.reset();
        for (std::size_t k = kKeys; k-- > 0;)
            if (created_ & keyBit(k))
                platform::ignore(Registry(os_, kRoot).deleteKey(AutostartKeys[k].path),
                                 "a key this apply made that will not go stays empty: no entry is lost");
        return lost;
    }

private:
    Registry* open(std::size_t key) {
        auto& reg = open_[key];
        if (!reg) {
            reg = std::make_unique<Registry>(os_, kRoot);
            platform::ignore(reg->openKey(AutostartKeys[key].path, false),
                             "a key that will not open has no open key: what it should take back is named lost");
        }
        return reg->hasOpenKey() ? reg.get() : nullptr;
    }

    static std::string line(const Change& c) {
        return std::string(AutostartKeys[c.key].source) + "\\" + c.name + " = " +
               (platform::isString(*c.was) ? platform::textOf(*c.was) : std::string());
    }

    platform::Os& os_;
    KeySet created_ = 0;
    std::vector<Change> removed_, written_;
    std::array<std::unique_ptr<Registry>, kKeys> open_;
};

bool hasRows(const std::vector<Entry>& rows, const std::string& source) {
    for (const Entry& r : rows)
        if (r.source == source) return true;
    return false;
}

bool hasRow(const std::vector<Entry>& rows, const std::string& source, const std::string& name) {
    for (const Entry& r : rows)
        if (r.source == source && r.name == name) return true;
    return false;
}

// Opens the key with full access, creating it when it is missing.
std::unique_ptr<Registry> openForApply(platform::Os& os, std::size_t key, Journal& journal) {
    const char* path = AutostartKeys[key].path;
    auto reg = std::make_unique<Registry>(os, kRoot);
    platform::Status opened = reg->openKey(path, false);
    if (opened) return reg;
    if (opened.code() == platform::Error::FileNotFound) opened = reg->openKey(path, true);
    platform::orRaise(opened, RegistryError::cannotCreate, path);
    journal.created(key);
    return reg;
}

}  // namespace

Reading readEntry(Registry& key, const std::string& name, const std::string& source, Entry& row) {
    const platform::Result<platform::RegValue> read = key.readValue(name);
    if (!read) return read.status().code() == platform::Error::FileNotFound ? Reading::Skipped : Reading::Unreadable;
    if (!platform::isString(*read)) return read->data.empty() ? Reading::Skipped : Reading::WrongType;
    row = {name, platform::textOf(*read), source, read->type == platform::RegType::ExpandString};
    return Reading::Row;
}

void applyEntries(platform::Os& os, const std::vector<Entry>& rows, FillRecord& fill) {
    Journal journal(os);
    try {
        // Every key is open before the first value goes, so a key that will
        // not open stops the apply while nothing has changed.
        std::array<std::unique_ptr<Registry>, kKeys> keys;
        for (std::size_t k = 0; k < kKeys; ++k)
            if ((fill.whole & keyBit(k)) || !fill.names[k].empty() ||
                hasRows(rows, AutostartKeys[k].source))
                keys[k] = openForApply(os, k, journal);
        // The values to remove and those the rows overwrite, with what they
        // hold now; the writes in the order of the loops below.
        std::vector<Change> removals, writes;
        for (std::size_t k = 0; k < kKeys; ++k) {
            if (!keys[k]) continue;
            const char* source = AutostartKeys[k].source;
            for (const std::string& name : fill.names[k]) {
                if (hasRow(rows, source, name)) continue;
                std::optional<platform::RegValue> was = keys[k]->valueIfAny(name);
                // Gone, or no longer a string: not the list's to remove.
                if (was && platform::isString(*was)) removals.push_back({k, name, std::move(was)});
            }
            for (const Entry& row : rows)
                if (row.source == source) writes.push_back({k, row.name, keys[k]->valueIfAny(row.name)});
        }
        for (Change& c : removals) {
            const platform::Status deleted = keys[c.key]->deleteValue(c.name);
            if (deleted)
                journal.removed(std::move(c));
            else if (deleted.code() != platform::Error::FileNotFound)
                platform::orRaise(deleted, RegistryError::cannotDelete, c.name);
        }
        std::size_t next = 0;
        for (std::size_t k = 0; k < kKeys; ++k) {
            if (!keys[k]) continue;
            for (const Entry& row : rows) {
                if (row.source != AutostartKeys[k].source) continue;
                keys[k]->writeString(row.name, row.location,
                                     row.expandable ? platform::RegType::ExpandString : platform::RegType::String);
                journal.written(std::move(writes[next++]));
            }
        }
        for (std::size_t k = 0; k < kKeys; ++k) {
            fill.names[k].clear();
            for (const Entry& row : rows)
                if (row.source == AutostartKeys[k].source) fill.names[k].push_back(row.name);
        }
    } catch (const RegistryError& e) {
        const std::vector<std::string> lost = journal.undo();
        if (lost.empty()) throw;
        std::string text = "\r\n\r\n下列自启动项未能恢复，请记下后手工添加：";
        for (const std::string& l : lost) text += "\r\n" + l;
        throw e.followedBy(text);
    }
}

}  // namespace autostart
