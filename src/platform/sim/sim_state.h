// The simulated machine's state, shared by the files that implement its
// areas (processes and Toolhelp, registry, files, windows, clock, system).
// Private to platform/sim.
#pragma once
#include <cstdint>
#include <cstdio>
#include <functional>
#include <map>
#include <optional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "base/text.h"
#include "platform/sim/sim_os.h"

namespace sim {

inline std::string hex(std::uint64_t v) {
    char buf[24];
    std::snprintf(buf, sizeof buf, "0x%llX", static_cast<unsigned long long>(v));
    return buf;
}

inline std::string num(std::uint64_t v) { return std::to_string(v); }

// Window titles and classes, registry names: compared ignoring ASCII case.
inline bool sameName(const std::string& a, const std::string& b) {
    return base::asciiUpper(a) == base::asciiUpper(b);
}

struct Key {
    std::string name;  // last component as first created
    std::vector<std::pair<std::string, platform::RegValue>> values;
    bool readOnly = false;
    bool unopenable = false;
    // Value changes taken before one is refused; none set: no such fault.
    std::optional<int> changesLeft;
    bool refusesOnce = true;
    // Value reads (listing and querying) answered before the rest fail with
    // readError; none set: no such fault.
    std::optional<int> readsLeft;
    long readError = 0;
    // Counts one read; its error, or success.
    long readFault() {
        if (!readsLeft) return 0;
        if (*readsLeft > 0) {
            --*readsLeft;
            return 0;
        }
        return readError;
    }
    // Counts one change; true when this one is refused.
    bool refusesChange() {
        if (!changesLeft) return false;
        if (*changesLeft > 0) {
            --*changesLeft;
            return false;
        }
        if (refusesOnce) changesLeft.reset();
        return true;
    }
};

struct StoredState {
    std::map<std::string, File> files;
    std::map<platform::HKey, std::map<std::string, Key>> hive;
};

struct Snapshot {
    bool processes = false;
    std::vector<platform::ProcessEntry> entries;
    std::size_t next = 0;
    bool module = false;
    bool moduleReadable = false;
    std::string modulePath;
};

struct HandleEntry {
    enum Kind { ProcessHandle, SnapshotHandle } kind = ProcessHandle;
    std::shared_ptr<Process> process;
    std::uint32_t access = 0;
    Snapshot snapshot;
};

struct OpenKey {
    platform::HKey root = 0;
    std::string id;  // "" is the root itself
    std::uint32_t access = 0;
};

struct SimOs::State {
    Family family = Family::NT;
    bool toolhelp = true;
    bool versionFails = false;
    bool tray = true;
    std::intptr_t shellResult = 42;

    std::vector<std::shared_ptr<Process>> table;  // running, snapshot order
    std::vector<std::shared_ptr<Process>> ended;  // left the table, oldest first
    // The newest record of each id, so that a lookup by id is not a scan of
    // the whole table (a refresh looks up every process once).
    std::unordered_map<std::uint32_t, std::shared_ptr<Process>> byId;
    std::uint32_t nextPid = 4;
    std::vector<std::function<void(SimOs&, const Process&)>> hooks;

    std::vector<std::shared_ptr<Window>> windows;  // Z order, dead ones included
    std::function<void(SimOs&, platform::Hwnd)> windowWalk;
    platform::Hwnd nextHwnd = 0x10010;

    std::map<std::string, File> files;
    std::optional<std::size_t> writeFailsAfter;  // the next write stops part-way

    std::map<platform::HKey, std::map<std::string, Key>> hive;  // root -> id -> key
    std::map<platform::HKey, OpenKey> keys;
    platform::HKey nextKey = 0x1000;

    std::map<platform::Handle, HandleEntry> handles;
    platform::Handle nextHandle = 0x100;

