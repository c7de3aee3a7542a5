// Popup menus, their items and the image lists that hold their pictures.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "ui/canvas.h"
#include "ui/types.h"

namespace ui {

class TApplication;
class TForm;
class TPopupMenu;

class TImageList {
public:
    // A bitmap strip resource cut into width x height pictures; pixels of
    // the mask colour are transparent.
    TImageList(TApplication& app, const std::string& resource, int width, int height,
               TColor mask);
    ~TImageList();
    TImageList(const TImageList&) = delete;
    TImageList& operator=(const TImageList&) = delete;
    int width() const { return width_; }
    int height() const { return height_; }
    int count() const { return load(), count_; }
    std::uintptr_t handle() const { return load(), handle_; }

private:
    // Loaded when first used: pictures are seen only once a menu opens.
    void load() const;
    TApplication& app_;
    std::string resource_;
    TColor mask_;
    int width_, height_;
    mutable int count_ = 0;
    mutable std::uintptr_t handle_ = 0;
    mutable bool loaded_ = false;
};

// How an owner-drawn item is to look.
struct TOwnerDrawState {
    bool selected = false;   // under the mouse or the keyboard
    bool disabled = false;
    bool checked = false;
    bool isDefault = false;  // the default item (drawn bold by the system)
    bool operator==(const TOwnerDrawState&) const = default;
};

class TMenuItem {
public:
    // A caption of "-" makes a separator.
    TMenuItem(TPopupMenu& menu, int id, const char* caption, int imageIndex = -1);
    TMenuItem(const TMenuItem&) = delete;
    TMenuItem& operator=(const TMenuItem&) = delete;

    int id() const { return id_; }
    const std::string& caption() const { return caption_; }
    bool isSeparator() const { return caption_ == "-"; }
    int imageIndex() const { return imageIndex_; }
    TPopupMenu& menu() const { return menu_; }

    bool checked = false;
    bool autoCheck = false;  // the tick flips by itself on every click
    bool enabled = true;
    bool visible = true;
    bool radioItem = false;
    bool defaultItem = false;
    std::intptr_t tag = 0;
    // Shown at the right of the caption ("Ctrl+R"); empty for none.
    std::string shortcutText;

    TNotifyEvent OnClick;
    // Owner drawing, for a painter that takes the menu over: the item is
    // drawn by OnDrawItem while it has one and its menu's ownerDraw is on.
    // OnMeasureItem may enlarge the size the system starts it with.
    std::function<void(TCanvas&, int& width, int& height)> OnMeasureItem;
    std::function<void(TCanvas&, const TRect&, const TOwnerDrawState&)> OnDrawItem;
    bool ownerDrawn() const;

    // A choice of the item: the tick flips first when autoCheck is set.
    void click();
    // The user chooses it: nothing happens while it is disabled.
    void userClick();

private:
    TPopupMenu& menu_;
    int id_;
    std::string caption_;
    int imageIndex_;
};

class TPopupMenu {
public:
    explicit TPopupMenu(TApplication& app) : app_(app) {}
    // A menu the form owns: it is among the form's popupMenus().
    explicit TPopupMenu(TForm& owner);
    ~TPopupMenu();
    TPopupMenu(const TPopupMenu&) = delete;
    TPopupMenu& operator=(const TPopupMenu&) = delete;
    TApplication& app() const { return app_; }
    const std::vector<TMenuItem*>& items() const { return items_; }
    TMenuItem* findItem(int id) const;
    TImageList* images = nullptr;
    bool ownerDraw = false;
    // Opens the menu at a screen point and runs the item the user chooses.
    void popup(int x, int y);

private:
    friend class TMenuItem;
    friend class TForm;
    TApplication& app_;
    TForm* owner_ = nullptr;
    std::vector<TMenuItem*> items_;
};

}  // namespace ui
