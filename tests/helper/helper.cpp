// morvane_helper: a small stand-in program that the Wine tests copy under
// chosen names (lower case, upper case, Chinese) and start.
//
//   morvane_helper [options]
//     --title TEXT      open a top-level window with this title (GBK bytes;
//                       quote it when it holds spaces)
//     --title-utf16 HEX the same with a title of UTF-16 code units, four hex
//                       digits each, for titles no code page holds
//     --hidden          create that window without showing it
//     --refuse-close    the window swallows WM_CLOSE and stays
//     --hang            once the window exists, stop pumping messages for good
//                       (a hung program: sent messages are never answered)
//     --close-code N    exit code after the window was closed (default 0)
//     --quit-code N     exit code after a WM_QUIT posted from outside while
//                       the window still exists (default 0)
//     --sleep           no window, no message loop: sleep until ended
//     --starve          once the window exists, take menus until the window
//                       system has no handle left for anyone, then retitle
//                       the window "starved"
//     --partner NAME    every 250 ms check on the process NAME (an exe in our
//                       own directory); when it has ended, start it again as
//                       "NAME --partner OURNAME". Two partners started this way
//                       keep each other alive unless both end within one poll.
//     --exit N          exit at once with code N
//     --module-path P   make the loader's record of our own program say P, so
//                       a module snapshot from outside reads P while the
//                       process entry keeps the real name
//
// Without --title, --sleep or --partner the program just waits in its message
// loop until it is ended. Only kernel32 and user32 are used.
#include <windows.h>
#include <tlhelp32.h>
#include <winternl.h>

#include <string>
#include <vector>

namespace {

bool isLead(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

// The Windows rules for a command line, enough for our own options: blanks
// split, double quotes group, \" is a quote. A GBK trail byte is never taken
// for a quote or a backslash.
std::vector<std::string> splitCommandLine(const char* p) {
    std::vector<std::string> out;
    while (*p) {
        while (*p == ' ' || *p == '\t') ++p;
        if (!*p) break;
        std::string arg;
        bool quoted = false;
        while (*p && (quoted || (*p != ' ' && *p != '\t'))) {
            unsigned char c = static_cast<unsigned char>(*p);
            if (isLead(c) && p[1]) {
                arg += p[0];
                arg += p[1];
                p += 2;
            } else if (c == '\\' && p[1] == '"') {
                arg += '"';
                p += 2;
            } else if (c == '"') {
                quoted = !quoted;
                ++p;
            } else {
                arg += *p++;
            }
        }
        out.push_back(arg);
    }
    return out;
}

std::string fileNamePart(const std::string& path) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < path.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(path[i]);
        if (isLead(c) && i + 1 < path.size()) { ++i; continue; }
        if (c == '\\' || c == ':') start = i + 1;
    }
    return path.substr(start);
}

std::string upper(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 0x20);
    return s;
}

struct Options {
    bool window = false, hidden = false, refuseClose = false, hang = false, sleep = false, starve = false;
    std::string title, partner;
    std::wstring wideTitle;
    UINT closeCode = 0, quitCode = 0;
};

Options g_opt;
HWND g_wnd = nullptr;
std::string g_ownPath, g_ownDir, g_ownName;

// --- partner watch

HANDLE g_partner = nullptr;

HANDLE findByName(const std::string& name) {
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snap == INVALID_HANDLE_VALUE) return nullptr;
    HANDLE found = nullptr;
    PROCESSENTRY32 e;
    e.dwSize = sizeof e;
    std::string want = upper(name);
    DWORD self = GetCurrentProcessId();
    for (BOOL ok = Process32First(snap, &e); ok && !found; ok = Process32Next(snap, &e)) {
        if (e.th32ProcessID != self && upper(fileNamePart(e.szExeFile)) == want)
            found = OpenProcess(SYNCHRONIZE, FALSE, e.th32ProcessID);
    }
    CloseHandle(snap);
    return found;
}

HANDLE startPartner() {
    std::string path = g_ownDir + g_opt.partner;
    std::string cmd = "\"" + path + "\" --partner \"" + g_ownName + "\"";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(path.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr,
                        g_ownDir.c_str(), &si, &pi))
        return nullptr;
    CloseHandle(pi.hThread);
    return pi.hProcess;
}

// Deliberately polled, never waited on: a partner ended within one poll of
// us is not restarted, which is what lets both be ended in one go.
void CALLBACK watchPartner(HWND, UINT, UINT_PTR, DWORD) {
    if (g_partner && WaitForSingleObject(g_partner, 0) == WAIT_TIMEOUT) return;
    if (g_partner) {
        CloseHandle(g_partner);
        g_partner = startPartner();
        return;
    }
    g_partner = findByName(g_opt.partner);
    if (!g_partner) g_partner = startPartner();
}

// --- window

