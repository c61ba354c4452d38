#include "payload/PayloadReader.h"

#include "support/ScopedTimeZone.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace Velmora::Shared;

// Written by the fixture generator (tests/fixtures/make_fixtures.py): the Info-ZIP archives
// hold these files of tree/, plus the folder entries "app/" and "app/Sub/".
const std::vector<Text> TreeFiles = {
    u"qmt.ini",          u"qmt-webviewjs",    u"app/index.html",          u"app/empty.txt",
    u"app/Sub/text.txt", u"app/Sub/blob.bin", u"app/Gr\u00fc\u00dfe.txt",
};
constexpr int EntriesInArchive = 9;
// The generator makes sure every encryption header rejects this password.
constexpr std::string_view WrongPassword = "wrong-password";
// The damaged archives have one byte of this entry's content flipped at CorruptAt.
constexpr char16_t CorruptEntry[] = u"app/Sub/blob.bin";
constexpr std::size_t CorruptAt = 20000;

Bytes ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    EXPECT_TRUE(in) << path;
    Bytes bytes(in ? static_cast<std::size_t>(in.tellg()) : 0);
    in.seekg(0);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return bytes;
}

fs::path Fixture(TextView name) { return ToPath(FromUtf8(VELMORA_FIXTURE_DIR "/")) / ToPath(name); }

Bytes TreeFile(TextView name) { return ReadBytes(ToPath(FromUtf8(VELMORA_FIXTURE_DIR "/tree/")) / ToPath(name)); }

void Open(TPayloadReader& reader, TextView archive, std::string_view password = ArchivePassword) {
    reader.SetPassword(password);
    reader.Attach(ReadBytes(Fixture(archive)));
}

// --- Every kind of archive Info-ZIP writes --------------------------------------------------

class InfoZipArchive : public testing::TestWithParam<const char16_t*> {};

TEST_P(InfoZipArchive, EveryFileExtractsByteExact) {
    TPayloadReader reader;
    Open(reader, GetParam());
    ASSERT_TRUE(reader.IsAttached());
    EXPECT_EQ(reader.EntryCount(), EntriesInArchive);
    for (const Text& name : TreeFiles) {
        SCOPED_TRACE(ToUtf8(name));
        const Bytes expected = TreeFile(name);
        Bytes extracted;
        reader.ExtractToStream(name, extracted);
        EXPECT_EQ(extracted, expected);
        const int index = reader.FindEntry(name);
        ASSERT_GE(index, 0);
        EXPECT_EQ(reader.EntryName(index), name);
        EXPECT_EQ(reader.EntrySize(index), static_cast<std::int64_t>(expected.size()));
    }
}

INSTANTIATE_TEST_SUITE_P(Fixtures, InfoZipArchive,
                         testing::Values(u"stored_encrypted.zip", u"deflated_encrypted.zip", u"stored_plain.zip",
                                         u"deflated_plain.zip"),
                         [](const auto& info) {
                             std::string name = ToUtf8(info.param);
                             return name.substr(0, name.find('.'));
                         });

// --- Name lookup ----------------------------------------------------------------------------

