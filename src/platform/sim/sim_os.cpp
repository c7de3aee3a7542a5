#include "platform/sim/sim_os.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <unordered_map>

#include "base/text.h"

namespace sim {
namespace {

constexpr std::uint32_t PROCESS_QUERY_INFORMATION = 0x400;
constexpr std::uint32_t PROCESS_QUERY_LIMITED_INFORMATION = 0x1000;
constexpr std::uint32_t KEY_QUERY_VALUE = 0x1;
constexpr std::uint32_t KEY_SET_VALUE = 0x2;
constexpr long ERROR_INVALID_HANDLE = 6;
constexpr long ERROR_KEY_DELETED = 1018;
constexpr std::size_t kMaxExeFile = 259;   // szExeFile[260] with its NUL
constexpr std::size_t kMaxWindowText = 254;  // 255-byte buffer with its NUL
constexpr std::size_t kMaxTip = 63;

std::string hex(std::uint64_t v) {
    char buf[24];
    std::snprintf(buf, sizeof buf, "0x%llX", static_cast<unsigned long long>(v));
    return buf;
}

std::string num(std::uint64_t v) { return std::to_string(v); }

// Registry paths: components split at '\', empty ones dropped, compared
// ignoring ASCII case as Windows does.
std::string normPath(const std::string& path) {
    std::string out, part;
    auto flush = [&] {
        if (part.empty()) return;
        if (!out.empty()) out += '\\';
        out += part;
        part.clear();
    };
    for (std::size_t i = 0; i < path.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(path[i]);
        if (base::isLeadByte(c) && i + 1 < path.size()) {
            part += path[i];
            part += path[++i];
        } else if (c == '\\') {
            flush();
        } else {
            part += path[i];
        }
    }
    flush();
    return out;
}

std::string keyId(const std::string& path) { return base::asciiUpper(normPath(path)); }

// Position of the last '\' that is a character of its own, or npos.
std::size_t lastSep(const std::string& path) {
    std::size_t pos = std::string::npos;
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (base::isLeadByte(static_cast<unsigned char>(path[i])) && i + 1 < path.size())
            ++i;
        else if (path[i] == '\\')
            pos = i;
    }
    return pos;
}

std::string parentOf(const std::string& id) {
    std::size_t sep = lastSep(id);
    return sep == std::string::npos ? std::string() : id.substr(0, sep);
}

std::string lastComponent(const std::string& path) {
    std::size_t sep = lastSep(path);
    return sep == std::string::npos ? path : path.substr(sep + 1);
}

bool sameName(const std::string& a, const std::string& b) {
    return base::asciiUpper(a) == base::asciiUpper(b);
}

struct Key {
    std::string name;  // last component as first created
    std::vector<std::pair<std::string, os::RegValue>> values;
    bool readOnly = false;
    bool unopenable = false;
};

struct Snapshot {
    bool processes = false;
    std::vector<os::ProcessEntry> entries;
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
    os::HKey root = 0;
    std::string id;  // "" is the root itself
    std::uint32_t access = 0;
};

}  // namespace

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
    os::Hwnd nextHwnd = 0x10010;

    std::map<std::string, File> files;

    std::map<os::HKey, std::map<std::string, Key>> hive;  // root -> id -> key
    std::map<os::HKey, OpenKey> keys;
    os::HKey nextKey = 0x1000;

    std::map<os::Handle, HandleEntry> handles;
    os::Handle nextHandle = 0x100;

    std::uint32_t ticks = 0;
    std::uint32_t tickStep = 0;
    std::uint64_t elapsed = 0;  // never wraps; schedules run by it
    std::multimap<std::uint64_t, std::function<void(SimOs&)>> due;
    std::string exePath = "C:\\Morvane\\Morvane.exe";
    os::Point cursor;

    std::vector<Call> calls;
    std::vector<os::NotifyIconData> tray_icons;
    std::vector<std::string> shellExecutes;
    std::vector<std::uint32_t> exitWindows;

    void log(const char* name, std::string args) { calls.push_back({name, std::move(args)}); }

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

    os::Handle newHandle(HandleEntry e) {
        os::Handle h = nextHandle;
        nextHandle += 4;
        handles.emplace(h, std::move(e));
        return h;
    }

    HandleEntry* handle(os::Handle h, HandleEntry::Kind kind) {
        auto it = handles.find(h);
        if (it == handles.end() || it->second.kind != kind) return nullptr;
        return &it->second;
    }

    // --- registry helpers
    static bool isRoot(os::HKey k) {
        return k == os::HKEY_CLASSES_ROOT || k == os::HKEY_CURRENT_USER ||
               k == os::HKEY_LOCAL_MACHINE || k == os::HKEY_USERS;
    }

    // Resolves (root or open key, subkey) to a root and a key id.
    bool resolve(os::HKey root, const std::string& subKey, os::HKey& realRoot, std::string& id) {
        std::string sub = keyId(subKey);
        if (isRoot(root)) {
            realRoot = root;
            id = sub;
            return true;
        }
        auto it = keys.find(root);
        if (it == keys.end()) return false;
        realRoot = it->second.root;
        id = it->second.id.empty() ? sub : sub.empty() ? it->second.id : it->second.id + "\\" + sub;
        return true;
    }

    Key* key(os::HKey root, const std::string& id) {
        auto& m = hive[root];
        auto it = m.find(id);
        return it == m.end() ? nullptr : &it->second;
    }

    Key& ensureKey(os::HKey root, const std::string& path) {
        std::string norm = normPath(path);
        std::string id = base::asciiUpper(norm);
        auto& m = hive[root];
        if (auto it = m.find(id); it != m.end()) return it->second;
        if (!id.empty()) {
            std::string parentId = parentOf(id);
            std::string parentNorm = norm.substr(0, parentId.size());
            ensureKey(root, parentNorm);
        }
        Key& k = m[id];
        k.name = lastComponent(norm);
        return k;
    }

    // The key an open handle names; the root key itself always exists.
    Key* keyOf(os::HKey h, long& err) {
        os::HKey root;
        std::string id;
        if (!resolve(h, "", root, id)) {
            err = ERROR_INVALID_HANDLE;
            return nullptr;
        }
        Key* k = id.empty() ? &ensureKey(root, "") : key(root, id);
        err = k ? os::ERROR_SUCCESS : ERROR_KEY_DELETED;
        return k;
    }

    // Read-only reaches down to every subkey, as an inherited right would.
    bool readOnlyAt(os::HKey root, std::string id) {
        for (;;) {
            Key* k = id.empty() ? &ensureKey(root, "") : key(root, id);
            if (k && k->readOnly) return true;
            if (id.empty()) return false;
            id = parentOf(id);
        }
    }

    bool readOnlyHandle(os::HKey h) {
        os::HKey root;
        std::string id;
        return resolve(h, "", root, id) && readOnlyAt(root, id);
    }

    std::uint32_t accessOf(os::HKey h) {
        auto it = keys.find(h);
        return it == keys.end() ? os::KEY_ALL_ACCESS : it->second.access;
    }

    std::vector<std::string> childrenOf(os::HKey root, const std::string& id) {
        std::vector<std::string> out;
        for (auto& [kid, k] : hive[root]) {
            if (kid.empty() || kid == id) continue;
            if (parentOf(kid) == id) out.push_back(k.name);
        }
        return out;
    }

    void processEnded(SimOs& self, const std::shared_ptr<Process>& p) {
        for (auto& w : windows)
            if (w->alive && p->id != 0 && w->ownerPid == p->id) w->alive = false;
        prune();
        Process copy = *p;
        for (auto& hook : hooks) hook(self, copy);
    }
};

