// Command lines through /bin/sh with their output captured, on real processes: bytes decoded
// once at the end (a character across any read boundary, a zero byte), standard error in its
// place, processes that inherited the output awaited, the working folder.
#include "platform/ShellCommand.h"

#include "support/ScopedEnv.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>

using namespace Velmora::Platform;
using Velmora::Shared::FromUtf8;
using Velmora::Shared::Text;

namespace {

Text RunShell(const std::string& command, const std::string& folder = "") {
    const auto result = RunCommandCapturingOutput(FromUtf8(command), FromUtf8(folder), false);
    EXPECT_TRUE(result.Status.Succeeded) << command;
    return result.Value;
}

TEST(ShellCommand, OutputIsDecodedOnceWhateverTheReadBoundaries) {
    const ScopedEnv utf8("LC_ALL", "C.UTF-8");
    EXPECT_EQ(RunShell("echo hi"), u"hi\n");
    // A two-byte and a four-byte character straddling the 255- and 4096-byte marks.
    for (int before : {254, 253, 4095, 4094}) {
        const Text got = RunShell("printf '%" + std::to_string(before) + "s' '' | tr ' ' a; printf 'é😀z'");
        EXPECT_EQ(got, Text(static_cast<std::size_t>(before), u'a') + u"é😀z") << before;
    }
    EXPECT_EQ(RunShell("printf 'a\\000b\\000'"), Text(u"a\0b\0", 4));
    EXPECT_EQ(RunShell(R"(printf '%s\n' '"quoted" back\slash \\n')"), u"\"quoted\" back\\slash \\\\n\n");
}

TEST(ShellCommand, StandardErrorInItsPlaceAndInheritorsAwaited) {
    EXPECT_EQ(RunShell("echo out; echo err >&2; echo out2; echo err2 1>&2"), u"out\nerr\nout2\nerr2\n");
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(RunShell("(sleep 1; echo late) & echo early"), u"early\nlate\n");
    EXPECT_GE(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(900));
    EXPECT_NE(RunShell("no-such-command-velmora").find(u"not found"), Text::npos);
}

TEST(ShellCommand, WorkingFolderAndOneThatDoesNotExist) {
    const std::string folder = std::filesystem::temp_directory_path().string();
    EXPECT_EQ(RunShell("pwd", folder), FromUtf8(folder + "\n"));
    const auto missing = RunCommandCapturingOutput(u"echo never", u"/no/such/folder/velmora", false);
    EXPECT_FALSE(missing.Status.Succeeded);
    EXPECT_EQ(missing.Value, u"");
}

} // namespace
