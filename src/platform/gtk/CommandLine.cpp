// Linux: the arguments the process was started with, from /proc/self/cmdline (NUL-separated,
// already split by the caller's shell or exec call), and arguments quoted for the shell, the
// syntax in which ShellOpen reads its argument text (g_shell_parse_argv).
#include "platform/CommandLine.h"

#include <fstream>
#include <iterator>
#include <string>

namespace Velmora::Platform {

using namespace Shared;

std::vector<Text> CommandLineArguments() {
    std::ifstream in("/proc/self/cmdline", std::ios::binary);
    const std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<Text> args;
    size_t start = 0;
    bool first = true;
    while (start < all.size()) {
        size_t end = all.find('\0', start);
        if (end == std::string::npos) end = all.size();
        if (!first) args.push_back(FromUtf8(std::string_view(all).substr(start, end - start)));
        first = false;
        start = end + 1;
    }
    return args;
}

Text QuoteCommandLineArgument(TextView argument) {
    // Single quotes keep everything as written; a quote itself ends them, is escaped and they
    // start again, as g_shell_quote writes it.
    Text quoted(u"'");
    for (const char16_t c : argument) {
        if (c == u'\'') quoted.append(u"'\\''");
        else quoted.push_back(c);
    }
    quoted.push_back(u'\'');
    return quoted;
}

} // namespace Velmora::Platform
