// Window procedures put in front of a control's own: each hook sees a
// message first and decides whether to hand it on. Hooks come and go in any
// order; the chain is held by the control's peer, so removing one hook never
// takes another (or the peer's own procedure) off the window.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace ui {

// One window message; result is what its sender gets back.
struct TMessage {
    std::uint32_t msg = 0;
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;
    std::intptr_t result = 0;
};

class TMessageNext;

// A hook as a function: next(m) hands the message on (to the hooks put in
// before this one, then to the control); not calling it swallows it.
using THookFunction = std::function<void(TMessage& m, const TMessageNext& next)>;

// A hook as an object, for painters that keep state per control.
class TMessageHook {
public:
    virtual ~TMessageHook() = default;
    virtual void hookMessage(TMessage& m, const TMessageNext& next) = 0;
};

namespace detail {
struct HookSlot {
    THookFunction fn;
    bool removed = false;
};
using HookSlots = std::vector<std::shared_ptr<HookSlot>>;
}  // namespace detail

class TMessageNext {
public:
    // Hands m on; m.result holds what the rest of the chain answered.
    void operator()(TMessage& m) const;

private:
    friend class THookChain;
    using Own = std::function<void(TMessage&)>;
    TMessageNext(const detail::HookSlots& slots, std::size_t below, const Own& own)
        : slots_(slots), below_(below), own_(own) {}
    const detail::HookSlots& slots_;
    std::size_t below_;
    const Own& own_;
};

class THookChain;

// Keeps one hook in its chain while it lives. Removing it, or destroying the
// registration, is safe at any time: from inside the hook itself, after
// other hooks went, after the control went.
class THookRegistration {
public:
    THookRegistration() = default;
    THookRegistration(THookRegistration&& other) noexcept = default;
    THookRegistration& operator=(THookRegistration&& other) noexcept;
    THookRegistration(const THookRegistration&) = delete;
    THookRegistration& operator=(const THookRegistration&) = delete;
    ~THookRegistration() { remove(); }

    void remove();
    // Still in the chain of a living control.
    bool installed() const;

private:
    friend class THookChain;
    THookRegistration(std::weak_ptr<detail::HookSlots> chain, std::weak_ptr<detail::HookSlot> slot)
        : chain_(std::move(chain)), slot_(std::move(slot)) {}
    std::weak_ptr<detail::HookSlots> chain_;
    std::weak_ptr<detail::HookSlot> slot_;
};

class THookChain {
public:
    THookChain() : slots_(new detail::HookSlots) {}
    ~THookChain() { clear(); }
    THookChain(const THookChain&) = delete;
    THookChain& operator=(const THookChain&) = delete;

    // The newest hook sees a message first.
    [[nodiscard]] THookRegistration install(THookFunction fn);
    bool empty() const { return slots_->empty(); }
    // Takes every hook off; their registrations stay valid and do nothing.
    void clear();
    // Runs m through the hooks, then through own (the control's procedure).
    // A hook put in while a message is under way sees the next one; a hook
    // taken off before its turn does not see this one.
    void dispatch(TMessage& m, const std::function<void(TMessage&)>& own);

private:
    std::shared_ptr<detail::HookSlots> slots_;  // oldest first
};

}  // namespace ui
