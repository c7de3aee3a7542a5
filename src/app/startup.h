// The rules of start-up that need no window.
#pragma once
#include <string>
#include <vector>

#include "common/process_record.h"
#include "platform/os.h"

namespace app {

// Centred position of a window on a screen along one axis. The division
// truncates toward zero, so a window 3 pixels wider than the screen stands
// at -1, not -2.
constexpr int centredOrigin(int screenSize, int windowSize) {
    return (screenSize - windowSize) / 2;
}

// True when Windows reports the NT platform; false on 95, 98 and Me and when
// the version cannot be read.
bool isNtPlatform(platform::Os& os);

// The executable name of every process of a snapshot as Toolhelp reported
// it, ASCII upper-cased, in snapshot order, duplicates kept.
std::vector<std::string> programNames(const common::ProcessSnapshot& snapshot);

}  // namespace app
