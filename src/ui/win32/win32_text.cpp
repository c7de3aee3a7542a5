#include "ui/win32/win32_text.h"

#include <commdlg.h>

#include <cstddef>
#include <cstring>
#include <vector>

#include "base/error.h"
#include "platform/win32/wide.h"

namespace ui::win32::text {

namespace {

using platform::wide::function;
using platform::wide::narrow;
using platform::wide::widen;

// Every W function the toolkit uses, looked up once: Windows 95 exports few
// of them, and an import would keep the program from loading there.
struct Calls {
    decltype(&CreateWindowExW) createWindow;
    decltype(&DefWindowProcW) defaultProc;
    decltype(&CallWindowProcW) callProc;
#ifdef _WIN64
    decltype(&SetWindowLongPtrW) setLong;
    decltype(&GetWindowLongPtrW) getLong;
#else
    decltype(&SetWindowLongW) setLong;
    decltype(&GetWindowLongW) getLong;
#endif
    decltype(&GetClassInfoW) classInfo;
    decltype(&RegisterClassW) registerClass;
    decltype(&GetMessageW) getMessage;
    decltype(&PeekMessageW) peekMessage;
    decltype(&DispatchMessageW) dispatchMessage;
    decltype(&SendMessageW) sendMessage;
    decltype(&SetWindowTextW) setText;
    decltype(&GetWindowTextW) getText;
    decltype(&GetWindowTextLengthW) textLength;
    decltype(&MessageBoxW) messageBox;
    decltype(&AppendMenuW) appendMenu;
    decltype(&DrawTextW) drawText;
    decltype(&SystemParametersInfoW) parameters;
    decltype(&CreateFontIndirectW) createFont;
    decltype(&TextOutW) textOut;
    decltype(&GetTextExtentPoint32W) textExtent;
};

const Calls* calls() {
    static const Calls* const found = []() -> const Calls* {
        if (!platform::wide::on()) return nullptr;
        static Calls c;
        const HMODULE u = GetModuleHandleA("user32.dll"), g = GetModuleHandleA("gdi32.dll");
        c.createWindow = function<decltype(c.createWindow)>(u, "CreateWindowExW");
        c.defaultProc = function<decltype(c.defaultProc)>(u, "DefWindowProcW");
        c.callProc = function<decltype(c.callProc)>(u, "CallWindowProcW");
#ifdef _WIN64
        c.setLong = function<decltype(c.setLong)>(u, "SetWindowLongPtrW");
        c.getLong = function<decltype(c.getLong)>(u, "GetWindowLongPtrW");
#else
        c.setLong = function<decltype(c.setLong)>(u, "SetWindowLongW");
        c.getLong = function<decltype(c.getLong)>(u, "GetWindowLongW");
#endif
        c.classInfo = function<decltype(c.classInfo)>(u, "GetClassInfoW");
        c.registerClass = function<decltype(c.registerClass)>(u, "RegisterClassW");
        c.getMessage = function<decltype(c.getMessage)>(u, "GetMessageW");
        c.peekMessage = function<decltype(c.peekMessage)>(u, "PeekMessageW");
        c.dispatchMessage = function<decltype(c.dispatchMessage)>(u, "DispatchMessageW");
        c.sendMessage = function<decltype(c.sendMessage)>(u, "SendMessageW");
        c.setText = function<decltype(c.setText)>(u, "SetWindowTextW");
        c.getText = function<decltype(c.getText)>(u, "GetWindowTextW");
        c.textLength = function<decltype(c.textLength)>(u, "GetWindowTextLengthW");
        c.messageBox = function<decltype(c.messageBox)>(u, "MessageBoxW");
        c.appendMenu = function<decltype(c.appendMenu)>(u, "AppendMenuW");
        c.drawText = function<decltype(c.drawText)>(u, "DrawTextW");
        c.parameters = function<decltype(c.parameters)>(u, "SystemParametersInfoW");
        c.createFont = function<decltype(c.createFont)>(g, "CreateFontIndirectW");
        c.textOut = function<decltype(c.textOut)>(g, "TextOutW");
        c.textExtent = function<decltype(c.textExtent)>(g, "GetTextExtentPoint32W");
        // All or none: a window made Unicode must be spoken to in Unicode.
        const void* const* f = reinterpret_cast<const void* const*>(&c);
        for (std::size_t i = 0; i < sizeof c / sizeof(void*); ++i)
            if (!f[i]) return nullptr;
        return &c;
    }();
    return found;
}

LPSTR asField(std::wstring& text) { return reinterpret_cast<LPSTR>(text.data()); }

// Characters before the first NUL (the lean runtime has no wcslen).
template <class Char>
std::size_t untilNul(const Char* s, std::size_t room) {
    std::size_t n = 0;
    while (n < room && s[n]) ++n;
    return n;
}

}  // namespace

bool unicode() { return calls() != nullptr; }

bool classRegistered(HINSTANCE instance, const char* name) {
    if (const Calls* c = calls()) {
        WNDCLASSW wc{};
        return c->classInfo(instance, widen(name).c_str(), &wc) != FALSE;
    }
    WNDCLASSA wc{};
    return GetClassInfoA(instance, name, &wc) != FALSE;
}

bool registerClass(const WNDCLASSA& a) {
    const Calls* c = calls();
    if (!c) return RegisterClassA(&a) != 0;
    const std::wstring name = widen(a.lpszClassName);
    WNDCLASSW wc{};
    wc.style = a.style;
    wc.lpfnWndProc = a.lpfnWndProc;
    wc.cbClsExtra = a.cbClsExtra;
    wc.cbWndExtra = a.cbWndExtra;
    wc.hInstance = a.hInstance;
    wc.hIcon = a.hIcon;
    wc.hCursor = a.hCursor;
    wc.hbrBackground = a.hbrBackground;
    wc.lpszClassName = name.c_str();
    return c->registerClass(&wc) != 0;
}

HWND createWindow(DWORD exStyle, const char* cls, const std::string& caption, DWORD style, int x,
                  int y, int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                  void* param) {
    if (const Calls* c = calls())
        return c->createWindow(exStyle, widen(cls).c_str(), widen(caption).c_str(), style, x, y,
                               width, height, parent, menu, instance, param);
    return CreateWindowExA(exStyle, cls, caption.c_str(), style, x, y, width, height, parent, menu,
                           instance, param);
}

LRESULT defaultProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
    const Calls* c = calls();
    return c ? c->defaultProc(h, msg, w, l) : DefWindowProcA(h, msg, w, l);
}

