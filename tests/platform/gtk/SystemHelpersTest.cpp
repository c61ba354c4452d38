// Linux system helpers on the real system: XDG folders, error texts, recursive delete, the
// environment seen by children, starting programs and waiting for them.
#include "shared/SysUtils.h"

#include <gtest/gtest.h>

#include <glib.h>
#include <sys/resource.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

using namespace Velmora::Shared;
namespace fs = std::filesystem;

namespace {

// Sets (or, with nullopt, unsets) an environment variable for the scope of a test.
class ScopedEnv {
public:
    ScopedEnv(const char* name, std::optional<std::string> value) : FName(name) {
        if (const char* old = std::getenv(name)) FOld = old;
        if (value) setenv(name, value->c_str(), 1);
        else unsetenv(name);
    }
    ~ScopedEnv() {
        if (FOld) setenv(FName, FOld->c_str(), 1);
        else unsetenv(FName);
    }

private:
    const char* FName;
    std::optional<std::string> FOld;
};

class TempDir {
public:
    TempDir() {
        std::string pattern = (fs::temp_directory_path() / "velmora-sys-XXXXXX").string();
        FPath = mkdtemp(pattern.data());
    }
    ~TempDir() {
        std::error_code ec;
        fs::permissions(FPath, fs::perms::owner_all, ec);
        fs::remove_all(FPath, ec);
    }
    const fs::path& path() const { return FPath; }

private:
    fs::path FPath;
};

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool WaitForFile(const fs::path& path, int timeoutMs = 5000) {
    for (int waited = 0; waited < timeoutMs; waited += 20) {
        std::error_code ec;
        if (fs::exists(path, ec) && fs::file_size(path, ec) > 0) return true;
        g_usleep(20000);
    }
    return false;
}

void WriteScript(const fs::path& path, const std::string& body) {
    std::ofstream(path) << "#!/bin/sh\n" << body << "\n";
    fs::permissions(path, fs::perms::owner_all);
}

// What a child shell sees of a variable: "<unset>" or its value.
std::string ChildSees(const char* name) {
    const std::string script =
        std::string("if [ -n \"${") + name + "+x}\" ]; then printf %s \"$" + name + "\"; else printf '<unset>'; fi";
    const char* argv[] = {"/bin/sh", "-c", script.c_str(), nullptr};
    gchar* out = nullptr;
    EXPECT_TRUE(g_spawn_sync(nullptr, const_cast<gchar**>(argv), nullptr, G_SPAWN_DEFAULT, nullptr, nullptr, &out,
                             nullptr, nullptr, nullptr));
    std::string text = out ? out : "";
    g_free(out);
    return text;
}

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

} // namespace

struct FolderCase {
    const char* label;
    const char* variable;
    std::optional<std::string> value;
    Text (*get)();
    std::string expected; // with "~" for $HOME
};

class XdgFolders : public ::testing::TestWithParam<FolderCase> {};

