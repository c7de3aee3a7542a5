#include "platform/win32/wide.h"

#include <cstring>

#include "base/gb18030.h"

namespace platform::wide {

namespace {
constexpr UINT kGbk = 936;

std::size_t widenRun(const char* run, std::size_t n, wchar_t* out) {
    if (!n) return 0;
    const int got = MultiByteToWideChar(kGbk, 0, run, static_cast<int>(n), out, static_cast<int>(n));
    return got > 0 ? static_cast<std::size_t>(got) : 0;
}

// Never more characters than bytes: a four-byte sequence gives at most two.
std::size_t widenInto(const char* text, std::size_t n, wchar_t* out) {
    const auto* p = reinterpret_cast<const unsigned char*>(text);
    std::size_t runStart = 0, i = 0, done = 0;
    while (i < n) {
        const std::size_t len = base::gbCharLength(p + i, n - i);
        const std::uint32_t code = len == 4 ? base::gbFourToCode(p + i) : 0;
        if (!code) {
            i += len;
            continue;
        }
        done += widenRun(text + runStart, i - runStart, out + done);
        if (code >= 0x10000) {
            out[done++] = static_cast<wchar_t>(0xD800 + ((code - 0x10000) >> 10));
            out[done++] = static_cast<wchar_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
        } else {
            out[done++] = static_cast<wchar_t>(code);
        }
        i += 4;
        runStart = i;
    }
    return done + widenRun(text + runStart, i - runStart, out + done);
}

// One character as the system's 936 holds it exactly: not best-fit (ä as
// a), not the default character.
bool narrowExact(const wchar_t* c, int units, std::string& out) {
    char bytes[4];
    BOOL lossy = FALSE;
    const int n = WideCharToMultiByte(kGbk, 0, c, units, bytes, sizeof bytes, nullptr, &lossy);
    if (n <= 0 || lossy) return false;
    wchar_t back[2];
    if (MultiByteToWideChar(kGbk, 0, bytes, n, back, 2) != units || std::memcmp(back, c, units * sizeof(wchar_t)))
        return false;
    out.append(bytes, static_cast<std::size_t>(n));
    return true;
}
}  // namespace

bool on() {
    static const bool unicode = (GetVersion() & 0x80000000u) == 0 && IsValidCodePage(kGbk);
    return unicode;
}

bool lookUp(void* const* slots, const char* names) {
    void** slot = const_cast<void**>(slots);
    HMODULE module = nullptr;
    for (const char* name = names; *name; name += std::strlen(name) + 1) {
        const std::size_t n = std::strlen(name);
        if (n > 4 && std::memcmp(name + n - 4, ".dll", 4) == 0) {
            module = GetModuleHandleA(name);
            if (!module) module = LoadLibraryA(name);
            continue;
        }
        *slot = module ? reinterpret_cast<void*>(GetProcAddress(module, name)) : nullptr;
        if (!*slot++) return false;
    }
    return true;
}

std::string narrow(const wchar_t* text, std::size_t length) {
    std::string out;
    for (std::size_t i = 0; i < length;) {
        const wchar_t c = text[i];
        if (c < 0x80) {
            out += static_cast<char>(c);
            ++i;
            continue;
        }
        const bool pair = c >= 0xD800 && c < 0xDC00 && i + 1 < length && text[i + 1] >= 0xDC00 &&
                          text[i + 1] < 0xE000;
        const int units = pair ? 2 : 1;
        if (!narrowExact(text + i, units, out)) {
            const std::uint32_t code =
                pair ? 0x10000 + ((c - 0xD800u) << 10) + (text[i + 1] - 0xDC00u) : c;
            unsigned char four[4];
            if (base::gbCodeToFour(code, four)) out.append(reinterpret_cast<const char*>(four), 4);
            else out += '?';
        }
        i += static_cast<std::size_t>(units);
    }
    return out;
}

std::string narrowField(const wchar_t* field, std::size_t size) {
    std::size_t n = 0;
    while (n < size && field[n]) ++n;
    return narrow(field, n);
}

Arg::Arg(const std::string& text, bool wide) : p_(text.c_str()), n_(text.size()) {
    if (wide) convert(text.data(), text.size());
}

Arg::Arg(const char* text, bool wide) : p_(text), n_(text ? std::strlen(text) : 0) {
    if (wide && text) convert(text, n_);
}

void Arg::convert(const char* text, std::size_t n) {
    wide_.reset(new wchar_t[n + 1]);
    n_ = widenInto(text, n, wide_.get());
    wide_[n_] = L'\0';
    p_ = wide_.get();
}

Out::Out(std::size_t units, bool wide, const std::string& initial)
    : p_(new char[units * (wide ? 2 : 1)]()), room_(units), wide_(wide) {
    if (initial.empty() || !units) return;
    const std::size_t n = initial.size() < units ? initial.size() : units - 1;
    if (!wide) {
        std::memcpy(p_.get(), initial.data(), n);
        return;
    }
    auto* w = reinterpret_cast<wchar_t*>(p_.get());
    w[widenInto(initial.data(), n, w)] = L'\0';
}

std::string Out::text(std::size_t units) const {
    if (units > room_) units = room_;
    return wide_ ? narrow(reinterpret_cast<const wchar_t*>(p_.get()), units) : std::string(p_.get(), units);
}

std::string Out::text() const {
    if (wide_) return narrowField(reinterpret_cast<const wchar_t*>(p_.get()), room_);
    std::size_t n = 0;
    while (n < room_ && p_[n]) ++n;
    return std::string(p_.get(), n);
}

}  // namespace platform::wide
