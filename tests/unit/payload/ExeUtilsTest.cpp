#include "payload/ExeUtils.h"

#include "payload/PayloadReader.h"
#include "platform/ExecutablePath.h"
#include "platform/FileView.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace Velmora::Shared;
using testing::ElementsAre;

Bytes ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    Bytes bytes(in ? static_cast<std::size_t>(in.tellg()) : 0);
    in.seekg(0);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return bytes;
}

void WriteBytes(const fs::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

Bytes RandomBytes(std::size_t n, unsigned seed) {
    std::mt19937 random(seed);
    Bytes bytes(n);
    for (auto& b : bytes) b = static_cast<std::uint8_t>(random());
    return bytes;
}

void Put16(Bytes& b, std::size_t at, std::uint16_t v) {
    for (int i = 0; i < 2; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}
void Put32(Bytes& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}
void Put64(Bytes& b, std::size_t at, std::uint64_t v) {
    for (int i = 0; i < 8; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// A temporary folder per test.
class ExeUtilsFiles : public testing::Test {
protected:
    void SetUp() override {
        const auto* info = testing::UnitTest::GetInstance()->current_test_info();
        std::string name = info->name();
        std::replace(name.begin(), name.end(), '/', '-');
        FDir = fs::temp_directory_path() / ("velmora-exeutils-" + name + "-" + std::to_string(std::random_device{}()));
        fs::create_directories(FDir);
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(FDir, ignored);
    }
    fs::path Path(const std::string& name) const { return FDir / name; }
    fs::path FDir;
};

// --- Crafted PE images ---------------------------------------------------------------------

constexpr std::uint32_t PeAt = 0x80;
constexpr std::uint16_t OptionalSize = 0xF0;
constexpr std::size_t SectionTableAt = PeAt + 24 + OptionalSize;

struct TSection {
    std::uint32_t Pointer, Size;
};

struct TPeCase {
    const char* Name;
    std::vector<TSection> Sections;
    std::uint64_t Expected;
    std::uint32_t SymbolPointer = 0, SymbolCount = 0, StringsSize = 0;
};

// DOS header, PE signature, COFF header, a zeroed optional header and the section table, in a
// file of exactly fileSize bytes.
Bytes MakePe(const std::vector<TSection>& sections, std::size_t fileSize, std::uint32_t symbolPointer = 0,
             std::uint32_t symbolCount = 0, std::uint32_t stringsSize = 0) {
    Bytes pe(std::max(fileSize, SectionTableAt + 40 * sections.size()));
    pe[0] = 'M';
    pe[1] = 'Z';
    Put32(pe, 0x3C, PeAt);
    std::memcpy(pe.data() + PeAt, "PE\0\0", 4);
    Put16(pe, PeAt + 4, 0x14C);
    Put16(pe, PeAt + 6, static_cast<std::uint16_t>(sections.size()));
    Put32(pe, PeAt + 12, symbolPointer);
    Put32(pe, PeAt + 16, symbolCount);
    Put16(pe, PeAt + 20, OptionalSize);
    for (std::size_t i = 0; i < sections.size(); ++i) {
        Put32(pe, SectionTableAt + 40 * i + 16, sections[i].Size);
        Put32(pe, SectionTableAt + 40 * i + 20, sections[i].Pointer);
    }
    const std::size_t stringsAt = symbolPointer + std::size_t{symbolCount} * 18;
    if (symbolPointer != 0 && stringsAt + 4 <= pe.size()) Put32(pe, stringsAt, stringsSize);
    return pe;
}

class PeImageEnd : public ExeUtilsFiles, public testing::WithParamInterface<TPeCase> {};

TEST_P(PeImageEnd, IsTheLargestEndAndSplitsOffTheOverlay) {
    const TPeCase& c = GetParam();
    const Bytes image = MakePe(c.Sections, c.Expected, c.SymbolPointer, c.SymbolCount, c.StringsSize);
    ASSERT_EQ(image.size(), c.Expected);
    EXPECT_EQ(TExeUtils::GetImageEnd(image.data(), image.size()), c.Expected);

    // Exactly as long as its image: no payload.
    TExeUtils utils;
    WriteBytes(Path("exact.exe"), image);
    EXPECT_EQ(TExeUtils::GetImageEndOfFile(FromPath(Path("exact.exe"))), c.Expected);
    EXPECT_EQ(utils.ReadPayloadOfFile(FromPath(Path("exact.exe"))), std::nullopt);

    // One byte behind the image: a one-byte payload, which is no archive.
    Bytes withOverlay = image;
    withOverlay.push_back(0x50);
    WriteBytes(Path("overlay.exe"), withOverlay);
    EXPECT_EQ(TExeUtils::GetImageEndOfFile(FromPath(Path("overlay.exe"))), c.Expected);
    const auto payload = utils.ReadPayloadOfFile(FromPath(Path("overlay.exe")));
    ASSERT_TRUE(payload);
    EXPECT_THAT(*payload, ElementsAre(0x50));
    TPayloadReader reader;
    EXPECT_THROW(reader.Attach(*payload), EPayloadError);
}

INSTANTIATE_TEST_SUITE_P(
    Crafted, PeImageEnd,
    testing::Values(TPeCase{"LastEntryDoesNotEndLast", {{0x400, 0x200}, {0x800, 0x400}, {0x600, 0x200}}, 0xC00},
                    TPeCase{"EntryWithoutRawData", {{0x400, 0x200}, {0, 0}}, 0x600},
                    TPeCase{"FirstEntryEmpty", {{0, 0}, {0x400, 0x400}}, 0x800},
                    // The headers belong to the image even when no section has raw data.
                    TPeCase{"NoSections", {}, SectionTableAt},
                    // Unstripped MinGW output keeps a COFF symbol and string table behind the sections.
                    TPeCase{"SymbolTableBehindSections", {{0x400, 0x200}}, 0x600 + 2 * 18 + 10, 0x600, 2, 10},
                    // A pointer to a symbol table that is not in the file is ignored.
                    TPeCase{"StaleSymbolPointer", {{0x400, 0x200}}, 0x600, 0x10000, 5, 100}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(PeImageEndFromHeaders, SumsRawFieldsInSixtyFourBits) {
    const Bytes headers = MakePe({{0xFFFFFE00, 0x400}, {0x400, 0x200}}, 0x400);
    EXPECT_EQ(TExeUtils::GetImageEnd(headers.data(), headers.size()), 0x100000200u);
}

// --- Crafted ELF images --------------------------------------------------------------------

struct TElfPart {
    std::uint32_t Type;
    std::uint64_t Offset, Size;
};

struct TElfCase {
    const char* Name;
    bool Wide;
    std::vector<TElfPart> Segments, Sections;
    std::uint64_t SectionTableAt;
    std::uint64_t Expected;
    bool ExtendedNumbering = false;
};

constexpr std::uint32_t PtLoad = 1, ShtProgbits = 1, ShtNobits = 8;

// File header, program headers right behind it, section headers at SectionTableAt; section 0
// is the null section (holding the count under extended numbering).
Bytes MakeElf(const TElfCase& c, std::size_t fileSize) {
    const std::size_t headerSize = c.Wide ? 64 : 52, phSize = c.Wide ? 56 : 32, shSize = c.Wide ? 64 : 40;
    const std::size_t shCount = c.Sections.size() + 1;
    Bytes elf(std::max<std::size_t>(fileSize, c.SectionTableAt + shCount * shSize));
    std::memcpy(elf.data(),
                "\x7F"
                "ELF",
                4);
    elf[4] = c.Wide ? 2 : 1;
    elf[5] = 1;
    elf[6] = 1;
    auto addr = [&](std::size_t at, std::uint64_t v) {
        if (c.Wide) Put64(elf, at, v);
        else Put32(elf, at, static_cast<std::uint32_t>(v));
    };
    const std::size_t phOff = c.Wide ? 0x20 : 0x1C, shOff = c.Wide ? 0x28 : 0x20, sizes = c.Wide ? 0x34 : 0x28;
    addr(phOff, c.Segments.empty() ? 0 : headerSize);
    addr(shOff, c.SectionTableAt);
    Put16(elf, sizes, static_cast<std::uint16_t>(headerSize));
    Put16(elf, sizes + 2, static_cast<std::uint16_t>(phSize));
    Put16(elf, sizes + 4, static_cast<std::uint16_t>(c.Segments.size()));
    Put16(elf, sizes + 6, static_cast<std::uint16_t>(shSize));
    Put16(elf, sizes + 8, c.ExtendedNumbering ? 0 : static_cast<std::uint16_t>(shCount));
    for (std::size_t i = 0; i < c.Segments.size(); ++i) {
        const std::size_t p = headerSize + i * phSize;
        Put32(elf, p, c.Segments[i].Type);
        addr(p + (c.Wide ? 0x08 : 0x04), c.Segments[i].Offset);
        addr(p + (c.Wide ? 0x20 : 0x10), c.Segments[i].Size);
    }
    if (c.ExtendedNumbering) addr(c.SectionTableAt + (c.Wide ? 0x20 : 0x14), shCount);
    for (std::size_t i = 0; i < c.Sections.size(); ++i) {
        const std::size_t s = c.SectionTableAt + (i + 1) * shSize;
        Put32(elf, s + 4, c.Sections[i].Type);
        addr(s + (c.Wide ? 0x18 : 0x10), c.Sections[i].Offset);
        addr(s + (c.Wide ? 0x20 : 0x14), c.Sections[i].Size);
    }
    return elf;
}

class ElfImageEnd : public testing::TestWithParam<TElfCase> {};

TEST_P(ElfImageEnd, IsTheLargestEndOfSectionsSegmentsAndSectionTable) {
    const TElfCase& c = GetParam();
    const Bytes elf = MakeElf(c, c.Expected);
    ASSERT_EQ(elf.size(), c.Expected);
    EXPECT_EQ(TExeUtils::GetImageEnd(elf.data(), elf.size()), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Crafted, ElfImageEnd,
    testing::Values(
        // A NOBITS section occupies no file bytes however large it is.
        TElfCase{"SectionTableLast64",
                 true,
                 {{PtLoad, 0, 0x1000}},
                 {{ShtProgbits, 0x1000, 0x800}, {ShtNobits, 0x1800, 0x100000}},
                 0x1800,
                 0x1800 + 3 * 64},
        TElfCase{"SectionTableLast32",
                 false,
                 {{PtLoad, 0, 0x1000}},
                 {{ShtProgbits, 0x1000, 0x800}, {ShtNobits, 0x1800, 0x100000}},
                 0x1800,
                 0x1800 + 3 * 40},
        TElfCase{"SectionDataLast", true, {{PtLoad, 0, 0x400}}, {{ShtProgbits, 0x2000, 0x123}}, 0x1000, 0x2123},
        TElfCase{"SegmentLast", false, {{PtLoad, 0, 0x400}, {PtLoad, 0x400, 0x3000}}, {}, 0x1000, 0x3400},
        TElfCase{"ExtendedSectionCount", true, {}, {{ShtProgbits, 0x100, 0x100}}, 0x200, 0x200 + 2 * 64, true}),
    [](const auto& info) { return std::string(info.param.Name); });

// --- Files that are not executables ---------------------------------------------------------

struct TGarbageCase {
    const char* Name;
    Bytes Data;
};

Bytes Patched(Bytes b, std::size_t at, std::uint64_t v, int width) {
    if (width == 1) b[at] = static_cast<std::uint8_t>(v);
    else if (width == 2) Put16(b, at, static_cast<std::uint16_t>(v));
    else if (width == 4) Put32(b, at, static_cast<std::uint32_t>(v));
    else Put64(b, at, v);
    return b;
}

std::vector<TGarbageCase> GarbageCases() {
    const Bytes pe = MakePe({{0x400, 0x200}, {0x600, 0x200}, {0x800, 0x200}}, 0xA00);
    const TElfCase elfCase{"", true, {{PtLoad, 0, 0x400}}, {{ShtProgbits, 0x400, 0x100}}, 0x600, 0x600 + 2 * 64};
    const Bytes elf = MakeElf(elfCase, elfCase.Expected);
    Bytes dosOnly(0x40);
    dosOnly[0] = 'M';
    dosOnly[1] = 'Z';
    return {
        {"Empty", {}},
        {"OneByte", {'M'}},
        {"DosHeaderOnly", dosOnly},
        {"Random", RandomBytes(4096, 7)},
        {"PeOffsetPastEnd", Patched(pe, 0x3C, 0x10000, 4)},
        {"PeOffsetHuge", Patched(pe, 0x3C, 0xFFFFFFFF, 4)},
        {"PeBadSignature", Patched(pe, PeAt, 0x00005850, 4)},
        {"PeSectionTableCut", Bytes(pe.begin(), pe.begin() + SectionTableAt + 40)},
        {"PeSectionCountPastEnd", Patched(Bytes(pe.begin(), pe.begin() + 0x400), PeAt + 6, 0xFFFF, 2)},
        {"ElfUnknownClass", Patched(elf, 4, 3, 1)},
        {"ElfBigEndian", Patched(elf, 5, 2, 1)},
        {"ElfHeaderCut", Bytes(elf.begin(), elf.begin() + 40)},
        {"ElfSectionTablePastEnd", Patched(elf, 0x28, 0x7FFFFFFFFFFF, 8)},
        {"ElfSectionEntryTooSmall", Patched(elf, 0x3A, 8, 2)},
        {"ElfSegmentEndOverflows", Patched(Patched(elf, 64 + 0x08, ~0ull, 8), 64 + 0x20, 2, 8)},
        {"ElfSectionEndOverflows", Patched(Patched(elf, 0x600 + 64 + 0x18, ~0ull - 1, 8), 0x600 + 64 + 0x20, 4, 8)},
        {"ElfHugeExtendedCount", Patched(Patched(elf, 0x3C, 0, 2), 0x600 + 0x20, 1ull << 60, 8)},
        {"ElfSegmentCountPastEnd", Patched(elf, 0x38, 0x7FFF, 2)},
    };
}

TEST_F(ExeUtilsFiles, GarbageAndTruncatedHeadersGiveNoImageEnd) {
    TExeUtils utils;
    for (const auto& c : GarbageCases()) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(TExeUtils::GetImageEnd(c.Data.data(), c.Data.size()), std::nullopt);
        WriteBytes(Path("garbage"), c.Data);
        EXPECT_EQ(TExeUtils::GetImageEndOfFile(FromPath(Path("garbage"))), std::nullopt);
        EXPECT_EQ(utils.ReadPayloadOfFile(FromPath(Path("garbage"))), std::nullopt);
    }
    EXPECT_EQ(TExeUtils::GetImageEndOfFile(FromPath(Path("missing.exe"))), std::nullopt);
    EXPECT_EQ(utils.ReadPayloadOfFile(FromPath(Path("missing.exe"))), std::nullopt);
}

// --- Real executables ----------------------------------------------------------------------

struct TRealExe {
    const char* Name;
    std::string Path;
    bool FromOptionalTool;
};

class RealExecutable : public ExeUtilsFiles, public testing::WithParamInterface<TRealExe> {};

// A freshly linked executable carries nothing behind its image.
TEST_P(RealExecutable, ImageEndIsTheFileSize) {
    const fs::path path = ToPath(FromUtf8(GetParam().Path));
    if (GetParam().FromOptionalTool && !fs::exists(path)) GTEST_SKIP() << "no compiler made " << GetParam().Path;
    const Bytes bytes = ReadBytes(path);
    ASSERT_GT(bytes.size(), 1024u);
    EXPECT_EQ(TExeUtils::GetImageEndOfFile(FromPath(path)), bytes.size());
    EXPECT_EQ(TExeUtils::GetImageEnd(bytes.data(), bytes.size()), bytes.size());

    // Cut short, it is no longer a complete executable.
    for (const std::size_t cut : {bytes.size() / 2, std::size_t{100}}) {
        WriteBytes(Path("cut.exe"), Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(cut)));
        EXPECT_EQ(TExeUtils::GetImageEndOfFile(FromPath(Path("cut.exe"))), std::nullopt) << cut;
    }
}

INSTANTIATE_TEST_SUITE_P(Linked, RealExecutable,
                         testing::Values(TRealExe{"Runtime", VELMORA_RUNTIME_PATH, false},
                                         TRealExe{"Pe32", VELMORA_FIXTURE_DIR "/pe32.exe", true},
                                         TRealExe{"Pe32Stripped", VELMORA_FIXTURE_DIR "/pe32_stripped.exe", true}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(ExeUtilsRunning, TheTestProgramCarriesNoPayload) {
    const Text self = Velmora::Platform::ExecutablePath();
    ASSERT_FALSE(self.empty());
    EXPECT_EQ(TExeUtils::GetExeFileSize(), static_cast<std::int64_t>(fs::file_size(ToPath(self))));
    EXPECT_EQ(TExeUtils::GetExeImageEnd(), static_cast<std::uint64_t>(TExeUtils::GetExeFileSize()));
    EXPECT_FALSE(TExeUtils().ExeHasAttachedStub());
}

// The guard of the copying operations: the message (the program shows it in the system error
// box; unset, it goes to standard error), then the process ends with code 0.
TEST(ExeUtilsRunningDeathTest, CopyingWithoutPayloadReportsTheErrorAndEndsTheProcess) {
    EXPECT_EXIT(
        {
            Bytes stream;
            TExeUtils().GetZipFromExe(stream);
        },
        testing::ExitedWithCode(0), "Error: This is not a valid Windows application");

    const fs::path zip = fs::temp_directory_path() / ("velmora-no-payload-" + std::to_string(std::random_device{}()));
    EXPECT_EXIT(
        {
            TExeUtils utils;
            utils.OnNoPayload = [](TextView text, TextView caption) {
                std::fprintf(stderr, "shown [%s] [%s]\n", ToUtf8(caption).c_str(), ToUtf8(text).c_str());
            };
            utils.ExtractZipFromExe(FromPath(zip));
        },
        testing::ExitedWithCode(0), "shown \\[Error\\] \\[This is not a valid Windows application\\]");
    EXPECT_FALSE(fs::exists(zip));
}

// --- Appending and reading back --------------------------------------------------------------

TEST_F(ExeUtilsFiles, AppendZipToExeAddsTheFileInChunksAndReadsBack) {
    const fs::path exe = Path("app.exe");
    fs::copy_file(ToPath(FromUtf8(VELMORA_RUNTIME_PATH)), exe);
    const std::int64_t n = TExeUtils::GetFileSizeByName(FromPath(exe));
    const Bytes zip = RandomBytes(25000, 1);
    WriteBytes(Path("payload.zip"), zip);

    TExeUtils utils;
    std::vector<std::int64_t> maxima, positions;
    utils.OnProgressMax = [&](TExeUtils& sender, std::int64_t max) {
        EXPECT_EQ(&sender, &utils);
        maxima.push_back(max);
    };
    utils.OnProgressPos = [&](TExeUtils&, std::int64_t pos) { positions.push_back(pos); };

    utils.AppendZipToExe(FromPath(Path("payload.zip")), FromPath(exe));
    EXPECT_THAT(maxima, ElementsAre(25000));
    EXPECT_THAT(positions, ElementsAre(10240, 20480, 25000));
    const Bytes result = ReadBytes(exe);
    ASSERT_EQ(static_cast<std::int64_t>(result.size()), n + 25000);
    EXPECT_TRUE(std::equal(zip.begin(), zip.end(), result.begin() + n));
    EXPECT_EQ(TExeUtils::GetImageEndOfFile(FromPath(exe)), static_cast<std::uint64_t>(n));

    maxima.clear();
    positions.clear();
    EXPECT_EQ(utils.ReadPayloadOfFile(FromPath(exe)), zip);
    EXPECT_THAT(maxima, ElementsAre(25000));
    EXPECT_THAT(positions, ElementsAre(10240, 20480, 25000));
}

TEST_F(ExeUtilsFiles, PackagedArchiveOpensFromTheExecutable) {
    const fs::path exe = Path("app.exe");
    fs::copy_file(ToPath(FromUtf8(VELMORA_RUNTIME_PATH)), exe);
    TExeUtils utils; // no callbacks set
    utils.AppendZipToExe(FromUtf8(VELMORA_FIXTURE_DIR "/stored_encrypted.zip"), FromPath(exe));

    auto payload = utils.ReadPayloadOfFile(FromPath(exe));
    ASSERT_TRUE(payload);
    TPayloadReader reader;
    reader.SetPassword(ArchivePassword);
    reader.Attach(std::move(*payload));
    Bytes settings;
    reader.ExtractToStream(SettingsEntryName, settings);
    EXPECT_EQ(settings, ReadBytes(ToPath(FromUtf8(VELMORA_FIXTURE_DIR "/tree/qmt.ini"))));
}

// The payload read in place: the same bytes as the copy, the same reader's answers; views of
// ranges a file does not hold are refused, so the caller falls back to reading.
TEST_F(ExeUtilsFiles, PayloadMappedInPlaceReadsAsTheCopy) {
    const fs::path exe = Path("mapped.exe");
    fs::copy_file(ToPath(FromUtf8(VELMORA_RUNTIME_PATH)), exe);
    TExeUtils utils;
    utils.AppendZipToExe(FromUtf8(VELMORA_FIXTURE_DIR "/stored_encrypted.zip"), FromPath(exe));
    const auto copy = utils.ReadPayloadOfFile(FromPath(exe));
    auto mapped = utils.MapPayloadOfFile(FromPath(exe));
    ASSERT_TRUE(copy && mapped);
    ASSERT_TRUE(mapped->IsMapped());
    ASSERT_EQ(mapped->Size(), copy->size());
    EXPECT_TRUE(std::equal(copy->begin(), copy->end(), mapped->Data())); // an offset off any page boundary

    TPayloadReader reader;
    reader.SetPassword(ArchivePassword);
    reader.Attach(std::move(*mapped));
    EXPECT_TRUE(reader.IsMapped());
    Bytes settings;
    reader.ExtractToStream(SettingsEntryName, settings);
    EXPECT_EQ(settings, ReadBytes(ToPath(FromUtf8(VELMORA_FIXTURE_DIR "/tree/qmt.ini"))));

    const auto size = static_cast<std::uint64_t>(fs::file_size(exe));
    EXPECT_EQ(Velmora::Platform::CreateFileView(FromPath(exe), size - 10, 11), nullptr);
    EXPECT_EQ(Velmora::Platform::CreateFileView(FromPath(exe), size + 1, 1), nullptr);
    EXPECT_EQ(Velmora::Platform::CreateFileView(FromPath(exe), 0, 0), nullptr);
    EXPECT_EQ(Velmora::Platform::CreateFileView(FromPath(Path("missing.exe")), 0, 1), nullptr);
    const auto tail = Velmora::Platform::CreateFileView(FromPath(exe), size - 1, 1);
    ASSERT_NE(tail, nullptr);
    EXPECT_EQ(tail->Data()[0], ReadBytes(exe).back());
}

TEST_F(ExeUtilsFiles, AppendZipToExeReportsFilesItCannotOpen) {
    WriteBytes(Path("present"), {1, 2, 3});
    struct TCase {
        std::string Zip, Exe, Named;
    } cases[] = {
        {"missing.zip", "present", "missing.zip"},
        {"present", "missing.exe", "missing.exe"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Named);
        try {
            TExeUtils().AppendZipToExe(FromPath(Path(c.Zip)), FromPath(Path(c.Exe)));
            ADD_FAILURE() << "no error";
        } catch (const std::runtime_error& e) {
            EXPECT_NE(std::string(e.what()).find(c.Named), std::string::npos) << e.what();
        }
    }
    EXPECT_FALSE(fs::exists(Path("missing.exe")));
    EXPECT_EQ(ReadBytes(Path("present")), (Bytes{1, 2, 3}));
}

TEST_F(ExeUtilsFiles, FileSizeByName) {
    WriteBytes(Path("empty"), {});
    WriteBytes(Path("three"), {1, 2, 3});
    WriteBytes(Path("read-only"), {1, 2, 3, 4});
    fs::permissions(Path("read-only"), fs::perms::owner_read);
    EXPECT_EQ(TExeUtils::GetFileSizeByName(FromPath(Path("missing"))), -1);
    EXPECT_EQ(TExeUtils::GetFileSizeByName(FromPath(Path("empty"))), 0);
    EXPECT_EQ(TExeUtils::GetFileSizeByName(FromPath(Path("three"))), 3);
    EXPECT_EQ(TExeUtils::GetFileSizeByName(FromPath(Path("read-only"))), 4);
    fs::permissions(Path("read-only"), fs::perms::owner_all);
}

TEST_F(ExeUtilsFiles, FileSizeByNameBeyondFourGiB) {
    const std::uintmax_t size = (std::uintmax_t{4} << 30) + 7;
    { std::ofstream create(Path("large"), std::ios::binary); }
    std::error_code error;
    fs::resize_file(Path("large"), size, error);
    if (error) GTEST_SKIP() << "no sparse 4 GiB file here: " << error.message();
    EXPECT_EQ(TExeUtils::GetFileSizeByName(FromPath(Path("large"))), static_cast<std::int64_t>(size));
}

} // namespace
