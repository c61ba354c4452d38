// Answering resource requests: from an in-memory payload written by velmora-pack's own writer
// (stored and encrypted), from files beside the executable, and from absolute paths.
#include "browser/ResourceServing.h"
#include "shared/StrUtils.h"
#include "payload/PayloadReader.h"

#include "PayloadWriter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

namespace Velmora::Tests {
namespace {

using namespace Velmora::Shared;
namespace fs = std::filesystem;

void WriteFile(const fs::path& path, std::string_view content) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary).write(content.data(), static_cast<std::streamsize>(content.size()));
}

// Temp folder layout:
//   src/...      the files packed into the payload under "app/"
//   exe/...      the executable's folder (AppDirPath)
//   abs/a.png, My Files/a.png   files reached by absolute path
class ResourceServing : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        Root = new fs::path(fs::temp_directory_path() / ("velmora-serving-" + std::to_string(std::random_device{}())));
        const fs::path src = *Root / "src";
        const std::pair<const char*, const char*> packed[] = {
            {"index.html", "<p>index</p>"},
            {"js/main.js", "main();"},
            {"my page.html", "spaced"},
            {"a%2Bb.html", "plus"},
            {"README", "readme"},
            {"both.txt", "from payload"},
            {"empty.css", ""},
            {"café.png", "accented"},
            {"a b+c&d.txt", "blank plus ampersand"},
            {"x+y.html", "decoded plus"},
            {"100%.txt", "percent"},
            {"%41.txt", "escape as written"},
        };
        std::vector<Pack::TPayloadItem> items;
        for (const auto& [name, content] : packed) {
            WriteFile(src / ToPath(FromUtf8(name)), content);
            items.push_back({u"app/" + FromUtf8(name), src / ToPath(FromUtf8(name))});
        }
        Reader = new TPayloadReader;
        Reader->SetPassword(ArchivePassword);
        Reader->Attach(Pack::BuildPayloadArchive(items, nullptr));

        WriteFile(*Root / "exe" / "data" / "x.txt", "beside");
        // (A narrow name would be read in the ANSI code page on Windows.)
        WriteFile(*Root / "exe" / "data" / ToPath(u"déjà vu.txt"), "beside, decoded");
        WriteFile(*Root / "exe" / "both.txt", "from disk");
        fs::create_directories(*Root / "exe" / "folder");
        WriteFile(*Root / "abs" / "a.png", "png-bytes");
        WriteFile(*Root / "My Files" / "a.png", "png-bytes");
    }
    static void TearDownTestSuite() {
        delete Reader;
        std::error_code ignored;
        fs::remove_all(*Root, ignored);
        delete Root;
    }

    static Text AppDirPath() { return FromPath(*Root / "exe") + Platform::AppScheme().PathDelimiter; }

    // The URI form of the temp folder after the scheme's prefix: "C:/Users/.../Temp/x" on
    // Windows, "tmp/x" on Linux (whose scheme puts the root "/" back).
    static Text RootInUri() {
        Text text = FromPath(*Root);
        for (char16_t& c : text)
            if (c == u'\\') c = u'/';
        const TextView root = Platform::AppScheme().AbsoluteRoot;
        if (!root.empty() && TextView(text).starts_with(root)) text.erase(0, root.size());
        return text;
    }

    // {P}: the scheme's prefix; {p}: the same in capitals; {ROOT}: RootInUri().
    static Text Uri(std::string_view pattern) {
        const TextView prefix = Platform::AppScheme().Prefix;
        Text upper(prefix);
        for (char16_t& c : upper)
            if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
        Text uri = FromUtf8(pattern);
        for (const auto& [token, value] :
             {std::pair<TextView, Text>{u"{P}", Text(prefix)}, std::pair<TextView, Text>{u"{p}", upper},
              std::pair<TextView, Text>{u"{ROOT}", RootInUri()}})
            for (size_t at; (at = uri.find(token)) != Text::npos;) uri.replace(at, token.size(), value);
        return uri;
    }

    static inline fs::path* Root = nullptr;
    static inline TPayloadReader* Reader = nullptr;
};

