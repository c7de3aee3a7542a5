// What the toolkit promises about its message path, proven on every family
// of peers the build offers (see widget_world.h): the in-memory ones
// natively, real windows under Wine. A peer that reports an event late, twice
// or in another order shows up here first.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "ui/controls.h"
#include "ui/menus.h"
#include "ui/messages.h"
#include "widgets/recorded_menu.h"
#include "widgets/widget_world.h"

namespace {

using Log = std::vector<std::string>;

constexpr std::uint32_t kLength = ui::wm::GetTextLength;
const std::string kLengthNo = std::to_string(kLength);

struct WidgetContract : ::testing::Test {
    WidgetContract() {
        form.setClientSize(300, 200);
        form.moveTo(200, 200);
        form.show();
        w.settle([] { return false; }, 50);
    }
    // A hook that writes its name and the number of the messages the tests
    // send (a real window hears others besides), then hands on.
    ui::THookFunction logging(const std::string& name) {
        return [this, name](ui::TMessage& m, const ui::TMessageNext& next) {
            if (m.msg == kLength || m.msg == ui::wm::App)
                log.push_back(name + " " + std::to_string(m.msg));
            next(m);
        };
    }
    // Real windows come late; asking for the handle makes the window now.
    static void made(const ui::TControl& c) { (void)c.handle(); }
    // A hook that writes the given messages only, under a name of each.
    ui::THookFunction watching(const std::string& who,
                               std::vector<std::pair<std::uint32_t, std::string>> names) {
        return [this, who, names](ui::TMessage& m, const ui::TMessageNext& next) {
            for (const auto& [msg, name] : names)
                if (m.msg == msg) log.push_back(who + ": " + name);
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
    // The entries of the log that start with prefix, in their order.
    Log only(const std::string& prefix) const {
        Log out;
        for (const std::string& s : log)
            if (s.rfind(prefix, 0) == 0) out.push_back(s);
        return out;
    }
    Log without(const std::string& part) const {
        Log out;
        for (const std::string& s : log)
            if (s.find(part) == std::string::npos) out.push_back(s);
        return out;
    }
    // One control's mouse events and what its hooks saw of the mouse.
    Log mouse(const std::string& who) const {
        Log out;
        for (const std::string& s : only(who))
            if (s.find("mouse") != std::string::npos) out.push_back(s);
        return out;
    }
    bool logHas(const std::string& entry) const {
        return std::find(log.begin(), log.end(), entry) != log.end();
    }

    widgets::World& w = widgets::widgetWorld();
    std::unique_ptr<ui::TApplication> appHolder = w.newApplication();
    ui::TApplication& app = *appHolder;
    ui::TForm form{app, "TWidgetContractForm"};
    Log log;
};

// --- Hooks in front of a control

TEST_F(WidgetContract, TheNewestHookSeesAMessageFirstAndHooksComeOffInAnyOrder) {
    ui::TEdit edit(form, 1, "abc");
    edit.setBounds(10, 10, 100, 22);
    made(edit);
    auto a = edit.installHook(logging("a"));
    auto b = edit.installHook(logging("b"));
    auto c = edit.installHook(logging("c"));
    EXPECT_EQ(w.send(edit.handle(), kLength), 3);  // the control's own answer comes through
    EXPECT_EQ(log, (Log{"c " + kLengthNo, "b " + kLengthNo, "a " + kLengthNo}));

    log.clear();
    b.remove();  // the middle one: the others keep their places
    EXPECT_EQ(edit.perform(kLength), 3);
    EXPECT_EQ(log, (Log{"c " + kLengthNo, "a " + kLengthNo}));

    log.clear();
    c = {};  // the newest, by dropping its registration
    a.remove();
    EXPECT_EQ(w.send(edit.handle(), kLength), 3);
    EXPECT_TRUE(log.empty());
    EXPECT_FALSE(a.installed());
    EXPECT_FALSE(b.installed());
    EXPECT_TRUE(edit.peer().hooks().empty());
    edit.setText("abcd");  // the control works on without them
    EXPECT_EQ(w.send(edit.handle(), kLength), 4);
}

TEST_F(WidgetContract, AHookCanSwallowChangeOrAnswerAMessage) {
    ui::TEdit edit(form, 1, "abc");
    ui::TCheckBox box(form, 2);
    edit.setBounds(10, 10, 100, 22);
    box.setBounds(10, 40, 100, 20);
    made(edit);
    made(box);
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
    const char outside[] = "from outside";
    w.send(edit.handle(), ui::wm::SetText, 0, reinterpret_cast<std::intptr_t>(outside));
    EXPECT_EQ(edit.text(), "abc");
    EXPECT_EQ(edit.perform(kLength), 103);
    box.setChecked(true);
    EXPECT_FALSE(box.checked());
}

TEST_F(WidgetContract, HooksComingAndGoingWhileAMessageRunsThroughThem) {
    ui::TEdit edit(form, 1, "abc");
    made(edit);
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
        if (m.msg == kLength || m.msg == ui::wm::App) ++seen_;
        next(m);
        if (m.msg == ui::wm::App) owner_.reset();
    }
    std::unique_ptr<SelfFreeing>& owner_;
    int& seen_;
    ui::THookRegistration reg_;
};

TEST_F(WidgetContract, AHookObjectMayFreeItselfInsideItsCallAndTheControlGoesOnWithoutIt) {
    ui::TEdit edit(form, 1, "abc");
    made(edit);
    int seen = 0;
    std::unique_ptr<SelfFreeing> record;
    record = std::make_unique<SelfFreeing>(edit, record, seen);
    EXPECT_EQ(edit.perform(kLength), 3);
    w.send(edit.handle(), ui::wm::App);
    EXPECT_EQ(record, nullptr);
    EXPECT_EQ(edit.perform(kLength), 3);
    EXPECT_EQ(seen, 2);
}

TEST_F(WidgetContract, ARegistrationMayOutliveItsControl) {
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

TEST_F(WidgetContract, AFormGoingWithHooksStillInstalledTakesThemOff) {
    constexpr std::uint32_t kNcDestroy = 0x0082;
    const std::vector<std::pair<std::uint32_t, std::string>> ending{
        {ui::wm::Destroy, "destroy"}, {kNcDestroy, "ncdestroy"}};
    ui::THookRegistration onForm, onEdit, onBox;
    {
        ui::TForm other(app, "TWidgetContractForm");
        ui::TEdit edit(other, 1);
        ui::TCheckBox box(other, 2);
        other.show();
        onForm = other.installHook(watching("form", ending));
        onEdit = edit.installHook(watching("edit", ending));
        onBox = box.installHook(watching("box", ending));
        edit.setFocus();
        w.settle([] { return false; }, 50);
    }
    EXPECT_FALSE(onForm.installed());
    EXPECT_FALSE(onEdit.installed());
    onBox.remove();
    EXPECT_EQ(log, Log{}) << "the hooks hear nothing of their windows' end";
}

// --- Events the window reports

TEST_F(WidgetContract, FocusMovingBetweenTwoEditsLeavesTheFirstBeforeEnteringTheSecond) {
    ui::TEdit a(form, 1), b(form, 2);
    a.setBounds(10, 10, 100, 22);
    b.setBounds(10, 40, 100, 22);
    record(a, "a");
    record(b, "b");
    const std::vector<std::pair<std::uint32_t, std::string>> focus{
        {ui::wm::SetFocus, "setfocus"}, {ui::wm::KillFocus, "killfocus"}};
    auto ha = a.installHook(watching("a", focus));
    auto hb = b.installHook(watching("b", focus));
    std::vector<std::uintptr_t> lostTo;
    auto hook = a.installHook([&](ui::TMessage& m, const ui::TMessageNext& next) {
        if (m.msg == ui::wm::KillFocus) lostTo.push_back(m.wParam);
        next(m);
    });
    a.setFocus();
    a.setFocus();  // already there: nothing
    b.setFocus();
    EXPECT_EQ(log, (Log{"a: setfocus", "a enter", "a: killfocus", "a exit", "b: setfocus",
                        "b enter"}));
    EXPECT_EQ(lostTo, (std::vector<std::uintptr_t>{b.handle()}));
    EXPECT_EQ(form.focusedControl(), &b);
    EXPECT_TRUE(b.focused());
}

TEST_F(WidgetContract, ATickChangeIsReportedBeforeTheClickAndOnlyWhenTheTickMoves) {
    ui::TCheckBox box(form, 1, "box");
    box.setBounds(10, 10, 120, 20);
    record(box, "box");
    auto h = box.installHook(watching("box", {{ui::wm::BmSetCheck, "setcheck"}}));
    w.click(box);
    EXPECT_TRUE(box.checked());
    box.setChecked(true);  // the same state: nothing
    box.setChecked(false);
    // Whether the press takes the focus is the family's own (see the
    // family's tests); the order of the tick and the click is not.
    EXPECT_EQ(without("enter"), (Log{"box: setcheck", "box check", "box click", "box: setcheck",
                                     "box check", "box click"}));
}

TEST_F(WidgetContract, ClickingARadioButtonReportsTheButtonsThatChangedThenTheGroup) {
    ui::TRadioGroup group(form, 10, "mode");
    group.setItems({"allow", "forbid"});
    group.setBoundsAndLayout(10, 10, 200, 80);
    group.button(0).OnCheckChanged = [this] { log.push_back("0 check"); };
    group.button(1).OnCheckChanged = [this] { log.push_back("1 check"); };
    group.OnClick = [this] { log.push_back("group click"); };
    w.click(group, 0);
    EXPECT_EQ(log, (Log{"0 check", "group click"}));
    EXPECT_EQ(group.itemIndex(), 0);

    log.clear();
    w.click(group, 1);
    // The order of the two ticks is the window class's own.
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log.back(), "group click");
    EXPECT_TRUE(logHas("0 check"));
    EXPECT_TRUE(logHas("1 check"));
    EXPECT_EQ(group.itemIndex(), 1);

    log.clear();
    w.click(group, 1);  // the choice stands: no click
    EXPECT_EQ(log, Log{});
}

TEST_F(WidgetContract, TheMouseEntersOnceAndLeavesWhenItMovesOnButNeverADisabledControl) {
    if (!w.steadyMouse()) GTEST_SKIP() << "the cursor's moves are reported more than once here";
    ui::TButton a(form, 1, "a"), b(form, 2, "b"), off(form, 3, "off");
    a.setBounds(10, 10, 80, 24);
    b.setBounds(10, 50, 80, 24);
    off.setBounds(10, 90, 80, 24);
    record(a, "a");
    record(b, "b");
    record(off, "off");
    auto ha = a.installHook(watching("a", {{ui::wm::MouseLeave, "mouseleave"}}));
    off.setEnabled(false);
    w.hover(nullptr);
    w.settle([] { return false; }, 50);
    log.clear();

    w.hover(&a);
    EXPECT_TRUE(w.settle([&] { return logHas("a mouse in"); }));
    w.hover(&a);  // still over it: nothing more
    w.hover(&b);
    EXPECT_TRUE(w.settle([&] { return logHas("a mouse out") && logHas("b mouse in"); }));
    w.hover(nullptr);
    EXPECT_TRUE(w.settle([&] { return logHas("b mouse out"); }));
    w.hover(&off);
    w.hover(&a);
    EXPECT_TRUE(w.settle([&] { return mouse("a").size() == 4; }));
    w.hover(nullptr);
    EXPECT_TRUE(w.settle([&] { return mouse("a").size() == 6; }));
    w.settle([] { return false; }, 300);
    // Which of a leave and the next enter comes first is the window
    // manager's; each control's own events are in order.
    EXPECT_EQ(mouse("a"), (Log{"a mouse in", "a: mouseleave", "a mouse out", "a mouse in",
                               "a: mouseleave", "a mouse out"}));
    EXPECT_EQ(mouse("b"), (Log{"b mouse in", "b mouse out"}));
    EXPECT_EQ(mouse("off"), Log{});
}

TEST_F(WidgetContract, PaintingReportsAfterTheWindowPaintedAndAfterTheFormsOwnPaint) {
    ui::TPanel panel(form, 1);
    panel.setBounds(10, 10, 100, 60);
    w.settle([] { return false; }, 50);
    record(panel, "panel");
    form.OnPaint = [&] { log.push_back("form paint"); };
    form.OnAfterPaint = [&] { log.push_back("form painted"); };
    auto hook = panel.installHook(watching("hook", {{ui::wm::Paint, "paint"}}));
    w.paint(panel);
    w.paint(form);
    EXPECT_EQ(log, (Log{"hook: paint", "panel painted", "form paint", "form painted"}));
}

TEST_F(WidgetContract, AnErrorInAWindowEventIsShownEvenWhenCodeCausedIt) {
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
    EXPECT_EQ(w.errors(), (std::vector<std::string>{"Invalid data type for 'RunByPass'",
                                                    "enter failed"}));
}

// --- Messages to the form

TEST_F(WidgetContract, APostedMessageReachesItsHandlerAtTheNextPump) {
    constexpr std::uint32_t kTray = ui::wm::User + 100;
    std::vector<std::pair<std::uintptr_t, std::intptr_t>> got;
    auto hook = form.installHook(watching("form", {{kTray, "tray"}}));
    form.setMessageHandler(kTray, [&](ui::TMessage& m) {
        got.push_back({m.wParam, m.lParam});
        log.push_back("handler");
        return true;
    });
    w.post(form.handle(), kTray, 3, 0x0205);
    EXPECT_TRUE(got.empty());
    EXPECT_TRUE(w.settle([&] { return !got.empty(); }));
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].first, 3u);
    EXPECT_EQ(got[0].second, 0x0205);
    w.settle([] { return false; }, 50);
    EXPECT_EQ(got.size(), 1u);
    EXPECT_EQ(log, (Log{"form: tray", "handler"}));
}

