// The four-byte sequences of GB18030: code page 936 with every other Unicode
// character besides. A text of ours stays byte for byte what code page 936
// makes of it; a character 936 cannot hold travels as four bytes
// (lead, digit, lead, digit), which the lead-byte rules step over whole.
#pragma once
#include <cstddef>
#include <cstdint>

namespace base {

// Bytes of the character at `p` (1, 2 or 4), `left` bytes being there. A lead
// byte with nothing after it counts as one.
std::size_t gbCharLength(const unsigned char* p, std::size_t left);

// The code point four bytes stand for, or 0 when they name none.
std::uint32_t gbFourToCode(const unsigned char* p);

// The four bytes of a code point that has them (none below 0x80, in the
// surrogates, or held by two bytes); false otherwise.
bool gbCodeToFour(std::uint32_t code, unsigned char out[4]);

}  // namespace base
