// Desktop notifications (toasts through Shell_NotifyIcon on Windows, libnotify on Linux), whose
// activation is reported back on the user-interface thread.
#pragma once

#include "shared/Text.h"

#include <functional>
#include <memory>

namespace Velmora::Platform {

struct TNotification {
    Shared::Text Name; // reported on activation
    Shared::Text Title;
    Shared::Text Body;
};

class TNotificationCenter {
public:
    virtual ~TNotificationCenter() = default;
    // False when the system cannot show notifications (Linux: no notification server).
    virtual bool Present(const TNotification& Notification) = 0;
    // The user activated the notification of that name.
    std::function<void(Shared::TextView Name)> OnActivated;
};

std::unique_ptr<TNotificationCenter> CreateNotificationCenter(Shared::TextView AppName);

} // namespace Velmora::Platform