TEST(PayloadLookup, FoldsAsciiCaseAndNothingElse) {
    TPayloadReader reader;
    Open(reader, u"stored_encrypted.zip");
    auto indexOf = [&](TextView stored) {
        for (int i = 0; i < reader.EntryCount(); ++i)
            if (reader.EntryName(i) == stored) return i;
        return -1;
    };
    struct TCase {
        Text Request;
        Text Entry; // empty: no entry matches
    } cases[] = {
        {u"qmt.ini", u"qmt.ini"},
        {u"QMT.INI", u"qmt.ini"},
        {u"App/sub/TEXT.txt", u"app/Sub/text.txt"},
        {u"APP/", u"app/"},
        {u"APP/Gr\u00fc\u00dfe.TXT", u"app/Gr\u00fc\u00dfe.txt"},
        {u"app/GR\u00dc\u00dfe.txt", u""}, // only ASCII letters are folded
        {u"app\\index.html", u""},         // "\" is not "/"
        {u"/qmt.ini", u""},
        {u"./qmt.ini", u""},
        {u"qmt.ini ", u""},
        {u"app", u""},
        {u"", u""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(ToUtf8(c.Request));
        const int expected = c.Entry.empty() ? -1 : indexOf(c.Entry);
        ASSERT_TRUE(c.Entry.empty() || expected >= 0);
        EXPECT_EQ(reader.FindEntry(c.Request), expected);
        Bytes extracted;
        reader.ExtractToStream(c.Request, extracted);
        if (expected < 0 || c.Entry.back() == u'/') EXPECT_TRUE(extracted.empty());
        else EXPECT_EQ(extracted, TreeFile(c.Entry));
    }
}

// --- Extraction into a stream ----------------------------------------------------------------

TEST(PayloadExtract, AppendsAndLeavesTheStreamAloneWhenThereIsNothing) {
    TPayloadReader reader;
    Open(reader, u"stored_encrypted.zip");
    Bytes stream{1, 2, 3};
    reader.ExtractToStream(u"no/such/entry", stream);
    EXPECT_EQ(stream, (Bytes{1, 2, 3}));
    reader.ExtractToStream(StartupScriptEntryName, stream); // empty entry
    EXPECT_EQ(stream, (Bytes{1, 2, 3}));
    reader.ExtractToStream(u"QMT.ini", stream);
    Bytes expected{1, 2, 3};
    const Bytes settings = TreeFile(SettingsEntryName);
    expected.insert(expected.end(), settings.begin(), settings.end());
    EXPECT_EQ(stream, expected);
}

TEST(PayloadExtract, WrongPasswordYieldsNothingUntilTheRightOneIsSet) {
    for (const char16_t* archive : {u"stored_encrypted.zip", u"deflated_encrypted.zip"}) {
        SCOPED_TRACE(ToUtf8(archive));
        TPayloadReader reader;
        Open(reader, archive, WrongPassword);
        for (const Text& name : TreeFiles) {
            Bytes stream{7};
            reader.ExtractToStream(name, stream);
            EXPECT_EQ(stream, Bytes{7}) << ToUtf8(name);
        }
        reader.SetPassword(ArchivePassword);
        Bytes stream;
        reader.ExtractToStream(SettingsEntryName, stream);
        EXPECT_EQ(stream, TreeFile(SettingsEntryName));
    }
}

TEST(PayloadExtract, DamagedEntryKeepsWhatCameBeforeTheFailure) {
    struct TCase {
        const char16_t* Archive;
        std::size_t IntactPrefix; // stored: every byte before the flipped one decrypts intact
    } cases[] = {{u"corrupt_stored_encrypted.zip", CorruptAt}, {u"corrupt_deflated_encrypted.zip", 0}};
    const Bytes original = TreeFile(CorruptEntry);
    for (const auto& c : cases) {
        SCOPED_TRACE(ToUtf8(c.Archive));
        TPayloadReader reader;
        Open(reader, c.Archive);
        Bytes stream{9, 9};
        reader.ExtractToStream(CorruptEntry, stream);
        ASSERT_GE(stream.size(), 2 + c.IntactPrefix);
        EXPECT_LE(stream.size(), 2 + original.size());
        EXPECT_EQ(stream[0], 9);
        EXPECT_EQ(stream[1], 9);
        EXPECT_TRUE(std::equal(original.begin(), original.begin() + static_cast<std::ptrdiff_t>(c.IntactPrefix),
                               stream.begin() + 2));
        EXPECT_NE(Bytes(stream.begin() + 2, stream.end()), original);
        // The reader stays usable.
        Bytes settings;
        reader.ExtractToStream(SettingsEntryName, settings);
        EXPECT_EQ(settings, TreeFile(SettingsEntryName));
    }
}

// A stored entry claiming 4 GiB in a file of a few kilobytes: the room taken follows the bytes
// present, not the claim.
TEST(PayloadExtract, ForgedSizesTakeNoMoreMemoryThanTheArchiveHolds) {
    Bytes archive = ReadBytes(Fixture(u"stored_plain.zip"));
    const std::string name = "app/index.html";
    // Every header of the entry, local and central, gets the forged sizes.
    for (std::size_t at = 0; at + 46 < archive.size(); ++at) {
        const std::uint32_t sig = archive[at] | archive[at + 1] << 8 | archive[at + 2] << 16 |
                                  static_cast<std::uint32_t>(archive[at + 3]) << 24;
        const bool local = sig == 0x04034B50, central = sig == 0x02014B50;
        if (!local && !central) continue;
        const std::size_t nameAt = at + (local ? 30 : 46), sizesAt = at + (local ? 18 : 20);
        if (std::string(archive.begin() + nameAt, archive.begin() + nameAt + name.size()) != name) continue;
        for (std::size_t i = 0; i < 8; ++i) archive[sizesAt + i] = i % 4 == 3 ? 0xFF : (i % 4 == 0 ? 0 : 0xFF);
    }
    TPayloadReader reader;
    reader.Attach(archive);
    ASSERT_GE(reader.FindEntry(FromUtf8(name)), 0);
    EXPECT_GT(reader.EntrySize(reader.FindEntry(FromUtf8(name))), 4'000'000'000);
    Bytes stream;
    reader.ExtractToStream(FromUtf8(name), stream);
    EXPECT_LE(stream.capacity(), 2 * archive.size() + 64 * 1024) << "room taken for a forged size";
    EXPECT_LE(stream.size(), archive.size());
}

// Entries dated in a spring-forward gap (02:30 on 2023-03-12, which New York skips) decrypt
// whatever the reader's zone (their check bytes are the time's, not the CRC's); the zone is the
// user's own again afterwards.
TEST(PayloadExtract, EntriesOfAnyDateDecryptInAnyZone) {
    // POSIX forms, which the C runtimes of both platforms read; EST5EDT follows the US rules.
    for (const char* zone : {"EST5EDT", "CET-1CEST,M3.5.0,M10.5.0/3", "UTC0"}) {
        SCOPED_TRACE(zone);
        Velmora::Tests::ScopedTimeZone tz(zone);
        TPayloadReader reader;
        Open(reader, u"dst_gap_encrypted.zip");
        for (const Text& name : TreeFiles) {
            Bytes stream;
            reader.ExtractToStream(name, stream);
            EXPECT_EQ(stream, TreeFile(name)) << ToUtf8(name);
        }
        EXPECT_STREQ(std::getenv("TZ"), zone);
    }
}

// --- Attaching ------------------------------------------------------------------------------

TEST(PayloadAttach, BytesThatAreNoArchiveAreRejected) {
    const Bytes stored = ReadBytes(Fixture(u"stored_encrypted.zip"));
    struct TCase {
        const char* Name;
        Bytes Data;
    } cases[] = {
        {"Empty", {}},
        {"OneByte", {0x50}},
        {"LocalHeaderOnly", {'P', 'K', 3, 4, 0, 0, 0, 0}},
        {"Text", Bytes(200, 'x')},
        {"ArchiveWithoutItsEnd", Bytes(stored.begin(), stored.end() - 30)},
    };
    TPayloadReader reader;
    reader.SetPassword(ArchivePassword);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_THROW(reader.Attach(c.Data), EPayloadError);
        EXPECT_FALSE(reader.IsAttached());
        EXPECT_EQ(reader.EntryCount(), 0);
        EXPECT_EQ(reader.FindEntry(SettingsEntryName), -1);
        Bytes stream;
        reader.ExtractToStream(SettingsEntryName, stream);
        EXPECT_TRUE(stream.empty());
    }
    // A later attach of a real archive works.
    reader.Attach(stored);
    EXPECT_EQ(reader.EntryCount(), EntriesInArchive);
    EXPECT_GE(reader.FindEntry(SettingsEntryName), 0);
}

} // namespace
