#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <set>

#include "base/gb18030.h"
#include "base/text.h"

using base::ReadRule;
using base::splitLines;
using V = std::vector<std::string>;

TEST(AsciiUpper, OnlyLatinLowerCaseBytesChange) {
    EXPECT_EQ(base::asciiUpper("notepad.exe"), "NOTEPAD.EXE");
    // Trail bytes in 0x61..0x7A change too: the text is not parsed as GBK.
    EXPECT_EQ(base::asciiUpper("\xB0\x61\xC4\x7A"), "\xB0\x41\xC4\x5A");
    EXPECT_EQ(base::asciiUpper("\x60\x7B@["), "\x60\x7B@[");
}

TEST(PathParts, SeparatorInsideDoubleByteCharacterDoesNotCount) {
    EXPECT_EQ(base::fileNamePart("C:\\WINDOWS\\EXPLORER.EXE"), "EXPLORER.EXE");
    EXPECT_EQ(base::fileNamePart("C:X.EXE"), "X.EXE");
    EXPECT_EQ(base::fileNamePart("NOTEPAD.EXE"), "NOTEPAD.EXE");
    EXPECT_EQ(base::fileNamePart("C:\\DIR\\"), "");
    // 表 is B1 ED, 能 is C4 DC, 运 is D4 CB; 0x5C trail: 檀 = CC 5C.
    const std::string dir = "C:\\\xCC\x5C\\";
    EXPECT_EQ(base::fileNamePart(dir + "A.EXE"), "A.EXE");
    EXPECT_EQ(base::fileNamePart("X\xCC\x5C"), "X\xCC\x5C");
    EXPECT_EQ(base::dirPart(dir + "A.EXE"), dir);
    EXPECT_EQ(base::dirPart("X\xCC\x5C" "B"), "");
    EXPECT_EQ(base::dirPart("C:\\Program Files\\M\\Morvane.exe"), "C:\\Program Files\\M\\");
}

TEST(Trim, DropsControlBytesAndBlanksAtBothEnds) {
    EXPECT_EQ(base::trim(" \t\r\nab c\x01 "), "ab c");
    EXPECT_EQ(base::trim("   "), "");
    EXPECT_EQ(base::trim("\xB0\xA1"), "\xB0\xA1");
}

TEST(ListFiles, WritingEndsEveryLineWithCrLf) {
    EXPECT_EQ(base::joinLines({}), "");
    EXPECT_EQ(base::joinLines({""}), "\r\n");
    EXPECT_EQ(base::joinLines({"A", "", "B"}), "A\r\n\r\nB\r\n");
}

TEST(ListFiles, TwoReadingRulesDifferOnlyForTheEmptyFile) {
    EXPECT_EQ(splitLines("", ReadRule::EndFirst), V{});
    EXPECT_EQ(splitLines("", ReadRule::LineFirst), V{""});
    for (auto rule : {ReadRule::EndFirst, ReadRule::LineFirst}) {
        EXPECT_EQ(splitLines("A\r\nB\r\n", rule), (V{"A", "B"}));
        EXPECT_EQ(splitLines("A\r\nB", rule), (V{"A", "B"}));      // last line unended
        EXPECT_EQ(splitLines("A\nB\n", rule), (V{"A", "B"}));      // bare LF
        EXPECT_EQ(splitLines("A\rB\r\n", rule), (V{"A", "B"}));    // lone CR ends a line
        EXPECT_EQ(splitLines("\r\n\r\n", rule), (V{"", ""}));
        EXPECT_EQ(splitLines("A\n\rB", rule), (V{"A", "", "B"}));  // LF then CR: two ends
        EXPECT_EQ(splitLines("A\r\n\nB", rule), (V{"A", "", "B"}));
    }
}

TEST(ListFiles, WhatIsWrittenReadsBackIdentical) {
    V lines{"C:\\WINDOWS\\EXPLORER.EXE", "", "\xD5\xFD\xB3\xA3"};
    EXPECT_EQ(splitLines(base::joinLines(lines), ReadRule::EndFirst), lines);
    EXPECT_EQ(splitLines(base::joinLines(lines), ReadRule::LineFirst), lines);
}

// Catches a wrong or shifted run in the four-byte table: a character beyond
// code page 936 must travel as the bytes GB18030 gives it and come back as
// itself, or a name of such characters is shown, saved or matched as another.
TEST(Gb18030, FourByteFormsAreGb18030sAndComeBack) {
    auto four = [](std::uint32_t code) {
        unsigned char b[4] = {};
        const bool ok = base::gbCodeToFour(code, b);
        char hex[9];
        std::snprintf(hex, sizeof hex, "%02X%02X%02X%02X", b[0], b[1], b[2], b[3]);
        return ok ? std::string(hex) : std::string("none");
    };
    // Values read off the standard's table, first, middle and last runs.
    EXPECT_EQ(four(0x0080), "81308130");
    EXPECT_EQ(four(0x00A5), "81308436");
    EXPECT_EQ(four(0x0452), "8130D330");
    EXPECT_EQ(four(0xAD6D), "8237F430");  // 국
    EXPECT_EQ(four(0xD55C), "83368433");  // 한
    EXPECT_EQ(four(0xFFFF), "8431A439");
    EXPECT_EQ(four(0x10000), "90308130");
    EXPECT_EQ(four(0x10FFFF), "E3329A35");
    EXPECT_EQ(four(0x4E2D), "none");  // 中: two bytes in 936
    EXPECT_EQ(four(0xD800), "none");
    EXPECT_EQ(four(0x110000), "none");

    // Every four-byte sequence of the basic plane and the planes above names
    // one character, whose four bytes are that sequence again.
    std::set<std::uint32_t> seen;
    for (unsigned b0 = 0x81; b0 <= 0xFE; ++b0)
        for (unsigned b1 = 0x30; b1 <= 0x39; ++b1)
            for (unsigned b2 = 0x81; b2 <= 0xFE; ++b2)
                for (unsigned b3 = 0x30; b3 <= 0x39; ++b3) {
                    const unsigned char seq[4] = {static_cast<unsigned char>(b0), static_cast<unsigned char>(b1),
                                                  static_cast<unsigned char>(b2), static_cast<unsigned char>(b3)};
                    const std::uint32_t code = base::gbFourToCode(seq);
                    if (!code) continue;
                    unsigned char back[4];
                    ASSERT_TRUE(base::gbCodeToFour(code, back)) << std::hex << code;
                    ASSERT_EQ(std::memcmp(back, seq, 4), 0) << std::hex << code;
                    ASSERT_TRUE(seen.insert(code).second) << std::hex << code;
                }
    EXPECT_EQ(seen.size(), 39420u + 0x100000u);
    // Neither a double-byte character nor a cut sequence reads as four bytes.
    EXPECT_EQ(base::gbCharLength(reinterpret_cast<const unsigned char*>("\xB9\xA4"), 2), 2u);
    EXPECT_EQ(base::gbCharLength(reinterpret_cast<const unsigned char*>("\x83\x36\x84"), 3), 2u);
}
