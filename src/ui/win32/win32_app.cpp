#include "ui/win32/win32_app.h"

#include <commctrl.h>
#include <commdlg.h>

#include <cstddef>
#include <vector>

#include "base/error.h"
#include "ui/controls.h"
#include "ui/dialogs.h"
#include "ui/menus.h"
#include "ui/win32/win32_canvas.h"
#include "ui/win32/win32_objects.h"
#include "ui/win32/win32_peers.h"
#include "ui/win32/win32_text.h"

namespace ui::win32 {

// The menu item record without hbmpItem (Windows 98 and 2000).
constexpr UINT kMenuItemInfoSize = offsetof(MENUITEMINFOA, hbmpItem);
static_assert(kMenuItemInfoSize == (sizeof(void*) == 8 ? 72 : 44));

Win32Application::Win32Application(HINSTANCE instance) : instance_(instance) {
    InitCommonControls();
}

Win32Application::~Win32Application() {
    for (auto& [key, f] : fonts_) DeleteObject(objects::release(objects::Font, f));
}

HFONT Win32Application::font(const TFont& f) {
    auto key = std::make_tuple(f.name, f.height, f.bold, f.charset);
    auto it = fonts_.find(key);
    if (it != fonts_.end()) return it->second;
    LOGFONTA lf{};
    lf.lfHeight = f.height;
    lf.lfWeight = f.bold ? FW_BOLD : FW_NORMAL;
    lf.lfCharSet = static_cast<BYTE>(f.charset);
    lf.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
    f.name.copy(lf.lfFaceName, LF_FACESIZE - 1);
    HFONT h = text::createFont(lf);
    // Not kept: the font is asked for again at the next use.
    if (!h) return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    fonts_[key] = h;
    return h;
}

HCURSOR Win32Application::handCursor() {
    if (!hand_) {
        // IDC_HAND came with Windows 98 and 2000; older systems get the arrow.
        hand_ = LoadCursorA(nullptr, MAKEINTRESOURCEA(32649));
        if (!hand_) hand_ = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
    }
    return hand_;
}

bool Win32Application::trackMouseLeave(HWND h) {
    if (pollMouseLeave) return false;
    if (!trackLookedUp_) {
        trackLookedUp_ = true;
        // Windows 98 and NT 4 have it in user32; Windows 95 only through the
        // comctl32 of Internet Explorer 3 or later. Never imported: Windows 95
        // would refuse to load the program.
        auto lookUp = [](const char* module, const char* name) {
            HMODULE m = GetModuleHandleA(module);
            return m ? reinterpret_cast<TrackMouseFn>(reinterpret_cast<void*>(GetProcAddress(m, name)))
                     : nullptr;
        };
        trackMouse_ = lookUp("user32.dll", "TrackMouseEvent");
        if (!trackMouse_) trackMouse_ = lookUp("comctl32.dll", "_TrackMouseEvent");
    }
    if (!trackMouse_) return false;
    TRACKMOUSEEVENT t{};
    t.cbSize = sizeof t;
    t.dwFlags = TME_LEAVE;
    t.hwndTrack = h;
    t.dwHoverTime = HOVER_DEFAULT;
    return trackMouse_(&t) != FALSE;
}

bool Win32Application::menuFont(TFont& font) {
    LOGFONTA lf{};
    if (!text::menuFont(lf)) return false;
    font.name = lf.lfFaceName;
    font.height = lf.lfHeight;
    font.bold = lf.lfWeight >= FW_BOLD;
    font.charset = lf.lfCharSet;
    font.color = clMenuText;
    return true;
}

int Win32Application::thumbSize() const { return GetSystemMetrics(SM_CXHTHUMB); }

TPoint Win32Application::screenSize() const {
    return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

std::uint32_t Win32Application::registerMessage(const std::string& name) {
    return RegisterWindowMessageA(name.c_str());
}

void Win32Application::restore() {
    if (mainForm()) {
        HWND h = reinterpret_cast<HWND>(mainForm()->handle());
        if (IsIconic(h)) ShowWindow(h, SW_RESTORE);
    }
}

void Win32Application::terminate() {
    if (!terminated_) PostQuitMessage(0);
    TApplication::terminate();
}

bool Win32Application::preTranslate(MSG& msg) {
    if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
    HWND root = msg.hwnd;
    while (root && (GetWindowLongPtrA(root, GWL_STYLE) & WS_CHILD)) root = GetParent(root);
    TForm* form = mainForm();
    if (!form || !root || reinterpret_cast<HWND>(form->handle()) != root) return false;
    // A panel that holds the keyboard takes every key meant for a control
    // beneath it: arrows, Home, End, Ctrl+Tab and letters alike.
    HWND scope = root;
    if (TWinControl* holder = form->keyboardHolder()) {
        scope = reinterpret_cast<HWND>(holder->handle());
        if (scope && msg.hwnd != scope && !IsChild(scope, msg.hwnd)) {
            HWND entry = form->keyboardEntry() ? reinterpret_cast<HWND>(form->keyboardEntry()->handle())
                                               : nullptr;
            if (!entry) return true;
            if (GetFocus() != entry) SetFocus(entry);
            msg.hwnd = entry;
        }
        if (!scope) scope = root;
    }
    if (msg.message != WM_KEYDOWN) return false;
    const int key = static_cast<int>(msg.wParam);
    if (key != VK_TAB && key != VK_RETURN && key != VK_ESCAPE) return false;
    if (key == VK_TAB) {
        const bool back = GetKeyState(VK_SHIFT) < 0;
        HWND from = GetFocus();
        if (from == scope || !IsChild(scope, from)) from = nullptr;
        if (HWND next = GetNextDlgTabItem(scope, from, back)) SetFocus(next);
        return true;
    }
    bool used = false;
    guard([&] { used = form->dialogKey(key); });
    return used;
}

void Win32Application::dispatch(MSG& msg) {
    if (preTranslate(msg)) return;
    TranslateMessage(&msg);
    text::api().dispatchMessage(&msg);
}

void Win32Application::processMessages() {
    MSG msg;
    while (text::api().peekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            exitCode_ = static_cast<int>(msg.wParam);
            terminated_ = true;
            return;
        }
        dispatch(msg);
    }
}

void Win32Application::waitMessage(std::uint32_t ms) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, ms, QS_ALLINPUT);
}

