// The process table and its handles: Toolhelp snapshots, opening, ending.
#include "platform/sim/sim_state.h"

#include <stdexcept>

namespace sim {

namespace {

constexpr std::uint32_t PROCESS_QUERY_INFORMATION = 0x400;
constexpr std::uint32_t PROCESS_QUERY_LIMITED_INFORMATION = 0x1000;
constexpr std::size_t kMaxExeFile = 259;  // szExeFile[260] with its NUL

}  // namespace

void SimOs::setToolhelpAvailable(bool available) { s_->toolhelp = available; }

void SimOs::forgetEnded() {
    s_->prune();
    s_->ended.clear();
    std::erase_if(s_->byId, [](const auto& e) { return !e.second->running; });
}

std::uint32_t SimOs::addProcess(const std::string& exeFile, const std::string& modulePath,
                                std::uint32_t id) {
    Process p;
    p.exeFile = exeFile;
    p.modulePath = modulePath;
    if (id == 0) {
        while (s_->running(s_->nextPid)) ++s_->nextPid;
        id = s_->nextPid++;
    }
    p.id = id;
    return insertProcess(p);
}

std::uint32_t SimOs::insertProcess(const Process& p) {
    if (s_->running(p.id))
        throw std::invalid_argument("process id " + num(p.id) + " is already running");
    auto rec = std::make_shared<Process>(p);
    if (rec->modulePath.empty()) rec->modulePath = rec->exeFile;
    rec->running = true;
    rec->exitCode = platform::STILL_ACTIVE;
    s_->table.push_back(rec);
    s_->byId[rec->id] = rec;
    return rec->id;
}

Process* SimOs::process(std::uint32_t id) {
    s_->prune();
    if (auto p = s_->running(id)) return p.get();
    for (auto it = s_->ended.rbegin(); it != s_->ended.rend(); ++it)
        if ((*it)->id == id) return it->get();
    return nullptr;
}

std::vector<Process> SimOs::runningProcesses() const {
    std::vector<Process> out;
    for (auto& p : s_->table)
        if (p->running) out.push_back(*p);
    return out;
}

void SimOs::onTerminate(std::function<void(SimOs&, const Process&)> hook) {
    s_->hooks.push_back(std::move(hook));
}

int SimOs::openHandles() const { return static_cast<int>(s_->handles.size()); }

// --- Toolhelp --------------------------------------------------------------

bool SimOs::toolhelpAvailable() {
    s_->log("ToolhelpAvailable", "");
    return s_->toolhelp;
}

platform::Handle SimOs::createToolhelp32Snapshot(std::uint32_t flags, std::uint32_t processId) {
    if (s_->log("CreateToolhelp32Snapshot", "flags=" + num(flags) + ", pid=" + num(processId)))
        return platform::kNoHandle;  // not enough memory
    if (!s_->toolhelp) return platform::kNoHandle;
    if (flags & platform::TH32CS_SNAPPROCESS) s_->prune();
    HandleEntry e;
    e.kind = HandleEntry::SnapshotHandle;
    Snapshot& snap = e.snapshot;
    if (flags & platform::TH32CS_SNAPMODULE) {
        snap.module = true;
        if (processId == 0) {  // 0 means the calling process
            snap.moduleReadable = !s_->exePath.empty();
            snap.modulePath = s_->exePath;
        } else {
            auto p = s_->running(processId);
            if (!p) return platform::kNoHandle;
            snap.moduleReadable = !p->modulesUnreadable;
            snap.modulePath = p->modulePath;
        }
    }
    if (flags & platform::TH32CS_SNAPPROCESS) {
        snap.processes = true;
        for (auto& p : s_->table) {
            platform::ProcessEntry pe;
            pe.processId = p->id;
            pe.parentProcessId = p->parentId;
            pe.exeFile = p->exeFile.substr(0, kMaxExeFile);
            snap.entries.push_back(pe);
        }
    }
    if (!snap.module && !snap.processes) return platform::kNoHandle;
    return s_->newHandle(std::move(e));
}

static bool fillEntry(Snapshot& snap, std::size_t index, platform::ProcessEntry& entry) {
    if (!snap.processes || entry.size < platform::kProcessEntrySize || index >= snap.entries.size())
        return false;
    entry.processId = snap.entries[index].processId;
    entry.parentProcessId = snap.entries[index].parentProcessId;
    entry.exeFile = snap.entries[index].exeFile;
    snap.next = index + 1;
    return true;
}

bool SimOs::process32First(platform::Handle snapshot, platform::ProcessEntry& entry) {
    if (s_->log("Process32First", "snapshot=" + hex(snapshot))) return false;
    HandleEntry* e = s_->handle(snapshot, HandleEntry::SnapshotHandle);
    return e && fillEntry(e->snapshot, 0, entry);
}

bool SimOs::process32Next(platform::Handle snapshot, platform::ProcessEntry& entry) {
    if (s_->log("Process32Next", "snapshot=" + hex(snapshot))) return false;
    HandleEntry* e = s_->handle(snapshot, HandleEntry::SnapshotHandle);
    return e && fillEntry(e->snapshot, e->snapshot.next, entry);
}

bool SimOs::module32First(platform::Handle snapshot, platform::ModuleEntry& entry) {
    if (s_->log("Module32First", "snapshot=" + hex(snapshot))) return false;
    HandleEntry* e = s_->handle(snapshot, HandleEntry::SnapshotHandle);
    if (!e || !e->snapshot.module || !e->snapshot.moduleReadable ||
        entry.size < platform::kModuleEntrySize)
        return false;
    entry.exePath = e->snapshot.modulePath.substr(0, kMaxExeFile);
    return true;
}

// --- Processes -------------------------------------------------------------

platform::Handle SimOs::openProcess(std::uint32_t access, bool inherit, std::uint32_t processId) {
    if (s_->log("OpenProcess",
                "access=" + hex(access) + ", inherit=" + num(inherit) + ", pid=" + num(processId)))
        return platform::kNoHandle;  // access denied
    s_->prune();
    auto p = s_->running(processId);
    if (!p || p->cannotOpen) return platform::kNoHandle;
    HandleEntry e;
    e.kind = HandleEntry::ProcessHandle;
    e.process = p;
    e.access = access;
    return s_->newHandle(std::move(e));
}

bool SimOs::getExitCodeProcess(platform::Handle process, std::uint32_t& code) {
    HandleEntry* e = s_->handle(process, HandleEntry::ProcessHandle);
    if (s_->log("GetExitCodeProcess",
                "handle=" + hex(process) + ", pid=" + (e ? num(e->process->id) : std::string("?"))))
        return false;
    if (!e || !(e->access & (PROCESS_QUERY_INFORMATION | PROCESS_QUERY_LIMITED_INFORMATION)))
        return false;
    code = e->process->running ? platform::STILL_ACTIVE : e->process->exitCode;
    return true;
}

std::int32_t SimOs::terminateProcess(platform::Handle process, std::uint32_t exitCode) {
    HandleEntry* e = s_->handle(process, HandleEntry::ProcessHandle);
    if (s_->log("TerminateProcess", "handle=" + hex(process) + ", pid=" +
                                        (e ? num(e->process->id) : std::string("?")) +
                                        ", code=" + num(exitCode)))
        return 0;  // access denied
    if (!e || !(e->access & platform::PROCESS_TERMINATE)) return 0;
    std::shared_ptr<Process> p = e->process;
    if (!p->running || p->cannotTerminate) return 0;
    p->running = false;
    p->exitCode = exitCode;
    s_->processEnded(*this, p);
    return 1;
}

bool SimOs::closeHandle(platform::Handle h) {
    s_->log("CloseHandle", "handle=" + hex(h));
    return s_->handles.erase(h) > 0;
}

}  // namespace sim
