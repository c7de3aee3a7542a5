// The windows Morvane.exe shows at start, made with plain Win32 calls and
// none of its code: the banner panel, the page control with its six tabs,
// the first page with its list of nine lines, count label, seven buttons and
// the group of two radio buttons, in the same font. What Wine itself costs
// for them, so the start-up figures show which part is the program's own.
#include "plain_window.h"

#include <commctrl.h>

namespace {

HFONT font;

HWND child(HWND parent, const char* cls, const char* text, DWORD style, DWORD exStyle, RECT r, int id) {
    HWND h = CreateWindowExA(WS_EX_NOPARENTNOTIFY | exStyle, cls, text, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | style,
                             r.left, r.top, r.right, r.bottom, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                             GetModuleHandleA(nullptr), nullptr);
    SendMessageA(h, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return h;
}

}  // namespace

int WINAPI WinMain(HINSTANCE inst, HINSTANCE, LPSTR, int show) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TAB_CLASSES};
    InitCommonControlsEx(&icc);
    // The product's caption (GBK), which the benchmark looks for.
    HWND top = plain::makeTopWindow(inst, "SameWindows", "Morvane\xBD\xF8\xB3\xCC\xB9\xDC\xC0\xED\xC6\xF7",
                                    WS_CLIPCHILDREN);
    if (!top) return 1;
    font = CreateFontA(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, GB2312_CHARSET, 0, 0, DEFAULT_QUALITY, 0, "\xCB\xCE\xCC\xE5");

    child(top, "STATIC", "", SS_LEFT | WS_CLIPCHILDREN, WS_EX_STATICEDGE, {4, 4, 367, 52}, 1);
    HWND tabs = child(top, WC_TABCONTROLA, "", WS_TABSTOP | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, {4, 60, 367, 320}, 2);
    const char* const captions[] = {
        "\xBD\xF8\xB3\xCC\xC1\xD0\xB1\xED",
        "\xB4\xB0\xBF\xDA\xC1\xD0\xB1\xED",
        "\xB3\xCC\xD0\xF2\xCF\xDE\xD6\xC6",
        "\xB9\xDC\xC0\xED\xD7\xD4\xC6\xF4\xB6\xAF\xB3\xCC\xD0\xF2",
        "\xB3\xCC\xD0\xF2\xC9\xE8\xD6\xC3",
        "\xB9\xD8\xD3\xDA\xCE\xD2\xC3\xC7",
    };
    for (const char* caption : captions) {
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(caption);
        SendMessageA(tabs, TCM_INSERTITEMA, 99, reinterpret_cast<LPARAM>(&item));
    }
    HWND page = child(tabs, "STATIC", "", SS_LEFT | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, {4, 24, 358, 290}, 3);
    HWND list = child(page, "LISTBOX", "", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP,
                      WS_EX_CLIENTEDGE, {4, 4, 250, 230}, 4);
    for (int i = 0; i < 9; ++i) SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("PROCESS.EXE"));
    child(page, "STATIC", "9", SS_LEFTNOWORDWRAP | SS_NOTIFY | SS_NOPREFIX, 0, {260, 4, 90, 30}, 5);
    for (int i = 0; i < 7; ++i)
        child(page, "BUTTON", "\xCB\xA2\xD0\xC2\xC1\xD0\xB1\xED", BS_PUSHBUTTON | WS_TABSTOP, 0, {265, 40 + i * 34, 85, 25}, 10 + i);
    HWND group = child(page, "BUTTON", "", BS_GROUPBOX | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, {4, 240, 250, 40}, 6);
    child(group, "BUTTON", "1", BS_AUTORADIOBUTTON | WS_TABSTOP, 0, {10, 14, 100, 20}, 7);
    child(group, "BUTTON", "2", BS_AUTORADIOBUTTON | WS_TABSTOP, 0, {120, 14, 100, 20}, 8);

    return plain::showAndRun(top, show);
}
