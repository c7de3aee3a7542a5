// List files the user chooses: one entry per line, CR LF each.
#pragma once
#include <string>
#include <vector>

#include "platform/os.h"

namespace common {

// The first line is read before the end is tested, so an empty file gives
// one empty entry. Raises platform::OsError.
std::vector<std::string> readChosenListFile(platform::Os& os, const std::string& path);
// Every line followed by CR LF; an empty list is an empty file. The old file
// stays whole until the new one is.
void writeListFile(platform::Os& os, const std::string& path, const std::vector<std::string>& lines);

}  // namespace common
