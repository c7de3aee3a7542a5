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

}  // namespace e2e
