// Win32: the window shown while the browser runtime installs. A WS_POPUP window of a class with
// CS_DROPSHADOW and the application-start cursor, a rounded window region (CreateRoundRectRgn,
// SetWindowRgn), its colour from the settings and an activity indicator; it refuses WM_CLOSE.
#include "platform/StartupDialogs.h"

#include "platform/win32/ActivityIndicator.h"
#include "platform/win32/ThemeColors.h"
#include "platform/win32/UiMetrics.h"
#include "platform/win32/Win11Forms.h"
#include "platform/win32/WinHandles.h"
#include "platform/win32/WindowClass.h"

namespace Velmora::Platform {

namespace {

constexpr std::int32_t DefaultFormColor = static_cast<std::int32_t>(0xFF000000u | COLOR_HOTLIGHT);

// A colour setting: 0xFF000000 plus a system colour index (seen through the active theme), else
// 0x00BBGGRR.
COLORREF ResolveColor(std::int32_t color) {
    if (color < 0) return ThemedSysColor(color & 0xFF);
    return static_cast<COLORREF>(color) & 0x00FFFFFF;
}

class TWin32EdgeInstallerForm final : public TEdgeInstallerForm {
public:
    TWin32EdgeInstallerForm() {
        const wchar_t* cls =
            EnsureWindowClass({L"Velmora.EdgeInstallerForm", ForwardingWindowProc<TWin32EdgeInstallerForm>,
                               CS_DROPSHADOW, IDC_APPSTARTING});
        const int side = Scaled(80); // no frame: the client is the whole window
        const POINT at = CenterOnScreen(side, side);
        TWin11FormParams params;
        // No taskbar button while installing: we keep no hidden application window that could
        // carry (and hide) it, so the window itself stays off the taskbar.
        params.ExStyle = WS_EX_TOOLWINDOW;
        params.ClassName = cls;
        params.Style = WS_POPUP;
        params.Left = at.x;
        params.Top = at.y;
        params.Width = side;
        params.Height = side;
        params.Param = this;
        Window.reset(CreateWin11Form(params));
        if (!Window) return;
        ApplyRegion();
        Indicator = std::make_unique<TActivityIndicator>(Window.get(), Scaled(9), Scaled(8), Scaled(64));
        Indicator->SetBackground(ResolveColor(Color));
        Indicator->SetAnimate(true);
    }

    ~TWin32EdgeInstallerForm() override {
        Indicator.reset();
        Window.reset();
    }

    void SetColor(std::int32_t color) override {
        Color = color;
        if (Indicator) Indicator->SetBackground(ResolveColor(color));
        InvalidateRect(Window.get(), nullptr, TRUE);
    }

    void SetIndicatorColor(std::int32_t IndicatorColor) override {
        if (Indicator)
            Indicator->SetColor(IndicatorColor == 0 ? TActivityIndicatorColor::aicBlack
                                                    : TActivityIndicatorColor::aicWhite);
    }

    void SetIndicatorType(std::int32_t IndicatorType) override {
        if (!Indicator) return;
        switch (IndicatorType) {
            case 1: Indicator->SetKind(TActivityIndicatorType::aitRotatingSector); break;
            case 2: Indicator->SetKind(TActivityIndicatorType::aitSectorRing); break;
            default: Indicator->SetKind(TActivityIndicatorType::aitMomentumDots); break;
        }
    }

    void Show() override {
        if (!Window) return;
        ShowWindow(Window.get(), SW_SHOWNORMAL);
        UpdateWindow(Window.get());
    }

    void* Handle() const override { return Window.get(); }

    // Rounded corners by region; where the region cannot be set the window stays rectangular.
    void ApplyRegion() {
        RECT bounds;
        GetWindowRect(Window.get(), &bounds);
        UniqueRegion region(
            CreateRoundRectRgn(0, 0, bounds.right - bounds.left + 1, bounds.bottom - bounds.top + 1, 4, 4));
        if (region && SetWindowRgn(Window.get(), region.get(), TRUE)) region.release(); // the system owns it now
    }

    LRESULT HandleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        switch (message) {
            case WM_CLOSE: return 0; // refused: the window goes only when the installation flow frees it
            case WM_ERASEBKGND: {
                const COLORREF color = ResolveColor(Color);
                RECT client;
                GetClientRect(hwnd, &client);
                FillRect(reinterpret_cast<HDC>(wParam), &client, Background.Get(color));
                if (Indicator) Indicator->SetBackground(color); // a theme change may have moved it
                return 1;
            }
            default: return DefWindowProcW(hwnd, message, wParam, lParam);
        }
    }

private:
    std::int32_t Color = DefaultFormColor;
    TBrushCache Background;
    UniqueWindow Window;
    std::unique_ptr<TActivityIndicator> Indicator; // after Window: destroyed before it
};

} // namespace

std::unique_ptr<TEdgeInstallerForm> CreateEdgeInstallerForm() { return std::make_unique<TWin32EdgeInstallerForm>(); }

} // namespace Velmora::Platform
