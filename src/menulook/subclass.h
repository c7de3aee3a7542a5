// The record of one control the flat look has taken over, and the window
// procedure it puts in front of the control's own.
#pragma once
#include <cstdint>
#include <string>

#include "menulook/painters.h"
#include "menulook/xpmenu.h"
#include "ui/hooks.h"

namespace menulook {

class TControlSubClass : public ui::TMessageHook {
public:
    TControlSubClass(TXPMenu& painter, ui::TControl& target, LookKind kind);
    ~TControlSubClass() override;
    TControlSubClass(const TControlSubClass&) = delete;
    TControlSubClass& operator=(const TControlSubClass&) = delete;

    void hookMessage(ui::TMessage& m, const ui::TMessageNext& next) override;
    // Runs the painter of the control's class over its own painting.
    void RepaintTarget();
    // Still in front of its control.
    bool hooked() const { return Target && hook_.installed(); }

    ui::TControl* Target;
    TXPMenu& Painter;
    const LookKind Kind;
    bool MouseInside = false;
    bool HasFocus = false;
    bool LeftDown = false;
    bool SpaceDown = false;
    bool SpaceHeld = false;
    bool Rebuilding = false;
    std::uint32_t LastMessage = 0;
    bool SavedCtl3D = true;

private:
    struct Row {
        std::uint32_t msg;
        void (TControlSubClass::*act)(ui::TMessage& m);
    };
    static const Row kRows[];
    void release();
    void hot(ui::TMessage&) { MouseInside = true, RepaintTarget(); }
    void cold(ui::TMessage&) { MouseInside = false, RepaintTarget(); }
    void repaint(ui::TMessage&) { RepaintTarget(); }
    void rebuilding(ui::TMessage&) { Rebuilding = true; }
    void destroyed(ui::TMessage&);
    void painted(ui::TMessage&);
    void keyDown(ui::TMessage& m);
    void keyUp(ui::TMessage& m);
    void leftDown(ui::TMessage&) { LeftDown = true, RepaintTarget(); }
    void leftUp(ui::TMessage&) { LeftDown = false, RepaintTarget(); }
    void doubleClick(ui::TMessage& m);
    void mouseEntered(ui::TMessage&);
    void mouseLeft(ui::TMessage&);
    ControlState state() const;
    const ui::TPixels& glyph();

    ui::THookRegistration hook_;
    bool painting_ = false;
    bool paintMessage_ = false;
    std::string glyphName_;
    ui::TPixels glyph_;
};

}  // namespace menulook
