// The open message path of the toolkit on the in-memory peers: hooks in
// front of a control, the events its window reports, messages to the form
// and owner-drawn popup menus.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "ui/controls.h"
#include "ui/headless/headless_app.h"
#include "ui/menus.h"
#include "ui/messages.h"

using ui::headless::HeadlessApplication;
using ui::headless::HeadlessPeer;
using Log = std::vector<std::string>;

namespace {

HeadlessPeer& peerOf(ui::TControl& c) { return static_cast<HeadlessPeer&>(c.peer()); }

struct MessagePath : ::testing::Test {
    MessagePath() { form.show(); }
    // A hook that writes its name and the message number, then hands on.
    ui::THookFunction logging(const std::string& name) {
        return [this, name](ui::TMessage& m, const ui::TMessageNext& next) {
            log.push_back(name + " " + std::to_string(m.msg));
            next(m);
        };
    }
    void record(ui::TControl& c, const std::string& name) {
        c.OnEnter = [this, name] { log.push_back(name + " enter"); };
        c.OnExit = [this, name] { log.push_back(name + " exit"); };
        c.OnMouseEnter = [this, name] { log.push_back(name + " mouse in"); };
        c.OnMouseLeave = [this, name] { log.push_back(name + " mouse out"); };
        c.OnCheckChanged = [this, name] { log.push_back(name + " check"); };
        c.OnAfterPaint = [this, name] { log.push_back(name + " painted"); };
        c.OnClick = [this, name] { log.push_back(name + " click"); };
    }
    HeadlessApplication app;
    ui::TForm form{app, "TTestForm"};
    Log log;
};

constexpr std::uint32_t kLength = ui::wm::GetTextLength;
const std::string kLengthNo = std::to_string(kLength);

// --- Hooks

TEST_F(MessagePath, TheNewestHookSeesAMessageFirstAndHooksComeOffInAnyOrder) {
    ui::TEdit edit(form, 1, "abc");
    auto a = edit.installHook(logging("a"));
    auto b = edit.installHook(logging("b"));
    auto c = edit.installHook(logging("c"));
    EXPECT_EQ(edit.perform(kLength), 3);  // the control's own answer comes through
    EXPECT_EQ(log, (Log{"c " + kLengthNo, "b " + kLengthNo, "a " + kLengthNo}));

    log.clear();
    b.remove();  // the middle one: the others keep their places
    EXPECT_EQ(edit.perform(kLength), 3);
    EXPECT_EQ(log, (Log{"c " + kLengthNo, "a " + kLengthNo}));

    log.clear();
    c = {};  // the newest, by dropping its registration
    a.remove();
    EXPECT_EQ(edit.perform(kLength), 3);
    EXPECT_TRUE(log.empty());
    EXPECT_FALSE(a.installed());
    EXPECT_FALSE(b.installed());
    EXPECT_TRUE(peerOf(edit).hooks().empty());
}

TEST_F(MessagePath, AHookCanSwallowChangeOrAnswerAMessage) {
    ui::TEdit edit(form, 1, "abc");
    ui::TCheckBox box(form, 2);
    auto frozen = edit.installHook([](ui::TMessage& m, const ui::TMessageNext& next) {
        if (m.msg != ui::wm::SetText) next(m);
    });
    auto longer = edit.installHook([](ui::TMessage& m, const ui::TMessageNext& next) {
        next(m);
        if (m.msg == kLength) m.result += 100;
    });
    auto inverted = box.installHook([](ui::TMessage& m, const ui::TMessageNext& next) {
        if (m.msg == ui::wm::BmSetCheck) m.wParam = m.wParam == ui::wm::BstChecked ? 0 : 1;
        next(m);
    });
    edit.setText("changed");
    EXPECT_EQ(edit.text(), "abc");
    EXPECT_EQ(edit.perform(kLength), 103);
    box.setChecked(true);
    EXPECT_FALSE(box.checked());
}

TEST_F(MessagePath, HooksComingAndGoingWhileAMessageRunsThroughThem) {
    ui::TEdit edit(form, 1, "abc");
    ui::THookRegistration inner = edit.installHook(logging("inner"));
    ui::THookRegistration late;
    // The outer hook takes the inner one off before handing on, and puts a
    // new one in: neither sees this message.
    auto outer = edit.installHook([&](ui::TMessage& m, const ui::TMessageNext& next) {
        log.push_back("outer");
        inner.remove();
        if (!late.installed()) late = edit.installHook(logging("late"));
        next(m);
    });
    EXPECT_EQ(edit.perform(kLength), 3);
    EXPECT_EQ(log, (Log{"outer"}));
    log.clear();
    edit.perform(kLength);
    EXPECT_EQ(log, (Log{"late " + kLengthNo, "outer"}));
}

// A painter's per-control record frees itself from inside its own procedure
// when its control goes, as the flat look does.
struct SelfFreeing : ui::TMessageHook {
    SelfFreeing(ui::TControl& c, std::unique_ptr<SelfFreeing>& owner, int& seen)
        : owner_(owner), seen_(seen), reg_(c.installHook(*this)) {}
    void hookMessage(ui::TMessage& m, const ui::TMessageNext& next) override {
        ++seen_;
        next(m);
        if (m.msg == ui::wm::App) owner_.reset();
    }
    std::unique_ptr<SelfFreeing>& owner_;
    int& seen_;
    ui::THookRegistration reg_;
};

TEST_F(MessagePath, AHookObjectMayFreeItselfInsideItsCallAndTheControlGoesOnWithoutIt) {
    ui::TEdit edit(form, 1, "abc");
    int seen = 0;
    std::unique_ptr<SelfFreeing> record;
    record = std::make_unique<SelfFreeing>(edit, record, seen);
    EXPECT_EQ(edit.perform(kLength), 3);
    edit.perform(ui::wm::App);
    EXPECT_EQ(record, nullptr);
    EXPECT_EQ(edit.perform(kLength), 3);
    EXPECT_EQ(seen, 2);
}

TEST_F(MessagePath, ARegistrationMayOutliveItsControl) {
    ui::THookRegistration kept;
    {
        ui::TEdit edit(form, 1);
        kept = edit.installHook(logging("h"));
        EXPECT_TRUE(kept.installed());
    }
    EXPECT_FALSE(kept.installed());
    kept.remove();
    EXPECT_TRUE(log.empty());  // the control's end is no message for its hooks
}

// --- Events the window reports

TEST_F(MessagePath, FocusMovingBetweenTwoEditsLeavesTheFirstBeforeEnteringTheSecond) {
    ui::TEdit a(form, 1), b(form, 2);
    record(a, "a");
    record(b, "b");
    std::vector<std::uintptr_t> lostTo;
    auto hook = a.installHook([&](ui::TMessage& m, const ui::TMessageNext& next) {
        if (m.msg == ui::wm::KillFocus) lostTo.push_back(m.wParam);
        next(m);
    });
    a.setFocus();
    a.setFocus();  // already there: nothing
    b.setFocus();
    EXPECT_EQ(log, (Log{"a enter", "a exit", "b enter"}));
    EXPECT_EQ(lostTo, (std::vector<std::uintptr_t>{b.handle()}));
    EXPECT_EQ(form.focusedControl(), &b);
}

TEST_F(MessagePath, ATickChangeIsReportedBeforeTheClickAndOnlyWhenTheTickMoves) {
    ui::TCheckBox box(form, 1);
    record(box, "box");
    box.userClick();
    box.setChecked(true);  // the same state: nothing
    box.setChecked(false);
    EXPECT_EQ(log, (Log{"box check", "box click", "box check", "box click"}));

    log.clear();
    ui::TRadioGroup group(form, 10);
    group.setItems({"a", "b"});
    record(group.button(0), "0");
    record(group.button(1), "1");
    group.OnClick = [&] { log.push_back("group click"); };
    group.userSelect(0);
    group.userSelect(1);
    EXPECT_EQ(log, (Log{"0 check", "group click", "0 check", "1 check", "group click"}));
}

TEST_F(MessagePath, TheMouseEntersOnceAndLeavesWhenItMovesOnButNeverADisabledControl) {
    ui::TButton a(form, 1), b(form, 2), off(form, 3);
    record(a, "a");
    record(b, "b");
    record(off, "off");
    off.setEnabled(false);
    app.hover(&peerOf(a));
    app.hover(&peerOf(a));
    app.hover(&peerOf(b));
    app.hover(&peerOf(off));
    app.hover(&peerOf(a));
    app.hover(nullptr);
    EXPECT_EQ(log, (Log{"a mouse in", "a mouse out", "b mouse in", "b mouse out", "a mouse in",
                        "a mouse out"}));
    EXPECT_FALSE(peerOf(a).hot());
}

TEST_F(MessagePath, PaintingReportsAfterTheWindowPaintedAndAfterTheFormsOwnPaint) {
    ui::TPanel panel(form, 1);
    record(panel, "panel");
    form.OnPaint = [&] { log.push_back("form paint"); };
    form.OnAfterPaint = [&] { log.push_back("form painted"); };
    auto hook = panel.installHook(logging("hook"));
    peerOf(panel).paint();
    peerOf(form).paint();
    EXPECT_EQ(log, (Log{"hook " + std::to_string(ui::wm::Paint), "panel painted", "form paint",
                        "form painted"}));
}

TEST_F(MessagePath, AnErrorInAWindowEventIsShownEvenWhenCodeCausedIt) {
    ui::TCheckBox box(form, 1);
    ui::TEdit edit(form, 2);
    box.OnCheckChanged = [] { throw std::runtime_error("Invalid data type for 'RunByPass'"); };
    edit.OnEnter = [] { throw std::runtime_error("enter failed"); };
    int clicks = 0;
    box.OnClick = [&] { ++clicks; };
    EXPECT_NO_THROW(box.setChecked(true));
    EXPECT_NO_THROW(edit.setFocus());
    EXPECT_TRUE(box.checked());
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(app.errors(), (std::vector<std::string>{"Invalid data type for 'RunByPass'",
                                                      "enter failed"}));
}

// --- Messages to the form

TEST_F(MessagePath, APostedMessageReachesItsHandlerAtTheNextPump) {
    constexpr std::uint32_t kTray = ui::wm::User + 100;
    std::vector<std::pair<std::uintptr_t, std::intptr_t>> got;
    form.setMessageHandler(kTray, [&](ui::TMessage& m) {
        got.push_back({m.wParam, m.lParam});
        return true;
    });
    app.postMessage(form.handle(), kTray, 3, 0x0205);
    EXPECT_TRUE(got.empty());
    app.processMessages();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].first, 3u);
    EXPECT_EQ(got[0].second, 0x0205);
    app.processMessages();
    EXPECT_EQ(got.size(), 1u);
}

