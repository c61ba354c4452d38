// Win32: the main window. A top-level window of our class with rounded corners; the border as
// window styles (GWL_STYLE/GWL_EXSTYLE, reframed with SWP_FRAMECHANGED), size limits answered in
// WM_GETMINMAXINFO and WM_WINDOWPOSCHANGING, placement centred on the work area or left to the
// system (CW_USEDEFAULT), states through ShowWindow, stacking through HWND_TOPMOST, outer bounds
// through GetWindowRect and SetWindowPos.
#include "platform/MainWindow.h"

#include "platform/win32/ThemeColors.h"
#include "platform/win32/UiMetrics.h"
#include "platform/win32/Win11Forms.h"
#include "platform/win32/WinHandles.h"
#include "platform/win32/WinText.h"
#include "platform/win32/WindowClass.h"
#include "shared/ThemePalettes.h"

#include <algorithm>

namespace Velmora::Platform {

namespace {

struct TWindowStyles {
    DWORD Style;
    DWORD ExStyle;
};

// The style bits a border decides; the others (child clipping, visibility, stacking) stay.
constexpr DWORD BorderStyles = WS_POPUP | WS_OVERLAPPEDWINDOW;
constexpr DWORD BorderExStyles = WS_EX_DLGMODALFRAME | WS_EX_TOOLWINDOW;

TWindowStyles StylesOf(std::int32_t border) {
    switch (border) {
        case bsNone: return {WS_POPUP, 0};
        case bsSingle: return {WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX, 0};
        case bsDialog: return {WS_CAPTION | WS_SYSMENU, WS_EX_DLGMODALFRAME};
        case bsToolWindow: return {WS_CAPTION | WS_SYSMENU, WS_EX_TOOLWINDOW};
        case bsSizeToolWin: return {WS_CAPTION | WS_SYSMENU | WS_THICKFRAME, WS_EX_TOOLWINDOW};
        default: return {WS_OVERLAPPEDWINDOW, 0}; // sizeable, also for unknown values
    }
}

// The border whose styles the window has, read back from its bits.
std::int32_t BorderOf(DWORD style, DWORD ex) {
    if (!(style & WS_CAPTION)) return bsNone;
    const bool sizing = (style & WS_THICKFRAME) != 0;
    if (ex & WS_EX_TOOLWINDOW) return sizing ? bsSizeToolWin : bsToolWindow;
    if (ex & WS_EX_DLGMODALFRAME) return bsDialog;
    return sizing ? bsSizeable : bsSingle;
}

// A length kept within the limits; 0 is no limit.
int Constrain(int value, int minimum, int maximum) {
    if (maximum > 0) value = std::min(value, maximum);
    if (minimum > 0) value = std::max(value, minimum);
    return value;
}

// The normal state, also for a window minimised from maximised (which SW_RESTORE would
// maximise again).
void Restore(HWND hwnd) {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (IsIconic(hwnd) && GetWindowPlacement(hwnd, &placement)) {
        placement.flags &= ~static_cast<UINT>(WPF_RESTORETOMAXIMIZED);
        placement.showCmd = SW_SHOWNORMAL;
        SetWindowPlacement(hwnd, &placement);
        return;
    }
    ShowWindow(hwnd, SW_SHOWNORMAL);
}

int ShowCommandOf(TWindowState state) {
    switch (state) {
        case TWindowState::Maximized: return SW_SHOWMAXIMIZED;
        case TWindowState::Minimized: return SW_SHOWMINIMIZED;
        case TWindowState::Normal: break;
    }
    return SW_SHOWNORMAL;
}

class TWin32MainWindow final : public TNativeMainWindow {
public:
    TWin32MainWindow(Shared::TextView caption, const TMainWindowPlacement& placement) : FLimits(placement.Limits) {
        const int width = Constrain(placement.Width, FLimits.MinWidth, FLimits.MaxWidth);
        const int height = Constrain(placement.Height, FLimits.MinHeight, FLimits.MaxHeight);
        const Shared::Text text(caption);
        TWin11FormParams params;
        params.ClassName =
            EnsureWindowClass({L"Velmora.MainWindow", ForwardingWindowProc<TWin32MainWindow>, CS_HREDRAW | CS_VREDRAW});
        params.Caption = Wide(text);
        // Child windows (the browser) are clipped out of our own painting.
        params.Style = WS_CLIPCHILDREN | WS_OVERLAPPEDWINDOW;
        params.Width = width;
        params.Height = height;
        if (placement.CenterOnDesktop) {
            const POINT at = CenterOnWorkArea(width, height);
            params.Left = at.x;
            params.Top = at.y;
        }
        params.Param = this;
        FWindow.reset(CreateWin11Form(params));
        if (FWindow) ApplyThemeToFrame(FWindow.get());
    }

