#include "common/delay.h"

namespace common {

void delay(platform::Os& os, std::int32_t ms, const std::function<void()>& processMessages,
           const std::function<void(std::uint32_t)>& idle, const std::function<bool()>& ending) {
    const std::uint32_t start = os.getTickCount();
    const std::uint32_t wanted = ms > 0 ? static_cast<std::uint32_t>(ms) : 0;
    for (;;) {
        processMessages();
        if (ending && ending()) return;
        const std::uint32_t elapsed = os.getTickCount() - start;
        if (elapsed >= wanted) return;
        if (idle) idle(wanted - elapsed);
    }
}

}  // namespace common
