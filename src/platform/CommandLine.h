// The process's command line and the quoting that gives an argument back unchanged to a program
// we start (a further window's identifier and URI).
#pragma once

#include "shared/Text.h"

#include <vector>

namespace Velmora::Platform {

// The arguments without the program name, split by the platform's rules (Windows: blanks
// separate, double quotes group and are removed, as CommandLineToArgvW reads them).
std::vector<Shared::Text> CommandLineArguments();

// One argument quoted so that the platform's command-line parsing gives it back unchanged:
// Windows as CommandLineToArgvW reads it, Linux as g_shell_parse_argv does.
Shared::Text QuoteCommandLineArgument(Shared::TextView argument);

} // namespace Velmora::Platform
