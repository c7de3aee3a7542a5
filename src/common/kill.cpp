#include "common/kill.h"

#include <algorithm>
#include <optional>
#include <unordered_map>
#include <unordered_set>

#include "base/text.h"
#include "platform/process_query.h"

namespace common {

namespace {

// The last TerminateProcess result over the processes whose upper-cased
// reported name the test accepts; 0 when none did.
template <class Wanted>
std::int32_t endNamed(platform::Os& os, Wanted wanted) {
    std::int32_t result = 0;
    for (const platform::ProcessEntry& entry : platform::ProcessWalk(os)) {
        if (!wanted(base::asciiUpper(entry.exeFile))) continue;
        const platform::OwnedHandle h = platform::OwnedHandle::opened(
            os, platform::ProcessAccess::Terminate, false, entry.processId);
        // No handle: what TerminateProcess on no handle would have given.
        result = h && os.terminateProcess(h.get(), 0) ? 1 : 0;
    }
    return result;
}

}  // namespace

std::int32_t killByName(platform::Os& os, const std::string& name) {
    const std::string wanted = base::asciiUpper(name);
    return endNamed(os, [&](const std::string& n) { return n == wanted; });
}

void killByNames(platform::Os& os, const std::vector<std::string>& names) {
    if (names.empty()) return;
    std::unordered_set<std::string> wanted;
    for (const std::string& n : names) wanted.insert(base::asciiUpper(n));
    endNamed(os, [&](const std::string& n) { return wanted.count(n) != 0; });
}

namespace {

// An entry may be minutes old: its process can have ended and its id gone to
// a new program. Only an id that a fresh snapshot still gives to a process of
// the same name is the line's process.
std::int32_t endEntry(platform::Os& os, const ProcessRecord& record, const std::string* nameNow) {
    if (!nameNow || *nameNow != record.name) return 0;
    const platform::OwnedHandle h =
        platform::OwnedHandle::opened(os, platform::ProcessAccess::All, true, record.id);
    if (!h) return 0;
    std::uint32_t code = 0;
    os.getExitCodeProcess(h.get(), code);
    return os.terminateProcess(h.get(), code) ? 1 : 0;
}

}  // namespace

std::int32_t killEntry(platform::Os& os, const ProcessSnapshot& snapshot, std::int32_t index) {
    if (index < 0 || static_cast<std::size_t>(index) >= snapshot.size()) return 0;
    const ProcessRecord& record = snapshot[static_cast<std::size_t>(index)];
    std::optional<std::string> nameNow;
    for (const platform::ProcessEntry& entry : platform::ProcessWalk(os)) {
        if (entry.processId != record.id) continue;
        nameNow = entry.exeFile;
        break;
    }
    return endEntry(os, record, nameNow ? &*nameNow : nullptr);
}

void killEntries(platform::Os& os, const ProcessSnapshot& snapshot,
                 const std::vector<std::size_t>& indices) {
    if (indices.empty()) return;
    std::unordered_map<std::uint32_t, std::string> running;
    for (const platform::ProcessEntry& entry : platform::ProcessWalk(os))
        running.emplace(entry.processId, entry.exeFile);
    for (std::size_t i : indices) {
        if (i >= snapshot.size()) continue;
        const auto it = running.find(snapshot[i].id);
        endEntry(os, snapshot[i], it == running.end() ? nullptr : &it->second);
    }
}

}  // namespace common
