// The main window's menu bar and the tray icon's pop-up menu: trees of captioned items with an
// enabled state, an optional image and a tag reported on click (HMENU with WIC-decoded images on
// Windows, GtkMenuBar/GtkMenu with GdkPixbuf images on Linux).
#pragma once

#include "shared/Text.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace Velmora::Platform {

struct TMenuItem {
    Shared::Text Caption; // "-": a separator
    bool Enabled = true;
    Shared::Bytes Image;  // PNG, JPEG, BMP or ICO data; empty: none
    std::int32_t Tag = 0; // reported when the item is clicked
    std::vector<TMenuItem> Items;
};

class TMenu {
public:
    virtual ~TMenu() = default;
    // Replaces every item; an empty list leaves an empty menu.
    virtual void SetItems(const std::vector<TMenuItem>& Items) = 0;
    // Changes the first item with Tag; false when there is none.
    virtual bool UpdateItem(std::int32_t Tag, const TMenuItem& Item) = 0;
    // A click on an item without sub-items, with its tag.
    std::function<void(std::int32_t Tag)> OnItemClick;
};

// The menu bar of the main window (TNativeMainWindow::Handle()), above the browser view.
std::unique_ptr<TMenu> CreateMainMenu(void* MainWindow);
// A pop-up menu, shown by the tray icon.
std::unique_ptr<TMenu> CreatePopupMenu();

} // namespace Velmora::Platform
