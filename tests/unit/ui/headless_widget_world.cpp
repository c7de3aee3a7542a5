// The widget contract's window system in the native build: the in-memory
// application, where input is delivered at once and nothing waits.
#include "ui/controls.h"
#include "ui/headless/headless_app.h"
#include "ui/menus.h"
#include "widgets/widget_world.h"

namespace {

using ui::headless::HeadlessApplication;
using ui::headless::HeadlessPeer;

HeadlessPeer& peerOf(ui::TControl& c) { return static_cast<HeadlessPeer&>(c.peer()); }

class HeadlessWorld : public widgets::World {
public:
    std::unique_ptr<ui::TApplication> newApplication() override {
        auto app = std::make_unique<HeadlessApplication>();
        app_ = app.get();
        return app;
    }
    bool settle(const std::function<bool()>& done, int) override {
        app_->processMessages();
        return done();
    }
    std::intptr_t send(std::uintptr_t window, std::uint32_t msg, std::uintptr_t wParam,
                       std::intptr_t lParam) override {
        return app_->sendMessage(window, msg, wParam, lParam);
    }
    void post(std::uintptr_t window, std::uint32_t msg, std::uintptr_t wParam,
              std::intptr_t lParam) override {
        app_->postMessage(window, msg, wParam, lParam);
    }
    void hover(ui::TControl* c) override { app_->hover(c ? &peerOf(*c) : nullptr); }
    void click(ui::TCheckBox& box) override { box.userClick(); }
    void click(ui::TRadioGroup& group, int index) override { group.userSelect(index); }
    void key(ui::TForm& form, int vk) override { form.userKey(vk); }
    void paint(ui::TControl& c) override { peerOf(c).paint(); }
    void popup(ui::TPopupMenu& menu, int id) override {
        if (id) app_->chooseMenuItem(id);
        menu.popup(0, 0);
    }
    std::vector<std::string> errors() override { return app_->errors(); }

private:
    HeadlessApplication* app_ = nullptr;
};

}  // namespace

widgets::World& widgets::widgetWorld() {
    static HeadlessWorld world;
    return world;
}
