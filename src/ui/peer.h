// A control's other half: a real window in the Win32 build, an in-memory
// record in the headless one. Controls keep no state of their own beyond
// properties; what the user can change is read back from the peer.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "ui/hooks.h"
#include "ui/types.h"

namespace ui {

class TCanvas;

enum class PeerKind {
    Form, Button, BitBtn, SpeedButton, CheckBox, RadioButton, GroupBox, Panel, Label,
    Edit, ListBox, CheckListBox, ListView, PageControl, TabSheet, UpDown, Image, Bevel
};

// What a peer tells its control. Every call is one user event; the
// application wraps it so that no exception reaches the window system.
class PeerSink {
public:
    virtual ~PeerSink() = default;
    virtual void peerClicked() {}
    virtual void peerChanged() {}
    virtual void peerKeyPress(char& key) { (void)key; }
    virtual void peerToggled(int row) { (void)row; }
    virtual void peerTimer(int id) { (void)id; }
    virtual bool peerCloseQuery() { return true; }  // title-bar close
    virtual void peerPaint() {}
    virtual void peerMinimize() {}
    // Focus gained and lost, the mouse come over and gone, the tick of a
    // check box, radio button or speed button changed (by the user or by
    // code), the window just painted.
    virtual void peerEnter() {}
    virtual void peerExit() {}
    virtual void peerMouseEnter() {}
    virtual void peerMouseLeave() {}
    virtual void peerCheckChanged() {}
    virtual void peerAfterPaint() {}
    // The window has just been made: where windows come late, what was laid
    // out against the window's own measures is laid out again.
    virtual void peerCreated() {}
    // A message a form's window does not handle itself; true when taken,
    // with m.result the answer.
    virtual bool peerMessage(TMessage& m) { (void)m; return false; }
    // Owner-drawn lines, buttons and pictures.
    virtual void peerDraw(TCanvas& canvas, const TRect& r, int row, bool selected, bool focused) {
        (void)canvas, (void)r, (void)row, (void)selected, (void)focused;
    }
};

class Peer {
public:
    virtual ~Peer() = default;

    virtual std::uintptr_t handle() const = 0;  // HWND in the Win32 build
    virtual void setBounds(int left, int top, int width, int height) = 0;
    // In the parent's client coordinates; for a top-level window the outer
    // rectangle (frame and caption included) on the screen.
    virtual TRect bounds() const = 0;
    virtual void setClientSize(int width, int height) { (void)width, (void)height; }
    virtual void setText(const std::string& text) = 0;
    virtual std::string text() const = 0;
    virtual void setVisible(bool visible) = 0;
    virtual bool visible() const = 0;  // its own flag, parents not considered
    virtual void setEnabled(bool enabled) = 0;
    virtual bool enabled() const = 0;
    virtual void setFocus() = 0;
    virtual bool focused() const = 0;
    virtual void setHint(const std::string& hint) = 0;
    virtual void setFont(const TFont& font) = 0;
    virtual void setCursor(TCursor cursor) = 0;
    virtual void bringToFront() = 0;
    virtual void invalidate() = 0;
    // Sends a message to the window, through its hooks; returns the answer.
    virtual std::intptr_t send(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) = 0;
    // The procedures in front of the window's own.
    THookChain& hooks() { return hooks_; }
    // Tells the hooks alone (a ui::cm notification); the window never sees it.
    void notifyHooks(std::uint32_t msg) {
        TMessage m{msg, 0, 0, 0};
        hooks_.dispatch(m, [](TMessage&) {});
    }
    // Paints over what the window has drawn: on its client area, or on the
    // whole window with its border. r is the area in the canvas.
    virtual void paintOver(bool wholeWindow, const std::function<void(TCanvas&, const TRect& r)>& paint) {
        (void)wholeWindow, (void)paint;
    }
    // Leaves the window's paint messages to its hooks alone: for a hook that
    // paints the whole face anyway, the class's own drawing is wasted.
    virtual void setClassPaint(bool on) { (void)on; }
    // Edit fields: the sunken 3D border, or a flat single line.
    virtual void setCtl3D(bool on) { (void)on; }

    // Style switches that only some kinds honour.
    virtual void setWordWrap(bool wrap) { (void)wrap; }
    virtual void setPasswordChar(char c) { (void)c; }
    virtual void setBevel(TBevelCut cut) { (void)cut; }
    virtual void setPicture(const std::string& resource) { (void)resource; }
    virtual void setStretch(bool stretch) { (void)stretch; }
    virtual void setDefaultLook(bool isDefault) { (void)isDefault; }

    // Check state: check box, radio button, speed button.
    virtual bool checked() const { return false; }
    virtual void setChecked(bool) {}

    // Rows: list box lines, list view rows (column 0 is the caption), page tabs.
    virtual int count() const { return 0; }
    virtual std::string cell(int row, int col) const { (void)row, (void)col; return {}; }
    virtual void setCell(int row, int col, const std::string& text) { (void)row, (void)col, (void)text; }
    virtual int insertRow(int at, const std::string& caption) { (void)at, (void)caption; return -1; }
    virtual void deleteRow(int row) { (void)row; }
    virtual void clearRows() {}
    // Replaces every row at once; peers that can, fill without a repaint per row.
    virtual void setRows(const std::vector<std::string>& rows) {
        clearRows();
        for (const auto& r : rows) insertRow(-1, r);
    }
    virtual int itemIndex() const { return -1; }
    virtual void setItemIndex(int row) { (void)row; }
    virtual std::intptr_t itemData(int row) const { (void)row; return 0; }
    virtual void setItemData(int row, std::intptr_t data) { (void)row, (void)data; }
    virtual void addColumn(const std::string& caption, int width) { (void)caption, (void)width; }
    virtual void redrawRow(int row) { (void)row; }
    // Page control: the area its pages fill, in its own client coordinates.
    virtual TRect displayRect() const { TRect b = bounds(); return {0, 0, b.width(), b.height()}; }

    // Up-down control.
    virtual void setRange(int lo, int hi) { (void)lo, (void)hi; }
    virtual int position() const { return 0; }
    // True when the last position() could not take the buddy's text (not a
    // number in range) and gave the previous position instead.
    virtual bool positionError() const { return false; }
    virtual void setPosition(int pos) { (void)pos; }
    virtual void setBuddy(Peer* buddy) { (void)buddy; }

    // Top-level window: timers, icon, closing.
    virtual void setTimer(int id, unsigned ms) { (void)id, (void)ms; }
    virtual void killTimer(int id) { (void)id; }
    virtual void setIcon(const std::string& resource) { (void)resource; }
    virtual std::uintptr_t iconHandle() const { return 0; }

private:
    THookChain hooks_;
};

}  // namespace ui
