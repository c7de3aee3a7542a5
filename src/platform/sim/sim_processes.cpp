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
    rec->exitCode = platform::kStillActive;
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

platform::Status SimOs::createToolhelp32Snapshot(std::uint32_t flags, std::uint32_t processId,
                                                 platform::Handle& snapshot) {
    snapshot = platform::kNoHandle;
    if (s_->log("CreateToolhelp32Snapshot", "flags=" + num(flags) + ", pid=" + num(processId)))
        return platform::Status(platform::Error::NotEnoughMemory);
    if (!s_->toolhelp) return platform::Status(platform::Error::CallNotImplemented);
    if (flags & platform::Snapshot::Processes) s_->prune();
    HandleEntry e;
    e.kind = HandleEntry::SnapshotHandle;
    Snapshot& snap = e.snapshot;
    if (flags & platform::Snapshot::Modules) {
        snap.module = true;
        if (processId == 0) {  // 0 means the calling process
            snap.moduleReadable = !s_->exePath.empty();
            snap.modulePath = s_->exePath;
        } else {
            auto p = s_->running(processId);
            if (!p) return platform::Status(87);  // ERROR_INVALID_PARAMETER: no such process
            snap.moduleReadable = !p->modulesUnreadable;
            snap.modulePath = p->modulePath;
        }
    }
    if (flags & platform::Snapshot::Processes) {
        snap.processes = true;
        for (auto& p : s_->table) {
            platform::ProcessEntry pe;
            pe.processId = p->id;
            pe.parentProcessId = p->parentId;
            pe.exeFile = p->exeFile.substr(0, kMaxExeFile);
            snap.entries.push_back(pe);
        }
    }
    if (!snap.module && !snap.processes) return platform::Status(87);
    snapshot = s_->newHandle(std::move(e));
    return {};
}

static platform::Status fillEntry(Snapshot& snap, std::size_t index, platform::ProcessEntry& entry) {
    if (!snap.processes || entry.size < platform::kProcessEntrySize) return platform::Status(24);  // ERROR_BAD_LENGTH
    if (index >= snap.entries.size()) return platform::Status(platform::Error::NoMoreFiles);
    entry.processId = snap.entries[index].processId;
    entry.parentProcessId = snap.entries[index].parentProcessId;
    entry.exeFile = snap.entries[index].exeFile;
    snap.next = index + 1;
    return {};
}

platform::Status SimOs::process32First(platform::Handle snapshot, platform::ProcessEntry& entry) {
    if (s_->log("Process32First", "snapshot=" + hex(snapshot))) return s_->walkFailure();
    HandleEntry* e = s_->handle(snapshot, HandleEntry::SnapshotHandle);
    return e ? fillEntry(e->snapshot, 0, entry) : platform::Status(platform::Error::InvalidHandle);
}

platform::Status SimOs::process32Next(platform::Handle snapshot, platform::ProcessEntry& entry) {
    if (s_->log("Process32Next", "snapshot=" + hex(snapshot))) return s_->walkFailure();
    HandleEntry* e = s_->handle(snapshot, HandleEntry::SnapshotHandle);
    return e ? fillEntry(e->snapshot, e->snapshot.next, entry)
             : platform::Status(platform::Error::InvalidHandle);
}

platform::Status SimOs::module32First(platform::Handle snapshot, platform::ModuleEntry& entry) {
    if (s_->log("Module32First", "snapshot=" + hex(snapshot))) return s_->walkFailure();
    HandleEntry* e = s_->handle(snapshot, HandleEntry::SnapshotHandle);
    if (!e) return platform::Status(platform::Error::InvalidHandle);
    if (!e->snapshot.module || entry.size < platform::kModuleEntrySize) return platform::Status(24);  // ERROR_BAD_LENGTH
    if (!e->snapshot.moduleReadable) return platform::Status(299);  // ERROR_PARTIAL_COPY, as a 32-bit caller gets
    entry.exePath = e->snapshot.modulePath.substr(0, kMaxExeFile);
    return {};
}

// --- Processes -------------------------------------------------------------

platform::Status SimOs::openProcess(std::uint32_t access, bool inherit, std::uint32_t processId,
                                    platform::Handle& process) {
    process = platform::kNoHandle;
    if (s_->log("OpenProcess",
                "access=" + hex(access) + ", inherit=" + num(inherit) + ", pid=" + num(processId)))
        return platform::Status(platform::Error::AccessDenied);
    s_->prune();
    auto p = s_->running(processId);
    if (!p) return platform::Status(87);  // ERROR_INVALID_PARAMETER: no such process
    if (p->cannotOpen) return platform::Status(platform::Error::AccessDenied);
    HandleEntry e;
    e.kind = HandleEntry::ProcessHandle;
    e.process = p;
    e.access = access;
    process = s_->newHandle(std::move(e));
    return {};
}

platform::Status SimOs::getExitCodeProcess(platform::Handle process, std::uint32_t& code) {
    HandleEntry* e = s_->handle(process, HandleEntry::ProcessHandle);
    if (s_->log("GetExitCodeProcess",
                "handle=" + hex(process) + ", pid=" + (e ? num(e->process->id) : std::string("?"))))
        return platform::Status(platform::Error::AccessDenied);
    if (!e) return platform::Status(platform::Error::InvalidHandle);
    if (!(e->access & (PROCESS_QUERY_INFORMATION | PROCESS_QUERY_LIMITED_INFORMATION)))
        return platform::Status(platform::Error::AccessDenied);
    code = e->process->running ? platform::kStillActive : e->process->exitCode;
    return {};
}

platform::Status SimOs::terminateProcess(platform::Handle process, std::uint32_t exitCode) {
    HandleEntry* e = s_->handle(process, HandleEntry::ProcessHandle);
    if (s_->log("TerminateProcess", "handle=" + hex(process) + ", pid=" +
                                        (e ? num(e->process->id) : std::string("?")) +
                                        ", code=" + num(exitCode)))
        return platform::Status(platform::Error::AccessDenied);
    if (!e) return platform::Status(platform::Error::InvalidHandle);
    if (!(e->access & platform::ProcessAccess::Terminate)) return platform::Status(platform::Error::AccessDenied);
    std::shared_ptr<Process> p = e->process;
    if (!p->running || p->cannotTerminate) return platform::Status(platform::Error::AccessDenied);
    p->running = false;
    p->exitCode = exitCode;
    s_->processEnded(*this, p);
    return {};
}

platform::Status SimOs::closeHandle(platform::Handle h) {
    s_->log("CloseHandle", "handle=" + hex(h));
    return s_->handles.erase(h) > 0 ? platform::Status() : platform::Status(platform::Error::InvalidHandle);
}

}  // namespace sim