    ~TWin32MainWindow() override {
        FDiscarding = true;
        if (HWND hwnd = FWindow.get()) DestroyWindow(hwnd);
    }

    void Show() override {
        const HWND hwnd = FWindow.get();
        if (!hwnd) return;
        ShowWindow(hwnd, ShowCommandOf(FPendingState));
        UpdateWindow(hwnd);
        SetForegroundWindow(hwnd);
    }
    void Hide() override {
        if (HWND hwnd = FWindow.get()) ShowWindow(hwnd, SW_HIDE);
    }
    void BringToFront() override {
        const HWND hwnd = FWindow.get();
        if (!hwnd) return;
        if (!IsWindowVisible(hwnd)) ShowWindow(hwnd, ShowCommandOf(FPendingState));
        else if (IsIconic(hwnd)) ShowWindow(hwnd, SW_RESTORE);
        SetForegroundWindow(hwnd);
    }

    Shared::Text Caption() const override {
        const HWND hwnd = FWindow.get();
        if (!hwnd) return {};
        std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
        text.resize(static_cast<size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
        return FromWide(text);
    }
    void SetCaption(Shared::TextView caption) override {
        const Shared::Text text(caption);
        if (FWindow) SetWindowTextW(FWindow.get(), Wide(text));
    }

    std::int32_t Border() const override {
        const HWND hwnd = FWindow.get();
        if (!hwnd) return bsSizeable;
        return BorderOf(static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_STYLE)),
                        static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_EXSTYLE)));
    }
    void SetBorder(std::int32_t border) override {
        const HWND hwnd = FWindow.get();
        if (!hwnd) return;
        const TWindowStyles styles = StylesOf(border);
        const auto style = static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_STYLE));
        const auto ex = static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_EXSTYLE));
        SetWindowLongPtrW(hwnd, GWL_STYLE, static_cast<LONG_PTR>((style & ~BorderStyles) | styles.Style));
        SetWindowLongPtrW(hwnd, GWL_EXSTYLE, static_cast<LONG_PTR>((ex & ~BorderExStyles) | styles.ExStyle));
        // The frame is drawn anew around the same outer bounds.
        SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    }

    TWindowState State() const override {
        const HWND hwnd = FWindow.get();
        if (!hwnd || !IsWindowVisible(hwnd)) return FPendingState;
        if (IsIconic(hwnd)) return TWindowState::Minimized;
        if (IsZoomed(hwnd)) return TWindowState::Maximized;
        return TWindowState::Normal;
    }
    void SetState(TWindowState state) override {
        const HWND hwnd = FWindow.get();
        FPendingState = state;
        if (!hwnd || !IsWindowVisible(hwnd)) return; // Show takes it
        switch (state) {
            case TWindowState::Maximized: ShowWindow(hwnd, SW_MAXIMIZE); break;
            case TWindowState::Minimized: ShowWindow(hwnd, SW_MINIMIZE); break;
            case TWindowState::Normal: Restore(hwnd); break;
        }
    }

    bool StayOnTop() const override {
        return FWindow && (GetWindowLongPtrW(FWindow.get(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    }
    void SetStayOnTop(bool onTop) override {
        if (FWindow)
            SetWindowPos(FWindow.get(), onTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }

    TWindowBounds Bounds() const override {
        RECT r{};
        if (FWindow) GetWindowRect(FWindow.get(), &r);
        return {r.left, r.top, r.right - r.left, r.bottom - r.top};
    }
    void SetBounds(const TWindowBounds& bounds) override {
        if (FWindow)
            SetWindowPos(FWindow.get(), nullptr, bounds.Left, bounds.Top, bounds.Width, bounds.Height,
                         SWP_NOZORDER | SWP_NOACTIVATE);
    }

    void Close() override {
        // Queued: a caller inside an event of something the window owns (the browser) returns first.
        if (FWindow) PostMessageW(FWindow.get(), WM_CLOSE, 0, 0);
    }
    void* Handle() const override { return FWindow.get(); }

    LRESULT HandleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        switch (message) {
            case WM_GETMINMAXINFO: {
                auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
                if (FLimits.MinWidth > 0) info->ptMinTrackSize.x = FLimits.MinWidth;
                if (FLimits.MinHeight > 0) info->ptMinTrackSize.y = FLimits.MinHeight;
                if (FLimits.MaxWidth > 0) info->ptMaxTrackSize.x = FLimits.MaxWidth;
                if (FLimits.MaxHeight > 0) info->ptMaxTrackSize.y = FLimits.MaxHeight;
                return 0;
            }
            case WM_WINDOWPOSCHANGING: {
                // The system limits only framed windows to the tracking sizes; every border is
                // limited here, as long as the window is neither maximised nor minimised.
                auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
                if (!(pos->flags & SWP_NOSIZE) && !IsZoomed(hwnd) && !IsIconic(hwnd)) {
                    pos->cx = Constrain(pos->cx, FLimits.MinWidth, FLimits.MaxWidth);
                    pos->cy = Constrain(pos->cy, FLimits.MinHeight, FLimits.MaxHeight);
                }
                return DefWindowProcW(hwnd, message, wParam, lParam);
            }
            case WM_SIZE:
                if (OnResize) OnResize(LOWORD(lParam), HIWORD(lParam));
                return 0;
            case WM_ERASEBKGND: {
                // The system's window colour, or the form colour of the active theme.
                const COLORREF color =
                    Shared::ActiveThemePalette() ? ThemeColor(TThemeRole::Window) : GetSysColor(COLOR_WINDOW);
                RECT client;
                GetClientRect(hwnd, &client);
                FillRect(reinterpret_cast<HDC>(wParam), &client, FBackground.Get(color));
                return 1;
            }
            case WM_CLOSE:
                if (!OnCloseQuery || OnCloseQuery()) DestroyWindow(hwnd);
                return 0;
            case WM_DESTROY: {
                // The window is going: nothing may destroy it a second time, and the owner may be
                // freed by OnClose, so this object is cut off from the window's last messages and
                // touched no more after it.
                FWindow.release();
                SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
                if (FDiscarding) return 0;
                const std::function<void()> onClose = OnClose;
                if (onClose) onClose();
                return 0;
            }
            default: return DefWindowProcW(hwnd, message, wParam, lParam);
        }
    }

private:
    TSizeLimits FLimits;
    TWindowState FPendingState = TWindowState::Normal; // what Show shows while the window is hidden
    TBrushCache FBackground;
    bool FDiscarding = false; // the owner is being destroyed: no events
    UniqueWindow FWindow;
};

} // namespace

std::unique_ptr<TNativeMainWindow> CreateMainWindow(Shared::TextView Caption, const TMainWindowPlacement& Placement) {
    return std::make_unique<TWin32MainWindow>(Caption, Placement);
}

} // namespace Velmora::Platform
