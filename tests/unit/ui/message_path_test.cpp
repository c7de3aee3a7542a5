// What only the in-memory peers show of the message path: the order their
// mouse and radio buttons report in, and the picture of an owner-drawn popup
// menu. The rules both families share are in tests/widgets/.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "ui/controls.h"
#include "ui/headless/headless_app.h"
#include "ui/menus.h"
#include "widgets/recorded_menu.h"

using ui::headless::HeadlessApplication;
using ui::headless::HeadlessPeer;
using Log = std::vector<std::string>;

namespace {

HeadlessPeer& peerOf(ui::TControl& c) { return static_cast<HeadlessPeer&>(c.peer()); }

struct MessagePath : ::testing::Test {
    MessagePath() { form.show(); }
    void record(ui::TControl& c, const std::string& name) {
        c.OnMouseEnter = [this, name] { log.push_back(name + " mouse in"); };
        c.OnMouseLeave = [this, name] { log.push_back(name + " mouse out"); };
        c.OnCheckChanged = [this, name] { log.push_back(name + " check"); };
    }
    HeadlessApplication app;
    ui::TForm form{app, "TTestForm"};
    Log log;
};

// The in-memory mouse tells the window it leaves before the one it enters;
// on real windows the system's timing decides.
TEST_F(MessagePath, TheMouseLeavesOneControlBeforeEnteringTheNext) {
    ui::TButton a(form, 1), b(form, 2);
    record(a, "a");
    record(b, "b");
    app.hover(&peerOf(a));
    app.hover(&peerOf(b));
    app.hover(nullptr);
    EXPECT_EQ(log, (Log{"a mouse in", "a mouse out", "b mouse in", "b mouse out"}));
    EXPECT_FALSE(peerOf(a).hot());
    EXPECT_FALSE(peerOf(b).hot());
}

// The in-memory group unticks the old button first; a real radio button
// class keeps an order of its own.
TEST_F(MessagePath, AGroupUnticksTheOldButtonBeforeTickingTheNew) {
    ui::TRadioGroup group(form, 10);
    group.setItems({"a", "b"});
    record(group.button(0), "0");
    record(group.button(1), "1");
    group.userSelect(0);
    log.clear();
    group.userSelect(1);
    EXPECT_EQ(log, (Log{"0 check", "1 check"}));
}

// --- Owner-drawn popup menus

using widgets::Drawn;

struct PaintedMenu : MessagePath, widgets::RecordedMenu<ui::TApplication> {
    PaintedMenu() : widgets::RecordedMenu<ui::TApplication>(app) {}
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
