// The colour arithmetic of the flat look against values worked out by hand,
// on the classic scheme of the memory canvas: button face RGB(212, 208, 200),
// highlight RGB(10, 36, 106), button shadow RGB(128, 128, 128).
#include <gtest/gtest.h>

#include "menulook/colours.h"
#include "ui/headless/memory_canvas.h"

using namespace menulook;
using ui::headless::MemoryCanvas;

namespace {

constexpr TColor rgb(int r, int g, int b) {
    return static_cast<TColor>(r) | static_cast<TColor>(g) << 8 | static_cast<TColor>(b) << 16;
}

// Counts the conversions the recolouring makes.
struct CountingCanvas : MemoryCanvas {
    CountingCanvas() : MemoryCanvas(1, 1) {}
    TColor nearestColor(TColor c) const override {
        ++conversions;
        return MemoryCanvas::nearestColor(c);
    }
    mutable int conversions = 0;
};

}  // namespace

TEST(XPColours, LightenRoundsHalvesToEvenAndKeepsToWhatTheDisplayShows) {
    MemoryCanvas c(1, 1);
    // (255 - 205) * 1% = 0.5 rounds down to 0; * 3% = 1.5 rounds up to 2.
    EXPECT_EQ(LightenColour(c, rgb(205, 155, 55), 1), rgb(205, 156, 57));
    EXPECT_EQ(LightenColour(c, rgb(205, 155, 55), 3), rgb(207, 158, 61));
    EXPECT_EQ(LightenColour(c, ui::clHighlight, 68), rgb(177, 185, 207));
    EXPECT_EQ(LightenColour(c, ui::clHighlight, 50), rgb(132, 146, 180));  // 122.5 -> 122, 109.5 -> 110
    EXPECT_EQ(LightenColour(c, ui::clBlack, 250), ui::clWhite);           // capped at 100
    c.setBitsPerPixel(16);  // five bits a channel
    EXPECT_EQ(LightenColour(c, ui::clBtnFace, 86), rgb(255, 255, 247));
}

TEST(XPColours, DarkenTakesTwoLessFromGreenClampsAndLightensWhenNegative) {
    MemoryCanvas c(1, 1);
    EXPECT_EQ(DarkenColour(c, ui::clBtnFace, 90), rgb(122, 120, 110));
    EXPECT_EQ(DarkenColour(c, ui::clBlack, 10), rgb(0, 0, 0));
    EXPECT_EQ(DarkenColour(c, ui::clBlack, -40), rgb(40, 42, 40));
    EXPECT_EQ(DarkenColour(c, ui::clWhite, -40), ui::clWhite);
    EXPECT_EQ(GreyOf(c, ui::clHighlight, 10), rgb(60, 60, 60));  // 152 div 3 + 10
    EXPECT_EQ(GreyOf(c, ui::clWhite, 10), rgb(240, 240, 240));
}

TEST(XPColours, ThePaletteInDeepColourWithSystemColours) {
    MemoryCanvas c(1, 1);
    const XPPalette p = DerivePalette(c, PaletteSource{});
    EXPECT_TRUE(p.DeepColour);
    EXPECT_EQ(p.MenuFace, rgb(249, 248, 247));
    EXPECT_EQ(p.IconColumn, rgb(219, 216, 209));
    EXPECT_EQ(p.SelectFill, rgb(177, 185, 207));
    EXPECT_EQ(p.SelectFrame, ui::clHighlight);
    EXPECT_EQ(p.CheckFill, rgb(206, 211, 225));
    EXPECT_EQ(p.CheckFillHot, rgb(132, 146, 180));
    EXPECT_EQ(p.DisabledText, rgb(141, 141, 141));
    EXPECT_EQ(p.SeparatorLine, rgb(160, 160, 160));
    EXPECT_EQ(p.CheckMark, ui::clHighlight);
}

TEST(XPColours, ThePaletteAtFifteenBitsAndWithTheColourProperties) {
    MemoryCanvas c(1, 1);
    c.setBitsPerPixel(15);
    XPPalette p = DerivePalette(c, PaletteSource{});
    EXPECT_FALSE(p.DeepColour);
    EXPECT_EQ(p.MenuFace, ui::clWhite);
    EXPECT_EQ(p.SelectFill, ui::clWhite);
    EXPECT_EQ(p.IconColumn, ui::clBtnFace);
    EXPECT_EQ(p.CheckFill, ui::clWhite);
    EXPECT_EQ(p.CheckFillHot, ui::clWhite);
    EXPECT_EQ(p.DisabledText, ui::clBtnShadow);

    PaletteSource own;
    own.UseSystemColors = false;
    own.Color = rgb(1, 2, 3);
    p = DerivePalette(c, own);
    EXPECT_EQ(p.MenuFace, rgb(1, 2, 3));
    EXPECT_EQ(p.SelectFill, ui::clHighlight);
    EXPECT_EQ(p.CheckFill, ui::clWhite);
    EXPECT_EQ(p.CheckFillHot, ui::clSilver);
    EXPECT_EQ(p.DisabledText, ui::clInactiveCaption);
    EXPECT_EQ(p.SeparatorLine, ui::clBtnFace);

    c.setBitsPerPixel(32);
    p = DerivePalette(c, own);
    EXPECT_EQ(p.MenuFace, rgb(1, 2, 3));
    EXPECT_EQ(p.SelectFill, rgb(177, 185, 207));
    EXPECT_EQ(p.CheckFillHot, rgb(132, 146, 180));
    EXPECT_EQ(p.SelectText, ui::clMenuText);
}

TEST(XPColours, PicturesAreRecolouredOncePerRunOfOneColour) {
    CountingCanvas c;
    ui::TPixels p(4, 2, ui::clWhite);
    p.at(1, 0) = p.at(2, 0) = ui::clBlack;  // row 0: white, black, black, white
    p.at(3, 1) = rgb(10, 36, 106);          // row 1: white, white, white, blue
    FadeIcon(c, p, 50);
    EXPECT_EQ(c.conversions, 5);  // three runs, then two
    EXPECT_EQ(p.at(1, 0), rgb(128, 128, 128));  // 127.5 rounds to 128
    EXPECT_EQ(p.at(2, 0), rgb(128, 128, 128));
    EXPECT_EQ(p.at(3, 1), rgb(132, 146, 180));

    GreyIcon(c, p, 10);
    EXPECT_EQ(p.at(0, 0), rgb(240, 240, 240));
    EXPECT_EQ(p.at(1, 0), rgb(138, 138, 138));

    ui::TPixels shape(3, 2, ui::clWhite);  // its bottom-left pixel is its transparent colour
    shape.at(1, 0) = ui::clBlack;
    MemoryCanvas target(5, 5, ui::clSilver);
    PaintIconShadow(shape, target, 1, 1, rgb(9, 9, 9));
    EXPECT_EQ(target.pixel(2, 1), rgb(9, 9, 9));
    EXPECT_EQ(target.pixel(1, 1), ui::clSilver);
    EXPECT_EQ(target.pixel(1, 2), ui::clSilver);
}
