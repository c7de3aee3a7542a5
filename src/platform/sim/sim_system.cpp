// Version, own path, shell execute, notification icons, cursor and power.
#include "platform/sim/sim_state.h"

#include <utility>

#include <algorithm>

namespace sim {

namespace {

constexpr std::size_t kMaxTip = 63;

}  // namespace

void SimOs::setVersionFails(bool fails) { s_->versionFails = fails; }
void SimOs::setTrayAvailable(bool available) { s_->tray = available; }
void SimOs::setShellExecuteResult(std::intptr_t result) { s_->shellResult = result; }
void SimOs::setExePath(const std::string& path) { s_->exePath = path; }
void SimOs::setCursorPos(platform::Point p) { s_->cursor = p; }
std::vector<platform::NotifyIconData> SimOs::trayIcons() const { return s_->tray_icons; }
std::vector<std::string> SimOs::shellExecutes() const { return s_->shellExecutes; }
std::vector<std::uint32_t> SimOs::exitWindowsCalls() const { return s_->exitWindows; }

// --- platform::Os ----------------------------------------------------------------

platform::Status SimOs::getVersionEx(platform::VersionInfo& info) {
    if (s_->log("GetVersionExA", "size=" + num(info.size))) return platform::ERROR_GEN_FAILURE;
    if (s_->versionFails || (info.size != platform::kVersionInfoSize && info.size != 156))
        return 122;  // ERROR_INSUFFICIENT_BUFFER: a size it does not know
    if (s_->family == Family::NT) {
        info.major = 5, info.minor = 1, info.build = 2600;
        info.platformId = platform::VER_PLATFORM_WIN32_NT;
        info.csdVersion = "Service Pack 3";
    } else {
        info.major = 4, info.minor = 10, info.build = 0x040A08AE;  // 98 SE: 4.10.2222
        info.platformId = platform::VER_PLATFORM_WIN32_WINDOWS;
        info.csdVersion = " A ";
    }
    return {};
}

platform::Status SimOs::shellExecute(platform::Hwnd wnd, const std::string& verb, const std::string& file,
                                     const std::string& params, const std::string& dir, int show) {
    std::string rec = verb + "|" + file + "|" + params + "|" + dir + "|" + std::to_string(show);
    if (s_->log("ShellExecuteA", "hwnd=" + hex(wnd) + ", " + rec)) return platform::ERROR_FILE_NOT_FOUND;
    s_->shellExecutes.push_back(rec);
    return platform::shellExecuteStatus(s_->shellResult);
}

platform::Status SimOs::exePath(std::string& path) {
    s_->log("GetModuleFileNameA", "");
    path = s_->exePath;
    return {};
}

platform::Status SimOs::shellNotifyIcon(std::uint32_t message, const platform::NotifyIconData& data) {
    if (s_->log("Shell_NotifyIconA", "message=" + num(message) + ", hwnd=" + hex(data.wnd) +
                                         ", id=" + num(data.id)))
        return platform::ERROR_TIMEOUT;  // the shell did not answer in time
    if (!s_->tray) return platform::ERROR_PROC_NOT_FOUND;
    auto& icons = s_->tray_icons;
    auto it = std::find_if(icons.begin(), icons.end(), [&](const platform::NotifyIconData& d) {
        return d.wnd == data.wnd && d.id == data.id;
    });
    platform::NotifyIconData kept = data;
    kept.tip = kept.tip.substr(0, kMaxTip);
    switch (message) {
    case platform::NIM_ADD:
        if (it != icons.end()) return platform::ERROR_GEN_FAILURE;
        icons.push_back(kept);
        return {};
    case platform::NIM_MODIFY:
        if (it == icons.end()) return platform::ERROR_GEN_FAILURE;
        if (data.flags & platform::NIF_MESSAGE) it->callbackMessage = kept.callbackMessage;
        if (data.flags & platform::NIF_ICON) it->icon = kept.icon;
        if (data.flags & platform::NIF_TIP) it->tip = kept.tip;
        it->flags |= data.flags;
        return {};
    case platform::NIM_DELETE:
        if (it == icons.end()) return platform::ERROR_GEN_FAILURE;
        icons.erase(it);
        return {};
    }
    return platform::ERROR_GEN_FAILURE;
}

platform::Status SimOs::getCursorPos(platform::Point& p) {
    if (s_->log("GetCursorPos", "")) return platform::ERROR_ACCESS_DENIED;
    p = s_->cursor;
    return {};
}

platform::Status SimOs::exitWindowsEx(std::uint32_t flags, std::uint32_t reserved) {
    std::uint32_t failure = std::exchange(s_->exitWindowsFailure, 0);
    if (s_->log("ExitWindowsEx", "flags=" + num(flags) + ", reserved=" + num(reserved)))
        failure = platform::ERROR_PRIVILEGE_NOT_HELD;
    if (!failure && s_->family == Family::NT && flags != platform::EWX_LOGOFF && !s_->shutdownPrivilege)
        failure = platform::ERROR_PRIVILEGE_NOT_HELD;
    if (failure) return failure;
    s_->exitWindows.push_back(flags);
    return {};
}

platform::Status SimOs::enableShutdownPrivilege() {
    if (s_->log("AdjustTokenPrivileges", "SeShutdownPrivilege")) return platform::ERROR_ACCESS_DENIED;
    s_->shutdownPrivilege = true;
    return {};
}

// The wording of the few codes whose text the tests read.
std::string SimOs::systemText(std::uint32_t code) {
    switch (code) {
    case platform::ERROR_SHARING_VIOLATION: return "sharing violation";
    case platform::ERROR_PRIVILEGE_NOT_HELD: return "A required privilege is not held by the client.";
    default: return {};
    }
}

void SimOs::failExitWindows(std::uint32_t code) { s_->exitWindowsFailure = code; }

bool SimOs::shutdownPrivilege() const { return s_->shutdownPrivilege; }

}  // namespace sim
