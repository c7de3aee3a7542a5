// The main window on the simulated machine, with the in-memory peers.
// Pumping messages moves the machine's clock.
#pragma once
#include <memory>

#include "app/main_form.h"
#include "platform/sim/sim_os.h"
#include "ui/headless/headless_app.h"

inline ui::headless::Clock clockOf(sim::SimOs& machine) {
    return {[&machine] { return machine.getTickCount(); },
            [&machine](std::uint32_t ms) { machine.advance(ms); }};
}

// The application's file dialogs fail as the machine's fault plan says.
inline void tieToMachine(ui::headless::HeadlessApplication& application, sim::SimOs& machine) {
    application.dialogFault = [&machine](bool save) { return machine.fileDialog(save); };
}

// The last element, or an empty one: a test compares where back() would crash.
template <class Seq>
typename Seq::value_type lastOf(const Seq& seq) {
    return seq.empty() ? typename Seq::value_type{} : seq.back();
}

struct AppFixture {
    explicit AppFixture(sim::Family family = sim::Family::NT)
        : machine(family), application(clockOf(machine)) {
        tieToMachine(application, machine);
    }

    // Builds the window and runs its start-up, as the entry point does.
    TfrmMain& start() {
        form = std::make_unique<TfrmMain>(application, machine);
        form->start();
        return *form;
    }

    sim::SimOs machine;
    ui::headless::HeadlessApplication application;
    std::unique_ptr<TfrmMain> form;
};
