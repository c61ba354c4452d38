// Win32: the decimal separator of the user's regional settings (GetLocaleInfoW, LOCALE_SDECIMAL).
#include "platform/NumberFormat.h"

#include <windows.h>

namespace Velmora::Platform {

Shared::Text UserDecimalSeparator() {
    wchar_t separator[8] = {};
    const int n = GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8);
    if (n <= 1) return u".";
    return Shared::Text(reinterpret_cast<const char16_t*>(separator), static_cast<size_t>(n - 1));
}

} // namespace Velmora::Platform
