// Child-window ids of the main window. Each page has its own range so that
// no two controls share an id; outside tools find controls by these numbers.
// A radio group's buttons take the ids right after the group's own.
#pragma once

namespace ids {

// Frame of the window: banner, page controls, password panel.
constexpr int Bevel7 = 100;
constexpr int Panel1 = 101;
constexpr int Image3 = 102;
constexpr int PageControl1 = 110;
constexpr int TabSheet1 = 111;
constexpr int TabSheet2 = 112;
constexpr int TabSheet3 = 113;
constexpr int TabSheet4 = 114;
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

// Page "进程列表".
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

// Page "窗口列表".
constexpr int List2 = 2000;
constexpr int Label2 = 2001;
constexpr int Button1 = 2010;
constexpr int Button2 = 2011;
constexpr int Button3 = 2012;
constexpr int Button15 = 2013;
constexpr int Button4 = 2014;

// Page "程序限制".
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

// Page "管理自启动程序".
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

// Page "程序设置" and its inner pages.
constexpr int PageControl2 = 5000;
constexpr int TabSheet7 = 5001;
constexpr int TabSheet8 = 5002;
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
// "正常程序设置"
constexpr int GroupBox1 = 5100;
constexpr int ListApp = 5101;
constexpr int BtnSaveAppList = 5110;
constexpr int BtnOpenAppList = 5111;
constexpr int BtnAdd = 5112;
constexpr int BtnDel = 5113;
constexpr int BtnClear = 5114;
// "密码设置"
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

// Timers of the window.
constexpr int Timer1 = 9001;

}  // namespace ids
