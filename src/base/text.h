// Text rules shared by every page. All text is code page 936 (GBK) bytes.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace base {

// Only 'a'..'z' change; trail bytes of double-byte characters are not spared.
std::string asciiUpper(std::string_view s);

// Code page 936 lead bytes, decided here so every build agrees.
constexpr bool isLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

// Text after the last '\' or ':' that is a character of its own (a 0x5C trail
// byte of a double-byte character does not count). No separator: the whole text.
std::string fileNamePart(std::string_view path);
// Everything up to and including that separator; empty when there is none.
std::string dirPart(std::string_view path);

// Drops bytes up to 0x20 at both ends.
std::string trim(std::string_view s);

// Decimal text of a signed 32-bit number, no padding.
std::string intToStr(long long v);

// List files: one entry per line, CR LF after every line; an empty list is an
// empty file.
std::string joinLines(const std::vector<std::string>& lines);

// Reading: CR LF, a bare LF and a lone CR each end a line; a last line without
// a line end is read too.
//  - endFirst: the end is tested before each line, so an empty file gives no line.
//  - lineFirst: the first line is read before the end is tested, so an empty
//    file gives one empty line.
enum class ReadRule { EndFirst, LineFirst };
std::vector<std::string> splitLines(std::string_view bytes, ReadRule rule);

}  // namespace base
