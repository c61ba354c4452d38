// A one-line progress bar on standard error, drawn only when standard error is a terminal.
#pragma once

#include <cstdint>
#include <string>

namespace Velmora::Pack {

class TProgressBar {
public:
    explicit TProgressBar(std::string label);
    ~TProgressBar();
    void SetMax(std::int64_t max);
    void SetPosition(std::int64_t position);
    // Completes the line (100 % when the work finished).
    void Finish();

private:
    void Draw(int percent);
    std::string FLabel;
    std::int64_t FMax = 0;
    int FLastPercent = -1;
    bool FTerminal;
    bool FOpen = false;
};

} // namespace Velmora::Pack
