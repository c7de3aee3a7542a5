#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "ui/controls.h"
#include "ui/dialogs.h"
#include "ui/headless/headless_app.h"
#include "ui/headless/memory_canvas.h"
#include "ui/menus.h"

using ui::headless::HeadlessApplication;

namespace {

struct Toolkit : ::testing::Test {
    Toolkit() { form.show(); }
    HeadlessApplication app;
    ui::TForm form{app, "TTestForm"};
};

TEST_F(Toolkit, ErrorOfAHandlerRunByCodeGoesBackToTheCallerButStopsAtAUserEvent) {
    ui::TCheckBox box(form, 10);
    box.OnClick = [] { throw std::runtime_error("Failed to set data for 'RunByPass'"); };
    EXPECT_THROW(box.setChecked(true), std::runtime_error);
    EXPECT_TRUE(box.checked());
    EXPECT_TRUE(app.messages().empty());

    EXPECT_NO_THROW(box.userClick());
    ASSERT_EQ(app.messages().size(), 1u);
    EXPECT_EQ(app.messages()[0].text, "Failed to set data for 'RunByPass'");
    EXPECT_EQ(app.messages()[0].caption, "Morvane");
    EXPECT_EQ(app.messages()[0].flags, ui::mb::IconError | ui::mb::Ok);

    ui::TButton button(form, 11);
    button.OnClick = [] { throw 42; };
    button.userClick();
    EXPECT_EQ(app.errors().back(), "Unknown error");
}

// Catches a box per failing paint: an error raised under an open box waits
// for it, and the same error again is dropped.
TEST_F(Toolkit, OneErrorBoxAtATimeAndARepeatDroppedWhileItIsOpen) {
    int open = 0, most = 0;
    auto fail = [this](const char* what) { app.guard([what] { throw std::runtime_error(what); }); };
    app.whileBoxOpen = [&] {
        most = std::max(most, ++open);
        if (app.errors().size() == 1) {
            fail("paint failed");
            fail("list failed");
            fail("paint failed");
        }
        --open;
    };
    fail("paint failed");
    EXPECT_EQ(app.errors(), (std::vector<std::string>{"paint failed", "list failed"}));
    EXPECT_EQ(most, 1);
    fail("paint failed");
    EXPECT_EQ(app.errors().size(), 3u) << "a box once closed is shown again for a new error";
}

TEST_F(Toolkit, RadioGroupReportsOnlyChangesOfTheChoice) {
    ui::TRadioGroup group(form, 20, "mode");
    group.setItems({"a", "b"});
    group.setColumns(2);
    int clicks = 0;
    group.OnClick = [&] { ++clicks; };
    EXPECT_EQ(group.itemIndex(), -1);
    group.setItemIndex(0);
    group.setItemIndex(0);
    EXPECT_EQ(clicks, 1);
    group.userSelect(1);
    EXPECT_EQ(group.itemIndex(), 1);
    EXPECT_EQ(clicks, 2);
    group.userSelect(1);
    EXPECT_EQ(clicks, 2);
    EXPECT_TRUE(group.button(1).peer().checked());
    EXPECT_FALSE(group.button(0).peer().checked());
    // The buttons take the ids after the group's, side by side in two columns.
    EXPECT_EQ(group.button(0).id(), 21);
    EXPECT_EQ(group.button(1).id(), 22);
    group.setBoundsAndLayout(0, 0, 200, 40);
    EXPECT_EQ(group.button(0).top(), group.button(1).top());
    EXPECT_LT(group.button(0).left(), group.button(1).left());
}

TEST(Timer, FiresOnTheClockAndANewIntervalRestartsTheCountdown) {
    std::uint32_t now = 0;
    HeadlessApplication app({[&] { return now; }, [&](std::uint32_t ms) { now += ms; }});
    ui::TForm form(app, "TTestForm");
    ui::TTimer timer(form, 1);
    std::vector<std::uint32_t> fired;
    timer.OnTimer = [&] { fired.push_back(now); };
    timer.setEnabled(false);
    timer.setInterval(1000);
    for (int i = 0; i < 300; ++i) app.processMessages();
    EXPECT_TRUE(fired.empty());

    const std::uint32_t start = now;
    timer.setEnabled(true);
    while (now < start + 600) app.processMessages();
    timer.setInterval(1000);  // same value: still a fresh countdown
    const std::uint32_t restart = now;
    while (fired.size() < 2) app.processMessages();
    EXPECT_EQ(fired[0], restart + 1000);
    EXPECT_EQ(fired[1], restart + 2000);

    // A handler that throws does not stop the timer.
    timer.OnTimer = [&] {
        fired.push_back(now);
        throw std::runtime_error("pass failed");
    };
    while (fired.size() < 4) app.processMessages();
    EXPECT_EQ(app.errors().size(), 2u);
    EXPECT_TRUE(timer.enabled());
}

TEST(Timer, ALateTimerFiresOnceAndNotOncePerMissedInterval) {
    std::uint32_t now = 0;
    HeadlessApplication app({[&] { return now; }, [&](std::uint32_t ms) { now += ms; }});
    ui::TForm form(app, "TTestForm");
    ui::TTimer timer(form, 1);
    timer.setInterval(100);
    int fired = 0;
    timer.OnTimer = [&] { ++fired; };
    now += 1000;  // a long handler elsewhere held the thread
    app.processMessages();
    EXPECT_EQ(fired, 1);
    app.processMessages();
    EXPECT_EQ(fired, 1);
}

TEST_F(Toolkit, CheckListBoxKeepsTicksInTheItemDataAcrossRewrites) {
    ui::TCheckListBox list(form, 30);
    list.setItems({"A.EXE", "B.EXE", "C.EXE"});
    int checks = 0;
    list.OnClickCheck = [&] { ++checks; };
    list.userToggle(1);
    EXPECT_TRUE(list.checked(1));
    EXPECT_EQ(list.peer().itemData(1), 1);
    EXPECT_EQ(checks, 1);
    list.setItemIndex(1);
    list.setItem(1, "MARKED");  // overwritten in place: tick and selection stay
    EXPECT_EQ(list.item(1), "MARKED");
    EXPECT_TRUE(list.checked(1));
    EXPECT_EQ(list.itemIndex(), 1);
    // The space key ticks the selected line.
    list.setFocus();
    list.setItemIndex(2);
    form.userKey(ui::VK_SPACE_KEY);
    EXPECT_TRUE(list.checked(2));
    list.clear();
    list.add("D.EXE");
    EXPECT_FALSE(list.checked(0));
    EXPECT_STREQ(list.className(), "TCheckListBox");
}

TEST_F(Toolkit, CheckListLineIsDrawnWithItsTickBoxAndText) {
    ui::TCheckListBox list(form, 30);
    list.setItems({"A.EXE", "B.EXE"});
    list.setChecked(1, true);
    ui::headless::MemoryCanvas canvas(200, 32);
    list.peerDraw(canvas, {0, 16, 200, 32}, 1, true, false);
    ASSERT_EQ(canvas.calls().size(), 2u);
    EXPECT_EQ(canvas.calls()[0], "drawCheck 2,17,15,30 checked");
    EXPECT_NE(canvas.calls()[1].find("B.EXE"), std::string::npos);
    EXPECT_EQ(canvas.pixel(100, 20), ui::headless::classicSystemColor(ui::clHighlight));
    EXPECT_EQ(canvas.pixel(100, 5), ui::clWhite);  // the other line is left alone
    list.peerDraw(canvas, {0, 0, 200, 16}, 0, false, false);
    EXPECT_EQ(canvas.calls()[2], "drawCheck 2,1,15,14 unchecked");
}

TEST_F(Toolkit, ListBoxSelectionFollowsInsertsAndDeletes) {
    ui::TListBox list(form, 31);
    list.setItems({"a", "b", "c"});
    list.setItemIndex(1);
    list.insert(0, "z");
    EXPECT_EQ(list.itemIndex(), 2);
    list.remove(0);
    EXPECT_EQ(list.itemIndex(), 1);
    list.remove(1);
    EXPECT_EQ(list.itemIndex(), -1);
    EXPECT_EQ(list.items(), (std::vector<std::string>{"a", "c"}));
    list.setItemIndex(7);
    EXPECT_EQ(list.itemIndex(), -1);
}

TEST_F(Toolkit, MessageBoxesAndFileDialogsAreAnsweredByTheScriptAndRecorded) {
    EXPECT_EQ(app.messageBox("sure?", "确认", ui::mb::YesNo), ui::answer::Yes);
    app.answerMessage(ui::answer::No);
    EXPECT_EQ(app.messageBox("sure?", "确认", ui::mb::YesNo), ui::answer::No);
    ASSERT_EQ(app.messages().size(), 2u);
    EXPECT_EQ(app.messages()[1].caption, "确认");

    ui::TSaveDialog save(app);
    save.filter = "文本文件|*.txt|所有文件|*.*";
    save.defaultExt = "txt";
    save.fileName = "C:\\old.txt";
    EXPECT_FALSE(save.execute());  // unscripted: cancelled
    EXPECT_EQ(save.fileName, "C:\\old.txt");
    app.answerDialog("C:\\list.txt");
    EXPECT_TRUE(save.execute());
    EXPECT_EQ(save.fileName, "C:\\list.txt");
    app.answerDialog(std::nullopt);
    EXPECT_FALSE(save.execute());
    EXPECT_EQ(save.fileName, "C:\\list.txt");
    ASSERT_EQ(app.dialogs().size(), 3u);
    EXPECT_TRUE(app.dialogs()[2].save);
    EXPECT_EQ(app.dialogs()[2].fileName, "C:\\list.txt");  // opened with the last choice
    EXPECT_EQ(app.dialogs()[2].defaultExt, "txt");
}

TEST(FilterList, PairsBecomeNulSeparatedWithADoubleNulAtTheEnd) {
    using namespace std::string_literals;
    EXPECT_EQ(ui::filterList("文本文件|*.txt|所有文件|*.*"),
              "文本文件\0*.txt\0所有文件\0*.*\0\0"s);
    EXPECT_EQ(ui::filterList("Programs"), "Programs\0*.*\0\0"s);
    EXPECT_EQ(ui::filterList(""), "\0"s);
}

TEST_F(Toolkit, KeyPressCanDiscardTheTypedCharacter) {
    ui::TEdit edit(form, 50, "1");
    edit.OnKeyPress = [](char& k) {
        if (k != 'x') k = 0;
    };
    edit.userType("23\b");
    EXPECT_EQ(edit.text(), "1");
    edit.userType("x");
    EXPECT_EQ(edit.text(), "1x");
}

TEST_F(Toolkit, UpDownStaysInItsRangeAndShowsThePositionInItsEdit) {
    ui::TEdit edit(form, 60, "1");
    ui::TUpDown updown(form, 61);
    updown.setAssociate(edit);
    updown.setRange(1, 30);
    updown.setPosition(30);
    int clicks = 0;
    updown.OnClick = [&] { ++clicks; };
    updown.userClickUp();
    EXPECT_EQ(updown.position(), 30);
    EXPECT_EQ(edit.text(), "30");
    updown.userClickDown();
    EXPECT_EQ(edit.text(), "29");
    EXPECT_EQ(clicks, 2);
    updown.setPosition(-5);
    EXPECT_EQ(updown.position(), 1);
    EXPECT_EQ(edit.text(), "1");
}

// What the field shows is what the position gives: typed text is taken when
// it is a number in range, brought into range when it is a number outside,
// and replaced by the previous position when it is no number at all.
TEST_F(Toolkit, UpDownNeverGivesAStalePositionBehindItsField) {
    ui::TEdit edit(form, 62, "1");
    ui::TUpDown updown(form, 63);
    updown.setAssociate(edit);
    updown.setRange(1, 30);
    updown.setPosition(5);
    edit.setText("7");
    EXPECT_EQ(updown.position(), 7);
    edit.setText("50");
    EXPECT_EQ(updown.position(), 30);
    EXPECT_EQ(edit.text(), "30");
    for (const char* junk : {"abc", "", "12x", "99999999999999"}) {
        edit.setText(junk);
        EXPECT_EQ(updown.position(), 30) << junk;
        EXPECT_EQ(edit.text(), "30") << junk;
    }
}

TEST_F(Toolkit, AListBoxRefusesALineItCannotShowOrHold) {
    ui::TListBox list(form, 64);
    list.setItems({"A", "B"});
    EXPECT_THROW(list.setItems({"C", std::string("D\0E", 3)}), ui::ListError);
    EXPECT_EQ(list.items(), (std::vector<std::string>{"A", "B"})) << "nothing changed";
    EXPECT_THROW(list.add(std::string("\0", 1)), ui::ListError);
    EXPECT_THROW(list.setItem(0, std::string("x\0", 2)), ui::ListError);
    EXPECT_EQ(list.items(), (std::vector<std::string>{"A", "B"}));

    app.listBoxCapacity = 3;
    list.add("C");
    EXPECT_THROW(list.add("D"), ui::ListError);
    EXPECT_THROW(list.setItems({"1", "2", "3", "4"}), ui::ListError);
    EXPECT_EQ(list.count(), 3) << "what fits is kept";
}

TEST_F(Toolkit, PageControlShowsOnlyTheActivePage) {
    ui::TPageControl pages(form, 70);
    ui::TTabSheet a(pages, 71, "A"), b(pages, 72, "B");
    int changes = 0;
    pages.OnChange = [&] { ++changes; };
    EXPECT_EQ(pages.activePage(), &a);
    EXPECT_TRUE(a.visible());
    EXPECT_FALSE(b.visible());
    pages.userSelect(1);
    EXPECT_EQ(pages.activePage(), &b);
    EXPECT_FALSE(a.visible());
    EXPECT_TRUE(b.visible());
    EXPECT_EQ(changes, 1);
    pages.setActivePage(a);  // from code: no event
    EXPECT_TRUE(a.visible());
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(pages.peer().cell(1, 0), "B");
}

TEST_F(Toolkit, ListViewKeepsSubItemsBeyondItsColumns) {
    ui::TListView view(form, 80);
    view.addColumn("name", 100);
    view.addColumn("where", 220);
    const int row = view.addItem("Zentrek");
    view.setSubItem(row, 0, "C:\\M.EXE");
    view.setSubItem(row, 1, "Run");
    EXPECT_EQ(view.itemCaption(row), "Zentrek");
    EXPECT_EQ(view.subItem(row, 0), "C:\\M.EXE");
    EXPECT_EQ(view.subItem(row, 1), "Run");
    view.addItem("second");
    view.userClick(1);
    EXPECT_EQ(view.itemIndex(), 1);
    view.deleteItem(0);
    EXPECT_EQ(view.itemCaption(0), "second");
    EXPECT_EQ(view.subItem(0, 1), "");
}

// The tick-before-click and Enter/Escape rules both families share are in
// tests/widgets/; the user's hand on a disabled control is the in-memory one's.
TEST_F(Toolkit, MenuCheckItemsFlipThemselvesAndDisabledItemsAndBoxesDoNothing) {
    ui::TPopupMenu menu(app);
    ui::TMenuItem loop(menu, 1, "loop"), sep(menu, 2, "-"), quit(menu, 3, "quit");
    loop.autoCheck = true;
    bool seen = false;
    loop.OnClick = [&] { seen = loop.checked; };
    app.chooseMenuItem(1);
    menu.popup(10, 20);
    EXPECT_TRUE(loop.checked);
    EXPECT_TRUE(seen);  // the tick has flipped when the handler runs
    ASSERT_EQ(app.menus().size(), 1u);
    EXPECT_EQ(app.menus()[0].x, 10);
    loop.enabled = false;
    loop.userClick();
    EXPECT_TRUE(loop.checked);
    EXPECT_TRUE(sep.isSeparator());

    ui::TCheckBox box(form, 10, "box");
    int clicks = 0;
    box.OnClick = [&] { ++clicks; };
    box.setEnabled(false);
    box.userClick();
    EXPECT_EQ(clicks, 0);
    EXPECT_FALSE(box.checked());
}

TEST_F(Toolkit, MinimisingTheWindowReachesTheApplicationEventsHook) {
    int minimised = 0;
    {
        ui::TApplicationEvents events(app);
        events.OnMinimize = [&] { ++minimised; };
        form.userMinimize();
        EXPECT_EQ(minimised, 1);
    }
    form.userMinimize();  // the hook is gone with its owner
    EXPECT_EQ(minimised, 1);
}

TEST_F(Toolkit, SpeedButtonStaysDownUntilPressedAgain) {
    ui::TSpeedButton sb(form, 3, "loop");
    std::vector<bool> seen;
    sb.OnClick = [&] { seen.push_back(sb.down()); };
    sb.userClick();
    sb.userClick();
    EXPECT_EQ(seen, (std::vector<bool>{true, false}));
    sb.setDown(true);  // from code: no handler
    EXPECT_EQ(seen.size(), 2u);
    EXPECT_TRUE(sb.down());
}

}  // namespace
