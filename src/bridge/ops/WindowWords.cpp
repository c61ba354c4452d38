#include "bridge/ops/WindowWords.h"

#include <array>
#include <utility>

namespace Velmora::Shared {

namespace {

// Index = settings code.
constexpr std::array<TextView, 6> BorderWords = {u"none",   u"single",     u"sizeable",
                                                 u"dialog", u"toolwindow", u"sizetoolwindow"};

constexpr std::array<std::pair<Platform::TWindowState, TextView>, 3> StateWords = {{
    {Platform::TWindowState::Normal, u"normal"},
    {Platform::TWindowState::Minimized, u"minimized"},
    {Platform::TWindowState::Maximized, u"maximized"},
}};

} // namespace

std::optional<std::int32_t> BorderFromWord(TextView word) {
    for (std::size_t code = 0; code < BorderWords.size(); ++code)
        if (BorderWords[code] == word) return static_cast<std::int32_t>(code);
    return std::nullopt;
}

TextView BorderWord(std::int32_t border) {
    if (border < 0 || border >= static_cast<std::int32_t>(BorderWords.size())) return BorderWords[Platform::bsSizeable];
    return BorderWords[static_cast<std::size_t>(border)];
}

std::optional<Platform::TWindowState> StateFromWord(TextView word) {
    for (const auto& [state, name] : StateWords)
        if (name == word) return state;
    return std::nullopt;
}

TextView StateWord(Platform::TWindowState state) {
    for (const auto& [known, name] : StateWords)
        if (known == state) return name;
    return StateWords[0].second;
}

} // namespace Velmora::Shared
