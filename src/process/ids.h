// Child-window ids of the process page (1000s).
#pragma once

namespace process::ids {

// Page "进程列表".
constexpr int TabSheet1 = 111;
constexpr int List1 = 1000;
constexpr int ChkList1 = 1001;
constexpr int Label1 = 1002;
constexpr int RadioGroup1 = 1010;  // items 1011, 1012
constexpr int BtnNormalAppShow = 1020;
constexpr int BtnAddNormalAppList = 1021;
constexpr int BtnRefresh = 1022;
constexpr int BtnSave = 1023;
constexpr int BtnKill = 1024;
constexpr int BtnDelApp = 1025;
constexpr int BtnExit = 1026;

}  // namespace process::ids