SimOs::SimOs(Family family) : s_(std::make_unique<State>()) { s_->family = family; }
SimOs::~SimOs() = default;

// --- Setting up ------------------------------------------------------------

void SimOs::reset(Family family) {
    s_ = std::make_unique<State>();
    s_->family = family;
}

Family SimOs::family() const { return s_->family; }
void SimOs::setFamily(Family f) { s_->family = f; }
void SimOs::setToolhelpAvailable(bool available) { s_->toolhelp = available; }
void SimOs::setVersionFails(bool fails) { s_->versionFails = fails; }

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
    rec->exitCode = os::STILL_ACTIVE;
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

os::Hwnd SimOs::addWindow(const std::string& title, std::uint32_t ownerPid) {
    auto w = std::make_shared<Window>();
    w->hwnd = s_->nextHwnd;
    s_->nextHwnd += 0x10;
    w->title = title;
    w->ownerPid = ownerPid;
    s_->windows.push_back(w);
    return w->hwnd;
}

Window* SimOs::window(os::Hwnd h) {
    for (auto& w : s_->windows)
        if (w->hwnd == h) return w.get();
    return nullptr;
}

std::vector<Window> SimOs::windows() const {
    std::vector<Window> out;
    for (auto& w : s_->windows)
        if (w->alive) out.push_back(*w);
    return out;
}

