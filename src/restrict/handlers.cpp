// The restriction page of TfrmMain and the loop clear that enforces it.
#include <algorithm>
#include <cstdlib>
#include <exception>
#include <functional>
#include <initializer_list>

#include "app/main_form.h"
#include "ui/messages.h"
#include "common/lists.h"
#include "process/kill.h"
#include "process/normal_list.h"
#include "restrict/rules.h"

using restriction::Mode;

// --- The lists.

void TfrmMain::RadioGroup2Click() {
    if (RadioGroup2.itemIndex() == 1) {
        GroupBox3.setCaption(restriction::kForbidCaption);
        ListYunXu.setItems(List3.items());
        List3.setItems(ListJinZhi.items());
    } else {
        GroupBox3.setCaption(restriction::kAllowCaption);
        ListJinZhi.setItems(List3.items());
        List3.setItems(ListYunXu.items());
    }
}

void TfrmMain::Button8Click() {
    NormalAppSet.title = GroupBox3.caption() == restriction::kAllowCaption
                             ? restriction::kAddAllowedTitle
                             : restriction::kAddForbiddenTitle;
    if (!NormalAppSet.execute()) return;
    const std::string entry = restriction::entryFromChosenPath(NormalAppSet.fileName, IsWindowsNT);
    const std::vector<std::string> lines = List3.items();
    if (std::find(lines.begin(), lines.end(), entry) != lines.end()) return;
    List3.add(entry);
}

void TfrmMain::Button9Click() { page::removeSelectedLine(List3); }

void TfrmMain::Button16Click() {
    if (page::confirmed(Application, restriction::kClearQuestion, restriction::kClearCaption))
        List3.clear();
}

// The lines are replaced as a whole, so a listing that fails keeps the old ones.
void TfrmMain::Button10Click() {
    List3.setItems(process::listHidden(os, IsWindowsNT, &ModuleNames).lines);
}

void TfrmMain::Button6Click() { saveListAs(List3); }

void TfrmMain::Button7Click() {
    if (!OpenDialog1.execute()) return;
    // Read first: a file that cannot be read leaves the list as it was.
    List3.setItems(process::readChosenListFile(os, OpenDialog1.fileName));
}

// --- The loop clear.

// A pass runs at every expiry, also while the error box of an earlier one is
// open (its message loop runs the timer): the machine stays held to the list
// while nobody is there to press OK. A failing pass meanwhile adds no box.
void TfrmMain::Timer1Timer() {
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
void TfrmMain::loopClearPass() {
    const Mode mode = restriction::modeOf(GroupBox3.caption());
    if (mode == Mode::None) return;
    const std::vector<std::string> lines = List3.items();
    if (mode == Mode::Forbid && !IsWindowsNT) {
        // No list of our own on 9x: every listed name is ended by name.
        process::killByNames(os, lines);
        return;
    }
    RefreshHideList();
    const std::vector<std::string> names = ListHide.items();
    const std::vector<std::size_t> hits = restriction::positionsToEnd(mode, names, lines);
    if (IsWindowsNT) {
        process::killEntries(os, LoopSnapshot, hits);
        return;
    }
    std::vector<std::string> unlisted;
    for (std::size_t i : hits) unlisted.push_back(names[i]);
    process::killByNames(os, unlisted);
}

// The seven controls that edit the lists or the mode are locked while the
// loop clear is on, so the mode never changes under it. The other switch's state is
// set without running its handler.
void TfrmMain::switchLoopClear(bool on, const std::function<void()>& setMirror) {
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

void TfrmMain::SpeedButton1Click() {
    const bool on = SpeedButton1.down();
    switchLoopClear(on, [&] { N1.checked = on; });
}

void TfrmMain::N1Click() {
    const bool on = N1.checked;
    switchLoopClear(on, [&] { SpeedButton1.setDown(on); });
}

// The edit holds only what the arrows wrote; anything else keeps the
// interval as the arrows left it.
void TfrmMain::UpDown1Click() {
    int seconds = UpDown1.position();
    const std::string text = Edit4.text();
    char* end = nullptr;
    const long v = std::strtol(text.c_str(), &end, 10);
    if (!text.empty() && end && *end == '\0' && v >= UpDown1.min() && v <= UpDown1.max())
        seconds = static_cast<int>(v);
    Timer1.setInterval(static_cast<unsigned>(seconds) * 1000u);
}

void TfrmMain::Edit4KeyPress(char& key) { key = 0; }

namespace restriction {

void wire(TfrmMain& f) {
    f.RadioGroup2.OnClick = [&f] { f.RadioGroup2Click(); };
    f.Button8.OnClick = [&f] { f.Button8Click(); };
    f.Button9.OnClick = [&f] { f.Button9Click(); };
    f.Button16.OnClick = [&f] { f.Button16Click(); };
    f.Button10.OnClick = [&f] { f.Button10Click(); };
    f.Button6.OnClick = [&f] { f.Button6Click(); };
    f.Button7.OnClick = [&f] { f.Button7Click(); };
    f.Timer1.OnTimer = [&f] { f.Timer1Timer(); };
    f.SpeedButton1.OnClick = [&f] { f.SpeedButton1Click(); };
    f.UpDown1.OnClick = [&f] { f.UpDown1Click(); };
    f.Edit4.OnKeyPress = [&f](char& key) { f.Edit4KeyPress(key); };
    f.Edit4Guard = f.Edit4.installHook([](ui::TMessage& m, const ui::TMessageNext& next) {
        namespace wm = ui::wm;
        const bool changesText = m.msg == wm::Cut || m.msg == wm::Paste || m.msg == wm::Clear ||
                                 m.msg == wm::Undo || m.msg == wm::EmUndo ||
                                 (m.msg == wm::KeyDown && m.wParam == wm::VkDelete);
        if (!changesText) next(m);
    });
}

}  // namespace restriction
