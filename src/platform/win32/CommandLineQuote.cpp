// Win32: one command-line argument quoted so that CommandLineToArgvW (and the C runtime) give it
// back unchanged: enclosed in double quotes, each double quote escaped with a backslash, and the
// backslashes that precede a double quote (or the closing one) doubled.
#include "browser/BrowserForm.h"

namespace Velmora::Shared {

Text QuoteCommandLineArgument(TextView Argument) {
    Text quoted(u"\"");
    quoted.reserve(Argument.size() + 2);
    size_t backslashes = 0;
    for (const char16_t c : Argument) {
        if (c == u'\\') {
            ++backslashes;
            continue;
        }
        // Backslashes count only before a double quote; there each one is escaped.
        quoted.append(c == u'"' ? 2 * backslashes + 1 : backslashes, u'\\');
        quoted.push_back(c);
        backslashes = 0;
    }
    quoted.append(2 * backslashes, u'\\'); // before the closing quote
    quoted.push_back(u'"');
    return quoted;
}

} // namespace Velmora::Shared
