// Child-window ids of the window-list page (2000s).
#pragma once

namespace window::ids {

// Page "窗口列表".
constexpr int TabSheet2 = 112;
constexpr int List2 = 2000;
constexpr int Label2 = 2001;
constexpr int Button1 = 2010;
constexpr int Button2 = 2011;
constexpr int Button3 = 2012;
constexpr int Button15 = 2013;
constexpr int Button4 = 2014;

}  // namespace window::ids
