// One loop-clear pass on the simulated NT machine with N processes and N list
// lines, for counting its instructions from outside (callgrind collects only
// inside measuredPass):
//   loopclear_count N allow|forbid
// allow: every process is listed; forbid: none is. Either way nothing ends,
// so the pass measured is a steady-state one, its module names cached.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/main_form.h"
#include "platform/sim/sim_os.h"
#include "restriction/rules.h"
#include "ui/headless/headless_app.h"

__attribute__((noinline)) void warmingPass(TfrmMain& form) { form.restriction.Timer1Timer(); }
__attribute__((noinline)) void measuredPass(TfrmMain& form) { form.restriction.Timer1Timer(); }

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: loopclear_count N allow|forbid\n");
        return 2;
    }
    const int n = std::atoi(argv[1]);
    const bool allow = std::string(argv[2]) == "allow";
    sim::SimOs os(sim::Family::NT);
    os.addProcess("[System Process]");
    std::vector<std::string> lines;
    for (int i = 1; i < n; ++i) {
        const std::string file = "prog" + std::to_string(i) + ".exe";
        os.addProcess(file, "C:\\Program Files\\App" + std::to_string(i % 97) + "\\" + file);
    }
    ui::headless::HeadlessApplication app(
        {[&os] { return os.getTickCount(); }, [&os](std::uint32_t ms) { os.advance(ms); }});
    TfrmMain form(app, os);
    form.start();
    form.restriction.RefreshHideList();
    std::vector<std::string> listed = form.restriction.ListHide.items();
    if (!allow) {
        form.restriction.GroupBox3.setCaption(restriction::kForbidCaption);
        for (std::string& l : listed) l = "NOT" + l;
    }
    form.restriction.List3.setItems(listed);
    warmingPass(form);  // fills the cache, as the passes before it would have
    const std::size_t before = os.runningProcesses().size();
    measuredPass(form);
    std::printf("%d processes, %zu lines, %s-mode: %zu processes still running\n", n,
                listed.size(), allow ? "allow" : "forbid", os.runningProcesses().size());
    return os.runningProcesses().size() == before ? 0 : 1;
}
