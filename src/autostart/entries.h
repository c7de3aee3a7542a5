// The five autostart keys and the rules for reading them into rows and
// writing rows back: the page's list is a working copy of their string
// values, and nothing else in the keys is ever touched.
#pragma once
#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "platform/os.h"
#include "platform/registry.h"

namespace autostart {

struct AutostartKey {
    const char* source;  // the short name a row keeps
    const char* path;    // below RootKey::LocalMachine
};

// Every walk over the keys goes in this order.
inline constexpr std::array<AutostartKey, 5> AutostartKeys{{
    {"Run", "Software\\Microsoft\\Windows\\CurrentVersion\\Run"},
    {"RunServices", "Software\\Microsoft\\Windows\\CurrentVersion\\RunServices"},
    {"RunOnce", "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce"},
    {"RunOnceEx", "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnceEx"},
    {"RunServicesOnce", "Software\\Microsoft\\Windows\\CurrentVersion\\RunServicesOnce"},
}};

// A set of the keys: bit i stands for AutostartKeys[i].
using KeySet = unsigned;
constexpr KeySet keyBit(std::size_t i) { return 1u << i; }

// Where "新建" files a row.
inline constexpr const char* kNewEntrySource = "Run";

struct Entry {
    std::string name, location, source;
    // Read as RegType::ExpandString and its location unchanged since: written back
    // the same way, so %SystemRoot% and the like still expand.
    bool expandable = false;
};

enum class Reading {
    Row,         // a string value: `row` holds it
    Skipped,     // gone since the listing, or empty data of another type
    WrongType,   // data of another type: not a row, and never touched
    Unreadable,  // the key would not say: it was not read to the end
};

// One value of the open key, by name, as a row of the key `source`.
Reading readEntry(platform::Registry& key, const std::string& name, const std::string& source,
                  Entry& row);

// What the last fill read: the value names each key gave as rows, and the
// keys it read to the end (or found missing).
struct FillRecord {
    std::array<std::vector<std::string>, AutostartKeys.size()> names;
    KeySet whole = 0;
};

// Writes the rows back, later rows of one name winning, and removes the
// string values the list removed: those the fill read that no row of their
// key names any more. A value that came after the fill (another program's,
// or our own Zentrek) is not the list's and stays. Keys in `whole` are made
// when missing. Every value is read before the first change, so a read that
// fails stops the apply with nothing changed; when a change fails, every
// change is undone before the RegistryError goes on, and should a value not
// go back, the error names it with its text, so it is not lost. Once it
// succeeded, the values the rows wrote are the list's own: `fill` names them
// for the next apply.
void applyEntries(platform::Os& os, const std::vector<Entry>& rows, FillRecord& fill);

}  // namespace autostart
