// Our text (code page 936 bytes, with GB18030's four-byte sequences for
// what 936 cannot hold) to and from Windows' UTF-16. On the NT family the
// program talks UTF-16, so it reads right whatever the system's ANSI code
// page; the 9x family has no Unicode windows and keeps the ANSI calls.
#pragma once
#include <string>
#include <string_view>

#include "platform/win32/win.h"

namespace platform::wide {

// True on the NT family where code page 936 is installed. Elsewhere the
// program stays on the ANSI calls, as it always was.
bool on();

std::wstring widen(std::string_view text);
std::string narrow(const wchar_t* text, std::size_t length);
inline std::string narrow(const std::wstring& text) { return narrow(text.data(), text.size()); }
// Up to the first NUL of a fixed-size field, never past it.
std::string narrowField(const wchar_t* field, std::size_t size);

// A function looked up in a loaded library, never imported: Windows 95
// exports few of the W functions.
template <class Fn>
Fn function(HMODULE module, const char* name) {
    return module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)))
                  : nullptr;
}

}  // namespace platform::wide
