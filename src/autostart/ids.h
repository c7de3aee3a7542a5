// Child-window ids of the autostart page (4000s).
#pragma once

namespace autostart::ids {

// Page "管理自启动程序".
constexpr int TabSheet4 = 114;
constexpr int GroupBox5 = 4000;
constexpr int ListView1 = 4001;
constexpr int ListAutoRun = 4002;
constexpr int Label4 = 4003;
constexpr int Edit5 = 4004;
constexpr int Label17 = 4005;
constexpr int Edit6 = 4006;
constexpr int Button20 = 4007;
constexpr int Button18 = 4010;
constexpr int Button19 = 4011;
constexpr int Button21 = 4012;
constexpr int Button14 = 4013;
constexpr int Button17 = 4014;

}  // namespace autostart::ids
