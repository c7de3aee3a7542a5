// Linked into the product only. The C++ library's own versions of these pull
// in code the program never needs: a demangler and printf for a message no
// window shows, and a second, copy-on-write string implementation behind the
// library's logic_error family (together some 150 KB of 32-bit code and
// unwind tables). Ours end the same way or throw the program's own error,
// whose message reaches the standard error box like any other.
#include <cstdlib>
#include <exception>
#include <new>
#include <typeinfo>

#include "base/error.h"

namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

namespace std {

void __throw_bad_alloc() { throw std::bad_alloc(); }
void __throw_bad_array_new_length() { throw std::bad_array_new_length(); }
void __throw_bad_cast() { throw std::bad_cast(); }
void __throw_bad_typeid() { throw std::bad_typeid(); }
void __throw_bad_exception() { throw std::bad_exception(); }
void __throw_logic_error(const char* what) { throw base::Error(what); }
void __throw_domain_error(const char* what) { throw base::Error(what); }
void __throw_invalid_argument(const char* what) { throw base::Error(what); }
void __throw_length_error(const char* what) { throw base::Error(what); }
void __throw_out_of_range(const char* what) { throw base::Error(what); }
// The format's arguments are left out: the text still names the check.
void __throw_out_of_range_fmt(const char* format, ...) { throw base::Error(format); }
void __throw_runtime_error(const char* what) { throw base::Error(what); }
void __throw_range_error(const char* what) { throw base::Error(what); }
void __throw_overflow_error(const char* what) { throw base::Error(what); }
void __throw_underflow_error(const char* what) { throw base::Error(what); }

}  // namespace std
