#include "ProgressBar.h"

#include <cstdio>
#include <unistd.h>

namespace Velmora::Pack {

TProgressBar::TProgressBar(std::string label) : FLabel(std::move(label)), FTerminal(isatty(2) != 0) {}

TProgressBar::~TProgressBar() {
    if (FOpen) std::fputc('\n', stderr);
}

void TProgressBar::SetMax(std::int64_t max) {
    FMax = max;
    Draw(0);
}

void TProgressBar::SetPosition(std::int64_t position) {
    const int percent = FMax > 0 ? static_cast<int>(position * 100 / FMax) : 100;
    if (percent != FLastPercent) Draw(percent); // redraw only when the figure changes
}

void TProgressBar::Finish() {
    if (!FOpen) return;
    std::fputc('\n', stderr);
    FOpen = false;
}

void TProgressBar::Draw(int percent) {
    FLastPercent = percent;
    if (!FTerminal) return;
    constexpr int Width = 30;
    const int filled = percent * Width / 100;
    std::fprintf(stderr, "\r%-12s [%.*s%*s] %3d%%", FLabel.c_str(), filled, "##############################",
                 Width - filled, "", percent);
    std::fflush(stderr);
    FOpen = true;
}

} // namespace Velmora::Pack
