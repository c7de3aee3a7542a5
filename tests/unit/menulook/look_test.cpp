// The flat look on the in-memory peers: which menus and controls it takes
// over, how menu items measure and paint, and what each control's painter
// leaves on its window for the states the message table gives it.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "menulook/classify.h"
#include "menulook/colours.h"
#include "menulook/painters.h"
#include "menulook/subclass.h"
#include "menulook/xpmenu.h"
#include "ui/headless/headless_app.h"
#include "ui/messages.h"
#include "app/control_ids.h"
#include "app_fixture.h"

using namespace menulook;
using ui::headless::HeadlessApplication;
using ui::headless::HeadlessPeer;
using ui::headless::MemoryCanvas;

namespace {

constexpr TColor rgb(int r, int g, int b) {
    return static_cast<TColor>(r) | static_cast<TColor>(g) << 8 | static_cast<TColor>(b) << 16;
}
// Worked out by hand in the colour tests.
constexpr TColor kMenuFace = rgb(249, 248, 247), kIconColumn = rgb(219, 216, 209),
                 kSelectFill = rgb(177, 185, 207), kHighlight = rgb(10, 36, 106),
                 kCheckFill = rgb(206, 211, 225), kCheckFillHot = rgb(132, 146, 180),
                 kSeparator = rgb(160, 160, 160);

HeadlessPeer& peerOf(ui::TControl& c) { return static_cast<HeadlessPeer&>(c.peer()); }
const MemoryCanvas& surfaceOf(ui::TControl& c) { return *peerOf(c).surface(); }

int count(const MemoryCanvas& c, const std::string& start) {
    return static_cast<int>(std::count_if(c.calls().begin(), c.calls().end(),
                                          [&](const std::string& s) { return s.rfind(start, 0) == 0; }));
}

// A button class of its own: not a "TButton" by name.
struct TOwnButton : ui::TButton {
    using ui::TButton::TButton;
    const char* className() const override { return "TOwnButton"; }
};

struct Look : ::testing::Test {
    Look() { form.show(); }
    HeadlessApplication app;
    ui::TForm form{app, "TTestForm"};
    ui::TImageList images{app, "MENUIMAGES", 16, 16, 0xFF00FF};
    ui::TPopupMenu menu{form};
};

}  // namespace

// --- Taking over

TEST_F(Look, TakesOverTheOwnersMenusAndControlsByKindAndParentAndLetsGoAgain) {
    ui::TMenuItem open(menu, 1, "Open"), own(menu, 2, "Own"), kept(menu, 3, "Kept");
    int ownDrawn = 0;
    own.OnDrawItem = [&](ui::TCanvas&, const ui::TRect&, const ui::TOwnerDrawState&) { ++ownDrawn; };
    kept.tag = 999;
    ui::TPanel panel(form, 10);
    ui::TEdit edit(panel, 11);
    ui::TGroupBox group(form, 12);
    ui::TCheckBox box(group, 13);
    ui::TButton button(form, 14);
    ui::TBitBtn bit(form, 15);
    TOwnButton derived(form, 16);
    ui::TListBox list(form, 17);
    ui::TRadioGroup radios(form, 20);
    radios.setItems({"a", "b"});
    ui::TButton marked(form, 30);
    marked.tag = 999;
    ui::TPanel quiet(form, 31);
    quiet.tag = 999;
    ui::TButton inQuiet(quiet, 32);

    TXPMenu look(form);
    look.setActive(true);
    EXPECT_TRUE(menu.ownerDraw);
    EXPECT_TRUE(open.ownerDrawn());
    EXPECT_TRUE(own.OnMeasureItem);  // a measure handler it did not have
    EXPECT_FALSE(kept.OnDrawItem);
    for (ui::TControl* c : std::initializer_list<ui::TControl*>{&panel, &edit, &group, &box, &button, &bit, &radios})
        EXPECT_NE(look.recordOf(*c), nullptr) << c->className() << " " << c->id();
    for (ui::TControl* c : std::initializer_list<ui::TControl*>{&derived, &list, &radios.button(0),
                                                                &radios.button(1), &marked, &inQuiet})
        EXPECT_EQ(look.recordOf(*c), nullptr) << c->className() << " " << c->id();
    // Buttons it paints whole skip their own drawing; the rest keep it.
    EXPECT_FALSE(peerOf(button).classPaint());
    EXPECT_FALSE(peerOf(bit).classPaint());
    EXPECT_TRUE(peerOf(box).classPaint());
    EXPECT_TRUE(peerOf(derived).classPaint());

    // Its own draw handler stays, and stays after release.
    MemoryCanvas c(100, 20);
    own.OnDrawItem(c, {0, 0, 100, 20}, {});
    EXPECT_EQ(ownDrawn, 1);
    peerOf(edit).paint();
    look.setActive(false);
    EXPECT_FALSE(menu.ownerDraw);
    EXPECT_FALSE(open.OnDrawItem);
    EXPECT_FALSE(open.OnMeasureItem);
    ASSERT_TRUE(own.OnDrawItem);
    EXPECT_FALSE(own.OnMeasureItem);
    // Each control lets go at its next message, giving back its 3D border.
    EXPECT_FALSE(edit.ctl3D());  // made flat at its first repaint
    EXPECT_NE(look.recordOf(edit), nullptr);
    edit.perform(ui::wm::GetTextLength);
    button.perform(ui::wm::GetTextLength);
    EXPECT_TRUE(edit.ctl3D());
    EXPECT_TRUE(peerOf(button).classPaint());
    EXPECT_EQ(look.recordOf(edit), nullptr);
    EXPECT_EQ(look.recordOf(button), nullptr);
    EXPECT_NE(look.recordOf(box), nullptr);  // no message yet
}

