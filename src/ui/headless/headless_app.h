// The application in memory, for the native tests. Windows are records; a
// message box or file dialog is answered from a script the test sets up and
// is recorded for its assertions. Time moves only when messages are pumped:
// each pump goes on to the next due timer, or by a fixed step when none is
// due sooner, so waits and timers are deterministic.
#pragma once
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "ui/application.h"
#include "ui/headless/menu_picture.h"
#include "ui/messages.h"

namespace ui::headless {

// Where the time comes from; without one the application counts by itself.
struct Clock {
    std::function<std::uint32_t()> now;
    std::function<void(std::uint32_t)> advance;
};

struct ShownMessage {
    std::string text, caption;
    unsigned flags = 0;
};

struct ShownDialog {
    bool save = false;
    std::string title, filter, defaultExt, fileName;
    unsigned options = 0;
};

struct ShownMenu {
    int x = 0, y = 0;
    std::vector<int> enabledIds;
    // How it looked, when its items have painters.
    std::optional<MenuPicture> picture;
};

class HeadlessPeer;

class HeadlessApplication : public TApplication {
public:
    explicit HeadlessApplication(Clock clock = {});
    ~HeadlessApplication() override;

    std::unique_ptr<Peer> createPeer(PeerKind kind, TControl& owner, Peer* parent,
                                     int id) override;
    void processMessages() override;
    int run() override;
    TPoint screenSize() const override { return screen_; }
    void restore() override { ++restores_; }
    int messageBox(const std::string& text, const std::string& caption,
                   unsigned flags) override;
    bool runFileDialog(TFileDialog& dialog, bool save) override;
    void popupMenu(TPopupMenu& menu, int x, int y) override;
    // Numbered from 0xC000 in the order first asked for, the same for a name
    // asked again.
    std::uint32_t registerMessage(const std::string& name) override;
    std::uintptr_t loadImageList(const std::string& resource, int width, int height, TColor mask,
                                 int& count) override;
    bool menuFont(TFont& font) override;

    // --- Setting up.
    // What the system reports as its menu font; nothing: it cannot be read.
    std::optional<TFont> systemMenuFont = TFont{"Tahoma", -12, false, clMenuText, 0};
    void setScreenSize(int w, int h) { screen_ = {w, h}; }
    // The next message box gets this answer; unscripted boxes get their
    // first button (OK, or Yes).
    void answerMessage(int answer) { answers_.push_back(answer); }
    // The next file dialog returns this path, or is cancelled (nullopt);
    // unscripted dialogs are cancelled.
    void answerDialog(std::optional<std::string> path) { dialogAnswers_.push_back(std::move(path)); }
    // Asked at every file dialog, after its answer is taken: the error the
    // dialog fails with (CommDlgExtendedError's code), 0 for none.
    std::function<unsigned long(bool save)> dialogFault;
    // The next popup menu chooses this item.
    void chooseMenuItem(int id) { menuChoices_.push_back(id); }
    // Runs while a message box is open, as its own message loop would pump.
    std::function<void()> whileBoxOpen;
    unsigned stepMs = 10;
    // Lines a list box holds before it refuses more (the 9x family stops at
    // 32,767); 0 for no limit.
    int listBoxCapacity = 0;

    // --- Acting as the window system.
    // A message to the window with this handle: posted ones are delivered
    // by the next pump, sent ones at once. Handles of windows that are gone
    // are ignored.
    void postMessage(std::uintptr_t handle, std::uint32_t msg, std::uintptr_t wParam = 0,
                     std::intptr_t lParam = 0);
    std::intptr_t sendMessage(std::uintptr_t handle, std::uint32_t msg, std::uintptr_t wParam = 0,
                              std::intptr_t lParam = 0);
    // The mouse moves over this window (nullptr: over none of ours). The
    // window it leaves gets WM_MOUSELEAVE, the new one WM_MOUSEMOVE; a
    // disabled window gets no mouse message, as on Windows.
    void hover(HeadlessPeer* peer);
    HeadlessPeer* hovered() const { return hovered_; }

