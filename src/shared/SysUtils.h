// System helpers. Declarations only: each platform implements them under src/platform/<name>/.
#pragma once

#include "shared/Text.h"

namespace Velmora::Shared {

class TSysUtils {
public:
    // Full path of the running process's own executable file.
    static Text GetExeFilePath();

    // The process's command-line arguments without the program name, split by the platform's
    // rules (Windows: blanks separate, double quotes group and are removed).
    static std::vector<Text> GetCommandLineArguments();

    // Bytes without a byte-order mark, decoded in the system's ANSI code page (Windows) or in
    // the character set of the user's locale (Linux).
    static Text DecodeAnsiText(const Bytes& bytes);

    // A plain system message box with the error icon, owned by the active window; returns when
    // the user has closed it. Without a display (Linux), the text goes to standard error.
    static void ShowSystemErrorBox(TextView text, TextView caption);
};

} // namespace Velmora::Shared
