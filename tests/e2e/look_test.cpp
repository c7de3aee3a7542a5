// The flat look of the real Morvane.exe, read off the screen: the tray menu
// drawn by the look's painter, a button lit under the mouse and with the
// focus, and the space key's pressed look while it is held.
#include <vector>

#include "e2e/e2e_test.h"

using namespace e2e;

namespace {

// The look's arithmetic, as the program does it: halves to even, then the
// nearest colour the screen shows.
COLORREF lighten(COLORREF c, int p) {
    auto up = [p](int v) {
        const int n = (255 - v) * p;
        int q = n / 100;
        if (n % 100 > 50 || (n % 100 == 50 && q % 2)) ++q;
        return v + q;
    };
    HDC dc = GetDC(nullptr);
    const COLORREF out = GetNearestColor(dc, RGB(up(GetRValue(c)), up(GetGValue(c)), up(GetBValue(c))));
    ReleaseDC(nullptr, dc);
    return out;
}

COLORREF screenPixel(int x, int y) {
    HDC dc = GetDC(nullptr);
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(nullptr, dc);
    return c;
}

bool deepColour() {
    HDC dc = GetDC(nullptr);
    const bool deep = GetDeviceCaps(dc, BITSPIXEL) > 15;
    ReleaseDC(nullptr, dc);
    return deep;
}

RECT rectOf(HWND h) {
    RECT r{};
    GetWindowRect(h, &r);
    return r;
}

// Waits for a screen pixel to take a colour; says what it had instead.
::testing::AssertionResult pixelBecomes(int x, int y, COLORREF want, const char* what) {
    COLORREF got = 0;
    if (waitFor([&] { return (got = screenPixel(x, y)) == want; }, 5000))
        return ::testing::AssertionSuccess();
    char buf[160];
    snprintf(buf, sizeof buf, "%s: pixel (%d, %d) is %06lX, not %06lX", what, x, y,
             static_cast<unsigned long>(got), static_cast<unsigned long>(want));
    return ::testing::AssertionFailure() << buf;
}

const COLORREF kFace = GetSysColor(COLOR_BTNFACE);
const COLORREF kHighlight = GetSysColor(COLOR_HIGHLIGHT);

// Tab moves the focus on until it rests on the control.
void focusByTab(App& app, int id) {
    HWND target = app.control(id);
    for (int i = 0; i < 60 && app.focus() != target; ++i) app.pressKey(app::ids::PageControl1, VK_TAB);
    if (app.focus() != target) throw Failure("Tab never reached the control");
}

TEST(LookE2E, TheTrayMenuIsDrawnByTheLookWithItsPictureColumn) {
    if (!deepColour()) GTEST_SKIP() << "the screen has 15 bits per pixel or fewer";
    run([] {
        Session s;
        App& app = s.startApp();
        app.trayMessage(WM_RBUTTONDOWN);
        HWND menu = nullptr;
        ASSERT_TRUE(waitFor([&] { return (menu = app.popupMenu()) != nullptr && IsWindowVisible(menu); }))
            << "no menu opened";
        const RECT r = rectOf(menu);
        const int y = (r.top + r.bottom) / 2;
        // Measured by the look: six items of 22 pixels and two separators of 4.
        EXPECT_GE(r.bottom - r.top, 6 * 22 + 2 * 4);
        EXPECT_TRUE(pixelBecomes(r.left + 4, y, lighten(kFace, 16), "the picture column"));
        EXPECT_TRUE(pixelBecomes(r.right - 8, y, lighten(kFace, 86), "the menu face"));
        // The menu opened under the pointer, and a move the window system
        // makes up for that can select the item under it after our key:
        // the pointer leaves first, and that move is over before the key.
        SetCursorPos(5, 5);
        Sleep(300);
        app.sync();
        // The keyboard selects the last item: the selection fill.
        PostMessageW(menu, WM_KEYDOWN, VK_UP, 0);
        EXPECT_TRUE(pixelBecomes(r.right - 8, r.bottom - 12, lighten(kHighlight, 68), "the selection"));
        PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
        EXPECT_TRUE(waitFor([&] { return app.popupMenu() == nullptr || !IsWindowVisible(menu); }));
    });
}

TEST(LookE2E, AButtonLightsUnderTheMouseAndWithTheFocusAndShowsSpaceHeld) {
    if (!deepColour()) GTEST_SKIP() << "the screen has 15 bits per pixel or fewer";
    run([] {
        Session s;
        App& app = s.startApp();
        const RECT b = rectOf(app.control(process::ids::BtnRefresh));
        const int cy = (b.top + b.bottom) / 2, cx = (b.left + b.right) / 2;
        const COLORREF idleFace = lighten(kFace, 16), litFace = lighten(kFace, 60);
        const COLORREF litPen = lighten(lighten(kHighlight, 60), 30);
        const COLORREF idlePen = lighten(GetSysColor(COLOR_BTNSHADOW), 30);
        EXPECT_TRUE(pixelBecomes(b.left + 5, cy, idleFace, "idle face"));

        SetCursorPos(cx, cy);
        EXPECT_TRUE(pixelBecomes(b.left + 5, cy, litFace, "face under the mouse"));
        EXPECT_TRUE(pixelBecomes(cx, b.top, litPen, "border under the mouse"));
        SetCursorPos(b.left - 40, b.bottom + 40);
        EXPECT_TRUE(pixelBecomes(b.left + 5, cy, idleFace, "face after the mouse left"));
        EXPECT_TRUE(pixelBecomes(cx, b.top, idlePen, "border after the mouse left"));

        focusByTab(app, process::ids::BtnRefresh);
        EXPECT_TRUE(pixelBecomes(cx, b.top, litPen, "border with the focus"));

        // Held: the first key-down and its repeats put the bevel line on the
        // top-left edge; released, it goes back to the bottom-right.
        HWND h = app.control(process::ids::BtnRefresh);
        const COLORREF base = lighten(kHighlight, 60);
        const COLORREF pressedLine = RGB(GetRValue(base) - 50, GetGValue(base) - 48, GetBValue(base) - 50);
        PostMessageW(h, WM_KEYDOWN, VK_SPACE, 1);
        for (int i = 0; i < 3; ++i) PostMessageW(h, WM_KEYDOWN, VK_SPACE, 0x40000001);
        app.sync();
        EXPECT_TRUE(pixelBecomes(b.left + 1, cy, pressedLine, "left edge while space is held"));
        EXPECT_TRUE(pixelBecomes(b.left + 5, cy, litFace, "face while space is held"));
        PostMessageW(h, WM_KEYUP, VK_SPACE, 0xC0000001);
        app.sync();
        EXPECT_TRUE(pixelBecomes(b.left + 1, cy, litFace, "left edge once released"));
        EXPECT_TRUE(pixelBecomes(b.right - 2, cy, pressedLine, "right edge once released"));
    });
}

// The browse button's picture, read from the program's own resources, stands
// in the middle of the button: its first column as many pixels from the left
// edge as its last from the right.
TEST(LookE2E, AGlyphButtonsPictureStandsInTheMiddle) {
    run([] {
        HMODULE exe = LoadLibraryExW(fromGbk(envPath("MORVANE_EXE")).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(exe, nullptr);
        HBITMAP bmp = static_cast<HBITMAP>(LoadImageA(exe, "FOLDERGLYPH", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        ASSERT_NE(bmp, nullptr);
        BITMAP info{};
        GetObjectW(bmp, sizeof info, &info);
        const int w = info.bmWidth, h = info.bmHeight;
        BITMAPINFO bi{};
        bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        std::vector<RGBQUAD> px(static_cast<size_t>(w * h));
        HDC dc = GetDC(nullptr);
        GetDIBits(dc, bmp, 0, static_cast<UINT>(h), px.data(), &bi, DIB_RGB_COLORS);
        ReleaseDC(nullptr, dc);
        DeleteObject(bmp);
        FreeLibrary(exe);
        auto colour = [&](int x, int y) {
            const RGBQUAD q = px[static_cast<size_t>(y * w + x)];
            return RGB(q.rgbRed, q.rgbGreen, q.rgbBlue);
        };
        const COLORREF clear = colour(0, h - 1);
        int gx = -1, gy = -1;  // the picture's first opaque pixel, by columns
        for (int x = 0; x < w && gx < 0; ++x)
            for (int y = 0; y < h; ++y)
                if (colour(x, y) != clear) {
                    gx = x, gy = y;
                    break;
                }
        ASSERT_GE(gx, 0);

        Session s;
        App& app = s.startApp();
        app.selectTab(app::ids::PageControl1, 3);
        HWND button = app.control(autostart::ids::Button20);
        RECT client{};
        GetClientRect(button, &client);
        POINT origin{0, 0};
        ClientToScreen(button, &origin);
        const RECT r = rectOf(button);
        SetCursorPos(r.left - 40, r.bottom + 40);
        const int left = origin.x + (client.right - w) / 2, top = origin.y + (client.bottom - h) / 2;
        EXPECT_TRUE(pixelBecomes(left + gx, top + gy, colour(gx, gy), "the picture's first pixel"));
        EXPECT_NE(screenPixel(left + gx - 1, top + gy), colour(gx, gy)) << "the picture is not where it should be";
    });
}

}  // namespace
