// The long run's figures taken of a helper whose memory and handles are
// changed from here by known amounts: they must move by exactly those.
#include <gtest/gtest.h>

#include "e2e/driver.h"
#include "soak/measure.h"

using namespace e2e;

namespace {

constexpr SIZE_T kMb = 1024 * 1024;

// The helper idles in Sleep once its start-up is over; from then on its own
// figures stand still, so every change is ours.
struct Idle {
    Session s;
    Process& p = s.startHelper("soakidle.exe", "--sleep");
    Idle() {
        std::uint64_t bytes = 0;
        long handles = 0;
        int same = 0;
        waitFor([&] {
            const std::uint64_t b = soak::privateBytes(p.handle());
            const long h = soak::handleCount(p.pid());
            same = b == bytes && h == handles ? same + 1 : 0;
            bytes = b;
            handles = h;
            Sleep(100);
            return same >= 5;
        });
    }
};

TEST(SoakFigures, PrivateBytesCountCommittedPrivateMemoryOnly) {
    ASSERT_TRUE(Session::haveHelper()) << "MORVANE_HELPER is not set";
    Idle idle;
    const HANDLE h = idle.p.handle();
    const std::uint64_t before = soak::privateBytes(h);
    EXPECT_GT(before, 0u);

    char* reserved = static_cast<char*>(VirtualAllocEx(h, nullptr, 16 * kMb, MEM_RESERVE, PAGE_READWRITE));
    ASSERT_NE(reserved, nullptr);
    EXPECT_EQ(soak::privateBytes(h), before) << "reserved memory was counted";

    ASSERT_NE(VirtualAllocEx(h, reserved, 8 * kMb, MEM_COMMIT, PAGE_READWRITE), nullptr);
    EXPECT_EQ(soak::privateBytes(h), before + 8 * kMb);

    VirtualFreeEx(h, reserved, 0, MEM_RELEASE);
    EXPECT_EQ(soak::privateBytes(h), before);
}

TEST(SoakFigures, HandlesAreCountedForTheirOwnerOnly) {
    ASSERT_TRUE(Session::haveHelper()) << "MORVANE_HELPER is not set";
    Idle idle;
    const DWORD pid = idle.p.pid();
    const long before = soak::handleCount(pid);
    ASSERT_GT(before, 0) << "the system handle list has no entry of a running process";
    const long ours = soak::handleCount(GetCurrentProcessId());

    std::vector<HANDLE> given;
    for (int i = 0; i < 100; ++i) {
        HANDLE e = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        HANDLE there = nullptr;
        ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), e, idle.p.handle(), &there, 0, FALSE,
                                    DUPLICATE_SAME_ACCESS | DUPLICATE_CLOSE_SOURCE));
        given.push_back(there);
    }
    EXPECT_EQ(soak::handleCount(pid), before + 100);
    EXPECT_EQ(soak::handleCount(GetCurrentProcessId()), ours) << "handles given away stayed ours";

    for (HANDLE there : given) {
        HANDLE back = nullptr;
        if (DuplicateHandle(idle.p.handle(), there, GetCurrentProcess(), &back, 0, FALSE,
                            DUPLICATE_SAME_ACCESS | DUPLICATE_CLOSE_SOURCE))
            CloseHandle(back);
    }
    EXPECT_EQ(soak::handleCount(pid), before);
}

TEST(SoakFigures, WindowsCountTheOwnersTreeAndWorkingSetIsRead) {
    ASSERT_TRUE(Session::haveHelper()) << "MORVANE_HELPER is not set";
    Session s;
    Process& plain = s.startHelper("soakplain.exe", "--sleep");
    Process& shown = s.startHelper("soakshown.exe", "--title soakfigures");
    ASSERT_TRUE(waitFor([&] { return findTopWindow(shown.pid(), "soakfigures") != nullptr; }));
    // Wine adds a hidden IME window to a thread with windows.
    EXPECT_GE(soak::windowCount(shown.pid()), 1);
    EXPECT_EQ(soak::windowCount(plain.pid()), 0);
    EXPECT_GT(soak::measure(shown.handle(), shown.pid()).workingSet, 0u);
}

// Figures of a run: one sample a minute, bytes and handles as given.
std::vector<soak::Sample> run(const std::vector<std::pair<std::uint64_t, long>>& figures) {
    std::vector<soak::Sample> out;
    for (const auto& [bytes, handles] : figures) {
        soak::Sample s{static_cast<double>(out.size()), {}};
        s.f.privateBytes = bytes;
        s.f.handles = handles;
        out.push_back(s);
    }
    return out;
}

TEST(SoakGrowth, WarnsOfALeakButNotOfWhatFillsAndStops) {
    constexpr std::uint64_t base = 10 * kMb;
    // Lists and caches filled in the first minute, then flat.
    const auto filled = run({{base, 30}, {base + 6 * kMb, 60}, {base + 6 * kMb, 60}, {base + 6 * kMb, 61},
                             {base + 6 * kMb, 60}});
    EXPECT_FALSE(soak::growthSince(filled, 1).bytesUnbounded);
    EXPECT_FALSE(soak::growthSince(filled, 1).handlesUnbounded);

    // A handle a pass: some every minute, to the end.
    std::vector<std::pair<std::uint64_t, long>> leaking;
    for (long m = 0; m <= 10; ++m) leaking.push_back({base + m * kMb / 2, 30 + 60 * m});
    const soak::Growth g = soak::growthSince(run(leaking), 1);
    EXPECT_TRUE(g.handlesUnbounded);
    EXPECT_EQ(g.handles, 540);
    EXPECT_TRUE(g.bytesUnbounded);

    // Grew after settling, but only in the first half: bounded.
    const auto stepped = run({{base, 30}, {base, 30}, {base + 4 * kMb, 90}, {base + 4 * kMb, 90},
                              {base + 4 * kMb, 90}, {base + 4 * kMb, 90}});
    EXPECT_FALSE(soak::growthSince(stepped, 1).bytesUnbounded);
    EXPECT_FALSE(soak::growthSince(stepped, 1).handlesUnbounded);
}

TEST(SoakGrowth, NoHandleVerdictWithoutHandleFigures) {
    const auto unknown = run({{kMb, -1}, {kMb, -1}, {kMb, -1}, {kMb, -1}});
    EXPECT_FALSE(soak::growthSince(unknown, 1).handlesUnbounded);
    EXPECT_EQ(soak::growthSince(unknown, 1).handles, 0);
}

}  // namespace
