#include "ui/dialogs.h"

#include <vector>

#include "base/error.h"
#include "base/text.h"
#include "ui/application.h"

namespace ui {

bool TFileDialog::execute() { return app_.runFileDialog(*this, save_); }

void fileDialogError(unsigned long code) {
    switch (code) {
    case 0x0002: case 0x0009: throw base::Error("Not enough memory for the file dialog");
    case 0x3002: throw base::Error("Invalid file name");
    case 0x3003: throw base::Error("The chosen file name is too long");
    }
    throw base::Error("File dialog error " + base::intToStr(static_cast<long long>(code)));
}

std::string filterList(const std::string& filter) {
    std::vector<std::string> parts;
    std::string cur;
    for (char c : filter) {
        if (c == '|') {
            parts.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    parts.push_back(cur);
    std::string out;
    for (size_t i = 0; i < parts.size(); i += 2) {
        const std::string& desc = parts[i];
        std::string pattern = i + 1 < parts.size() ? parts[i + 1] : "";
        if (desc.empty() && pattern.empty()) continue;
        if (pattern.empty()) pattern = "*.*";
        out += desc;
        out += '\0';
        out += pattern;
        out += '\0';
    }
    out += '\0';
    return out;
}

}  // namespace ui
