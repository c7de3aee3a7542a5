// The host's Delay, with the window's timers running meanwhile.
#include <gtest/gtest.h>

#include "page_fixture.h"

namespace {

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

}  // namespace
