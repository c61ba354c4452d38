// Linux: the language of the user's message locale, from the environment in the order the C
// library reads it (LC_ALL, LC_MESSAGES, LANG): "de_DE.UTF-8" gives "de". C/POSIX give "".
#include "platform/UserLanguage.h"

#include <cstdlib>
#include <string>

namespace Velmora::Platform {

using namespace Shared;

Text UserLanguageCode() {
    const char* value = nullptr;
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* v = std::getenv(name);
        if (v && *v) {
            value = v;
            break;
        }
    }
    if (!value) return {};
    std::string locale(value);
    locale = locale.substr(0, locale.find_first_of("_.@"));
    if (locale == "C" || locale == "POSIX") return {};
    return Shared::AsciiLower(Shared::FromUtf8(locale));
}

} // namespace Velmora::Platform
