// Every object the toolkit takes from the window system passes here: test
// builds count them by kind and can refuse them as a starved machine does;
// the product compiles each to the bare call.
#pragma once
#include <windows.h>

#include <cstdint>
#include <type_traits>

namespace ui::win32::objects {

enum Kind { Window, Font, Pen, Brush, Bitmap, Dc, Saved, Icon, Menu, ImageList, Box, kKinds };

#ifdef MORVANE_UI_SEAM
bool refuse(Kind k);
void made(Kind k, std::uintptr_t h);
void gone(Kind k);
// DeleteObject as Windows has it: a pen or brush still selected into `dc`
// stays (Wine would delete it once it is put out).
BOOL remove(Kind k, HGDIOBJ h, HDC dc);
// A test's request through the main window; false for any other message.
bool control(UINT msg, WPARAM w, LPARAM l, LRESULT& r);
#else
inline bool refuse(Kind) { return false; }
inline void made(Kind, std::uintptr_t) {}
inline void gone(Kind) {}
inline bool control(UINT, WPARAM, LPARAM, LRESULT&) { return false; }
inline BOOL remove(Kind, HGDIOBJ h, HDC) { return DeleteObject(h); }
#endif

// What `make` creates, or nothing when the seam refuses it.
template <class F>
auto create(Kind k, F make) -> decltype(make()) {
    if (refuse(k)) return {};
    auto h = make();
    if constexpr (std::is_pointer_v<decltype(h)>) {
        if (h) made(k, reinterpret_cast<std::uintptr_t>(h));
    } else {
        if (h) made(k, static_cast<std::uintptr_t>(h));
    }
    return h;
}

// `h`, counted as given back.
template <class H>
H release(Kind k, H h) {
    if (h) gone(k);
    return h;
}

}  // namespace ui::win32::objects