void SimOs::addFile(const std::string& path, const std::string& bytes, std::uint32_t attributes) {
    File f;
    f.bytes = bytes;
    f.attributes = attributes;
    s_->files[path] = f;
}

void SimOs::addDirectory(const std::string& path) {
    File f;
    f.directory = true;
    f.attributes = os::FILE_ATTRIBUTE_DIRECTORY;
    s_->files[path] = f;
}

File* SimOs::file(const std::string& path) {
    auto it = s_->files.find(path);
    return it == s_->files.end() ? nullptr : &it->second;
}

std::vector<std::string> SimOs::files() const {
    std::vector<std::string> out;
    for (auto& [path, f] : s_->files)
        if (!f.directory) out.push_back(path);
    return out;
}

void SimOs::setValue(os::HKey root, const std::string& subKey, const std::string& name,
                     std::uint32_t type, const std::string& data) {
    Key& k = s_->ensureKey(root, subKey);
    for (auto& [n, v] : k.values)
        if (sameName(n, name)) {
            v = {type, data};
            return;
        }
    k.values.push_back({name, {type, data}});
}

void SimOs::setString(os::HKey root, const std::string& subKey, const std::string& name,
                      const std::string& text) {
    setValue(root, subKey, name, os::REG_SZ, text + '\0');
}

bool SimOs::hasKey(os::HKey root, const std::string& subKey) const {
    std::string id = keyId(subKey);
    if (id.empty()) return true;
    auto it = s_->hive.find(root);
    return it != s_->hive.end() && it->second.count(id);
}

static const os::RegValue* findValue(const Key& k, const std::string& name) {
    for (auto& [n, v] : k.values)
        if (sameName(n, name)) return &v;
    return nullptr;
}

bool SimOs::hasValue(os::HKey root, const std::string& subKey, const std::string& name) const {
    if (!hasKey(root, subKey)) return false;
    const Key* k = s_->key(root, keyId(subKey));
    return k && findValue(*k, name);
}

std::string SimOs::stringValue(os::HKey root, const std::string& subKey,
                               const std::string& name) const {
    if (!hasKey(root, subKey)) return "";
    const Key* k = s_->key(root, keyId(subKey));
    const os::RegValue* v = k ? findValue(*k, name) : nullptr;
    if (!v) return "";
    return v->data.substr(0, v->data.find('\0'));
}

std::uint32_t SimOs::valueType(os::HKey root, const std::string& subKey,
                               const std::string& name) const {
    if (!hasKey(root, subKey)) return os::REG_NONE;
    const Key* k = s_->key(root, keyId(subKey));
    const os::RegValue* v = k ? findValue(*k, name) : nullptr;
    return v ? v->type : os::REG_NONE;
}

std::vector<std::string> SimOs::valueNames(os::HKey root, const std::string& subKey) const {
    std::vector<std::string> out;
    if (!hasKey(root, subKey)) return out;
    if (const Key* k = s_->key(root, keyId(subKey)))
        for (auto& [n, v] : k->values) out.push_back(n);
    return out;
}

void SimOs::removeKey(os::HKey root, const std::string& subKey) {
    std::string id = keyId(subKey);
    auto& m = s_->hive[root];
    std::erase_if(m, [&](const auto& kv) {
        const std::string& kid = kv.first;
        return kid == id || (id.empty() || (kid.size() > id.size() &&
                                            kid.compare(0, id.size(), id) == 0 &&
                                            kid[id.size()] == '\\'));
    });
}

void SimOs::setKeyReadOnly(os::HKey root, const std::string& subKey, bool readOnly) {
    s_->ensureKey(root, subKey).readOnly = readOnly;
}

void SimOs::setKeyUnopenable(os::HKey root, const std::string& subKey, bool unopenable) {
    s_->ensureKey(root, subKey).unopenable = unopenable;
}

int SimOs::openKeys() const { return static_cast<int>(s_->keys.size()); }
void SimOs::setTrayAvailable(bool available) { s_->tray = available; }
void SimOs::setShellExecuteResult(std::intptr_t result) { s_->shellResult = result; }

void SimOs::after(std::uint32_t ms, std::function<void(SimOs&)> action) {
    s_->due.emplace(s_->elapsed + ms, std::move(action));
}

