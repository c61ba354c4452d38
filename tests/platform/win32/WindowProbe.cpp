#include "WindowProbe.h"

#include <algorithm>
#include <cstdlib>
#include <thread>

namespace Velmora::Tests {

HWND WaitForWindow(const wchar_t* className, const wchar_t* title, DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    do {
        if (HWND hwnd = FindWindowW(className, title); hwnd && IsWindowVisible(hwnd)) return hwnd;
        Sleep(20);
    } while (GetTickCount64() < deadline);
    return nullptr;
}

bool WaitUntilDestroyed(HWND hwnd, DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (IsWindow(hwnd)) {
        if (GetTickCount64() >= deadline) return false;
        Sleep(20);
    }
    return true;
}

std::wstring WindowText(HWND hwnd) {
    wchar_t text[1024] = {};
    const int n = GetWindowTextW(hwnd, text, 1024);
    return std::wstring(text, static_cast<size_t>(std::max(n, 0)));
}

std::vector<TControl> ControlsOf(HWND parent) {
    std::vector<TControl> controls;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t cls[64] = {};
        GetClassNameW(child, cls, 64);
        RECT r;
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
        controls.push_back({child, cls, WindowText(child), GetDlgCtrlID(child), GetWindowLongW(child, GWL_STYLE), r});
    }
    return controls;
}

namespace {

std::vector<COLORREF> ReadBitmap(HDC dc, HBITMAP bitmap, int width, int height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<DWORD> raw(static_cast<size_t>(width) * height);
    GetDIBits(dc, bitmap, 0, height, raw.data(), &info, DIB_RGB_COLORS);
    std::vector<COLORREF> pixels(raw.size());
    for (size_t i = 0; i < raw.size(); ++i) // 0x00RRGGBB in the DIB
        pixels[i] = RGB((raw[i] >> 16) & 0xFF, (raw[i] >> 8) & 0xFF, raw[i] & 0xFF);
    return pixels;
}

template <typename Fill>
std::vector<COLORREF> Snapshot(HWND hwnd, int& width, int& height, Fill fill) {
    RECT client;
    GetClientRect(hwnd, &client);
    width = client.right;
    height = client.bottom;
    if (width <= 0 || height <= 0) return {};
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    fill(memory, screen);
    SelectObject(memory, old);
    std::vector<COLORREF> pixels = ReadBitmap(memory, bitmap, width, height);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

} // namespace

std::vector<COLORREF> PrintClient(HWND hwnd, UINT printMessage, int& width, int& height) {
    return Snapshot(hwnd, width, height, [&](HDC memory, HDC) {
        const LPARAM flags = PRF_CLIENT | PRF_ERASEBKGND;
        SendMessageW(hwnd, printMessage, reinterpret_cast<WPARAM>(memory), flags);
    });
}

std::vector<COLORREF> CaptureClientFromScreen(HWND hwnd, int& width, int& height) {
    return Snapshot(hwnd, width, height, [&](HDC memory, HDC screen) {
        POINT origin = {0, 0};
        ClientToScreen(hwnd, &origin);
        BitBlt(memory, 0, 0, width, height, screen, origin.x, origin.y, SRCCOPY);
    });
}

int ColorDistance(COLORREF a, COLORREF b) {
    return std::max({std::abs(GetRValue(a) - GetRValue(b)), std::abs(GetGValue(a) - GetGValue(b)),
                     std::abs(GetBValue(a) - GetBValue(b))});
}

void DriveModal(const std::function<void()>& modal, const std::function<void()>& driver) {
    std::thread helper(driver);
    modal();
    helper.join();
}

void PumpMessagesFor(DWORD ms) {
    const ULONGLONG deadline = GetTickCount64() + ms;
    do {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) continue; // the tests' windows may end a loop they do not run
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(10);
    } while (GetTickCount64() < deadline);
}

} // namespace Velmora::Tests
