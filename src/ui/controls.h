// The controls the window is made of. Each is a small class around its peer;
// what the user can change (text, selection, ticks) is always read from the
// peer, never kept on the side.
//
// Events: OnClick and friends run when the user acts (through the peer, one
// event boundary each) and, where the framework does so, when code changes
// the state (TCheckBox::setChecked, TRadioGroup::setItemIndex). Errors from
// handlers run by code go back to that code; only user events stop at the
// boundary and show the standard error box. The events the window itself
// reports (OnEnter, OnExit, OnMouseEnter, OnMouseLeave, OnCheckChanged,
// OnAfterPaint, form messages) always come through the peer: each is an
// event boundary of its own, also when code caused it (setFocus,
// setChecked), so their errors are shown and never reach that code.
//
// The user* methods act as the user would (a click that a disabled or hidden
// control ignores); the tests drive the headless peers with them.
#pragma once
#include <cstdint>
#include "base/small_map.h"
#include <memory>
#include "base/error.h"
#include <string>
#include <vector>

#include "ui/application.h"
#include "ui/peer.h"
#include "ui/types.h"

namespace ui {

class TWinControl;
class TForm;
class TTimer;
class TPopupMenu;

class TControl : public PeerSink {
public:
    TControl(TWinControl& parent, PeerKind kind, int id);
    TControl(const TControl&) = delete;
    TControl& operator=(const TControl&) = delete;
    ~TControl() override;

    virtual const char* className() const = 0;
    // What the control is, for the toolkit's own downcasts (ui::as): the
    // product is built without run-time type information.
    enum Class : unsigned {
        WinControlClass = 1u << 0, ButtonClass = 1u << 1, BitBtnClass = 1u << 2,
        SpeedButtonClass = 1u << 3, CheckBoxClass = 1u << 4, EditClass = 1u << 5,
        CheckListBoxClass = 1u << 6, PanelClass = 1u << 7, GroupBoxClass = 1u << 8,
        RadioGroupClass = 1u << 9, TabSheetClass = 1u << 10,
    };
    virtual unsigned classes() const { return 0; }
    int id() const { return id_; }
    TWinControl* parent() const { return parent_; }
    TForm& form() const { return *form_; }
    TApplication& app() const { return app_; }
    Peer& peer() const { return *peer_; }
    std::uintptr_t handle() const { return peer_->handle(); }

    void setBounds(int left, int top, int width, int height);
    TRect boundsRect() const { return peer_->bounds(); }
    int left() const { return boundsRect().left; }
    int top() const { return boundsRect().top; }
    int width() const { return boundsRect().width(); }
    int height() const { return boundsRect().height(); }

    void setCaption(const std::string& text) { peer_->setText(text); }
    std::string caption() const { return peer_->text(); }
    void setVisible(bool v) { peer_->setVisible(v); }
    bool visible() const { return peer_->visible(); }
    void show() { setVisible(true); }
    void hide() { setVisible(false); }
    // Visible together with every parent.
    bool showing() const;
    virtual void setEnabled(bool e) { peer_->setEnabled(e); }
    bool enabled() const { return peer_->enabled(); }
    // Enabled together with every parent, and showing.
    bool usable() const;
    void setHint(const std::string& hint);
    const std::string& hint() const { return hint_; }
    void setCursor(TCursor c) { cursor_ = c; peer_->setCursor(c); }
    TCursor cursor() const { return cursor_; }
    void setFont(const TFont& f) { font_ = f; peer_->setFont(f); }
    const TFont& font() const { return font_; }
    void setFontHeight(int pixels);  // type size in pixels
    void setFontColor(TColor c);
    void setFocus() { peer_->setFocus(); }
    bool focused() const { return peer_->focused(); }
    void bringToFront() { peer_->bringToFront(); }
    void invalidate() { peer_->invalidate(); }
    // Paints over the window's own drawing (see Peer::paintOver).
    void paintOver(bool wholeWindow, const std::function<void(TCanvas&, const TRect&)>& paint) {
        peer_->paintOver(wholeWindow, paint);
    }
    // Off: a paint message only clears what is to be painted, and the hooks
    // that see it paint the whole control themselves.
    void setClassPaint(bool on) { peer_->setClassPaint(on); }

    // Puts a hook in front of the control's window procedure, ahead of the
    // hooks already there (it sees each message first); it stays until its
    // registration goes.
    [[nodiscard]] THookRegistration installHook(THookFunction hook) {
        return peer_->hooks().install(std::move(hook));
    }
    [[nodiscard]] THookRegistration installHook(TMessageHook& hook);
    // Sends a message to the control's window, through its hooks.
    std::intptr_t perform(std::uint32_t msg, std::uintptr_t wParam = 0, std::intptr_t lParam = 0) {
        return peer_->send(msg, wParam, lParam);
    }

