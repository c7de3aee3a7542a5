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

platform::Status SimOs::fileExists(const std::string& path, bool& exists) {
    exists = false;
    if (s_->log("FindFirstFileA", path, "file " + path)) return platform::ERROR_ACCESS_DENIED;
    if (path.find_first_of("*?") != std::string::npos) return {};  // names no single file
    const File* f = file(path);
    exists = f && !f->directory;
    return {};
}

platform::Status SimOs::setFileAttributes(const std::string& path, std::uint32_t attributes) {
    if (s_->log("SetFileAttributesA", path + ", attributes=" + hex(attributes), "file " + path))
        return platform::ERROR_ACCESS_DENIED;
    File* f = file(path);
    if (!f) return platform::ERROR_FILE_NOT_FOUND;
    f->attributes = attributes & ~platform::FILE_ATTRIBUTE_DIRECTORY;
    if (f->directory) f->attributes |= platform::FILE_ATTRIBUTE_DIRECTORY;
    return {};
}

platform::Status SimOs::deleteFile(const std::string& path) {
    if (s_->log("DeleteFileA", path, "file " + path)) return platform::ERROR_SHARING_VIOLATION;
    auto it = s_->files.find(path);
    if (it == s_->files.end()) return platform::ERROR_FILE_NOT_FOUND;
    File& f = it->second;
    if (f.directory || (f.attributes & platform::FILE_ATTRIBUTE_READONLY) || f.refusesDelete)
        return platform::ERROR_ACCESS_DENIED;
    if (f.deleteFailuresLeft > 0) {
        --f.deleteFailuresLeft;
        return platform::ERROR_SHARING_VIOLATION;
    }
    // The image of a running program cannot be deleted.
    std::string upper = base::asciiUpper(path);
    for (auto& p : s_->table)
        if (p->running && base::asciiUpper(p->modulePath) == upper) return platform::ERROR_ACCESS_DENIED;
    s_->files.erase(it);
    return {};
}

platform::Status SimOs::readFile(const std::string& path, std::string& bytes) {
    if (s_->log("ReadFile", path, "file " + path)) return platform::ERROR_SHARING_VIOLATION;
    const File* f = file(path);
    if (!f || f->directory) return platform::ERROR_FILE_NOT_FOUND;
    if (f->unreadable) return platform::ERROR_ACCESS_DENIED;
    bytes = f->bytes;
    return {};
}

void SimOs::failNextWriteAfter(std::size_t bytes) { s_->writeFailsAfter = bytes; }

platform::Status SimOs::writeFile(const std::string& path, const std::string& bytes) {
    if (s_->log("WriteFile", path + ", bytes=" + num(bytes.size()), "file " + path)) return platform::ERROR_DISK_FULL;
    if (File* f = file(path)) {
        // Replacing a file is refused when it is read-only, and also when it is
        // hidden or system (CREATE_ALWAYS without those attributes).
        const std::uint32_t refused = platform::FILE_ATTRIBUTE_READONLY | platform::FILE_ATTRIBUTE_HIDDEN |
                                      platform::FILE_ATTRIBUTE_SYSTEM;
        if (f->directory || f->unwritable || (f->attributes & refused)) return platform::ERROR_ACCESS_DENIED;
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
        return platform::ERROR_DISK_FULL;
    }
    file(path)->bytes = bytes;
    return {};
}

platform::Status SimOs::fileAttributes(const std::string& path, std::uint32_t& attributes) {
    attributes = 0xFFFFFFFFu;  // INVALID_FILE_ATTRIBUTES
    if (s_->log("GetFileAttributesA", path, "file " + path)) return platform::ERROR_ACCESS_DENIED;
    const File* f = file(path);
    if (!f) return platform::ERROR_FILE_NOT_FOUND;
    attributes = f->attributes;
    return {};
}

platform::Status SimOs::moveFile(const std::string& from, const std::string& to, bool replace) {
    if (s_->log(replace ? "MoveFileExA" : "MoveFileA", from + " -> " + to, "file " + to)) return platform::ERROR_ACCESS_DENIED;
    if (replace && s_->family == Family::Win9x) return platform::ERROR_CALL_NOT_IMPLEMENTED;  // only a stub there
    File* source = file(from);
    if (!source) return platform::ERROR_FILE_NOT_FOUND;
    // A file held open by someone (unwritable) cannot be renamed either.
    if (source->unwritable || source->refusesDelete) return platform::ERROR_ACCESS_DENIED;
    if (File* target = file(to)) {
        if (!replace) return platform::ERROR_ALREADY_EXISTS;
        if (target->directory || target->unwritable || target->refusesDelete ||
            (target->attributes & platform::FILE_ATTRIBUTE_READONLY))
            return platform::ERROR_ACCESS_DENIED;
    }
    File moved = *source;
    s_->files.erase(from);
    s_->files[to] = moved;
    return {};
}

}  // namespace sim
