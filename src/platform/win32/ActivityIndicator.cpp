// Win32: the activity indicator as a child window of its own class. Frames are computed in
// memory (anti-aliased coverage blended between the two colours) and put on the screen with
// SetDIBitsToDevice; a window timer (SetTimer) drives the animation.
#include "platform/win32/ActivityIndicator.h"

#include "platform/win32/WindowClass.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace Velmora::Platform {

namespace {

constexpr UINT_PTR AnimationTimer = 1;
constexpr UINT FrameIntervalMs = 33;
constexpr int SamplesPerAxis = 4;
constexpr double TwoPi = 2.0 * std::numbers::pi;

// Angle of a point around the centre, clockwise from 12 o'clock, in [0, 1) turns.
double TurnOf(double dx, double dy) {
    const double turn = std::atan2(dx, -dy) / TwoPi;
    return turn < 0 ? turn + 1.0 : turn;
}

double Fraction(double v) { return v - std::floor(v); }

// Opacity (0..1) of the indicator at one sample point; coordinates in 64-unit design space
// around the centre.
struct MomentumDots {
    static constexpr int Count = 5;
    double X[Count], Y[Count];
    explicit MomentumDots(std::uint32_t ms) {
        for (int i = 0; i < Count; ++i) {
            // Each dot runs the circle slowly at the top and fast at the bottom, a little behind
            // the one before it, so the dots gather and spread as they go.
            const double p = Fraction(ms / 2000.0 - i * 0.07);
            const double turn = p - 0.85 * std::sin(TwoPi * p) / TwoPi;
            X[i] = 24.0 * std::sin(TwoPi * turn);
            Y[i] = -24.0 * std::cos(TwoPi * turn);
        }
    }
    double At(double x, double y) const {
        for (int i = 0; i < Count; ++i) {
            const double dx = x - X[i], dy = y - Y[i];
            if (dx * dx + dy * dy <= 4.0 * 4.0) return 1.0;
        }
        return 0.0;
    }
};

struct RotatingSector {
    double Start;
    explicit RotatingSector(std::uint32_t ms) : Start(Fraction(ms / 1200.0)) {}
    double At(double x, double y) const {
        if (x * x + y * y > 28.0 * 28.0) return 0.0;
        const double along = Fraction(TurnOf(x, y) - Start);
        return along < 0.25 ? 1.0 : 0.25; // a bright quarter turning over a faint disc
    }
};

struct SectorRing {
    static constexpr int Segments = 12;
    int Head;
    explicit SectorRing(std::uint32_t ms) : Head(static_cast<int>((ms / 100) % Segments)) {}
    double At(double x, double y) const {
        const double r2 = x * x + y * y;
        if (r2 < 17.0 * 17.0 || r2 > 28.0 * 28.0) return 0.0;
        const double position = TurnOf(x, y) * Segments;
        const int segment = static_cast<int>(position) % Segments;
        if (position - std::floor(position) > 0.75) return 0.0; // the gap after each segment
        const int behind = (Head - segment + Segments) % Segments;
        return std::max(0.2, 1.0 - behind * 0.12); // the head brightest, the trail fading
    }
};

template <typename Shape>
std::vector<std::uint8_t> Render(const Shape& shape, int size) {
    std::vector<std::uint8_t> coverage(static_cast<size_t>(size) * size);
    const double unit = 64.0 / size, centre = size / 2.0;
    for (int py = 0; py < size; ++py) {
        for (int px = 0; px < size; ++px) {
            double sum = 0.0;
            for (int sy = 0; sy < SamplesPerAxis; ++sy)
                for (int sx = 0; sx < SamplesPerAxis; ++sx) {
                    const double x = (px + (sx + 0.5) / SamplesPerAxis - centre) * unit;
                    const double y = (py + (sy + 0.5) / SamplesPerAxis - centre) * unit;
                    sum += shape.At(x, y);
                }
            coverage[static_cast<size_t>(py) * size + px] =
                static_cast<std::uint8_t>(std::lround(255.0 * sum / (SamplesPerAxis * SamplesPerAxis)));
        }
    }
    return coverage;
}

std::uint8_t Blend(int from, int to, int coverage) {
    return static_cast<std::uint8_t>(from + (to - from) * coverage / 255);
}

} // namespace

