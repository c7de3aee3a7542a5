// The simulated machine as a whole: made, emptied, and its log of calls.
#include "platform/sim/sim_state.h"

#include <algorithm>

namespace sim {

SimOs::SimOs(Family family) : s_(std::make_unique<State>()) { s_->family = family; }
SimOs::~SimOs() = default;

void SimOs::reset(Family family) {
    s_ = std::make_unique<State>();
    s_->family = family;
}

Family SimOs::family() const { return s_->family; }
void SimOs::setFamily(Family f) { s_->family = f; }

// --- Observing -------------------------------------------------------------

const std::vector<Call>& SimOs::calls() const { return s_->calls; }

std::size_t SimOs::countCalls(const std::string& name) const {
    std::string ansi = name + "A";
    return std::count_if(s_->calls.begin(), s_->calls.end(),
                         [&](const Call& c) { return c.name == name || c.name == ansi; });
}

void SimOs::clearCalls() { s_->calls.clear(); }

}  // namespace sim
