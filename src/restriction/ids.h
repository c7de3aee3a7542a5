// Child-window ids of the restriction page (3000s).
#pragma once

namespace restriction::ids {

// Page "程序限制".
constexpr int TabSheet3 = 113;
constexpr int GroupBox3 = 3000;
constexpr int List3 = 3001;
constexpr int ListHide = 3002;
constexpr int ListYunXu = 3003;
constexpr int ListJinZhi = 3004;
constexpr int RadioGroup2 = 3010;  // items 3011, 3012
constexpr int Button6 = 3020;
constexpr int Button7 = 3021;
constexpr int Button16 = 3022;
constexpr int Button8 = 3023;
constexpr int Button9 = 3024;
constexpr int Button10 = 3025;
constexpr int SpeedButton1 = 3026;
constexpr int Button11 = 3027;

// The loop clear's timer.
constexpr int Timer1 = 9001;

}  // namespace restriction::ids
