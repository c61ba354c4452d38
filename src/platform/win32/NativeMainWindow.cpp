// Win32: the main window. A top-level window of our class whose styles follow the layout's
// border (GWL_STYLE/GWL_EXSTYLE at creation), size limits answered in WM_GETMINMAXINFO, placement
// centred on the work area or left to the system (CW_USEDEFAULT), HWND_TOPMOST stacking, rounded
// corners; and the thread's message loop (GetMessageW until WM_QUIT).
#include "browser/NativeMainWindow.h"

#include "bridge/StylesUtils.h"
#include "platform/win32/ThemeApply.h"
#include "platform/win32/UiMetrics.h"
#include "platform/win32/Win11Forms.h"
#include "platform/win32/WinHandles.h"
#include "platform/win32/WinText.h"
#include "platform/win32/WindowClass.h"

#include <algorithm>

namespace Velmora::Runtime {

using namespace Platform;

namespace {

struct TWindowStyles {
    DWORD Style;
    DWORD ExStyle;
};

// Child windows (the browser) are clipped out of our own painting.
constexpr DWORD Common = WS_CLIPCHILDREN;

TWindowStyles StylesOf(const TWindowLayout& layout) {
    TWindowStyles s{Common, 0};
    if (layout.FullScreen) {
        s.Style |= WS_POPUP;
    } else {
        switch (layout.Border) {
        case bsNone: s.Style |= WS_POPUP; break;
        case bsSingle: s.Style |= WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX; break;
        case bsDialog:
            s.Style |= WS_CAPTION | WS_SYSMENU;
            s.ExStyle |= WS_EX_DLGMODALFRAME;
            break;
        case bsToolWindow:
            s.Style |= WS_CAPTION | WS_SYSMENU;
            s.ExStyle |= WS_EX_TOOLWINDOW;
            break;
        case bsSizeToolWin:
            s.Style |= WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
            s.ExStyle |= WS_EX_TOOLWINDOW;
            break;
        default: s.Style |= WS_OVERLAPPEDWINDOW; break; // sizeable, also for unknown values
        }
    }
    if (layout.StayOnTop) s.ExStyle |= WS_EX_TOPMOST;
    return s;
}

// A length kept within the limits; 0 is no limit.
int Constrain(int value, int minimum, int maximum) {
    if (maximum > 0) value = std::min(value, maximum);
    if (minimum > 0) value = std::max(value, minimum);
    return value;
}

} // namespace

struct TNativeMainWindow::Impl {
    TNativeMainWindow* Owner;
    TWindowLayout Layout;
    TBrushCache Background;
    bool Discarding = false; // the owner is being destroyed: no events, no end of the loop
    UniqueWindow Window;

    Impl(TNativeMainWindow* owner, const TWindowLayout& layout) : Owner(owner), Layout(layout) {}

    LRESULT HandleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        switch (message) {
        case WM_GETMINMAXINFO: {
            auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
            const TSizeConstraints& c = Layout.Constraints;
            if (c.MinWidth > 0) info->ptMinTrackSize.x = c.MinWidth;
            if (c.MinHeight > 0) info->ptMinTrackSize.y = c.MinHeight;
            if (c.MaxWidth > 0) info->ptMaxTrackSize.x = c.MaxWidth;
            if (c.MaxHeight > 0) info->ptMaxTrackSize.y = c.MaxHeight;
            return 0;
        }
        case WM_WINDOWPOSCHANGING: {
            // The system limits only framed windows to the tracking sizes; every border is
            // limited here, as long as the window is neither maximised nor minimised.
            auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
            if (!(pos->flags & SWP_NOSIZE) && !IsZoomed(hwnd) && !IsIconic(hwnd)) {
                const TSizeConstraints& c = Layout.Constraints;
                pos->cx = Constrain(pos->cx, c.MinWidth, c.MaxWidth);
                pos->cy = Constrain(pos->cy, c.MinHeight, c.MaxHeight);
            }
            return DefWindowProcW(hwnd, message, wParam, lParam);
        }
        case WM_SIZE:
            if (Owner->OnResize) Owner->OnResize(LOWORD(lParam), HIWORD(lParam));
            return 0;
        case WM_ERASEBKGND: {
            // The system's window colour, or the form colour of the active theme.
            const COLORREF color = Shared::ActiveThemePalette() ? ThemeColor(TThemeRole::Window) : GetSysColor(COLOR_WINDOW);
            RECT client;
            GetClientRect(hwnd, &client);
            FillRect(reinterpret_cast<HDC>(wParam), &client, Background.Get(color));
            return 1;
        }
        case WM_CLOSE:
            if (!Owner->OnCloseQuery || Owner->OnCloseQuery()) DestroyWindow(hwnd);
            return 0;
        case WM_DESTROY: {
            // The window is going: nothing may destroy it a second time, and the owner may be
            // freed by OnClose, so this object is cut off from the window's last messages and
            // touched no more after it.
            Window.release();
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            if (Discarding) return 0;
            const std::function<void()> onClose = Owner->OnClose;
            if (onClose) onClose();
            QuitMessageLoop();
            return 0;
        }
        default:
            return DefWindowProcW(hwnd, message, wParam, lParam);
        }
    }
};

TNativeMainWindow::TNativeMainWindow(const TWindowLayout& layout) : FImpl(std::make_unique<Impl>(this, layout)) {
    const TWindowStyles styles = StylesOf(layout);
    const TSizeConstraints& c = layout.Constraints;
    const int width = Constrain(layout.Width, c.MinWidth, c.MaxWidth);
    const int height = Constrain(layout.Height, c.MinHeight, c.MaxHeight);
    TWin11FormParams params;
    params.ExStyle = styles.ExStyle;
    params.ClassName = EnsureWindowClass({L"Velmora.MainWindow", ForwardingWindowProc<Impl>, CS_HREDRAW | CS_VREDRAW});
    params.Caption = Wide(layout.Caption);
    params.Style = styles.Style;
    params.Width = width;
    params.Height = height;
    if (layout.CenterOnDesktop) {
        const POINT at = CenterOnWorkArea(width, height);
        params.Left = at.x;
        params.Top = at.y;
    }
    params.Param = FImpl.get();
    FImpl->Window.reset(CreateWin11Form(params));
    if (FImpl->Window) ApplyThemeToFrame(FImpl->Window.get());
}

TNativeMainWindow::~TNativeMainWindow() {
    FImpl->Discarding = true;
    if (HWND hwnd = FImpl->Window.get()) DestroyWindow(hwnd);
}

void TNativeMainWindow::Show() {
    const HWND hwnd = FImpl->Window.get();
    if (!hwnd) return;
    const bool maximized = FImpl->Layout.FullScreen || FImpl->Layout.Maximized;
    ShowWindow(hwnd, maximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
    UpdateWindow(hwnd);
    SetForegroundWindow(hwnd);
}

void TNativeMainWindow::SetCaption(Shared::TextView caption) {
    const Shared::Text text(caption);
    if (FImpl->Window) SetWindowTextW(FImpl->Window.get(), Wide(text));
}

void TNativeMainWindow::Close() {
    // Queued: a caller inside an event of something the window owns (the browser) returns first.
    if (FImpl->Window) PostMessageW(FImpl->Window.get(), WM_CLOSE, 0, 0);
}

void* TNativeMainWindow::Handle() const { return FImpl->Window.get(); }

void RunMessageLoop() {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void QuitMessageLoop() { PostQuitMessage(0); }

} // namespace Velmora::Runtime