TEST_F(Look, ChangingTheKindsWhileActiveTakesTheMenusOverAgainUnderTheNewSet) {
    ui::TMenuItem open(menu, 1, "Open");
    ui::TButton button(form, 14);
    TXPMenu look(form);
    look.setActive(true);
    look.setXPControls(kAllControls & ~setOf(xcPopupMenu));
    EXPECT_FALSE(open.OnDrawItem);
    EXPECT_TRUE(look.Active());
    button.perform(ui::wm::GetTextLength);
    EXPECT_NE(look.recordOf(button), nullptr);  // a control keeps its flat look
}

TEST_F(Look, AControlOutlivingTheComponentGetsItsOwnProcedureBack) {
    ui::TEdit edit(form, 1, "abc");
    {
        TXPMenu look(form);
        look.setActive(true);
        peerOf(edit).paint();
        EXPECT_FALSE(edit.ctl3D());
    }
    EXPECT_TRUE(peerOf(edit).hooks().empty());
    EXPECT_TRUE(edit.ctl3D());
    EXPECT_EQ(edit.perform(ui::wm::GetTextLength), 3);
}

TEST_F(Look, ReleasingKeepsTheAnswerTheControlGave) {
    ui::TCheckBox box(form, 1);
    box.setChecked(false);
    TXPMenu look(form);
    look.setActive(true);
    look.setActive(false);
    EXPECT_EQ(box.perform(ui::wm::BmGetCheck), 0);  // not 1, as if it were ticked
}

// --- Menu items

TEST_F(Look, MenuItemsMeasureTheirTextThePictureColumnAndTheShortcut) {
    menu.images = &images;
    ui::TMenuItem loop(menu, 1, "循环清除", 6), line(menu, 2, "-"), plain(menu, 3, "Open"),
        access(menu, 4, "&Open"), keyed(menu, 5, "Open");
    keyed.shortcutText = "Ctrl+O";
    TXPMenu look(form);
    MemoryCanvas c(1, 1);
    auto size = [&](ui::TMenuItem& item) {
        int w = 0, h = 16;
        look.SizeMenuItem(item, c, h, w);
        return std::pair{w, h};
    };
    EXPECT_EQ(size(loop), (std::pair{0, 16}));  // nothing while inactive
    look.setActive(true);
    // 12-pixel text: 6 pixels a byte. Caption + 5 + the 24-pixel column;
    // as high as the picture and 6, or the text and three quarters.
    EXPECT_EQ(size(loop), (std::pair{8 * 6 + 29, 22}));
    EXPECT_EQ(size(line).second, 4);
    EXPECT_EQ(size(plain).first, 4 * 6 + 29);
    EXPECT_EQ(size(access).first, 4 * 6 + 29);
    EXPECT_EQ(size(keyed).first, (4 + 6 + 3) * 6 + 29);
    EXPECT_EQ(size(plain).second, 21);  // no picture: 12 + 9
}

