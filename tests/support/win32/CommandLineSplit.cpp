// Win32: CommandLineToArgvW, the parser every new process applies to its command line.
#include "support/CommandLineSplit.h"

#include "browser/BrowserForm.h"
#include "platform/win32/WinHandles.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <memory>

namespace Velmora::Tests {

std::optional<std::vector<Shared::Text>> SplitCommandLine(Shared::TextView Parameters) {
    // The program name is parsed by other rules: put a plain one first and drop it.
    const std::u16string line = u"velmora.exe " + Shared::Text(Parameters);
    int count = 0;
    const Platform::UniqueLocalMemory<LPWSTR> argv(CommandLineToArgvW(reinterpret_cast<LPCWSTR>(line.c_str()), &count));
    if (!argv) return std::nullopt;
    std::vector<Shared::Text> arguments;
    for (int i = 1; i < count; ++i) arguments.emplace_back(reinterpret_cast<const char16_t*>(argv.get()[i]));
    return arguments;
}

// Ordinary values come out exactly as a further window has always been started: each in double
// quotes, one blank between.
TEST(FurtherWindowParameters, OrdinaryValuesKeepTheClassicText) {
    EXPECT_EQ(Shared::FurtherWindowParameters(u"com.example.app", u"file:///page2.html"),
              u"\"com.example.app\" \"file:///page2.html\"");
}

} // namespace Velmora::Tests
