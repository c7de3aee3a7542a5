// The standard open and save dialogs.
#pragma once
#include <string>

namespace ui {

class TApplication;

namespace ofn {
constexpr unsigned OverwritePrompt = 0x2, HideReadOnly = 0x4, FileMustExist = 0x1000,
                   PathMustExist = 0x800, EnableSizing = 0x800000;
}

class TFileDialog {
public:
    TFileDialog(TApplication& app, bool save) : app_(app), save_(save) {}
    TFileDialog(const TFileDialog&) = delete;
    TFileDialog& operator=(const TFileDialog&) = delete;
    virtual ~TFileDialog() = default;

    std::string title;
    // "description|pattern|description|pattern"
    std::string filter;
    std::string defaultExt;
    // The last chosen path; the dialog opens with it.
    std::string fileName;
    unsigned options = ofn::HideReadOnly;

    bool isSave() const { return save_; }
    // True when the user chose a file; it is then in fileName. False when the
    // user cancelled; a dialog that failed raises fileDialogError.
    bool execute();

private:
    TApplication& app_;
    bool save_;
};

class TOpenDialog : public TFileDialog {
public:
    explicit TOpenDialog(TApplication& app) : TFileDialog(app, false) {}
};

class TSaveDialog : public TFileDialog {
public:
    explicit TSaveDialog(TApplication& app) : TFileDialog(app, true) {}
};

// The dialog failed (CommDlgExtendedError's code): no cancel, so the action
// stops with an error box rather than going on as if nothing was chosen.
[[noreturn]] void fileDialogError(unsigned long code);

// "a|b|c|d" as the dialog wants it: "a\0b\0c\0d\0\0". Blank pairs are
// dropped; a description without a pattern gets "*.*".
std::string filterList(const std::string& filter);

}  // namespace ui
