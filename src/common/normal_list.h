// The list of programs the user regards as normal, the marker that hides their
// lines, and the list files it is kept in.
#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/os.h"

namespace common {

// Written over a process line in place, never inserted, so line N stays
// paired with snapshot entry N.
inline constexpr char kNormalMarker[] = "********正****常****程****序********";
static_assert(sizeof(kNormalMarker) - 1 == 36, "the marker is 36 GBK bytes");

inline constexpr char kNormalListFileName[] = "Napplst.dat";
inline constexpr const char* kUnloadedListQuestion =
    "启动时未能载入正常程序列表文件 Napplst.dat，其中的内容不在当前列表中。\r\n"
    "是否用当前列表替换该文件？";
inline constexpr char kAlreadyListedText[] = "该项已存在于正常程序列表中！";
inline constexpr char kAlreadyListedCaption[] = "提示";
inline constexpr char kClearQuestion[] = "您当真要清空正常程序列表吗？";
inline constexpr char kAddDialogTitle[] = "添加正常程序";

bool isNormalMarker(std::string_view line);

// Lines equal byte for byte to some entry (no case folding, no reduction of a
// path to its file name); these are the ones to overwrite with the marker.
std::vector<std::size_t> linesToMark(const std::vector<std::string>& lines,
                                     const std::vector<std::string>& normalList);

// Adding the selected process line to the list.
struct AddFromLine {
    enum Outcome { Nothing, AlreadyListed, Added } outcome = Nothing;
    std::string entry;  // the upper-cased line, when Added
};
// line: the selected line, none when no line is selected.
AddFromLine addFromLine(const std::optional<std::string>& line,
                        const std::vector<std::string>& normalList);

// Adding a program file chosen in the dialog: the upper-cased path, or nothing
// when it is already listed (refused without a message).
std::optional<std::string> entryFromPath(const std::string& path,
                                         const std::vector<std::string>& normalList);

// Napplst.dat beside the executable. Loading: nothing when the file is
// missing (no error, the list is left as it is); an empty file gives an empty
// list. An unreadable file, or one whose presence cannot be checked, raises
// platform::OsError before anything changes.
std::string normalListPath(const std::string& appDir);
// Whether a list is stored: Napplst.dat, or the copy a save cut short on
// Windows 95 to Me left aside (which the next load reads). OsError when
// that cannot be told.
bool normalListStored(platform::Os& os, const std::string& appDir);
std::optional<std::vector<std::string>> loadNormalList(platform::Os& os, const std::string& appDir);
void saveNormalList(platform::Os& os, const std::string& appDir,
                    const std::vector<std::string>& entries);

}  // namespace common
