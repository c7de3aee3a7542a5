#include "e2e/driver.h"

#include <commctrl.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>

#include "platform/win32/wide.h"

namespace e2e {

const char* const kCaption = "Morvane进程管理器";

namespace {

std::string fmt(const char* f, ...) __attribute__((format(printf, 1, 2)));
std::string fmt(const char* f, ...) {
    char buf[1024];
    va_list ap;
    va_start(ap, f);
    vsnprintf(buf, sizeof buf, f, ap);
    va_end(ap);
    return buf;
}

// A block of memory inside the program, for the messages whose arguments
// are pointers that are not marshalled across processes (the TCM_* ones).
class RemoteBuffer {
public:
    RemoteBuffer(HANDLE proc, size_t size) : proc_(proc), size_(size) {
        mem_ = VirtualAllocEx(proc, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
        if (!mem_) throw Failure(fmt("VirtualAllocEx failed (error %lu)", GetLastError()));
    }
    ~RemoteBuffer() { VirtualFreeEx(proc_, mem_, 0, MEM_RELEASE); }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    char* addr() const { return static_cast<char*>(mem_); }
    void write(size_t off, const void* data, size_t n) const {
        SIZE_T done = 0;
        if (off + n > size_ || !WriteProcessMemory(proc_, addr() + off, data, n, &done) || done != n)
            throw Failure("WriteProcessMemory failed");
    }
    void read(size_t off, void* data, size_t n) const {
        SIZE_T done = 0;
        if (off + n > size_ || !ReadProcessMemory(proc_, addr() + off, data, n, &done) || done != n)
            throw Failure("ReadProcessMemory failed");
    }

private:
    HANDLE proc_;
    size_t size_;
    void* mem_;
};

struct FindCtl {
    int id;
    HWND found;
};

BOOL CALLBACK findCtlProc(HWND h, LPARAM lp) {
    auto* f = reinterpret_cast<FindCtl*>(lp);
    if (GetDlgCtrlID(h) == f->id) {
        f->found = h;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK collectProc(HWND h, LPARAM lp) {
    reinterpret_cast<std::vector<HWND>*>(lp)->push_back(h);
    return TRUE;
}

std::vector<HWND> children(HWND parent) {
    std::vector<HWND> out;
    EnumChildWindows(parent, collectProc, reinterpret_cast<LPARAM>(&out));
    return out;
}

std::vector<HWND> topWindowsOf(DWORD pid) {
    std::vector<HWND> all, out;
    EnumWindows(collectProc, reinterpret_cast<LPARAM>(&all));
    for (HWND h : all) {
        DWORD p = 0;
        GetWindowThreadProcessId(h, &p);
        if (p == pid) out.push_back(h);
    }
    return out;
}

// The file-name field of an open/save dialog: edt1, or the edit inside cmb13.
HWND fileNameField(HWND dlg) {
    HWND edt = GetDlgItem(dlg, 0x480);
    if (edt && className(edt) == "Edit") return edt;
    HWND cmb = GetDlgItem(dlg, 0x47c);
    if (cmb) {
        for (HWND c : children(cmb))
            if (className(c) == "Edit") return c;
    }
    return nullptr;
}

std::wstring widen(const std::string& s) { return fromGbk(s); }

void postCommand(HWND dlg, int id) {
    PostMessageW(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dlg, id)));
}

void removeTree(const std::wstring& dir) {
    WIN32_FIND_DATAW fd;
    HANDLE f = FindFirstFileW((dir + L"\\*").c_str(), &fd);
    if (f != INVALID_HANDLE_VALUE) {
        do {
            std::wstring n = fd.cFileName;
            if (n == L"." || n == L"..") continue;
            std::wstring p = dir + L"\\" + n;
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                removeTree(p);
            } else {
                SetFileAttributesW(p.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(p.c_str());
            }
        } while (FindNextFileW(f, &fd));
        FindClose(f);
    }
    RemoveDirectoryW(dir.c_str());
}

}  // namespace

// ---- text -------------------------------------------------------------------

// The program's own conversion: a name no code page holds keeps its
// GB18030 four bytes, so it is told from every other name here too.
std::string toGbk(const std::wstring& w) { return platform::wide::narrow(w.data(), w.size()); }

std::wstring fromGbk(const std::string& s) {
    const platform::wide::Arg w(s, true);
    return std::wstring(static_cast<const wchar_t*>(w.get()), static_cast<std::size_t>(w.length()));
}

std::string hostToWinPath(const std::string& path) {
    if (path.empty() || path[0] != '/') return path;
    std::string out = "Z:" + path;
    for (char& c : out)
        if (c == '/') c = '\\';
    return out;
}

bool envSet(const char* name) {
    char buf[4];
    return GetEnvironmentVariableA(name, buf, sizeof buf) > 0;
}

bool fileExists(const std::string& winPath) {
    return GetFileAttributesW(fromGbk(winPath).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::optional<std::string> readFileIfAny(const std::string& winPath) {
    HANDLE f = CreateFileW(fromGbk(winPath).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return std::nullopt;
    std::string out;
    char buf[4096];
    DWORD got = 0;
    while (ReadFile(f, buf, sizeof buf, &got, nullptr) && got > 0) out.append(buf, got);
    CloseHandle(f);
    return out;
}

std::string readFile(const std::string& winPath) {
    if (auto bytes = readFileIfAny(winPath)) return *bytes;
    throw Failure("cannot read " + winPath);
}

void writeFile(const std::string& winPath, const std::string& bytes) {
    HANDLE f = CreateFileW(fromGbk(winPath).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) throw Failure("cannot write " + winPath);
    DWORD done = 0;
    const BOOL ok = WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr);
    CloseHandle(f);
    if (!ok || done != bytes.size()) throw Failure("cannot write " + winPath);
}

std::string envPath(const char* name) {
    char buf[MAX_PATH * 2];
    DWORD n = GetEnvironmentVariableA(name, buf, sizeof buf);
    if (n == 0 || n >= sizeof buf) throw Failure(fmt("environment variable %s is not set", name));
    return hostToWinPath(buf);
}

// ---- windows ----------------------------------------------------------------

LRESULT send(HWND h, UINT msg, WPARAM w, LPARAM l, DWORD ms) {
    DWORD_PTR res = 0;
    if (!SendMessageTimeoutW(h, msg, w, l, SMTO_NORMAL, ms, &res))
        throw Failure(fmt("window %p did not answer message 0x%04x within %lu ms", (void*)h, msg, ms));
    return static_cast<LRESULT>(res);
}

bool answers(HWND h, DWORD ms) {
    DWORD_PTR res = 0;
    return SendMessageTimeoutW(h, WM_NULL, 0, 0, SMTO_NORMAL, ms, &res) != 0;
}

std::string windowText(HWND h) {
    LRESULT n = send(h, WM_GETTEXTLENGTH);
    std::wstring w(static_cast<size_t>(n) + 1, L'\0');
    LRESULT got = send(h, WM_GETTEXT, w.size(), reinterpret_cast<LPARAM>(w.data()));
    w.resize(static_cast<size_t>(got));
    return toGbk(w);
}

std::string className(HWND h) {
    wchar_t buf[256];
    int n = GetClassNameW(h, buf, 256);
    return toGbk(std::wstring(buf, n > 0 ? n : 0));
}

HWND findTopWindow(DWORD pid, const std::string& caption, bool visible) {
    for (HWND h : topWindowsOf(pid)) {
        if (visible && !IsWindowVisible(h)) continue;
        wchar_t buf[256];
        int n = GetWindowTextW(h, buf, 256);
        if (toGbk(std::wstring(buf, n > 0 ? n : 0)) == caption) return h;
    }
    return nullptr;
}

HWND waitTopWindow(DWORD pid, const std::string& caption, DWORD ms) {
    HWND found = nullptr;
    bool ok = waitFor([&] {
        found = findTopWindow(pid, caption);
        return found && answers(found, 500);
    }, ms);
    if (!ok) throw Failure(fmt("no visible, answering window \"%s\" of process %lu within %lu ms", caption.c_str(), pid, ms));
    return found;
}

// ---- processes --------------------------------------------------------------

Process::~Process() {
    if (owned_) kill();
    CloseHandle(h_);
}

std::unique_ptr<Process> Process::attach(DWORD pid) {
    HANDLE h = OpenProcess(PROCESS_ALL_ACCESS, FALSE, pid);
    if (!h) throw Failure(fmt("cannot open process %lu (error %lu)", pid, GetLastError()));
    return std::make_unique<Process>(h, pid, false);
}

bool Process::running() const { return WaitForSingleObject(h_, 0) == WAIT_TIMEOUT; }

bool Process::waitExit(DWORD ms) const { return WaitForSingleObject(h_, ms) == WAIT_OBJECT_0; }

DWORD Process::exitCode() const {
    DWORD code = 0;
    if (!GetExitCodeProcess(h_, &code)) throw Failure("GetExitCodeProcess failed");
    return code;
}

void Process::kill() {
    if (running()) {
        TerminateProcess(h_, 1);
        WaitForSingleObject(h_, 5000);
    }
}

bool processListed(DWORD pid) {
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snap == INVALID_HANDLE_VALUE) return false;
    PROCESSENTRY32W e = {};
    e.dwSize = sizeof e;
    bool found = false;
    for (BOOL ok = Process32FirstW(snap, &e); ok && !found; ok = Process32NextW(snap, &e))
        found = e.th32ProcessID == pid;
    CloseHandle(snap);
    return found;
}

// ---- dialogs ----------------------------------------------------------------

void MsgBox::press(int id) const {
    if (!GetDlgItem(hwnd, id)) throw Failure(fmt("message box \"%s\" has no button %d", caption.c_str(), id));
    postCommand(hwnd, id);
    if (!waitFor([&] { return !IsWindow(hwnd) || !IsWindowVisible(hwnd); }))
        throw Failure(fmt("message box \"%s\" did not close after button %d", caption.c_str(), id));
}

void FileDialog::accept(const std::string& path) const {
    HWND edit = fileNameField(hwnd);
    if (!edit) throw Failure("file dialog has no file-name field");
    std::wstring w = widen(path);
    send(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(w.c_str()));
    postCommand(hwnd, IDOK);
}

void FileDialog::cancel() const {
    postCommand(hwnd, IDCANCEL);
    if (!waitFor([&] { return !IsWindow(hwnd) || !IsWindowVisible(hwnd); }))
        throw Failure("file dialog did not close after Cancel");
}

// ---- the main window --------------------------------------------------------

// The program makes the windows of pages not shown at start while it waits
// for input, so a control may come a moment after the window answers.
bool App::hasControl(int id) const { return findControl(id, 3000) != nullptr; }

HWND App::findControl(int id, DWORD waitMs) const {
    const DWORD start = GetTickCount();
    for (;;) {
        FindCtl f{id, nullptr};
        EnumChildWindows(main_, findCtlProc, reinterpret_cast<LPARAM>(&f));
        if (f.found || GetTickCount() - start >= waitMs) return f.found;
        Sleep(5);
    }
}

HWND App::control(int id) const {
    HWND h = findControl(id, 3000);
    if (!h) throw Failure(fmt("the main window has no control with id %d", id));
    return h;
}

static void checkUsable(HWND h, int id) {
    if (!IsWindowVisible(h)) throw Failure(fmt("control %d is not visible (is its page selected?)", id));
    if (!IsWindowEnabled(h)) throw Failure(fmt("control %d is disabled", id));
}

std::string App::text(int id) const { return windowText(control(id)); }
void App::setText(int id, const std::string& text) {
    HWND h = control(id);
    checkUsable(h, id);
    std::wstring w = fromGbk(text);
    if (!send(h, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(w.c_str())))
        throw Failure(fmt("control %d refused the text", id));
}

void App::trayMessage(UINT mouseMsg) {
    const UINT kTrayCallback = WM_USER + 100;  // the program's own; icon id 3
    PostMessageW(main_, kTrayCallback, 3, mouseMsg);
}

bool App::enabled(int id) const { return IsWindowEnabled(control(id)) != 0; }
bool App::visible(int id) const { return IsWindowVisible(control(id)) != 0; }
bool App::ticked(int id) const { return send(control(id), BM_GETCHECK) == BST_CHECKED; }

HWND App::focus() const {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(main_, nullptr), &info)) return nullptr;
    return info.hwndFocus;
}

void App::pressKey(int id, UINT vk) {
    HWND h = control(id);
    PostMessageW(h, WM_KEYDOWN, vk, 1);
    PostMessageW(h, WM_KEYUP, vk, 0xC0000001);
    // A sent round trip overtakes posted messages; the idle program takes
    // the keys the moment they arrive, so a moment's grace comes first. A
    // key may end the program, so no answer is no failure here.
    Sleep(100);
    answers(main_);
}

void App::click(int id) {
    HWND h = control(id);
    checkUsable(h, id);
    DWORD_PTR res = 0;
    if (!SendMessageTimeoutW(h, BM_CLICK, 0, 0, SMTO_NORMAL, kWaitMs, &res))
        throw Failure(fmt("the click on control %d was not handled within %lu ms "
                          "(a dialog open? use clickAsync)", id, kWaitMs));
}

void App::clickAsync(int id) {
    HWND h = control(id);
    checkUsable(h, id);
    PostMessageW(h, BM_CLICK, 0, 0);
}

int App::count(int id) const {
    LRESULT n = send(control(id), LB_GETCOUNT);
    if (n == LB_ERR) throw Failure(fmt("control %d is not a list box", id));
    return static_cast<int>(n);
}

std::string App::line(int id, int index) const {
    HWND h = control(id);
    LRESULT n = send(h, LB_GETTEXTLEN, index);
    if (n == LB_ERR) throw Failure(fmt("list %d has no line %d", id, index));
    std::wstring w(static_cast<size_t>(n) + 1, L'\0');
    LRESULT got = send(h, LB_GETTEXT, index, reinterpret_cast<LPARAM>(w.data()));
    if (got == LB_ERR) throw Failure(fmt("list %d has no line %d", id, index));
    w.resize(static_cast<size_t>(got));
    return toGbk(w);
}

std::vector<std::string> App::lines(int id) const {
    std::vector<std::string> out;
    int n = count(id);
    for (int i = 0; i < n; ++i) out.push_back(line(id, i));
    return out;
}

int App::waitLine(int id, const std::string& text, DWORD ms) const {
    int at = -1;
    waitFor([&] {
        try {
            const std::vector<std::string> now = lines(id);
            const auto it = std::find(now.rbegin(), now.rend(), text);
            at = it == now.rend() ? -1 : static_cast<int>(now.rend() - it) - 1;
            if (at < 0) return false;
            Sleep(150);
            return lines(id) == now;
        } catch (const Failure&) {
            at = -1;  // a line went while it was read: the list is being refilled
            return false;
        }
    }, ms);
    return at;
}

int App::selected(int id) const { return static_cast<int>(send(control(id), LB_GETCURSEL)); }

// Clicks at a point of a list line, the line scrolled into view first.
static void clickListLine(HWND h, int id, int index, bool checkArea) {
    send(h, LB_SETTOPINDEX, index);
    // LB_GETITEMRECT is below WM_USER, so Wine marshals its RECT like
    // WM_GETTEXT's buffer: a pointer of our own.
    RECT r;
    if (send(h, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r)) == LB_ERR)
        throw Failure(fmt("list %d has no line %d", id, index));
    int x = checkArea ? r.left + 6 : (r.left + r.right) / 2;
    int y = (r.top + r.bottom) / 2;
    send(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    send(h, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

void App::select(int id, int index) {
    HWND h = control(id);
    checkUsable(h, id);
    if (index < 0 || index >= count(id)) throw Failure(fmt("list %d has no line %d", id, index));
    clickListLine(h, id, index, false);
    if (selected(id) != index) throw Failure(fmt("clicking line %d of list %d did not select it", index, id));
}

bool App::checked(int id, int index) const {
    LRESULT d = send(control(id), LB_GETITEMDATA, index);
    if (d == LB_ERR) throw Failure(fmt("list %d has no line %d", id, index));
    return d == 1;
}

void App::toggleCheck(int id, int index) {
    HWND h = control(id);
    checkUsable(h, id);
    bool before = checked(id, index);
    clickListLine(h, id, index, true);
    if (checked(id, index) != before) return;
    // Not toggled by the click on the box: the space key on the selected line.
    send(h, WM_KEYDOWN, VK_SPACE, 0x00390001);
    send(h, WM_CHAR, ' ', 0x00390001);
    send(h, WM_KEYUP, VK_SPACE, 0xC0390001);
    if (checked(id, index) == before) throw Failure(fmt("line %d of list %d could not be toggled", index, id));
}

int App::rowCount(int id) const { return static_cast<int>(send(control(id), LVM_GETITEMCOUNT)); }

std::string App::cell(int id, int row, int column) const {
    const int chars = 1024;
    RemoteBuffer buf(proc_.handle(), sizeof(LVITEMW) + chars * sizeof(wchar_t));
    LVITEMW item = {};
    item.iSubItem = column;
    item.pszText = reinterpret_cast<LPWSTR>(buf.addr() + sizeof(LVITEMW));
    item.cchTextMax = chars;
    buf.write(0, &item, sizeof item);
    const LRESULT n = send(control(id), LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(buf.addr()));
    if (n < 0 || n >= chars) throw Failure(fmt("cell %d,%d of list %d could not be read", row, column, id));
    std::wstring w(static_cast<size_t>(n), L'\0');
    if (n > 0) buf.read(sizeof(LVITEMW), w.data(), n * sizeof(wchar_t));
    return toGbk(w);
}

std::vector<std::string> App::column(int id, int column) const {
    std::vector<std::string> out;
    for (int i = 0, n = rowCount(id); i < n; ++i) out.push_back(cell(id, i, column));
    return out;
}

int App::selectedRow(int id) const {
    return static_cast<int>(send(control(id), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void App::selectRow(int id, int row) {
    HWND h = control(id);
    checkUsable(h, id);
    if (row < 0 || row >= rowCount(id)) throw Failure(fmt("list %d has no row %d", id, row));
    send(h, LVM_ENSUREVISIBLE, row, FALSE);
    RemoteBuffer buf(proc_.handle(), sizeof(RECT));
    RECT r = {};
    r.left = LVIR_LABEL;
    buf.write(0, &r, sizeof r);
    if (!send(h, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(buf.addr())))
        throw Failure(fmt("row %d of list %d has no rectangle", row, id));
    buf.read(0, &r, sizeof r);
    const int x = r.left + 4, y = (r.top + r.bottom) / 2;
    PostMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    PostMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    // A sent message is answered before posted ones are taken, so the sync
    // alone may come back before the click is handled.
    sync();
    if (!waitFor([&] { return selectedRow(id) == row; }, 3000))
        throw Failure(fmt("clicking row %d of list %d did not select it", row, id));
}

int App::tabCount(int id) const { return static_cast<int>(send(control(id), TCM_GETITEMCOUNT)); }
int App::currentTab(int id) const { return static_cast<int>(send(control(id), TCM_GETCURSEL)); }

// A record a control of the program fills with text at `field` (a tab, a
// tool, a column): the record and its text live in the program's memory.
template <class Record>
static std::optional<std::string> remoteText(HANDLE proc, HWND h, UINT msg, WPARAM w, Record record,
                                             LPWSTR Record::*field) {
    const int chars = 1024;
    RemoteBuffer buf(proc, sizeof(Record) + chars * sizeof(wchar_t));
    record.*field = reinterpret_cast<LPWSTR>(buf.addr() + sizeof(Record));
    const wchar_t zero = 0;
    buf.write(0, &record, sizeof record);
    buf.write(sizeof(Record), &zero, sizeof zero);
    if (!send(h, msg, w, reinterpret_cast<LPARAM>(buf.addr()))) return std::nullopt;
    Record back;
    buf.read(0, &back, sizeof back);
    // The control may answer with a pointer of its own instead of copying.
    std::wstring text;
    for (int k = 0; k < chars; ++k) {
        wchar_t c;
        SIZE_T done = 0;
        if (!ReadProcessMemory(proc, back.*field + k, &c, sizeof c, &done) || c == 0) break;
        text.push_back(c);
    }
    return toGbk(text);
}

std::vector<std::string> App::tabCaptions(int id) const {
    HWND h = control(id);
    std::vector<std::string> out;
    for (int i = 0, n = tabCount(id); i < n; ++i) {
        TCITEMW item = {};
        item.mask = TCIF_TEXT;
        item.cchTextMax = 1024;
        const auto text = remoteText(proc_.handle(), h, TCM_GETITEMW, i, item, &TCITEMW::pszText);
        if (!text) throw Failure(fmt("tab %d of control %d could not be read", i, id));
        out.push_back(*text);
    }
    return out;
}

std::vector<std::string> App::columnCaptions(int id) const {
    HWND header = FindWindowExW(control(id), nullptr, L"SysHeader32", nullptr);
    if (!header) throw Failure(fmt("list view %d has no header", id));
    std::vector<std::string> out;
    for (int i = 0, n = static_cast<int>(send(header, HDM_GETITEMCOUNT)); i < n; ++i) {
        HDITEMW item = {};
        item.mask = HDI_TEXT;
        item.cchTextMax = 1024;
        out.push_back(remoteText(proc_.handle(), header, HDM_GETITEMW, i, item, &HDITEMW::pszText).value_or(""));
    }
    return out;
}

std::vector<std::string> App::hints() const {
    std::vector<std::string> out;
    for (HWND tips : topWindowsOf(proc_.pid())) {
        if (className(tips) != TOOLTIPS_CLASSA) continue;
        for (int i = 0, n = static_cast<int>(send(tips, TTM_GETTOOLCOUNT)); i < n; ++i) {
            TTTOOLINFOW tool = {};
            tool.cbSize = TTTOOLINFOW_V1_SIZE;
            if (auto text = remoteText(proc_.handle(), tips, TTM_ENUMTOOLSW, i, tool, &TTTOOLINFOW::lpszText))
                out.push_back(*text);
        }
    }
    return out;
}

void App::selectTab(int id, int index) {
    HWND h = control(id);
    checkUsable(h, id);
    if (index < 0 || index >= tabCount(id)) throw Failure(fmt("tab control %d has no tab %d", id, index));
    if (currentTab(id) == index) return;
    // A tab scrolled out of the strip has no rectangle: scroll it in as the
    // strip's arrows do, one step at a time. (TCM_SETCURFOCUS would be
    // shorter, but under Wine it leaves the old tab marked pressed, and the
    // next click on a tab is then ignored.)
    RemoteBuffer buf(proc_.handle(), sizeof(RECT));
    auto rectOf = [&](RECT& r) {
        if (!send(h, TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(buf.addr()))) return false;
        buf.read(0, &r, sizeof r);
        return true;
    };
    RECT r;
    int n = tabCount(id);
    for (int step = 0; step < 2 * n && !rectOf(r); ++step)
        send(h, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, step < n ? 0 : n), 0);
    if (!rectOf(r)) throw Failure(fmt("tab %d of control %d cannot be scrolled into view", index, id));
    int x = (r.left + r.right) / 2, y = (r.top + r.bottom) / 2;
    send(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    send(h, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    sync();
    if (currentTab(id) != index) throw Failure(fmt("clicking tab %d of control %d did not select it", index, id));
}

namespace {
struct MenuSearch {
    DWORD thread;
    HWND found;
};

BOOL CALLBACK findMenu(HWND h, LPARAM l) {
    auto* search = reinterpret_cast<MenuSearch*>(l);
    if (GetWindowThreadProcessId(h, nullptr) != search->thread || !IsWindowVisible(h) ||
        className(h) != "#32768")
        return TRUE;
    search->found = h;
    return FALSE;
}
}  // namespace

// Menu windows are not owned by the program's windows; they are found by
// the thread that made them.
HWND App::popupMenu() const {
    MenuSearch search{GetWindowThreadProcessId(main_, nullptr), nullptr};
    EnumWindows(findMenu, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND App::dialog() const {
    for (HWND h : topWindowsOf(proc_.pid()))
        if (IsWindowVisible(h) && className(h) == "#32770") return h;
    return nullptr;
}

MsgBox App::waitMessageBox(DWORD ms) const {
    MsgBox box;
    bool ok = waitFor([&] {
        for (HWND h : topWindowsOf(proc_.pid())) {
            if (!IsWindowVisible(h) || className(h) != "#32770" || fileNameField(h)) continue;
            box.hwnd = h;
            return true;
        }
        return false;
    }, ms);
    if (!ok) throw Failure(fmt("no message box appeared within %lu ms", ms));
    box.caption = windowText(box.hwnd);
    for (HWND c : children(box.hwnd)) {
        std::string cls = className(c);
        if (cls == "Static") {
            std::string t = windowText(c);
            if (!t.empty()) box.text = t;
        } else if (cls == "Button") {
            box.buttons.push_back(GetDlgCtrlID(c));
        }
    }
    return box;
}

FileDialog App::waitFileDialog(DWORD ms) const {
    FileDialog d;
    bool ok = waitFor([&] {
        for (HWND h : topWindowsOf(proc_.pid())) {
            if (!IsWindowVisible(h) || className(h) != "#32770" || !fileNameField(h)) continue;
            d.hwnd = h;
            return true;
        }
        return false;
    }, ms);
    if (!ok) throw Failure(fmt("no file dialog appeared within %lu ms", ms));
    d.caption = windowText(d.hwnd);
    return d;
}

void App::sync() const {
    if (!answers(main_)) throw Failure("the main window does not answer");
}

// ---- session ----------------------------------------------------------------

Session::Session() {
    static int counter = 0;
    wchar_t tmp[MAX_PATH];
    GetTempPathW(MAX_PATH, tmp);
    std::wstring base = tmp;
    for (;;) {
        std::wstring d = base + L"morvane-e2e-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                         std::to_wstring(++counter);
        if (CreateDirectoryW(d.c_str(), nullptr)) {
            dir_ = toGbk(d);
            break;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS) throw Failure("cannot create a test directory");
    }
}

Session::~Session() {
    apps_.clear();
    for (auto it = procs_.rbegin(); it != procs_.rend(); ++it) (*it)->kill();
    procs_.clear();
    removeTree(fromGbk(dir_));
}

Process& Session::start(const std::string& exe, const std::string& args) {
    std::wstring cmd = L"\"" + fromGbk(exe) + L"\"";
    if (!args.empty()) cmd += L" " + fromGbk(args);
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    std::wstring wdir = fromGbk(dir_);
    // Under load Wine now and then refuses a start with an internal error
    // (1359) that a moment later is gone; anything else fails at once.
    for (int attempt = 1;; ++attempt) {
        if (CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, wdir.c_str(), &si, &pi))
            break;
        const DWORD error = GetLastError();
        if (error != ERROR_INTERNAL_ERROR || attempt == 3)
            throw Failure(fmt("cannot start %s (error %lu)", exe.c_str(), error));
        Sleep(500);
    }
    CloseHandle(pi.hThread);
    procs_.push_back(std::make_unique<Process>(pi.hProcess, pi.dwProcessId));
    return *procs_.back();
}

static void copyInto(const std::string& from, const std::string& to) {
    if (GetFileAttributesW(fromGbk(to).c_str()) != INVALID_FILE_ATTRIBUTES) return;
    if (!CopyFileW(fromGbk(from).c_str(), fromGbk(to).c_str(), TRUE))
        throw Failure(fmt("cannot copy %s to %s (error %lu)", from.c_str(), to.c_str(), GetLastError()));
}

namespace {
const char* const kAppDefaults = "Software\\Wine\\AppDefaults\\Morvane.exe";
std::string reportedOverride;

// Wine reads the version a program is told from its per-program defaults.
void applyReportedVersion() {
    const std::string& v = reportedOverride.empty() ? wineVersion() : reportedOverride;
    if (v.empty()) deleteRegKey(HKEY_CURRENT_USER, kAppDefaults);
    else setRegString(HKEY_CURRENT_USER, kAppDefaults, "Version", v);
}
}  // namespace

const std::string& wineVersion() {
    static const std::string version = [] {
        char buf[32];
        const DWORD n = GetEnvironmentVariableA("MORVANE_WINE_VERSION", buf, sizeof buf);
        return n > 0 && n < sizeof buf ? std::string(buf, n) : std::string();
    }();
    return version;
}

bool nineXFamily() {
    const std::string& v = reportedOverride.empty() ? wineVersion() : reportedOverride;
    return v == "win95" || v == "win98" || v == "winme";
}

ReportedVersion::ReportedVersion(const std::string& version) : previous_(reportedOverride) {
    reportedOverride = version;
}

ReportedVersion::~ReportedVersion() {
    reportedOverride = previous_;
    applyReportedVersion();
}

App& Session::startApp(DWORD ms, bool visible, const std::string& folder) {
    std::string exe = dir_ + "\\Morvane.exe";
    if (!folder.empty()) {
        exe = dir_ + "\\" + folder + "\\Morvane.exe";
        CreateDirectoryW(fromGbk(dir_ + "\\" + folder).c_str(), nullptr);
    }
    copyInto(envPath("MORVANE_EXE"), exe);
    applyReportedVersion();
    Process& p = start(exe);
    HWND h = nullptr;
    bool ok = waitFor([&] {
        if (!p.running()) return true;
        h = findTopWindow(p.pid(), kCaption, visible);
        return h && answers(h, 500);
    }, ms);
    if (!p.running())
        throw Failure(fmt("Morvane.exe ended during start-up with exit code %lu", p.exitCode()));
    if (!ok) throw Failure(fmt("Morvane.exe showed no answering window \"%s\" within %lu ms", kCaption, ms));
    apps_.push_back(std::make_unique<App>(p, h));
    return *apps_.back();
}

Process& Session::startHelper(const std::string& name, const std::string& args) {
    std::string exe = dir_ + "\\" + name;
    copyInto(envPath("MORVANE_HELPER"), exe);
    return start(exe, args);
}

// In UTF-16, as a Chinese system's program stores its GBK texts, whatever
// this system's code page: strings are given and read as GBK here.
static bool isString(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ; }

void setRegValue(HKEY root, const std::string& key, const std::string& name, DWORD type,
                 const std::string& data) {
    HKEY k;
    if (RegCreateKeyExW(root, fromGbk(key).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr) != ERROR_SUCCESS)
        throw Failure("cannot create registry key " + key);
    const std::wstring text = isString(type) ? fromGbk(data) : std::wstring();
    const BYTE* bytes = isString(type) ? reinterpret_cast<const BYTE*>(text.data()) : reinterpret_cast<const BYTE*>(data.data());
    const DWORD size = static_cast<DWORD>(isString(type) ? text.size() * sizeof(wchar_t) : data.size());
    LONG r = RegSetValueExW(k, fromGbk(name).c_str(), 0, type, bytes, size);
    RegCloseKey(k);
    if (r != ERROR_SUCCESS) throw Failure("cannot set registry value " + name);
}

void setRegString(HKEY root, const std::string& key, const std::string& name, const std::string& text) {
    setRegValue(root, key, name, REG_SZ, text + '\0');
}

std::optional<std::string> regString(HKEY root, const std::string& key, const std::string& name) {
    HKEY k;
    if (RegOpenKeyExW(root, fromGbk(key).c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return std::nullopt;
    wchar_t buf[1024];
    DWORD size = sizeof buf, type = 0;
    LONG r = RegQueryValueExW(k, fromGbk(name).c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buf), &size);
    RegCloseKey(k);
    if (r != ERROR_SUCCESS) return std::nullopt;
    std::string out = isString(type) ? toGbk(std::wstring(buf, size / sizeof(wchar_t)))
                                     : std::string(reinterpret_cast<const char*>(buf), size);
    if (!out.empty() && out.back() == '\0') out.pop_back();
    return out;
}

void deleteRegValue(HKEY root, const std::string& key, const std::string& name) {
    HKEY k;
    if (RegOpenKeyExW(root, fromGbk(key).c_str(), 0, KEY_ALL_ACCESS, &k) != ERROR_SUCCESS) return;
    RegDeleteValueW(k, fromGbk(name).c_str());
    RegCloseKey(k);
}

void deleteRegKey(HKEY root, const std::string& key) { RegDeleteKeyW(root, fromGbk(key).c_str()); }

}  // namespace e2e
