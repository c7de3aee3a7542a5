// Window message numbers the hooks and the in-memory peers share, so that
// code outside the Win32 layer can name them without <windows.h>.
#pragma once
#include <cstdint>

namespace ui::wm {

constexpr std::uint32_t Destroy = 0x0002, SetFocus = 0x0007, KillFocus = 0x0008,
                        Enable = 0x000A, SetText = 0x000C, GetTextLength = 0x000E,
                        Paint = 0x000F, KeyDown = 0x0100, KeyUp = 0x0101,
                        MouseMove = 0x0200, LButtonDown = 0x0201, LButtonUp = 0x0202,
                        LButtonDblClk = 0x0203, MouseLeave = 0x02A3;
// The end of the Windows session: may it end, and it ends (wParam nonzero).
constexpr std::uint32_t QueryEndSession = 0x0011, EndSession = 0x0016;
constexpr std::uintptr_t VkSpace = 0x20;
// Edit fields: the commands that change text without a typed character.
constexpr std::uint32_t EmGetModify = 0x00B8;
constexpr std::uint32_t Cut = 0x0300, Paste = 0x0302, Clear = 0x0303, Undo = 0x0304,
                        EmUndo = 0x00C7;
constexpr std::uintptr_t VkDelete = 0x2E;
// Buttons.
constexpr std::uint32_t BmGetCheck = 0x00F0, BmSetCheck = 0x00F1, BmSetState = 0x00F3;
constexpr std::uintptr_t BstUnchecked = 0, BstChecked = 1;
// The ranges a program numbers its own messages in; registered messages
// (RegisterWindowMessage) come from 0xC000 on.
constexpr std::uint32_t User = 0x0400, App = 0x8000, FirstRegistered = 0xC000;

}  // namespace ui::wm

// The toolkit's own notifications to a control's hooks, for what the window
// system tells in other ways (or not at all): they go through the hooks
// only, never to the window's class.
namespace ui::cm {

constexpr std::uint32_t FocusChanged = 0xB007, ParentColorChanged = 0xB009,
                        EnabledChanged = 0xB00C, Ctl3DChanged = 0xB010,
                        ParentCtl3DChanged = 0xB011, TextChanged = 0xB012, MouseEnter = 0xB013,
                        MouseLeave = 0xB014, Exit = 0xB01B, Invalidate = 0xB034;

}  // namespace ui::cm
