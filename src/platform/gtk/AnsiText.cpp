// Linux: text without byte-order mark is read in the character set of the user's locale
// (LC_CTYPE from the environment), through iconv. The plain C locale reads as ISO-8859-1, so
// no byte is ever lost; a byte the character set cannot decode becomes U+FFFD.
#include "platform/AnsiText.h"

#include <iconv.h>
#include <langinfo.h>
#include <locale.h>

#include <cerrno>
#include <string>

namespace Velmora::Platform {

using namespace Shared;

namespace {

std::string LocaleCharset() {
    locale_t loc = newlocale(LC_CTYPE_MASK, "", static_cast<locale_t>(nullptr));
    if (!loc) loc = newlocale(LC_CTYPE_MASK, "C", static_cast<locale_t>(nullptr));
    std::string codeset = loc ? nl_langinfo_l(CODESET, loc) : "";
    if (loc) freelocale(loc);
    if (codeset.empty() || codeset == "ANSI_X3.4-1968" || codeset == "ASCII") return "ISO-8859-1";
    return codeset;
}

struct IconvHandle {
    iconv_t cd;
    explicit IconvHandle(const char* from) : cd(iconv_open("UTF-8", from)) {}
    ~IconvHandle() {
        if (cd != reinterpret_cast<iconv_t>(-1)) iconv_close(cd);
    }
    bool ok() const { return cd != reinterpret_cast<iconv_t>(-1); }
};

} // namespace

Text DecodeAnsiText(const Bytes& bytes) {
    if (bytes.empty()) return {};
    IconvHandle conv(LocaleCharset().c_str());
    if (!conv.ok()) return FromUtf8({reinterpret_cast<const char*>(bytes.data()), bytes.size()});

    std::string out;
    char* in = const_cast<char*>(reinterpret_cast<const char*>(bytes.data()));
    size_t inLeft = bytes.size();
    char buffer[4096];
    while (inLeft > 0) {
        char* dst = buffer;
        size_t dstLeft = sizeof buffer;
        const size_t rc = iconv(conv.cd, &in, &inLeft, &dst, &dstLeft);
        out.append(buffer, static_cast<size_t>(dst - buffer));
        if (rc == static_cast<size_t>(-1) && errno != E2BIG) {
            out += "\xEF\xBF\xBD"; // undecodable or truncated byte
            ++in;
            --inLeft;
        }
    }
    return FromUtf8(out);
}

} // namespace Velmora::Platform
