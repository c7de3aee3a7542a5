#include "menulook/subclass.h"

#include "ui/messages.h"

namespace menulook {

namespace wm = ui::wm;
namespace cm = ui::cm;

namespace {
// Buttons are painted whole, background first: their own drawing would
// only be painted over.
bool paintsWholeFace(LookKind k) { return k == LookKind::Button || k == LookKind::BitBtn; }
}  // namespace

TControlSubClass::TControlSubClass(TXPMenu& painter, ui::TControl& target, LookKind kind)
    : Target(&target), Painter(painter), Kind(kind) {
    if (auto* e = ui::as<ui::TEdit>(&target)) SavedCtl3D = e->ctl3D();
    hook_ = target.installHook(*this);
    if (paintsWholeFace(Kind)) target.setClassPaint(false);
}

TControlSubClass::~TControlSubClass() {
    if (hooked()) release();
}

// The control's own procedure again, and its own border; whatever fails
// here, the record lets go all the same.
void TControlSubClass::release() {
    ui::TControl* target = Target;
    Target = nullptr;
    try {
        if (auto* e = ui::as<ui::TEdit>(target); e && Kind == LookKind::Edit) e->setCtl3D(SavedCtl3D);
        if (target && paintsWholeFace(Kind)) target->setClassPaint(true);
    } catch (...) {
    }
    hook_.remove();
}

const TControlSubClass::Row TControlSubClass::kRows[] = {
    {wm::Destroy, &TControlSubClass::destroyed},
    {wm::SetFocus, &TControlSubClass::hot},
    {wm::KillFocus, &TControlSubClass::cold},
    {wm::Paint, &TControlSubClass::painted},
    {wm::EmGetModify, &TControlSubClass::rebuilding},
    {wm::BmGetCheck, &TControlSubClass::cold},
    {wm::BmSetCheck, &TControlSubClass::cold},
    {wm::BmSetState, &TControlSubClass::repaint},
    {wm::KeyDown, &TControlSubClass::keyDown},
    {wm::KeyUp, &TControlSubClass::keyUp},
    {wm::LButtonDown, &TControlSubClass::leftDown},
    {wm::LButtonUp, &TControlSubClass::leftUp},
    {wm::LButtonDblClk, &TControlSubClass::doubleClick},
    {cm::FocusChanged, &TControlSubClass::repaint},
    {cm::ParentColorChanged, &TControlSubClass::repaint},
    {cm::EnabledChanged, &TControlSubClass::repaint},
    {cm::TextChanged, &TControlSubClass::repaint},
    {cm::Ctl3DChanged, &TControlSubClass::rebuilding},
    {cm::ParentCtl3DChanged, &TControlSubClass::rebuilding},
    {cm::MouseEnter, &TControlSubClass::mouseEntered},
    {cm::MouseLeave, &TControlSubClass::mouseLeft},
    {cm::Exit, &TControlSubClass::cold},
    {cm::Invalidate, &TControlSubClass::rebuilding},
};

void TControlSubClass::hookMessage(ui::TMessage& m, const ui::TMessageNext& next) {
    next(m);
    if (!Target) return;
    // A component switched off lets go of each control at its next message.
    if (!Painter.Active()) {
        release();
        return;
    }
    LastMessage = m.msg;
    for (const Row& r : kRows) {
        if (r.msg == m.msg) {
            (this->*r.act)(m);
            return;
        }
    }
}

// A window destroyed to be made again keeps its record.
void TControlSubClass::destroyed(ui::TMessage&) {
    if (!Rebuilding) release();
}

void TControlSubClass::painted(ui::TMessage&) {
    Rebuilding = false;
    RepaintTarget();
}

// Auto-repeat sends key-downs while the key is held; one pressed look is enough.
void TControlSubClass::keyDown(ui::TMessage& m) {
    if (m.wParam != wm::VkSpace) return;
    SpaceDown = true;
    if (!SpaceHeld) RepaintTarget();
    SpaceHeld = true;
}

void TControlSubClass::keyUp(ui::TMessage& m) {
    if (m.wParam != wm::VkSpace) return;
    SpaceDown = false;
    SpaceHeld = false;
    RepaintTarget();
}

void TControlSubClass::doubleClick(ui::TMessage& m) {
    const bool presses = Kind == LookKind::Button || Kind == LookKind::BitBtn ||
                         Kind == LookKind::SpeedButton || Kind == LookKind::CheckBox;
    if (presses) Target->perform(wm::LButtonDown, m.wParam, m.lParam);
}

void TControlSubClass::mouseEntered(ui::TMessage&) {
    if (!Target->enabled()) return;
    MouseInside = true;
    RepaintTarget();
}

void TControlSubClass::mouseLeft(ui::TMessage&) {
    if (!Target->enabled()) return;
    MouseInside = false;
    RepaintTarget();
}

ControlState TControlSubClass::state() const {
    ControlState s;
    s.mouseInside = MouseInside;
    s.hasFocus = HasFocus;
    s.leftDown = LeftDown;
    s.spaceDown = SpaceDown;
    s.enabled = Target->enabled();
    if (auto* b = ui::as<ui::TCheckBox>(Target)) s.checked = b->checked();
    if (auto* b = ui::as<ui::TSpeedButton>(Target)) s.down = b->down();
    if (auto* b = ui::as<ui::TButton>(Target)) s.isDefault = b->isDefault();
    return s;
}

// Read once per glyph: a resource load at every paint would cost more than
// the painting itself.
const ui::TPixels& TControlSubClass::glyph() {
    static const ui::TPixels none;
    auto* b = ui::as<ui::TBitBtn>(Target);
    if (!b || b->glyph().empty()) return none;
    if (glyphName_ != b->glyph()) {
        glyphName_ = b->glyph();
        glyph_ = {};
        Target->paintOver(false, [&](TCanvas& c, const TRect&) { glyph_ = c.resourcePixels(glyphName_); });
    }
    return glyph_;
}

void TControlSubClass::RepaintTarget() {
    if (painting_ || !Target) return;
    painting_ = true;
    ui::TControl& t = *Target;
    HasFocus = t.focused();
    const ControlState s = state();
    const bool hot = MouseInside || HasFocus;
    const ui::TColor parentColour = ui::clBtnFace;
    const bool onPaint = LastMessage == wm::Paint;
    switch (Kind) {
    case LookKind::Edit:
        if (auto* e = ui::as<ui::TEdit>(&t); e && e->ctl3D()) {
            Rebuilding = true;
            e->setCtl3D(false);
        }
        t.paintOver(true, [&](TCanvas& c, const TRect& r) {
            PaintEditFrame(c, Painter.DerivePalette(c), r, hot, parentColour);
        });
        break;
    case LookKind::CheckBox:
        t.paintOver(false, [&](TCanvas& c, const TRect& r) {
            PaintCheckBox(c, Painter.DerivePalette(c), r, s, Painter.app().thumbSize(),
                          ui::clBtnFace);
        });
        break;
    case LookKind::Button:
    case LookKind::BitBtn: {
        Face face{t.caption(), t.font(), Kind == LookKind::BitBtn ? glyph() : ui::TPixels()};
        t.paintOver(false, [&](TCanvas& c, const TRect& r) {
            PaintButton(c, Painter.DerivePalette(c), r, s, parentColour, face);
        });
        break;
    }
    case LookKind::SpeedButton:
        if (t.visible()) {
            const Face face{t.caption(), t.font(), {}};
            t.paintOver(false, [&](TCanvas& c, const TRect& r) {
                PaintSpeedButton(c, Painter.DerivePalette(c), r, s, face);
            });
        }
        break;
    case LookKind::Panel:
        if (onPaint) {
            const auto* p = ui::as<ui::TPanel>(&t);
            const ui::TBevelCut outer = p ? p->bevel() : ui::TBevelCut::None;
            t.paintOver(true, [&](TCanvas& c, const TRect& r) {
                Painter.DerivePalette(c);
                PaintPanel(c, r, outer, ui::clBtnFace);
            });
        }
        break;
    case LookKind::GroupBox:
        if (onPaint) {
            t.paintOver(false, [&](TCanvas& c, const TRect& r) {
                Painter.DerivePalette(c);
                PaintGroupBox(c, r, t.caption(), t.font(), ui::clBtnFace, parentColour);
            });
        }
        break;
    default:
        break;
    }
    painting_ = false;
}

}  // namespace menulook