// Catches a control whose class no longer picks the flat look of its kind.
TEST_F(Look, EachControlIsTakenOverByTheLookOfItsKind) {
    ui::TButton b(form, 1);
    ui::TBitBtn bb(form, 2);
    ui::TSpeedButton sb(form, 3);
    ui::TEdit e(form, 4);
    ui::TCheckBox c(form, 5);
    ui::TPanel p(form, 6);
    ui::TGroupBox g(form, 7);
    ui::TRadioGroup r(form, 8);
    ui::TListBox l(form, 9);
    const std::pair<const ui::TControl*, LookKind> kinds[] = {
        {&b, LookKind::Button},   {&bb, LookKind::BitBtn}, {&sb, LookKind::SpeedButton},
        {&e, LookKind::Edit},     {&c, LookKind::CheckBox}, {&p, LookKind::Panel},
        {&g, LookKind::GroupBox}, {&r, LookKind::GroupBox}, {&l, LookKind::None}};
    for (const auto& [control, kind] : kinds) EXPECT_EQ(lookKindOf(*control), kind) << control->className();
}

TEST_F(Look, AnItemPaintsItsColumnSelectionPictureAndText) {
    menu.images = &images;
    ui::TMenuItem loop(menu, 1, "循环清除", 6);
    TXPMenu look(form);
    look.setActive(true);
    const int picture = static_cast<int>(MemoryCanvas::pictureColor(6));

    MemoryCanvas idle(120, 23, ui::clWhite);
    look.PaintMenuItem(loop, idle, {0, 0, 120, 22}, {});
    EXPECT_EQ(idle.pixel(1, 10), kIconColumn);
    EXPECT_EQ(idle.pixel(100, 10), kMenuFace);
    // The picture sits at (3, 3), faded by 30 percent; its frame stays out.
    // Worked by hand from its colour rgb(240, 96, 48): each channel gains 30
    // percent of its way to 255, halves rounded to even.
    EXPECT_EQ(idle.pixel(10, 10), rgb(244, 144, 110));
    EXPECT_EQ(idle.pixel(3, 3), kIconColumn);
    EXPECT_EQ(lastOf(idle.calls()), "drawText 27,5,120,23 0  循环清除");

    MemoryCanvas hot(120, 23, ui::clWhite);
    ui::TOwnerDrawState selected;
    selected.selected = true;
    look.PaintMenuItem(loop, hot, {0, 0, 120, 22}, selected);
    EXPECT_EQ(hot.pixel(100, 0), kMenuFace);
    EXPECT_EQ(hot.pixel(100, 1), kHighlight);
    EXPECT_EQ(hot.pixel(100, 10), kSelectFill);
    // Raised by one pixel, its shadow two pixels further down and right.
    EXPECT_EQ(hot.pixel(4, 4), static_cast<TColor>(picture));
    EXPECT_EQ(hot.pixel(17, 17), rgb(127, 137, 157)) << "the selection fill, 50 darker, green 48";

    MemoryCanvas off(120, 23, ui::clWhite);
    ui::TOwnerDrawState disabled = selected;
    disabled.disabled = true;
    look.PaintMenuItem(loop, off, {0, 0, 120, 22}, disabled);
    EXPECT_EQ(off.pixel(100, 10), kMenuFace);  // no selection
    // Grey 384 / 3 + 10 = 138, then 40 percent of the way to 255.
    EXPECT_EQ(off.pixel(10, 10), rgb(185, 185, 185));
    EXPECT_EQ(off.textColor(), rgb(141, 141, 141));

    MemoryCanvas shallow(120, 23, ui::clWhite);
    shallow.setBitsPerPixel(8);
    look.PaintMenuItem(loop, shallow, {0, 0, 120, 22}, {});
    EXPECT_EQ(shallow.pixel(10, 10), static_cast<TColor>(picture));  // not faded
    EXPECT_EQ(shallow.pixel(100, 10), ui::clWhite);
}