struct TServeCase {
    const char* Uri;
    const char* Content;  // null: no answer
    const char* MimeType; // null: what the MIME table gives the file name below
    const char16_t* FileName = nullptr;
};

const TServeCase ServeCases[] = {
    {"{P}index.html", "<p>index</p>", "text/html"},
    {"{P}INDEX.HTML", "<p>index</p>", "text/html"},
    {"{P}js/main.js?v=3", "main();", "application/javascript"},
    {"{P}js/MAIN.JS", "main();", "application/javascript"},
    {"{P}js/{P}main.js", "main();", "application/javascript"},
    {"{P}index.html?a=1?b=2", "<p>index</p>", "text/html"},
    {"{P}my%20page.html", "spaced", "text/html"},
    {"{P}a%2Bb.html", "plus", "text/html"},
    {"{P}README", "readme", "application/octet-stream"},
    {"{P}both.txt", "from payload", nullptr, u"both.txt"},
    {"{P}empty.css", "", nullptr, u"empty.css"},
    {"{P}data/x.txt", "beside", nullptr, u"x.txt"},
    {"{P}{ROOT}/abs/a.png", "png-bytes", nullptr, u"a.png"},
    {"{p}index.html", nullptr, nullptr},
    {"{P}index.html#top", nullptr, nullptr},
    {"{P}missing.html", nullptr, nullptr},
    {"{P}folder", nullptr, nullptr},
    // The absolute path keeps "%20"; only the decoded fallback finds the blank.
    {"{P}{ROOT}/My%20Files/a.png", "png-bytes", nullptr, u"a.png"},
    // Not found as written: every escape decoded as UTF-8, in the same order of sources.
    {"{P}caf%C3%A9.png", "accented", nullptr, u"café.png"},
    {"{P}CAF%C3%A9.PNG?v=1", "accented", nullptr, u"café.png"},
    {"{P}a%20b%2Bc%26d.txt", "blank plus ampersand", nullptr, u"a.txt"},
    {"{P}a b+c&d.txt", "blank plus ampersand", nullptr, u"a.txt"},
    {"{P}x%2By.html", "decoded plus", "text/html"},
    {"{P}100%25.txt", "percent", nullptr, u"a.txt"},
    {"{P}100%.txt", "percent", nullptr, u"a.txt"},
    {"{P}%41.txt", "escape as written", nullptr, u"a.txt"},
    {"{P}data/d%C3%A9j%C3%A0%20vu.txt", "beside, decoded", nullptr, u"a.txt"},
    {"{P}{ROOT}/My%20Files/%61.png", "png-bytes", nullptr, u"a.png"},
    // Nothing decodes to a name that is not UTF-8, or to one cut short by a NUL.
    {"{P}caf%C3.png", nullptr, nullptr},
    {"{P}caf%E9.png", nullptr, nullptr},
    {"{P}index.html%00.png", nullptr, nullptr},
    {"http://example.com/index.html", nullptr, nullptr},
    {"about:blank", nullptr, nullptr},
    {"data:text/html,<p>x</p>", nullptr, nullptr},
};

TEST_F(ResourceServing, AnswersFromPayloadBesideExeOrAbsolutePath) {
    for (const TServeCase& c : ServeCases) {
        const Text uri = Uri(c.Uri);
        SCOPED_TRACE(ToUtf8(uri));
        const auto answer = AnswerWebResourceRequest(uri, Reader, u"app", AppDirPath(), true);
        if (c.Content == nullptr) {
            EXPECT_FALSE(answer.has_value());
            continue;
        }
        ASSERT_TRUE(answer.has_value());
        EXPECT_EQ(std::string(answer->Content.begin(), answer->Content.end()), c.Content);
        const Text mime = c.MimeType ? FromUtf8(c.MimeType) : TStrUtils::GetFileMIMEType(c.FileName);
        EXPECT_EQ(ToUtf8(answer->MimeType), ToUtf8(mime));
        EXPECT_EQ(ToUtf8(answer->Headers), "Content-Type: " + ToUtf8(mime) + "; charset=utf-8");
        EXPECT_EQ(answer->StatusCode, 200);
        EXPECT_EQ(ToUtf8(answer->ReasonPhrase), "OK");
    }
}

