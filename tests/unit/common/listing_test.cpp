// The module-name cache the process listings share.
#include <gtest/gtest.h>

#include "app_fixture.h"
#include "common/listing.h"

namespace {

using sim::Family;

// The cache gives the lines a fresh read would, while processes come, go and
// hand their identifiers on.
TEST(ModuleNameCache, LinesStayThoseOfAnUncachedListing) {
    sim::SimOs os(Family::NT);
    os.addProcess("[System Process]");
    const auto a = os.addProcess("a.exe", "C:\\A\\Alpha.exe");
    os.addProcess("b.exe");
    common::ModuleNameCache cache;
    auto same = [&] {
        const auto cached = common::listHidden(os, true, &cache);
        EXPECT_EQ(cached.lines, common::listHidden(os, true).lines);
        EXPECT_EQ(common::listProcesses(os, true, &cache).lines,
                  common::listProcesses(os, true).lines);
    };
    same();
    const auto reads = os.countCalls("Module32First");
    common::listHidden(os, true, &cache);
    EXPECT_EQ(os.countCalls("Module32First"), reads) << "nothing new, nothing read";

    os.process(a)->running = false;
    const auto c = os.addProcess("c.exe", "C:\\C\\Gamma.exe");
    same();
    EXPECT_EQ(cache.size(), 2u) << "the ended process left the cache";
    // Its identifier goes to another program, then to one of the first name.
    auto endAndReuse = [&](std::uint32_t id, const char* exe, const char* path) {
        os.process(id)->running = false;
        os.addProcess(exe, path, id);
    };
    endAndReuse(c, "d.exe", "C:\\D\\Delta.exe");
    same();
    endAndReuse(c, "d.exe", "C:\\D\\Delta.exe");
    same();
    // The same entry name again, but another program, started by another
    // parent: its own module, not the cached one.
    endAndReuse(c, "d.exe", "C:\\E\\Epsilon.exe");
    os.process(c)->parentId = 77;
    same();
    EXPECT_EQ(lastOf(common::listHidden(os, true, &cache).lines), "EPSILON.EXE");
    const auto u = os.addProcess("u.exe");
    os.process(u)->modulesUnreadable = true;
    same();
    os.process(u)->modulesUnreadable = false;
    same();
}

}  // namespace
