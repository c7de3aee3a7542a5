// The window system the widget contract runs on. The contract tests
// (tests/widgets/) hold ONE set of expectations for the toolkit's message
// path and the events its peers report; each build supplies the peers and
// the input by defining widgetWorld() once:
//   - native unit_tests: the in-memory application (tests/unit/headless_widget_world.cpp);
//   - wine_tests: the Win32 application over real windows, driven by real
//     messages, the real mouse and real menus (tests/wine/win32_widget_world.cpp).
//
// Lifetime: widgetWorld() returns one object for the whole test program.
// Each test makes its own application with newApplication(); every other
// call acts on the newest one, which must outlive the controls made on it.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/application.h"

namespace ui {
class TCheckBox;
class TControl;
class TForm;
class TPopupMenu;
class TRadioGroup;
}  // namespace ui

namespace widgets {

class World {
public:
    virtual ~World() = default;

    // An application of the family under test. Errors it shows are recorded
    // (errors()), never put up as a box that waits for an answer.
    virtual std::unique_ptr<ui::TApplication> newApplication() = 0;

    // Delivers what is pending until done() holds or ms of real time have
    // passed; false when it never held. The in-memory family is settled on
    // its first look.
    virtual bool settle(const std::function<bool()>& done, int ms = 3000) = 0;

    // A message from outside the toolkit to the window with this handle:
    // sent ones are answered at once, posted ones wait for the next pump.
    // A window that went takes none.
    virtual std::intptr_t send(std::uintptr_t window, std::uint32_t msg, std::uintptr_t wParam = 0,
                               std::intptr_t lParam = 0) = 0;
    virtual void post(std::uintptr_t window, std::uint32_t msg, std::uintptr_t wParam = 0,
                      std::intptr_t lParam = 0) = 0;

    // The user's hand. Each returns once the input is delivered; what it
    // causes later (a mouse leaving) is waited for with settle().
    // The mouse moves over the middle of c, or off every window of ours.
    virtual void hover(ui::TControl* c) = 0;
    // A click on the box, or on button `index` of the group.
    virtual void click(ui::TCheckBox& box) = 0;
    virtual void click(ui::TRadioGroup& group, int index) = 0;
    // A key pressed while the form is active; it goes to the focused control.
    // Digit keys type their digit into an edit field.
    virtual void key(ui::TForm& form, int vk) = 0;
    // The window repaints itself (its own area only, not its children's).
    virtual void paint(ui::TControl& c) = 0;
    // Opens the menu, waits until it has shown, and chooses item `id` (0:
    // closes it without a choice).
    virtual void popup(ui::TPopupMenu& menu, int id) = 0;

    // False where moving the cursor over a control reports it more than once
    // (Wine's moved cursor enters a control again after it was left); the
    // mouse case is then skipped, not weakened.
    virtual bool steadyMouse() const { return true; }

    // The texts of the standard error boxes shown so far.
    virtual std::vector<std::string> errors() = 0;
};

// Defined once per test program.
World& widgetWorld();

}  // namespace widgets