TEST_F(Look, ChecksSeparatorsAndTheDefaultItem) {
    menu.images = &images;
    ui::TMenuItem pictured(menu, 1, "Loop", 6), ticked(menu, 2, "Tick"), line(menu, 3, "-"),
        main(menu, 4, "Main");
    TXPMenu look(form);
    look.setActive(true);
    ui::TOwnerDrawState checked;
    checked.checked = true;

    MemoryCanvas a(120, 23);
    look.PaintMenuItem(pictured, a, {0, 0, 120, 22}, checked);
    EXPECT_EQ(a.pixel(1, 10), kHighlight);  // the frame around the picture
    EXPECT_EQ(a.pixel(3, 4), kCheckFill);
    checked.selected = true;
    look.PaintMenuItem(pictured, a, {0, 0, 120, 22}, checked);
    EXPECT_EQ(a.pixel(3, 4), kCheckFillHot);
    EXPECT_EQ(a.pixel(10, 10), static_cast<TColor>(MemoryCanvas::pictureColor(6)));  // not faded

    MemoryCanvas b(120, 23);
    checked.selected = false;
    look.PaintMenuItem(ticked, b, {0, 0, 120, 22}, checked);
    // A 10-pixel box centred in the column, with a black tick.
    EXPECT_EQ(b.pixel(7, 6), kHighlight);
    EXPECT_EQ(b.pixel(8, 7), kCheckFill);
    EXPECT_EQ(b.pixel(8, 11), ui::clBlack);

    MemoryCanvas s(120, 5);
    look.PaintMenuItem(line, s, {0, 0, 120, 4}, {});
    EXPECT_EQ(s.pixel(31, 2), kSeparator);
    EXPECT_EQ(s.pixel(30, 2), kMenuFace);
    EXPECT_EQ(s.pixel(40, 1), kMenuFace);
    EXPECT_EQ(count(s, "drawText"), 0);

    MemoryCanvas d(120, 23);
    ui::TOwnerDrawState isDefault;
    isDefault.isDefault = true;
    look.PaintMenuItem(main, d, {0, 0, 120, 22}, isDefault);
    EXPECT_EQ(count(d, "drawText"), 5);  // four shadow passes, then the caption
}

TEST_F(Look, ItemsAddedLaterAreTakenOverWhenASiblingIsPainted) {
    ui::TMenuItem first(menu, 1, "First");
    TXPMenu look(form);
    look.setActive(true);
    ui::TMenuItem late(menu, 2, "Late"), marked(menu, 3, "Marked");
    marked.tag = 999;
    EXPECT_FALSE(late.OnDrawItem);
    MemoryCanvas c(100, 22);
    first.OnDrawItem(c, {0, 0, 100, 21}, {});
    EXPECT_TRUE(late.ownerDrawn());
    EXPECT_FALSE(marked.OnDrawItem);
}

TEST(LookWindow, TheTrayMenuIsDrawnWithItsColumnSelectionAndTheLoopItemsCheck) {
    AppFixture f;
    TfrmMain& w = f.start();
    EXPECT_TRUE(w.XPMenu1.Active());
    EXPECT_TRUE(w.XPMenu1.AutoDetect);
    EXPECT_EQ(w.XPMenu1.Font.name, "Tahoma");  // the system's menu font replaced the window's
    w.N1.checked = true;
    f.application.chooseMenuItem(app::ids::N8);
    w.PopupMenu1.popup(10, 10);
    ASSERT_FALSE(f.application.menus().empty());
    const auto& shown = lastOf(f.application.menus());
    ASSERT_TRUE(shown.picture);
    const MemoryCanvas& c = shown.picture->canvas();
    const auto& boxes = shown.picture->boxes();
    ASSERT_EQ(boxes.size(), 8u);
    EXPECT_EQ(boxes[1].rect.height(), 4);  // the separator
    EXPECT_EQ(c.pixel(1, boxes[0].rect.top + 2), kHighlight);  // N1's checked frame
    EXPECT_EQ(c.pixel(c.width() - 3, boxes[2].rect.top + 10), kMenuFace);
    EXPECT_EQ(c.pixel(c.width() - 3, boxes[6].rect.top + 10), kSelectFill);  // 还原, chosen
    // Every button, field, box, group and the two panels; not the lists.
    EXPECT_NE(w.XPMenu1.recordOf(w.passwordPanel.BitBtn1), nullptr);
    EXPECT_NE(w.XPMenu1.recordOf(w.restriction.SpeedButton1), nullptr);
    EXPECT_NE(w.XPMenu1.recordOf(w.passwordPanel.Panel2), nullptr);
    EXPECT_NE(w.XPMenu1.recordOf(w.process.RadioGroup1), nullptr);
    EXPECT_EQ(w.XPMenu1.recordOf(w.process.List1), nullptr);
    EXPECT_EQ(w.XPMenu1.recordOf(w.programSettings.generalSettings.UpDown1), nullptr);
    EXPECT_EQ(w.XPMenu1.recordOf(w.PageControl1), nullptr);
}

// --- Controls