    // --- Observing.
    const std::vector<ShownMessage>& messages() const { return messages_; }
    // The texts of the standard error boxes shown so far.
    std::vector<std::string> errors() const;
    const std::vector<ShownDialog>& dialogs() const { return dialogs_; }
    const std::vector<ShownMenu>& menus() const { return menus_; }
    int restores() const { return restores_; }
    std::uint32_t now() const;
    void clearRecords();

    // --- For the peers.
    void setTimer(HeadlessPeer* form, int id, unsigned ms);
    void killTimer(HeadlessPeer* form, int id);
    void remember(HeadlessPeer* peer) { live_.insert(peer); }
    void forget(HeadlessPeer* peer);
    HeadlessPeer* focus = nullptr;

private:
    struct Timer {
        HeadlessPeer* form;
        int id;
        unsigned interval;
        std::uint32_t due;
    };
    void advance(std::uint32_t ms);
    Clock clock_;
    std::uint32_t ownTicks_ = 0;
    TPoint screen_{1024, 768};
    std::deque<int> answers_;
    std::deque<std::optional<std::string>> dialogAnswers_;
    std::deque<int> menuChoices_;
    std::vector<ShownMessage> messages_;
    std::vector<ShownDialog> dialogs_;
    std::vector<ShownMenu> menus_;
    struct Posted {
        HeadlessPeer* to;
        std::uint32_t msg;
        std::uintptr_t wParam;
        std::intptr_t lParam;
    };
    HeadlessPeer* live(std::uintptr_t handle) const;
    std::vector<Timer> timers_;
    std::deque<Posted> posted_;
    std::set<HeadlessPeer*> live_;
    HeadlessPeer* hovered_ = nullptr;
    int restores_ = 0;
    std::map<std::string, std::uint32_t> registered_;
};

// A window record. Everything the real control would hold, in memory.
class HeadlessPeer : public Peer {
public:
    HeadlessPeer(HeadlessApplication& app, PeerKind kind, PeerSink& sink, HeadlessPeer* parent,
                 int id);
    ~HeadlessPeer() override;

    PeerKind kind() const { return kind_; }
    PeerSink& sink() const { return sink_; }
    int id() const { return id_; }
    const std::string& hint() const { return hint_; }
    const TFont& font() const { return font_; }
    TCursor cursor() const { return cursor_; }
    bool wordWrap() const { return wordWrap_; }
    char passwordChar() const { return passwordChar_; }
    TBevelCut bevel() const { return bevel_; }
    const std::string& picture() const { return picture_; }
    const std::string& icon() const { return icon_; }
    bool isDefaultLook() const { return defaultLook_; }
    int minimum() const { return lo_; }
    int maximum() const { return hi_; }
    const std::vector<std::pair<std::string, int>>& columns() const { return columns_; }
    int zOrder() const { return z_; }

