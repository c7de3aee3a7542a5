// Child-window ids of the process page (1000s) and of the normal-program
// settings page (5100s).
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

// "程序设置" > "正常程序设置"
constexpr int TabSheet8 = 5002;
constexpr int GroupBox1 = 5100;
constexpr int ListApp = 5101;
constexpr int BtnSaveAppList = 5110;
constexpr int BtnOpenAppList = 5111;
constexpr int BtnAdd = 5112;
constexpr int BtnDel = 5113;
constexpr int BtnClear = 5114;

}  // namespace process::ids