std::vector<std::uint8_t> RenderIndicatorCoverage(TActivityIndicatorType kind, int size, std::uint32_t elapsedMs) {
    if (size <= 0) return {};
    switch (kind) {
        case TActivityIndicatorType::aitRotatingSector: return Render(RotatingSector(elapsedMs), size);
        case TActivityIndicatorType::aitSectorRing: return Render(SectorRing(elapsedMs), size);
        case TActivityIndicatorType::aitMomentumDots: break;
    }
    return Render(MomentumDots(elapsedMs), size);
}

TActivityIndicator::TActivityIndicator(HWND parent, int left, int top, int size) : FSize(size) {
    const wchar_t* cls =
        EnsureWindowClass({L"Velmora.ActivityIndicator", ForwardingWindowProc<TActivityIndicator>, 0, IDC_APPSTARTING});
    FWindow.reset(CreateWindowExW(0, cls, L"", WS_CHILD | WS_VISIBLE, left, top, size, size, parent, nullptr,
                                  GetModuleHandleW(nullptr), this));
}

TActivityIndicator::~TActivityIndicator() {
    if (FWindow) KillTimer(FWindow.get(), AnimationTimer);
}

void TActivityIndicator::SetKind(TActivityIndicatorType kind) {
    FKind = kind;
    InvalidateRect(FWindow.get(), nullptr, FALSE);
}

void TActivityIndicator::SetColor(TActivityIndicatorColor color) {
    FColor = color;
    InvalidateRect(FWindow.get(), nullptr, FALSE);
}

void TActivityIndicator::SetBackground(COLORREF background) {
    FBackground = background;
    InvalidateRect(FWindow.get(), nullptr, FALSE);
}

void TActivityIndicator::SetAnimate(bool animate) {
    if (animate == FAnimating || !FWindow) return;
    FAnimating = animate;
    if (animate) {
        FStartTick = GetTickCount();
        SetTimer(FWindow.get(), AnimationTimer, FrameIntervalMs, nullptr);
    } else {
        KillTimer(FWindow.get(), AnimationTimer);
    }
    InvalidateRect(FWindow.get(), nullptr, FALSE);
}

void TActivityIndicator::Paint(HDC dc) {
    const std::uint32_t elapsed = FAnimating ? GetTickCount() - FStartTick : 0;
    const std::vector<std::uint8_t> coverage = RenderIndicatorCoverage(FKind, FSize, elapsed);
    const int ink = FColor == TActivityIndicatorColor::aicBlack ? 0 : 255;
    std::vector<std::uint32_t> pixels(coverage.size());
    for (size_t i = 0; i < coverage.size(); ++i) {
        const std::uint8_t r = Blend(GetRValue(FBackground), ink, coverage[i]);
        const std::uint8_t g = Blend(GetGValue(FBackground), ink, coverage[i]);
        const std::uint8_t b = Blend(GetBValue(FBackground), ink, coverage[i]);
        pixels[i] = (static_cast<std::uint32_t>(r) << 16) | (static_cast<std::uint32_t>(g) << 8) | b;
    }
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = FSize;
    info.bmiHeader.biHeight = -FSize; // rows top first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    SetDIBitsToDevice(dc, 0, 0, FSize, FSize, 0, 0, 0, FSize, pixels.data(), &info, DIB_RGB_COLORS);
}

LRESULT TActivityIndicator::HandleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_TIMER:
            if (wParam == AnimationTimer) InvalidateRect(hwnd, nullptr, FALSE);
            return 0;
        case WM_ERASEBKGND: return 1; // every pixel is painted
        case WM_PAINT:
        case WM_PRINTCLIENT: {
            PAINTSTRUCT ps;
            const HDC dc = message == WM_PAINT ? BeginPaint(hwnd, &ps) : reinterpret_cast<HDC>(wParam);
            Paint(dc);
            if (message == WM_PAINT) EndPaint(hwnd, &ps);
            return 0;
        }
        default: return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

} // namespace Velmora::Platform
