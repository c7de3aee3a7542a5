// The toolkit's one edge to Windows' text. On the NT family (where code page
// 936 is installed) every window is a Unicode window and every text crosses
// here in UTF-16, so the program reads right whatever the system's ANSI code
// page; on the 9x family these are the ANSI calls they always were.
#pragma once
#include <string>

#include "platform/win32/win.h"

namespace ui::win32::text {

bool unicode();

// Windows and their procedures.
bool classRegistered(HINSTANCE instance, const char* name);
bool registerClass(const WNDCLASSA& wc);
HWND createWindow(DWORD exStyle, const char* cls, const std::string& caption, DWORD style, int x,
                  int y, int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                  void* param);
LRESULT defaultProc(HWND h, UINT msg, WPARAM w, LPARAM l);
LRESULT callProc(WNDPROC proc, HWND h, UINT msg, WPARAM w, LPARAM l);
WNDPROC setProc(HWND h, WNDPROC proc);
WNDPROC proc(HWND h);

// The message loop.
BOOL getMessage(MSG& msg);
BOOL peekMessage(MSG& msg, UINT remove);
void dispatchMessage(const MSG& msg);

// Text.
void setText(HWND h, const std::string& text);
std::string windowText(HWND h);
int messageBox(HWND owner, const std::string& text, const std::string& caption, UINT flags);
HFONT createFont(const LOGFONTA& font);
bool menuFont(LOGFONTA& font);
void textOut(HDC dc, int x, int y, const std::string& text);
SIZE textExtent(HDC dc, const std::string& text);
void drawText(HDC dc, const std::string& text, RECT& rc, UINT format);
BOOL appendMenu(HMENU menu, UINT flags, UINT_PTR id, const std::string& caption);

// A message whose text is the string at lParam (LB_ADDSTRING, LB_INSERTSTRING).
LRESULT sendString(HWND h, UINT msg, WPARAM w, const std::string& text);
// A list box row.
std::string listBoxText(HWND h, int row);
// A message whose record names its text at `field` (LVITEM, LVCOLUMN, TCITEM,
// TOOLINFO): `msgA` on the 9x family, `msgW` with the text in UTF-16 on NT.
LRESULT sendRecord(HWND h, UINT msgA, UINT msgW, WPARAM w, void* record, LPSTR& field,
                   const std::string& text);
// The same kind of record read back: the text the control puts at `field`,
// whose room (`room`, in characters) grows while the text fills it.
std::string readRecord(HWND h, UINT msgA, UINT msgW, WPARAM w, void* record, LPSTR& field,
                       int& room);

// The file dialogs' record, run by comdlg32's open or save.
struct FileDialogRecord {
    HWND owner;
    HINSTANCE instance;
    const std::string* filter;  // NUL-separated pairs, ending in two NULs
    std::string* fileName;      // in: the name offered; out: the name chosen
    const std::string* title;
    const std::string* defaultExt;
    DWORD flags;
};
// True when a name was chosen; false with `error` 0 for a cancel, else
// comdlg32's code.
bool runFileDialog(const FileDialogRecord& d, bool save, DWORD& error);

}  // namespace ui::win32::text
