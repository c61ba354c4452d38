// Win32: the wide command line split by the shell's rules (CommandLineToArgvW).
#include "shared/SysUtils.h"

#include <windows.h>
#include <shellapi.h>

#include <memory>

namespace Velmora::Shared {

std::vector<Text> TSysUtils::GetCommandLineArguments() {
    int argc = 0;
    struct LocalFreeDeleter {
        void operator()(LPWSTR* p) const { LocalFree(p); }
    };
    std::unique_ptr<LPWSTR, LocalFreeDeleter> argv(CommandLineToArgvW(GetCommandLineW(), &argc));
    std::vector<Text> args;
    for (int i = 1; argv && i < argc; ++i)
        args.emplace_back(reinterpret_cast<const char16_t*>(argv.get()[i]));
    return args;
}

} // namespace Velmora::Shared
