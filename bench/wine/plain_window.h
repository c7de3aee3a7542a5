// What the bare window and the same-windows program share: a top-level
// window of a class of their own that ends the program when closed, and
// the show and message loop every Win32 program has.
#pragma once
#include <windows.h>

namespace plain {

inline LRESULT CALLBACK proc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(h, m, w, l);
}

// Null when the class or the window cannot be made.
inline HWND makeTopWindow(HINSTANCE inst, const char* cls, const char* caption, DWORD style) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = proc;
    wc.hInstance = inst;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = cls;
    if (!RegisterClassA(&wc)) return nullptr;
    return CreateWindowA(cls, caption, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | style,
                         CW_USEDEFAULT, CW_USEDEFAULT, 381, 411, nullptr, nullptr, inst, nullptr);
}

inline int showAndRun(HWND h, int show) {
    ShowWindow(h, show);
    UpdateWindow(h);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}

}  // namespace plain
