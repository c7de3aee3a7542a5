// Delay alone and the host's Delay, with the window's timers running
// meanwhile.
#include <gtest/gtest.h>

#include <climits>

#include "common/delay.h"
#include "page_fixture.h"

namespace {

using common::delay;
using sim::SimOs;

TEST(Delay, KeepsTimersRunningAndWaitsAcrossTheWrap) {
    PageFixture f;
    f.machine.setTickCount(0xFFFFFFFFu - 120);
    ui::TTimer timer(f.form, 9);
    int ticks = 0;
    timer.OnTimer = [&] { ++ticks; };
    timer.setInterval(100);
    timer.setEnabled(true);
    const auto t0 = f.machine.getTickCount();
    f.host.Delay(300);
    EXPECT_GE(f.machine.getTickCount() - t0, 300u);
    EXPECT_GE(ticks, 2);
}

TEST(Delay, WaitsTheFullTimeAcrossTheWrapAndPastTwoToThe31) {
    for (std::uint32_t start : {0xFFFFFF00u, 0x80000000u, 0x7FFFFFF0u, 5u}) {
        SimOs os;
        os.setTickCount(start);
        int pumps = 0;
        delay(os, 300, [&] {
            ++pumps;
            os.advance(7);
        });
        const std::uint32_t waited = os.getTickCount() - start;
        EXPECT_GE(waited, 300u) << start;
        EXPECT_LT(waited, 307u) << start;
        EXPECT_EQ(pumps, 43);
    }
}

TEST(Delay, ZeroOrLessStillDispatchesOnceAndIdleNeverOversleeps) {
    SimOs os;
    for (int ms : {0, -5, INT32_MIN}) {
        int pumps = 0;
        delay(os, ms, [&] { ++pumps; });
        EXPECT_EQ(pumps, 1);
    }
    std::vector<std::uint32_t> asked;
    delay(os, 150, [] {}, [&](std::uint32_t left) {
        asked.push_back(left);
        os.advance(left < 100 ? left : 100);
    });
    EXPECT_EQ(asked, (std::vector<std::uint32_t>{150, 50}));
}

}  // namespace
