// What an answer of the app scheme carries where the engine treats it like an HTTP response
// (WebKitGTK): the content type's character set for text types only, and byte ranges.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace Velmora::Shared {

// Text types: text/*, JavaScript, JSON and XML (with the "+json" and "+xml" families, so SVG and
// XHTML count). Parameters after ";" are ignored; letter case does not matter.
bool IsTextMimeType(std::string_view mimeType);

// The Content-Type value for mimeType: "; charset=utf-8" added for text types only, since the
// engine refuses WebAssembly streaming (and mislabels other binaries) with a character set.
std::string ContentTypeValue(std::string_view mimeType);

// A Range request header as far as it concerns a body of size bytes.
struct TByteRange {
    enum class TKind : std::uint8_t {
        Whole,         // no usable header (none, another unit, several ranges, malformed): 200
        Part,          // First..Last inclusive: 206
        Unsatisfiable, // a range that starts at or beyond the end: 416
    };
    TKind Kind = TKind::Whole;
    std::uint64_t First = 0;
    std::uint64_t Last = 0;
};

// "bytes=a-b", "bytes=a-" and "bytes=-n" (the last n bytes), blanks around the parts allowed;
// Last is clipped to the end of the body.
TByteRange ParseRangeHeader(std::string_view value, std::uint64_t size);

} // namespace Velmora::Shared
