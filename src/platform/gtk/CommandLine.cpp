// Linux: the arguments the process was started with, from /proc/self/cmdline (NUL-separated,
// already split by the caller's shell or exec call).
#include "shared/SysUtils.h"

#include <fstream>
#include <iterator>
#include <string>

namespace Velmora::Shared {

std::vector<Text> TSysUtils::GetCommandLineArguments() {
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

} // namespace Velmora::Shared
