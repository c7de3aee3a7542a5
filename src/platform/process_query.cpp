#include "platform/process_query.h"

namespace platform {

void OwnedHandle::close() {
    if (h_ == platform::kNoHandle) return;
    const platform::Handle h = h_;
    h_ = platform::kNoHandle;
    platform::ignore(os_.closeHandle(h), "nothing can be done about a handle that will not close");
}

OwnedHandle OwnedHandle::opened(platform::Os& os, std::uint32_t access, bool inherit,
                                std::uint32_t processId) {
    platform::Handle h = platform::kNoHandle;
    if (!os.openProcess(access, inherit, processId, h)) h = platform::kNoHandle;
    return OwnedHandle(os, h);
}

OwnedHandle OwnedHandle::snapshot(platform::Os& os, std::uint32_t flags, std::uint32_t processId) {
    platform::Handle h = platform::kNoHandle;
    if (!os.createToolhelp32Snapshot(flags, processId, h)) h = platform::kNoHandle;
    return OwnedHandle(os, h);
}

namespace {
platform::Handle processSnapshot(platform::Os& os, platform::Status& failure) {
    platform::Handle h = platform::kNoHandle;
    const platform::Status taken = os.createToolhelp32Snapshot(platform::Snapshot::Processes, 0, h);
    // Without Toolhelp there is nothing to walk, which is no failure.
    if (!taken && taken.code() != platform::Error::CallNotImplemented) failure = taken;
    return taken ? h : platform::kNoHandle;
}
}  // namespace

ProcessWalk::ProcessWalk(platform::Os& os) : os_(os), snapshot_(os, processSnapshot(os, failure_)) {
    entry_.size = platform::kProcessEntrySize;
}

ProcessWalk::iterator ProcessWalk::begin() {
    return iterator(snapshot_ && step(true) ? this : nullptr);
}

bool ProcessWalk::step(bool first) {
    const platform::Status stepped = first ? os_.process32First(snapshot_.get(), entry_)
                                           : os_.process32Next(snapshot_.get(), entry_);
    if (!stepped && stepped.code() != platform::Error::NoMoreFiles) failure_ = stepped;
    return stepped.ok();
}

std::vector<platform::ProcessEntry> processEntries(platform::Os& os) {
    return platform::wholeWalk<std::vector<platform::ProcessEntry>>(os, [&os](auto& entries) {
        ProcessWalk walk(os);
        for (const platform::ProcessEntry& e : walk) entries.push_back(e);
        return walk.failure();
    });
}

std::optional<std::string> modulePath(platform::Os& os, std::uint32_t pid) {
    const OwnedHandle snapshot = OwnedHandle::snapshot(os, platform::Snapshot::Modules, pid);
    if (!snapshot) return std::nullopt;
    platform::ModuleEntry module;
    module.size = platform::kModuleEntrySize;
    if (!os.module32First(snapshot.get(), module)) return std::nullopt;
    return module.exePath;
}

}  // namespace platform
