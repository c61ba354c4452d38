// The application's icon in the notification area (Shell_NotifyIcon on Windows; a
// StatusNotifierItem where a watcher exists, else an XEmbed icon, on Linux).
#pragma once

#include "platform/Menus.h"
#include "shared/Text.h"

#include <functional>
#include <memory>

namespace Velmora::Platform {

class TTrayIcon {
public:
    virtual ~TTrayIcon() = default; // the icon leaves the notification area
    virtual void Show() = 0;
    virtual void Hide() = 0;
    virtual bool Visible() const = 0;
    // Shown on a right click; not owned.
    virtual void SetPopupMenu(TMenu* Menu) = 0;
    // A left click on the icon.
    std::function<void()> OnClick;
};

// The icon shows the executable's icon and Hint as its tooltip; hidden until shown.
std::unique_ptr<TTrayIcon> CreateTrayIcon(Shared::TextView Hint);

} // namespace Velmora::Platform
