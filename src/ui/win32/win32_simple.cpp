// Controls that hold no rows and no other controls: labels, edit fields,
// up-down arrows, pictures and bevels.
#include "ui/win32/win32_families.h"
#include "ui/win32/win32_objects.h"

namespace ui::win32 {

namespace {

class LabelPeer : public Win32Peer {
public:
    using Win32Peer::Win32Peer;
    void command(int code) override {
        if (code == STN_CLICKED) sink_.peerClicked();
    }
    void setWordWrap(bool w) override {
        changeStyle(w ? SS_LEFT : SS_LEFTNOWORDWRAP, SS_TYPEMASK);
    }
};

class EditPeer : public Win32Peer {
public:
    using Win32Peer::Win32Peer;
    void command(int code) override {
        if (code == EN_CHANGE) sink_.peerChanged();
    }
    HBRUSH ctlColor(HDC) override { return nullptr; }
    void setCtl3D(bool on) override {
        changeStyle(on ? 0 : WS_BORDER, on ? WS_BORDER : 0);
        changeExStyle(on ? WS_EX_CLIENTEDGE : 0, on ? 0 : WS_EX_CLIENTEDGE);
    }
    void setPasswordChar(char c) override {
        passwordChar_ = c;
        if (pending()) return;
        SendMessageA(hwnd_, EM_SETPASSWORDCHAR, static_cast<unsigned char>(c), 0);
        invalidate();
    }
    bool filter(UINT msg, WPARAM w, LPARAM l, LRESULT& r) override {
        if (msg != WM_CHAR) return false;
        // A Unicode window gets a character beyond ASCII whole: the handlers
        // see it as the lead byte it starts with in our text, and keep it or not.
        const bool whole = w >= 0x80 && text::unicode();
        char key = whole ? '\x81' : static_cast<char>(w);
        sink_.peerKeyPress(key);
        if (key == 0) {
            r = 0;
            return true;
        }
        r = callOld(msg, whole ? w : static_cast<unsigned char>(key), l);
        return true;
    }

protected:
    void replay() override {
        if (passwordChar_) SendMessageA(hwnd_, EM_SETPASSWORDCHAR, static_cast<unsigned char>(passwordChar_), 0);
    }

private:
    char passwordChar_ = 0;
};

class UpDownPeer : public Win32Peer {
public:
    using Win32Peer::Win32Peer;
    void scroll(int code) override {
        if (code == SB_THUMBPOSITION) sink_.peerClicked();
    }
    void setRange(int lo, int hi) override {
        lo_ = lo, hi_ = hi;
        if (!pending())
            SendMessageA(hwnd_, UDM_SETRANGE, 0, MAKELPARAM(static_cast<short>(hi), static_cast<short>(lo)));
    }
    // The position is read from the buddy's text, so the window answers.
    int position() const override {
        const LRESULT r = SendMessageA(ensure(), UDM_GETPOS, 0, 0);
        error_ = HIWORD(r) != 0;
        return static_cast<short>(LOWORD(r));
    }
    bool positionError() const override { return error_; }
    void setPosition(int pos) override {
        pos_ = pos;
        if (!pending()) SendMessageA(hwnd_, UDM_SETPOS, 0, MAKELPARAM(static_cast<short>(pos), 0));
    }
    void setBuddy(Peer* buddy) override {
        buddy_ = buddy;
        if (!pending())
            SendMessageA(hwnd_, UDM_SETBUDDY, buddy ? reinterpret_cast<WPARAM>(buddy->handle()) : 0, 0);
    }

protected:
    void replay() override {
        setRange(lo_, hi_);
        setPosition(pos_);
        setBuddy(buddy_);
    }

private:
    mutable bool error_ = false;
    int lo_ = 0, hi_ = 100, pos_ = 0;
    Peer* buddy_ = nullptr;
};

// Pictures and bevels: no window of their own, drawn by the parent. Each
// window costs its making, a frame and a paint of its own at every show.
// A picture is stretched over its box or centred in it, inside its frame
// when it has one; a bevel is an etched frame, as a static control draws it.
class WindowlessPeer : public Win32Peer {
public:
    using Win32Peer::Win32Peer;
    ~WindowlessPeer() override {
        if (bmp_) DeleteObject(objects::release(objects::Bitmap, bmp_));
    }
    void setBounds(int left, int top, int width, int height) override {
        invalidate();
        Win32Peer::setBounds(left, top, width, height);
        invalidate();
    }
    void setVisible(bool v) override {
        if (v == visible()) return;
        Win32Peer::setVisible(v);
        repaintArea();
    }
    void setFocus() override {}
    void invalidate() override {
        if (visible()) repaintArea();
    }
    void setBevel(TBevelCut cut) override {
        framed_ = cut != TBevelCut::None;
        invalidate();
    }
    // Loaded when first drawn: most pictures sit on pages not shown at start.
    void setPicture(const std::string& resource) override {
        if (bmp_) DeleteObject(objects::release(objects::Bitmap, bmp_));
        bmp_ = nullptr;
        resource_ = resource;
        invalidate();
    }
    void setStretch(bool s) override {
        stretch_ = s;
        invalidate();
    }
    void drawOnParent(HDC dc) override {
        const TRect b = bounds();
        RECT rc{b.left, b.top, b.right, b.bottom};
        if (kind_ == PeerKind::Bevel) {
            DrawEdge(dc, &rc, EDGE_ETCHED, BF_RECT);
            return;
        }
        if (framed_) DrawEdge(dc, &rc, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
        FillRect(dc, &rc, faceBrush());
        if (!bmp_ && !resource_.empty()) {
            bmp_ = objects::create(objects::Bitmap, [&] {
                return static_cast<HBITMAP>(LoadImageA(app_.instance(), resource_.c_str(), IMAGE_BITMAP, 0, 0, 0));
            });
            if (!bmp_) resource_.clear();  // missing: not looked for at every paint
        }
        if (!bmp_) return;
        BITMAP info{};
        GetObjectA(bmp_, sizeof info, &info);
        HDC mem = objects::create(objects::Dc, [&] { return CreateCompatibleDC(dc); });
        if (!mem) return;
        HGDIOBJ old = SelectObject(mem, bmp_);
        if (stretch_) {
            SetStretchBltMode(dc, COLORONCOLOR);
            StretchBlt(dc, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, mem, 0, 0,
                       info.bmWidth, info.bmHeight, SRCCOPY);
        } else {
            BitBlt(dc, (rc.left + rc.right - info.bmWidth) / 2,
                   (rc.top + rc.bottom - info.bmHeight) / 2, info.bmWidth, info.bmHeight, mem, 0, 0,
                   SRCCOPY);
        }
        SelectObject(mem, old);
        DeleteDC(objects::release(objects::Dc, mem));
    }

private:
    void repaintArea() {
        HWND parent = parentWindow();
        if (!parent) return;
        const TRect b = bounds();
        const RECT rc{b.left, b.top, b.right, b.bottom};
        InvalidateRect(parent, &rc, TRUE);
    }
    HBITMAP bmp_ = nullptr;
    std::string resource_;
    bool stretch_ = false, framed_ = false;
};

}  // namespace

std::unique_ptr<Win32Peer> makeLabelPeer(Win32Application& app, PeerKind kind, PeerSink& sink) {
    return std::make_unique<LabelPeer>(app, kind, sink);
}

std::unique_ptr<Win32Peer> makeEditPeer(Win32Application& app, PeerKind kind, PeerSink& sink) {
    return std::make_unique<EditPeer>(app, kind, sink);
}

std::unique_ptr<Win32Peer> makeUpDownPeer(Win32Application& app, PeerKind kind, PeerSink& sink) {
    return std::make_unique<UpDownPeer>(app, kind, sink);
}

std::unique_ptr<Win32Peer> makeWindowlessPeer(Win32Application& app, PeerKind kind, PeerSink& sink) {
    return std::make_unique<WindowlessPeer>(app, kind, sink);
}

}  // namespace ui::win32
