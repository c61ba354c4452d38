// The Win32 system helpers against the real system under Wine: shell folders, error texts,
// silent deletion, the WebView2 check with the test loader library, the process environment as
// a child process sees it, and the corner preferences of our forms.
#include "shared/SysUtils.h"

#include "ChildProcess.h"
#include "platform/win32/Win11Forms.h"

#include <gtest/gtest.h>

#include <windows.h>
// <windows.h> would rename the member below to its W form.
#undef SetEnvironmentVariable

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>

namespace Velmora::Shared {
namespace {

namespace fs = std::filesystem;
using Tests::RunTestChild;

std::wstring W(const Text& text) { return std::wstring(text.begin(), text.end()); }

std::wstring Env(const wchar_t* name) {
    wchar_t value[512] = {};
    const DWORD n = GetEnvironmentVariableW(name, value, 512);
    return n && n < 512 ? std::wstring(value, n) : std::wstring();
}

bool EnvExists(const wchar_t* name) {
    SetLastError(0);
    return GetEnvironmentVariableW(name, nullptr, 0) != 0 || GetLastError() != ERROR_ENVVAR_NOT_FOUND;
}

// A scratch folder of this process, removed at the end.
class TempFolder {
public:
    TempFolder() : FPath(fs::temp_directory_path() / ("velmora-sys-" + std::to_string(GetCurrentProcessId()))) {
        fs::create_directories(FPath);
    }
    ~TempFolder() {
        std::error_code ec;
        fs::remove_all(FPath, ec);
    }
    fs::path operator/(const char* name) const { return FPath / name; }

private:
    fs::path FPath;
};

void WriteFile(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

// --- shell folders ---------------------------------------------------------------------------

TEST(ShellFolders, EachEndsWithABackslashAndNamesAFolderThatExists) {
    const std::pair<const char*, std::function<Text()>> folders[] = {
        {"local app data", TSysUtils::GetLocalAppDataDirPath},
        {"app data", TSysUtils::GetUserAppDataDirPath},
        {"documents", TSysUtils::GetUserDocumentsDirPath},
        {"desktop", TSysUtils::GetUserDesktopDirPath},
        {"temp", TSysUtils::GetTempDirPath},
    };
    for (const auto& [name, get] : folders) {
        const Text path = get();
        SCOPED_TRACE(name);
        ASSERT_GT(path.size(), 3u) << "the lookup failed";
        EXPECT_EQ(path.back(), u'\\');
        EXPECT_NE(path[path.size() - 2], u'\\') << "doubled backslash";
        EXPECT_NE(GetFileAttributesW(W(path).c_str()), INVALID_FILE_ATTRIBUTES);
    }
    EXPECT_EQ(TSysUtils::PathDelimiter, u'\\');
}

TEST(ShellFolders, TempFolderInItsLongForm) {
    const std::wstring temp = W(TSysUtils::GetTempDirPath());
    wchar_t longForm[MAX_PATH] = {};
    ASSERT_NE(GetLongPathNameW(temp.c_str(), longForm, MAX_PATH), 0u);
    EXPECT_EQ(temp, longForm);
    EXPECT_EQ(temp.find(L'~'), std::wstring::npos);
}

// --- system error text -----------------------------------------------------------------------

TEST(SystemErrorText, SystemMessageWithoutTrailingPeriodAndLineBreak) {
    for (const std::uint32_t code : {5u, 2u, 183u}) {
        SCOPED_TRACE(code);
        wchar_t raw[512] = {};
        ASSERT_NE(FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, raw, 512,
                                 nullptr),
                  0u);
        const std::wstring text = W(TSysUtils::GetSystemErrorText(code));
        ASSERT_FALSE(text.empty());
        EXPECT_NE(text.back(), L'.');
        EXPECT_GT(text.back(), L' ');
        // Only periods and blanks were taken off the system's own text.
        const std::wstring full(raw);
        ASSERT_EQ(full.compare(0, text.size(), text), 0)
            << "not a prefix of: " << std::string(full.begin(), full.end());
        for (wchar_t c : full.substr(text.size())) EXPECT_TRUE(c == L'.' || c <= L' ');
    }
    EXPECT_EQ(TSysUtils::GetSystemErrorText(0x2FFFFFFF), u"") << "a code without a message";
    SetLastError(ERROR_ACCESS_DENIED);
    EXPECT_EQ(TSysUtils::GetLastErrorCode(), 5u);
}

// --- deletion --------------------------------------------------------------------------------

TEST(DeleteDirectory, WholeTreesAndFilesSilentlyAMissingFolderIsFalse) {
    TempFolder temp;
    WriteFile(temp / "tree" / "a.txt", "a");
    WriteFile(temp / "tree" / "sub" / "deeper" / "b.bin", std::string(5000, '\0'));
    WriteFile(temp / "single.txt", "x");
    const auto text = [](const fs::path& p) { return p.u16string(); };

    EXPECT_TRUE(TSysUtils::DeleteDirectory(text(temp / "tree")));
    EXPECT_FALSE(fs::exists(temp / "tree"));
    EXPECT_TRUE(TSysUtils::DeleteDirectory(text(temp / "single.txt"))); // a file goes too
    EXPECT_FALSE(fs::exists(temp / "single.txt"));
    EXPECT_FALSE(TSysUtils::DeleteDirectory(text(temp / "missing")));
}

// --- WebView2 check --------------------------------------------------------------------------

class EdgeCheck : public ::testing::Test {
protected:
    void TearDown() override { TSysUtils::RemoveEnvironmentVariable(u"VELMORA_TEST_WEBVIEW2_VERSION"); }
    static Text Loader() { return fs::path(VELMORA_TEST_LOADER_PATH).u16string(); }
};

TEST_F(EdgeCheck, TheLoaderDecidesByTheVersionItReports) {
    struct Case {
        const char* Name;
        const char16_t* Version; // null: variable unset
        bool Expected;
    };
    for (const Case& c :
         {Case{"version", u"120.0.2210.91", true}, Case{"unset", nullptr, false}, Case{"empty", u"", false}}) {
        SCOPED_TRACE(c.Name);
        if (c.Version) TSysUtils::SetEnvironmentVariable(u"VELMORA_TEST_WEBVIEW2_VERSION", c.Version);
        else TSysUtils::RemoveEnvironmentVariable(u"VELMORA_TEST_WEBVIEW2_VERSION");
        EXPECT_EQ(TSysUtils::CheckEdgeIsInstalled(Loader()), c.Expected);
        EXPECT_EQ(GetModuleHandleW(W(Loader()).c_str()), nullptr) << "the library stayed loaded";
    }
}

TEST_F(EdgeCheck, MissingEmptyOrForeignLibrariesAreNoRuntime) {
    TSysUtils::SetEnvironmentVariable(u"VELMORA_TEST_WEBVIEW2_VERSION", u"120.0");
    TempFolder temp;
    WriteFile(temp / "WebView2LoaderWin32.dll", "");
    EXPECT_FALSE(TSysUtils::CheckEdgeIsInstalled((temp / "WebView2LoaderWin32.dll").u16string())) << "empty file";
    EXPECT_FALSE(TSysUtils::CheckEdgeIsInstalled((temp / "missing.dll").u16string())) << "no file";
    // A library without the export.
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    EXPECT_FALSE(TSysUtils::CheckEdgeIsInstalled((fs::path(system) / "version.dll").u16string()));
    // A bare name with no such file here is not looked for in the system's folders.
    ASSERT_EQ(GetModuleHandleW(L"msimg32.dll"), nullptr);
    EXPECT_FALSE(TSysUtils::CheckEdgeIsInstalled(u"msimg32.dll"));
    EXPECT_EQ(GetModuleHandleW(L"msimg32.dll"), nullptr) << "loaded although no file exists at the path";
}

// --- environment -----------------------------------------------------------------------------

// Run in a child only: exits 20 when VELMORA_TEST_PROBE is absent, 21 when it holds the
// expected text, 22 otherwise.
TEST(ChildProbe, Environment) {
    if (Env(L"VELMORA_TEST_CHILD") != L"env") GTEST_SKIP() << "runs as a child of EnvironmentTest only";
    if (!EnvExists(L"VELMORA_TEST_PROBE")) std::exit(20);
    std::exit(Env(L"VELMORA_TEST_PROBE") == L"C:\\data folder\\Win32\\ \u00fc" ? 21 : 22);
}

TEST(Environment, SetAndRemoveReachTheProcessAndItsChildren) {
    TSysUtils::SetEnvironmentVariable(u"VELMORA_TEST_CHILD", u"env");
    TSysUtils::SetEnvironmentVariable(u"VELMORA_TEST_PROBE", u"C:\\data folder\\Win32\\ \u00fc");
    EXPECT_EQ(Env(L"VELMORA_TEST_PROBE"), L"C:\\data folder\\Win32\\ \u00fc");
    EXPECT_EQ(RunTestChild(L"ChildProbe.Environment"), 21);

    TSysUtils::RemoveEnvironmentVariable(u"VELMORA_TEST_PROBE");
    EXPECT_FALSE(EnvExists(L"VELMORA_TEST_PROBE"));
    EXPECT_EQ(RunTestChild(L"ChildProbe.Environment"), 20);

    // An empty value is a value, not a removal.
    TSysUtils::SetEnvironmentVariable(u"VELMORA_TEST_PROBE", u"");
    EXPECT_TRUE(EnvExists(L"VELMORA_TEST_PROBE"));
    TSysUtils::RemoveEnvironmentVariable(u"VELMORA_TEST_PROBE");
    TSysUtils::RemoveEnvironmentVariable(u"VELMORA_TEST_CHILD");
}

// --- rounded corners -------------------------------------------------------------------------

TEST(RoundedCorners, PreferenceOfEachSettingUnderEachProcessDefault) {
    using namespace Platform;
    struct Case {
        TRoundedCornerType Corners, ProcessDefault;
        std::uint32_t Expected;
    };
    for (const Case& c : {Case{rcOff, rcOn, 1}, Case{rcOn, rcOff, 2}, Case{rcSmall, rcDefault, 3},
                          Case{rcOff, rcSmall, 1}, Case{rcDefault, rcOn, 2}, Case{rcDefault, rcSmall, 3},
                          Case{rcDefault, rcOff, 1}, Case{rcDefault, rcDefault, 0}}) {
        EXPECT_EQ(CornerPreference(c.Corners, c.ProcessDefault), c.Expected)
            << "corners " << c.Corners << ", process default " << c.ProcessDefault;
    }
    // Nothing set: every form asks for rounded corners.
    EXPECT_EQ(CornerPreference(rcDefault), 2u);
}

} // namespace
} // namespace Velmora::Shared
