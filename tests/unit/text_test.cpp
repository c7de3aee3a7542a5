#include <gtest/gtest.h>

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
