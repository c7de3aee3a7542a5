// The cost of the flat look under Wine: the whole window painted, page by
// page, with the look active against without it, rounds alternating in one
// run so both see the same machine.
//   paint_bench [ROUNDS=20]
// Prints the figures; never fails by time.
#include "platform/win32/win.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <vector>

#include "app/main_form.h"
#include "timing.h"
#include "platform/win32/win32_os.h"
#include "ui/win32/win32_app.h"

namespace {

using bench::median;
using bench::nowMs;

// Every page shown in turn and painted at once, frame and children included;
// only the painting is timed.
double paintAllPages(TfrmMain& form, ui::TApplication& app) {
    HWND h = reinterpret_cast<HWND>(form.handle());
    double ms = 0;
    for (ui::TTabSheet* page : form.PageControl1.pages()) {
        form.PageControl1.setActivePage(*page);
        app.processMessages();
        const double t = nowMs();
        RedrawWindow(h, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        ms += nowMs() - t;
    }
    return ms;
}

// Switching the look also repaints what it takes over or lets go (the
// controls let go at their next message): one untimed pass settles it.
void lookActive(TfrmMain& form, ui::TApplication& app, bool on) {
    form.XPMenu1.setActive(on);
    paintAllPages(form, app);
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    try {
        ui::win32::Win32Application application(GetModuleHandleW(nullptr));
        platform::Win32Os platform;
        TfrmMain form(application, platform);
        form.show();
        application.processMessages();
        paintAllPages(form, application);  // fonts and bitmaps into the server, not counted

        std::vector<double> with, without, ratio;
        for (int r = 0; r < rounds; ++r) {
            double on = 0, off = 0;
            for (int k = 0; k < 2; ++k) {
                const bool active = (r + k) % 2 == 0;
                lookActive(form, application, active);
                (active ? on : off) = paintAllPages(form, application);
            }
            with.push_back(on);
            without.push_back(off);
            ratio.push_back(on / std::max(off, 1e-6));
        }
        std::printf("whole window, %zu pages, %d rounds (median ms per full paint)\n",
                    form.PageControl1.pages().size(), rounds);
        std::printf("  with the look:    %8.2f ms\n", median(with));
        std::printf("  without the look: %8.2f ms\n", median(without));
        std::printf("  ratio with/without (median of rounds): %.2f (aim: under 1.5)\n", median(ratio));
    } catch (const std::exception& e) {
        std::printf("paint benchmark failed: %s\n", e.what());
        return 1;
    }
    return 0;
}
