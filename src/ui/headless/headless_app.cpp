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
    // What was posted before this pump; messages posted meanwhile wait.
    for (std::size_t n = posted_.size(); n > 0 && !posted_.empty(); --n) {
        const Posted p = posted_.front();
        posted_.pop_front();
        p.to->send(p.msg, p.wParam, p.lParam);
    }
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
    if (whileBoxOpen) whileBoxOpen();
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
    std::optional<std::string> a;
    if (!dialogAnswers_.empty()) {
        a = dialogAnswers_.front();
        dialogAnswers_.pop_front();
    }
    if (dialogFault)
        if (const unsigned long code = dialogFault(save)) fileDialogError(code);
    if (!a) return false;
    d.fileName = *a;
    return true;
}

void HeadlessApplication::popupMenu(TPopupMenu& menu, int x, int y) {
    ShownMenu shown{x, y, {}, std::nullopt};
    bool painted = false;
    for (auto* i : menu.items()) {
        if (i->enabled && !i->isSeparator()) shown.enabledIds.push_back(i->id());
        painted = painted || (i->visible && i->ownerDrawn());
    }
    std::optional<int> id;
    if (!menuChoices_.empty()) {
        id = menuChoices_.front();
        menuChoices_.pop_front();
    }
    if (painted) shown.picture.emplace(*this, menu, id);
    menus_.push_back(std::move(shown));
    if (!id) return;
    if (TMenuItem* item = menu.findItem(*id)) item->userClick();
}

bool HeadlessApplication::menuFont(TFont& font) {
    if (!systemMenuFont) return false;
    font = *systemMenuFont;
    return true;
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
    live_.erase(peer);
    if (focus == peer) focus = nullptr;
    if (hovered_ == peer) hovered_ = nullptr;
    std::erase_if(timers_, [&](const Timer& t) { return t.form == peer; });
    std::erase_if(posted_, [&](const Posted& p) { return p.to == peer; });
}

HeadlessPeer* HeadlessApplication::live(std::uintptr_t handle) const {
    auto* p = reinterpret_cast<HeadlessPeer*>(handle);
    return live_.count(p) ? p : nullptr;
}

void HeadlessApplication::postMessage(std::uintptr_t handle, std::uint32_t msg,
                                      std::uintptr_t wParam, std::intptr_t lParam) {
    if (HeadlessPeer* p = live(handle)) posted_.push_back({p, msg, wParam, lParam});
}

std::intptr_t HeadlessApplication::sendMessage(std::uintptr_t handle, std::uint32_t msg,
                                               std::uintptr_t wParam, std::intptr_t lParam) {
    HeadlessPeer* p = live(handle);
    return p ? p->send(msg, wParam, lParam) : 0;
}

void HeadlessApplication::hover(HeadlessPeer* peer) {
    if (peer && !peer->enabled()) peer = nullptr;
    HeadlessPeer* left = hovered_ != peer ? hovered_ : nullptr;
    hovered_ = peer;
    if (left) left->send(wm::MouseLeave, 0, 0);
    if (peer) peer->send(wm::MouseMove, 0, 0);
}

// --- HeadlessPeer

HeadlessPeer::HeadlessPeer(HeadlessApplication& app, PeerKind kind, PeerSink& sink,
                           HeadlessPeer* parent, int id)
    : app_(app), kind_(kind), sink_(sink), parent_(parent), id_(id),
      visible_(kind != PeerKind::Form) {
    app_.remember(this);
}

HeadlessPeer::~HeadlessPeer() {
    hooks().clear();
    app_.forget(this);
}

// The simulated window procedure: what the real control would do with the
// messages the setters send, and the form's messages for its handlers.
const HeadlessPeer::Handler HeadlessPeer::kHandlers[] = {
    {wm::SetText, &HeadlessPeer::onSetText},
    {wm::GetTextLength, &HeadlessPeer::onGetTextLength},
    {wm::BmSetCheck, &HeadlessPeer::onSetCheck},
    {wm::BmGetCheck, &HeadlessPeer::onGetCheck},
    {wm::SetFocus, &HeadlessPeer::onSetFocus},
    {wm::KillFocus, &HeadlessPeer::onKillFocus},
    {wm::Enable, &HeadlessPeer::onEnable},
    {wm::MouseMove, &HeadlessPeer::onMouseMove},
    {wm::MouseLeave, &HeadlessPeer::onMouseLeave},
    {wm::Paint, &HeadlessPeer::onPaint},
};

std::intptr_t HeadlessPeer::send(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) {
    TMessage m{msg, wParam, lParam, 0};
    hooks().dispatch(m, [this](TMessage& own) { windowProc(own); });
    return m.result;
}

