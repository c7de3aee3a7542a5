// A simulated day of the loop clear at a 1 s interval over a machine where
// programs start and end all the time, with the window hidden and shown and
// the process page refreshed: memory in use and open handles at the start
// and the end must stay flat.
//   long_run [HOURS]    24 by default
#include <malloc.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "unit/app_fixture.h"

namespace {

std::size_t memoryInUse() { return mallinfo2().uordblks; }

}  // namespace

int main(int argc, char** argv) {
    const int hours = argc > 1 ? std::atoi(argv[1]) : 24;
    AppFixture f;
    f.machine.addProcess("[System Process]");
    f.machine.addProcess("Morvane.exe", "C:\\Morvane\\Morvane.exe");
    for (int i = 0; i < 40; ++i) f.machine.addProcess("resident" + std::to_string(i) + ".exe");
    TfrmMain& w = f.start();
    w.PageControl1.userSelect(2);
    w.restriction.RadioGroup2.userSelect(1);
    w.restriction.List3.setItems({"INTRUDER.EXE"});
    w.restriction.SpeedButton1.userClick();

    std::size_t startMemory = 0;
    int startHandles = 0, startKeys = 0;
    const std::uint32_t seconds = static_cast<std::uint32_t>(hours) * 3600u;
    int intruders = 0, visitors = 0;
    for (std::uint32_t s = 0; s < seconds; ++s) {
        // Programs come and go: a visitor every second, gone 10 s later; an
        // intruder every 7 s, for the pass to end.
        const std::uint32_t id = f.machine.addProcess("visitor" + std::to_string(s % 50) + ".exe");
        ++visitors;
        f.machine.after(10000, [id](sim::SimOs& m) {
            if (sim::Process* p = m.process(id); p && p->running) p->running = false;
        });
        if (s % 7 == 0) {
            f.machine.addProcess("intruder.exe");
            ++intruders;
        }
        if (s % 600 == 0) w.peerMinimize();
        if (s % 600 == 300) w.N8Click();
        if (s % 900 == 0) w.process.RefreshProcessList();
        const std::uint32_t t0 = f.machine.getTickCount();
        while (f.machine.getTickCount() - t0 < 1000) f.application.processMessages();
        // The logs of the simulated machine and the toolkit are the test's,
        // not the program's: they are dropped as they go.
        f.machine.clearCalls();
        f.machine.forgetEnded();
        f.application.clearRecords();
        if (s == 600) {  // settled: every cache and list at its working size
            startMemory = memoryInUse();
            startHandles = f.machine.openHandles();
            startKeys = f.machine.openKeys();
        }
    }
    const std::size_t endMemory = memoryInUse();
    int stillIntruding = 0;
    for (const sim::Process& p : f.machine.runningProcesses()) stillIntruding += p.exeFile == "intruder.exe";
    std::printf("long run: %d simulated hours, %d visitors, %d intruders (%d still running)\n", hours,
                visitors, intruders, stillIntruding);
    std::printf("  memory in use: %zu bytes after 10 minutes, %zu at the end\n", startMemory, endMemory);
    std::printf("  open handles: %d after 10 minutes, %d at the end; open keys: %d, %d\n", startHandles,
                f.machine.openHandles(), startKeys, f.machine.openKeys());
    const bool flat = endMemory <= startMemory + 64 * 1024 && f.machine.openHandles() <= startHandles &&
                      f.machine.openKeys() <= startKeys && stillIntruding <= 1;
    if (!flat) std::printf("long run: NOT FLAT\n");
    return flat ? 0 : 1;
}