    std::uint32_t ticks = 0;
    std::uint64_t elapsed = 0;  // never wraps; schedules run by it
    std::multimap<std::uint64_t, std::function<void(SimOs&)>> due;
    std::string exePath = "C:\\Morvane\\Morvane.exe";
    platform::Point cursor;

    std::vector<Call> calls;
    std::vector<platform::NotifyIconData> tray_icons;
    std::vector<std::string> shellExecutes;
    std::vector<std::uint32_t> exitWindows;
    std::uint32_t exitWindowsFailure = 0;
    bool shutdownPrivilege = false;

    FaultPlan plan;
    std::uint64_t planned = 0;
    std::vector<std::string> plannedNames;
    bool faulted = false;
    std::string faultedCall;
    std::vector<Call> faults;
    std::shared_ptr<const StoredState> cut;  // set once a planned power cut happened
    bool cutPending = false;                 // the cut call ran; keep what it did at the next one

    // Logs the call; true when the plan says this one fails. `target` is
    // the stored thing the call reaches (see Call).
    bool log(const char* name, std::string args, std::string target = {});
    // What a walk step the plan fails answers.
    platform::Status walkFailure() const {
        return plan.walkError ? platform::Status(plan.walkError) : platform::Status(platform::Error::NoMoreFiles);
    }
    // "key ROOT\ID" of an open key or of root and subkey; empty when unknown.
    std::string keyTarget(platform::HKey root, const std::string& subKey = {});
    std::string valueTarget(platform::HKey key, const std::string& name);
    std::shared_ptr<const StoredState> storedNow() const;

    // --- the process table and its handles
    std::shared_ptr<Process> running(std::uint32_t pid) {
        if (auto it = byId.find(pid); it != byId.end() && it->second->running &&
                                      it->second->id == pid)
            return it->second;
        for (auto& p : table)
            if (p->id == pid && p->running) return p;
        return nullptr;
    }

    // A process whose record a test marked as ended leaves the table.
    void prune() {
        for (auto& p : table)
            if (!p->running) ended.push_back(p);
        std::erase_if(table, [](const auto& p) { return !p->running; });
    }

    platform::Handle newHandle(HandleEntry e) {
        platform::Handle h = nextHandle;
        nextHandle += 4;
        handles.emplace(h, std::move(e));
        return h;
    }

    HandleEntry* handle(platform::Handle h, HandleEntry::Kind kind) {
        auto it = handles.find(h);
        if (it == handles.end() || it->second.kind != kind) return nullptr;
        return &it->second;
    }

    // --- registry helpers, defined in sim_registry.cpp
    static bool isRoot(platform::HKey k) {
        return k == platform::RootKey::ClassesRoot || k == platform::RootKey::CurrentUser ||
               k == platform::RootKey::LocalMachine || k == platform::RootKey::Users;
    }

    // Resolves (root or open key, subkey) to a root and a key id.
    bool resolve(platform::HKey root, const std::string& subKey, platform::HKey& realRoot, std::string& id);
    Key* key(platform::HKey root, const std::string& id);
    Key& ensureKey(platform::HKey root, const std::string& path);
    // The key an open handle names; the root key itself always exists.
    Key* keyOf(platform::HKey h, long& err);
    // Read-only reaches down to every subkey, as an inherited right would.
    bool readOnlyAt(platform::HKey root, std::string id);
    bool readOnlyHandle(platform::HKey h);
    std::uint32_t accessOf(platform::HKey h);
    std::vector<std::string> childrenOf(platform::HKey root, const std::string& id);

    // A process ended by TerminateProcess or by WM_QUIT to its window takes
    // its windows with it, then the hooks see it.
    void processEnded(SimOs& self, const std::shared_ptr<Process>& p) {
        for (auto& w : windows)
            if (w->alive && p->id != 0 && w->ownerPid == p->id) w->alive = false;
        prune();
        Process copy = *p;
        for (auto& hook : hooks) hook(self, copy);
    }
};

}  // namespace sim