LRESULT callProc(WNDPROC proc, HWND h, UINT msg, WPARAM w, LPARAM l) {
    const Calls* c = calls();
    return c ? c->callProc(proc, h, msg, w, l) : CallWindowProcA(proc, h, msg, w, l);
}

WNDPROC setProc(HWND h, WNDPROC proc) {
    const auto value = reinterpret_cast<LONG_PTR>(proc);
    const Calls* c = calls();
    return reinterpret_cast<WNDPROC>(c ? c->setLong(h, GWLP_WNDPROC, value)
                                       : SetWindowLongPtrA(h, GWLP_WNDPROC, value));
}

WNDPROC proc(HWND h) {
    const Calls* c = calls();
    return reinterpret_cast<WNDPROC>(c ? c->getLong(h, GWLP_WNDPROC) : GetWindowLongPtrA(h, GWLP_WNDPROC));
}

BOOL getMessage(MSG& msg) {
    const Calls* c = calls();
    return c ? c->getMessage(&msg, nullptr, 0, 0) : GetMessageA(&msg, nullptr, 0, 0);
}

BOOL peekMessage(MSG& msg, UINT remove) {
    const Calls* c = calls();
    return c ? c->peekMessage(&msg, nullptr, 0, 0, remove) : PeekMessageA(&msg, nullptr, 0, 0, remove);
}

void dispatchMessage(const MSG& msg) {
    if (const Calls* c = calls()) c->dispatchMessage(&msg);
    else DispatchMessageA(&msg);
}

void setText(HWND h, const std::string& text) {
    if (const Calls* c = calls()) c->setText(h, widen(text).c_str());
    else SetWindowTextA(h, text.c_str());
}

std::string windowText(HWND h) {
    if (const Calls* c = calls()) {
        const int n = c->textLength(h);
        std::wstring s(static_cast<std::size_t>(n > 0 ? n : 0) + 1, L'\0');
        const int got = c->getText(h, s.data(), n + 1);
        return narrow(s.data(), static_cast<std::size_t>(got > 0 ? got : 0));
    }
    const int n = GetWindowTextLengthA(h);
    std::string s(static_cast<std::size_t>(n > 0 ? n : 0) + 1, '\0');
    const int got = GetWindowTextA(h, s.data(), n + 1);
    s.resize(static_cast<std::size_t>(got > 0 ? got : 0));
    return s;
}

int messageBox(HWND owner, const std::string& text, const std::string& caption, UINT flags) {
    if (const Calls* c = calls()) return c->messageBox(owner, widen(text).c_str(), widen(caption).c_str(), flags);
    return MessageBoxA(owner, text.c_str(), caption.c_str(), flags);
}

