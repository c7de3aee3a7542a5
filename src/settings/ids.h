// Child-window ids of page "程序设置" (its sheet among the outer page's, the
// rest 5000s) and of the start-up password panel (700s).
#pragma once

namespace settings::ids {

// Page "程序设置" and its inner page control.
constexpr int TabSheet5 = 115;
constexpr int PageControl2 = 5000;

// "程序设置" > "通用设置"
constexpr int TabSheet7 = 5001;
constexpr int GroupBox2 = 5010;
constexpr int ChkAutoRun = 5011;
constexpr int ChkMin = 5012;
constexpr int ChkRunByPass = 5013;
constexpr int Button5 = 5014;
constexpr int Label10 = 5015;
constexpr int Edit4 = 5016;
constexpr int UpDown1 = 5017;
constexpr int Label3 = 5018;

// "程序设置" > "正常程序设置"
constexpr int TabSheet8 = 5002;
constexpr int GroupBox1 = 5100;
constexpr int ListApp = 5101;
constexpr int BtnSaveAppList = 5110;
constexpr int BtnOpenAppList = 5111;
constexpr int BtnAdd = 5112;
constexpr int BtnDel = 5113;
constexpr int BtnClear = 5114;

// "程序设置" > "密码设置"
constexpr int TabSheet9 = 5003;
constexpr int GroupBox4 = 5200;
constexpr int Label8 = 5201;
constexpr int Edit2 = 5202;
constexpr int Label9 = 5203;
constexpr int Edit3 = 5204;
constexpr int Button12 = 5210;
constexpr int Button13 = 5211;

// The start-up password panel.
constexpr int Panel2 = 700;
constexpr int Image2 = 701;
constexpr int Label5 = 702;
constexpr int Label6 = 703;
constexpr int Label7 = 704;
constexpr int Edit1 = 705;
constexpr int BitBtn1 = 706;
constexpr int BitBtn2 = 707;

}  // namespace settings::ids
