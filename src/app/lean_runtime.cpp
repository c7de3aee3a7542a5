// Linked into the product only. The C++ library's own versions of these pull
// in code the program never needs: a demangler and printf for a message no
// window shows, and a second, copy-on-write string implementation behind the
// library's logic_error family (together some 150 KB of 32-bit code and
// unwind tables). Ours end the same way or throw the program's own error,
// whose message reaches the standard error box like any other.
#include <windows.h>

#include <cstdlib>
#include <cxxabi.h>
#include <exception>
#include <functional>
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
void __throw_bad_function_call() { throw base::Error("Empty handler called"); }

}  // namespace std

// The exceptions in flight and caught, per thread. The library keeps them in
// emulated thread-local storage with its own locks; a slot of the system's
// does the same in a few instructions. The main thread has the static set,
// also before the slot is taken at static initialisation (only it runs
// then); any other thread gets one from the heap at its first exception.
namespace __cxxabiv1 {
struct __cxa_eh_globals {
    void* caughtExceptions;
    unsigned int uncaughtExceptions;
};
}  // namespace __cxxabiv1

namespace {
__cxxabiv1::__cxa_eh_globals mainGlobals;
// The slot plus one: zero, as it is before static initialisation, is none.
DWORD ehSlotPlusOne = 0;
const bool ehSlotTaken = [] {
    const DWORD slot = TlsAlloc();
    if (slot == TLS_OUT_OF_INDEXES || !TlsSetValue(slot, &mainGlobals)) return false;
    ehSlotPlusOne = slot + 1;
    return true;
}();
}  // namespace

namespace __cxxabiv1 {
extern "C" __cxa_eh_globals* __cxa_get_globals_fast() noexcept {
    // No slot (yet, or to be had): one thread's worth is all there is.
    if (!ehSlotPlusOne) return &mainGlobals;
    auto* g = static_cast<__cxa_eh_globals*>(TlsGetValue(ehSlotPlusOne - 1));
    if (!g) {
        // Kept until the program ends: the other threads are few and short.
        g = static_cast<__cxa_eh_globals*>(std::calloc(1, sizeof *g));
        if (!g || !TlsSetValue(ehSlotPlusOne - 1, g)) std::abort();
    }
    return g;
}
extern "C" __cxa_eh_globals* __cxa_get_globals() noexcept { return __cxa_get_globals_fast(); }
}  // namespace __cxxabiv1

// The start-up code patches imported data through this; the program imports
// none (the linker is told to refuse), so nothing is patched and the patcher,
// its section lookup and its printf stay out. Should an import ever need it,
// stopping at once beats running with an unpatched address.
extern "C" char __RUNTIME_PSEUDO_RELOC_LIST__;
extern "C" char __RUNTIME_PSEUDO_RELOC_LIST_END__;
extern "C" void _pei386_runtime_relocator() {
    if (&__RUNTIME_PSEUDO_RELOC_LIST__ != &__RUNTIME_PSEUDO_RELOC_LIST_END__) std::abort();
}