HFONT createFont(const LOGFONTA& a) {
    const Calls* c = calls();
    if (!c) return CreateFontIndirectA(&a);
    LOGFONTW lf;
    std::memcpy(&lf, &a, offsetof(LOGFONTA, lfFaceName));
    const std::wstring face = widen(std::string(a.lfFaceName, untilNul(a.lfFaceName, LF_FACESIZE)));
    std::memset(lf.lfFaceName, 0, sizeof lf.lfFaceName);
    face.copy(lf.lfFaceName, LF_FACESIZE - 1);
    return c->createFont(&lf);
}

bool menuFont(LOGFONTA& font) {
    // The records as Windows 95 and NT 4 know them, without the padded border width.
    constexpr UINT kSizeA = 340;
    constexpr UINT kSizeW = offsetof(NONCLIENTMETRICSW, lfMessageFont) + sizeof(LOGFONTW);
    static_assert(offsetof(NONCLIENTMETRICSA, lfMessageFont) + sizeof(LOGFONTA) == kSizeA);
    const Calls* c = calls();
    if (!c) {
        NONCLIENTMETRICSA ncm{};
        ncm.cbSize = kSizeA;
        if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, kSizeA, &ncm, 0)) return false;
        font = ncm.lfMenuFont;
        return true;
    }
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = kSizeW;
    if (!c->parameters(SPI_GETNONCLIENTMETRICS, kSizeW, &ncm, 0)) return false;
    std::memcpy(&font, &ncm.lfMenuFont, offsetof(LOGFONTA, lfFaceName));
    const std::string face = platform::wide::narrowField(ncm.lfMenuFont.lfFaceName, LF_FACESIZE);
    std::memset(font.lfFaceName, 0, sizeof font.lfFaceName);
    face.copy(font.lfFaceName, LF_FACESIZE - 1);
    return true;
}

void textOut(HDC dc, int x, int y, const std::string& text) {
    if (const Calls* c = calls()) {
        const std::wstring t = widen(text);
        c->textOut(dc, x, y, t.data(), static_cast<int>(t.size()));
    } else {
        TextOutA(dc, x, y, text.data(), static_cast<int>(text.size()));
    }
}

SIZE textExtent(HDC dc, const std::string& text) {
    SIZE s{};
    if (const Calls* c = calls()) {
        const std::wstring t = widen(text);
        c->textExtent(dc, t.data(), static_cast<int>(t.size()), &s);
    } else {
        GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &s);
    }
    return s;
}

void drawText(HDC dc, const std::string& text, RECT& rc, UINT format) {
    if (const Calls* c = calls()) {
        std::wstring t = widen(text);
        c->drawText(dc, t.data(), static_cast<int>(t.size()), &rc, format);
    } else {
        DrawTextA(dc, text.data(), static_cast<int>(text.size()), &rc, format);
    }
}

BOOL appendMenu(HMENU menu, UINT flags, UINT_PTR id, const std::string& caption) {
    if (const Calls* c = calls()) return c->appendMenu(menu, flags, id, widen(caption).c_str());
    return AppendMenuA(menu, flags, id, caption.c_str());
}

LRESULT sendString(HWND h, UINT msg, WPARAM w, const std::string& text) {
    if (const Calls* c = calls()) return c->sendMessage(h, msg, w, reinterpret_cast<LPARAM>(widen(text).c_str()));
    return SendMessageA(h, msg, w, reinterpret_cast<LPARAM>(text.c_str()));
}

std::string listBoxText(HWND h, int row) {
    const Calls* c = calls();
    const LRESULT n = c ? c->sendMessage(h, LB_GETTEXTLEN, row, 0) : SendMessageA(h, LB_GETTEXTLEN, row, 0);
    if (n == LB_ERR) return {};
    if (c) {
        std::wstring s(static_cast<std::size_t>(n) + 1, L'\0');
        const LRESULT got = c->sendMessage(h, LB_GETTEXT, row, reinterpret_cast<LPARAM>(s.data()));
        return got == LB_ERR ? std::string() : narrow(s.data(), static_cast<std::size_t>(got));
    }
    std::string s(static_cast<std::size_t>(n) + 1, '\0');
    const LRESULT got = SendMessageA(h, LB_GETTEXT, row, reinterpret_cast<LPARAM>(s.data()));
    s.resize(got == LB_ERR ? 0 : static_cast<std::size_t>(got));
    return s;
}

