// The normal list's rules and the list files, on the simulated machine.
#include <gtest/gtest.h>

#include "common/list_file.h"
#include "common/normal_list.h"
#include "platform/sim/sim_os.h"

using namespace common;
using sim::SimOs;
using V = std::vector<std::string>;

TEST(NormalList, MarksWholeTextByteForByte) {
    const V lines{"NOTEPAD.EXE", "C:\\WINNT\\NOTEPAD.EXE", "CALC.EXE", "NOTEPAD.EXE", kNormalMarker};
    // A full path marks no bare name, a lower-case loaded entry marks nothing,
    // and a marker line matches no entry.
    const V normal{"C:\\WINNT\\NOTEPAD.EXE", "calc.exe", "NOTEPAD.EXE", "NOTEPAD.EXE"};
    EXPECT_EQ(linesToMark(lines, normal), (std::vector<std::size_t>{0, 1, 3}));
    EXPECT_TRUE(linesToMark(lines, {}).empty());
}

TEST(ListFiles, StartUpFileAndChosenFilesReadByTheirOwnRules) {
    SimOs os;
    const std::string dir = "C:\\Morvane\\";
    EXPECT_EQ(loadNormalList(os, dir), std::nullopt) << "a missing Napplst.dat is no error";

    os.addFile(dir + "Napplst.dat", "");
    EXPECT_EQ(loadNormalList(os, dir), std::optional<V>(V{}));
    os.file(dir + "Napplst.dat")->bytes = "A.EXE\r\n\r\nb.exe";
    EXPECT_EQ(loadNormalList(os, dir), std::optional<V>(V{"A.EXE", "", "b.exe"}));

    os.addFile("C:\\empty.txt", "");
    EXPECT_EQ(readChosenListFile(os, "C:\\empty.txt"), V{""});

    const V list{"C:\\WINNT\\NOTEPAD.EXE", "记事本.EXE", "A.EXE", "A.EXE"};
    writeListFile(os, "C:\\l.txt", list);
    EXPECT_EQ(os.bytesOf("C:\\l.txt"), "C:\\WINNT\\NOTEPAD.EXE\r\n记事本.EXE\r\nA.EXE\r\nA.EXE\r\n");
    EXPECT_EQ(readChosenListFile(os, "C:\\l.txt"), list);

    saveNormalList(os, dir, {});
    EXPECT_EQ(os.bytesOf(dir + "Napplst.dat"), "");
    saveNormalList(os, dir, list);
    EXPECT_EQ(loadNormalList(os, dir), std::optional<V>(list));
}

TEST(ListFiles, UnreadableOrUnwritableFilesRaiseTheSystemReason) {
    SimOs os;
    os.addFile("C:\\M\\Napplst.dat", "A.EXE\r\n");
    os.file("C:\\M\\Napplst.dat")->unreadable = true;
    EXPECT_THROW(loadNormalList(os, "C:\\M\\"), platform::OsError);
    EXPECT_THROW(readChosenListFile(os, "C:\\nothere.txt"), platform::OsError);
    os.addFile("C:\\ro.txt", "old\r\n");
    os.file("C:\\ro.txt")->unwritable = true;
    EXPECT_THROW(writeListFile(os, "C:\\ro.txt", {"new"}), platform::OsError);
}
