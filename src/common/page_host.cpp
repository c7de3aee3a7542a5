#include "common/page_host.h"

#include "common/delay.h"
#include "common/list_file.h"
#include "common/lists.h"

namespace common {

namespace {
const char* const kListFilter = "文本文件|*.txt|所有文件|*.*";
const char* const kProgramFilter = "程序文件|*.exe|所有文件|*.*";
}  // namespace

PageHost::PageHost(ui::TApplication& application, platform::Os& platform)
    : Application(application),
      os(platform),
      SaveDialog1(application),
      OpenDialog1(application),
      NormalAppSet(application) {
    SaveDialog1.defaultExt = "txt";
    SaveDialog1.filter = kListFilter;
    SaveDialog1.options = ui::ofn::OverwritePrompt | ui::ofn::HideReadOnly | ui::ofn::EnableSizing;
    OpenDialog1.defaultExt = "txt";
    OpenDialog1.filter = kListFilter;
    OpenDialog1.options = ui::ofn::HideReadOnly | ui::ofn::EnableSizing;
    NormalAppSet.defaultExt = "exe";
    NormalAppSet.filter = kProgramFilter;
    NormalAppSet.options = ui::ofn::HideReadOnly | ui::ofn::EnableSizing;
}

void PageHost::Delay(std::int32_t ms) {
    delay(
        os, ms, [this] { Application.processMessages(); },
        [this](std::uint32_t left) { Application.waitMessage(left); },
        [this] { return Application.terminated(); });
}

void PageHost::saveListAs(const ui::TListBox& list) {
    if (!SaveDialog1.execute()) return;
    writeListFile(os, SaveDialog1.fileName, list.items());
}

bool confirmed(ui::TApplication& app, const char* question) {
    const int answer = app.messageBox(question, "确认", ui::mb::YesNo);
    return answer != ui::answer::No && answer != 0;
}

const std::string* PageHost::chooseProgram(const char* title) {
    NormalAppSet.title = title;
    return NormalAppSet.execute() ? &NormalAppSet.fileName : nullptr;
}

const std::string* PageHost::chooseListFile() { return OpenDialog1.execute() ? &OpenDialog1.fileName : nullptr; }

}  // namespace common
