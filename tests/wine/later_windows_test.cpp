// Controls whose windows come later: what code does to them before the
// window exists must leave the real window exactly as the same calls on a
// made window would, and nothing is made before it is needed.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "ui/controls.h"
#include "ui/win32/win32_app.h"

namespace {

HWND hwndOf(const ui::TControl& c) { return reinterpret_cast<HWND>(c.handle()); }

std::vector<HWND> childrenOf(HWND parent) {
    std::vector<HWND> out;
    for (HWND h = GetWindow(parent, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) out.push_back(h);
    return out;
}

struct FindId {
    int id;
    bool found = false;
};

BOOL CALLBACK findIdProc(HWND h, LPARAM lp) {
    auto* f = reinterpret_cast<FindId*>(lp);
    if (GetDlgCtrlID(h) == f->id) f->found = true;
    return !f->found;
}

bool madeWithId(HWND top, int id) {
    FindId f{id};
    EnumChildWindows(top, findIdProc, reinterpret_cast<LPARAM>(&f));
    return f.found;
}

struct LaterWindows : ::testing::Test {
    ui::win32::Win32Application app{GetModuleHandleA(nullptr)};
    ui::TForm form{app, "TLaterWindowsForm"};
    LaterWindows() { form.setClientSize(300, 200); }
};

// What a list box holds, read through the window itself.
struct ListState {
    std::vector<std::string> lines;
    std::vector<LRESULT> data;
    LRESULT sel;
    bool operator==(const ListState&) const = default;
};

ListState readList(HWND h) {
    ListState s;
    const LRESULT n = SendMessageA(h, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < n; ++i) {
        std::string t(static_cast<size_t>(SendMessageA(h, LB_GETTEXTLEN, i, 0)) + 1, '\0');
        t.resize(static_cast<size_t>(SendMessageA(h, LB_GETTEXT, i, reinterpret_cast<LPARAM>(t.data()))));
        s.lines.push_back(t);
        s.data.push_back(SendMessageA(h, LB_GETITEMDATA, i, 0));
    }
    s.sel = SendMessageA(h, LB_GETCURSEL, 0, 0);
    return s;
}

// Insertions before and after the selection, a deletion of it and of
// others, ticks kept in the item data, lines past the end refused.
void editList(ui::TCheckListBox& list, std::vector<std::string>& seen) {
    list.setItems({"a", "b", "c", "d"});
    list.setItemIndex(2);
    list.insert(0, "first");
    list.add("last");
    list.setChecked(3, true);
    list.setItem(1, "A");
    seen.push_back(std::to_string(list.itemIndex()) + " " + std::to_string(list.count()));
    list.remove(0);
    seen.push_back(std::to_string(list.itemIndex()) + " " + list.item(0) + " " + (list.checked(2) ? "ticked" : "-"));
    list.remove(list.itemIndex());
    seen.push_back(std::to_string(list.itemIndex()));
    list.setItemIndex(1);
    list.remove(0);
    list.setItemIndex(7);
    seen.push_back(std::to_string(list.itemIndex()));
    list.setItemIndex(0);
    try {
        list.insert(9, "beyond");
    } catch (const std::exception& e) {
        seen.push_back(e.what());
    }
}

TEST_F(LaterWindows, AListFilledBeforeItsWindowHoldsWhatAMadeOneWould) {
    ui::TPanel made(form, 1), waiting(form, 2);
    ui::TCheckListBox early(made, 3), late(waiting, 4);
    ASSERT_TRUE(hwndOf(early));
    std::vector<std::string> seenEarly, seenLate;
    editList(early, seenEarly);
    editList(late, seenLate);
    // Its parent has a window now, as a sibling of the first one's parent.
    EXPECT_TRUE(madeWithId(hwndOf(form), 2));
    EXPECT_FALSE(madeWithId(hwndOf(form), 4));
    EXPECT_EQ(seenLate, seenEarly);
    EXPECT_EQ(readList(hwndOf(late)), readList(hwndOf(early)));
}

TEST_F(LaterWindows, AListViewKeepsColumnsCellsAndSelectionUntilItsWindowComes) {
    ui::TListView view(form, 1);
    view.addColumn("name", 80);
    view.addColumn("place", 120);
    view.addItem("one");
    view.addItem("three");
    view.peer().insertRow(1, "two");
    view.setSubItem(0, 0, "C:\\one.exe");
    view.setSubItem(2, 1, "hidden");  // past the columns
    view.setItemIndex(2);
    view.peer().insertRow(0, "zero");
    view.deleteItem(1);
    EXPECT_FALSE(madeWithId(hwndOf(form), 1));
    HWND h = hwndOf(view);
    ASSERT_TRUE(h);
    HWND header = reinterpret_cast<HWND>(SendMessageA(h, LVM_GETHEADER, 0, 0));
    EXPECT_EQ(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0), 2);
    ASSERT_EQ(SendMessageA(h, LVM_GETITEMCOUNT, 0, 0), 3);
    EXPECT_EQ(view.itemCaption(0), "zero");
    EXPECT_EQ(view.itemCaption(1), "two");
    EXPECT_EQ(view.itemCaption(2), "three");
    EXPECT_EQ(view.subItem(2, 1), "hidden");
    EXPECT_EQ(SendMessageA(h, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 2);
}

TEST_F(LaterWindows, TicksTextsAndStatesReachTheWindowAndAreReportedOnce) {
    ui::TCheckBox box(form, 1, "box");
    ui::TEdit edit(form, 2, "abc");
    ui::TButton button(form, 3, "ok");
    int checks = 0;
    box.OnCheckChanged = [&] { ++checks; };
    box.setChecked(true);
    box.setChecked(true);
    EXPECT_EQ(checks, 1);
    edit.setPasswordChar('*');
    edit.setText("secret");
    button.setEnabled(false);
    button.setDefault(true);
    box.setBounds(5, 6, 70, 20);
    EXPECT_FALSE(madeWithId(hwndOf(form), 1));
    EXPECT_TRUE(box.checked());
    EXPECT_EQ(edit.text(), "secret");
    EXPECT_FALSE(button.enabled());

    HWND b = hwndOf(box);
    EXPECT_EQ(SendMessageA(b, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(checks, 1);
    RECT r{};
    GetWindowRect(b, &r);
    MapWindowPoints(HWND_DESKTOP, hwndOf(form), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, 5);
    EXPECT_EQ(r.bottom - r.top, 20);
    char text[16] = {};
    GetWindowTextA(hwndOf(edit), text, sizeof text);
    EXPECT_STREQ(text, "secret");
    EXPECT_EQ(SendMessageA(hwndOf(edit), EM_GETPASSWORDCHAR, 0, 0), '*');
    EXPECT_FALSE(IsWindowEnabled(hwndOf(button)));
    EXPECT_TRUE(GetWindowLongPtrA(hwndOf(button), GWL_STYLE) & BS_DEFPUSHBUTTON);
}

TEST_F(LaterWindows, ShowingMakesWhatIsSeenAndAHiddenPageWaitsForItsFirstShow) {
    ui::TPanel back(form, 1);
    ui::TPageControl pages(back, 2);
    ui::TTabSheet first(pages, 3, "first"), second(pages, 4, "second");
    ui::TButton onFirst(first, 5, "a"), onSecond(second, 6, "b");
    ui::TPanel front(form, 7);
    front.hide();
    ui::TLabel onFront(front, 8, "c");
    back.setBounds(0, 0, 300, 200);
    pages.setBoundsAndLayout(10, 10, 200, 150);
    front.setBounds(20, 20, 100, 100);
    front.bringToFront();
    EXPECT_EQ(pages.activePageIndex(), 0);
    EXPECT_EQ(pages.peer().cell(1, 0), "second");

    form.show();
    HWND top = hwndOf(form);
    EXPECT_TRUE(madeWithId(top, 5));
    // The page control was made at show, its pages then laid out in the
    // room its tabs leave.
    RECT room{}, page{};
    GetClientRect(hwndOf(pages), &room);
    SendMessageA(hwndOf(pages), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&room));
    GetWindowRect(hwndOf(first), &page);
    MapWindowPoints(HWND_DESKTOP, hwndOf(pages), reinterpret_cast<POINT*>(&page), 2);
    EXPECT_TRUE(EqualRect(&room, &page));
    EXPECT_GT(room.top, 10);
    EXPECT_FALSE(madeWithId(top, 6));
    EXPECT_FALSE(madeWithId(top, 7));
    pages.setActivePage(second);
    EXPECT_TRUE(madeWithId(top, 6));
    EXPECT_TRUE(IsWindowVisible(hwndOf(onSecond)));

    // Made last, the panel brought to the front still lies above the rest.
    front.show();
    EXPECT_TRUE(IsWindowVisible(hwndOf(onFront)));
    EXPECT_EQ(childrenOf(top), (std::vector<HWND>{hwndOf(front), hwndOf(back)}));
}

TEST_F(LaterWindows, TheArrowsTakeTheirFieldAndPositionWhenMade) {
    ui::TEdit field(form, 1, "1");
    ui::TUpDown arrows(form, 2);
    arrows.setAssociate(field);
    arrows.setRange(1, 30);
    arrows.setPosition(7);
    field.setBounds(10, 10, 60, 22);
    arrows.setAssociate(field);
    EXPECT_EQ(field.text(), "7");
    EXPECT_EQ(arrows.position(), 7);  // read from the window, made now
    HWND a = hwndOf(arrows);
    EXPECT_EQ(reinterpret_cast<HWND>(SendMessageA(a, UDM_GETBUDDY, 0, 0)), hwndOf(field));
    EXPECT_EQ(LOWORD(SendMessageA(a, UDM_GETRANGE, 0, 0)), 30);
    // The arrows sit at the field's right edge, within its former width.
    RECT fr{}, ar{};
    GetWindowRect(hwndOf(field), &fr);
    GetWindowRect(a, &ar);
    EXPECT_NEAR(ar.left, fr.right, 2);
    EXPECT_NEAR(ar.right - fr.left, 60, 2);
}

TEST_F(LaterWindows, AControlWhoseParentWindowIsGoneNeverGetsOne) {
    ui::TEdit edit(form, 1, "abc");
    DestroyWindow(hwndOf(form));
    EXPECT_EQ(edit.handle(), 0u);
    EXPECT_EQ(edit.perform(WM_GETTEXTLENGTH), 0);
    EXPECT_EQ(edit.text(), "abc");
}

}  // namespace

namespace {
// Read and paint through the window's own DC: the whole window with its
// frame, or the client area.
HDC dcOf(HWND h, bool whole) { return whole ? GetWindowDC(h) : GetDC(h); }

COLORREF pixelOf(HWND h, bool whole, int x, int y) {
    HDC dc = dcOf(h, whole);
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(h, dc);
    return c;
}

void fillWith(HWND h, bool whole, COLORREF colour) {
    RECT r{};
    GetWindowRect(h, &r);
    OffsetRect(&r, -r.left, -r.top);
    HDC dc = dcOf(h, whole);
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
    ReleaseDC(h, dc);
}

void repaintNow(HWND h) {
    InvalidateRect(h, nullptr, FALSE);
    UpdateWindow(h);
}

struct Frames : LaterWindows {
    Frames() { form.setClientSize(200, 100); }
};
}  // namespace

// Frameless controls skip the default frame painting; a framed one must
// still get its frame when the window is shown, and again when asked.
TEST_F(Frames, AFramedControlStillGetsItsFrameDrawn) {
    ui::TEdit edit(form, 1, "abc");
    ui::TButton button(form, 2, "b");
    edit.setBounds(10, 10, 120, 24);
    button.setBounds(10, 50, 80, 24);
    form.show();
    HWND e = hwndOf(edit);
    ASSERT_NE(GetWindowLongA(e, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    EXPECT_NE(pixelOf(e, true, 0, 0), face);
    const COLORREF edge = pixelOf(e, true, 0, 0);

    // Painted over, then the frame alone drawn again.
    fillWith(e, true, face);
    ASSERT_EQ(pixelOf(e, true, 0, 0), face);
    RedrawWindow(e, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(pixelOf(e, true, 0, 0), edge);
}

// Without its own painting a button's paint message only validates: what
// is on it stays for the hooks to paint over, and no paint message repeats.
TEST_F(Frames, AButtonWithoutItsOwnPaintingLeavesItsPixelsToTheHooks) {
    ui::TButton button(form, 1, "b");
    button.setBounds(10, 10, 80, 24);
    form.show();
    HWND b = hwndOf(button);
    const COLORREF green = RGB(0, 255, 0);

    button.setClassPaint(false);
    fillWith(b, false, green);
    repaintNow(b);
    EXPECT_EQ(pixelOf(b, false, 5, 5), green);
    EXPECT_FALSE(GetUpdateRect(b, nullptr, FALSE));

    button.setClassPaint(true);
    repaintNow(b);
    EXPECT_NE(pixelOf(b, false, 5, 5), green);
}

// Placed and sized before its first show, the window reports the place at
// once and is there, with the client size asked for, when it shows.
TEST_F(LaterWindows, AFormPlacedBeforeItsFirstShowIsThereWhenShown) {
    int moves = 0;
    auto counting = form.installHook([&](ui::TMessage& m, const ui::TMessageNext& next) {
        if (m.msg == WM_WINDOWPOSCHANGED) ++moves;
        next(m);
    });
    form.setBounds(40, 30, 200, 150);
    ui::TRect b = form.windowRect();
    EXPECT_EQ(b.left, 40);
    EXPECT_EQ(b.top, 30);
    EXPECT_EQ(b.width(), 200);
    form.setClientSize(320, 180);
    b = form.windowRect();
    EXPECT_EQ(b.left, 40);
    EXPECT_GT(b.width(), 320);
    EXPECT_EQ(moves, 0) << "a hidden window is moved only at its show";
    form.show();
    RECT outer{}, client{};
    GetWindowRect(hwndOf(form), &outer);
    GetClientRect(hwndOf(form), &client);
    EXPECT_EQ(outer.left, 40);
    EXPECT_EQ(outer.top, 30);
    EXPECT_EQ(outer.right - outer.left, b.width());
    EXPECT_EQ(client.right, 320);
    EXPECT_EQ(client.bottom, 180);
    // Moved after the show, it moves at once.
    form.setBounds(60, 50, b.width(), b.height());
    GetWindowRect(hwndOf(form), &outer);
    EXPECT_EQ(outer.left, 60);
}

// A bevel and a framed picture have no window: their parent draws them at
// their place, below its child windows, and draws them again, or no more,
// where they move or hide. A panel without a caption leaves its background.
TEST_F(Frames, BevelsAndPicturesAreDrawnByTheirParent) {
    const COLORREF face = GetSysColor(COLOR_BTNFACE), shadow = GetSysColor(COLOR_BTNSHADOW),
                   light = GetSysColor(COLOR_BTNHIGHLIGHT);
    ui::TBevel bevel(form, 1);
    bevel.setBounds(10, 10, 40, 30);
    ui::TPanel panel(form, 2);
    panel.setBounds(100, 10, 60, 50);
    ui::TImage picture(panel, 3);
    picture.setFramed(true);
    picture.setBounds(5, 5, 30, 30);
    ui::TButton over(form, 4, "b");
    over.setBounds(30, 20, 40, 30);
    form.show();
    const HWND f = hwndOf(form), p = hwndOf(panel);
    EXPECT_EQ(bevel.handle(), 0u);
    EXPECT_EQ(picture.handle(), 0u);
    EXPECT_FALSE(madeWithId(f, 1));
    EXPECT_FALSE(madeWithId(f, 3));

    // An etched frame: shadow outside, light inside; the button stays on top.
    EXPECT_EQ(pixelOf(f, false, 10, 10), shadow);
    EXPECT_EQ(pixelOf(f, false, 11, 11), light);
    EXPECT_EQ(pixelOf(f, false, 20, 15), face);
    EXPECT_NE(pixelOf(f, false, 49, 25), light) << "under the button the bevel is covered";
    // A lowered frame around the picture, inside the panel.
    EXPECT_EQ(pixelOf(p, false, 5, 5), shadow);
    EXPECT_EQ(pixelOf(p, false, 34, 34), light);
    EXPECT_EQ(pixelOf(p, false, 15, 15), face);

    bevel.setVisible(false);
    UpdateWindow(f);
    EXPECT_EQ(pixelOf(f, false, 10, 10), face);
    bevel.setVisible(true);
    bevel.setBounds(12, 60, 40, 30);
    UpdateWindow(f);
    EXPECT_EQ(pixelOf(f, false, 10, 10), face) << "the old place is cleared";
    EXPECT_EQ(pixelOf(f, false, 12, 60), shadow);

    picture.setFramed(false);
    UpdateWindow(p);
    EXPECT_EQ(pixelOf(p, false, 5, 5), face);

    // Painted over and repainted, the panel draws the picture's frame again.
    picture.setFramed(true);
    fillWith(p, false, RGB(0, 255, 0));
    repaintNow(p);
    EXPECT_EQ(pixelOf(p, false, 5, 5), shadow);
    EXPECT_EQ(pixelOf(p, false, 50, 40), face);
}
