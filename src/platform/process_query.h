// Walking the running processes with Toolhelp, and reading one process's
// executable path, with every handle closed however the caller leaves.
#pragma once
#include <cstdint>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "platform/os.h"

namespace platform {

// One process or snapshot handle, closed with CloseHandle when the owner goes.
// kNoHandle is never closed.
class OwnedHandle {
public:
    OwnedHandle(platform::Os& os, platform::Handle h) : os_(os), h_(h) {}
    // OpenProcess and CreateToolhelp32Snapshot; kNoHandle when refused.
    static OwnedHandle opened(platform::Os& os, std::uint32_t access, bool inherit,
                              std::uint32_t processId);
    static OwnedHandle snapshot(platform::Os& os, std::uint32_t flags, std::uint32_t processId);
    ~OwnedHandle() { close(); }
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;
    OwnedHandle(OwnedHandle&& other) noexcept : os_(other.os_), h_(other.h_) { other.h_ = platform::kNoHandle; }

    platform::Handle get() const { return h_; }
    explicit operator bool() const { return h_ != platform::kNoHandle; }
    void close();  // now rather than when the owner goes

private:
    platform::Os& os_;
    platform::Handle h_;
};

// The entries of one process snapshot, in the order Process32First and then
// Process32Next report them:
//
//     for (const platform::ProcessEntry& e : platform::ProcessWalk(os)) ...
//
// The snapshot is taken when the walk is made and closed when it goes, also
// when the loop is left by break or by an exception. No snapshot (Toolhelp
// missing, or the call failed): no entries and nothing to close. One entry
// record serves the whole walk, so a reference to it is only good until the
// next step. A walk can be iterated once; failure() then says whether it
// reached the end of the list.
class ProcessWalk {
public:
    explicit ProcessWalk(platform::Os& os);
    ProcessWalk(const ProcessWalk&) = delete;
    ProcessWalk& operator=(const ProcessWalk&) = delete;

    bool hasSnapshot() const { return static_cast<bool>(snapshot_); }
    // Success once the walk reached the end of the list, or when there is no
    // Toolhelp to walk with (NT 4); else the code of the step that failed.
    platform::Status failure() const { return failure_; }

    class iterator {
    public:
        using iterator_category = std::input_iterator_tag;
        using value_type = platform::ProcessEntry;
        using difference_type = std::ptrdiff_t;
        using pointer = const platform::ProcessEntry*;
        using reference = const platform::ProcessEntry&;

        iterator() = default;
        reference operator*() const { return walk_->entry_; }
        pointer operator->() const { return &walk_->entry_; }
        iterator& operator++() {
            if (!walk_->step(false)) walk_ = nullptr;
            return *this;
        }
        void operator++(int) { ++*this; }
        bool operator==(std::default_sentinel_t) const { return walk_ == nullptr; }

    private:
        friend class ProcessWalk;
        explicit iterator(ProcessWalk* walk) : walk_(walk) {}
        ProcessWalk* walk_ = nullptr;
    };

    iterator begin();  // Process32First
    std::default_sentinel_t end() const { return {}; }

private:
    bool step(bool first);

    platform::Os& os_;
    platform::Status failure_;
    OwnedHandle snapshot_;
    platform::ProcessEntry entry_;
};

// Every entry of one snapshot, read to its end. A walk that fails part-way
// is taken once more, whole; failing again, it raises OsError with the
// system's reason, so nothing acts on part of the list.
std::vector<platform::ProcessEntry> processEntries(platform::Os& os);

// szExePath of the first module of process `pid`: its executable's full path.
// Nothing when the module list cannot be read (the process has ended, or the
// system refuses it, as NT does for some system processes and a 32-bit
// program for 64-bit ones); the caller decides what stands in for it.
std::optional<std::string> modulePath(platform::Os& os, std::uint32_t pid);

}  // namespace platform