void SimOs::setTickCount(std::uint32_t ticks) { s_->ticks = ticks; }

void SimOs::advance(std::uint32_t ms) {
    s_->ticks += ms;
    s_->elapsed += ms;
    // Actions may schedule more; each runs once, in the order they fall due.
    while (!s_->due.empty() && s_->due.begin()->first <= s_->elapsed) {
        auto action = std::move(s_->due.begin()->second);
        s_->due.erase(s_->due.begin());
        action(*this);
    }
}
void SimOs::setTickStep(std::uint32_t ms) { s_->tickStep = ms; }
void SimOs::setExePath(const std::string& path) { s_->exePath = path; }
void SimOs::setCursorPos(os::Point p) { s_->cursor = p; }

// --- Observing -------------------------------------------------------------

const std::vector<Call>& SimOs::calls() const { return s_->calls; }

std::size_t SimOs::countCalls(const std::string& name) const {
    std::string ansi = name + "A";
    return std::count_if(s_->calls.begin(), s_->calls.end(),
                         [&](const Call& c) { return c.name == name || c.name == ansi; });
}

void SimOs::clearCalls() { s_->calls.clear(); }
int SimOs::openHandles() const { return static_cast<int>(s_->handles.size()); }
std::vector<os::NotifyIconData> SimOs::trayIcons() const { return s_->tray_icons; }
std::vector<std::string> SimOs::shellExecutes() const { return s_->shellExecutes; }
std::vector<std::uint32_t> SimOs::exitWindowsCalls() const { return s_->exitWindows; }

// --- Toolhelp --------------------------------------------------------------

bool SimOs::toolhelpAvailable() {
    s_->log("ToolhelpAvailable", "");
    return s_->toolhelp;
}

os::Handle SimOs::createToolhelp32Snapshot(std::uint32_t flags, std::uint32_t processId) {
    s_->log("CreateToolhelp32Snapshot", "flags=" + num(flags) + ", pid=" + num(processId));
    if (!s_->toolhelp) return os::kNoHandle;
    if (flags & os::TH32CS_SNAPPROCESS) s_->prune();
    HandleEntry e;
    e.kind = HandleEntry::SnapshotHandle;
    Snapshot& snap = e.snapshot;
    if (flags & os::TH32CS_SNAPMODULE) {
        snap.module = true;
        if (processId == 0) {  // 0 means the calling process
            snap.moduleReadable = !s_->exePath.empty();
            snap.modulePath = s_->exePath;
        } else {
            auto p = s_->running(processId);
            if (!p) return os::kNoHandle;
            snap.moduleReadable = !p->modulesUnreadable;
            snap.modulePath = p->modulePath;
        }
    }
    if (flags & os::TH32CS_SNAPPROCESS) {
        snap.processes = true;
        for (auto& p : s_->table) {
            os::ProcessEntry pe;
            pe.processId = p->id;
            pe.exeFile = p->exeFile.substr(0, kMaxExeFile);
            snap.entries.push_back(pe);
        }
    }
    if (!snap.module && !snap.processes) return os::kNoHandle;
    return s_->newHandle(std::move(e));
}

static bool fillEntry(Snapshot& snap, std::size_t index, os::ProcessEntry& entry) {
    if (!snap.processes || entry.size < os::kProcessEntrySize || index >= snap.entries.size())
        return false;
    entry.processId = snap.entries[index].processId;
    entry.exeFile = snap.entries[index].exeFile;
    snap.next = index + 1;
    return true;
}

bool SimOs::process32First(os::Handle snapshot, os::ProcessEntry& entry) {
    s_->log("Process32First", "snapshot=" + hex(snapshot));
    HandleEntry* e = s_->handle(snapshot, HandleEntry::SnapshotHandle);
    return e && fillEntry(e->snapshot, 0, entry);
}

bool SimOs::process32Next(os::Handle snapshot, os::ProcessEntry& entry) {
    s_->log("Process32Next", "snapshot=" + hex(snapshot));
    HandleEntry* e = s_->handle(snapshot, HandleEntry::SnapshotHandle);
    return e && fillEntry(e->snapshot, e->snapshot.next, entry);
}

bool SimOs::module32First(os::Handle snapshot, os::ModuleEntry& entry) {
    s_->log("Module32First", "snapshot=" + hex(snapshot));
    HandleEntry* e = s_->handle(snapshot, HandleEntry::SnapshotHandle);
    if (!e || !e->snapshot.module || !e->snapshot.moduleReadable ||
        entry.size < os::kModuleEntrySize)
        return false;
    entry.exePath = e->snapshot.modulePath.substr(0, kMaxExeFile);
    return true;
}

