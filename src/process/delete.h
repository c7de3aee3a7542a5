// Deleting a program's file while it runs: end what runs from it, delete,
// and try again until the file is gone, within a bound.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "platform/os.h"

namespace process {

// Attempts before giving up, and the pause between two of them: a program
// that was just ended lets go of its file within a moment, while a file
// that can never be deleted must not keep the window busy for ever.
inline constexpr int kDeleteAttempts = 20;
inline constexpr std::int32_t kDeletePauseMs = 100;

// One attempt: no file at path, done; else archive-only attributes, end every
// process reported under path, DeleteFileA. Repeated, with `pause` between
// attempts. True when no file is left at path. A look for the file that
// fails raises platform::OsError rather than taking the file for gone.
bool deleteProgramFile(platform::Os& os, const std::string& path,
                       const std::function<void(std::int32_t ms)>& pause,
                       int attempts = kDeleteAttempts);

inline constexpr char kDeleteQuestion[] = "您当真要删除吗？";
inline constexpr char kDeleteDialogTitle[] = "请指定您要删除的文件";

}  // namespace process
