// Deleting a running program's file on a simulated machine of the 9x family.
#include <gtest/gtest.h>

#include "app_fixture.h"
#include "process/delete.h"
#include "common/normal_list.h"

namespace {

using sim::Family;
const std::string kPath = "C:\\APPS\\VICTIM.EXE";

struct Delete : AppFixture {
    Delete() : AppFixture(Family::Win9x) {
        machine.addProcess("C:\\WINDOWS\\SYSTEM\\KERNEL32.DLL");
        victim = machine.addProcess(kPath);
        machine.addFile(kPath, "MZ", platform::FileAttr::ReadOnly);
    }
    std::uint32_t victim = 0;
};

TEST(DeleteFile, ARunningReadOnlyProgramIsEndedAndItsFileDeleted) {
    Delete f;
    TfrmMain& w = f.start();
    ASSERT_TRUE(w.process.BtnDelApp.enabled());
    w.process.List1.userSelect(1);
    w.process.BtnDelApp.userClick();
    ASSERT_EQ(f.application.messages().size(), 1u);
    EXPECT_EQ(f.application.messages()[0].text, "您当真要删除吗？");
    EXPECT_EQ(f.application.messages()[0].caption, "确认");
    EXPECT_EQ(f.machine.file(kPath), nullptr);
    EXPECT_FALSE(f.machine.process(f.victim)->running);
    EXPECT_EQ(w.process.List1.items(), (std::vector<std::string>{"C:\\WINDOWS\\SYSTEM\\KERNEL32.DLL"}));
}

// One attempt: is the file there, clear its attributes, end what runs from
// it, delete it; then look again. Deleting before the ending would meet a
// file still in use.
TEST(DeleteFile, EachAttemptTakesItsStepsInOrder) {
    Delete f;
    TfrmMain& w = f.start();
    w.process.List1.userSelect(1);
    f.machine.clearCalls();
    w.process.BtnDelApp.userClick();
    std::vector<std::string> steps;
    for (const sim::Call& c : f.machine.calls())
        for (const char* step : {"FindFirstFileA", "SetFileAttributesA", "TerminateProcess", "DeleteFileA"})
            if (c.name == step && (steps.empty() || steps.back() != step)) steps.push_back(step);
    ASSERT_GE(steps.size(), 5u);
    EXPECT_EQ(std::vector<std::string>(steps.begin(), steps.begin() + 5),
              (std::vector<std::string>{"FindFirstFileA", "SetFileAttributesA", "TerminateProcess",
                                        "DeleteFileA", "FindFirstFileA"}));
}

TEST(DeleteFile, NoAnswerAMarkerOrACancelledDialogDeleteNothing) {
    Delete f;
    TfrmMain& w = f.start();
    f.application.answerMessage(ui::answer::No);
    w.process.List1.userSelect(1);
    w.process.BtnDelApp.userClick();
    f.application.answerMessage(0);  // the question could not be shown
    w.process.BtnDelApp.userClick();
    EXPECT_NE(f.machine.file(kPath), nullptr);

    w.process.List1.setItem(1, common::kNormalMarker);
    w.process.List1.userSelect(1);
    w.process.BtnDelApp.userClick();
    EXPECT_EQ(f.application.messages().size(), 2u) << "a marker line asks nothing";

    w.process.List1.setItemIndex(-1);
    w.process.BtnDelApp.userClick();  // the dialog, cancelled
    ASSERT_EQ(f.application.dialogs().size(), 1u);
    EXPECT_EQ(f.application.dialogs()[0].title, "请指定您要删除的文件");
    EXPECT_EQ(f.application.messages().size(), 2u);
    EXPECT_TRUE(f.machine.process(f.victim)->running);
}

TEST(DeleteFile, MultipleModeAsksOnceAndWaitsForTheLinesHandled) {
    Delete f;
    TfrmMain& w = f.start();
    w.process.RadioGroup1.userSelect(1);
    w.process.ChkList1.userToggle(0);
    w.process.ChkList1.userToggle(1);
    w.process.ChkList1.setItem(0, common::kNormalMarker);
    const auto t0 = f.machine.getTickCount();
    w.process.BtnDelApp.userClick();
    EXPECT_EQ(f.application.messages().size(), 1u);
    EXPECT_EQ(f.machine.file(kPath), nullptr);
    EXPECT_GE(f.machine.getTickCount() - t0, 150u);
    EXPECT_LT(f.machine.getTickCount() - t0, 300u) << "one line handled, the marker not";
}

TEST(DeleteFile, AFileThatCannotGoIsGivenUpOnAndTheUserIsTold) {
    Delete f;
    TfrmMain& w = f.start();
    f.machine.file(kPath)->refusesDelete = true;
    w.process.List1.userSelect(1);
    w.process.BtnDelApp.userClick();
    EXPECT_NE(f.machine.file(kPath), nullptr);
    ASSERT_EQ(f.application.messages().size(), 2u);
    EXPECT_EQ(f.application.messages()[1].caption, "提示");
    EXPECT_NE(f.application.messages()[1].text.find(kPath), std::string::npos);
    EXPECT_EQ(f.machine.countCalls("DeleteFileA"), static_cast<std::size_t>(process::kDeleteAttempts));
}

// Deleted at a later attempt once the ended program let go of it.
TEST(DeleteFile, AFileThatLetsGoLateIsStillDeleted) {
    sim::SimOs os(Family::Win9x);
    os.addFile(kPath, "MZ");
    os.file(kPath)->deleteFailuresLeft = 3;
    int pauses = 0;
    EXPECT_TRUE(process::deleteProgramFile(os, kPath, [&](std::int32_t) { ++pauses; }));
    EXPECT_EQ(pauses, 3);
    EXPECT_EQ(os.countCalls("DeleteFileA"), 4u);
}

}  // namespace