TEST_F(MessagePath, AHandlerAnswersWhatItTakesAndTheRestFallsThrough) {
    const std::uint32_t taskbarCreated = ui::wm::FirstRegistered + 0x23;
    int seen = 0;
    form.setMessageHandler(taskbarCreated, [&](ui::TMessage& m) {
        ++seen;
        m.result = 42;
        return true;
    });
    form.setMessageHandler(ui::wm::App + 1, [&](ui::TMessage& m) {
        ++seen;
        m.result = 7;
        return false;  // declined: the default answer stands
    });
    EXPECT_EQ(app.sendMessage(form.handle(), taskbarCreated), 42);
    EXPECT_EQ(app.sendMessage(form.handle(), ui::wm::App + 1), 0);
    EXPECT_EQ(app.sendMessage(form.handle(), ui::wm::App + 2), 0);
    EXPECT_EQ(seen, 2);

    // Only the form's own window: a control passes it on to nobody.
    ui::TButton button(form, 1);
    EXPECT_EQ(app.sendMessage(button.handle(), taskbarCreated), 0);
    form.setMessageHandler(taskbarCreated, nullptr);
    EXPECT_EQ(app.sendMessage(form.handle(), taskbarCreated), 0);
    EXPECT_EQ(seen, 2);
}

TEST_F(MessagePath, AFormHookSeesItsMessagesFirstAndMaySwallowThem) {
    int handled = 0;
    form.setMessageHandler(ui::wm::App, [&](ui::TMessage&) { return ++handled > 0; });
    bool swallow = true;
    auto hook = form.installHook([&](ui::TMessage& m, const ui::TMessageNext& next) {
        if (!(swallow && m.msg == ui::wm::App)) next(m);
    });
    app.sendMessage(form.handle(), ui::wm::App);
    swallow = false;
    app.sendMessage(form.handle(), ui::wm::App);
    EXPECT_EQ(handled, 1);
}

