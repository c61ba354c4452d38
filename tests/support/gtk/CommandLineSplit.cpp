// GTK: g_shell_parse_argv, the parser ShellOpen applies to its argument text.
#include "support/CommandLineSplit.h"

#include "browser/BrowserForm.h"

#include <gtest/gtest.h>

#include <glib.h>

namespace Velmora::Tests {

std::optional<std::vector<Shared::Text>> SplitCommandLine(Shared::TextView Parameters) {
    const std::string text = Shared::ToUtf8(Parameters);
    gint count = 0;
    gchar** argv = nullptr;
    if (!g_shell_parse_argv(text.c_str(), &count, &argv, nullptr)) return std::nullopt;
    std::vector<Shared::Text> arguments;
    for (gint i = 0; i < count; ++i) arguments.push_back(Shared::FromUtf8(argv[i]));
    g_strfreev(argv);
    return arguments;
}

TEST(FurtherWindowParameters, QuotedForTheShell) {
    EXPECT_EQ(Shared::FurtherWindowParameters(u"com.example.app", u"qmt:///page2.html"),
              u"'com.example.app' 'qmt:///page2.html'");
}

} // namespace Velmora::Tests
