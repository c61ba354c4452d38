// Win32: ISO 639 language name of the user's default locale (GetLocaleInfoW).
#include "platform/UserLanguage.h"

#include <windows.h>

namespace Velmora::Platform {

using namespace Shared;

Text UserLanguageCode() {
    wchar_t name[16] = {};
    const int n = GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SISO639LANGNAME, name, 16);
    if (n <= 1) return {};
    return Text(reinterpret_cast<const char16_t*>(name), static_cast<size_t>(n - 1));
}

} // namespace Velmora::Platform
