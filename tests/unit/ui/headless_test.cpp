// The in-memory application and canvas that the other tests stand on.
#include <gtest/gtest.h>

#include <stdexcept>

#include "ui/controls.h"
#include "ui/headless/headless_app.h"
#include "ui/headless/memory_canvas.h"

using ui::headless::HeadlessApplication;
using ui::headless::MemoryCanvas;

namespace {

struct Clocked {
    std::uint32_t now = 0;
    HeadlessApplication app{{[this] { return now; }, [this](std::uint32_t ms) { now += ms; }}};
    ui::TForm form{app, "TTestForm"};
};

TEST(HeadlessPump, WithoutADueTimerEachPumpMovesTheClockByTheStep) {
    Clocked c;
    c.app.stepMs = 10;
    c.app.processMessages();
    c.app.processMessages();
    EXPECT_EQ(c.now, 20u);
}

TEST(HeadlessPump, TimersFireAcrossTheWrapOfTheTickCount) {
    Clocked c;
    c.now = 0xFFFFFF00u;
    ui::TTimer t(c.form, 1);
    t.setInterval(1000);
    std::vector<std::uint32_t> fired;
    t.OnTimer = [&] { fired.push_back(c.now); };
    while (fired.size() < 2) c.app.processMessages();
    EXPECT_EQ(fired[0], 0xFFFFFF00u + 1000u);
    EXPECT_EQ(fired[1], 0xFFFFFF00u + 2000u);
}

TEST(HeadlessPump, AWaitInsideATimerHandlerDoesNotRunThatHandlerAgainAtOnce) {
    Clocked c;
    ui::TTimer t(c.form, 1);
    t.setInterval(100);
    int depth = 0, maxDepth = 0, runs = 0;
    t.OnTimer = [&] {
        ++runs;
        maxDepth = std::max(maxDepth, ++depth);
        // A wait of 50 ms, shorter than the interval, as Delay would pump.
        const std::uint32_t start = c.now;
        while (c.now - start < 50) c.app.processMessages();
        --depth;
    };
    while (runs < 3) c.app.processMessages();
    EXPECT_EQ(maxDepth, 1);
}

TEST(HeadlessPump, AHandlerMayStopOrRetimeItsOwnTimer) {
    Clocked c;
    ui::TTimer t(c.form, 1), other(c.form, 2);
    t.setInterval(100);
    other.setInterval(100);
    int runs = 0, otherRuns = 0;
    t.OnTimer = [&] {
        ++runs;
        t.setEnabled(false);
        other.setEnabled(false);  // due at the same moment: must not fire now
    };
    other.OnTimer = [&] { ++otherRuns; };
    for (int i = 0; i < 100; ++i) c.app.processMessages();
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(otherRuns, 0);
}

TEST(HeadlessPump, RunEndsWhenTheProgramIsTerminatedFromATimer) {
    Clocked c;
    ui::TTimer t(c.form, 1);
    t.setInterval(500);
    t.OnTimer = [&] { c.app.terminate(); };
    c.app.run();
    EXPECT_TRUE(c.app.terminated());
    EXPECT_EQ(c.now, 500u);
}

TEST(EventBoundary, AnErrorInANestedHandlerStopsTheWholeUserEventOnce) {
    Clocked c;
    c.form.show();
    ui::TCheckBox box(c.form, 1);
    ui::TButton button(c.form, 2);
    bool after = false;
    box.OnClick = [] { throw std::runtime_error("Invalid data type for 'RunAutoMin'"); };
    button.OnClick = [&] {
        box.setChecked(true);
        after = true;
    };
    button.userClick();
    EXPECT_FALSE(after);
    EXPECT_EQ(c.app.errors(), (std::vector<std::string>{"Invalid data type for 'RunAutoMin'"}));
}

TEST(RadioGroupLayout, ItemsRunDownTheColumnsFirst) {
    Clocked c;
    ui::TRadioGroup g(c.form, 10);
    g.setItems({"a", "b", "c"});
    g.setColumns(2);
    g.setBoundsAndLayout(0, 0, 216, 80);
    // Two rows: a and b in the first column, c at the top of the second.
    EXPECT_EQ(g.button(0).left(), g.button(1).left());
    EXPECT_LT(g.button(0).top(), g.button(1).top());
    EXPECT_EQ(g.button(2).top(), g.button(0).top());
    EXPECT_EQ(g.button(2).left(), 8 + 100);
    g.setItems({"x"});
    EXPECT_EQ(g.items(), (std::vector<std::string>{"x"}));
    EXPECT_EQ(g.itemIndex(), -1);
}

TEST(MemoryCanvasDrawing, FillsFramesAndLinesLandInTheBitmap) {
    MemoryCanvas c(20, 10);
    c.setBrushColor(ui::clBtnFace);
    c.fillRect({2, 2, 5, 5});
    EXPECT_EQ(c.pixel(2, 2), ui::headless::classicSystemColor(ui::clBtnFace));
    EXPECT_EQ(c.pixel(5, 5), ui::clWhite);  // right and bottom edges are outside
    c.setBrushColor(ui::clRed);
    c.frameRect({10, 0, 14, 4});
    EXPECT_EQ(c.pixel(10, 0), ui::clRed);
    EXPECT_EQ(c.pixel(13, 3), ui::clRed);
    EXPECT_EQ(c.pixel(11, 1), ui::clWhite);
    c.setPenColor(ui::clBlue);
    c.moveTo(0, 9);
    c.lineTo(4, 9);
    EXPECT_EQ(c.pixel(3, 9), ui::clBlue);
    EXPECT_EQ(c.pixel(4, 9), ui::clWhite);  // LineTo leaves the end point
    EXPECT_EQ(c.pixel(-1, 0), 0xFFFFFFFFu);
    c.setPixel(19, 9, ui::clGreen);
    MemoryCanvas copy(2, 2);
    copy.copyRect({0, 0, 2, 2}, c, {18, 8, 20, 10});
    EXPECT_EQ(copy.pixel(1, 1), ui::clGreen);
}

TEST(MemoryCanvasDrawing, NearestColourKeepsFiveBitsPerChannelAtSixteenBits) {
    MemoryCanvas c(1, 1);
    EXPECT_EQ(c.nearestColor(0x123456), 0x123456u);
    c.setBitsPerPixel(16);
    EXPECT_EQ(c.nearestColor(0x0F0F0F), 0x080808u);
    EXPECT_EQ(c.nearestColor(0xFFFFFF), 0xFFFFFFu);
    EXPECT_EQ(c.bitsPerPixel(), 16);
    c.setFont(ui::TFont{});
    EXPECT_EQ(c.textWidth("进程"), 24);
    EXPECT_EQ(c.textHeight("W"), 12);
}

}  // namespace