// --- Processes -------------------------------------------------------------

os::Handle SimOs::openProcess(std::uint32_t access, bool inherit, std::uint32_t processId) {
    s_->log("OpenProcess",
            "access=" + hex(access) + ", inherit=" + num(inherit) + ", pid=" + num(processId));
    s_->prune();
    auto p = s_->running(processId);
    if (!p || p->cannotOpen) return os::kNoHandle;
    HandleEntry e;
    e.kind = HandleEntry::ProcessHandle;
    e.process = p;
    e.access = access;
    return s_->newHandle(std::move(e));
}

bool SimOs::getExitCodeProcess(os::Handle process, std::uint32_t& code) {
    HandleEntry* e = s_->handle(process, HandleEntry::ProcessHandle);
    s_->log("GetExitCodeProcess",
            "handle=" + hex(process) + ", pid=" + (e ? num(e->process->id) : std::string("?")));
    if (!e || !(e->access & (PROCESS_QUERY_INFORMATION | PROCESS_QUERY_LIMITED_INFORMATION)))
        return false;
    code = e->process->running ? os::STILL_ACTIVE : e->process->exitCode;
    return true;
}

std::int32_t SimOs::terminateProcess(os::Handle process, std::uint32_t exitCode) {
    HandleEntry* e = s_->handle(process, HandleEntry::ProcessHandle);
    s_->log("TerminateProcess", "handle=" + hex(process) + ", pid=" +
                                    (e ? num(e->process->id) : std::string("?")) +
                                    ", code=" + num(exitCode));
    if (!e || !(e->access & os::PROCESS_TERMINATE)) return 0;
    std::shared_ptr<Process> p = e->process;
    if (!p->running || p->cannotTerminate) return 0;
    p->running = false;
    p->exitCode = exitCode;
    s_->processEnded(*this, p);
    return 1;
}

bool SimOs::closeHandle(os::Handle h) {
    s_->log("CloseHandle", "handle=" + hex(h));
    return s_->handles.erase(h) > 0;
}

// --- Files -----------------------------------------------------------------

bool SimOs::fileExists(const std::string& path) {
    s_->log("FindFirstFileA", path);
    if (path.find_first_of("*?") != std::string::npos) return false;  // names no single file
    const File* f = file(path);
    return f && !f->directory;
}

bool SimOs::setFileAttributes(const std::string& path, std::uint32_t attributes) {
    s_->log("SetFileAttributesA", path + ", attributes=" + hex(attributes));
    File* f = file(path);
    if (!f) return false;
    f->attributes = attributes & ~os::FILE_ATTRIBUTE_DIRECTORY;
    if (f->directory) f->attributes |= os::FILE_ATTRIBUTE_DIRECTORY;
    return true;
}

bool SimOs::deleteFile(const std::string& path) {
    s_->log("DeleteFileA", path);
    auto it = s_->files.find(path);
    if (it == s_->files.end()) return false;
    File& f = it->second;
    if (f.directory || (f.attributes & os::FILE_ATTRIBUTE_READONLY) || f.refusesDelete)
        return false;
    if (f.deleteFailuresLeft > 0) {
        --f.deleteFailuresLeft;
        return false;
    }
    // The image of a running program cannot be deleted.
    std::string upper = base::asciiUpper(path);
    for (auto& p : s_->table)
        if (p->running && base::asciiUpper(p->modulePath) == upper) return false;
    s_->files.erase(it);
    return true;
}

std::string SimOs::readFile(const std::string& path) {
    s_->log("ReadFile", path);
    const File* f = file(path);
    if (!f || f->directory) throw os::OsError("File not found", 2);
    if (f->unreadable) throw os::OsError("File access denied", 5);
    return f->bytes;
}

void SimOs::writeFile(const std::string& path, const std::string& bytes) {
    s_->log("WriteFile", path + ", bytes=" + num(bytes.size()));
    if (File* f = file(path)) {
        // Replacing a file is refused when it is read-only, and also when it is
        // hidden or system (CREATE_ALWAYS without those attributes).
        const std::uint32_t refused = os::FILE_ATTRIBUTE_READONLY | os::FILE_ATTRIBUTE_HIDDEN |
                                      os::FILE_ATTRIBUTE_SYSTEM;
        if (f->directory || f->unwritable || (f->attributes & refused))
            throw os::OsError("File access denied", 5);
        f->bytes = bytes;
        return;
    }
    addFile(path, bytes);
}

