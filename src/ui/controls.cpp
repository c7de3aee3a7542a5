#include "ui/controls.h"

#include <algorithm>

#include "ui/canvas.h"
#include "ui/menus.h"

namespace ui {

// --- TControl

TControl::TControl(TWinControl& parent, PeerKind kind, int id)
    : app_(parent.app()), parent_(&parent), form_(&parent.form()), id_(id),
      font_(parent.font()) {
    peer_ = app_.createPeer(kind, *this, &parent.peer(), id);
    parent.children_.push_back(this);
    peer_->setFont(font_);
}

TControl::TControl(TApplication& app, PeerKind kind, int id) : app_(app), id_(id) {
    form_ = static_cast<TForm*>(this);
    peer_ = app_.createPeer(kind, *this, nullptr, id);
    peer_->setFont(font_);
}

TControl::~TControl() {
    if (parent_) {
        auto& c = parent_->children_;
        c.erase(std::remove(c.begin(), c.end(), this), c.end());
    }
    peer_.reset();
}

TWinControl::~TWinControl() = default;

void TControl::setBounds(int left, int top, int width, int height) {
    peer_->setBounds(left, top, width, height);
}

bool TControl::showing() const {
    for (const TControl* c = this; c; c = c->parent_)
        if (!c->visible()) return false;
    return true;
}

bool TControl::usable() const {
    if (!showing()) return false;
    for (const TControl* c = this; c; c = c->parent_)
        if (!c->enabled()) return false;
    return true;
}

void TControl::setHint(const std::string& hint) {
    hint_ = hint;
    peer_->setHint(hint);
}

THookRegistration TControl::installHook(TMessageHook& hook) {
    return installHook([&hook](TMessage& m, const TMessageNext& next) { hook.hookMessage(m, next); });
}

void TControl::setFontHeight(int pixels) {
    TFont f = font_;
    f.height = -pixels;
    setFont(f);
}

void TControl::setFontColor(TColor c) {
    TFont f = font_;
    f.color = c;
    setFont(f);
}

// --- Buttons

TButton::TButton(TWinControl& parent, int id, const char* caption)
    : TButton(parent, PeerKind::Button, id, caption) {}

TButton::TButton(TWinControl& parent, PeerKind kind, int id, const char* caption)
    : TControl(parent, kind, id) {
    setCaption(caption);
}

void TButton::userClick() {
    if (!usable()) return;
    userEvent([this] { click(); });
}

void TButton::setDefault(bool d) {
    TForm& f = form();
    if (d) {
        if (f.default_ && f.default_ != this) f.default_->peer().setDefaultLook(false);
        f.default_ = this;
    } else if (f.default_ == this) {
        f.default_ = nullptr;
    }
    peer().setDefaultLook(d);
}

void TButton::setCancel(bool c) {
    TForm& f = form();
    if (c) f.cancel_ = this;
    else if (f.cancel_ == this) f.cancel_ = nullptr;
}

bool TButton::isDefault() const { return form().default_ == this; }
bool TButton::isCancel() const { return form().cancel_ == this; }

TBitBtn::TBitBtn(TWinControl& parent, int id, const char* caption)
    : TButton(parent, PeerKind::BitBtn, id, caption) {}

TSpeedButton::TSpeedButton(TWinControl& parent, int id, const char* caption)
    : TControl(parent, PeerKind::SpeedButton, id) {
    setCaption(caption);
}

void TSpeedButton::userClick() {
    if (!usable()) return;
    peer().setChecked(!down());
    userEvent([this] { fire(OnClick); });
}

TCheckBox::TCheckBox(TWinControl& parent, int id, const char* caption)
    : TControl(parent, PeerKind::CheckBox, id) {
    setCaption(caption);
}

void TCheckBox::setChecked(bool c) {
    if (c == checked()) return;
    peer().setChecked(c);
    fire(OnClick);
}

void TCheckBox::userClick() {
    if (!usable()) return;
    peer().setChecked(!checked());
    userEvent([this] { fire(OnClick); });
}

// --- Containers

TGroupBox::TGroupBox(TWinControl& parent, int id, const char* caption)
    : TWinControl(parent, PeerKind::GroupBox, id) {
    setCaption(caption);
}

TPanel::TPanel(TWinControl& parent, int id) : TWinControl(parent, PeerKind::Panel, id) {}

TGroupButton::TGroupButton(TRadioGroup& group, int id, int index, const std::string& caption)
    : TControl(group, PeerKind::RadioButton, id), group_(group), index_(index) {
    setCaption(caption);
}

void TGroupButton::peerClicked() { group_.buttonClicked(index_); }

TRadioGroup::TRadioGroup(TWinControl& parent, int id, const char* caption)
    : TWinControl(parent, PeerKind::GroupBox, id) {
    setCaption(caption);
}

TRadioGroup::~TRadioGroup() { buttons_.clear(); }

void TRadioGroup::setItems(const std::vector<std::string>& items) {
    buttons_.clear();
    for (size_t i = 0; i < items.size(); ++i)
        buttons_.push_back(std::make_unique<TGroupButton>(*this, id() + 1 + static_cast<int>(i),
                                                          static_cast<int>(i), items[i]));
    known_ = -1;
    layout();
}

std::vector<std::string> TRadioGroup::items() const {
    std::vector<std::string> out;
    for (auto& b : buttons_) out.push_back(b->caption());
    return out;
}

void TRadioGroup::setColumns(int columns) {
    columns_ = std::max(1, columns);
    layout();
}

void TRadioGroup::setBoundsAndLayout(int left, int top, int width, int height) {
    setBounds(left, top, width, height);
    layout();
}

void TRadioGroup::layout() {
    if (buttons_.empty()) return;
    const int n = static_cast<int>(buttons_.size());
    const int rows = (n + columns_ - 1) / columns_;
    const int areaLeft = 8, areaTop = 16;
    const int areaW = std::max(0, width() - 16), areaH = std::max(0, height() - 20);
    const int colW = areaW / columns_;
    const int rowH = rows ? areaH / rows : areaH;
    for (int i = 0; i < n; ++i) {
        const int col = i / rows, row = i % rows;
        const int h = std::min(rowH, 20);
        buttons_[static_cast<size_t>(i)]->setBounds(areaLeft + col * colW,
                                                    areaTop + row * rowH + (rowH - h) / 2,
                                                    colW, h);
    }
}

int TRadioGroup::itemIndex() const {
    for (size_t i = 0; i < buttons_.size(); ++i)
        if (buttons_[i]->peer().checked()) return static_cast<int>(i);
    return -1;
}

void TRadioGroup::setItemIndex(int index) {
    if (index < -1 || index >= static_cast<int>(buttons_.size())) return;
    for (size_t i = 0; i < buttons_.size(); ++i)
        buttons_[i]->peer().setChecked(static_cast<int>(i) == index);
    if (index != known_) {
        known_ = index;
        fire(OnClick);
    }
}

void TRadioGroup::setEnabled(bool e) {
    TWinControl::setEnabled(e);
    for (auto& b : buttons_) b->setEnabled(e);
}

void TRadioGroup::userSelect(int index) {
    if (index < 0 || index >= static_cast<int>(buttons_.size())) return;
    if (!buttons_[static_cast<size_t>(index)]->usable()) return;
    for (size_t i = 0; i < buttons_.size(); ++i)
        buttons_[i]->peer().setChecked(static_cast<int>(i) == index);
    userEvent([this, index] { buttonClicked(index); });
}

void TRadioGroup::buttonClicked(int index) {
    (void)index;
    const int now = itemIndex();
    if (now == known_) return;
    known_ = now;
    fire(OnClick);
}

// --- Simple controls

TLabel::TLabel(TWinControl& parent, int id, const char* caption)
    : TControl(parent, PeerKind::Label, id) {
    setCaption(caption);
}

void TLabel::userClick() {
    if (!usable()) return;
    userEvent([this] { fire(OnClick); });
}

TEdit::TEdit(TWinControl& parent, int id, const char* text)
    : TControl(parent, PeerKind::Edit, id) {
    setCaption(text);
}

void TEdit::userType(const std::string& chars) {
    if (!usable()) return;
    for (char c : chars) {
        userEvent([this, c] {
            char key = c;
            peerKeyPress(key);
            if (key == 0) return;
            std::string t = text();
            if (key == 8) {
                if (!t.empty()) t.pop_back();
            } else if (static_cast<unsigned char>(key) >= 0x20 || key < 0) {
                t += key;
            } else {
                return;
            }
            setText(t);
            fire(OnChange);
        });
    }
}

TUpDown::TUpDown(TWinControl& parent, int id) : TControl(parent, PeerKind::UpDown, id) {
    peer().setRange(min_, max_);
}

void TUpDown::setAssociate(TEdit& edit) {
    associate_ = &edit;
    peer().setBuddy(&edit.peer());
}

void TUpDown::setRange(int min, int max) {
    min_ = min;
    max_ = max;
    peer().setRange(min, max);
}

int TUpDown::position() const {
    const int pos = peer().position();
    if (!peer().positionError() || !associate_) return pos;
    // The field holds no number in range, and the control gave its previous
    // position: a number out of range is brought into it, anything else
    // gives way to that position, and the field shows what counts.
    int wanted = pos;
    const std::string text = associate_->text();
    const std::size_t start = text.find_first_not_of(' ');
    if (start != std::string::npos) {
        std::size_t used = 0;
        try {
            const long v = std::stol(text.substr(start), &used);
            if (start + used == text.size()) wanted = static_cast<int>(std::clamp<long>(v, std::min(min_, max_), std::max(min_, max_)));
        } catch (const std::exception&) {
        }
    }
    peer().setPosition(wanted);
    associate_->setText(std::to_string(wanted));
    return wanted;
}

void TUpDown::setPosition(int pos) {
    pos = std::clamp(pos, std::min(min_, max_), std::max(min_, max_));
    peer().setPosition(pos);
    if (associate_) associate_->setText(std::to_string(pos));
}

void TUpDown::userStep(int delta) {
    if (!usable()) return;
    setPosition(position() + delta);
    userEvent([this] { fire(OnClick); });
}

// --- Lists

TListBox::TListBox(TWinControl& parent, int id) : TListBox(parent, PeerKind::ListBox, id) {}

TListBox::TListBox(TWinControl& parent, PeerKind kind, int id) : TControl(parent, kind, id) {}

std::vector<std::string> TListBox::items() const {
    std::vector<std::string> out;
    const int n = count();
    out.reserve(static_cast<size_t>(std::max(0, n)));
    for (int i = 0; i < n; ++i) out.push_back(item(i));
    return out;
}

namespace {

// A list box line is a C string: a NUL would cut it short unseen.
void refuseNul(const std::string& line) {
    if (line.find('\0') != std::string::npos)
        throw ListError("A line holds a NUL character and cannot be shown in the list");
}

[[noreturn]] void full(int held) {
    throw ListError("The list cannot hold more than " + std::to_string(held) + " lines");
}

}  // namespace

void TListBox::setItems(const std::vector<std::string>& lines) {
    for (const std::string& l : lines) refuseNul(l);
    peer().setRows(lines);
    if (count() < static_cast<int>(lines.size())) full(count());
}

int TListBox::add(const std::string& s) {
    refuseNul(s);
    const int at = peer().insertRow(-1, s);
    if (at < 0) full(count());
    return at;
}

void TListBox::insert(int at, const std::string& s) {
    refuseNul(s);
    if (peer().insertRow(at, s) < 0) full(count());
}

void TListBox::setItem(int i, const std::string& s) {
    refuseNul(s);
    peer().setCell(i, 0, s);
}

void TListBox::userSelect(int i) {
    if (!usable() || i < 0 || i >= count()) return;
    setItemIndex(i);
    userEvent([this] { fire(OnClick); });
}

TCheckListBox::TCheckListBox(TWinControl& parent, int id)
    : TListBox(parent, PeerKind::CheckListBox, id) {}

void TCheckListBox::setChecked(int i, bool c) {
    if (i < 0 || i >= count()) return;
    peer().setItemData(i, c ? 1 : 0);
    peer().redrawRow(i);
}

void TCheckListBox::userToggle(int i) {
    if (!usable() || i < 0 || i >= count()) return;
    userEvent([this, i] { peerToggled(i); });
}

void TCheckListBox::peerToggled(int row) {
    if (row < 0 || row >= count()) return;
    setChecked(row, !checked(row));
    fire(OnClickCheck);
}

void TCheckListBox::peerDraw(TCanvas& canvas, const TRect& r, int row, bool selected,
                             bool focused) {
    canvas.setBrushColor(selected ? clHighlight : clWindow);
    canvas.fillRect(r);
    if (row < 0 || row >= count()) {
        if (focused) canvas.drawFocusRect(r);
        return;
    }
    const int box = 13;
    const int top = r.top + (r.height() - box) / 2;
    canvas.setBrushColor(clWindow);
    canvas.drawCheck({r.left + 2, top, r.left + 2 + box, top + box}, checked(row), enabled());
    canvas.setBrushColor(selected ? clHighlight : clWindow);
    canvas.setFont(font());
    canvas.setTextColor(selected ? clHighlightText : clWindowText);
    canvas.setTransparentText(true);
    TRect text{r.left + kBoxWidth + 2, r.top, r.right, r.bottom};
    canvas.drawText(text, item(row), dt::Left | dt::VCenter | dt::SingleLine | dt::NoPrefix);
    if (focused) canvas.drawFocusRect(r);
}

TListView::TListView(TWinControl& parent, int id) : TControl(parent, PeerKind::ListView, id) {}

void TListView::userClick(int row) {
    if (!usable()) return;
    if (row >= 0 && row < count()) setItemIndex(row);
    userEvent([this] { fire(OnClick); });
}

// --- Pages

TPageControl::TPageControl(TWinControl& parent, int id)
    : TWinControl(parent, PeerKind::PageControl, id) {}

TTabSheet* TPageControl::activePage() const {
    const int i = activePageIndex();
    return i >= 0 && i < static_cast<int>(pages_.size()) ? pages_[static_cast<size_t>(i)]
                                                          : nullptr;
}

void TPageControl::setActivePage(TTabSheet& page) {
    for (size_t i = 0; i < pages_.size(); ++i)
        if (pages_[i] == &page) peer().setItemIndex(static_cast<int>(i));
    showActive();
}

void TPageControl::setBoundsAndLayout(int left, int top, int width, int height) {
    setBounds(left, top, width, height);
    layout();
}

void TPageControl::userSelect(int index) {
    if (!usable() || index < 0 || index >= static_cast<int>(pages_.size())) return;
    if (index == activePageIndex()) return;
    peer().setItemIndex(index);
    userEvent([this] { peerChanged(); });
}

void TPageControl::peerChanged() {
    showActive();
    fire(OnChange);
}

void TPageControl::addPage(TTabSheet& page, const std::string& caption) {
    pages_.push_back(&page);
    peer().insertRow(-1, caption);
    if (pages_.size() == 1) peer().setItemIndex(0);
    layout();
    showActive();
}

void TPageControl::removePage(TTabSheet& page) {
    for (size_t i = 0; i < pages_.size(); ++i) {
        if (pages_[i] == &page) {
            pages_.erase(pages_.begin() + static_cast<long>(i));
            peer().deleteRow(static_cast<int>(i));
            return;
        }
    }
}

void TPageControl::showActive() {
    TTabSheet* active = activePage();
    for (auto* p : pages_)
        if (p != active) p->setVisible(false);
    if (active) active->setVisible(true);
}

void TPageControl::layout() {
    const TRect r = peer().displayRect();
    for (auto* p : pages_) p->setBounds(r.left, r.top, r.width(), r.height());
}

TTabSheet::TTabSheet(TPageControl& owner, int id, const char* caption)
    : TWinControl(owner, PeerKind::TabSheet, id), owner_(owner) {
    // The caption belongs on the tab; the page itself shows no text.
    owner_.addPage(*this, caption);
}

TTabSheet::~TTabSheet() { owner_.removePage(*this); }

TImage::TImage(TWinControl& parent, int id) : TControl(parent, PeerKind::Image, id) {}

TBevel::TBevel(TWinControl& parent, int id) : TControl(parent, PeerKind::Bevel, id) {}

// --- Timer

TTimer::TTimer(TForm& owner, int id) : owner_(owner), id_(id) {
    owner_.timers_.push_back(this);
    arm();
}

TTimer::~TTimer() {
    owner_.peer().killTimer(id_);
    auto& t = owner_.timers_;
    t.erase(std::remove(t.begin(), t.end(), this), t.end());
}

void TTimer::setEnabled(bool e) {
    if (e == enabled_) return;
    enabled_ = e;
    arm();
}

void TTimer::setInterval(unsigned ms) {
    interval_ = ms;
    arm();
}

void TTimer::arm() {
    if (enabled_ && interval_ > 0) owner_.peer().setTimer(id_, interval_);
    else owner_.peer().killTimer(id_);
}

// --- Application events

TApplicationEvents::TApplicationEvents(TApplication& app) : app_(app) {
    slot_ = app_.minimizeHandlers.size();
    app_.minimizeHandlers.push_back([this] {
        if (OnMinimize) OnMinimize();
    });
}

TApplicationEvents::~TApplicationEvents() { app_.minimizeHandlers[slot_] = nullptr; }

// --- Form

static TApplication& withWindowClass(TApplication& app, const std::string& windowClass) {
    app.pendingWindowClass = windowClass;
    return app;
}

TForm::TForm(TApplication& app, const std::string& windowClass)
    : TWinControl(withWindowClass(app, windowClass), PeerKind::Form, 0),
      windowClass_(windowClass) {
    if (!app.mainForm()) app.setMainForm(this);
}

TForm::~TForm() {
    for (TPopupMenu* m : popupMenus_) m->owner_ = nullptr;
    if (app().mainForm() == this) app().setMainForm(nullptr);
}

void TForm::moveTo(int left, int top) {
    const TRect r = windowRect();
    setBounds(left, top, r.width(), r.height());
}

void TForm::start() {
    userEvent([this] { fire(OnCreate); });
    show();
}

void TForm::close() {
    fire(OnClose);
    hide();
    if (app().mainForm() == this) app().terminate();
}

static TControl* findFocused(const TWinControl& w) {
    for (TControl* c : w.controls()) {
        if (c->focused()) return c;
        if (auto* wc = as<TWinControl>(c))
            if (TControl* f = findFocused(*wc)) return f;
    }
    return nullptr;
}

TControl* TForm::focusedControl() const { return findFocused(*this); }

bool TForm::dialogKey(int key) {
    if (key == VK_RETURN_KEY) {
        if (auto* b = as<TButton>(focusedControl()); b && b->usable()) {
            b->click();
            return true;
        }
        if (default_ && default_->usable()) {
            default_->click();
            return true;
        }
    } else if (key == VK_ESCAPE_KEY) {
        if (cancel_ && cancel_->usable()) {
            cancel_->click();
            return true;
        }
    }
    return false;
}

void TForm::holdKeyboard(TWinControl* holder, TControl* entry) {
    keyHolder_ = holder;
    keyEntry_ = entry;
}

TWinControl* TForm::keyboardHolder() const {
    return keyHolder_ && keyHolder_->visible() ? keyHolder_ : nullptr;
}

bool TForm::keyMayReach(const TControl* c) const {
    const TWinControl* holder = keyboardHolder();
    if (!holder) return true;
    for (; c; c = c->parent())
        if (c == holder) return true;
    return false;
}

void TForm::userKey(int key) {
    if (!keyMayReach(focusedControl()))
        if (TControl* entry = keyboardEntry()) entry->setFocus();
    bool used = false;
    userEvent([&] { used = dialogKey(key); });
    if (used) return;
    if (auto* e = as<TEdit>(focusedControl())) {
        e->userType(std::string(1, static_cast<char>(key)));
    } else if (auto* cl = as<TCheckListBox>(focusedControl());
               cl && key == VK_SPACE_KEY) {
        cl->userToggle(cl->itemIndex());
    }
}

void TForm::userClose() {
    userEvent([this] { close(); });
}

void TForm::userMinimize() {
    userEvent([this] { peerMinimize(); });
}

void TForm::setMessageHandler(std::uint32_t msg, TMessageHandler handler) {
    if (handler) messageHandlers_[msg] = std::move(handler);
    else messageHandlers_.erase(msg);
}

bool TForm::peerMessage(TMessage& m) {
    auto it = messageHandlers_.find(m.msg);
    if (it == messageHandlers_.end()) return false;
    // A copy: the handler may replace or remove itself.
    const TMessageHandler handler = it->second;
    return handler(m);
}

void TForm::peerTimer(int id) {
    for (TTimer* t : timers_)
        if (t->id() == id && t->enabled() && t->OnTimer) t->OnTimer();
}

bool TForm::peerCloseQuery() {
    close();
    return false;
}

}  // namespace ui
