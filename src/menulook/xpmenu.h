// The flat look in the style of Windows XP: a component of the main window
// that draws the items of the window's popup menus itself and puts a window
// procedure in front of the window's buttons, edit fields, check boxes,
// panels and group boxes (TControlSubClass) to repaint them flat.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "menulook/colours.h"
#include "ui/controls.h"
#include "ui/menus.h"

namespace menulook {

using ui::TRect;

// Parents inside which controls are taken over, bit 0 first.
enum TXPContainer {
    xccForm, xccFrame, xccToolbar, xccCoolbar, xccControlbar, xccPanel, xccScrollBox,
    xccGroupBox, xccTabSheet, xccPageScroller
};
// Kinds of menus and controls taken over, bit 0 first.
enum TXPControl {
    xcMainMenu, xcPopupMenu, xcToolbar, xcControlbar, xcCombo, xcEdit, xcMaskEdit, xcMemo,
    xcRichEdit, xcCheckBox, xcRadioButton, xcButton, xcBitBtn, xcSpeedButton, xcPanel,
    xcGroupBox
};
using TXPContainers = std::uint16_t;
using TXPControls = std::uint16_t;
constexpr std::uint16_t setOf(int member) { return static_cast<std::uint16_t>(1u << member); }
constexpr TXPContainers kAllContainers = 0x3FF;
constexpr TXPControls kAllControls = 0xFFFF;

// The painter a control's class asks for: only the kinds the toolkit has.
enum class LookKind { None, Edit, CheckBox, Button, BitBtn, SpeedButton, Panel, GroupBox };
// Button and bit button are matched by their exact class name, so a class
// derived from them keeps its own look; the others by kind.
LookKind lookKindOf(const ui::TControl& c);
// The kind's member of TXPControl; -1 for none.
int controlMemberOf(LookKind k);
// The parent's member of TXPContainer; -1 for a parent that is none of them.
int containerMemberOf(const ui::TControl& parent);

// Where an item's parts go: the icon column I, the check box K, the text T.
struct ItemLayout {
    TRect icon, check, text;
};
ItemLayout menuItemLayout(TRect r, int iconWidth, int pictureWidth, bool hasPicture);

// A menu item's picture size: the menu's image list when the item has an
// image index; the width at least the icon column's.
ui::TPoint itemIconSize(const ui::TMenuItem& item, int iconWidth);

struct TextPaint {
    std::string caption, shortcut;
    unsigned format = 0;
    ui::TFont font;
    bool isDefault = false, enabled = true, selected = false;
};
// A caption centred in one line of r, with the shadow of a default item and
// the shortcut right-aligned.
void PaintItemText(TCanvas& c, const XPPalette& pal, const TextPaint& t, TRect r);
void PaintItemCheck(TCanvas& c, const XPPalette& pal, const TRect& k, bool selected,
                    bool hasPicture, bool enabled, bool checked, bool radio);
struct IconPaint {
    bool checked = false, enabled = true, selected = false;
    int iconWidth = 24, dimLevel = 30, grayLevel = 10;
};
void PaintItemIcon(TCanvas& c, const XPPalette& pal, const TRect& i, ui::TPixels picture,
                   const IconPaint& how);
void PaintGradientColumn(TCanvas& c, const XPPalette& pal, const TRect& r, int iconWidth);

class TControlSubClass;

class TXPMenu {
public:
    explicit TXPMenu(ui::TForm& owner);
    ~TXPMenu();
    TXPMenu(const TXPMenu&) = delete;
    TXPMenu& operator=(const TXPMenu&) = delete;

    // Properties that only store their value.
    std::uint8_t DimLevel = 30;
    std::uint8_t GrayLevel = 10;
    TColor Color = ui::clBtnFace;
    TColor IconBackColor = ui::clBtnFace;
    TColor MenuBarColor = ui::clBtnFace;
    TColor SelectColor = ui::clHighlight;
    TColor SelectBorderColor = ui::clHighlight;
    TColor SelectFontColor = ui::clMenuText;
    TColor DisabledColor = ui::clInactiveCaption;
    TColor SeparatorColor = ui::clBtnFace;
    TColor CheckedColor = ui::clHighlight;
    int IconWidth = 24;
    bool DrawSelect = true;
    bool Gradient = false;
    bool FlatMenu = false;
    bool AutoDetect = false;

    const ui::TFont& Font() const { return font_; }
    void setFont(const ui::TFont& f) { font_ = f; }
    bool UseSystemColors() const { return useSystemColors_; }
    void setUseSystemColors(bool on) { useSystemColors_ = on; }
    bool OverrideOwnerDraw() const { return overrideOwnerDraw_; }
    // Takes effect at the next take-over, or when a sibling is painted.
    void setOverrideOwnerDraw(bool on) { overrideOwnerDraw_ = on; }
    TXPContainers XPContainers() const { return containers_; }
    void setXPContainers(TXPContainers s);
    TXPControls XPControls() const { return controls_; }
    void setXPControls(TXPControls s);
    bool Active() const { return active_; }
    void setActive(bool on);

    // The menu items' measure and draw handlers.
    void SizeMenuItem(ui::TMenuItem& item, TCanvas& c, int& height, int& width);
    void PaintMenuItem(ui::TMenuItem& item, TCanvas& c, const TRect& r,
                       const ui::TOwnerDrawState& state);

    // The working colours for one painting; with system colours the font
    // becomes the system's menu font first.
    XPPalette DerivePalette(TCanvas& c);
    ui::TApplication& app() const { return owner_.app(); }

    // The record of a control taken over and still hooked; null for none.
    const TControlSubClass* recordOf(const ui::TControl& c) const;

private:
    struct DrawHandler;
    struct MeasureHandler;
    void HookOwner(bool takeOver, bool repaint);
    void hookControls(ui::TWinControl& container, bool takeOver, bool repaint);
    void hookItem(ui::TMenuItem& item);
    void releaseItem(ui::TMenuItem& item);
    void RehookSiblings(ui::TMenuItem& item);
    bool LoadMenuFont();
    // Records that let go of their control are freed here, never from
    // inside their own window procedure.
    void sweep();

    ui::TForm& owner_;
    ui::TFont font_;
    bool useSystemColors_ = true;
    bool overrideOwnerDraw_ = false;
    TXPContainers containers_ = kAllContainers;
    TXPControls controls_ = kAllControls;
    bool active_ = false;
    std::vector<std::unique_ptr<TControlSubClass>> records_;
};

}  // namespace menulook
