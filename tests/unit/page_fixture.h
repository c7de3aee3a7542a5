// One page built without the window: a host that records what the page
// asks of the window, a bare form and page control, the simulated machine.
#pragma once
#include <algorithm>
#include <optional>

#include "app_fixture.h"
#include "common/page_host.h"

struct FakeHost final : common::PageHost {
    using PageHost::PageHost;
    void closeWindow() override { ++closes; }
    void hideToNotificationArea() override { ++hides; }
    void loopClearSwitched(bool on) override { loopClear = on; }
    void passwordGate(bool up) override { gateUp = up; }
    void loopIntervalSet(int seconds) override { interval = seconds; }
    void processesListed() override { ++listings; }
    std::uintptr_t hostHandle() const override { return 0x5151; }

    int closes = 0, hides = 0, listings = 0;
    std::optional<bool> loopClear, gateUp;
    std::optional<int> interval;
};

struct PageFixture {
    explicit PageFixture(sim::Family family = sim::Family::NT)
        : machine(family), application(clockOf(machine)), host(application, machine),
          form(application, "TPageTest"), pages(form, 1), normalList(form, 9901) {
        tieToMachine(application, machine);
        host.NormalPrograms = &normalList;
        host.IsWindowsNT = family == sim::Family::NT;
        host.AppDir = "C:\\Morvane\\";
    }
    // The form shown and `sheet` in front, as a user has them before a click.
    void open(ui::TTabSheet* sheet = nullptr) {
        if (!form.visible()) form.start();
        if (!sheet) return;
        const auto& all = pages.pages();
        pages.userSelect(static_cast<int>(std::find(all.begin(), all.end(), sheet) - all.begin()));
    }
    sim::SimOs machine;
    ui::headless::HeadlessApplication application;
    FakeHost host;
    ui::TForm form;
    ui::TPageControl pages;
    // The normal list the host answers with, as the settings page holds it.
    ui::TListBox normalList;
};
