// Text at the edges: UTF-8 to UTF-16 and back, and the JSON string literals of every reply.
#include "shared/StrUtils.h"
#include "shared/Text.h"

#include <nlohmann/json.hpp>

#include <cstddef>
#include <cstdint>

using namespace Velmora::Shared;

namespace {

bool HasLoneSurrogate(TextView text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF) {
            if (i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) ++i;
            else return true;
        } else if (c >= 0xDC00 && c <= 0xDFFF) {
            return true;
        }
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Text text = FromUtf8(std::string_view(reinterpret_cast<const char*>(data), size));
    // Decoded text survives another round through UTF-8 unchanged.
    if (FromUtf8(ToUtf8(text)) != text) __builtin_trap();
    // The literal is JSON that gives the text back (a lone surrogate has no JSON equivalent).
    const Text literal = TStrUtils::StringToJsonString(text);
    const auto parsed = nlohmann::json::parse(ToUtf8(literal), nullptr, false);
    if (parsed.is_discarded() || !parsed.is_string()) __builtin_trap();
    if (!HasLoneSurrogate(text) && FromUtf8(parsed.get<std::string>()) != text) __builtin_trap();
    // And the raw units, surrogate halves included, as UTF-16 input.
    Text units(size / 2, u'\0');
    for (std::size_t i = 0; i + 1 < size; i += 2) units[i / 2] = static_cast<char16_t>(data[i] | data[i + 1] << 8);
    const auto unitsParsed = nlohmann::json::parse(ToUtf8(TStrUtils::StringToJsonString(units)), nullptr, false);
    if (!HasLoneSurrogate(units) && (unitsParsed.is_discarded() || FromUtf8(unitsParsed.get<std::string>()) != units))
        __builtin_trap();
    return 0;
}