TEST_F(Look, AButtonLightsUnderTheMouseAndWithTheFocusAndShowsItsPress) {
    ui::TButton button(form, 1, "OK"), other(form, 2, "Other");
    button.setBounds(0, 0, 80, 24);
    TXPMenu look(form);
    look.setActive(true);
    peerOf(button).paint();
    const MemoryCanvas& s = surfaceOf(button);
    const TColor litFace = rgb(238, 236, 233), idlePen = rgb(166, 166, 166), hotPen = rgb(186, 193, 213);
    EXPECT_EQ(s.pixel(10, 12), kIconColumn);
    EXPECT_EQ(s.pixel(40, 0), idlePen);
    // The bevel line at the right and bottom: DarkenColour(shadow, 50).
    EXPECT_EQ(s.pixel(78, 12), rgb(78, 80, 78));

    app.hover(&peerOf(button));
    EXPECT_EQ(s.pixel(10, 12), litFace);
    EXPECT_EQ(s.pixel(40, 0), hotPen);
    button.perform(ui::wm::LButtonDown);
    const TColor pressedLine = rgb(107, 119, 145);  // DarkenColour of the lit base by 50
    EXPECT_EQ(s.pixel(1, 12), pressedLine);
    EXPECT_NE(s.pixel(78, 12), pressedLine);
    button.perform(ui::wm::LButtonUp);
    EXPECT_EQ(s.pixel(78, 12), pressedLine);
    app.hover(&peerOf(other));
    EXPECT_EQ(s.pixel(10, 12), kIconColumn);

    button.setFocus();  // lit border, face lit too: focus counts as the mouse inside
    EXPECT_EQ(s.pixel(40, 0), hotPen);
    other.setFocus();
    EXPECT_EQ(s.pixel(40, 0), idlePen);

    button.setEnabled(false);
    EXPECT_EQ(s.pixel(78, 12), kIconColumn);  // no bevel line
    app.hover(&peerOf(button));               // ignored while disabled
    EXPECT_EQ(s.pixel(10, 12), kIconColumn);
}

TEST_F(Look, HoldingSpacePaintsThePressedLookOnceAndADoubleClickPressesAgain) {
    ui::TButton button(form, 1, "OK");
    button.setBounds(0, 0, 80, 24);
    TXPMenu look(form);
    look.setActive(true);
    peerOf(button).paint();
    const MemoryCanvas& s = surfaceOf(button);
    const int before = count(s, "drawText");
    for (int repeat = 0; repeat < 5; ++repeat) button.perform(ui::wm::KeyDown, ui::wm::VkSpace);
    EXPECT_EQ(count(s, "drawText"), before + 1);
    EXPECT_EQ(s.pixel(10, 12), rgb(238, 236, 233));  // lit while pressed
    button.perform(ui::wm::KeyUp, ui::wm::VkSpace);
    EXPECT_EQ(count(s, "drawText"), before + 2);
    EXPECT_EQ(s.pixel(10, 12), kIconColumn);

    int downs = 0;
    auto spy = button.installHook([&](ui::TMessage& m, const ui::TMessageNext& next) {
        if (m.msg == ui::wm::LButtonDown) ++downs;
        next(m);
    });
    ui::TEdit edit(form, 3);
    button.perform(ui::wm::LButtonDblClk, 0, 0x00050007);
    EXPECT_EQ(downs, 1);
    const TControlSubClass* r = look.recordOf(button);
    ASSERT_NE(r, nullptr);
    EXPECT_TRUE(r->LeftDown);
}

TEST_F(Look, TheDefaultButtonsCaptionHasTheShadowOfADefaultItem) {
    ui::TBitBtn ok(form, 1, "确定");
    ok.setBounds(0, 0, 80, 24);
    ok.setGlyph("OKGLYPH");
    ok.setDefault(true);
    TXPMenu look(form);
    look.setActive(true);
    peerOf(ok).paint();
    const MemoryCanvas& s = surfaceOf(ok);
    EXPECT_EQ(count(s, "drawText"), 5);
    EXPECT_EQ(count(s, "resourcePixels OKGLYPH"), 1);
    peerOf(ok).paint();
    EXPECT_EQ(count(s, "resourcePixels"), 1);  // read once
}

