// The real machine behind platform::Os: ANSI Win32 calls only, nothing that
// Windows 95, 98 or NT 4 lacks.
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
    platform::Handle createToolhelp32Snapshot(std::uint32_t flags, std::uint32_t processId) override;
    bool process32First(platform::Handle snapshot, platform::ProcessEntry& entry) override;
    bool process32Next(platform::Handle snapshot, platform::ProcessEntry& entry) override;
    bool module32First(platform::Handle snapshot, platform::ModuleEntry& entry) override;

    platform::Handle openProcess(std::uint32_t access, bool inherit, std::uint32_t processId) override;
    bool getExitCodeProcess(platform::Handle process, std::uint32_t& code) override;
    std::int32_t terminateProcess(platform::Handle process, std::uint32_t exitCode) override;
    bool closeHandle(platform::Handle h) override;

    bool fileExists(const std::string& path) override;
    bool setFileAttributes(const std::string& path, std::uint32_t attributes) override;
    bool deleteFile(const std::string& path) override;
    std::string readFile(const std::string& path) override;
    void writeFile(const std::string& path, const std::string& bytes) override;
    std::uint32_t fileAttributes(const std::string& path) override;
    bool moveFile(const std::string& from, const std::string& to, bool replace) override;

    platform::Hwnd getWindow(platform::Hwnd wnd, std::uint32_t cmd) override;
    int getWindowText(platform::Hwnd wnd, std::string& text) override;
    platform::Hwnd findWindow(const char* className, const char* windowName) override;
    platform::SendResult sendClose(platform::Hwnd wnd, std::uint32_t timeoutMs) override;
    bool postQuit(platform::Hwnd wnd) override;

    long regOpenKeyEx(platform::HKey root, const std::string& subKey, std::uint32_t access,
                      platform::HKey& key) override;
    long regCreateKeyEx(platform::HKey root, const std::string& subKey, std::uint32_t access,
                        platform::HKey& key) override;
    long regCloseKey(platform::HKey key) override;
    long regQueryValueEx(platform::HKey key, const std::string& name, platform::RegValue& value) override;
    long regSetValueEx(platform::HKey key, const std::string& name, const platform::RegValue& value) override;
    long regDeleteValue(platform::HKey key, const std::string& name) override;
    long regEnumValue(platform::HKey key, std::uint32_t index, std::string& name) override;
    long regQueryInfoKey(platform::HKey key, platform::RegKeyInfo& info) override;
    long regDeleteKey(platform::HKey root, const std::string& subKey) override;

    bool getVersionEx(platform::VersionInfo& info) override;
    std::uint32_t getTickCount() override;
    std::intptr_t shellExecute(platform::Hwnd wnd, const std::string& verb, const std::string& file,
                               const std::string& params, const std::string& dir,
                               int show) override;
    std::string exePath() override;
    bool shellNotifyIcon(std::uint32_t message, const platform::NotifyIconData& data) override;
    bool getCursorPos(platform::Point& p) override;
    void exitWindowsEx(std::uint32_t flags, std::uint32_t reserved) override;
    bool enableShutdownPrivilege() override;

    // Largest file readFile accepts; bigger ones are refused with a clear error
    // rather than exhausting memory.
    static constexpr std::uint32_t kMaxReadBytes = 64u * 1024 * 1024;

private:
    struct Toolhelp;
    Toolhelp& toolhelp();
    std::unique_ptr<Toolhelp> th_;
};

// The text the standard error box shows for a failed file operation with this
// system error code.
std::string fileErrorText(std::uint32_t code);

}  // namespace platform
