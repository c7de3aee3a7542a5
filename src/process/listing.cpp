#include "process/listing.h"

#include "base/text.h"
#include "platform/process_query.h"

namespace process {

namespace {

// A process whose modules cannot be read (Wine and 64-bit Windows refuse some)
// falls back to its own entry name; a path left over from another process
// would pair the line with the wrong program.
std::string moduleFileName(os::Os& os, const os::ProcessEntry& entry) {
    return base::asciiUpper(
        base::fileNamePart(platform::modulePath(os, entry.processId).value_or(entry.exeFile)));
}

enum class FirstLine { OwnName, FileNamePart };

ProcessListing list(os::Os& os, bool isWindowsNT, FirstLine first) {
    ProcessListing out;
    bool isFirst = true;
    for (const os::ProcessEntry& entry : platform::ProcessWalk(os)) {
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
