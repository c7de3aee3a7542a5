// The settings store of TfrmMain: loading at start and the save at close.
#include <functional>

#include "app/main_form.h"
#include "common/lists.h"
#include "platform/registry.h"
#include "process/normal_list.h"
#include "process/page.h"
#include "settings/store.h"

// Each stored item is read on its own: one that cannot be read is shown and
// the others still come, and a value never read is never written back.
void TfrmMain::LoadSettings() {
    intervalNotRead_ = generalSettings.UpDown1.position();
    {
        platform::Registry reg(os, platform::RootKey::CurrentUser);
        // The gate goes up first: the tick writes the value back, and a
        // write that fails must not leave the pages open. A key or value
        // that cannot be read keeps the gate up too: whether a password is
        // asked for is not known.
        auto raiseGate = [this] {
            passwordPanel.Panel2.show();
            N1.enabled = false;
        };
        auto gated = [&](const std::function<void()>& read) {
            Application.guard([&] {
                try {
                    read();
                } catch (...) {
                    raiseGate();
                    throw;
                }
            });
        };
        bool opened = false;
        gated([&] {
            settings::openSettingsToRead(reg);
            opened = true;
        });
        if (opened) {
            gated([&] {
                if (!settings::isYes(reg.readString("RunByPass"))) return;
                raiseGate();
                generalSettings.ChkRunByPass.setChecked(true);
            });
            Application.guard([&] {
                const bool minimised = settings::isYes(reg.readString("RunAutoMin"));
                generalSettings.ChkMin.setChecked(minimised);
                StartMinimized = minimised;
            });
            Application.guard([&] {
                const std::string killTime = reg.readString("KillTime");
                intervalNotRead_ = 0;
                if (killTime.empty()) return;
                const int v = settings::toInteger(killTime);
                if (v >= settings::kMinKillTime && v <= settings::kMaxKillTime) {
                    generalSettings.UpDown1.setPosition(v);
                    restriction.Timer1.setInterval(static_cast<unsigned>(v) * 1000u);
                }
            });
        }
    }
    Application.guard([this] {
        platform::Registry run(os, platform::RootKey::LocalMachine);
        platform::ignore(run.openKey(settings::kRunKey, true),
                         "a Run key this user may not open reads as empty: the box stays unticked");
        const platform::Result<std::string> exe = os.exePath();
        if (exe && run.readString(settings::kRunValue) == *exe)
            generalSettings.ChkAutoRun.setChecked(true);
    });
    Application.guard([this] {
        process::loadNormalAppList(os, AppDir, normalPrograms.ListApp);
        normalListLoaded_ = true;
    });
}

// A Napplst.dat that start-up did not read (nor the copy a cut save left
// aside) is not what the list shows: it is replaced only when the user
// changed the list, and then only after a question. Without a question to
// ask (the session is ending) it is left alone.
void TfrmMain::saveNormalList(bool mayAsk) {
    if (!normalListLoaded_) {
        // Start-up leaves the list empty when it did not load the file: an
        // empty one is unchanged, and the file is not even looked for.
        if (normalPrograms.ListApp.count() == 0) return;
        if (process::normalListStored(os, AppDir) &&
            (!mayAsk || !common::confirmed(Application, settings::kUnloadedListQuestion)))
            return;
    }
    process::saveNormalAppList(os, AppDir, normalPrograms.ListApp);
    normalListLoaded_ = true;
}

// Reading the position brings a field the user left with no number in range
// back to what counts, so a bad text is never stored to stop the next start.
// An interval start-up could not read stays as stored unless the user set
// another; once one is stored, every later one is.
void TfrmMain::saveInterval() {
    if (generalSettings.UpDown1.position() == intervalNotRead_) return;
    settings::writeSetting(os, "KillTime", generalSettings.Edit4.text());
    intervalNotRead_ = 0;
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

// Each item goes on its own, so one that fails never keeps the other from
// being stored.
TfrmMain::SaveFailures TfrmMain::SaveSettings(bool mayAsk) {
    SaveFailures failed;
    failed.interval = failureOf([this] { saveInterval(); });
    failed.list = failureOf([this, mayAsk] { saveNormalList(mayAsk); });
    return failed;
}
