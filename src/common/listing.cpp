#include "common/listing.h"

#include "base/text.h"
#include "platform/process_query.h"

namespace common {

namespace {

// A process whose modules cannot be read (Wine and 64-bit Windows refuse some)
// falls back to its own entry name; a path left over from another process
// would pair the line with the wrong program.
std::string fallbackName(const platform::ProcessEntry& entry) {
    return base::asciiUpper(base::fileNamePart(entry.exeFile));
}

}  // namespace

// One listing's use of the cache: what this snapshot still holds is carried
// into a fresh table, so processes that left it leave the cache too.
struct CacheRound {
    explicit CacheRound(ModuleNameCache* cache) : cache_(cache) {}
    ~CacheRound() {
        if (cache_) cache_->byId_.swap(next_);
    }

    std::string moduleFileName(platform::Os& os, const platform::ProcessEntry& entry) {
        if (cache_) {
            auto it = cache_->byId_.find(entry.processId);
            if (it != cache_->byId_.end() && it->second.exeFile == entry.exeFile &&
                it->second.parent == entry.parentProcessId) {
                const std::string& line = it->second.line;
                next_.insert_or_assign(entry.processId, it->second);
                return line;
            }
        }
        const std::optional<std::string> path = platform::modulePath(os, entry.processId);
        if (!path) return fallbackName(entry);
        std::string line = base::asciiUpper(base::fileNamePart(*path));
        if (cache_)
            next_.insert_or_assign(entry.processId,
                                   ModuleNameCache::Entry{entry.exeFile, entry.parentProcessId, line});
        return line;
    }

private:
    ModuleNameCache* cache_;
    std::unordered_map<std::uint32_t, ModuleNameCache::Entry> next_;
};

namespace {

enum class FirstLine { OwnName, FileNamePart };

ProcessListing list(platform::Os& os, bool isWindowsNT, FirstLine first, ModuleNameCache* cache) {
    ProcessListing out;
    CacheRound round(cache);
    bool isFirst = true;
    for (const platform::ProcessEntry& entry : platform::processEntries(os)) {
        out.snapshot.push_back({entry.exeFile, entry.processId});
        if (!isWindowsNT)
            out.lines.push_back(base::asciiUpper(entry.exeFile));
        else if (isFirst)
            out.lines.push_back(first == FirstLine::OwnName ? base::asciiUpper(entry.exeFile)
                                                            : fallbackName(entry));
        else
            out.lines.push_back(round.moduleFileName(os, entry));
        isFirst = false;
    }
    return out;
}

}  // namespace

ProcessListing listProcesses(platform::Os& os, bool isWindowsNT, ModuleNameCache* cache) {
    return list(os, isWindowsNT, FirstLine::OwnName, cache);
}

ProcessListing listHidden(platform::Os& os, bool isWindowsNT, ModuleNameCache* cache) {
    return list(os, isWindowsNT, FirstLine::FileNamePart, cache);
}

std::string countText(std::size_t lines) {
    return "当前系统中共有" + std::to_string(lines) + "个进程";
}

}  // namespace common