int Win32Application::run() {
    MSG msg;
    bool later = true;  // windows not seen at start may still be to come
    while (!terminated_) {
        // Made one by one while nothing waits, so that input is never held
        // up by more than one window.
        if (later && !text::api().peekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            TForm* f = mainForm();
            later = f && static_cast<Win32Peer&>(f->peer()).realizeNext();
            continue;
        }
        const BOOL got = text::api().getMessage(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1) {
            if (got == 0) exitCode_ = static_cast<int>(msg.wParam);
            terminated_ = true;
            break;
        }
        dispatch(msg);
    }
    return exitCode_;
}

HWND Win32Application::ownerWindow() const {
    if (!mainForm()) return nullptr;
    HWND h = reinterpret_cast<HWND>(mainForm()->handle());
    return IsWindowVisible(h) ? h : nullptr;
}

int Win32Application::messageBox(const std::string& message, const std::string& caption,
                                 unsigned flags) {
    objects::made(objects::Box, 1);
    const int answer = text::api().messageBox(ownerWindow(), text::arg(message), text::arg(caption), flags);
    objects::gone(objects::Box);
    return answer;
}

bool Win32Application::runFileDialog(TFileDialog& d, bool save) {
    const std::string filter = filterList(d.filter);
    for (int attempt = 0;; ++attempt) {
        std::string file = attempt == 0 ? d.fileName : std::string();
        const text::FileDialogRecord r{ownerWindow(), instance_, filter, file, d.title, d.defaultExt,
                                       d.options | OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR};
        DWORD error = 0;
        if (text::runFileDialog(r, save, error)) {
            d.fileName = file;
            return true;
        }
        if (error == 0) return false;
        // A remembered name the dialog refuses is dropped for a second try; a
        // failure then, or with no name to drop, is no cancel.
        if (attempt > 0 || d.fileName.empty()) fileDialogError(error);
    }
}

