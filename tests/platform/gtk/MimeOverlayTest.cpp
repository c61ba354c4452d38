// Linux: the content types of /etc/mime.types (Debian's media-types, installed by the setup
// script) reach the process table and replace built-in rows.
#include "platform/MimeOverlay.h"
#include "shared/StrUtils.h"

#include <gtest/gtest.h>

namespace Velmora::Shared {
namespace {

TEST(SystemMimeTypes, MimeTypesFileOverlaysTheBuiltInRows) {
    EXPECT_FALSE(Platform::ReadSystemMimeTypes().empty());
    const std::vector<std::pair<Text, Text>> types = {
        {u"data/x.json", u"application/json"}, // no built-in row
        {u"font.WOFF2", u"font/woff2"},        {u"app.wasm", u"application/wasm"},
        {u"image.png", u"image/png"}, // built-in says image/x-png
        {u"main.js", u"text/javascript"},      {u"page.html", u"text/html"},
    };
    for (const auto& [name, type] : types) EXPECT_EQ(TStrUtils::GetFileMIMEType(name), type) << ToUtf8(name);
}

} // namespace
} // namespace Velmora::Shared
