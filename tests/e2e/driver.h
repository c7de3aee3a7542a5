// Drives the real Morvane.exe from outside, as a user would: through its
// windows and controls only. Every wait is bounded and fails with a message
// that says what was awaited.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace e2e {

struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

constexpr DWORD kWaitMs = 10000;   // default for any wait on the program
constexpr DWORD kStartMs = 20000;  // the first start in a fresh Wine session is slow

// GBK (code page 936) <-> UTF-16; the program's texts are GBK bytes, with
// GB18030's four bytes for a character 936 cannot hold.
std::string toGbk(const std::wstring& w);
std::wstring fromGbk(const std::string& s);

// "/a/b" -> "Z:\a\b"; a path that already has a drive is returned unchanged.
std::string hostToWinPath(const std::string& path);
// Environment variable as a Windows path; Failure when it is not set.
std::string envPath(const char* name);
bool envSet(const char* name);

// Whole files by Windows path (GBK). readFile and writeFile raise Failure;
// readFileIfAny gives nothing while the file cannot be opened, for polling.
std::optional<std::string> readFileIfAny(const std::string& winPath);
std::string readFile(const std::string& winPath);
void writeFile(const std::string& winPath, const std::string& bytes);
bool fileExists(const std::string& winPath);

// Polls cond every 20 ms until it is true or ms have passed.
template <class F>
bool waitFor(F cond, DWORD ms = kWaitMs) {
    DWORD start = GetTickCount();
    for (;;) {
        if (cond()) return true;
        if (GetTickCount() - start >= ms) return false;
        Sleep(20);
    }
}

// A text read from a window of another process (WM_GETTEXT via the W message).
std::string windowText(HWND h);
std::string className(HWND h);
// Sends a message with a timeout, so a hung program cannot hang the test.
LRESULT send(HWND h, UINT msg, WPARAM w = 0, LPARAM l = 0, DWORD ms = kWaitMs);
// True when the window's thread has handled everything sent before: a
// WM_NULL round trip.
bool answers(HWND h, DWORD ms = kWaitMs);

// A started process; ends it (if still running) when destroyed, unless it
// was only attached to.
class Process {
public:
    Process(HANDLE h, DWORD pid, bool owned = true) : h_(h), pid_(pid), owned_(owned) {}
    // A process this driver did not start (the program found by its window).
    static std::unique_ptr<Process> attach(DWORD pid);
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    DWORD pid() const { return pid_; }
    HANDLE handle() const { return h_; }
    bool running() const;
    bool waitExit(DWORD ms = kWaitMs) const;
    // STILL_ACTIVE (259) while running.
    DWORD exitCode() const;
    void kill();

private:
    HANDLE h_;
    DWORD pid_;
    bool owned_;
};

// A message box of the program (#32770 without a file-name field).
struct MsgBox {
    HWND hwnd = nullptr;
    std::string caption;
    std::string text;
    std::vector<int> buttons;  // ids of the buttons it has (IDOK, IDYES...)
    // Presses the button with this id; Failure when there is none.
    void press(int id) const;
};

// An open or save dialog of the program.
struct FileDialog {
    HWND hwnd = nullptr;
    std::string caption;
    // Types path (a Windows path) into the file-name field and presses OK.
    void accept(const std::string& path) const;
    void cancel() const;
};

// The main window of a running Morvane.exe.
class App {
public:
    App(Process& p, HWND main) : proc_(p), main_(main) {}

    HWND hwnd() const { return main_; }
    Process& process() { return proc_; }

    // A control found anywhere below the main window by its id (controls
    // sit inside tab pages, so GetDlgItem on the window is not enough).
    HWND control(int id) const;
    HWND findControl(int id, DWORD waitMs) const;
    bool hasControl(int id) const;

    std::string text(int id) const;
    // Puts text into an edit field as typing would end up (WM_SETTEXT, which
    // also tells the form through EN_CHANGE).
    void setText(int id, const std::string& text);
    // The notification icon's callback message with a mouse message
    // (WM_LBUTTONDOWN, WM_RBUTTONDOWN...), as Windows sends it; posted.
    void trayMessage(UINT mouseMsg);
    bool enabled(int id) const;
    bool visible(int id) const;
    // A check box's tick (BM_GETCHECK).
    bool ticked(int id) const;
    // The control of the program that has the keyboard focus, or nullptr.
    HWND focus() const;
    // A key pressed and released in a control, posted as the keyboard
    // would, so it goes through the program's message loop.
    void pressKey(int id, UINT vk);

    // BM_CLICK, waited for: the handler has finished when it returns.
    void click(int id);
    // BM_CLICK posted: for handlers that open a dialog or a message box.
    void clickAsync(int id);

