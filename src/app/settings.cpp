// The settings store of TfrmMain: the pages that show settings load them at
// start and save them at the close, each on its own.
#include "app/main_form.h"

void TfrmMain::LoadSettings() {
    programSettings.generalSettings.loadSettings();
    Application.guard([this] { programSettings.normalPrograms.loadSettings(); });
}

namespace {
// What a save step raised, in the words the user is shown; empty when it saved.
template <class Step>
std::string failureOf(Step&& step) {
    try {
        step();
    } catch (const std::exception& e) {
        const char* what = e.what();
        return *what ? what : "Unknown error";
    }
    return {};
}
}  // namespace

// Each page goes on its own, so one that fails never keeps the other from
// being stored.
TfrmMain::SaveFailures TfrmMain::SaveSettings(bool mayAsk) {
    SaveFailures failed;
    failed.interval = failureOf([this] { programSettings.generalSettings.saveSettings(); });
    failed.list = failureOf([this, mayAsk] { programSettings.normalPrograms.saveSettings(mayAsk); });
    return failed;
}
