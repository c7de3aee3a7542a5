// The rules of the restriction page and its loop-clear pass, apart from the
// controls that hold their inputs.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

namespace restriction {

// The frame's caption is the mode's only record.
inline constexpr char kAllowCaption[] = "允许运行程序列表";
inline constexpr char kForbidCaption[] = "禁止运行程序列表";
inline constexpr char kAddAllowedTitle[] = "添加允许运行程序";
inline constexpr char kAddForbiddenTitle[] = "添加禁止运行程序";
inline constexpr char kClearQuestion[] = "您当真要清空列表吗？";
inline constexpr char kUnfilledText[] =
    "启动时未能列出正在运行的程序，允许运行程序列表未填入，循环清除暂不结束任何程序。"
    "请按“添加所有进程”或“载入列表”，或刷新进程列表。";

enum class Mode { Allow, Forbid, None };
Mode modeOf(const std::string& caption);

// The line a chosen program file adds: upper-cased; on NT its file-name part.
std::string entryFromChosenPath(const std::string& path, bool isWindowsNT);

// The snapshot positions a pass ends. A name is listed when some line equals
// it byte for byte; allow-mode ends the unlisted, forbid-mode the listed.
// Linear: the lines are hashed once.
std::vector<std::size_t> positionsToEnd(Mode mode, const std::vector<std::string>& processNames,
                                        const std::vector<std::string>& lines);

}  // namespace restriction
