// The rules of answers the engine treats like HTTP responses: which types name a character set,
// and what a Range header asks of a body.
#include "shared/HttpAnswer.h"

#include <gtest/gtest.h>

namespace Velmora::Shared {
namespace {

TEST(HttpAnswer, CharacterSetForTextTypesOnly) {
    const std::pair<const char*, const char*> cases[] = {
        {"text/html", "text/html; charset=utf-8"},
        {"text/css", "text/css; charset=utf-8"},
        {"TEXT/Plain", "TEXT/Plain; charset=utf-8"},
        {"application/javascript", "application/javascript; charset=utf-8"},
        {"text/javascript", "text/javascript; charset=utf-8"},
        {"application/json", "application/json; charset=utf-8"},
        {"application/manifest+json", "application/manifest+json; charset=utf-8"},
        {"application/xml", "application/xml; charset=utf-8"},
        {"image/svg+xml", "image/svg+xml; charset=utf-8"},
        {"application/xhtml+xml", "application/xhtml+xml; charset=utf-8"},
        {"application/wasm", "application/wasm"},
        {"application/octet-stream", "application/octet-stream"},
        {"image/png", "image/png"},
        {"image/x-png", "image/x-png"},
        {"font/woff2", "font/woff2"},
        {"video/webm", "video/webm"},
        {"audio/ogg", "audio/ogg"},
        {"application/pdf", "application/pdf"},
        {"application/jsonl-not-json", "application/jsonl-not-json"},
        {"", ""},
    };
    for (const auto& [type, value] : cases) EXPECT_EQ(ContentTypeValue(type), value) << type;
}

TEST(HttpAnswer, RangeHeaders) {
    using K = TByteRange::TKind;
    struct TCase {
        const char* Header;
        std::uint64_t Size;
        K Kind;
        std::uint64_t First, Last;
    };
    const TCase cases[] = {
        {"bytes=0-99", 1000, K::Part, 0, 99},
        {"bytes=100-", 1000, K::Part, 100, 999},
        {"bytes=900-2000", 1000, K::Part, 900, 999},
        {"bytes=-10", 1000, K::Part, 990, 999},
        {"bytes=-5000", 1000, K::Part, 0, 999},
        {"  Bytes = 5 - 6 ", 1000, K::Part, 5, 6},
        {"bytes=999-999", 1000, K::Part, 999, 999},
        {"bytes=1000-", 1000, K::Unsatisfiable, 0, 0},
        {"bytes=0-", 0, K::Unsatisfiable, 0, 0},
        {"bytes=-0", 1000, K::Unsatisfiable, 0, 0},
        {"bytes=-1", 0, K::Unsatisfiable, 0, 0},
        {"bytes=5-4", 1000, K::Whole, 0, 0},
        {"bytes=0-1,5-6", 1000, K::Whole, 0, 0},
        {"items=0-1", 1000, K::Whole, 0, 0},
        {"bytes=a-b", 1000, K::Whole, 0, 0},
        {"bytes=-", 1000, K::Whole, 0, 0},
        {"bytes=+1-2", 1000, K::Whole, 0, 0},
        {"bytes=99999999999999999999-", 1000, K::Whole, 0, 0},
        {"", 1000, K::Whole, 0, 0},
    };
    for (const TCase& c : cases) {
        const TByteRange range = ParseRangeHeader(c.Header, c.Size);
        EXPECT_EQ(range.Kind, c.Kind) << c.Header;
        if (c.Kind == K::Part) {
            EXPECT_EQ(std::make_pair(range.First, range.Last), std::make_pair(c.First, c.Last)) << c.Header;
        }
    }
}

} // namespace
} // namespace Velmora::Shared
