// The flat look in the style of Windows XP: a component of the main window
// that draws the items of the window's popup menus itself and puts a window
// procedure in front of the window's buttons, edit fields, check boxes,
// panels and group boxes (TControlSubClass) to repaint them flat.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "menulook/classify.h"
#include "menulook/colours.h"
#include "ui/controls.h"
#include "ui/menus.h"

namespace menulook {

using ui::TRect;

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
    // With system colours, the system's menu font replaces it at each painting.
    ui::TFont Font;
    bool UseSystemColors = true;
    // Takes effect at the next take-over, or when a sibling is painted.
    bool OverrideOwnerDraw = false;

    // While active, a new set takes the menus and controls over again.
    void setXPContainers(TXPContainers s) { retake(containers_, s); }
    void setXPControls(TXPControls s) { retake(controls_, s); }
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
    void retake(std::uint16_t& set, std::uint16_t to);
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
    TXPContainers containers_ = kAllContainers;
    TXPControls controls_ = kAllControls;
    bool active_ = false;
    std::vector<std::unique_ptr<TControlSubClass>> records_;
};

}  // namespace menulook
