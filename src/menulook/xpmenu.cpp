#include "menulook/xpmenu.h"

#include <algorithm>

#include "menulook/item_layout.h"
#include "menulook/item_paint.h"
#include "menulook/subclass.h"

namespace menulook {

using ui::TMenuItem;

namespace {
constexpr std::intptr_t kKeepOwnLook = 999;

bool isBlank(const std::string& s) { return s.find_first_not_of(' ') == std::string::npos; }
}  // namespace

struct TXPMenu::DrawHandler {
    TXPMenu* menu;
    TMenuItem* item;
    void operator()(TCanvas& c, const TRect& r, const ui::TOwnerDrawState& s) const {
        menu->PaintMenuItem(*item, c, r, s);
    }
};

struct TXPMenu::MeasureHandler {
    TXPMenu* menu;
    TMenuItem* item;
    void operator()(TCanvas& c, int& width, int& height) const {
        menu->SizeMenuItem(*item, c, height, width);
    }
};

TXPMenu::TXPMenu(ui::TForm& owner) : owner_(owner) {
    Font.color = ui::clMenuText;
    LoadMenuFont();
}

TXPMenu::~TXPMenu() {
    HookOwner(false, false);
    // A record that goes gives its control back its own procedure.
    records_.clear();
}

bool TXPMenu::LoadMenuFont() { return app().menuFont(Font); }

XPPalette TXPMenu::DerivePalette(TCanvas& c) {
    if (UseSystemColors) LoadMenuFont();
    PaletteSource s;
    s.Color = Color;
    s.IconBackColor = IconBackColor;
    s.SelectColor = SelectColor;
    s.SelectBorderColor = SelectBorderColor;
    s.SelectFontColor = SelectFontColor;
    s.DisabledColor = DisabledColor;
    s.SeparatorColor = SeparatorColor;
    s.CheckedColor = CheckedColor;
    s.UseSystemColors = UseSystemColors;
    s.FontColor = Font.color;
    return menulook::DerivePalette(c, s);
}

void TXPMenu::setActive(bool on) {
    if (on == active_) return;
    active_ = on;
    HookOwner(on, true);
}

void TXPMenu::retake(std::uint16_t& set, std::uint16_t to) {
    if (to != set && active_) {
        active_ = false;
        HookOwner(false, true);
        active_ = true;
        set = to;
        HookOwner(true, true);
    }
    set = to;
}

void TXPMenu::HookOwner(bool takeOver, bool repaint) {
    sweep();
    if (controls_ & setOf(xcPopupMenu)) {
        for (ui::TPopupMenu* menu : owner_.popupMenus()) {
            menu->ownerDraw = takeOver;
            for (TMenuItem* item : menu->items()) {
                if (takeOver) hookItem(*item);
                else releaseItem(*item);
            }
        }
    }
    hookControls(owner_, takeOver, repaint);
}

void TXPMenu::hookControls(ui::TWinControl& container, bool takeOver, bool repaint) {
    for (ui::TControl* c : container.controls()) {
        const LookKind kind = lookKindOf(*c);
        const int member = controlMemberOf(kind);
        const int place = containerMemberOf(container);
        const bool wanted = member >= 0 && (controls_ & setOf(member)) && place >= 0 &&
                            (containers_ & setOf(place));
        if (wanted && takeOver && c->tag != kKeepOwnLook && container.tag != kKeepOwnLook &&
            !recordOf(*c)) {
            records_.push_back(std::make_unique<TControlSubClass>(*this, *c, kind));
            if (repaint) c->invalidate();
        }
        // A radio group's buttons are its own, not the form's.
        if (ui::as<ui::TRadioGroup>(c)) continue;
        if (auto* w = ui::as<ui::TWinControl>(c)) hookControls(*w, takeOver, repaint);
    }
}

void TXPMenu::hookItem(TMenuItem& item) {
    if (item.tag == kKeepOwnLook) return;
    if (!item.OnDrawItem || OverrideOwnerDraw) item.OnDrawItem = DrawHandler{this, &item};
    if (!item.OnMeasureItem || OverrideOwnerDraw) item.OnMeasureItem = MeasureHandler{this, &item};
}

void TXPMenu::releaseItem(TMenuItem& item) {
    if (auto* d = item.OnDrawItem.target<DrawHandler>(); d && d->menu == this) item.OnDrawItem = nullptr;
    if (auto* m = item.OnMeasureItem.target<MeasureHandler>(); m && m->menu == this)
        item.OnMeasureItem = nullptr;
}

void TXPMenu::RehookSiblings(TMenuItem& item) {
    for (TMenuItem* sibling : item.menu().items()) {
        if (sibling->tag == kKeepOwnLook || (sibling->OnDrawItem && !OverrideOwnerDraw)) continue;
        sibling->OnDrawItem = DrawHandler{this, sibling};
        sibling->OnMeasureItem = MeasureHandler{this, sibling};
    }
}

void TXPMenu::SizeMenuItem(TMenuItem& item, TCanvas& c, int& height, int& width) {
    if (!active_) return;
    const bool separator = item.isSeparator();
    std::string text = separator ? std::string() : item.caption();
    if (!item.shortcutText.empty() && !isBlank(item.shortcutText)) text += item.shortcutText + "WWW";
    c.setFont(Font);
    int w = c.textWidth(text) + 5;
    if (text.find('&') != std::string::npos) w -= c.textWidth("&");
    const ui::TPoint picture = itemIconSize(item, IconWidth);
    if (picture.x > 0) w += picture.x;
    width = std::max(width, w);
    if (separator) {
        height = 4;
        return;
    }
    const int th = c.textHeight(text);
    const int h = std::max(th + roundHundredths(th * 75), picture.y + 6);
    height = std::max(height, h);
}

void TXPMenu::PaintMenuItem(TMenuItem& item, TCanvas& c, const TRect& rect,
                            const ui::TOwnerDrawState& state) {
    if (!active_) return;
    const XPPalette pal = DerivePalette(c);
    const bool separator = item.isSeparator();
    const bool enabled = !state.disabled;
    c.setFont(Font);
    TRect r = rect;
    r.bottom += 1;

    ui::TPixels picture;
    const ui::TImageList* images = item.menu().images;
    if (images && item.imageIndex() >= 0 && item.imageIndex() < images->count())
        picture = c.imagePixels(*images, item.imageIndex(), c.pixel(2, 2) & 0xFFFFFF);
    const bool hasPicture = !picture.empty();
    const ItemLayout l = menuItemLayout(r, IconWidth, picture.width, hasPicture);

    if (pal.DeepColour && Gradient) {
        PaintGradientColumn(c, pal, {r.left, r.top, r.right + 2, r.bottom}, IconWidth);
    } else {
        c.setBrushColor(pal.MenuFace);
        c.fillRect(r);
        c.setBrushColor(pal.IconColumn);
        c.fillRect(l.icon);
    }
    if (state.selected && DrawSelect && enabled && !separator) {
        const TRect s{r.left, r.top + 1, r.right - (FlatMenu ? 1 : 0), r.bottom - 1};
        c.setBrushColor(pal.SelectFill);
        c.setPenColor(pal.SelectFrame);
        c.rectangle(s);
    }
    PaintItemCheck(c, pal, l.check, state.selected, hasPicture, enabled, state.checked, item.radioItem);
    IconPaint icon;
    icon.checked = state.checked;
    icon.enabled = enabled;
    icon.selected = state.selected;
    icon.iconWidth = IconWidth;
    icon.dimLevel = DimLevel;
    icon.grayLevel = GrayLevel;
    PaintItemIcon(c, pal, l.icon, std::move(picture), icon);

    TRect t = l.text;
    if (separator) {
        const int y = t.top + roundHundredths((t.bottom - t.top) * 50);
        c.setPenColor(pal.SeparatorLine);
        c.moveTo(t.left + 7, y);
        c.lineTo(t.right, y);
    } else {
        t.left += 3;
        TextPaint text;
        text.caption = " " + item.caption();
        text.shortcut = item.shortcutText;
        text.format = ui::dt::Left;
        text.font = Font;
        text.isDefault = state.isDefault;
        text.enabled = enabled;
        text.selected = state.selected;
        PaintItemText(c, pal, text, t);
    }
    RehookSiblings(item);
}

// --- Records

const TControlSubClass* TXPMenu::recordOf(const ui::TControl& c) const {
    for (const auto& r : records_)
        if (r->hooked() && r->Target == &c) return r.get();
    return nullptr;
}

void TXPMenu::sweep() {
    std::erase_if(records_, [](const auto& r) { return !r->hooked(); });
}

}  // namespace menulook