void HeadlessPeer::windowProc(TMessage& m) {
    for (const Handler& h : kHandlers) {
        if (h.msg == m.msg) {
            (this->*h.handle)(m);
            return;
        }
    }
    if (kind_ != PeerKind::Form) return;
    bool handled = false;
    app_.guard([&] { handled = sink_.peerMessage(m); });
    if (!handled) m.result = 0;
}

// Each event the window reports is an event boundary of its own.
void HeadlessPeer::event(void (PeerSink::*raise)()) {
    app_.guard([&] { (sink_.*raise)(); });
}

void HeadlessPeer::onSetText(TMessage& m) {
    text_ = m.lParam ? reinterpret_cast<const char*>(m.lParam) : "";
    m.result = 1;
    notifyHooks(cm::TextChanged);
}

void HeadlessPeer::onGetTextLength(TMessage& m) { m.result = static_cast<std::intptr_t>(text_.size()); }

void HeadlessPeer::onSetCheck(TMessage& m) {
    const bool c = m.wParam == wm::BstChecked;
    if (c == checked_) return;
    checked_ = c;
    event(&PeerSink::peerCheckChanged);
}

void HeadlessPeer::onGetCheck(TMessage& m) {
    m.result = static_cast<std::intptr_t>(checked_ ? wm::BstChecked : wm::BstUnchecked);
}

void HeadlessPeer::onMouseMove(TMessage&) {
    if (hot_) return;
    hot_ = true;
    notifyHooks(cm::MouseEnter);
    event(&PeerSink::peerMouseEnter);
}

void HeadlessPeer::onMouseLeave(TMessage&) {
    if (!hot_) return;
    hot_ = false;
    notifyHooks(cm::MouseLeave);
    event(&PeerSink::peerMouseLeave);
}

void HeadlessPeer::onKillFocus(TMessage&) {
    notifyHooks(cm::Exit);
    event(&PeerSink::peerExit);
}

// One surface per window, as large as the window, kept between paints.
void HeadlessPeer::paintOver(bool, const std::function<void(TCanvas&, const TRect&)>& paint) {
    const int w = std::max(1, bounds_.width()), h = std::max(1, bounds_.height());
    if (!surface_ || surface_->width() != w || surface_->height() != h)
        surface_ = std::make_unique<MemoryCanvas>(w, h, clBtnFace);
    paint(*surface_, TRect{0, 0, w, h});
}

void HeadlessPeer::onPaint(TMessage&) {
    if (kind_ == PeerKind::Form) event(&PeerSink::peerPaint);
    event(&PeerSink::peerAfterPaint);
}

void HeadlessPeer::setText(const std::string& text) {
    send(wm::SetText, 0, reinterpret_cast<std::intptr_t>(text.c_str()));
}

void HeadlessPeer::setEnabled(bool e) {
    if (e == enabled_) return;
    enabled_ = e;
    send(wm::Enable, e ? 1 : 0, 0);
}

// As SetFocus: the window losing the focus hears it first.
void HeadlessPeer::setFocus() {
    HeadlessPeer* old = app_.focus;
    if (old == this) return;
    app_.focus = this;
    if (old) old->send(wm::KillFocus, handle(), 0);
    send(wm::SetFocus, old ? old->handle() : 0, 0);
}

void HeadlessPeer::setChecked(bool c) {
    send(wm::BmSetCheck, c ? wm::BstChecked : wm::BstUnchecked, 0);
}

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

std::uint32_t HeadlessApplication::registerMessage(const std::string& name) {
    auto [it, added] = registered_.try_emplace(name, 0xC000u + static_cast<std::uint32_t>(registered_.size()));
    return it->second;
}

int HeadlessPeer::position() const {
    positionError_ = false;
    if (!buddy_) return pos_;
    const std::string text = buddy_->text();
    const bool digits = !text.empty() && text.size() <= 6 &&
                        text.find_first_not_of("0123456789", text[0] == '-' ? 1 : 0) == std::string::npos &&
                        text != "-";
    const int v = digits ? std::stoi(text) : 0;
    if (digits && v >= std::min(lo_, hi_) && v <= std::max(lo_, hi_))
        pos_ = v;
    else
        positionError_ = true;
    return pos_;
}

int HeadlessPeer::insertRow(int at, const std::string& caption) {
    const bool listBox = kind_ == PeerKind::ListBox || kind_ == PeerKind::CheckListBox;
    if (listBox && app_.listBoxCapacity > 0 && count() >= app_.listBoxCapacity) return -1;
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