// --- Windows ---------------------------------------------------------------

os::Hwnd SimOs::getWindow(os::Hwnd wnd, std::uint32_t cmd) {
    s_->log("GetWindow", "hwnd=" + hex(wnd) + ", cmd=" + num(cmd));
    auto& ws = s_->windows;
    if (cmd == os::GW_HWNDFIRST) {
        for (auto& w : ws)
            if (w->alive) return w->hwnd;
        return 0;
    }
    if (cmd == os::GW_HWNDNEXT) {
        auto it = std::find_if(ws.begin(), ws.end(),
                               [&](const auto& w) { return w->hwnd == wnd && w->alive; });
        if (it == ws.end()) return 0;
        for (++it; it != ws.end(); ++it)
            if ((*it)->alive) return (*it)->hwnd;
    }
    return 0;
}

int SimOs::getWindowText(os::Hwnd wnd, std::string& text) {
    s_->log("GetWindowTextA", "hwnd=" + hex(wnd));
    Window* w = window(wnd);
    if (!w || !w->alive) {
        text.clear();
        return 0;
    }
    text = w->title.substr(0, kMaxWindowText);
    return static_cast<int>(text.size());
}

os::Hwnd SimOs::findWindow(const char* className, const char* windowName) {
    s_->log("FindWindowA", std::string("class=") + (className ? className : "(null)") +
                               ", title=" + (windowName ? windowName : "(null)"));
    // Like FindWindowA: whole texts, not case-sensitive.
    for (auto& w : s_->windows) {
        if (!w->alive) continue;
        if (className && !sameName(w->className, className)) continue;
        if (windowName && !sameName(w->title, windowName)) continue;
        return w->hwnd;
    }
    return 0;
}

os::SendResult SimOs::sendClose(os::Hwnd wnd, std::uint32_t timeoutMs) {
    s_->log("SendMessageA", "hwnd=" + hex(wnd) + ", WM_CLOSE, timeout=" + num(timeoutMs));
    Window* w = window(wnd);
    if (!w || !w->alive) return os::SendResult::Failed;
    if (w->hung) {
        advance(timeoutMs);
        return os::SendResult::NoAnswer;
    }
    if (!w->refusesClose) w->alive = false;
    return os::SendResult::Handled;
}

bool SimOs::postQuit(os::Hwnd wnd) {
    s_->log("PostMessageA", "hwnd=" + hex(wnd) + ", WM_QUIT");
    Window* w = window(wnd);
    if (!w || !w->alive) return false;
    if (w->hung) return true;  // lands in a queue nobody reads
    if (auto p = w->ownerPid ? s_->running(w->ownerPid) : nullptr) {
        p->running = false;
        p->exitCode = 0;
        s_->processEnded(*this, p);
    }
    w->alive = false;
    return true;
}

// --- Registry --------------------------------------------------------------

long SimOs::regOpenKeyEx(os::HKey root, const std::string& subKey, std::uint32_t access,
                         os::HKey& key) {
    s_->log("RegOpenKeyExA", hex(root) + "\\" + subKey + ", access=" + hex(access));
    os::HKey realRoot;
    std::string id;
    if (!s_->resolve(root, subKey, realRoot, id)) return ERROR_INVALID_HANDLE;
    Key* k = id.empty() ? &s_->ensureKey(realRoot, "") : s_->key(realRoot, id);
    if (!k) return os::ERROR_FILE_NOT_FOUND;
    if (k->unopenable) return os::ERROR_ACCESS_DENIED;
    key = s_->nextKey;
    s_->nextKey += 4;
    s_->keys[key] = {realRoot, id, access};
    return os::ERROR_SUCCESS;
}

