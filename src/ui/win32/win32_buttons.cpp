// Push, check, radio and speed buttons (the class does the work), and the
// bit button we draw ourselves.
#include "ui/win32/win32_families.h"
#include "ui/win32/win32_objects.h"

namespace ui::win32 {

namespace {

class ButtonPeer : public Win32Peer {
public:
    using Win32Peer::Win32Peer;
    void command(int code) override {
        if (code != BN_CLICKED) return;
        noteCheck();
        sink_.peerClicked();
    }
    // Asks the class directly: our own reads are no message for the hooks.
    bool checked() const override {
        return pending() ? lastCheck_ : callOld(BM_GETCHECK, 0, 0) == BST_CHECKED;
    }
    void setChecked(bool c) override {
        if (!pending()) {
            SendMessageA(hwnd_, BM_SETCHECK, c ? BST_CHECKED : BST_UNCHECKED, 0);
        } else if (c != lastCheck_) {
            lastCheck_ = c;
            raise(&PeerSink::peerCheckChanged);
        }
    }
    void setDefaultLook(bool d) override {
        if (kind_ != PeerKind::Button) return;
        if (pending()) changeStyle(d ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, BS_DEFPUSHBUTTON);
        else SendMessageA(hwnd_, BM_SETSTYLE, d ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
    }
    // A click ticks an automatic button by sending it BM_SETCHECK, and so
    // do the other buttons of a radio group and code.
    bool filter(UINT msg, WPARAM w, LPARAM l, LRESULT& r) override {
        if (msg != BM_SETCHECK) return false;
        r = callOld(msg, w, l);
        noteCheck();
        return true;
    }

protected:
    void replay() override {
        if (lastCheck_) callOld(BM_SETCHECK, BST_CHECKED, 0);
    }

private:
    // However the tick changed, it is reported once.
    void noteCheck() {
        const bool now = checked();
        if (now == lastCheck_) return;
        lastCheck_ = now;
        raise(&PeerSink::peerCheckChanged);
    }
    bool lastCheck_ = false;
};

// A push button drawn with its picture beside the caption.
class BitBtnPeer : public ButtonPeer {
public:
    using ButtonPeer::ButtonPeer;
    ~BitBtnPeer() override {
        if (glyph_) ImageList_Destroy(objects::release(objects::ImageList, glyph_));
    }
    // Loaded when first drawn: under the flat look the button never draws it.
    void setPicture(const std::string& resource) override {
        if (glyph_) ImageList_Destroy(objects::release(objects::ImageList, glyph_));
        glyph_ = nullptr;
        resource_ = resource;
        invalidate();
    }
    void loadGlyph() {
        std::string resource;
        resource.swap(resource_);
        HBITMAP bmp = objects::create(objects::Bitmap, [&] {
            return static_cast<HBITMAP>(LoadImageA(app_.instance(), resource.c_str(), IMAGE_BITMAP, 0, 0, 0));
        });
        if (!bmp) return;
        BITMAP info{};
        GetObjectA(bmp, sizeof info, &info);
        w_ = info.bmWidth;
        h_ = info.bmHeight;
        glyph_ = objects::create(objects::ImageList, [&] { return ImageList_Create(w_, h_, ILC_COLOR24 | ILC_MASK, 1, 0); });
        if (glyph_) ImageList_AddMasked(glyph_, bmp, RGB(255, 0, 255));
        DeleteObject(objects::release(objects::Bitmap, bmp));
    }
    void setText(const std::string& t) override {
        Win32Peer::setText(t);
        invalidate();
    }
    void drawItem(DRAWITEMSTRUCT& d) override {
        if (!resource_.empty()) loadGlyph();
        const bool pushed = (d.itemState & ODS_SELECTED) != 0;
        const bool disabled = (d.itemState & ODS_DISABLED) != 0;
        RECT rc = d.rcItem;
        HDC dc = d.hDC;
        if (GetFocus() == hwnd_) {
            FrameRect(dc, &rc, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
            InflateRect(&rc, -1, -1);
        }
        DrawFrameControl(dc, &rc, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0));
        const int shift = pushed ? 1 : 0;
        const std::string caption = text();
        HGDIOBJ oldFont = SelectObject(dc, app_.font(font_));
        SIZE ts{};
        ts = text::textExtent(dc, caption);
        const int gap = glyph_ && !caption.empty() ? 4 : 0;
        const int gw = glyph_ ? w_ : 0;
        const int total = gw + gap + (caption.empty() ? 0 : ts.cx);
        int x = (rc.left + rc.right - total) / 2 + shift;
        const int cy = (rc.top + rc.bottom) / 2 + shift;
        if (glyph_) {
            ImageList_Draw(glyph_, 0, dc, x, cy - h_ / 2, ILD_TRANSPARENT);
            x += gw + gap;
        }
        if (!caption.empty()) {
            SetBkMode(dc, TRANSPARENT);
            if (disabled) {
                SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
                text::textOut(dc, x + 1, cy - ts.cy / 2 + 1, caption);
                SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
            } else {
                SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
            }
            text::textOut(dc, x, cy - ts.cy / 2, caption);
        }
        SelectObject(dc, oldFont);
        if (d.itemState & ODS_FOCUS) {
            RECT f = rc;
            InflateRect(&f, -3, -3);
            DrawFocusRect(dc, &f);
        }
    }

private:
    HIMAGELIST glyph_ = nullptr;
    std::string resource_;  // a glyph still to load
    int w_ = 0, h_ = 0;
};


}  // namespace

std::unique_ptr<Win32Peer> makeButtonPeer(Win32Application& app, PeerKind kind, PeerSink& sink) {
    return std::make_unique<ButtonPeer>(app, kind, sink);
}

std::unique_ptr<Win32Peer> makeBitBtnPeer(Win32Application& app, PeerKind kind, PeerSink& sink) {
    return std::make_unique<BitBtnPeer>(app, kind, sink);
}

}  // namespace ui::win32
