// Helpers of the window tests: find a window of ours from another thread, list its controls,
// read the colours it paints, and drive a modal window from a helper thread.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace Velmora::Tests {

// The first window of the class (and title, when given) within the timeout; null otherwise.
HWND WaitForWindow(const wchar_t* className, const wchar_t* title, DWORD timeoutMs = 10000);
// Waits until the window is gone; false on timeout.
bool WaitUntilDestroyed(HWND hwnd, DWORD timeoutMs = 5000);

struct TControl {
    HWND Handle;
    std::wstring ClassName;
    std::wstring Text;
    int Id;
    LONG Style;
    RECT Bounds; // in the parent's client coordinates
};
std::vector<TControl> ControlsOf(HWND parent);
std::wstring WindowText(HWND hwnd);

// The client area as the window paints it (WM_PRINT into a memory bitmap), row by row,
// 0x00BBGGRR; width and height receive its size.
std::vector<COLORREF> PrintClient(HWND hwnd, UINT printMessage, int& width, int& height);
// The client area as it is on the screen now.
std::vector<COLORREF> CaptureClientFromScreen(HWND hwnd, int& width, int& height);

// Distance of two colours: the largest difference of one channel.
int ColorDistance(COLORREF a, COLORREF b);

// Runs modal() on this thread while driver(…) runs on a helper thread; driver receives nothing
// and must end the modal window. The helper is joined before returning.
void DriveModal(const std::function<void()>& modal, const std::function<void()>& driver);

// Serves this thread's pending messages for a while (windows created by the test itself).
void PumpMessagesFor(DWORD ms);

} // namespace Velmora::Tests