LRESULT CALLBACK wndProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    switch (m) {
    case WM_CLOSE:
        if (g_opt.refuseClose) return 0;
        DestroyWindow(h);
        return 0;
    case WM_DESTROY:
        g_wnd = nullptr;
        PostQuitMessage(static_cast<int>(g_opt.closeCode));
        return 0;
    default:
        return DefWindowProcW(h, m, w, l);
    }
}

bool createWindow(HINSTANCE inst) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = wndProc;
    wc.hInstance = inst;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = L"MorvaneHelperWindow";
    if (!RegisterClassW(&wc)) return false;
    std::wstring title = g_opt.wideTitle;
    if (title.empty() && !g_opt.title.empty()) {
        title.resize(g_opt.title.size());
        title.resize(MultiByteToWideChar(CP_ACP, 0, g_opt.title.data(), static_cast<int>(g_opt.title.size()),
                                         title.data(), static_cast<int>(title.size())));
    }
    g_wnd = CreateWindowW(L"MorvaneHelperWindow", title.c_str(), WS_OVERLAPPEDWINDOW, 10, 10,
                          240, 120, nullptr, nullptr, inst, nullptr);
    if (!g_wnd) return false;
    if (!g_opt.hidden) ShowWindow(g_wnd, SW_SHOWNOACTIVATE);
    return true;
}

// The first entry of the in-memory module order is the program itself;
// Toolhelp reads its FullDllName from our memory.
void setOwnModulePath(const std::string& path) {
    static WCHAR wide[MAX_PATH];
    int n = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
    if (n <= 1) return;
    // The 32-bit NtCurrentTeb reads fs:[0x18], which GCC takes for an
    // access through a null pointer.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Warray-bounds"
    PEB* peb = NtCurrentTeb()->ProcessEnvironmentBlock;
#pragma GCC diagnostic pop
    LIST_ENTRY* first = peb->Ldr->InMemoryOrderModuleList.Flink;
    auto* self = CONTAINING_RECORD(first, LDR_DATA_TABLE_ENTRY, InMemoryOrderLinks);
    self->FullDllName.Buffer = wide;
    self->FullDllName.Length = static_cast<USHORT>((n - 1) * sizeof(WCHAR));
    self->FullDllName.MaximumLength = static_cast<USHORT>(n * sizeof(WCHAR));
}

UINT number(const std::string& s) { return static_cast<UINT>(strtoul(s.c_str(), nullptr, 10)); }

}  // namespace

int WINAPI WinMain(HINSTANCE inst, HINSTANCE, LPSTR, int) {
    std::vector<std::string> args = splitCommandLine(GetCommandLineA());
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        bool hasValue = i + 1 < args.size();
        if (a == "--title" && hasValue) { g_opt.window = true; g_opt.title = args[++i]; }
        else if (a == "--title-utf16" && hasValue) {
            g_opt.window = true;
            const std::string& hex = args[++i];
            for (std::size_t k = 0; k + 4 <= hex.size(); k += 4)
                g_opt.wideTitle += static_cast<wchar_t>(strtoul(hex.substr(k, 4).c_str(), nullptr, 16));
        }
        else if (a == "--hidden") g_opt.hidden = true;
        else if (a == "--refuse-close") g_opt.refuseClose = true;
        else if (a == "--hang") g_opt.hang = true;
        else if (a == "--close-code" && hasValue) g_opt.closeCode = number(args[++i]);
        else if (a == "--quit-code" && hasValue) g_opt.quitCode = number(args[++i]);
        else if (a == "--sleep") g_opt.sleep = true;
        else if (a == "--starve") g_opt.starve = true;
        else if (a == "--partner" && hasValue) g_opt.partner = args[++i];
        else if (a == "--exit" && hasValue) return static_cast<int>(number(args[++i]));
        else if (a == "--module-path" && hasValue) setOwnModulePath(args[++i]);
        else return 2;  // unknown option: fail loudly rather than run half-configured
    }

    char buf[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, buf, sizeof buf);
    g_ownPath.assign(buf, n < sizeof buf ? n : 0);
    g_ownName = fileNamePart(g_ownPath);
    g_ownDir = g_ownPath.substr(0, g_ownPath.size() - g_ownName.size());

    if (g_opt.sleep) {
        for (;;) Sleep(INFINITE);
    }
    if (g_opt.window && !createWindow(inst)) return 3;
    if (g_opt.starve && g_wnd) {
        for (int i = 0; i < 1000000 && CreateMenu(); ++i) {
        }
        SetWindowTextA(g_wnd, "starved");
    }
    if (g_opt.hang) {
        for (;;) Sleep(INFINITE);
    }
    if (!g_opt.partner.empty()) {
        watchPartner(nullptr, 0, 0, 0);
        SetTimer(nullptr, 0, 250, watchPartner);
    }

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    // A WM_QUIT posted from outside arrives while the window is still there.
    return static_cast<int>(g_wnd ? g_opt.quitCode : g_opt.closeCode);
}
