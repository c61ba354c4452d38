#include "bridge/BridgeTrust.h"

#include "shared/StringHelpers.h"

namespace Velmora::Shared {

namespace {

bool IsSchemeUnit(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'+' || c == u'-' ||
           c == u'.';
}

} // namespace

Text UriOrigin(TextView Uri) {
    const size_t colon = Uri.find(u':');
    if (colon == 0 || colon == TextView::npos) return {};
    const TextView scheme = Uri.substr(0, colon);
    for (const char16_t c : scheme)
        if (!IsSchemeUnit(c)) return {};
    TextView rest = Uri.substr(colon + 1);
    if (!rest.starts_with(u"//")) return {};
    rest.remove_prefix(2);
    TextView authority = rest.substr(0, rest.find_first_of(u"/?#"));
    if (const size_t at = authority.rfind(u'@'); at != TextView::npos) authority.remove_prefix(at + 1);
    // The port follows the last ":" outside an IPv6 literal's brackets.
    TextView host = authority, port;
    const size_t bracket = authority.rfind(u']');
    const size_t portColon = authority.rfind(u':');
    if (portColon != TextView::npos && (bracket == TextView::npos || portColon > bracket)) {
        host = authority.substr(0, portColon);
        port = authority.substr(portColon + 1);
    }
    if (host.empty()) return {};
    for (const char16_t c : port)
        if (c < u'0' || c > u'9') return {};
    const Text lowerScheme = AsciiLower(scheme);
    while (port.size() > 1 && port.front() == u'0') port.remove_prefix(1);
    if ((lowerScheme == u"http" && port == u"80") || (lowerScheme == u"https" && port == u"443")) port = {};
    Text origin = lowerScheme + u"://" + AsciiLower(host);
    if (!port.empty()) origin.append(u":").append(port);
    return origin;
}

TBridgeTrust::TBridgeTrust(TextView Origins, const Platform::TAppScheme& Scheme)
    : FAppPages(AsciiLower(Scheme.Name) + u":") {
    size_t start = 0;
    while (start < Origins.size()) {
        while (start < Origins.size() && IsBlankUnit(Origins[start])) ++start;
        size_t end = start;
        while (end < Origins.size() && !IsBlankUnit(Origins[end])) ++end;
        if (end > start) {
            // Written as an origin ("https://app.example.com") or as any URI of it.
            const Text origin = UriOrigin(Origins.substr(start, end - start));
            if (!origin.empty()) FOrigins.push_back(origin);
        }
        start = end;
    }
}

bool TBridgeTrust::Trusts(TextView DocumentUri) const {
    if (StartsWithAscii(DocumentUri, FAppPages)) return true;
    if (FOrigins.empty()) return false;
    const Text origin = UriOrigin(DocumentUri);
    if (origin.empty()) return false;
    for (const Text& listed : FOrigins)
        if (listed == origin) return true;
    return false;
}

} // namespace Velmora::Shared
