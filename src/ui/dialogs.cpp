#include "ui/dialogs.h"

#include <vector>

#include "ui/application.h"

namespace ui {

bool TFileDialog::execute() { return app_.runFileDialog(*this, save_); }

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
