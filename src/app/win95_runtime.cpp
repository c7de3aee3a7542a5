// The C runtime of the 32-bit product, on kernel32 alone. Windows 95 ships no
// msvcrt.dll, and the loader refuses a program that imports one before its
// first line runs; here is the little the program, the C++ library and the
// exception unwinder call: the entry point, the heap, the memory and string
// functions, and the exit list that runs the static destructors.
#include <windows.h>

#include <climits>
#include <cstdint>
#include <cstddef>

extern "C" {

// --- Memory: the process heap.

void* malloc(size_t n) { return HeapAlloc(GetProcessHeap(), 0, n ? n : 1); }

void free(void* p) {
    if (p) HeapFree(GetProcessHeap(), 0, p);
}

void* calloc(size_t count, size_t size) {
    if (size && count > SIZE_MAX / size) return nullptr;
    const size_t n = count * size;
    return HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, n ? n : 1);
}

void* realloc(void* p, size_t n) {
    if (!p) return malloc(n);
    return HeapReAlloc(GetProcessHeap(), 0, p, n ? n : 1);
}

// --- Memory and strings. The file is compiled without loop-to-call
// patterns: a loop here must not turn into a call of itself.

void* memcpy(void* to, const void* from, size_t n) {
    auto* d = static_cast<unsigned char*>(to);
    const auto* s = static_cast<const unsigned char*>(from);
    while (n--) *d++ = *s++;
    return to;
}

void* memmove(void* to, const void* from, size_t n) {
    auto* d = static_cast<unsigned char*>(to);
    const auto* s = static_cast<const unsigned char*>(from);
    if (d <= s || d >= s + n) return memcpy(to, from, n);
    while (n--) d[n] = s[n];
    return to;
}

void* memset(void* to, int c, size_t n) {
    auto* d = static_cast<unsigned char*>(to);
    while (n--) *d++ = static_cast<unsigned char>(c);
    return to;
}

int memcmp(const void* a, const void* b, size_t n) {
    const auto* x = static_cast<const unsigned char*>(a);
    const auto* y = static_cast<const unsigned char*>(b);
    for (; n; --n, ++x, ++y)
        if (*x != *y) return *x < *y ? -1 : 1;
    return 0;
}

void* memchr(const void* p, int c, size_t n) {
    const auto* s = static_cast<const unsigned char*>(p);
    for (; n; --n, ++s)
        if (*s == static_cast<unsigned char>(c)) return const_cast<unsigned char*>(s);
    return nullptr;
}

size_t strlen(const char* s) {
    const char* e = s;
    while (*e) ++e;
    return static_cast<size_t>(e - s);
}

int strcmp(const char* a, const char* b) {
    while (*a && *a == *b) ++a, ++b;
    return static_cast<unsigned char>(*a) - static_cast<unsigned char>(*b);
}

// errno. The headers declare _errno as the DLL's, so it is defined under
// another name with the symbol the code links to, and with the import slot
// that code built against those headers calls it through.
static int errorNumber;
int* errorLocation() __asm__("__errno");
int* errorLocation() { return &errorNumber; }
__attribute__((used)) int* (*errorImport)() __asm__("__imp___errno") = errorLocation;

// As the C library's: blanks, a sign, "0x" for base 16 (or 0, which also
// takes a leading 0 as octal), digits; out of range gives the nearest limit.
long strtol(const char* text, char** end, int base) {
    const char* s = text;
    while (*s == ' ' || (*s >= '\t' && *s <= '\r')) ++s;
    const bool negative = *s == '-';
    if (*s == '-' || *s == '+') ++s;
    auto hexDigit = [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
    };
    if ((base == 0 || base == 16) && s[0] == '0' && (s[1] == 'x' || s[1] == 'X') && hexDigit(s[2])) {
        s += 2;
        base = 16;
    } else if (base == 0) {
        base = *s == '0' ? 8 : 10;
    }
    const unsigned long limit = negative ? 0UL + LONG_MAX + 1 : LONG_MAX;
    unsigned long value = 0;
    bool any = false, over = false;
    for (;; ++s) {
        int digit;
        if (*s >= '0' && *s <= '9') digit = *s - '0';
        else if (*s >= 'a' && *s <= 'z') digit = *s - 'a' + 10;
        else if (*s >= 'A' && *s <= 'Z') digit = *s - 'A' + 10;
        else break;
        if (digit >= base) break;
        any = true;
        if (value > (limit - digit) / base) over = true;
        else value = value * base + digit;
    }
    if (end) *end = const_cast<char*>(any ? s : text);
    if (over) {
        errorNumber = 34;  // ERANGE
        return negative ? LONG_MIN : LONG_MAX;
    }
    return negative ? static_cast<long>(0UL - value) : static_cast<long>(value);
}

// --- Ending.

[[noreturn]] void abort() {
    TerminateProcess(GetCurrentProcess(), 3);
    ExitProcess(3);
}

using ExitFn = void (*)();
static ExitFn exitList[256];
static int exitCount;

int atexit(ExitFn fn) {
    if (exitCount == static_cast<int>(sizeof exitList / sizeof *exitList)) return -1;
    exitList[exitCount++] = fn;
    return 0;
}

// The static destructors, newest first, then the process ends.
[[noreturn]] void exit(int code) {
    while (exitCount) exitList[--exitCount]();
    ExitProcess(static_cast<UINT>(code));
}

// libgcc's: runs the static constructors (the unwinder's frame table among
// them) and hands their destructors to atexit.
void __main();

// The entry point the linker is given: no argument vector, no environment
// copy, no locale; WinMain as Windows would call it.
__attribute__((force_align_arg_pointer)) void MorvaneStart() {
    __main();
    const char* line = GetCommandLineA();
    // The program's own name, quoted or not, then the blanks after it.
    if (*line == '"') {
        for (++line; *line && *line != '"'; ++line) {
        }
        if (*line) ++line;
    } else {
        while (*line > ' ') ++line;
    }
    while (*line && *line <= ' ') ++line;
    STARTUPINFOA start{};
    start.cb = sizeof start;
    GetStartupInfoA(&start);
    const int show = (start.dwFlags & STARTF_USESHOWWINDOW) ? start.wShowWindow : SW_SHOWDEFAULT;
    exit(WinMain(GetModuleHandleA(nullptr), nullptr, const_cast<char*>(line), show));
}

}  // extern "C"
