// TBrowserExternalModule, the host's end of the bridge: receives every web message the page
// posts, dispatches it by function ID (BridgeFunctions.cpp) to one operation of a family, and
// gives the operations the replies and the bridge events. It is built with what the operations
// act on. Each family is a class of ops/ owning its own state, reached through the module:
//   app and window (ops/AppWindowOperations)    hello, isRuntime, app.*, window.*
//   files and folders (ops/FilesOperations)     files.*, folders.*, base64.decodeToFile
//   dialogs (ops/DialogsOperations)             dialogs.*
//   shell and system (ops/ShellOperations)      shell.*, system.logoff/reboot/shutdown
//   registry (ops/RegistryOperations)           registry.*
//   menus and tray (ops/MenusOperations)        mainMenu.*, trayMenu.* (item JSON: menu/)
//   notifications (ops/NotificationsOperations) system.notification
//   themes (ops/ThemesOperations)               themes.*
#pragma once

#include "bridge/BridgeArguments.h"
#include "bridge/BridgeJson.h"
#include "bridge/BridgeTrust.h"
#include "bridge/ops/AppWindowOperations.h"
#include "bridge/ops/DialogsOperations.h"
#include "bridge/ops/FilesOperations.h"
#include "bridge/ops/MenusOperations.h"
#include "bridge/ops/NotificationsOperations.h"
#include "bridge/ops/RegistryOperations.h"
#include "bridge/ops/ShellOperations.h"
#include "bridge/ops/ThemesOperations.h"
#include "shared/Text.h"

#include <deque>
#include <functional>
#include <memory>
#include <utility>

namespace Velmora::Platform {
class TBrowserControl;
class TNativeMainWindow;
} // namespace Velmora::Platform

namespace Velmora::Shared {

class TPayloadReader;
class TProjectSettings;
struct TBridgeFunction;

// What the module works with; it owns none of it.
struct TBridgeContext {
    Platform::TNativeMainWindow& MainForm;     // the main window
    Platform::TBrowserControl& BrowserControl; // replies and events go here
    const TPayloadReader* ExeZip = nullptr;    // the payload; null outside the running program
    const TProjectSettings* ProjectINI = nullptr;
    bool InFullscreen = false; // the window starts in the bridge's full screen
};

class TBrowserExternalModule {
public:
    using TNotifyEvent = std::function<void(TBrowserExternalModule& Sender)>;

    explicit TBrowserExternalModule(const TBridgeContext& Context);
    ~TBrowserExternalModule();
    TBrowserExternalModule(const TBrowserExternalModule&) = delete;
    TBrowserExternalModule& operator=(const TBrowserExternalModule&) = delete;

    Platform::TNativeMainWindow& MainForm() const { return FContext.MainForm; }
    Platform::TBrowserControl& BrowserControl() const { return FContext.BrowserControl; }
    const TPayloadReader* ExeZip() const { return FContext.ExeZip; }
    const TProjectSettings* ProjectINI() const { return FContext.ProjectINI; }

    // app.close: the main window's close approval.
    TNotifyEvent OnAppCloseRequest;

    // The operation families.
    TAppWindowOperations& AppWindow() { return FAppWindow; }

    TFilesOperations& Files() { return FFiles; }

    TDialogsOperations& Dialogs() { return FDialogs; }

    TShellOperations& Shell() { return FShell; }

    TRegistryOperations& Registry() { return FRegistry; }

    TMenusOperations& Menus() { return FMenus; }

    TNotificationsOperations& Notifications() { return FNotifications; }

    TThemesOperations& Themes() { return FThemes; }

    // Handles one web message, given as the JSON text a top-level document posted and that
    // document's URI. Dropped messages (from a document the bridge does not serve, not a JSON
    // object, `id`, `uuid` or `data` missing, `id` not an integer or not dispatched) get no
    // reply. The operation may end the module's owner (app.close): nothing here touches the
    // module after the operation returns. A message that arrives while an operation serves the
    // main loop (waiting for the window manager, a modal dialog) waits until that operation has
    // answered: the page's calls run one after the other, in the order it made them.
    void EdgeBrowserWebMessageReceived(TextView WebMessageAsJson, TextView Source);

    // The argument reader of every operation (BridgeArguments.h).
    static Text ArgText(const TJsonValue& Data, TextView Key, TextView Default = {}) {
        return Shared::ArgText(Data, Key, Default);
    }

    // The bridge reply {"uuid": …, "success": …, "result": …} posted to the page; Result is
    // JSON text. The uuid is written as a JSON string literal, so no uuid can break the reply.
    // Replies and events reach only a document the bridge serves; for any other, nothing.
    void PostReply(TextView Uuid, TextView Result, bool Success);
    void ReplySuccess(TextView Uuid, TextView Result);
    void ReplyFailure(TextView Uuid, TextView Result);

    // Calls window.qmt.events.<Handler> in the page: "qmt.events.<Handler>();", or with one
    // argument written as a JSON string literal.
    void ExecuteBridgeEvent(TextView Handler);
    void ExecuteBridgeEvent(TextView Handler, TextView Argument);

private:
    void Dispatch(TextView WebMessageAsJson, TextView Source);

    // Runtime-only operations without a payload reader: shows why and says no.
    bool CheckRuntime(const TBridgeFunction& Function) const;

    // The browser shows a document the bridge serves.
    bool ServesShownDocument() const;

    TBridgeContext FContext;
    TBridgeTrust FTrust;
    // Messages waiting for the operation in progress; false in FAlive once the module is gone
    // (an operation may free it).
    std::deque<std::pair<Text, Text>> FPending;
    bool FDispatching = false;
    std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
    TAppWindowOperations FAppWindow;

    TFilesOperations FFiles;

    TDialogsOperations FDialogs;

    TShellOperations FShell;

    TRegistryOperations FRegistry;

    TMenusOperations FMenus;

    TNotificationsOperations FNotifications;

    TThemesOperations FThemes;
};

// "Calls to qmt.<name>() works only at runtime." for a runtime-only function.
Text RuntimeOnlyMessage(const TBridgeFunction& Function);

} // namespace Velmora::Shared