long SimOs::regCreateKeyEx(os::HKey root, const std::string& subKey, std::uint32_t access,
                           os::HKey& key) {
    s_->log("RegCreateKeyExA", hex(root) + "\\" + subKey + ", access=" + hex(access));
    os::HKey realRoot;
    std::string id;
    if (!s_->resolve(root, subKey, realRoot, id)) return ERROR_INVALID_HANDLE;
    Key* k = id.empty() ? &s_->ensureKey(realRoot, "") : s_->key(realRoot, id);
    if (!k) {
        // A new key needs write access to the nearest existing ancestor.
        for (std::string up = parentOf(id);; up = parentOf(up)) {
            Key* a = up.empty() ? &s_->ensureKey(realRoot, "") : s_->key(realRoot, up);
            if (a) {
                if (a->unopenable || s_->readOnlyAt(realRoot, up)) return os::ERROR_ACCESS_DENIED;
                break;
            }
            if (up.empty()) break;
        }
        // Keep the caller's spelling for the new components.
        std::string norm = normPath(subKey);
        auto it = s_->keys.find(root);
        std::string full = (it != s_->keys.end() && !it->second.id.empty())
                               ? it->second.id + (norm.empty() ? "" : "\\" + norm)
                               : norm;
        k = &s_->ensureKey(realRoot, full);
    }
    if (k->unopenable) return os::ERROR_ACCESS_DENIED;
    key = s_->nextKey;
    s_->nextKey += 4;
    s_->keys[key] = {realRoot, id, access};
    return os::ERROR_SUCCESS;
}