TEST_F(WidgetContract, AHandlerAnswersWhatItTakesAndTheRestFallsThrough) {
    const std::uint32_t taskbarCreated = app.registerMessage("TaskbarCreated");
    ASSERT_GE(taskbarCreated, ui::wm::FirstRegistered);
    EXPECT_EQ(app.registerMessage("TaskbarCreated"), taskbarCreated);
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
    EXPECT_EQ(w.send(form.handle(), taskbarCreated), 42);
    EXPECT_EQ(w.send(form.handle(), ui::wm::App + 1), 0);
    EXPECT_EQ(w.send(form.handle(), ui::wm::App + 2), 0);
    EXPECT_EQ(seen, 2);
    w.post(form.handle(), taskbarCreated);
    EXPECT_TRUE(w.settle([&] { return seen == 3; }));

    // Only the form's own window: a control passes it on to nobody.
    ui::TButton button(form, 1);
    EXPECT_EQ(w.send(button.handle(), taskbarCreated), 0);
    form.setMessageHandler(taskbarCreated, nullptr);
    EXPECT_EQ(w.send(form.handle(), taskbarCreated), 0);
    EXPECT_EQ(seen, 3);
}

TEST_F(WidgetContract, AFormHookSeesItsMessagesFirstAndMaySwallowThem) {
    int handled = 0;
    form.setMessageHandler(ui::wm::App, [&](ui::TMessage&) { return ++handled > 0; });
    bool swallow = true;
    auto hook = form.installHook([&](ui::TMessage& m, const ui::TMessageNext& next) {
        if (!(swallow && m.msg == ui::wm::App)) next(m);
    });
    w.send(form.handle(), ui::wm::App);
    swallow = false;
    w.send(form.handle(), ui::wm::App);
    EXPECT_EQ(handled, 1);
}

