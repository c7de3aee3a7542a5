// What every e2e test file shares.
#pragma once

#include <gtest/gtest.h>

#include "app/control_ids.h"
#include "e2e/driver.h"

namespace e2e {

// Runs a test body; a driver Failure (a wait that timed out, a control that
// is missing) becomes a test failure with its message.
template <class F>
void run(F body) {
    try {
        body();
    } catch (const Failure& f) {
        ADD_FAILURE() << f.what();
    }
}

// The settings are per user, and the user is shared by every test: a test
// that touches them starts and ends with none.
struct CleanSettings {
    static constexpr const char* kKey = "Software\\Zentrek";
    static constexpr const char* kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    CleanSettings() { clear(); }
    ~CleanSettings() { clear(); }
    CleanSettings(const CleanSettings&) = delete;
    CleanSettings& operator=(const CleanSettings&) = delete;
    static void clear() {
        deleteRegKey(HKEY_CURRENT_USER, kKey);
        deleteRegValue(HKEY_LOCAL_MACHINE, kRun, "Zentrek");
    }
};

}  // namespace e2e
