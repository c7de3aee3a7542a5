#include "common/kill.h"

#include <utility>
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
    for (const platform::ProcessEntry& entry : platform::processEntries(os)) {
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
// a new program. Each process is opened first, which keeps its id from going
// to another while the handle is held; a fresh snapshot then says whether the
// id still belongs to a process of the entry's name, and only such a one is
// ended. The results come in the order of the indices.
std::vector<std::int32_t> endEntries(platform::Os& os, const ProcessSnapshot& snapshot,
                                     const std::vector<std::size_t>& indices) {
    std::vector<std::int32_t> results(indices.size(), 0);
    std::vector<std::pair<std::size_t, platform::OwnedHandle>> opened;
    for (std::size_t n = 0; n < indices.size(); ++n) {
        if (indices[n] >= snapshot.size()) continue;
        platform::OwnedHandle h =
            platform::OwnedHandle::opened(os, platform::ProcessAccess::All, true, snapshot[indices[n]].id);
        if (h) opened.emplace_back(n, std::move(h));
    }
    if (opened.empty()) return results;
    std::unordered_map<std::uint32_t, std::string> running;
    for (const platform::ProcessEntry& entry : platform::processEntries(os))
        running.emplace(entry.processId, entry.exeFile);
    for (const auto& [n, h] : opened) {
        const ProcessRecord& record = snapshot[indices[n]];
        const auto now = running.find(record.id);
        if (now == running.end() || now->second != record.name) continue;
        // A running process reports kStillActive; that is its code too when
        // the question goes unanswered.
        std::uint32_t code = platform::kStillActive;
        if (!os.getExitCodeProcess(h.get(), code)) code = platform::kStillActive;
        results[n] = os.terminateProcess(h.get(), code) ? 1 : 0;
    }
    return results;
}

}  // namespace

std::int32_t killEntry(platform::Os& os, const ProcessSnapshot& snapshot, std::int32_t index) {
    if (index < 0) return 0;
    return endEntries(os, snapshot, {static_cast<std::size_t>(index)}).front();
}

void killEntries(platform::Os& os, const ProcessSnapshot& snapshot,
                 const std::vector<std::size_t>& indices) {
    endEntries(os, snapshot, indices);
}

}  // namespace common