TEST_F(WidgetContract, MessagesForAWindowThatWentAreDropped) {
    int handled = 0;
    form.setMessageHandler(ui::wm::App, [&](ui::TMessage&) { return ++handled > 0; });
    form.setMessageHandler(ui::wm::App + 1, [](ui::TMessage&) -> bool {
        throw std::runtime_error("tray failed");
    });
    std::uintptr_t gone = 0;
    {
        ui::TButton button(form, 1);
        gone = button.handle();
        w.post(gone, ui::wm::App);
    }
    w.post(gone, ui::wm::App);
    EXPECT_EQ(w.send(gone, ui::wm::App), 0);
    w.post(form.handle(), ui::wm::App + 1);
    EXPECT_NO_FATAL_FAILURE(w.settle([&] { return !w.errors().empty(); }));
    EXPECT_EQ(handled, 0);
    EXPECT_EQ(w.errors(), (std::vector<std::string>{"tray failed"}));
}

// --- Keys

// The password panel's rule: while a panel holds the keyboard, a key meant
// for a control beside it goes to its entry field, which takes the focus.
TEST_F(WidgetContract, APanelHoldingTheKeyboardSendsKeysForOutsideToItsEntryField) {
    ui::TListBox outside(form, 1);
    outside.setBounds(10, 10, 100, 60);
    ui::TPanel panel(form, 2);
    panel.setBounds(120, 10, 170, 120);
    ui::TEdit entry(panel, 3);
    ui::TButton ok(panel, 4, "ok");
    entry.setBounds(5, 5, 100, 22);
    ok.setBounds(5, 40, 60, 24);
    form.holdKeyboard(&panel, &entry);
    w.settle([] { return false; }, 50);
    EXPECT_EQ(form.keyboardHolder(), &panel);
    EXPECT_FALSE(form.keyMayReach(&outside));
    EXPECT_TRUE(form.keyMayReach(&ok));

    outside.setFocus();
    w.key(form, '1');
    EXPECT_TRUE(entry.focused()) << "sent on to the field";
    EXPECT_EQ(entry.text(), "1");
    w.key(form, '2');
    EXPECT_EQ(entry.text(), "12");

    panel.hide();
    EXPECT_EQ(form.keyboardHolder(), nullptr);
    outside.setFocus();
    w.key(form, '3');
    EXPECT_TRUE(outside.focused()) << "let go once hidden";
    EXPECT_EQ(entry.text(), "12");
}

