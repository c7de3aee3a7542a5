// The handlers of the restriction page and the loop clear that enforces it.
#include <algorithm>
#include <exception>
#include <initializer_list>

#include "common/kill.h"
#include "common/list_file.h"
#include "common/listing.h"
#include "common/lists.h"
#include "restriction/page.h"
#include "restriction/rules.h"

namespace restriction {


// --- The lists.

void RestrictPage::RadioGroup2Click() {
    if (RadioGroup2.itemIndex() == 1) {
        GroupBox3.setCaption(kForbidCaption);
        ListYunXu.setItems(List3.items());
        List3.setItems(ListJinZhi.items());
    } else {
        GroupBox3.setCaption(kAllowCaption);
        ListJinZhi.setItems(List3.items());
        List3.setItems(ListYunXu.items());
    }
}

void RestrictPage::Button8Click() {
    const std::string* program =
        host.chooseProgram(GroupBox3.caption() == kAllowCaption ? kAddAllowedTitle : kAddForbiddenTitle);
    if (!program) return;
    const std::string entry = entryFromChosenPath(*program, host.IsWindowsNT);
    const std::vector<std::string> lines = List3.items();
    if (std::find(lines.begin(), lines.end(), entry) != lines.end()) return;
    List3.add(entry);
}

void RestrictPage::Button9Click() { common::removeSelectedLine(List3); }

void RestrictPage::Button16Click() {
    if (common::confirmed(Application, kClearQuestion))
        List3.clear();
}

void RestrictPage::setWholeList(const std::vector<std::string>& lines) {
    List3.setItems(lines);
    if (modeOf(GroupBox3.caption()) == Mode::Allow) allowFilled_ = true;
}

void RestrictPage::fillAllowList(std::vector<std::string> running) {
    if (allowFilled_) return;
    ui::TListBox& allow = modeOf(GroupBox3.caption()) == Mode::Forbid ? ListYunXu : List3;
    for (std::string& line : allow.items()) running.push_back(std::move(line));
    allow.setItems(running);
    allowFilled_ = true;
}

// The lines are replaced as a whole, so a listing that fails keeps the old ones.
void RestrictPage::Button10Click() {
    setWholeList(common::listHidden(os, host.IsWindowsNT, &host.ModuleNames).lines);
}

void RestrictPage::Button6Click() { host.saveListAs(List3); }

void RestrictPage::RefreshHideList() {
    common::ProcessListing l = common::listHidden(os, host.IsWindowsNT, &host.ModuleNames);
    ListHide.setItems(l.lines);
    if (host.IsWindowsNT) LoopSnapshot = std::move(l.snapshot);
}

std::int32_t RestrictPage::KillTaskB(std::int32_t index) {
    return common::killEntry(os, LoopSnapshot, index);
}

void RestrictPage::Button7Click() {
    const std::string* file = host.chooseListFile();
    if (!file) return;
    // Read first: a file that cannot be read leaves the list as it was.
    setWholeList(common::readChosenListFile(os, *file));
}

// --- The loop clear.

// A pass runs at every expiry, also while the error box of an earlier one is
// open (its message loop runs the timer): the machine stays held to the list
// while nobody is there to press OK. A failing pass meanwhile adds no box.
void RestrictPage::Timer1Timer() {
    try {
        loopClearPass();
    } catch (const ui::EAbort&) {
    } catch (const std::exception& e) {
        if (loopErrorShown_) return;
        struct Showing {
            bool& flag;
            explicit Showing(bool& f) : flag(f) { flag = true; }
            ~Showing() { flag = false; }
        } showing(loopErrorShown_);
        Application.showException(e);
    }
}

// The caption names the mode. The lines are read once and hashed, so a pass
// costs one walk of the processes and one of the lines.
void RestrictPage::loopClearPass() {
    const Mode mode = modeOf(GroupBox3.caption());
    if (mode == Mode::None) return;
    if (mode == Mode::Allow && !allowFilled_) {
        if (unfilledTold_) return;
        unfilledTold_ = true;
        Application.messageBox(kUnfilledText, "提示", ui::mb::Ok | ui::mb::IconWarning);
        return;
    }
    const std::vector<std::string> lines = List3.items();
    if (mode == Mode::Forbid && !host.IsWindowsNT) {
        // No list of our own on 9x: every listed name is ended by name.
        common::killByNames(os, lines);
        return;
    }
    RefreshHideList();
    const std::vector<std::string> names = ListHide.items();
    const std::vector<std::size_t> hits = positionsToEnd(mode, names, lines);
    if (host.IsWindowsNT) {
        common::killEntries(os, LoopSnapshot, hits);
        return;
    }
    std::vector<std::string> unlisted;
    for (std::size_t i : hits) unlisted.push_back(names[i]);
    common::killByNames(os, unlisted);
}

// The seven controls that edit the lists or the mode are locked while the
// loop clear is on, so the mode never changes under it. The other switch's state is
// set without running its handler.
void RestrictPage::switchLoopClear(bool on, const std::function<void()>& setMirror) {
    if (on) {
        for (ui::TControl* c : std::initializer_list<ui::TControl*>{
                 &RadioGroup2, &Button6, &Button7, &Button16, &Button8, &Button9, &Button10})
            c->setEnabled(false);
        setMirror();
        Timer1.setEnabled(true);
        return;
    }
    Timer1.setEnabled(false);
    setMirror();
    for (ui::TControl* c : std::initializer_list<ui::TControl*>{
             &Button6, &Button7, &Button16, &Button8, &Button9, &Button10, &RadioGroup2})
        c->setEnabled(true);
}

void RestrictPage::setLoopClear(bool on) {
    switchLoopClear(on, [&] { SpeedButton1.setDown(on); });
}

void RestrictPage::SpeedButton1Click() {
    const bool on = SpeedButton1.down();
    switchLoopClear(on, [&] { host.loopClearSwitched(on); });
}

// "后台监视": the loop clear goes on unseen, from the notification area.
void RestrictPage::Button11Click() { host.hideToNotificationArea(); }

}  // namespace restriction