long SimOs::regCloseKey(os::HKey key) {
    s_->log("RegCloseKey", hex(key));
    if (State::isRoot(key)) return os::ERROR_SUCCESS;
    return s_->keys.erase(key) ? os::ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

long SimOs::regQueryValueEx(os::HKey key, const std::string& name, os::RegValue& value) {
    s_->log("RegQueryValueExA", hex(key) + ", " + name);
    long err;
    Key* k = s_->keyOf(key, err);
    if (!k) return err;
    if (!(s_->accessOf(key) & KEY_QUERY_VALUE)) return os::ERROR_ACCESS_DENIED;
    const os::RegValue* v = findValue(*k, name);
    if (!v) return os::ERROR_FILE_NOT_FOUND;
    value = *v;
    return os::ERROR_SUCCESS;
}

long SimOs::regSetValueEx(os::HKey key, const std::string& name, const os::RegValue& value) {
    s_->log("RegSetValueExA", hex(key) + ", " + name + ", type=" + num(value.type) +
                                  ", size=" + num(value.data.size()));
    long err;
    Key* k = s_->keyOf(key, err);
    if (!k) return err;
    if (s_->readOnlyHandle(key) || !(s_->accessOf(key) & KEY_SET_VALUE))
        return os::ERROR_ACCESS_DENIED;
    for (auto& [n, v] : k->values)
        if (sameName(n, name)) {
            v = value;
            return os::ERROR_SUCCESS;
        }
    k->values.push_back({name, value});
    return os::ERROR_SUCCESS;
}

long SimOs::regDeleteValue(os::HKey key, const std::string& name) {
    s_->log("RegDeleteValueA", hex(key) + ", " + name);
    long err;
    Key* k = s_->keyOf(key, err);
    if (!k) return err;
    if (s_->readOnlyHandle(key) || !(s_->accessOf(key) & KEY_SET_VALUE))
        return os::ERROR_ACCESS_DENIED;
    auto it = std::find_if(k->values.begin(), k->values.end(),
                           [&](const auto& nv) { return sameName(nv.first, name); });
    if (it == k->values.end()) return os::ERROR_FILE_NOT_FOUND;
    k->values.erase(it);
    return os::ERROR_SUCCESS;
}

long SimOs::regEnumValue(os::HKey key, std::uint32_t index, std::string& name) {
    s_->log("RegEnumValueA", hex(key) + ", index=" + num(index));
    long err;
    Key* k = s_->keyOf(key, err);
    if (!k) return err;
    if (!(s_->accessOf(key) & KEY_QUERY_VALUE)) return os::ERROR_ACCESS_DENIED;
    if (index >= k->values.size()) return os::ERROR_NO_MORE_ITEMS;
    name = k->values[index].first;
    return os::ERROR_SUCCESS;
}

long SimOs::regQueryInfoKey(os::HKey key, os::RegKeyInfo& info) {
    s_->log("RegQueryInfoKeyA", hex(key));
    long err;
    Key* k = s_->keyOf(key, err);
    if (!k) return err;
    os::HKey root;
    std::string id;
    s_->resolve(key, "", root, id);
    info = {};
    for (auto& child : s_->childrenOf(root, id)) {
        ++info.subKeys;
        info.maxSubKeyLen = std::max<std::uint32_t>(info.maxSubKeyLen, child.size());
    }
    for (auto& [n, v] : k->values) {
        ++info.values;
        info.maxValueNameLen = std::max<std::uint32_t>(info.maxValueNameLen, n.size());
        info.maxValueLen = std::max<std::uint32_t>(info.maxValueLen, v.data.size());
    }
    return os::ERROR_SUCCESS;
}

long SimOs::regDeleteKey(os::HKey root, const std::string& subKey) {
    s_->log("RegDeleteKeyA", hex(root) + "\\" + subKey);
    os::HKey realRoot;
    std::string id;
    if (!s_->resolve(root, subKey, realRoot, id)) return ERROR_INVALID_HANDLE;
    if (id.empty()) return os::ERROR_ACCESS_DENIED;
    Key* k = s_->key(realRoot, id);
    if (!k) return os::ERROR_FILE_NOT_FOUND;
    if (k->unopenable || s_->readOnlyAt(realRoot, id)) return os::ERROR_ACCESS_DENIED;
    // NT refuses a key with subkeys; 9x removes the whole tree.
    if (s_->family == Family::NT && !s_->childrenOf(realRoot, id).empty())
        return os::ERROR_ACCESS_DENIED;
    removeKey(realRoot, id);
    return os::ERROR_SUCCESS;
}

// --- System ----------------------------------------------------------------

bool SimOs::getVersionEx(os::VersionInfo& info) {
    s_->log("GetVersionExA", "size=" + num(info.size));
    if (s_->versionFails || (info.size != os::kVersionInfoSize && info.size != 156)) return false;
    if (s_->family == Family::NT) {
        info.major = 5, info.minor = 1, info.build = 2600;
        info.platformId = os::VER_PLATFORM_WIN32_NT;
        info.csdVersion = "Service Pack 3";
    } else {
        info.major = 4, info.minor = 10, info.build = 0x040A08AE;  // 98 SE: 4.10.2222
        info.platformId = os::VER_PLATFORM_WIN32_WINDOWS;
        info.csdVersion = " A ";
    }
    return true;
}

std::uint32_t SimOs::getTickCount() {
    s_->log("GetTickCount", "");
    std::uint32_t now = s_->ticks;
    if (s_->tickStep) advance(s_->tickStep);
    return now;
}

std::intptr_t SimOs::shellExecute(os::Hwnd wnd, const std::string& verb, const std::string& file,
                                  const std::string& params, const std::string& dir, int show) {
    std::string rec = verb + "|" + file + "|" + params + "|" + dir + "|" + std::to_string(show);
    s_->log("ShellExecuteA", "hwnd=" + hex(wnd) + ", " + rec);
    s_->shellExecutes.push_back(rec);
    return s_->shellResult;
}

std::string SimOs::exePath() {
    s_->log("GetModuleFileNameA", "");
    return s_->exePath;
}

bool SimOs::shellNotifyIcon(std::uint32_t message, const os::NotifyIconData& data) {
    s_->log("Shell_NotifyIconA", "message=" + num(message) + ", hwnd=" + hex(data.wnd) +
                                     ", id=" + num(data.id));
    if (!s_->tray) return false;
    auto& icons = s_->tray_icons;
    auto it = std::find_if(icons.begin(), icons.end(), [&](const os::NotifyIconData& d) {
        return d.wnd == data.wnd && d.id == data.id;
    });
    os::NotifyIconData kept = data;
    kept.tip = kept.tip.substr(0, kMaxTip);
    switch (message) {
    case os::NIM_ADD:
        if (it != icons.end()) return false;
        icons.push_back(kept);
        return true;
    case os::NIM_MODIFY:
        if (it == icons.end()) return false;
        if (data.flags & os::NIF_MESSAGE) it->callbackMessage = kept.callbackMessage;
        if (data.flags & os::NIF_ICON) it->icon = kept.icon;
        if (data.flags & os::NIF_TIP) it->tip = kept.tip;
        it->flags |= data.flags;
        return true;
    case os::NIM_DELETE:
        if (it == icons.end()) return false;
        icons.erase(it);
        return true;
    }
    return false;
}

bool SimOs::getCursorPos(os::Point& p) {
    s_->log("GetCursorPos", "");
    p = s_->cursor;
    return true;
}

bool SimOs::exitWindowsEx(std::uint32_t flags, std::uint32_t reserved) {
    s_->log("ExitWindowsEx", "flags=" + num(flags) + ", reserved=" + num(reserved));
    s_->exitWindows.push_back(flags);
    return true;
}

}  // namespace sim
