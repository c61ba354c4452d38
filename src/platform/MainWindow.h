// The platform's top-level window behind TMainForm, and the window primitives the portable rules
// compose: border, state, stacking, bounds, size limits, caption, hiding and bringing to front.
// Values read back are the window's real ones, also after the user has changed them.
#pragma once

#include "shared/Text.h"

#include <cstdint>
#include <functional>
#include <memory>

namespace Velmora::Platform {

// The border styles, by their settings codes (WindowBorder).
enum TWindowBorder : std::int32_t {
    bsNone = 0,
    bsSingle = 1,
    bsSizeable = 2,
    bsDialog = 3,
    bsToolWindow = 4,
    bsSizeToolWin = 5
};

enum class TWindowState : std::uint8_t { Normal, Minimized, Maximized };

// Outer bounds in screen pixels, the frame included.
struct TWindowBounds {
    std::int32_t Left = 0, Top = 0, Width = 0, Height = 0;
};

// Size limits of the outer size; 0 means none.
struct TSizeLimits {
    std::int32_t MaxWidth = 0, MaxHeight = 0, MinWidth = 0, MinHeight = 0;
};

// How a new window is placed and sized before it is first shown.
struct TMainWindowPlacement {
    std::int32_t Width = 800, Height = 600; // outer size, kept within the limits
    TSizeLimits Limits;
    bool CenterOnDesktop = true; // false: the system's default position for a new window
};

class TNativeMainWindow {
public:
    virtual ~TNativeMainWindow() = default; // destroys the window without a close request

    virtual void Show() = 0;
    virtual void Hide() = 0;
    // Shows the window when hidden, restores it when minimised, and activates it.
    virtual void BringToFront() = 0;

    virtual Shared::Text Caption() const = 0;
    virtual void SetCaption(Shared::TextView caption) = 0;

    // The border style the window has now; codes outside 0..5 act as bsSizeable.
    virtual std::int32_t Border() const = 0;
    virtual void SetBorder(std::int32_t border) = 0;
    // A state set while the window is hidden is the one it shows in.
    virtual TWindowState State() const = 0;
    virtual void SetState(TWindowState state) = 0;
    virtual bool StayOnTop() const = 0;
    virtual void SetStayOnTop(bool onTop) = 0;
    virtual TWindowBounds Bounds() const = 0;
    virtual void SetBounds(const TWindowBounds& bounds) = 0;

    // Asks the window to close (going through OnCloseQuery); queued, so a caller inside an event
    // of something the window owns returns first.
    virtual void Close() = 0;
    // HWND on Windows, GtkWindow* on Linux.
    virtual void* Handle() const = 0;

    // Asked on every close request (title-bar button, keyboard, system menu); true lets the
    // window close. Unset: the window closes.
    std::function<bool()> OnCloseQuery;
    // Called once when the window has closed (not when the object is destroyed).
    std::function<void()> OnClose;
    // Called when the client area changes size, with its new width and height in pixels.
    std::function<void(int width, int height)> OnResize;
};

// A hidden, sizeable window with rounded corners where the system draws them.
std::unique_ptr<TNativeMainWindow> CreateMainWindow(Shared::TextView Caption, const TMainWindowPlacement& Placement);

// The application object's title (taskbar grouping, application name).
void SetApplicationTitle(Shared::TextView title);

} // namespace Velmora::Platform
