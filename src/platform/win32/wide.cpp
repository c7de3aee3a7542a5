#include "platform/win32/wide.h"

#include <cwchar>

#include "base/gb18030.h"

namespace platform::wide {

namespace {
constexpr UINT kGbk = 936;

void widenRun(const char* run, std::size_t n, std::wstring& out) {
    if (!n) return;
    const std::size_t at = out.size();
    out.resize(at + n);
    const int got = MultiByteToWideChar(kGbk, 0, run, static_cast<int>(n), &out[at], static_cast<int>(n));
    out.resize(at + (got > 0 ? static_cast<std::size_t>(got) : 0));
}

// One character the system's 936 holds exactly: not best-fit (ä as a), not
// the default character.
bool narrowExact(const wchar_t* c, int units, std::string& out) {
    char bytes[4];
    BOOL lossy = FALSE;
    const int n = WideCharToMultiByte(kGbk, 0, c, units, bytes, sizeof bytes, nullptr, &lossy);
    if (n <= 0 || lossy) return false;
    wchar_t back[2];
    if (MultiByteToWideChar(kGbk, 0, bytes, n, back, 2) != units || std::wmemcmp(back, c, units) != 0)
        return false;
    out.append(bytes, static_cast<std::size_t>(n));
    return true;
}
}  // namespace

bool on() {
    static const bool unicode = (GetVersion() & 0x80000000u) == 0 && IsValidCodePage(kGbk);
    return unicode;
}

std::wstring widen(std::string_view text) {
    std::wstring out;
    out.reserve(text.size());
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    std::size_t runStart = 0, i = 0;
    while (i < text.size()) {
        const std::size_t len = base::gbCharLength(p + i, text.size() - i);
        const std::uint32_t code = len == 4 ? base::gbFourToCode(p + i) : 0;
        if (!code) {
            i += len;
            continue;
        }
        widenRun(text.data() + runStart, i - runStart, out);
        if (code >= 0x10000) {
            out += static_cast<wchar_t>(0xD800 + ((code - 0x10000) >> 10));
            out += static_cast<wchar_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
        } else {
            out += static_cast<wchar_t>(code);
        }
        i += 4;
        runStart = i;
    }
    widenRun(text.data() + runStart, i - runStart, out);
    return out;
}

std::string narrow(const wchar_t* text, std::size_t length) {
    std::string out;
    if (!length) return out;
    // Most text is all 936: one call, proven by converting it back.
    const int n = static_cast<int>(length);
    BOOL lossy = FALSE;
    const int size = WideCharToMultiByte(kGbk, 0, text, n, nullptr, 0, nullptr, &lossy);
    if (size > 0 && !lossy) {
        out.resize(static_cast<std::size_t>(size));
        WideCharToMultiByte(kGbk, 0, text, n, out.data(), size, nullptr, nullptr);
        std::wstring back(length, L'\0');
        if (MultiByteToWideChar(kGbk, 0, out.data(), size, back.data(), n) == n &&
            std::wmemcmp(back.data(), text, length) == 0)
            return out;
        out.clear();
    }
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
    const wchar_t* nul = std::wmemchr(field, L'\0', size);
    return narrow(field, nul ? static_cast<std::size_t>(nul - field) : size);
}

}  // namespace platform::wide