TEST_F(MessagePath, MessagesForAWindowThatWentAreDropped) {
    int handled = 0;
    form.setMessageHandler(ui::wm::App, [&](ui::TMessage&) { return ++handled > 0; });
    form.setMessageHandler(ui::wm::App + 1, [](ui::TMessage&) -> bool {
        throw std::runtime_error("tray failed");
    });
    std::uintptr_t gone = 0;
    {
        ui::TButton button(form, 1);
        gone = button.handle();
        app.postMessage(gone, ui::wm::App);
    }
    app.postMessage(gone, ui::wm::App);
    EXPECT_EQ(app.sendMessage(gone, ui::wm::App), 0);
    app.postMessage(form.handle(), ui::wm::App + 1);
    EXPECT_NO_THROW(app.processMessages());
    EXPECT_EQ(handled, 0);
    EXPECT_EQ(app.errors(), (std::vector<std::string>{"tray failed"}));
}

// --- Owner-drawn popup menus

struct Drawn {
    int id;
    ui::TRect rect;
    ui::TOwnerDrawState state;
};

struct PaintedMenu : MessagePath {
    PaintedMenu() {
        menu.ownerDraw = true;
        for (ui::TMenuItem* item : {&show, &sep, &loop, &quit, &hidden}) {
            item->OnMeasureItem = [item](ui::TCanvas&, int& w, int& h) {
                w = 40 + item->id();
                h = item->isSeparator() ? 5 : h + item->id();
            };
            item->OnDrawItem = [this, item](ui::TCanvas& c, const ui::TRect& r,
                                            const ui::TOwnerDrawState& s) {
                drawn.push_back({item->id(), r, s});
                c.setBrushColor(s.selected ? ui::clHighlight : ui::clWindow);
                c.fillRect(r);
            };
        }
        show.defaultItem = true;
        loop.checked = true;
        quit.enabled = false;
        hidden.visible = false;
    }
    ui::TPopupMenu menu{app};
    ui::TMenuItem show{menu, 1, "show"}, sep{menu, 2, "-"}, loop{menu, 3, "loop"},
        quit{menu, 4, "quit"}, hidden{menu, 5, "hidden"};
    std::vector<Drawn> drawn;
};

