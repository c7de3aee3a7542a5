#include "ui/hooks.h"

#include <algorithm>

namespace ui {

void TMessageNext::operator()(TMessage& m) const {
    for (std::size_t i = below_; i-- > 0;) {
        const detail::HookSlot& slot = *slots_[i];
        if (slot.removed) continue;
        slot.fn(m, TMessageNext(slots_, i, own_));
        return;
    }
    own_(m);
}

THookRegistration& THookRegistration::operator=(THookRegistration&& other) noexcept {
    if (this != &other) {
        remove();
        chain_ = std::move(other.chain_);
        slot_ = std::move(other.slot_);
    }
    return *this;
}

void THookRegistration::remove() {
    auto slot = slot_.lock();
    auto chain = chain_.lock();
    slot_.reset();
    chain_.reset();
    if (!slot) return;
    // A message under way holds the slot; it skips it from now on and the
    // hook's function lives until that message is done.
    slot->removed = true;
    if (chain) std::erase(*chain, slot);
}

bool THookRegistration::installed() const {
    auto slot = slot_.lock();
    return slot && !slot->removed && !chain_.expired();
}

THookRegistration THookChain::install(THookFunction fn) {
    // Not make_shared: its control block pulls in the library's type checks.
    std::shared_ptr<detail::HookSlot> slot(new detail::HookSlot);
    slot->fn = std::move(fn);
    slots_->push_back(slot);
    return THookRegistration(slots_, slot);
}

void THookChain::clear() {
    for (auto& s : *slots_) s->removed = true;
    slots_->clear();
}

void THookChain::dispatch(TMessage& m, const std::function<void(TMessage&)>& own) {
    if (slots_->empty()) {
        own(m);
        return;
    }
    // A copy: hooks may come and go while this message runs through them.
    const detail::HookSlots snapshot = *slots_;
    TMessageNext(snapshot, snapshot.size(), own)(m);
}

}  // namespace ui
