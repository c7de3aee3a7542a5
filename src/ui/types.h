// Small value types shared by the controls, their peers and the canvas.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

namespace ui {

// Framework colours: 0x00BBGGRR, or 0x80000000 + a system colour index.
using TColor = std::uint32_t;
constexpr TColor clBlack = 0x000000, clWhite = 0xFFFFFF, clSilver = 0xC0C0C0,
                 clGray = 0x808080, clDkGray = 0x404040, clBlue = 0xFF0000, clNavy = 0x800000,
                 clRed = 0x0000FF, clGreen = 0x008000;
constexpr TColor clInactiveCaption = 0x80000003, clWindow = 0x80000005,
                 clMenuText = 0x80000007, clWindowText = 0x80000008,
                 clHighlight = 0x8000000D, clHighlightText = 0x8000000E,
                 clBtnFace = 0x8000000F, clBtnShadow = 0x80000010;
constexpr bool isSystemColor(TColor c) { return (c & 0xFF000000u) == 0x80000000u; }

// Edges left, top, right, bottom; right and bottom are outside.
struct TRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool operator==(const TRect&) const = default;
};
struct TPoint {
    int x = 0, y = 0;
    bool operator==(const TPoint&) const = default;
};

constexpr int kGb2312Charset = 134;

struct TFont {
    std::string name = "\xCB\xCE\xCC\xE5";  // 宋体 in code page 936
    int height = -12;                       // pixels; negative: character height
    bool bold = false;
    TColor color = clWindowText;
    int charset = kGb2312Charset;
    bool operator==(const TFont&) const = default;
};

enum class TCursor { Default, HandPoint };
enum class TBevelCut { None, Lowered, Raised };

using TNotifyEvent = std::function<void()>;
using TKeyPressEvent = std::function<void(char& key)>;

// An event handler that calls a member function: handler<&Page::Click>(this).
// Every one is the same small type, kept in std::function's own storage, so
// one copy of std::function's machinery serves all the window's handlers,
// where a lambda per handler brings its own.
struct TMethodCall {
    void* object;
    void (*call)(void* object);
    void operator()() const { call(object); }
};
template <auto Method, class C>
TMethodCall handler(C* object) {
    return {object, [](void* o) { (static_cast<C*>(o)->*Method)(); }};
}

// Key codes the dialog keys use.
constexpr int VK_TAB_KEY = 9, VK_RETURN_KEY = 13, VK_ESCAPE_KEY = 27, VK_SPACE_KEY = 32;

// Message box buttons, icons and answers, as MessageBoxA numbers them.
namespace mb {
constexpr unsigned Ok = 0x0, OkCancel = 0x1, YesNo = 0x4, IconError = 0x10,
                   IconQuestion = 0x20, IconWarning = 0x30, IconInformation = 0x40;
}
namespace answer {
constexpr int Ok = 1, Cancel = 2, Yes = 6, No = 7;
}

}  // namespace ui
