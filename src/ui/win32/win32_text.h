// The toolkit's one edge to Windows' text. On the NT family (where code page
// 936 is installed) every window is a Unicode window and every text crosses
// here in UTF-16, so the program reads right whatever the system's ANSI code
// page; on the 9x family these are the ANSI calls they always were.
#pragma once
#include <string>

#include "platform/win32/wide.h"

namespace ui::win32::text {

using platform::wide::Arg;
using platform::wide::Out;

// The calls whose text is either kind, with the A or the W function behind
// each; `wide` says which, and is what an Arg or Out is made with.
struct Api {
    HWND(WINAPI* createWindow)(DWORD, LPCSTR, LPCSTR, DWORD, int, int, int, int, HWND, HMENU,
                               HINSTANCE, LPVOID);
    LRESULT(WINAPI* defaultProc)(HWND, UINT, WPARAM, LPARAM);
    LRESULT(WINAPI* callProc)(WNDPROC, HWND, UINT, WPARAM, LPARAM);
    LONG_PTR(WINAPI* setLong)(HWND, int, LONG_PTR);
    LONG_PTR(WINAPI* getLong)(HWND, int);
    BOOL(WINAPI* classInfo)(HINSTANCE, LPCSTR, WNDCLASSA*);
    ATOM(WINAPI* registerClass)(const WNDCLASSA*);
    BOOL(WINAPI* getMessage)(MSG*, HWND, UINT, UINT);
    BOOL(WINAPI* peekMessage)(MSG*, HWND, UINT, UINT, UINT);
    LRESULT(WINAPI* dispatchMessage)(const MSG*);
    LRESULT(WINAPI* sendMessage)(HWND, UINT, WPARAM, LPARAM);
    BOOL(WINAPI* setText)(HWND, LPCSTR);
    int(WINAPI* getText)(HWND, LPSTR, int);
    int(WINAPI* textLength)(HWND);
    int(WINAPI* messageBox)(HWND, LPCSTR, LPCSTR, UINT);
    BOOL(WINAPI* appendMenu)(HMENU, UINT, UINT_PTR, LPCSTR);
    int(WINAPI* drawText)(HDC, LPCSTR, int, RECT*, UINT);
    BOOL(WINAPI* parameters)(UINT, UINT, void*, UINT);
    BOOL(WINAPI* textOut)(HDC, int, int, LPCSTR, int);
    BOOL(WINAPI* textExtent)(HDC, LPCSTR, int, SIZE*);
    HFONT(WINAPI* createFont)(const void*);
    bool wide;
};
const Api& api();
inline bool unicode() { return api().wide; }
inline Arg arg(const std::string& s) { return Arg(s, unicode()); }
inline Arg arg(const char* s) { return Arg(s, unicode()); }

std::string windowText(HWND h);
HFONT createFont(const LOGFONTA& font);
bool menuFont(LOGFONTA& font);
void textOut(HDC dc, int x, int y, const std::string& text);
SIZE textExtent(HDC dc, const std::string& text);

// A message whose text is the string at lParam (LB_ADDSTRING, LB_INSERTSTRING).
LRESULT sendString(HWND h, UINT msg, WPARAM w, const std::string& text);
std::string listBoxText(HWND h, int row);
// A message whose record names its text at `field` (LVITEM, LVCOLUMN, TCITEM,
// TOOLINFO): `msgA` on the 9x family, `msgW` with the text in UTF-16 on NT.
LRESULT sendRecord(HWND h, UINT msgA, UINT msgW, WPARAM w, void* record, LPSTR& field,
                   const std::string& text);
// The same kind of record read back: the text the control puts at `field`,
// whose room (`room`, in characters) grows while the text fills it.
std::string readRecord(HWND h, UINT msgA, UINT msgW, WPARAM w, void* record, LPSTR& field,
                       int& room);

// The file dialogs' record, run by comdlg32's open or save. True when a name
// was chosen; false with `error` 0 for a cancel, else comdlg32's code.
struct FileDialogRecord {
    HWND owner;
    HINSTANCE instance;
    const std::string& filter;  // NUL-separated pairs, ending in two NULs
    std::string& fileName;      // in: the name offered; out: the name chosen
    const std::string& title;
    const std::string& defaultExt;
    DWORD flags;
};
bool runFileDialog(const FileDialogRecord& d, bool save, DWORD& error);

}  // namespace ui::win32::text
