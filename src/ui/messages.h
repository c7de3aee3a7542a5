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
// Edit fields: the commands that change text without a typed character.
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
