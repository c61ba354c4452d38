// The main menu and the tray icon with its menu: mainMenu.*, trayMenu.*.
#pragma once

namespace Velmora::Shared {

class TBridgeCall;

class TMenusOperations {
public:
    // The tray icon is in the notification area (window.setState consults it).
    bool TrayIconVisible() const { return false; }
};

} // namespace Velmora::Shared