    std::intptr_t tag = 0;
    TNotifyEvent OnClick;
    TNotifyEvent OnEnter, OnExit;             // focus gained, lost
    TNotifyEvent OnMouseEnter, OnMouseLeave;  // the mouse came over it, went away
    TNotifyEvent OnCheckChanged;              // its tick changed, before any OnClick
    TNotifyEvent OnAfterPaint;                // the window has painted itself

    void peerEnter() override { fire(OnEnter); }
    void peerExit() override { fire(OnExit); }
    void peerMouseEnter() override { fire(OnMouseEnter); }
    void peerMouseLeave() override { fire(OnMouseLeave); }
    void peerCheckChanged() override { fire(OnCheckChanged); }
    void peerAfterPaint() override { fire(OnAfterPaint); }

protected:
    // For the form: a top-level window without a parent.
    TControl(TApplication& app, PeerKind kind, int id);
    void fire(const TNotifyEvent& e) { if (e) e(); }
    // One user action: an error stops here and is shown.
    void userEvent(const std::function<void()>& action) { app_.guard(action); }

private:
    TApplication& app_;
    TWinControl* parent_ = nullptr;
    TForm* form_ = nullptr;
    std::unique_ptr<Peer> peer_;
    int id_;
    std::string hint_;
    TFont font_;
    TCursor cursor_ = TCursor::Default;
    friend class TForm;
};

class TWinControl : public TControl {
public:
    static constexpr unsigned kClass = WinControlClass;
    unsigned classes() const override { return TControl::classes() | kClass; }
    using TControl::TControl;
    ~TWinControl() override;
    const std::vector<TControl*>& controls() const { return children_; }

private:
    friend class TControl;
    std::vector<TControl*> children_;
};

class TButton : public TControl {
public:
    static constexpr unsigned kClass = ButtonClass;
    unsigned classes() const override { return TControl::classes() | kClass; }
    TButton(TWinControl& parent, int id, const char* caption = "");
    const char* className() const override { return "TButton"; }
    // What a press does: OnClick.
    void click() { fire(OnClick); }
    void userClick();
    // Enter presses the default button, Escape the cancel button, while usable.
    void setDefault(bool d);
    void setCancel(bool c);
    bool isDefault() const;
    bool isCancel() const;
    void peerClicked() override { click(); }

protected:
    TButton(TWinControl& parent, PeerKind kind, int id, const char* caption);
};

class TBitBtn : public TButton {
public:
    static constexpr unsigned kClass = BitBtnClass;
    unsigned classes() const override { return TButton::classes() | kClass; }
    TBitBtn(TWinControl& parent, int id, const char* caption = "");
    const char* className() const override { return "TBitBtn"; }
    // A bitmap resource; its bottom-left pixel's colour is transparent.
    void setGlyph(const std::string& resource) {
        glyph_ = resource;
        peer().setPicture(resource);
    }
    const std::string& glyph() const { return glyph_; }

private:
    std::string glyph_;
};

// Stays down when pressed, comes up when pressed again.
class TSpeedButton : public TControl {
public:
    static constexpr unsigned kClass = SpeedButtonClass;
    unsigned classes() const override { return TControl::classes() | kClass; }
    TSpeedButton(TWinControl& parent, int id, const char* caption = "");
    const char* className() const override { return "TSpeedButton"; }
    bool down() const { return peer().checked(); }
    void setDown(bool d) { peer().setChecked(d); }  // runs no handler
    void userClick();
    void peerClicked() override { fire(OnClick); }
};

class TCheckBox : public TControl {
public:
    static constexpr unsigned kClass = CheckBoxClass;
    unsigned classes() const override { return TControl::classes() | kClass; }
    TCheckBox(TWinControl& parent, int id, const char* caption = "");
    const char* className() const override { return "TCheckBox"; }
    bool checked() const { return peer().checked(); }
    // OnClick runs on every change of the tick; the same state runs nothing.
    void setChecked(bool c);
    void userClick();
    void peerClicked() override { fire(OnClick); }
};

class TGroupBox : public TWinControl {
public:
    static constexpr unsigned kClass = GroupBoxClass;
    unsigned classes() const override { return TWinControl::classes() | kClass; }
    TGroupBox(TWinControl& parent, int id, const char* caption = "");
    const char* className() const override { return "TGroupBox"; }
};

class TRadioGroup;

// One button of a radio group.
class TGroupButton : public TControl {
public:
    TGroupButton(TRadioGroup& group, int id, int index, const std::string& caption);
    const char* className() const override { return "TGroupButton"; }
    void peerClicked() override;

private:
    TRadioGroup& group_;
    int index_;
};

class TRadioGroup : public TWinControl {
public:
    static constexpr unsigned kClass = RadioGroupClass;
    unsigned classes() const override { return TWinControl::classes() | kClass; }
    TRadioGroup(TWinControl& parent, int id, const char* caption = "");
    ~TRadioGroup() override;
    const char* className() const override { return "TRadioGroup"; }
    void setItems(const std::vector<std::string>& items);
    std::vector<std::string> items() const;
    void setColumns(int columns);
    int columns() const { return columns_; }
    // The chosen item, read from the buttons; -1 when none is.
    int itemIndex() const;
    // OnClick runs when the choice changes.
    void setItemIndex(int index);
    void userSelect(int index);
    void setBoundsAndLayout(int left, int top, int width, int height);
    // Its buttons follow, so they look as unusable as they are.
    void setEnabled(bool e) override;
    TGroupButton& button(int index) { return *buttons_.at(static_cast<size_t>(index)); }

private:
    friend class TGroupButton;
    void buttonClicked(int index);
    void layout();
    std::vector<std::unique_ptr<TGroupButton>> buttons_;
    int columns_ = 1;
    int known_ = -1;  // the choice OnClick last reported, to tell a change
};

class TPanel : public TWinControl {
public:
    static constexpr unsigned kClass = PanelClass;
    unsigned classes() const override { return TWinControl::classes() | kClass; }
    TPanel(TWinControl& parent, int id);
    const char* className() const override { return "TPanel"; }
    void setBevel(TBevelCut cut) {
        bevel_ = cut;
        peer().setBevel(cut);
    }
    TBevelCut bevel() const { return bevel_; }

private:
    TBevelCut bevel_ = TBevelCut::None;
};

class TLabel : public TControl {
public:
    TLabel(TWinControl& parent, int id, const char* caption = "");
    const char* className() const override { return "TLabel"; }
    void setWordWrap(bool w) { peer().setWordWrap(w); }
    void userClick();
    void peerClicked() override { fire(OnClick); }
};

class TEdit : public TControl {
public:
    static constexpr unsigned kClass = EditClass;
    unsigned classes() const override { return TControl::classes() | kClass; }
    TEdit(TWinControl& parent, int id, const char* text = "");
    const char* className() const override { return "TEdit"; }
    std::string text() const { return caption(); }
    void setText(const std::string& t) { setCaption(t); }
    void setPasswordChar(char c) { peer().setPasswordChar(c); }
    // The sunken 3D border (the default), or a flat single line.
    bool ctl3D() const { return ctl3D_; }
    void setCtl3D(bool on) {
        ctl3D_ = on;
        peer().setCtl3D(on);
    }
    // Setting key to 0 discards the typed character.
    TKeyPressEvent OnKeyPress;
    TNotifyEvent OnChange;
    // Types characters one by one: each goes through OnKeyPress first; a
    // backspace (8) removes the last character.
    void userType(const std::string& chars);
    void peerKeyPress(char& key) override { if (OnKeyPress) OnKeyPress(key); }
    void peerChanged() override { fire(OnChange); }

private:
    bool ctl3D_ = true;
};

class TUpDown : public TControl {
public:
    TUpDown(TWinControl& parent, int id);
    const char* className() const override { return "TUpDown"; }
    void setAssociate(TEdit& edit);
    void setRange(int min, int max);
    int min() const { return min_; }
    int max() const { return max_; }
    int position() const;
    // Kept within min..max; the associate shows the number.
    void setPosition(int pos);
    // An arrow click: moves by one within the range, then OnClick.
    void userClickUp() { userStep(+1); }
    void userClickDown() { userStep(-1); }
    void peerClicked() override { fire(OnClick); }

private:
    void userStep(int delta);
    TEdit* associate_ = nullptr;
    int min_ = 0, max_ = 100;
};

class ListError : public base::Error {
public:
    using base::Error::Error;
};

class TListBox : public TControl {
public:
    TListBox(TWinControl& parent, int id);
    const char* className() const override { return "TListBox"; }
    int count() const { return peer().count(); }
    std::string item(int i) const { return peer().cell(i, 0); }
    std::vector<std::string> items() const;
    // A line holding a NUL byte is refused before anything changes, and a
    // list box that holds no more lines is reported: both raise ListError
    // rather than lose lines without a word.
    void setItems(const std::vector<std::string>& lines);
    int add(const std::string& s);
    void insert(int at, const std::string& s);
    // Writes a line in place: its place, item data and selection stay.
    void setItem(int i, const std::string& s);
    void remove(int i) { peer().deleteRow(i); }
    void clear() { peer().clearRows(); }
    int itemIndex() const { return peer().itemIndex(); }
    void setItemIndex(int i) { peer().setItemIndex(i); }
    // The user selects line i (OnClick follows, as a click does).
    void userSelect(int i);
    void peerClicked() override { fire(OnClick); }

protected:
    TListBox(TWinControl& parent, PeerKind kind, int id);
};

// A list box with a check box on every line. The tick of line i is also the
// line's item data (1 = ticked) so that tools outside can read it.
class TCheckListBox : public TListBox {
public:
    static constexpr unsigned kClass = CheckListBoxClass;
    unsigned classes() const override { return TListBox::classes() | kClass; }
    TCheckListBox(TWinControl& parent, int id);
    const char* className() const override { return "TCheckListBox"; }
    bool checked(int i) const { return peer().itemData(i) == 1; }
    void setChecked(int i, bool c);
    TNotifyEvent OnClickCheck;
    // A click in the box of line i, or the space key on it.
    void userToggle(int i);
    void peerToggled(int row) override;
    void peerDraw(TCanvas& canvas, const TRect& r, int row, bool selected, bool focused) override;
    static constexpr int kBoxWidth = 16;
};

// Report view: rows with a caption and sub-items; whole rows are selected,
// and the selection stays visible without the focus.
class TListView : public TControl {
public:
    TListView(TWinControl& parent, int id);
    const char* className() const override { return "TListView"; }
    void addColumn(const std::string& caption, int width) { peer().addColumn(caption, width); }
    int count() const { return peer().count(); }
    int addItem(const std::string& caption) { return peer().insertRow(-1, caption); }
    std::string itemCaption(int row) const { return peer().cell(row, 0); }
    void setItemCaption(int row, const std::string& s) { peer().setCell(row, 0, s); }
    // Sub-item k is column k + 1; sub-items need no column of their own.
    std::string subItem(int row, int k) const { return peer().cell(row, k + 1); }
    void setSubItem(int row, int k, const std::string& s) { peer().setCell(row, k + 1, s); }
    void deleteItem(int row) { peer().deleteRow(row); }
    void clear() { peer().clearRows(); }
    int itemIndex() const { return peer().itemIndex(); }
    void setItemIndex(int row) { peer().setItemIndex(row); }
    void userClick(int row);
    void peerClicked() override { fire(OnClick); }
};

class TTabSheet;

class TPageControl : public TWinControl {
public:
    TPageControl(TWinControl& parent, int id);
    const char* className() const override { return "TPageControl"; }
    const std::vector<TTabSheet*>& pages() const { return pages_; }
    int activePageIndex() const { return peer().itemIndex(); }
    TTabSheet* activePage() const;
    // Shows the page; runs no handler.
    void setActivePage(TTabSheet& page);
    void setBoundsAndLayout(int left, int top, int width, int height);
    TNotifyEvent OnChange;
    void userSelect(int index);
    void peerChanged() override;
    void peerCreated() override { layout(); }

private:
    friend class TTabSheet;
    void addPage(TTabSheet& page, const std::string& caption);
    void removePage(TTabSheet& page);
    void showActive();
    void layout();
    std::vector<TTabSheet*> pages_;
};

class TTabSheet : public TWinControl {
public:
    static constexpr unsigned kClass = TabSheetClass;
    unsigned classes() const override { return TWinControl::classes() | kClass; }
    TTabSheet(TPageControl& owner, int id, const char* caption);
    ~TTabSheet() override;
    const char* className() const override { return "TTabSheet"; }
    TPageControl& pageControl() const { return owner_; }

private:
    TPageControl& owner_;
};

class TImage : public TControl {
public:
    TImage(TWinControl& parent, int id);
    const char* className() const override { return "TImage"; }
    void setPicture(const std::string& resource) { peer().setPicture(resource); }
    void setStretch(bool s) { peer().setStretch(s); }
    void setFramed(bool f) { peer().setBevel(f ? TBevelCut::Lowered : TBevelCut::None); }
};

class TBevel : public TControl {
public:
    TBevel(TWinControl& parent, int id);
    const char* className() const override { return "TBevel"; }
};

class TTimer {
public:
    TTimer(TForm& owner, int id);
    ~TTimer();
    TTimer(const TTimer&) = delete;
    TTimer& operator=(const TTimer&) = delete;
    int id() const { return id_; }
    bool enabled() const { return enabled_; }
    void setEnabled(bool e);
    unsigned interval() const { return interval_; }
    // A new interval starts the countdown again.
    void setInterval(unsigned ms);
    TNotifyEvent OnTimer;

private:
    friend class TForm;
    void arm();
    TForm& owner_;
    int id_;
    bool enabled_ = true;
    unsigned interval_ = 1000;
};

// Receives the application's events (here: the user minimised the window).
class TApplicationEvents {
public:
    explicit TApplicationEvents(TApplication& app);
    ~TApplicationEvents();
    TApplicationEvents(const TApplicationEvents&) = delete;
    TApplicationEvents& operator=(const TApplicationEvents&) = delete;
    TNotifyEvent OnMinimize;

private:
    TApplication& app_;
    std::size_t slot_;
};

class TForm : public TWinControl {
public:
    // windowClass names the window class of the real window.
    TForm(TApplication& app, const std::string& windowClass);
    ~TForm() override;
    const char* className() const override { return windowClass_.c_str(); }

