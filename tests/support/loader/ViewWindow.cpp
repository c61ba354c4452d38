#include "ViewWindow.h"

#include "UiQueue.h"

#include <utility>

namespace Velmora::TestBrowser {

namespace {

constexpr wchar_t ClassName[] = L"Velmora.TestBrowser.View";

} // namespace

ViewWindow::ViewWindow(HWND parent) : FText(L"Velmora test browser") {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = &ViewWindow::WindowProc;
    windowClass.hInstance = ThisModule();
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = ClassName;
    RegisterClassW(&windowClass); // fails harmlessly when registered already
    // The browser's view starts visible, as large as nothing until the host sets its bounds.
    FWindow = CreateWindowExW(0, ClassName, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 0, 0, parent, nullptr,
                              ThisModule(), nullptr);
    if (FWindow) SetWindowLongPtrW(FWindow, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

ViewWindow::~ViewWindow() {
    if (FWindow && IsWindow(FWindow)) {
        SetWindowLongPtrW(FWindow, GWLP_USERDATA, 0);
        DestroyWindow(FWindow);
    }
    UnregisterClassW(ClassName, ThisModule());
}

void ViewWindow::SetText(std::wstring text) {
    FText = std::move(text);
    if (FWindow) InvalidateRect(FWindow, nullptr, TRUE);
}

void ViewWindow::Paint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(FWindow, &paint);
    RECT area;
    GetClientRect(FWindow, &area);
    FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    InflateRect(&area, -16, -16);
    SetBkMode(dc, TRANSPARENT);
    DrawTextW(dc, FText.c_str(), static_cast<int>(FText.size()), &area, DT_LEFT | DT_TOP | DT_WORDBREAK | DT_NOPREFIX);
    EndPaint(FWindow, &paint);
}

LRESULT CALLBACK ViewWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<ViewWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self && message == WM_PAINT) {
        self->Paint();
        return 0;
    }
    if (message == WM_ERASEBKGND) return 1;                     // painted whole in WM_PAINT
    if (self && message == WM_DESTROY) self->FWindow = nullptr; // the parent went first
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace Velmora::TestBrowser