LRESULT sendRecord(HWND h, UINT msgA, UINT msgW, WPARAM w, void* record, LPSTR& field,
                   const std::string& text) {
    const auto l = reinterpret_cast<LPARAM>(record);
    if (const Calls* c = calls()) {
        std::wstring t = widen(text);
        field = asField(t);
        return c->sendMessage(h, msgW, w, l);
    }
    field = const_cast<LPSTR>(text.c_str());
    return SendMessageA(h, msgA, w, l);
}

std::string readRecord(HWND h, UINT msgA, UINT msgW, WPARAM w, void* record, LPSTR& field,
                       int& room) {
    const auto l = reinterpret_cast<LPARAM>(record);
    const Calls* c = calls();
    for (std::size_t size = 256;; size *= 4) {
        room = static_cast<int>(size);
        if (c) {
            std::wstring buf(size, L'\0');
            field = asField(buf);
            c->sendMessage(h, msgW, w, l);
            const std::size_t n = untilNul(buf.c_str(), size);
            if (n < size - 1 || size >= 65536) return narrow(buf.data(), n);
        } else {
            std::string buf(size, '\0');
            field = buf.data();
            SendMessageA(h, msgA, w, l);
            const std::size_t n = untilNul(buf.c_str(), size);
            if (n < size - 1 || size >= 65536) return buf.substr(0, n);
        }
    }
}

bool runFileDialog(const FileDialogRecord& d, bool save, DWORD& error) {
    // The dialog library is loaded on the first dialog, not at every start:
    // under Wine it costs a third of a bare window's start.
    static const HMODULE library = LoadLibraryA("comdlg32.dll");
    const bool wide = unicode();
    const char* name = save ? (wide ? "GetSaveFileNameW" : "GetSaveFileNameA")
                            : (wide ? "GetOpenFileNameW" : "GetOpenFileNameA");
    const auto run = function<BOOL(WINAPI*)(void*)>(library, name);
    const auto lastError = function<DWORD(WINAPI*)()>(library, "CommDlgExtendedError");
    if (!run || !lastError) throw base::Error("The file dialog is not available");
    // The record Windows 95, 98 and NT 4 accept: it ends at lpTemplateName.
    // The W record is the A one with wide pointers, so one serves both.
    constexpr DWORD kSize = offsetof(OPENFILENAMEA, lpTemplateName) + sizeof(LPCSTR);
    static_assert(kSize == (sizeof(void*) == 8 ? 136 : 76));
    static_assert(sizeof(OPENFILENAMEA) == sizeof(OPENFILENAMEW));
    constexpr std::size_t kRoom = 4096;
    OPENFILENAMEA ofn{};
    ofn.lStructSize = kSize;
    ofn.hwndOwner = d.owner;
    ofn.hInstance = d.instance;
    ofn.nFilterIndex = 1;
    ofn.nMaxFile = kRoom;
    ofn.Flags = d.flags;
    auto orNull = [](const std::string* s) { return s && !s->empty() ? s : nullptr; };
    BOOL ok;
    if (wide) {
        const std::wstring filter = widen(*d.filter), title = widen(d.title ? *d.title : std::string()),
                           ext = widen(d.defaultExt ? *d.defaultExt : std::string());
        std::wstring file = widen(*d.fileName);
        file.resize(kRoom, L'\0');
        file[kRoom - 1] = L'\0';
        ofn.lpstrFilter = reinterpret_cast<LPCSTR>(filter.c_str());
        ofn.lpstrFile = reinterpret_cast<LPSTR>(file.data());
        ofn.lpstrTitle = orNull(d.title) ? reinterpret_cast<LPCSTR>(title.c_str()) : nullptr;
        ofn.lpstrDefExt = orNull(d.defaultExt) ? reinterpret_cast<LPCSTR>(ext.c_str()) : nullptr;
        ok = run(&ofn);
        if (ok) *d.fileName = narrow(file.c_str(), untilNul(file.c_str(), kRoom));
    } else {
        std::vector<char> file(kRoom, '\0');
        d.fileName->copy(file.data(), std::min(d.fileName->size(), kRoom - 1));
        ofn.lpstrFilter = d.filter->c_str();
        ofn.lpstrFile = file.data();
        ofn.lpstrTitle = orNull(d.title) ? d.title->c_str() : nullptr;
        ofn.lpstrDefExt = orNull(d.defaultExt) ? d.defaultExt->c_str() : nullptr;
        ok = run(&ofn);
        if (ok) *d.fileName = file.data();
    }
    error = ok ? 0 : lastError();
    return ok != FALSE;
}

}  // namespace ui::win32::text