TEST_F(WidgetContract, EnterPressesTheFocusedOrDefaultButtonAndEscapeTheCancelButton) {
    ui::TPanel panel(form, 5);
    panel.setBounds(0, 0, 220, 44);
    ui::TButton yes(panel, 1, "yes"), no(panel, 2, "no"), other(form, 3, "other");
    ui::TEdit edit(form, 4);
    yes.setBounds(10, 10, 60, 24);
    no.setBounds(80, 10, 60, 24);
    other.setBounds(150, 50, 60, 24);
    edit.setBounds(10, 50, 100, 22);
    for (ui::TButton* b : {&yes, &no, &other})
        b->OnClick = [this, b] { log.push_back(b->caption()); };
    yes.setDefault(true);
    no.setCancel(true);
    edit.setFocus();
    w.key(form, ui::VK_RETURN_KEY);
    w.key(form, ui::VK_ESCAPE_KEY);
    other.setFocus();
    w.key(form, ui::VK_RETURN_KEY);
    EXPECT_EQ(log, (Log{"yes", "no", "other"}));

    log.clear();
    yes.setEnabled(false);
    edit.setFocus();
    w.key(form, ui::VK_RETURN_KEY);  // the default button, unusable: nothing
    EXPECT_EQ(log, Log{});

    yes.setEnabled(true);
    panel.hide();  // hidden with their panel: unusable too
    edit.setFocus();
    w.key(form, ui::VK_RETURN_KEY);
    w.key(form, ui::VK_ESCAPE_KEY);
    EXPECT_EQ(log, Log{});
}

