// The notification icon, hiding into it and coming back, and its menu.
#include "app/main_form.h"
#include "app/power.h"
#include "ui/messages.h"

namespace {
constexpr std::uint32_t kTrayIconId = 3;
constexpr std::uint32_t kWmRButtonDown = 0x0204;
constexpr int kTrayRetries = 150;  // five minutes, every two seconds
}  // namespace

void TfrmMain::AddTrayIcon() {
    platform::NotifyIconData nid;
    nid.wnd = handle();
    nid.id = kTrayIconId;
    nid.flags = platform::TrayFlag::Message | platform::TrayFlag::Icon | platform::TrayFlag::Tip;
    nid.callbackMessage = WM_TRAYICON;
    nid.icon = iconHandle();
    nid.tip = caption();
    inNotificationArea_ = true;
    if (os.shellNotifyIcon(platform::TrayMessage::Add, nid)) {
        TrayRetry.setEnabled(false);
    } else if (!TrayRetry.enabled()) {
        // At log-on the shell may not be up yet: try again for a while.
        trayRetriesLeft_ = kTrayRetries;
        TrayRetry.setEnabled(true);
    }
}

void TfrmMain::retryTrayIcon() {
    if (!inNotificationArea_ || --trayRetriesLeft_ < 0) {
        TrayRetry.setEnabled(false);
        return;
    }
    AddTrayIcon();
}

void TfrmMain::RemoveTrayIcon() {
    platform::NotifyIconData nid;
    nid.wnd = handle();
    nid.id = kTrayIconId;
    platform::ignore(os.shellNotifyIcon(platform::TrayMessage::Delete, nid), "an icon the shell does not have is gone");
}

void TfrmMain::comeBack() {
    inNotificationArea_ = false;
    TrayRetry.setEnabled(false);
    RemoveTrayIcon();
    show();
    bringToFront();
    Application.restore();
}

bool TfrmMain::WMTrayIcon(ui::TMessage& msg) {
    if (msg.lParam == ui::wm::LButtonDown) {
        comeBack();
    } else if (msg.lParam == kWmRButtonDown) {
        platform::Point p;
        platform::ignore(os.getCursorPos(p), "the menu opens at the screen's corner rather than not at all");
        PopupMenu1.popup(p.x, p.y);
    }
    return true;
}

void TfrmMain::ApplicationEvents1Minimize() {
    hide();
    AddTrayIcon();
}

void TfrmMain::hideToNotificationArea() {
    AddTrayIcon();
    hide();
}

void TfrmMain::N1Click() {
    restriction.setLoopClear(N1.checked);
}

void TfrmMain::N3Click() { PFUnit::LogOffWindows(os, pageHost.IsWindowsNT); }
void TfrmMain::N4Click() { PFUnit::RebootWindows(os, pageHost.IsWindowsNT); }
void TfrmMain::N5Click() { PFUnit::ShutdownWindows(os, pageHost.IsWindowsNT); }
void TfrmMain::N8Click() { comeBack(); }

// A close that stops (the save failed and the user stays) must not leave a
// hidden window with no icon to come back by.
void TfrmMain::N7Click() {
    RemoveTrayIcon();
    try {
        close();
    } catch (...) {
        comeBack();
        throw;
    }
}
