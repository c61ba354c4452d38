// The application and window operations of the bridge: hello, isRuntime, the app namespace
// (close, full screen, command line) and the window namespace (stacking, state, title, zoom,
// bounds, border). They act on the main window and the browser control the module was given and
// read them back as they are, so a change the user made shows too.
#pragma once

#include "bridge/ops/WindowStyle.h"
#include "shared/Text.h"

#include <vector>

namespace Velmora::Shared {

class TBridgeCall;

class TAppWindowOperations {
public:
    explicit TAppWindowOperations(bool InFullscreen) : FFullScreen(InFullscreen) {}

    // The window is in the bridge's full screen (from the settings' WindowStyle 1, or the page).
    bool InFullscreen() const { return FFullScreen.On(); }

    void Hello(const TBridgeCall& Call);
    void IsRuntime(const TBridgeCall& Call);

    void AppClose(const TBridgeCall& Call);
    void AppInFullscreen(const TBridgeCall& Call);
    void AppEnterFullscreen(const TBridgeCall& Call);
    void AppExitFullscreen(const TBridgeCall& Call);
    void AppGetArgs(const TBridgeCall& Call);

    void WindowGetStyle(const TBridgeCall& Call);
    void WindowSetStyle(const TBridgeCall& Call);
    void WindowGetState(const TBridgeCall& Call);
    void WindowSetState(const TBridgeCall& Call);
    void WindowGetTitle(const TBridgeCall& Call);
    void WindowSetTitle(const TBridgeCall& Call);
    void WindowGetZoom(const TBridgeCall& Call);
    void WindowSetZoom(const TBridgeCall& Call);
    void WindowGetSize(const TBridgeCall& Call);
    void WindowSetSize(const TBridgeCall& Call);
    void WindowGetBorder(const TBridgeCall& Call);
    void WindowSetBorder(const TBridgeCall& Call);

private:
    TFullScreen FFullScreen;
};

// The JSON array of the texts, each a JSON string literal, "," between them: app.getArgs' reply.
Text ArgumentsJson(const std::vector<Text>& Arguments);

} // namespace Velmora::Shared
