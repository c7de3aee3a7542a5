// Our text (code page 936 bytes, with GB18030's four-byte sequences for
// what 936 cannot hold) to and from Windows' UTF-16. On the NT family the
// program talks UTF-16, so it reads right whatever the system's ANSI code
// page; the 9x family has no Unicode windows and keeps the ANSI calls. A
// layer asks either kind through one table of functions whose text
// parameters take an Arg or an Out, so each call is written once.
#pragma once
#include <cstddef>
#include <memory>
#include <string>

#include "platform/win32/win.h"

namespace platform::wide {

// The NT family with code page 936 installed. Elsewhere the program stays on
// the ANSI calls, as it always was.
bool on();

// Fills `slots` with the functions `names` lists, in order: NUL-separated,
// a name ending in ".dll" naming the library of those after it, an empty
// name ending the list. False when one is missing.
bool lookUp(void* const* slots, const char* names);

// A table's slot for an A function whose pointer types differ from the
// slot's only where the W twin takes UTF-16 (LPCSTR against LPCWSTR).
template <class Fn>
Fn as(Fn, const void* f) {
    return reinterpret_cast<Fn>(const_cast<void*>(f));
}

std::string narrow(const wchar_t* text, std::size_t length);
// A fixed-size field up to its first NUL, never past it.
std::string narrowField(const wchar_t* field, std::size_t size);

// A text handed to a call: our bytes to the A function, UTF-16 to the W one.
// Embedded NULs (a dialog's filter) go along.
class Arg {
public:
    Arg(const std::string& text, bool wide);
    Arg(const char* text, bool wide);  // null stays null
    const void* get() const { return p_; }
    operator LPCSTR() const { return static_cast<LPCSTR>(p_); }
    int length() const { return static_cast<int>(n_); }  // in characters of its kind

private:
    void convert(const char* text, std::size_t n);
    std::unique_ptr<wchar_t[]> wide_;
    const void* p_ = nullptr;
    std::size_t n_ = 0;
};

// Room for `units` characters a call writes, read back as our bytes.
class Out {
public:
    Out(std::size_t units, bool wide, const std::string& initial = {});
    void* get() { return p_.get(); }
    operator LPSTR() { return p_.get(); }
    std::string text(std::size_t units) const;
    std::string text() const;  // up to the first NUL

private:
    std::unique_ptr<char[]> p_;
    std::size_t room_;
    bool wide_;
};

}  // namespace platform::wide
