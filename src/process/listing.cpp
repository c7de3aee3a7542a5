#include "process/listing.h"

#include "base/text.h"

namespace process {

namespace {

// A process whose modules cannot be read (Wine and 64-bit Windows refuse some)
// falls back to its own entry name; a path left over from another process
// would pair the line with the wrong program.
std::string moduleFileName(os::Os& os, const os::ProcessEntry& entry) {
    os::ModuleEntry module;
    bool read = false;
    os::Handle snap = os.createToolhelp32Snapshot(os::TH32CS_SNAPMODULE, entry.processId);
    if (snap != os::kNoHandle) {
        read = os.module32First(snap, module);
        os.closeHandle(snap);
    }
    return base::asciiUpper(base::fileNamePart(read ? module.exePath : entry.exeFile));
}

enum class FirstLine { OwnName, FileNamePart };

ProcessListing list(os::Os& os, bool isWindowsNT, FirstLine first) {
    ProcessListing out;
    os::Handle snap = os.createToolhelp32Snapshot(os::TH32CS_SNAPPROCESS, 0);
    if (snap == os::kNoHandle) return out;

    os::ProcessEntry entry;
    entry.size = os::kProcessEntrySize;
    bool isFirst = true;
    for (bool ok = os.process32First(snap, entry); ok; ok = os.process32Next(snap, entry)) {
        out.snapshot.push_back({entry.exeFile, entry.processId});
        if (!isWindowsNT)
            out.lines.push_back(base::asciiUpper(entry.exeFile));
        else if (isFirst)
            out.lines.push_back(base::asciiUpper(first == FirstLine::OwnName
                                                     ? entry.exeFile
                                                     : base::fileNamePart(entry.exeFile)));
        else
            out.lines.push_back(moduleFileName(os, entry));
        isFirst = false;
    }
    os.closeHandle(snap);
    return out;
}

}  // namespace

ProcessListing listProcesses(os::Os& os, bool isWindowsNT) {
    return list(os, isWindowsNT, FirstLine::OwnName);
}

ProcessListing listHidden(os::Os& os, bool isWindowsNT) {
    return list(os, isWindowsNT, FirstLine::FileNamePart);
}

std::string countText(std::size_t lines) {
    return "当前系统中共有" + std::to_string(lines) + "个进程";
}

}  // namespace process