namespace {

// A menu picture in the size of the check-mark area, on the menu's colour.
HBITMAP menuPicture(const TImageList& list, int index) {
    const int cx = GetSystemMetrics(SM_CXMENUCHECK), cy = GetSystemMetrics(SM_CYMENUCHECK);
    const WindowDc screen(nullptr, objects::create(objects::Dc, [] { return GetDC(nullptr); }));
    if (!screen.dc) return nullptr;
    HDC dc = objects::create(objects::Dc, [&] { return CreateCompatibleDC(screen.dc); });
    HBITMAP bmp = objects::create(objects::Bitmap, [&] { return CreateCompatibleBitmap(screen.dc, cx, cy); });
    if (!dc || !bmp) {
        if (dc) DeleteDC(objects::release(objects::Dc, dc));
        if (bmp) DeleteObject(objects::release(objects::Bitmap, bmp));
        return nullptr;
    }
    HGDIOBJ old = SelectObject(dc, bmp);
    RECT r{0, 0, cx, cy};
    FillRect(dc, &r, GetSysColorBrush(COLOR_MENU));
    ImageList_Draw(reinterpret_cast<HIMAGELIST>(list.handle()), index, dc,
                   (cx - list.width()) / 2, (cy - list.height()) / 2, ILD_TRANSPARENT);
    SelectObject(dc, old);
    DeleteDC(objects::release(objects::Dc, dc));
    return bmp;
}

// The system draws the default item bold, and tells an owner-drawn one.
void markDefault(HMENU h, const TMenuItem& item) {
    MENUITEMINFOA mi{};
    mi.cbSize = kMenuItemInfoSize;
    mi.fMask = MIIM_STATE;
    mi.fState = MFS_DEFAULT | (item.checked ? MFS_CHECKED : 0) | (item.enabled ? 0 : MFS_GRAYED);
    SetMenuItemInfoA(h, static_cast<UINT>(item.id()), FALSE, &mi);
}

}  // namespace

void Win32Application::popupMenu(TPopupMenu& menu, int x, int y) {
    TForm* form = mainForm();
    if (!form) return;
    HWND owner = reinterpret_cast<HWND>(form->handle());
    HMENU h = objects::create(objects::Menu, [] { return CreatePopupMenu(); });
    if (!h) return;
    std::vector<HBITMAP> pictures;
    for (TMenuItem* item : menu.items()) {
        if (!item->visible) continue;
        if (item->isSeparator() && !item->ownerDrawn()) {
            AppendMenuA(h, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        UINT flags = (item->checked ? MF_CHECKED : 0) | (item->enabled ? 0 : MF_GRAYED);
        if (item->ownerDrawn()) {
            flags |= MF_OWNERDRAW | (item->isSeparator() ? MF_DISABLED : 0);
            AppendMenuA(h, flags, static_cast<UINT_PTR>(item->id()), reinterpret_cast<LPCSTR>(item));
        } else {
            text::api().appendMenu(h, flags | MF_STRING, static_cast<UINT_PTR>(item->id()), text::arg(item->caption()));
            // Until a painter takes the menu over, a picture stands where the
            // tick would; a ticked item shows its tick.
            if (menu.images && menu.images->handle() && item->imageIndex() >= 0 &&
                item->imageIndex() < menu.images->count()) {
                if (HBITMAP pic = menuPicture(*menu.images, item->imageIndex())) {
                    pictures.push_back(pic);
                    SetMenuItemBitmaps(h, static_cast<UINT>(item->id()), MF_BYCOMMAND, pic, nullptr);
                }
            }
        }
        if (item->defaultItem && !item->isSeparator()) markDefault(h, *item);
    }
    // The menu of a notification icon closes properly only when our window
    // is in front while it is open.
    SetForegroundWindow(owner);
    const int id = static_cast<int>(TrackPopupMenu(h, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY,
                                                   x, y, 0, owner, nullptr));
    PostMessageA(owner, WM_NULL, 0, 0);
    DestroyMenu(objects::release(objects::Menu, h));
    for (HBITMAP b : pictures) DeleteObject(objects::release(objects::Bitmap, b));
    if (id)
        if (TMenuItem* item = menu.findItem(id)) item->userClick();
}

std::uintptr_t Win32Application::loadImageList(const std::string& resource, int width, int height,
                                               TColor mask, int& count) {
    count = 0;
    HBITMAP bmp = objects::create(objects::Bitmap, [&] {
        return static_cast<HBITMAP>(LoadImageA(instance_, resource.c_str(), IMAGE_BITMAP, 0, 0, 0));
    });
    if (!bmp) return 0;
    HIMAGELIST il = objects::create(objects::ImageList, [&] {
        return ImageList_Create(width, height, ILC_COLOR24 | ILC_MASK, 8, 4);
    });
    if (il) {
        ImageList_AddMasked(il, bmp, static_cast<COLORREF>(mask));
        count = ImageList_GetImageCount(il);
    }
    DeleteObject(objects::release(objects::Bitmap, bmp));
    return reinterpret_cast<std::uintptr_t>(il);
}

void Win32Application::releaseImageList(std::uintptr_t handle) {
    ImageList_Destroy(objects::release(objects::ImageList, reinterpret_cast<HIMAGELIST>(handle)));
}

}  // namespace ui::win32