    void setClientSize(int width, int height) { peer().setClientSize(width, height); }
    // Outer size and position on the screen.
    TRect windowRect() const { return boundsRect(); }
    void moveTo(int left, int top);
    void setIcon(const std::string& resource) { peer().setIcon(resource); }
    std::uintptr_t iconHandle() const { return peer().iconHandle(); }

    // Runs OnCreate as one event (an error is shown, the window still opens),
    // then shows the window.
    void start();
    // The close path of the title-bar button: OnClose, then the application
    // ends if this is its main window. An error from OnClose stops the close.
    void close();

    TNotifyEvent OnCreate;
    TNotifyEvent OnPaint;
    TNotifyEvent OnClose;

    // Enter, Escape: the default or cancel button while it is usable, or the
    // focused button for Enter. True when the key was used.
    bool dialogKey(int key);
    // While `holder` shows, the keyboard stays inside it: Tab cycles its
    // controls only, and a key meant for a control outside goes to `entry`
    // (which takes the focus) instead. Null lets go.
    void holdKeyboard(TWinControl* holder, TControl* entry);
    // The holder while it shows, else null.
    TWinControl* keyboardHolder() const;
    TControl* keyboardEntry() const { return keyboardHolder() ? keyEntry_ : nullptr; }
    // True when c is the holder or inside it, or nothing holds the keyboard.
    bool keyMayReach(const TControl* c) const;
    // A key pressed on the focused control, as the user would.
    void userKey(int key);
    void userClose();
    void userMinimize();

