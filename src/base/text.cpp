#include "base/text.h"

namespace base {

std::string asciiUpper(std::string_view s) {
    std::string r(s);
    for (char& c : r)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 0x20);
    return r;
}

// Index just past the last separator that is a character of its own, or 0.
static std::size_t afterLastSeparator(std::string_view path) {
    std::size_t after = 0;
    for (std::size_t i = 0; i < path.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(path[i]);
        if (isLeadByte(c) && i + 1 < path.size()) {
            ++i;  // skip the trail byte, whatever it is
            continue;
        }
        if (c == '\\' || c == ':') after = i + 1;
    }
    return after;
}

std::string fileNamePart(std::string_view path) {
    return std::string(path.substr(afterLastSeparator(path)));
}

std::string dirPart(std::string_view path) {
    return std::string(path.substr(0, afterLastSeparator(path)));
}

std::string trim(std::string_view s) {
    std::size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= 0x20) ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= 0x20) --e;
    return std::string(s.substr(b, e - b));
}

std::string intToStr(long long v) { return std::to_string(v); }

std::string joinLines(const std::vector<std::string>& lines) {
    std::size_t n = 0;
    for (const auto& l : lines) n += l.size() + 2;
    std::string r;
    r.reserve(n);
    for (const auto& l : lines) {
        r += l;
        r += "\r\n";
    }
    return r;
}

std::vector<std::string> splitLines(std::string_view bytes, ReadRule rule) {
    std::vector<std::string> out;
    std::size_t pos = 0;
    const std::size_t n = bytes.size();
    bool first = true;
    while (true) {
        bool atEnd = pos >= n;
        if (atEnd && !(first && rule == ReadRule::LineFirst)) break;
        first = false;
        std::size_t e = pos;
        while (e < n && bytes[e] != '\r' && bytes[e] != '\n') ++e;
        out.emplace_back(bytes.substr(pos, e - pos));
        pos = e;
        if (pos < n && bytes[pos++] == '\r' && pos < n && bytes[pos] == '\n') ++pos;
    }
    return out;
}

}  // namespace base
