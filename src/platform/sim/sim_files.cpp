// Files and directories by exact path, with the faults that stop deleting,
// reading and writing.
#include "platform/sim/sim_state.h"

#include <optional>
#include <utility>

namespace sim {

void SimOs::addFile(const std::string& path, const std::string& bytes, std::uint32_t attributes) {
    File f;
    f.bytes = bytes;
    f.attributes = attributes;
    s_->files[path] = f;
}

void SimOs::addDirectory(const std::string& path) {
    File f;
    f.directory = true;
    f.attributes = platform::FILE_ATTRIBUTE_DIRECTORY;
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

// --- platform::Os ----------------------------------------------------------------

bool SimOs::fileExists(const std::string& path) {
    if (s_->log("FindFirstFileA", path)) return false;  // access denied: no file found
    if (path.find_first_of("*?") != std::string::npos) return false;  // names no single file
    const File* f = file(path);
    return f && !f->directory;
}

bool SimOs::setFileAttributes(const std::string& path, std::uint32_t attributes) {
    if (s_->log("SetFileAttributesA", path + ", attributes=" + hex(attributes))) return false;
    File* f = file(path);
    if (!f) return false;
    f->attributes = attributes & ~platform::FILE_ATTRIBUTE_DIRECTORY;
    if (f->directory) f->attributes |= platform::FILE_ATTRIBUTE_DIRECTORY;
    return true;
}

bool SimOs::deleteFile(const std::string& path) {
    if (s_->log("DeleteFileA", path)) return false;  // sharing violation
    auto it = s_->files.find(path);
    if (it == s_->files.end()) return false;
    File& f = it->second;
    if (f.directory || (f.attributes & platform::FILE_ATTRIBUTE_READONLY) || f.refusesDelete)
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
    if (s_->log("ReadFile", path)) throw platform::OsError("I/O error 32 (sharing violation)", 32);
    const File* f = file(path);
    if (!f || f->directory) throw platform::OsError("File not found", 2);
    if (f->unreadable) throw platform::OsError("File access denied", 5);
    return f->bytes;
}

void SimOs::failNextWriteAfter(std::size_t bytes) { s_->writeFailsAfter = bytes; }

void SimOs::writeFile(const std::string& path, const std::string& bytes) {
    if (s_->log("WriteFile", path + ", bytes=" + num(bytes.size()))) throw platform::OsError("Disk full", 112);
    if (File* f = file(path)) {
        // Replacing a file is refused when it is read-only, and also when it is
        // hidden or system (CREATE_ALWAYS without those attributes).
        const std::uint32_t refused = platform::FILE_ATTRIBUTE_READONLY | platform::FILE_ATTRIBUTE_HIDDEN |
                                      platform::FILE_ATTRIBUTE_SYSTEM;
        if (f->directory || f->unwritable || (f->attributes & refused))
            throw platform::OsError("File access denied", 5);
    }
    // Created (or truncated) first, then written: a failure part-way leaves
    // the start of the new text.
    const std::optional<std::size_t> failAfter = std::exchange(s_->writeFailsAfter, std::nullopt);
    if (File* f = file(path))
        f->bytes.clear();
    else
        addFile(path);
    if (failAfter && *failAfter < bytes.size()) {
        file(path)->bytes = bytes.substr(0, *failAfter);
        throw platform::OsError("Disk full", 112);
    }
    file(path)->bytes = bytes;
}

std::uint32_t SimOs::fileAttributes(const std::string& path) {
    if (s_->log("GetFileAttributesA", path)) return platform::kNoFileAttributes;
    const File* f = file(path);
    return f ? f->attributes : platform::kNoFileAttributes;
}

bool SimOs::moveFile(const std::string& from, const std::string& to, bool replace) {
    if (s_->log(replace ? "MoveFileExA" : "MoveFileA", from + " -> " + to))
        throw platform::OsError("File access denied", 5);
    if (replace && s_->family == Family::Win9x) return false;  // only a stub there
    File* source = file(from);
    if (!source) throw platform::OsError("File not found", 2);
    // A file held open by someone (unwritable) cannot be renamed either.
    if (source->unwritable || source->refusesDelete) throw platform::OsError("File access denied", 5);
    if (File* target = file(to)) {
        if (!replace) throw platform::OsError("I/O error 183", 183);  // ERROR_ALREADY_EXISTS
        if (target->directory || target->unwritable || target->refusesDelete ||
            (target->attributes & platform::FILE_ATTRIBUTE_READONLY))
            throw platform::OsError("File access denied", 5);
    }
    File moved = *source;
    s_->files.erase(from);
    s_->files[to] = moved;
    return true;
}

}  // namespace sim
