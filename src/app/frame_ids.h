// Child-window ids of the frame: banner, the page control, the window's menu
// and its timer.
#pragma once

namespace app::ids {

constexpr int Bevel7 = 100;
constexpr int Panel1 = 101;
constexpr int Image3 = 102;
constexpr int PageControl1 = 110;

// Notification menu items (command ids of PopupMenu1).
constexpr int N1 = 8001;
constexpr int N2 = 8002;
constexpr int N3 = 8003;
constexpr int N4 = 8004;
constexpr int N5 = 8005;
constexpr int N6 = 8006;
constexpr int N7 = 8007;
constexpr int N8 = 8008;

// The window's own timer.
constexpr int TrayRetryTimer = 9002;

}  // namespace app::ids
