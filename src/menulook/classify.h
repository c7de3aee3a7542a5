// Which menus and controls the flat look takes over: the sets of kinds and
// parents the component is given, and the kind and parent of a control.
#pragma once
#include <cstdint>

#include "ui/controls.h"

namespace menulook {

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

}  // namespace menulook