    std::uintptr_t handle() const override { return reinterpret_cast<std::uintptr_t>(this); }
    // Through the hooks to the simulated window procedure, which knows the
    // messages the setters below send and gives a form the others.
    std::intptr_t send(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) override;
    // The window paints itself (WM_PAINT).
    void paint() { send(wm::Paint, 0, 0); }
    bool hot() const { return hot_; }
    // What was painted over the window (paintOver), its size; null before.
    const MemoryCanvas* surface() const { return surface_.get(); }
    bool ctl3D() const { return ctl3D_; }
    bool classPaint() const { return classPaint_; }
    void setClassPaint(bool on) override { classPaint_ = on; }
    void paintOver(bool wholeWindow, const std::function<void(TCanvas&, const TRect&)>& paint) override;
    void setCtl3D(bool on) override { ctl3D_ = on; }
    void setBounds(int left, int top, int width, int height) override;
    TRect bounds() const override { return bounds_; }
    void setClientSize(int width, int height) override;
    void setText(const std::string& text) override;
    std::string text() const override { return text_; }
    void setVisible(bool v) override { visible_ = v; }
    bool visible() const override { return visible_; }
    void setEnabled(bool e) override;
    bool enabled() const override { return enabled_; }
    void setFocus() override;
    bool focused() const override { return app_.focus == this; }
    void setHint(const std::string& hint) override { hint_ = hint; }
    void setFont(const TFont& font) override { font_ = font; }
    void setCursor(TCursor c) override { cursor_ = c; }
    void bringToFront() override;
    void invalidate() override {}
    void setWordWrap(bool w) override { wordWrap_ = w; }
    void setPasswordChar(char c) override { passwordChar_ = c; }
    void setBevel(TBevelCut cut) override { bevel_ = cut; }
    void setPicture(const std::string& r) override { picture_ = r; }
    void setStretch(bool s) override { stretch_ = s; }
    void setDefaultLook(bool d) override { defaultLook_ = d; }
    bool checked() const override { return checked_; }
    void setChecked(bool c) override;
    int count() const override { return static_cast<int>(rows_.size()); }
    std::string cell(int row, int col) const override;
    void setCell(int row, int col, const std::string& text) override;
    int insertRow(int at, const std::string& caption) override;
    void deleteRow(int row) override;
    void clearRows() override;
    int itemIndex() const override { return itemIndex_; }
    void setItemIndex(int row) override;
    std::intptr_t itemData(int row) const override;
    void setItemData(int row, std::intptr_t data) override;
    void addColumn(const std::string& caption, int width) override { columns_.push_back({caption, width}); }
    TRect displayRect() const override;
    void setRange(int lo, int hi) override { lo_ = lo; hi_ = hi; }
    // As the real control does: the buddy's text, when it is a number in
    // range, becomes the position; otherwise the old one comes with an error.
    int position() const override;
    bool positionError() const override { return positionError_; }
    void setPosition(int pos) override { pos_ = pos; }
    void setBuddy(Peer* buddy) override { buddy_ = buddy; }
    void setTimer(int id, unsigned ms) override { app_.setTimer(this, id, ms); }
    void killTimer(int id) override { app_.killTimer(this, id); }
    void setIcon(const std::string& r) override { icon_ = r; }
    std::uintptr_t iconHandle() const override { return icon_.empty() ? 0 : 1; }

    // Frame of a top-level window: single border and caption.
    static constexpr int kFrameWidth = 6, kFrameHeight = 25;

private:
    void windowProc(TMessage& m);
    void event(void (PeerSink::*raise)());
    void onSetText(TMessage& m);
    void onGetTextLength(TMessage& m);
    void onSetCheck(TMessage& m);
    void onGetCheck(TMessage& m);
    void onMouseMove(TMessage& m);
    void onMouseLeave(TMessage& m);
    void onPaint(TMessage& m);
    void onSetFocus(TMessage&) { event(&PeerSink::peerEnter); }
    void onKillFocus(TMessage&);
    void onEnable(TMessage&) { notifyHooks(cm::EnabledChanged); }
    struct Handler {
        std::uint32_t msg;
        void (HeadlessPeer::*handle)(TMessage&);
    };
    static const Handler kHandlers[];

    struct Row {
        std::vector<std::string> cells;
        std::intptr_t data = 0;
    };
    HeadlessApplication& app_;
    PeerKind kind_;
    PeerSink& sink_;
    HeadlessPeer* parent_;
    int id_;
    TRect bounds_;
    std::string text_, hint_, picture_, icon_;
    bool visible_, enabled_ = true, checked_ = false, wordWrap_ = false, stretch_ = false,
                   defaultLook_ = false, hot_ = false, ctl3D_ = true, classPaint_ = true;
    std::unique_ptr<MemoryCanvas> surface_;
    char passwordChar_ = 0;
    TBevelCut bevel_ = TBevelCut::None;
    TFont font_;
    TCursor cursor_ = TCursor::Default;
    std::vector<Row> rows_;
    std::vector<std::pair<std::string, int>> columns_;
    int itemIndex_ = -1;
    mutable int pos_ = 0;
    int lo_ = 0, hi_ = 100;
    mutable bool positionError_ = false;
    Peer* buddy_ = nullptr;
    int z_ = 0;
};

}  // namespace ui::headless
