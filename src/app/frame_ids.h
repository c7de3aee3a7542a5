// Child-window ids of the frame: banner, page controls, password panel,
// the settings pages app owns, the About page, the menu and its timer.
#pragma once

namespace ids {

// Frame of the window: banner, page controls, password panel.
constexpr int Bevel7 = 100;
constexpr int Panel1 = 101;
constexpr int Image3 = 102;
constexpr int PageControl1 = 110;
constexpr int TabSheet5 = 115;
constexpr int TabSheet6 = 116;
constexpr int ToolTips = 190;

// Password panel.
constexpr int Panel2 = 700;
constexpr int Image2 = 701;
constexpr int Label5 = 702;
constexpr int Label6 = 703;
constexpr int Label7 = 704;
constexpr int Edit1 = 705;
constexpr int BitBtn1 = 706;
constexpr int BitBtn2 = 707;

// Page "程序设置" and its inner pages.
constexpr int PageControl2 = 5000;
constexpr int TabSheet7 = 5001;
constexpr int TabSheet9 = 5003;
// "通用设置"
constexpr int GroupBox2 = 5010;
constexpr int ChkAutoRun = 5011;
constexpr int ChkMin = 5012;
constexpr int ChkRunByPass = 5013;
constexpr int Button5 = 5014;
constexpr int Label10 = 5015;
constexpr int Edit4 = 5016;
constexpr int UpDown1 = 5017;
constexpr int Label3 = 5018;

// "程序设置" > "密码设置"
constexpr int GroupBox4 = 5200;
constexpr int Label8 = 5201;
constexpr int Edit2 = 5202;
constexpr int Label9 = 5203;
constexpr int Edit3 = 5204;
constexpr int Button12 = 5210;
constexpr int Button13 = 5211;

// Page "关于我们".
constexpr int Bevel1 = 6000;
constexpr int Image1 = 6001;
constexpr int Label12 = 6002;
constexpr int Label13 = 6003;
constexpr int Label14 = 6004;
constexpr int Label15 = 6005;
constexpr int Label16 = 6006;

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

}  // namespace ids
