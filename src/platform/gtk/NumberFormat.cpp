// Linux: the radix character of the user's numeric locale (LC_ALL, LC_NUMERIC, LANG, as the C
// library reads them), asked through a locale object of its own: the process's own LC_NUMERIC
// may have been left at "C" (GTK and WebKit format numbers for machines with it).
#include "platform/NumberFormat.h"

#include "shared/UniqueHandle.h"

#include <langinfo.h>
#include <locale.h>

namespace Velmora::Platform {

namespace {
using LocalePtr = Shared::TUniqueHandle<locale_t, freelocale>;
}

Shared::Text UserDecimalSeparator() {
    const LocalePtr user(newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(nullptr)));
    if (!user) return u".";
    // Text in the locale's own character set; UTF-8 in every locale we meet.
    const char* radix = nl_langinfo_l(RADIXCHAR, user.get());
    return radix != nullptr && *radix ? Shared::FromUtf8(radix) : Shared::Text(u".");
}

} // namespace Velmora::Platform
