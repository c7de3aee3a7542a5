// The clock, which moves only when told to, and the actions that fall due.
#include "platform/sim/sim_state.h"

namespace sim {

void SimOs::after(std::uint32_t ms, std::function<void(SimOs&)> action) {
    s_->due.emplace(s_->elapsed + ms, std::move(action));
}

void SimOs::setTickCount(std::uint32_t ticks) { s_->ticks = ticks; }

void SimOs::advance(std::uint32_t ms) {
    s_->ticks += ms;
    s_->elapsed += ms;
    // Actions may schedule more; each runs once, in the order they fall due.
    while (!s_->due.empty() && s_->due.begin()->first <= s_->elapsed) {
        auto action = std::move(s_->due.begin()->second);
        s_->due.erase(s_->due.begin());
        action(*this);
    }
}

std::uint32_t SimOs::getTickCount() {
    s_->log("GetTickCount", "");
    return s_->ticks;
}

}  // namespace sim