TEST_F(PaintedMenu, ItemsAreLaidOutTopToBottomAtTheirMeasuredHeightsAndToldTheirState) {
    menu.popup(0, 0);
    ASSERT_TRUE(app.menus().back().picture);
    const auto& picture = *app.menus().back().picture;
    const int h = ui::headless::MenuPicture::kStartHeight;
    // One column as wide as the widest item (loop: 43, quit: 44).
    const std::vector<ui::headless::MenuItemBox> boxes{{1, {0, 0, 44, h + 1}},
                                                       {2, {0, h + 1, 44, h + 6}},
                                                       {3, {0, h + 6, 44, 2 * h + 9}},
                                                       {4, {0, 2 * h + 9, 44, 3 * h + 13}}};
    ASSERT_EQ(picture.boxes().size(), boxes.size());
    for (size_t i = 0; i < boxes.size(); ++i) {
        EXPECT_EQ(picture.boxes()[i].id, boxes[i].id);
        EXPECT_EQ(picture.boxes()[i].rect, boxes[i].rect);
    }
    ASSERT_EQ(drawn.size(), 4u);
    EXPECT_EQ(drawn[0].state, (ui::TOwnerDrawState{false, false, false, true}));
    EXPECT_EQ(drawn[2].state, (ui::TOwnerDrawState{false, false, true, false}));
    EXPECT_EQ(drawn[3].state, (ui::TOwnerDrawState{false, true, false, false}));
    EXPECT_EQ(drawn[3].rect, boxes[3].rect);
    EXPECT_EQ(picture.canvas().height(), 3 * h + 13);
    EXPECT_EQ(picture.canvas().pixel(10, h + 8), ui::clWhite);
}

TEST_F(PaintedMenu, TheChosenItemIsDrawnSelectedBeforeItRuns) {
    bool pictureDone = false;
    loop.OnClick = [&] { pictureDone = !drawn.empty() && drawn.back().state.selected; };
    app.chooseMenuItem(3);
    menu.popup(0, 0);
    ASSERT_EQ(drawn.size(), 5u);
    EXPECT_EQ(drawn[4].id, 3);
    EXPECT_TRUE(drawn[4].state.selected);
    EXPECT_TRUE(drawn[4].state.checked);
    EXPECT_TRUE(pictureDone);
    const auto& picture = *app.menus().back().picture;
    EXPECT_EQ(picture.canvas().pixel(10, drawn[4].rect.top + 1),
              ui::headless::classicSystemColor(ui::clHighlight));
}

TEST_F(PaintedMenu, WithoutOwnerDrawThePaintersAreNotAsked) {
    menu.ownerDraw = false;
    menu.popup(0, 0);
    EXPECT_FALSE(app.menus().back().picture);
    EXPECT_TRUE(drawn.empty());
    EXPECT_FALSE(show.ownerDrawn());
}

TEST_F(PaintedMenu, AFailingPainterIsShownAndTheOtherItemsAreStillDrawn) {
    show.OnDrawItem = [](ui::TCanvas&, const ui::TRect&, const ui::TOwnerDrawState&) {
        throw std::runtime_error("no font");
    };
    loop.OnMeasureItem = nullptr;  // drawn at the size the system starts with
    menu.popup(0, 0);
    EXPECT_EQ(drawn.size(), 3u);
    EXPECT_EQ(app.errors(), (std::vector<std::string>{"no font"}));
    const auto& boxes = app.menus().back().picture->boxes();
    EXPECT_EQ(boxes[2].rect.height(), ui::headless::MenuPicture::kStartHeight);
}

}  // namespace
