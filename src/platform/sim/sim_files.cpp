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
    f.attributes = platform::FileAttr::Directory;
    s_->files[path] = f;
}

File* SimOs::file(const std::string& path) {
    auto it = s_->files.find(path);
    return it == s_->files.end() ? nullptr : &it->second;
}

std::string SimOs::bytesOf(const std::string& path) {
    const File* f = file(path);
    return f ? f->bytes : "<no file>";
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
    if (s_->log("FindFirstFileA", path, "file " + path)) return platform::Status(platform::Error::AccessDenied);
    if (path.find_first_of("*?") != std::string::npos) return {};  // names no single file
    const std::size_t slash = path.find_last_of('\\');
    const File* folder = slash == std::string::npos ? nullptr : file(path.substr(0, slash));
    if (folder && folder->directory && folder->unreadable) return platform::Status(platform::Error::AccessDenied);
    const File* f = file(path);
    exists = f && !f->directory;
    return {};
}

platform::Status SimOs::setFileAttributes(const std::string& path, std::uint32_t attributes) {
    if (s_->log("SetFileAttributesA", path + ", attributes=" + hex(attributes), "file " + path))
        return platform::Status(platform::Error::AccessDenied);
    File* f = file(path);
    if (!f) return platform::Status(platform::Error::FileNotFound);
    f->attributes = attributes & ~platform::FileAttr::Directory;
    if (f->directory) f->attributes |= platform::FileAttr::Directory;
    return {};
}

platform::Status SimOs::deleteFile(const std::string& path) {
    if (s_->log("DeleteFileA", path, "file " + path)) return platform::Status(platform::Error::SharingViolation);
    auto it = s_->files.find(path);
    if (it == s_->files.end()) return platform::Status(platform::Error::FileNotFound);
    File& f = it->second;
    if (f.directory || (f.attributes & platform::FileAttr::ReadOnly) || f.refusesDelete)
        return platform::Status(platform::Error::AccessDenied);
    if (f.deleteFailuresLeft > 0) {
        --f.deleteFailuresLeft;
        return platform::Status(platform::Error::SharingViolation);
    }
    // The image of a running program cannot be deleted.
    std::string upper = base::asciiUpper(path);
    for (auto& p : s_->table)
        if (p->running && base::asciiUpper(p->modulePath) == upper) return platform::Status(platform::Error::AccessDenied);
    s_->files.erase(it);
    return {};
}

platform::Status SimOs::readFile(const std::string& path, std::string& bytes) {
    if (s_->log("ReadFile", path, "file " + path)) return platform::Status(platform::Error::SharingViolation);
    const File* f = file(path);
    if (!f || f->directory) return platform::Status(platform::Error::FileNotFound);
    if (f->unreadable) return platform::Status(platform::Error::AccessDenied);
    bytes = f->bytes;
    return {};
}

void SimOs::failNextWriteAfter(std::size_t bytes) { s_->writeFailsAfter = bytes; }

platform::Status SimOs::writeFile(const std::string& path, const std::string& bytes) {
    if (s_->log("WriteFile", path + ", bytes=" + num(bytes.size()), "file " + path)) return platform::Status(platform::Error::DiskFull);
    if (File* f = file(path)) {
        // Replacing a file is refused when it is read-only, and also when it is
        // hidden or system (CREATE_ALWAYS without those attributes).
        const std::uint32_t refused = platform::FileAttr::ReadOnly | platform::FileAttr::Hidden |
                                      platform::FileAttr::System;
        if (f->directory || f->unwritable || (f->attributes & refused)) return platform::Status(platform::Error::AccessDenied);
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
        return platform::Status(platform::Error::DiskFull);
    }
    file(path)->bytes = bytes;
    return {};
}

platform::Status SimOs::fileAttributes(const std::string& path, std::uint32_t& attributes) {
    attributes = 0xFFFFFFFFu;  // INVALID_FILE_ATTRIBUTES
    if (s_->log("GetFileAttributesA", path, "file " + path)) return platform::Status(platform::Error::AccessDenied);
    const File* f = file(path);
    if (!f) return platform::Status(platform::Error::FileNotFound);
    attributes = f->attributes;
    return {};
}

platform::Status SimOs::moveFile(const std::string& from, const std::string& to, bool replace) {
    if (s_->log(replace ? "MoveFileExA" : "MoveFileA", from + " -> " + to, "file " + to)) return platform::Status(platform::Error::AccessDenied);
    if (replace && s_->family == Family::Win9x) return platform::Status(platform::Error::CallNotImplemented);  // only a stub there
    File* source = file(from);
    if (!source) return platform::Status(platform::Error::FileNotFound);
    // A file held open by someone (unwritable) cannot be renamed either.
    if (source->unwritable || source->refusesDelete) return platform::Status(platform::Error::AccessDenied);
    if (File* target = file(to)) {
        if (!replace) return platform::Status(platform::Error::AlreadyExists);
        if (target->directory || target->unwritable || target->refusesDelete ||
            (target->attributes & platform::FileAttr::ReadOnly))
            return platform::Status(platform::Error::AccessDenied);
    }
    File moved = *source;
    s_->files.erase(from);
    s_->files[to] = moved;
    return {};
}

}  // namespace sim