    // A message the window does not handle itself (a notification icon's
    // callback, a registered message such as "TaskbarCreated"): the handler
    // returns true when it took the message, with m.result its answer; else
    // the window's default procedure runs. An empty handler removes it.
    using TMessageHandler = std::function<bool(TMessage& m)>;
    void setMessageHandler(std::uint32_t msg, TMessageHandler handler);
    bool peerMessage(TMessage& m) override;

    // The popup menus made with this form as their owner, in that order.
    const std::vector<TPopupMenu*>& popupMenus() const { return popupMenus_; }

    TButton* defaultButton() const { return default_; }
    TButton* cancelButton() const { return cancel_; }
    TControl* focusedControl() const;

    void peerTimer(int id) override;
    bool peerCloseQuery() override;
    void peerPaint() override { fire(OnPaint); }
    void peerMinimize() override { app().notifyMinimize(); }

private:
    friend class TButton;
    friend class TTimer;
    friend class TPopupMenu;
    std::vector<TPopupMenu*> popupMenus_;
    std::string windowClass_;
    TButton* default_ = nullptr;
    TButton* cancel_ = nullptr;
    TWinControl* keyHolder_ = nullptr;
    TControl* keyEntry_ = nullptr;
    std::vector<TTimer*> timers_;
    base::SmallMap<std::uint32_t, TMessageHandler> messageHandlers_;
};

// The control as a T, or null when it is not one (a dynamic_cast for the
// classes that name their kClass).
template <class T>
T* as(TControl* c) {
    return c && (c->classes() & T::kClass) ? static_cast<T*>(c) : nullptr;
}
template <class T>
const T* as(const TControl* c) {
    return c && (c->classes() & T::kClass) ? static_cast<const T*>(c) : nullptr;
}

}  // namespace ui
