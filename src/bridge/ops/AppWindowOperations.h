// The application and window operations of the bridge: hello, isRuntime, app.close, and the
// full-screen flag of the app namespace.
#pragma once

namespace Velmora::Shared {

class TBridgeCall;

class TAppWindowOperations {
public:
    explicit TAppWindowOperations(bool InFullscreen) : FInFullscreen(InFullscreen) {}

    // The window is in the bridge's full screen (from the settings' WindowStyle 1, or the page).
    bool InFullscreen() const { return FInFullscreen; }

    void Hello(const TBridgeCall& Call);
    void IsRuntime(const TBridgeCall& Call);
    void AppClose(const TBridgeCall& Call);

private:
    bool FInFullscreen;
};

} // namespace Velmora::Shared
