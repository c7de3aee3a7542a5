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
    if (s_->log("GetVersionExA", "size=" + num(info.size))) return platform::Status(platform::Error::GeneralFailure);
    if (s_->versionFails || (info.size != platform::kVersionInfoSize && info.size != 156))
        return platform::Status(122);  // ERROR_INSUFFICIENT_BUFFER: a size it does not know
    if (s_->family == Family::NT) {
        info.major = 5, info.minor = 1, info.build = 2600;
        info.platformId = platform::PlatformId::NT;
        info.csdVersion = "Service Pack 3";
    } else {
        info.major = 4, info.minor = 10, info.build = 0x040A08AE;  // 98 SE: 4.10.2222
        info.platformId = platform::PlatformId::Windows9x;
        info.csdVersion = " A ";
    }
    return {};
}

platform::Status SimOs::shellExecute(platform::Hwnd wnd, const std::string& verb, const std::string& file,
                                     const std::string& params, const std::string& dir, int show) {
    std::string rec = verb + "|" + file + "|" + params + "|" + dir + "|" + std::to_string(show);
    if (s_->log("ShellExecuteA", "hwnd=" + hex(wnd) + ", " + rec)) return platform::Status(platform::Error::FileNotFound);
    s_->shellExecutes.push_back(rec);
    return platform::shellExecuteStatus(s_->shellResult);
}

platform::Result<std::string> SimOs::exePath() {
    s_->log("GetModuleFileNameA", "");
    // As the real layer: no buffer holds a path of 32767 bytes or more.
    if (s_->exePath.size() >= 32767)
        return platform::Result<std::string>(platform::Status(platform::Error::BadPathname));
    return s_->exePath;
}

platform::Status SimOs::shellNotifyIcon(std::uint32_t message, const platform::NotifyIconData& data) {
    if (s_->log("Shell_NotifyIconA", "message=" + num(message) + ", hwnd=" + hex(data.wnd) +
                                         ", id=" + num(data.id)))
        return platform::Status(platform::Error::Timeout);  // the shell did not answer in time
    if (!s_->tray) return platform::Status(platform::Error::ProcNotFound);
    auto& icons = s_->tray_icons;
    auto it = std::find_if(icons.begin(), icons.end(), [&](const platform::NotifyIconData& d) {
        return d.wnd == data.wnd && d.id == data.id;
    });
    platform::NotifyIconData kept = data;
    kept.tip = kept.tip.substr(0, kMaxTip);
    switch (message) {
    case platform::TrayMessage::Add:
        if (it != icons.end()) return platform::Status(platform::Error::GeneralFailure);
        icons.push_back(kept);
        return {};
    case platform::TrayMessage::Modify:
        if (it == icons.end()) return platform::Status(platform::Error::GeneralFailure);
        if (data.flags & platform::TrayFlag::Message) it->callbackMessage = kept.callbackMessage;
        if (data.flags & platform::TrayFlag::Icon) it->icon = kept.icon;
        if (data.flags & platform::TrayFlag::Tip) it->tip = kept.tip;
        it->flags |= data.flags;
        return {};
    case platform::TrayMessage::Delete:
        if (it == icons.end()) return platform::Status(platform::Error::GeneralFailure);
        icons.erase(it);
        return {};
    }
    return platform::Status(platform::Error::GeneralFailure);
}

platform::Status SimOs::getCursorPos(platform::Point& p) {
    if (s_->log("GetCursorPos", "")) return platform::Status(platform::Error::AccessDenied);
    p = s_->cursor;
    return {};
}

platform::Status SimOs::exitWindowsEx(std::uint32_t flags, std::uint32_t reserved) {
    std::uint32_t failure = std::exchange(s_->exitWindowsFailure, 0);
    if (s_->log("ExitWindowsEx", "flags=" + num(flags) + ", reserved=" + num(reserved)))
        failure = platform::Error::PrivilegeNotHeld;
    if (!failure && s_->family == Family::NT && flags != platform::ExitWindows::LogOff && !s_->shutdownPrivilege)
        failure = platform::Error::PrivilegeNotHeld;
    if (failure) return platform::Status(failure);
    s_->exitWindows.push_back(flags);
    return {};
}

platform::Status SimOs::enableShutdownPrivilege() {
    if (s_->log("AdjustTokenPrivileges", "SeShutdownPrivilege")) return platform::Status(platform::Error::AccessDenied);
    s_->shutdownPrivilege = true;
    return {};
}

// The wording of the few codes whose text the tests read.
std::string SimOs::systemText(std::uint32_t code) {
    switch (code) {
    case platform::Error::SharingViolation: return "sharing violation";
    case platform::Error::PrivilegeNotHeld: return "A required privilege is not held by the client.";
    default: return {};
    }
}

void SimOs::failExitWindows(std::uint32_t code) { s_->exitWindowsFailure = code; }

bool SimOs::shutdownPrivilege() const { return s_->shutdownPrivilege; }

}  // namespace sim