    // List boxes (also check list boxes).
    int count(int id) const;
    std::string line(int id, int index) const;
    std::vector<std::string> lines(int id) const;
    // The index of the last line that reads `text`, once the list shows one
    // and holds still (a posted click's listing may still be under way), or
    // -1 when none shows within ms.
    int waitLine(int id, const std::string& text, DWORD ms = kWaitMs) const;
    int selected(int id) const;
    // Selects a line and tells the form, as a user's click would.
    void select(int id, int index);
    // Check list boxes keep 1 in a line's item data when it is checked.
    bool checked(int id, int index) const;
    // Toggles a line's check box with the space key on that line.
    void toggleCheck(int id, int index);

    // List views in report style: rows, cells (column 0 is the caption)
    // and the selected row (-1 for none).
    int rowCount(int id) const;
    std::string cell(int id, int row, int column) const;
    std::vector<std::string> column(int id, int column) const;
    int selectedRow(int id) const;
    // Clicks a row (scrolled into view first), so the form sees the click.
    void selectRow(int id, int row);

    // Tab controls (page controls).
    int tabCount(int id) const;
    int currentTab(int id) const;
    std::vector<std::string> tabCaptions(int id) const;
    // A report list view's column captions.
    std::vector<std::string> columnCaptions(int id) const;
    // The texts of every tool of the program's tooltip windows (the hints).
    std::vector<std::string> hints() const;
    // Selects a page by a mouse click on its tab (scrolled into the strip
    // first), so the form sees the change.
    void selectTab(int id, int index);

    // Waits for a message box / file dialog of the program to appear.
    MsgBox waitMessageBox(DWORD ms = kWaitMs) const;
    FileDialog waitFileDialog(DWORD ms = kWaitMs) const;
    // Any dialog (#32770) of the program now showing, or nullptr.
    HWND dialog() const;
    // The popup menu (#32768) of the program now showing, or nullptr.
    HWND popupMenu() const;

    // Waits until the program has handled what was posted to it so far.
    void sync() const;

private:
    Process& proc_;
    HWND main_;
};

// One test's world: a fresh directory with private copies of the program
// and the helpers, and everything started from it, ended at destruction.
class Session {
public:
    Session();
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    const std::string& dir() const { return dir_; }

    // Copies MORVANE_EXE into dir() (once), starts it and waits for its
    // main window to be visible and answering (or only to exist and answer,
    // for a start that hides the window).
    // In a folder below dir() when one is named.
    App& startApp(DWORD ms = kStartMs, bool visible = true, const std::string& folder = {});
    // Starts the helper (MORVANE_HELPER) copied as dir()\name, with args.
    Process& startHelper(const std::string& name, const std::string& args = "");
    // Starts any program (a Windows path) with args.
    Process& start(const std::string& exe, const std::string& args = "");

    static bool haveHelper() { return envSet("MORVANE_HELPER"); }

private:
    std::string dir_;
    std::vector<std::unique_ptr<Process>> procs_;
    std::vector<std::unique_ptr<App>> apps_;
};

// True when a Toolhelp process snapshot lists pid.
bool processListed(DWORD pid);

// Finds the (visible) top-level window of pid with this (GBK) caption.
HWND findTopWindow(DWORD pid, const std::string& caption, bool visible = true);
// Waits for it to exist, be visible and answer messages; Failure on timeout.
HWND waitTopWindow(DWORD pid, const std::string& caption, DWORD ms = kStartMs);

extern const char* const kCaption;

// The Windows version Wine reports to Morvane.exe in this run, as Wine names
// it (win95, win98, winme, nt40, win2k, winxp, winxp64, win10), from
// MORVANE_WINE_VERSION; empty for Wine's own default.
const std::string& wineVersion();
// True when the program is told it runs on Windows 95, 98 or Me.
bool nineXFamily();
// While it lives, every start of Morvane.exe is told this version instead.
class ReportedVersion {
public:
    explicit ReportedVersion(const std::string& version);
    ~ReportedVersion();
    ReportedVersion(const ReportedVersion&) = delete;
    ReportedVersion& operator=(const ReportedVersion&) = delete;

private:
    std::string previous_;
};

// The registry of the Wine prefix the program runs in. Key paths are below
// root; a missing value reads as nullopt.
void setRegValue(HKEY root, const std::string& key, const std::string& name, DWORD type,
                 const std::string& data);
void setRegString(HKEY root, const std::string& key, const std::string& name, const std::string& text);
std::optional<std::string> regString(HKEY root, const std::string& key, const std::string& name);
void deleteRegValue(HKEY root, const std::string& key, const std::string& name);
void deleteRegKey(HKEY root, const std::string& key);  // "Morvane进程管理器" in GBK

}  // namespace e2e
