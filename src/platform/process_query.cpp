#include "platform/process_query.h"

namespace platform {

void OwnedHandle::close() {
    if (h_ == platform::kNoHandle) return;
    const platform::Handle h = h_;
    h_ = platform::kNoHandle;
    os_.closeHandle(h);
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

ProcessWalk::ProcessWalk(platform::Os& os)
    : os_(os), snapshot_(OwnedHandle::snapshot(os, platform::Snapshot::Processes, 0)) {
    entry_.size = platform::kProcessEntrySize;
}

ProcessWalk::iterator ProcessWalk::begin() {
    return iterator(snapshot_ && step(true) ? this : nullptr);
}

bool ProcessWalk::step(bool first) {
    return (first ? os_.process32First(snapshot_.get(), entry_)
                  : os_.process32Next(snapshot_.get(), entry_)).ok();
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
