#include "menulook/classify.h"

#include <string_view>

namespace menulook {

LookKind lookKindOf(const ui::TControl& c) {
    const std::string_view name = c.className();
    if (name == "TButton") return LookKind::Button;
    if (name == "TBitBtn") return LookKind::BitBtn;
    if (ui::as<ui::TEdit>(&c)) return LookKind::Edit;
    if (ui::as<ui::TCheckBox>(&c)) return LookKind::CheckBox;
    if (ui::as<ui::TSpeedButton>(&c)) return LookKind::SpeedButton;
    if (ui::as<ui::TPanel>(&c)) return LookKind::Panel;
    if (ui::as<ui::TGroupBox>(&c) || ui::as<ui::TRadioGroup>(&c))
        return LookKind::GroupBox;
    return LookKind::None;
}

int controlMemberOf(LookKind k) {
    switch (k) {
    case LookKind::Edit: return xcEdit;
    case LookKind::CheckBox: return xcCheckBox;
    case LookKind::Button: return xcButton;
    case LookKind::BitBtn: return xcBitBtn;
    case LookKind::SpeedButton: return xcSpeedButton;
    case LookKind::Panel: return xcPanel;
    case LookKind::GroupBox: return xcGroupBox;
    case LookKind::None: break;
    }
    return -1;
}

int containerMemberOf(const ui::TControl& parent) {
    if (&parent == &parent.form()) return xccForm;
    if (ui::as<ui::TTabSheet>(&parent)) return xccTabSheet;
    if (ui::as<ui::TPanel>(&parent)) return xccPanel;
    if (ui::as<ui::TGroupBox>(&parent) || ui::as<ui::TRadioGroup>(&parent))
        return xccGroupBox;
    return -1;
}

}  // namespace menulook
