#include "ui/win32/win32_text.h"

#include <commdlg.h>

#include <cstddef>
#include <cstring>

#include "base/error.h"
#include "ui/win32/win32_objects.h"

namespace ui::win32::text {

namespace {

// The ANSI table: the functions every Windows has, imported.
Api ansiApi() {
    Api a{};
    a.createWindow = platform::wide::as(a.createWindow, reinterpret_cast<const void*>(&CreateWindowExA));
    a.defaultProc = &DefWindowProcA;
    a.callProc = &CallWindowProcA;
    a.setLong = platform::wide::as(a.setLong, reinterpret_cast<const void*>(&SetWindowLongPtrA));
    a.getLong = platform::wide::as(a.getLong, reinterpret_cast<const void*>(&GetWindowLongPtrA));
    a.classInfo = &GetClassInfoA;
    a.registerClass = &RegisterClassA;
    a.getMessage = &GetMessageA;
    a.peekMessage = &PeekMessageA;
    a.dispatchMessage = &DispatchMessageA;
    a.sendMessage = &SendMessageA;
    a.setText = &SetWindowTextA;
    a.getText = &GetWindowTextA;
    a.textLength = &GetWindowTextLengthA;
    a.messageBox = &MessageBoxA;
    a.appendMenu = &AppendMenuA;
    a.drawText = platform::wide::as(a.drawText, reinterpret_cast<const void*>(&DrawTextA));
    a.parameters = &SystemParametersInfoA;
    a.textOut = &TextOutA;
    a.textExtent = &GetTextExtentPoint32A;
    a.createFont = platform::wide::as(a.createFont, reinterpret_cast<const void*>(&CreateFontIndirectA));
    return a;
}

// The same calls' W functions, in the order of Api, looked up: Windows 95
// exports few of them, and an import would keep it from loading us.
constexpr char kWideNames[] =
    "user32.dll\0CreateWindowExW\0DefWindowProcW\0CallWindowProcW\0"
#ifdef _WIN64
    "SetWindowLongPtrW\0GetWindowLongPtrW\0"
#else
    "SetWindowLongW\0GetWindowLongW\0"
#endif
    "GetClassInfoW\0RegisterClassW\0GetMessageW\0PeekMessageW\0DispatchMessageW\0SendMessageW\0"
    "SetWindowTextW\0GetWindowTextW\0GetWindowTextLengthW\0MessageBoxW\0AppendMenuW\0DrawTextW\0"
    "SystemParametersInfoW\0gdi32.dll\0TextOutW\0GetTextExtentPoint32W\0CreateFontIndirectW\0";

static_assert(offsetof(Api, wide) == 21 * sizeof(void*), "one W name for each call");

}  // namespace

const Api& api() {
    static const Api found = [] {
        Api w{};
        // All or none: a window made Unicode must be spoken to in Unicode.
        if (platform::wide::on() && platform::wide::lookUp(reinterpret_cast<void* const*>(&w), kWideNames)) {
            w.wide = true;
            return w;
        }
        return ansiApi();
    }();
    return found;
}

std::string windowText(HWND h) {
    const Api& a = api();
    const int n = a.textLength(h);
    Out s(static_cast<std::size_t>(n > 0 ? n : 0) + 1, a.wide);
    const int got = a.getText(h, s, n + 1);
    return s.text(static_cast<std::size_t>(got > 0 ? got : 0));
}

static HFONT makeFont(const LOGFONTA& a) {
    if (!unicode()) return CreateFontIndirectA(&a);
    LOGFONTW lf{};
    std::memcpy(&lf, &a, offsetof(LOGFONTA, lfFaceName));
    std::size_t n = 0;
    while (n < LF_FACESIZE && a.lfFaceName[n]) ++n;
    Arg face(std::string(a.lfFaceName, n), true);
    std::memcpy(lf.lfFaceName, face.get(), (face.length() < LF_FACESIZE ? face.length() : LF_FACESIZE - 1) * 2);
    return api().createFont(&lf);
}

HFONT createFont(const LOGFONTA& a) {
    return objects::create(objects::Font, [&] { return makeFont(a); });
}

bool menuFont(LOGFONTA& font) {
    // The records as Windows 95 and NT 4 know them, without the padded border width.
    constexpr UINT kSizeA = 340;
    constexpr UINT kSizeW = offsetof(NONCLIENTMETRICSW, lfMessageFont) + sizeof(LOGFONTW);
    static_assert(offsetof(NONCLIENTMETRICSA, lfMessageFont) + sizeof(LOGFONTA) == kSizeA);
    NONCLIENTMETRICSW ncm{};
    const UINT size = unicode() ? kSizeW : kSizeA;
    ncm.cbSize = size;
    if (!api().parameters(SPI_GETNONCLIENTMETRICS, size, &ncm, 0)) return false;
    if (!unicode()) {
        font = reinterpret_cast<const NONCLIENTMETRICSA&>(ncm).lfMenuFont;
        return true;
    }
    const LOGFONTW& lf = ncm.lfMenuFont;
    std::memcpy(&font, &lf, offsetof(LOGFONTA, lfFaceName));
    const std::string face = platform::wide::narrowField(lf.lfFaceName, LF_FACESIZE);
    std::memset(font.lfFaceName, 0, sizeof font.lfFaceName);
    face.copy(font.lfFaceName, LF_FACESIZE - 1);
    return true;
}

void textOut(HDC dc, int x, int y, const std::string& text) {
    const Arg t = arg(text);
    api().textOut(dc, x, y, t, t.length());
}

SIZE textExtent(HDC dc, const std::string& text) {
    SIZE s{};
    const Arg t = arg(text);
    api().textExtent(dc, t, t.length(), &s);
    return s;
}

LRESULT sendString(HWND h, UINT msg, WPARAM w, const std::string& text) {
    return api().sendMessage(h, msg, w, reinterpret_cast<LPARAM>(arg(text).get()));
}

std::string listBoxText(HWND h, int row) {
    const Api& a = api();
    const LRESULT n = a.sendMessage(h, LB_GETTEXTLEN, row, 0);
    if (n == LB_ERR) return {};
    Out s(static_cast<std::size_t>(n) + 1, a.wide);
    const LRESULT got = a.sendMessage(h, LB_GETTEXT, row, reinterpret_cast<LPARAM>(s.get()));
    return got == LB_ERR ? std::string() : s.text(static_cast<std::size_t>(got));
}

LRESULT sendRecord(HWND h, UINT msgA, UINT msgW, WPARAM w, void* record, LPSTR& field,
                   const std::string& text) {
    const Arg t = arg(text);
    field = const_cast<LPSTR>(static_cast<LPCSTR>(t));
    return api().sendMessage(h, unicode() ? msgW : msgA, w, reinterpret_cast<LPARAM>(record));
}

std::string readRecord(HWND h, UINT msgA, UINT msgW, WPARAM w, void* record, LPSTR& field,
                       int& room) {
    for (std::size_t size = 256;; size *= 4) {
        Out buf(size, unicode());
        field = buf;
        room = static_cast<int>(size);
        api().sendMessage(h, unicode() ? msgW : msgA, w, reinterpret_cast<LPARAM>(record));
        std::string text = buf.text();
        if (text.size() < size - 1 || size >= 65536) return text;
    }
}

bool runFileDialog(const FileDialogRecord& d, bool save, DWORD& error) {
    // The dialog library is loaded on the first dialog, not at every start:
    // under Wine it costs a third of a bare window's start.
    static const HMODULE library = LoadLibraryA("comdlg32.dll");
    const bool wide = unicode();
    const char* name = save ? (wide ? "GetSaveFileNameW" : "GetSaveFileNameA")
                            : (wide ? "GetOpenFileNameW" : "GetOpenFileNameA");
    using Run = BOOL(WINAPI*)(OPENFILENAMEA*);
    const auto run = library ? reinterpret_cast<Run>(reinterpret_cast<void*>(GetProcAddress(library, name))) : nullptr;
    const auto lastError = library ? reinterpret_cast<DWORD(WINAPI*)()>(
                                         reinterpret_cast<void*>(GetProcAddress(library, "CommDlgExtendedError")))
                                   : nullptr;
    if (!run || !lastError) throw base::Error("The file dialog is not available");
    // The record Windows 95, 98 and NT 4 accept: it ends at lpTemplateName.
    // The W record is the A one with wide texts, so one serves both.
    constexpr DWORD kSize = offsetof(OPENFILENAMEA, lpTemplateName) + sizeof(LPCSTR);
    static_assert(kSize == (sizeof(void*) == 8 ? 136 : 76));
    static_assert(sizeof(OPENFILENAMEA) == sizeof(OPENFILENAMEW));
    constexpr std::size_t kRoom = 4096;
    const Arg filter(d.filter, wide), title(d.title, wide), ext(d.defaultExt, wide);
    Out file(kRoom, wide, d.fileName);
    OPENFILENAMEA ofn{};
    ofn.lStructSize = kSize;
    ofn.hwndOwner = d.owner;
    ofn.hInstance = d.instance;
    ofn.lpstrFilter = filter;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file;
    ofn.nMaxFile = kRoom;
    ofn.lpstrTitle = d.title.empty() ? nullptr : static_cast<LPCSTR>(title);
    ofn.lpstrDefExt = d.defaultExt.empty() ? nullptr : static_cast<LPCSTR>(ext);
    ofn.Flags = d.flags;
    const BOOL ok = run(&ofn);
    if (ok) d.fileName = file.text();
    error = ok ? 0 : lastError();
    return ok != FALSE;
}

}  // namespace ui::win32::text
