// Replacing a list file on the simulated machine of both families, with the
// disk filling up part-way and renames that fail.
#include <gtest/gtest.h>

#include "platform/files.h"
#include "platform/sim/sim_os.h"

namespace {

using sim::Family;
const std::string kPath = "C:\\Morvane\\Napplst.dat";

// Fails the Nth rename (1 = the first).
struct FailingRename : sim::SimOs {
    using SimOs::SimOs;
    int failAt = 0, renames = 0;
    platform::Status moveFile(const std::string& from, const std::string& to, bool replace) override {
        if (!replace && ++renames == failAt) return platform::Status(platform::Error::AccessDenied);
        return SimOs::moveFile(from, to, replace);
    }
};

class FileReplace : public ::testing::TestWithParam<Family> {};

TEST_P(FileReplace, ANewTextTakesThePlaceOfTheOldOneWithNothingLeftBeside) {
    sim::SimOs os(GetParam());
    platform::writeFileReplacing(os, kPath, "A.EXE\r\n");  // no file yet
    platform::writeFileReplacing(os, kPath, "B.EXE\r\nC.EXE\r\n");
    EXPECT_EQ(os.bytesOf(kPath), "B.EXE\r\nC.EXE\r\n");
    EXPECT_EQ(os.files(), std::vector<std::string>{kPath});
}

TEST_P(FileReplace, ADiskFillingUpPartWayLeavesTheOldTextWhole) {
    sim::SimOs os(GetParam());
    os.addFile(kPath, "OLD.EXE\r\n");
    os.failNextWriteAfter(3);
    try {
        platform::writeFileReplacing(os, kPath, "NEW1.EXE\r\nNEW2.EXE\r\n");
        ADD_FAILURE() << "the failed write was reported as success";
    } catch (const platform::OsError& e) {
        EXPECT_STREQ(e.what(), "Disk full");
    }
    EXPECT_EQ(os.bytesOf(kPath), "OLD.EXE\r\n");
    EXPECT_EQ(os.files(), std::vector<std::string>{kPath});
}

TEST_P(FileReplace, AFileThatWasAlwaysRefusedStaysRefused) {
    for (std::uint32_t a : {platform::FileAttr::ReadOnly, platform::FileAttr::Hidden, platform::FileAttr::System}) {
        sim::SimOs os(GetParam());
        os.addFile(kPath, "OLD.EXE\r\n", a);
        EXPECT_THROW(platform::writeFileReplacing(os, kPath, "NEW.EXE\r\n"), platform::OsError) << a;
        ASSERT_EQ(os.bytesOf(kPath), "OLD.EXE\r\n");
        EXPECT_EQ(os.file(kPath)->attributes, a);
        EXPECT_EQ(os.files().size(), 1u);
    }
}

INSTANTIATE_TEST_SUITE_P(BothFamilies, FileReplace, ::testing::Values(Family::NT, Family::Win9x));

// The 9x family has no one-step replace: aside, into place, away.
TEST(FileReplace9x, WhenTheNewFileCannotTakeThePlaceTheOldOneIsPutBack) {
    FailingRename os(Family::Win9x);
    os.addFile(kPath, "OLD.EXE\r\n");
    os.failAt = 2;  // aside works, into place fails
    EXPECT_THROW(platform::writeFileReplacing(os, kPath, "NEW.EXE\r\n"), platform::OsError);
    EXPECT_EQ(os.bytesOf(kPath), "OLD.EXE\r\n");
    EXPECT_EQ(os.files(), std::vector<std::string>{kPath});
}

// A copy left aside by a save cut short must not stop this save or the next.
TEST(FileReplace9x, AStaleCopyAsideNeverStopsASaveNorTheOneAfter) {
    sim::SimOs os(Family::Win9x);
    os.addFile(kPath, "OLD.EXE\r\n");
    os.addFile(kPath + "~old", "STALE.EXE\r\n");
    platform::writeFileReplacing(os, kPath, "NEW.EXE\r\n");
    platform::writeFileReplacing(os, kPath, "NEWER.EXE\r\n");
    EXPECT_EQ(os.bytesOf(kPath), "NEWER.EXE\r\n");
    EXPECT_EQ(os.files(), std::vector<std::string>{kPath});
}

TEST(FileReplace9x, WhenNothingCanBeRenamedBackTheOldTextStaysAside) {
    struct NoRenameBack : FailingRename {
        using FailingRename::FailingRename;
        platform::Status moveFile(const std::string& from, const std::string& to, bool replace) override {
            if (!replace && renames >= 1) return platform::Status(platform::Error::AccessDenied);
            return FailingRename::moveFile(from, to, replace);
        }
    } os(Family::Win9x);
    os.addFile(kPath, "OLD.EXE\r\n");
    EXPECT_THROW(platform::writeFileReplacing(os, kPath, "NEW.EXE\r\n"), platform::OsError);
    ASSERT_NE(os.file(kPath + "~old"), nullptr) << "both texts were lost";
    EXPECT_EQ(os.bytesOf(kPath + "~old"), "OLD.EXE\r\n");
}

// The standard box's texts for a failed file call; a failing read is raised
// with its text and its code.
TEST(FileErrors, CommonFailuresHaveTheirTextsAndOthersKeepTheirCode) {
    sim::SimOs os;
    EXPECT_EQ(platform::fileErrorText(os, platform::Status(platform::Error::FileNotFound)), "File not found");
    EXPECT_EQ(platform::fileErrorText(os, platform::Status(platform::Error::DiskFull)), "Disk full");
    EXPECT_EQ(platform::fileErrorText(os, platform::Status(platform::Error::FileTooLarge)), "File too large: more than 64 MB");
    EXPECT_EQ(platform::fileErrorText(os, platform::Status(platform::Error::SharingViolation)), "I/O error 32 (sharing violation)");
    EXPECT_EQ(platform::fileErrorText(os, platform::Status(platform::Error::AlreadyExists)), "I/O error 183");

    os.addFile(kPath, "A.EXE\r\n");
    os.file(kPath)->unreadable = true;
    try {
        platform::readWholeFile(os, kPath);
        ADD_FAILURE() << "an unreadable file was read";
    } catch (const platform::OsError& e) {
        EXPECT_STREQ(e.what(), "File access denied");
        EXPECT_EQ(e.code(), platform::Error::AccessDenied);
    }
}

// ShellExecute answers 32 or below for every way it fails.
TEST(FileErrors, NoShellExecuteAnswerOf32OrBelowReadsAsSuccess) {
    for (std::intptr_t answer = 0; answer <= 32; ++answer)
        EXPECT_FALSE(platform::shellExecuteStatus(answer)) << answer;
    EXPECT_TRUE(platform::shellExecuteStatus(33));
}

}  // namespace
