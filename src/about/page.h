// The About page: its controls, built with texts and places, and the mail
// link's handler.
#pragma once
#include "common/page_host.h"
#include "ui/controls.h"

namespace about {

// Page "关于我们".
class AboutPage : public common::Page {
public:
    AboutPage(common::PageHost& host, ui::TPageControl& pages);

    ui::TTabSheet TabSheet6;
    ui::TImage Image1;
    ui::TLabel Label12;
    ui::TLabel Label13;
    ui::TLabel Label14;
    ui::TLabel Label15;
    ui::TLabel Label16;
    ui::TBevel Bevel1;

    void Label16Click();
};

extern const char* const kMailAddress;

}  // namespace about
