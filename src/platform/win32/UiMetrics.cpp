// Win32: screen scaling (GetDeviceCaps LOGPIXELSY), the message font
// (SystemParametersInfoW SPI_GETNONCLIENTMETRICS), screen and work-area centring, and the
// frame arithmetic of AdjustWindowRectEx.
#include "platform/win32/UiMetrics.h"

namespace Velmora::Platform {

int ScreenDpi() {
    const WindowDc screen(nullptr);
    const int dpi = screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
    return dpi > 0 ? dpi : USER_DEFAULT_SCREEN_DPI;
}

int Scaled(int designPixels) { return MulDiv(designPixels, ScreenDpi(), USER_DEFAULT_SCREEN_DPI); }

UniqueFont CreateMessageFont() {
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof(metrics);
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
        return UniqueFont(CreateFontIndirectW(&metrics.lfMessageFont));
    return CreateDesignFont(L"Tahoma", -11);
}

UniqueFont CreateDesignFont(const wchar_t* face, int designHeight) {
    LOGFONTW font = {};
    font.lfHeight = Scaled(designHeight);
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfQuality = CLEARTYPE_QUALITY;
    lstrcpynW(font.lfFaceName, face, LF_FACESIZE);
    return UniqueFont(CreateFontIndirectW(&font));
}

POINT CenterOnScreen(int width, int height) {
    return {(GetSystemMetrics(SM_CXSCREEN) - width) / 2, (GetSystemMetrics(SM_CYSCREEN) - height) / 2};
}

POINT CenterOnWorkArea(int width, int height) {
    RECT area = {};
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0)) return CenterOnScreen(width, height);
    return {area.left + (area.right - area.left - width) / 2, area.top + (area.bottom - area.top - height) / 2};
}

SIZE OuterSizeForClient(int clientWidth, int clientHeight, DWORD style, DWORD exStyle) {
    RECT rect = {0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&rect, style, FALSE, exStyle);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

} // namespace Velmora::Platform
