// The restriction page and the loop clear that enforces it: the controls,
// built with their texts and places, the timer and the handlers. The window
// holds it.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "common/page_host.h"
#include "common/process_record.h"
#include "ui/controls.h"

namespace restriction {

// Page "程序限制".
class RestrictPage : public common::Page {
public:
    RestrictPage(common::PageHost& host, ui::TPageControl& pages, ui::TForm& form);

    ui::TTabSheet TabSheet3;
    ui::TGroupBox GroupBox3;
    ui::TListBox List3;
    ui::TListBox ListHide;
    ui::TListBox ListYunXu;
    ui::TRadioGroup RadioGroup2;
    ui::TListBox ListJinZhi;
    ui::TButton Button6;
    ui::TButton Button7;
    ui::TButton Button16;
    ui::TButton Button8;
    ui::TButton Button9;
    ui::TButton Button10;
    ui::TSpeedButton SpeedButton1;
    ui::TButton Button11;
    // Runs the loop clear; enabled while it is on.
    ui::TTimer Timer1;

    // The process records behind the lines of ListHide (NT only).
    common::ProcessSnapshot LoopSnapshot;

    void RefreshHideList();
    std::int32_t KillTaskB(std::int32_t index);
    void RadioGroup2Click();
    void Button8Click();
    void Button9Click();
    void Button16Click();
    void Button10Click();
    void Button6Click();
    void Button7Click();
    void Timer1Timer();
    void SpeedButton1Click();
    void Button11Click();
    // The loop clear switched from outside the page: the page's own switch
    // follows, and the controls that edit the lists or the mode lock.
    void setLoopClear(bool on);
    // Seconds between two passes of the loop clear.
    void setInterval(int seconds) { Timer1.setInterval(static_cast<unsigned>(seconds) * 1000u); }
    // Start-up's allow list, from the first whole listing of the programs
    // running; until then no pass in allow mode ends anything. Lines the
    // user added meanwhile stay.
    void fillAllowList(std::vector<std::string> running);

private:
    // The allow list is whole: a listing filled it, or the user put one in.
    bool allowFilled_ = false;
    // A pass said once why it ends nothing.
    bool unfilledTold_ = false;
    // The user put a whole list in: in allow mode it is the allow list.
    void setWholeList(const std::vector<std::string>& lines);
    // Set while a pass's error box is open: later passes run, but add no box.
    bool loopErrorShown_ = false;
    void loopClearPass();
    // Locks or unlocks the controls that edit the lists or the mode and
    // starts or stops the timer; setMirror sets the other switch's state
    // without running its handler.
    void switchLoopClear(bool on, const std::function<void()>& setMirror);
};

}  // namespace restriction