TEST_F(Look, ACheckBoxShowsHotPressedCheckedAndDisabled) {
    ui::TCheckBox box(form, 1, "Box");
    box.setBounds(0, 0, 120, 22);
    TXPMenu look(form);
    look.setActive(true);
    peerOf(box).paint();
    const MemoryCanvas& s = surfaceOf(box);
    // A 16-pixel place 2 pixels down, the box 1 pixel inside it.
    EXPECT_EQ(s.pixel(0, 10), ui::headless::classicSystemColor(ui::clBtnFace));
    EXPECT_EQ(s.pixel(1, 10), rgb(128, 128, 128));
    EXPECT_EQ(s.pixel(5, 5), ui::clWhite);
    app.hover(&peerOf(box));
    EXPECT_EQ(s.pixel(1, 10), kHighlight);
    EXPECT_EQ(s.pixel(5, 5), kSelectFill);
    box.perform(ui::wm::KeyDown, ui::wm::VkSpace);
    EXPECT_EQ(s.pixel(5, 5), kCheckFillHot);
    box.perform(ui::wm::KeyUp, ui::wm::VkSpace);
    box.setChecked(true);
    // The tick's middle: from (x+2, y-5) down to (x+4, y-3), x, y the box's left and bottom.
    EXPECT_EQ(s.pixel(5, 13), kHighlight);
    box.setEnabled(false);
    EXPECT_EQ(s.pixel(5, 13), rgb(141, 141, 141));
}

TEST_F(Look, AnEditLosesItsThreeDBorderAndFramesItselfInTheSelectionWhenHot) {
    ui::TEdit edit(form, 1);
    edit.setBounds(0, 0, 60, 22);
    TXPMenu look(form);
    look.setActive(true);
    peerOf(edit).paint();
    EXPECT_FALSE(edit.ctl3D());
    const MemoryCanvas& s = surfaceOf(edit);
    EXPECT_EQ(s.pixel(0, 10), rgb(152, 150, 140));  // parent colour darkened by 60
    edit.setFocus();
    EXPECT_EQ(s.pixel(0, 10), rgb(157, 167, 195));
    edit.setText("abc");  // a text change repaints too
    EXPECT_EQ(s.pixel(59, 21), rgb(157, 167, 195));
}

TEST_F(Look, PanelsAndGroupBoxesRepaintOnlyWhenTheyPaint) {
    ui::TPanel panel(form, 1);
    panel.setBevel(ui::TBevelCut::Lowered);
    panel.setBounds(0, 0, 50, 30);
    ui::TGroupBox group(form, 2, "Group");
    group.setBounds(0, 40, 100, 60);
    TXPMenu look(form);
    look.setActive(true);
    panel.setFocus();
    EXPECT_EQ(peerOf(panel).surface(), nullptr);
    peerOf(panel).paint();
    const MemoryCanvas& p = surfaceOf(panel);
    EXPECT_EQ(p.pixel(0, 10), rgb(152, 150, 140));   // lowered: dark top and left
    EXPECT_EQ(p.pixel(49, 10), rgb(238, 236, 233));  // light bottom and right
    peerOf(group).paint();
    const MemoryCanvas& g = surfaceOf(group);
    EXPECT_EQ(g.pixel(0, 30), rgb(238, 236, 233));
    EXPECT_EQ(g.pixel(99, 30), rgb(152, 150, 140));
    EXPECT_EQ(lastOf(g.calls()), "textOut 9,0 Group");
}

// A bit button's glyph and caption stand as one centred group: the glyph's
// first column is where the layout puts it, not a few pixels to its right.
TEST(LookGlyph, TheGlyphStandsWhereTheCentredGroupPutsIt) {
    constexpr TColor kGlyph = rgb(1, 200, 3);
    for (const std::string caption : {"", "确定"}) {
        MemoryCanvas c(75, 25, ui::clBtnFace);
        const XPPalette pal = DerivePalette(c, PaletteSource{});
        Face face;
        face.caption = caption;
        face.glyph = ui::TPixels(16, 16, kGlyph);
        face.glyph.at(15, 15) = face.glyph.at(0, 15) = rgb(255, 0, 255);  // left out
        const TRect client{0, 0, 75, 25};
        PaintButton(c, pal, client, ControlState{}, ui::clBtnFace, face);
        c.setFont(face.font);
        const int captionW = caption.empty() ? 0 : c.textWidth(caption);
        const GlyphPlace want = placeGlyph(client, 16, 16, captionW, 4);
        int left = -1, top = -1;
        for (int y = 0; y < c.height() && left < 0; ++y)
            for (int x = 0; x < c.width(); ++x)
                if (c.pixel(x, y) == kGlyph) {
                    left = x, top = y;
                    break;
                }
        EXPECT_EQ(left, want.glyphX) << "caption '" << caption << "'";
        EXPECT_EQ(top, want.glyphY) << "caption '" << caption << "'";
        // With no caption the group is the glyph alone: as much room each side.
        if (caption.empty()) {
            EXPECT_EQ(left, (75 - 16) / 2);
        }
    }
}
