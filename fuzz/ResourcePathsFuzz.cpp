// The resource path derivation: any URI against both platforms' app schemes.
#include "browser/ResourceServing.h"

#include <cstddef>
#include <cstdint>

using namespace Velmora;
using namespace Velmora::Shared;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Text uri = FromUtf8(std::string_view(reinterpret_cast<const char*>(data), size));
    const Platform::TAppScheme schemes[] = {{u"file", u"file:///", u"", u'\\'}, {u"qmt", u"qmt:///", u"/", u'/'}};
    for (const auto& scheme : schemes) {
        const auto sources = DeriveResourceSources(uri, u"app", u"/opt/app/", scheme);
        if (!sources) continue;
        // No source keeps the query, and the payload entry stays below the app's folder name.
        if (sources->PayloadEntry.rfind(u"app/", 0) != 0) __builtin_trap();
        if (sources->MimeType.empty()) __builtin_trap();
    }
    return 0;
}