// --- Owner-drawn popup menus

using widgets::Drawn;

struct WidgetContractMenu : WidgetContract, widgets::RecordedMenu<ui::TForm> {
    WidgetContractMenu() : widgets::RecordedMenu<ui::TForm>(form) {}
    std::set<int> drawnIds() const {
        std::set<int> out;
        for (const Drawn& d : drawn) out.insert(d.id);
        return out;
    }
    const Drawn* lastOf(int id) const {
        for (auto d = drawn.rbegin(); d != drawn.rend(); ++d)
            if (d->id == id) return &*d;
        return nullptr;
    }
};

TEST_F(WidgetContractMenu, EachShownItemIsToldItsStateAndTheChosenOneIsDrawnSelectedBeforeItRuns) {
    bool pictureDone = false;
    loop.OnClick = [&] { pictureDone = !drawn.empty() && drawn.back().id == 3 && drawn.back().state.selected; };
    w.popup(menu, 3);
    EXPECT_EQ(measured, (std::set<int>{1, 2, 3, 4})) << "a hidden item is not measured";
    EXPECT_EQ(drawnIds(), (std::set<int>{1, 2, 3, 4})) << "nor drawn";
    for (const Drawn& d : drawn) {
        SCOPED_TRACE(d.id);
        // Whether the default item is told so is the system's (Wine does
        // not); the in-memory family's tests check it.
        EXPECT_EQ(d.state.checked, d.id == 3);
        EXPECT_EQ(d.state.disabled, d.id == 4);
        if (d.id != 2) {
            EXPECT_GE(d.rect.width(), 40 + d.id);
        }
    }
    // Items come one below the other, each as high as measured.
    const Drawn *first = lastOf(1), *third = lastOf(3);
    ASSERT_TRUE(first && third);
    EXPECT_LT(first->rect.top, third->rect.top);
    EXPECT_EQ(third->rect.height() - first->rect.height(), 2);
    EXPECT_TRUE(pictureDone) << "the chosen item was not drawn selected before it ran";
    EXPECT_TRUE(lastOf(3)->state.selected);
    EXPECT_TRUE(w.errors().empty());
}

TEST_F(WidgetContractMenu, WithoutOwnerDrawThePaintersAreNotAsked) {
    menu.ownerDraw = false;
    int clicks = 0;
    show.OnClick = [&] { ++clicks; };
    w.popup(menu, 1);
    EXPECT_TRUE(drawn.empty());
    EXPECT_TRUE(measured.empty());
    EXPECT_FALSE(show.ownerDrawn());
    EXPECT_EQ(clicks, 1);
}

TEST_F(WidgetContractMenu, AFailingPainterIsShownAndTheOtherItemsAreStillDrawn) {
    show.OnDrawItem = [](ui::TCanvas&, const ui::TRect&, const ui::TOwnerDrawState&) {
        throw std::runtime_error("no font");
    };
    loop.OnMeasureItem = nullptr;  // drawn at the size the system starts with
    w.popup(menu, 0);
    EXPECT_EQ(drawnIds(), (std::set<int>{2, 3, 4}));
    const auto errors = w.errors();
    ASSERT_FALSE(errors.empty());
    for (const std::string& e : errors) EXPECT_EQ(e, "no font");
}

}  // namespace