TEST(PercentEscapes, DecodedAsUtf8OrNotAtAll) {
    const std::pair<const char16_t*, std::optional<Text>> cases[] = {
        {u"caf%C3%A9.png", Text(u"café.png")},
        {u"caf%c3%a9.png", Text(u"café.png")},
        {u"a%2Bb%26c%2F..%2Fd", Text(u"a+b&c/../d")},
        {u"%F0%9F%98%80", Text(u"\U0001F600")},
        {u"50%%25", Text(u"50%%")},
        {u"%4", std::nullopt},      // no escape decoded: no second lookup
        {u"%zz.txt", std::nullopt}, // neither
        {u"plain.txt", std::nullopt},
        {u"%C3%28", std::nullopt},    // not UTF-8
        {u"%ED%A0%80", std::nullopt}, // a surrogate's bytes
        {u"%C0%AF", std::nullopt},    // an overlong "/"
        {u"a%00b", std::nullopt},
    };
    for (const auto& [path, expected] : cases) {
        SCOPED_TRACE(ToUtf8(path));
        const auto decoded = DecodePercentEscapes(path);
        EXPECT_EQ(decoded.has_value(), expected.has_value());
        if (decoded && expected) {
            EXPECT_EQ(ToUtf8(*decoded), ToUtf8(*expected));
        }
    }
}

TEST_F(ResourceServing, PayloadNeedsReaderAndFolderName) {
    for (const auto& [reader, dirName] : {std::pair<const TPayloadReader*, TextView>{nullptr, u"app"},
                                          std::pair<const TPayloadReader*, TextView>{Reader, u""}}) {
        EXPECT_FALSE(AnswerWebResourceRequest(Uri("{P}index.html"), reader, dirName, AppDirPath(), true));
        const auto beside = AnswerWebResourceRequest(Uri("{P}both.txt"), reader, dirName, AppDirPath(), true);
        ASSERT_TRUE(beside.has_value());
        EXPECT_EQ(std::string(beside->Content.begin(), beside->Content.end()), "from disk");
    }
}

TEST_F(ResourceServing, NothingWhenRequestsAreNotHandled) {
    EXPECT_FALSE(AnswerWebResourceRequest(Uri("{P}index.html"), Reader, u"app", AppDirPath(), false));
}

TEST_F(ResourceServing, EveryRequestReadsAnew) {
    const fs::path file = *Root / "exe" / "fresh.txt";
    WriteFile(file, "one");
    const auto first = AnswerWebResourceRequest(Uri("{P}fresh.txt"), Reader, u"app", AppDirPath(), true);
    WriteFile(file, "two!");
    const auto second = AnswerWebResourceRequest(Uri("{P}fresh.txt"), Reader, u"app", AppDirPath(), true);
    ASSERT_TRUE(first && second);
    EXPECT_EQ(std::string(first->Content.begin(), first->Content.end()), "one");
    EXPECT_EQ(std::string(second->Content.begin(), second->Content.end()), "two!");
}

// The Windows rule run on any platform: the rest of a file:/// URI is the absolute path as
// written, and the prefix test ignores letter case while the removal does not.
TEST_F(ResourceServing, FileSchemeQuirks) {
    const Platform::TAppScheme file{u"file", u"file:///", u"", Platform::AppScheme().PathDelimiter};
    const auto answer = AnswerWebResourceRequest(u"file:///index.html?x", Reader, u"app", AppDirPath(), true, file);
    ASSERT_TRUE(answer.has_value());
    EXPECT_EQ(std::string(answer->Content.begin(), answer->Content.end()), "<p>index</p>");
    EXPECT_FALSE(AnswerWebResourceRequest(u"FILE:///index.html", Reader, u"app", AppDirPath(), true, file));
    EXPECT_FALSE(AnswerWebResourceRequest(u"qmt:///index.html", Reader, u"app", AppDirPath(), true, file));
}

} // namespace
} // namespace Velmora::Tests
