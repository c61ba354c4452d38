// The busy animation of the installer window: momentum dots, a rotating sector or a sector ring,
// in black or white over the window's colour, animated by a timer.
#pragma once

#include "platform/win32/WinHandles.h"

#include <windows.h>

#include <cstdint>
#include <vector>

namespace Velmora::Platform {

enum class TActivityIndicatorType { aitMomentumDots, aitRotatingSector, aitSectorRing };
enum class TActivityIndicatorColor { aicBlack, aicWhite };

// The indicator's coverage (0 none to 255 full) of every pixel of a size x size frame, row by
// row, elapsedMs into the animation. Shapes are anti-aliased by 4 x 4 sampling.
std::vector<std::uint8_t> RenderIndicatorCoverage(TActivityIndicatorType kind, int size, std::uint32_t elapsedMs);

class TActivityIndicator {
public:
    // A child of parent at (left, top), size x size pixels, not yet animating.
    TActivityIndicator(HWND parent, int left, int top, int size);
    ~TActivityIndicator();
    TActivityIndicator(const TActivityIndicator&) = delete;
    TActivityIndicator& operator=(const TActivityIndicator&) = delete;

    void SetKind(TActivityIndicatorType kind);
    void SetColor(TActivityIndicatorColor color);
    void SetBackground(COLORREF background);
    void SetAnimate(bool animate);
    bool Animating() const { return FAnimating; }
    HWND Handle() const { return FWindow.get(); }

    LRESULT HandleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

private:
    void Paint(HDC dc);

    TActivityIndicatorType FKind = TActivityIndicatorType::aitMomentumDots;
    TActivityIndicatorColor FColor = TActivityIndicatorColor::aicWhite;
    COLORREF FBackground = RGB(0, 0, 0);
    bool FAnimating = false;
    DWORD FStartTick = 0;
    int FSize;
    UniqueWindow FWindow;
};

} // namespace Velmora::Platform