TEST_P(XdgFolders, FollowTheEnvironmentWithTrailingSlash) {
    const auto& c = GetParam();
    ScopedEnv home("HOME", "/home/velmora-test");
    ScopedEnv variable(c.variable, c.value);
    std::string expected = c.expected;
    if (expected[0] == '~') expected = "/home/velmora-test" + expected.substr(1);
    EXPECT_EQ(ToUtf8(c.get()), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Linux, XdgFolders,
    ::testing::Values(
        FolderCase{"DataHomeSet", "XDG_DATA_HOME", "/srv/data", TSysUtils::GetLocalAppDataDirPath, "/srv/data/"},
        FolderCase{"DataHomeUnset", "XDG_DATA_HOME", std::nullopt, TSysUtils::GetLocalAppDataDirPath,
                   "~/.local/share/"},
        FolderCase{"DataHomeRelativeIgnored", "XDG_DATA_HOME", "rel/data", TSysUtils::GetLocalAppDataDirPath,
                   "~/.local/share/"},
        FolderCase{"ConfigHomeSetWithSlash", "XDG_CONFIG_HOME", "/srv/conf/", TSysUtils::GetUserAppDataDirPath,
                   "/srv/conf/"},
        FolderCase{"ConfigHomeUnset", "XDG_CONFIG_HOME", std::nullopt, TSysUtils::GetUserAppDataDirPath, "~/.config/"},
        FolderCase{"TmpDirSet", "TMPDIR", "/var/tmp", TSysUtils::GetTempDirPath, "/var/tmp/"},
        FolderCase{"TmpDirUnset", "TMPDIR", std::nullopt, TSysUtils::GetTempDirPath, "/tmp/"}),
    [](const auto& info) { return std::string(info.param.label); });

// GLib reads the user folders once per process, so each look-up runs in a fresh child.
TEST(XdgUserFolders, DocumentsFromUserDirsDesktopAndUnsetFallBack) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            TempDir dir;
            const fs::path config = dir.path() / "config";
            fs::create_directories(config);
            std::ofstream(config / "user-dirs.dirs") << "XDG_DOCUMENTS_DIR=\"$HOME/Papers\"\n";
            setenv("HOME", dir.path().c_str(), 1);
            setenv("XDG_CONFIG_HOME", config.c_str(), 1);
            const std::string home = dir.path().string();
            const std::string docs = ToUtf8(TSysUtils::GetUserDocumentsDirPath());
            const std::string desk = ToUtf8(TSysUtils::GetUserDesktopDirPath());
            const bool ok = docs == home + "/Papers/" && desk == home + "/Desktop/";
            if (!ok) fprintf(stderr, "documents=%s desktop=%s\n", docs.c_str(), desk.c_str());
            std::_Exit(ok ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_EXIT(
        {
            TempDir dir;
            setenv("HOME", dir.path().c_str(), 1);
            setenv("XDG_CONFIG_HOME", (dir.path() / "none").c_str(), 1);
            const std::string docs = ToUtf8(TSysUtils::GetUserDocumentsDirPath());
            // No documents folder configured: the home folder, never "/".
            const bool ok = docs == dir.path().string() + "/";
            if (!ok) fprintf(stderr, "documents=%s\n", docs.c_str());
            std::_Exit(ok ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST(SystemErrorText, IsTheSystemMessageWithoutTrailingPeriodOrBlanks) {
    EXPECT_EQ(TSysUtils::GetSystemErrorText(EACCES), u"Permission denied");
    EXPECT_EQ(TSysUtils::GetSystemErrorText(ENOENT), u"No such file or directory");
    EXPECT_EQ(TSysUtils::GetSystemErrorText(99999), u"");
    EXPECT_EQ(TSysUtils::GetSystemErrorText(0xFFFFFFFFu), u"");
    errno = EEXIST;
    EXPECT_EQ(TSysUtils::GetLastErrorCode(), static_cast<std::uint32_t>(EEXIST));
}

TEST(DeleteDirectory, RemovesTreesAndFilesButNotWhatLinksPointTo) {
    TempDir dir;
    const fs::path outside = dir.path() / "outside";
    fs::create_directories(outside);
    std::ofstream(outside / "keep.txt") << "keep";
    const fs::path tree = dir.path() / "tree";
    fs::create_directories(tree / "a" / "b");
    std::ofstream(tree / "a" / "b" / "f.txt") << "x";
    fs::create_directory_symlink(outside, tree / "link");

    EXPECT_TRUE(TSysUtils::DeleteDirectory(FromPath(tree)));
    EXPECT_FALSE(fs::exists(tree));
    EXPECT_TRUE(fs::exists(outside / "keep.txt"));

    EXPECT_TRUE(TSysUtils::DeleteDirectory(FromPath(outside / "keep.txt")));
    EXPECT_FALSE(fs::exists(outside / "keep.txt"));

    EXPECT_FALSE(TSysUtils::DeleteDirectory(FromPath(dir.path() / "missing")));
    EXPECT_EQ(TSysUtils::GetLastErrorCode(), static_cast<std::uint32_t>(ENOENT));
    EXPECT_FALSE(TSysUtils::DeleteDirectory(u""));
}

TEST(Environment, SetAndRemoveReachChildProcesses) {
    TSysUtils::SetEnvironmentVariable(u"VELMORA_TEST_VAR", u"wert \u00FC \"q\"");
    EXPECT_EQ(ChildSees("VELMORA_TEST_VAR"), "wert \xC3\xBC \"q\"");
    TSysUtils::SetEnvironmentVariable(u"VELMORA_TEST_VAR", u"");
    EXPECT_EQ(ChildSees("VELMORA_TEST_VAR"), "");
    TSysUtils::RemoveEnvironmentVariable(u"VELMORA_TEST_VAR");
    EXPECT_EQ(ChildSees("VELMORA_TEST_VAR"), "<unset>");
}

TEST(ShellExec, StartsProgramsWithShellSplitArguments) {
    TempDir dir;
    const fs::path script = dir.path() / "record args";
    const fs::path out = dir.path() / "out.txt";
    WriteScript(script, "printf '[%s]' \"$@\" > \"" + out.string() + ".part\" && mv \"" + out.string() + ".part\" \"" +
                            out.string() + "\"");
    ASSERT_TRUE(TSysUtils::ShellExec(FromPath(script), u"\"a b\" c 'd \"e\"' \u00E9"));
    ASSERT_TRUE(WaitForFile(out));
    EXPECT_EQ(ReadFile(out), "[a b][c][d \"e\"][\xC3\xA9]");

    // A bare name is looked up on PATH.
    const fs::path marker = dir.path() / "marker";
    ASSERT_TRUE(TSysUtils::ShellExec(u"sh", FromUtf8("-c 'echo ok > \"" + marker.string() + "\"'")));
    ASSERT_TRUE(WaitForFile(marker));
    EXPECT_EQ(ReadFile(marker), "ok\n");
}

TEST(ShellExec, ReportsWhatCannotBeStarted) {
    TempDir dir;
    EXPECT_FALSE(TSysUtils::ShellExec(FromPath(dir.path() / "missing.txt"), u""));
    EXPECT_EQ(TSysUtils::GetLastErrorCode(), static_cast<std::uint32_t>(ENOENT));
    EXPECT_FALSE(TSysUtils::ShellExec(u"/bin/sh", u"-c 'unbalanced"));
    EXPECT_EQ(TSysUtils::GetLastErrorCode(), static_cast<std::uint32_t>(EINVAL));
    EXPECT_FALSE(TSysUtils::GetSystemErrorText(TSysUtils::GetLastErrorCode()).empty());
}

struct WaitCase {
    const char* label;
    std::string program;
    const char16_t* params;
    std::uint32_t expected;
};

class ShellExecAndWait : public ::testing::TestWithParam<WaitCase> {};

TEST_P(ShellExecAndWait, ReturnsTheExitCodeOrZero) {
    const auto& c = GetParam();
    TempDir dir;
    std::string program = c.program;
    if (program == "<document>") { // a file without execute permission
        program = (dir.path() / "notes.txt").string();
        std::ofstream(program) << "exit 5\n";
    }
    EXPECT_EQ(TSysUtils::ShellExecAsAdminAndWait(nullptr, FromUtf8(program), c.params), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Linux, ShellExecAndWait,
                         ::testing::Values(WaitCase{"ExitCode", "/bin/sh", u"-c 'exit 7'", 7},
                                           WaitCase{"NoParams", "/bin/true", u"", 0},
                                           WaitCase{"FoundOnPath", "sh", u"-c 'exit 3'", 3},
                                           WaitCase{"KilledBySignal", "/bin/sh", u"-c 'kill -TERM $$'", 128 + 15},
                                           WaitCase{"Missing", "/nonexistent/installer.exe", u"/silent /install", 0},
                                           WaitCase{"NotAProgram", "<document>", u"", 0}),
                         [](const auto& info) { return std::string(info.param.label); });

TEST(ShellExecAndWaitLoop, ServesTheMainLoopWithoutSpinning) {
    int ticks = 0;
    const guint timer = g_timeout_add(
        20,
        [](gpointer data) -> gboolean {
            ++*static_cast<int*>(data);
            return G_SOURCE_CONTINUE;
        },
        &ticks);
    const double cpuBefore = CpuSeconds();
    const gint64 start = g_get_monotonic_time();
    EXPECT_EQ(TSysUtils::ShellExecAsAdminAndWait(nullptr, u"/bin/sleep", u"0.5"), 0u);
    const double elapsed = (g_get_monotonic_time() - start) / 1e6;
    const double cpu = CpuSeconds() - cpuBefore;
    g_source_remove(timer);
    EXPECT_GE(elapsed, 0.45);
    EXPECT_GE(ticks, 10) << "the main loop was not served while waiting";
    EXPECT_LT(cpu, 0.2) << "the wait burnt " << cpu << " s of CPU in " << elapsed << " s";
}
