// The real machine behind platform::Os: nothing imported that Windows 95, 98
// or NT 4 lacks. The NT family is asked in UTF-16 (platform/win32/wide.h).
#pragma once
#include <memory>

#include "platform/os.h"

namespace platform {

class Win32Os : public platform::Os {
public:
    Win32Os();
    ~Win32Os() override;
    Win32Os(const Win32Os&) = delete;
    Win32Os& operator=(const Win32Os&) = delete;

    bool toolhelpAvailable() override;
    platform::Status createToolhelp32Snapshot(std::uint32_t flags, std::uint32_t processId,
                                              platform::Handle& snapshot) override;
    platform::Status process32First(platform::Handle snapshot, platform::ProcessEntry& entry) override;
    platform::Status process32Next(platform::Handle snapshot, platform::ProcessEntry& entry) override;
    platform::Status module32First(platform::Handle snapshot, platform::ModuleEntry& entry) override;

    platform::Status openProcess(std::uint32_t access, bool inherit, std::uint32_t processId,
                                 platform::Handle& process) override;
    platform::Status getExitCodeProcess(platform::Handle process, std::uint32_t& code) override;
    platform::Status terminateProcess(platform::Handle process, std::uint32_t exitCode) override;
    platform::Status closeHandle(platform::Handle h) override;

    platform::Status fileExists(const std::string& path, bool& exists) override;
    platform::Status setFileAttributes(const std::string& path, std::uint32_t attributes) override;
    platform::Status deleteFile(const std::string& path) override;
    platform::Status readFile(const std::string& path, std::string& bytes) override;
    platform::Status writeFile(const std::string& path, const std::string& bytes) override;
    platform::Status fileAttributes(const std::string& path, std::uint32_t& attributes) override;
    platform::Status moveFile(const std::string& from, const std::string& to, bool replace) override;

    platform::Status getWindow(platform::Hwnd wnd, std::uint32_t cmd, platform::Hwnd& found) override;
    int getWindowText(platform::Hwnd wnd, std::string& text) override;
    platform::Hwnd findWindow(const char* className, const char* windowName) override;
    platform::Status sendClose(platform::Hwnd wnd, std::uint32_t timeoutMs) override;
    platform::Status postQuit(platform::Hwnd wnd) override;

    platform::Status regOpenKeyEx(platform::HKey root, const std::string& subKey,
                                  std::uint32_t access, platform::HKey& key) override;
    platform::Status regCreateKeyEx(platform::HKey root, const std::string& subKey,
                                    std::uint32_t access, platform::HKey& key) override;
    platform::Status regCloseKey(platform::HKey key) override;
    platform::Status regQueryValueEx(platform::HKey key, const std::string& name,
                                     platform::RegValue& value) override;
    platform::Status regSetValueEx(platform::HKey key, const std::string& name,
                                   const platform::RegValue& value) override;
    platform::Status regDeleteValue(platform::HKey key, const std::string& name) override;
    platform::Status regEnumValue(platform::HKey key, std::uint32_t index, std::string& name) override;
    platform::Status regQueryInfoKey(platform::HKey key, platform::RegKeyInfo& info) override;
    platform::Status regDeleteKey(platform::HKey root, const std::string& subKey) override;

    platform::Status getVersionEx(platform::VersionInfo& info) override;
    std::uint32_t getTickCount() override;
    platform::Status shellExecute(platform::Hwnd wnd, const std::string& verb,
                                  const std::string& file, const std::string& params,
                                  const std::string& dir, int show) override;
    platform::Result<std::string> exePath() override;
    platform::Status shellNotifyIcon(std::uint32_t message, const platform::NotifyIconData& data) override;
    platform::Status getCursorPos(platform::Point& p) override;
    platform::Status exitWindowsEx(std::uint32_t flags, std::uint32_t reserved) override;
    platform::Status enableShutdownPrivilege() override;
    std::string systemText(std::uint32_t code) override;

    struct Toolhelp;

private:
    Toolhelp& toolhelp();
    std::unique_ptr<Toolhelp> th_;
};

}  // namespace platform
