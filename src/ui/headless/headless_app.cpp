#include "ui/headless/headless_app.h"

#include <algorithm>
#include <climits>

#include "ui/controls.h"
#include "ui/dialogs.h"
#include "ui/menus.h"

namespace ui::headless {

HeadlessApplication::HeadlessApplication(Clock clock) : clock_(std::move(clock)) {}

HeadlessApplication::~HeadlessApplication() = default;

std::unique_ptr<Peer> HeadlessApplication::createPeer(PeerKind kind, TControl& owner,
                                                      Peer* parent, int id) {
    return std::make_unique<HeadlessPeer>(*this, kind, owner, static_cast<HeadlessPeer*>(parent),
                                          id);
}

std::uint32_t HeadlessApplication::now() const {
    return clock_.now ? clock_.now() : ownTicks_;
}

void HeadlessApplication::advance(std::uint32_t ms) {
    if (clock_.advance) clock_.advance(ms);
    else ownTicks_ += ms;
}

void HeadlessApplication::processMessages() {
    const std::uint32_t t0 = now();
    std::int64_t soonest = INT64_MAX;
    for (const Timer& t : timers_)
        soonest = std::min<std::int64_t>(soonest, static_cast<std::int32_t>(t.due - t0));
    if (soonest > static_cast<std::int64_t>(stepMs)) {
        advance(stepMs);
        return;
    }
    if (soonest > 0) advance(static_cast<std::uint32_t>(soonest));
    const std::uint32_t t1 = now();
    // One message per due timer; a timer that is late by several intervals
    // still fires once, as WM_TIMER does.
    std::vector<std::pair<HeadlessPeer*, int>> due;
    for (const Timer& t : timers_)
        if (static_cast<std::int32_t>(t.due - t1) <= 0) due.push_back({t.form, t.id});
    for (auto [form, id] : due) {
        auto it = std::find_if(timers_.begin(), timers_.end(),
                               [&](const Timer& t) { return t.form == form && t.id == id; });
        if (it == timers_.end() || static_cast<std::int32_t>(it->due - t1) > 0) continue;
        it->due = t1 + it->interval;
        PeerSink& sink = form->sink();
        guard([&] { sink.peerTimer(id); });
    }
}

int HeadlessApplication::run() {
    // Bounded, so a test that forgets to end the program cannot hang.
    for (int i = 0; i < 1000000 && !terminated(); ++i) processMessages();
    return 0;
}

int HeadlessApplication::messageBox(const std::string& text, const std::string& caption,
                                    unsigned flags) {
    messages_.push_back({text, caption, flags});
    if (!answers_.empty()) {
        int a = answers_.front();
        answers_.pop_front();
        return a;
    }
    switch (flags & 0xF) {
    case mb::YesNo: return answer::Yes;
    default: return answer::Ok;
    }
}

std::vector<std::string> HeadlessApplication::errors() const {
    std::vector<std::string> out;
    for (auto& m : messages_)
        if (m.caption == kErrorCaption && (m.flags & 0xF0) == mb::IconError) out.push_back(m.text);
    return out;
}

bool HeadlessApplication::runFileDialog(TFileDialog& d, bool save) {
    dialogs_.push_back({save, d.title, d.filter, d.defaultExt, d.fileName, d.options});
    if (dialogAnswers_.empty()) return false;
    auto a = dialogAnswers_.front();
    dialogAnswers_.pop_front();
    if (!a) return false;
    d.fileName = *a;
    return true;
}

void HeadlessApplication::popupMenu(TPopupMenu& menu, int x, int y) {
    ShownMenu shown{x, y, {}};
    for (auto* i : menu.items())
        if (i->enabled && !i->isSeparator()) shown.enabledIds.push_back(i->id());
    menus_.push_back(shown);
    if (menuChoices_.empty()) return;
    const int id = menuChoices_.front();
    menuChoices_.pop_front();
    if (TMenuItem* item = menu.findItem(id)) item->userClick();
}

std::uintptr_t HeadlessApplication::loadImageList(const std::string&, int, int, TColor,
                                                  int& count) {
    count = 8;
    return 1;
}

void HeadlessApplication::clearRecords() {
    messages_.clear();
    dialogs_.clear();
    menus_.clear();
}

void HeadlessApplication::setTimer(HeadlessPeer* form, int id, unsigned ms) {
    const std::uint32_t due = now() + ms;
    for (Timer& t : timers_) {
        if (t.form == form && t.id == id) {
            t.interval = ms;
            t.due = due;
            return;
        }
    }
    timers_.push_back({form, id, ms, due});
}

void HeadlessApplication::killTimer(HeadlessPeer* form, int id) {
    std::erase_if(timers_, [&](const Timer& t) { return t.form == form && t.id == id; });
}

void HeadlessApplication::forget(HeadlessPeer* peer) {
    if (focus == peer) focus = nullptr;
    std::erase_if(timers_, [&](const Timer& t) { return t.form == peer; });
}

// --- HeadlessPeer

HeadlessPeer::HeadlessPeer(HeadlessApplication& app, PeerKind kind, PeerSink& sink,
                           HeadlessPeer* parent, int id)
    : app_(app), kind_(kind), sink_(sink), parent_(parent), id_(id),
      visible_(kind != PeerKind::Form) {}

HeadlessPeer::~HeadlessPeer() { app_.forget(this); }

void HeadlessPeer::setBounds(int left, int top, int width, int height) {
    bounds_ = {left, top, left + width, top + height};
}

void HeadlessPeer::setClientSize(int width, int height) {
    bounds_.right = bounds_.left + width + kFrameWidth;
    bounds_.bottom = bounds_.top + height + kFrameHeight;
}

void HeadlessPeer::bringToFront() {
    static int counter = 0;
    z_ = ++counter;
}

std::string HeadlessPeer::cell(int row, int col) const {
    if (row < 0 || row >= count() || col < 0) return {};
    const auto& cells = rows_[static_cast<size_t>(row)].cells;
    return col < static_cast<int>(cells.size()) ? cells[static_cast<size_t>(col)] : std::string();
}

void HeadlessPeer::setCell(int row, int col, const std::string& text) {
    if (row < 0 || row >= count() || col < 0) return;
    auto& cells = rows_[static_cast<size_t>(row)].cells;
    if (col >= static_cast<int>(cells.size())) cells.resize(static_cast<size_t>(col) + 1);
    cells[static_cast<size_t>(col)] = text;
}

int HeadlessPeer::insertRow(int at, const std::string& caption) {
    if (at < 0 || at > count()) at = count();
    rows_.insert(rows_.begin() + at, Row{{caption}, 0});
    if (kind_ != PeerKind::PageControl && itemIndex_ >= at) ++itemIndex_;
    return at;
}

void HeadlessPeer::deleteRow(int row) {
    if (row < 0 || row >= count()) return;
    rows_.erase(rows_.begin() + row);
    if (itemIndex_ == row) itemIndex_ = -1;
    else if (itemIndex_ > row) --itemIndex_;
}

void HeadlessPeer::clearRows() {
    rows_.clear();
    itemIndex_ = -1;
}

void HeadlessPeer::setItemIndex(int row) { itemIndex_ = row >= 0 && row < count() ? row : -1; }

std::intptr_t HeadlessPeer::itemData(int row) const {
    return row >= 0 && row < count() ? rows_[static_cast<size_t>(row)].data : 0;
}

void HeadlessPeer::setItemData(int row, std::intptr_t data) {
    if (row >= 0 && row < count()) rows_[static_cast<size_t>(row)].data = data;
}

TRect HeadlessPeer::displayRect() const {
    return {4, 24, std::max(4, bounds_.width() - 4), std::max(24, bounds_.height() - 4)};
}

}  // namespace ui::headless
