// GTK: one command-line argument quoted for the shell (g_shell_quote), the syntax in which
// TSysUtils::ShellExec reads its argument text (g_shell_parse_argv).
#include "browser/BrowserForm.h"

#include <glib.h>

#include <memory>

namespace Velmora::Shared {

Text QuoteCommandLineArgument(TextView Argument) {
    const std::string utf8 = ToUtf8(Argument);
    const std::unique_ptr<gchar, decltype(&g_free)> quoted(g_shell_quote(utf8.c_str()), &g_free);
    return FromUtf8(quoted.get());
}

} // namespace Velmora::Shared
