// The words the window operations speak: border words with their settings codes (WindowBorder),
// state words and the stacking word, each compared exactly (letter case matters).
#pragma once

#include "platform/MainWindow.h"
#include "shared/Text.h"

#include <cstdint>
#include <optional>

namespace Velmora::Shared {

// "none", "single", "sizeable", "dialog", "toolwindow", "sizetoolwindow" and their codes 0..5.
std::optional<std::int32_t> BorderFromWord(TextView word);
// The word of a border code; codes outside 0..5 are sizeable.
TextView BorderWord(std::int32_t border);

// "normal", "minimized", "maximized".
std::optional<Platform::TWindowState> StateFromWord(TextView word);
TextView StateWord(Platform::TWindowState state);

// The stacking word: "ontop" keeps the window above others; every other text means normal.
inline constexpr TextView OnTopWord = u"ontop";
inline constexpr TextView NormalStyleWord = u"normal";

} // namespace Velmora::Shared
