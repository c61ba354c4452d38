// Win32: the wide command line split by the shell's rules (CommandLineToArgvW), and arguments
// quoted so that CommandLineToArgvW (and the C runtime) give them back unchanged: enclosed in double
// quotes, each double quote escaped with a backslash, and the backslashes that precede a double
// quote (or the closing one) doubled.
#include "platform/CommandLine.h"

#include "platform/win32/WinHandles.h"

#include <windows.h>
#include <shellapi.h>

namespace Velmora::Platform {

using namespace Shared;

std::vector<Text> CommandLineArguments() {
    int argc = 0;
    const UniqueLocalMemory<LPWSTR> argv(CommandLineToArgvW(GetCommandLineW(), &argc));
    std::vector<Text> args;
    for (int i = 1; argv && i < argc; ++i) args.emplace_back(reinterpret_cast<const char16_t*>(argv.get()[i]));
    return args;
}

Text QuoteCommandLineArgument(TextView argument) {
    Text quoted(u"\"");
    quoted.reserve(argument.size() + 2);
    size_t backslashes = 0;
    for (const char16_t c : argument) {
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

} // namespace Velmora::Platform
