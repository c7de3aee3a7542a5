// Waiting while the window stays responsive.
#pragma once
#include <cstdint>
#include <functional>

#include "platform/os.h"

namespace common {

// Returns once `ms` milliseconds have passed by the 32-bit tick count, counted
// modulo 2^32 so the wait is whole across the wrap and after 24.8 days of
// uptime. Pending messages are dispatched at least once, even for ms <= 0.
// `idle`, when given, may block for at most the time still left (or until a
// message arrives) so the wait does not spin the processor. `ending`, when
// given, ends the wait early once it is true: a program that was closed
// meanwhile must not wait on.
void delay(platform::Os& os, std::int32_t ms, const std::function<void()>& processMessages,
           const std::function<void(std::uint32_t remainingMs)>& idle = {},
           const std::function<bool()>& ending = {});

}  // namespace common
