// The window captions list: which captions shell.windows keeps (none blank, every other one, in
// order, untrimmed) and the JSON array it answers with, for any UTF-16 units. Input: units (two
// bytes each), captions separated by U+FFFF.
#include "bridge/ops/ShellOperations.h"
#include "shared/SysUtils.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

using namespace Velmora::Shared;

namespace {

bool Blank(const Text& caption) {
    return std::all_of(caption.begin(), caption.end(), [](char16_t unit) { return unit <= u' '; });
}

bool HasLoneSurrogate(TextView text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) ++i;
        else if (c >= 0xD800 && c <= 0xDFFF) return true;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<Text> captions(1);
    for (std::size_t i = 0; i + 1 < size; i += 2) {
        const auto unit = static_cast<char16_t>(data[i] | data[i + 1] << 8);
        if (unit == 0xFFFF) captions.emplace_back();
        else captions.back().push_back(unit);
    }
    std::vector<Text> expected;
    for (const Text& caption : captions)
        if (!Blank(caption)) expected.push_back(caption);
    const std::vector<Text> kept = TSysUtils::NonBlankCaptions(captions);
    if (kept != expected) __builtin_trap();

    // The array parses back into the captions (a lone surrogate has no JSON equivalent: its
    // escape is what StringToJsonString writes, which strict parsers refuse).
    if (std::any_of(kept.begin(), kept.end(), [](const Text& caption) { return HasLoneSurrogate(caption); })) return 0;
    const auto parsed = nlohmann::json::parse(ToUtf8(TShellOperations::CaptionsToJsonArray(kept)), nullptr, false);
    if (parsed.is_discarded() || !parsed.is_array() || parsed.size() != kept.size()) __builtin_trap();
    for (std::size_t i = 0; i < kept.size(); ++i)
        if (!parsed[i].is_string() || FromUtf8(parsed[i].get<std::string>()) != kept[i]) __builtin_trap();
    return 0;
}
