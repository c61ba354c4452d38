// Payload reader benchmarks: opening a 10,000-entry payload, looking names up in it, and
// extracting stored encrypted entries against a plain copy of the same bytes. The archives are
// built in memory by libzip with the packer's settings (stored, traditional PKWARE encryption),
// so the benchmark needs no files.
#include "payload/PayloadReader.h"

#include <benchmark/benchmark.h>
#include <zip.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace Velmora::Shared;

struct TEntry {
    std::string Name;
    Bytes Content;
};

constexpr int ManyEntries = 10000;
constexpr std::size_t LargeEntrySize = 1 << 20;
constexpr char LargeEntryName[] = "app/large.bin";

void Check(bool ok, const char* what) {
    if (!ok) throw std::runtime_error(what);
}

Bytes BuildArchive(const std::vector<TEntry>& entries, bool encrypt) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* target = zip_source_buffer_create(nullptr, 0, 0, &error);
    Check(target != nullptr, "zip_source_buffer_create");
    zip_source_keep(target);
    zip_t* archive = zip_open_from_source(target, ZIP_TRUNCATE, &error);
    Check(archive != nullptr, "zip_open_from_source");
    const std::string password(ArchivePassword);
    for (const TEntry& entry : entries) {
        zip_source_t* source = zip_source_buffer(archive, entry.Content.data(), entry.Content.size(), 0);
        const zip_int64_t index = zip_file_add(archive, entry.Name.c_str(), source, ZIP_FL_ENC_UTF_8);
        Check(index >= 0, "zip_file_add");
        const auto i = static_cast<zip_uint64_t>(index);
        Check(zip_set_file_compression(archive, i, ZIP_CM_STORE, 0) == 0, "zip_set_file_compression");
        if (encrypt)
            Check(zip_file_set_encryption(archive, i, ZIP_EM_TRAD_PKWARE, password.c_str()) == 0,
                  "zip_file_set_encryption");
    }
    Check(zip_close(archive) == 0, "zip_close");

    zip_stat_t stat;
    Check(zip_source_stat(target, &stat) == 0 && zip_source_open(target) == 0, "zip_source_open");
    Bytes bytes(stat.size);
    Check(zip_source_read(target, bytes.data(), bytes.size()) == static_cast<zip_int64_t>(bytes.size()),
          "zip_source_read");
    zip_source_close(target);
    zip_source_free(target);
    zip_error_fini(&error);
    return bytes;
}

std::string ManyName(int i) {
    char name[64];
    std::snprintf(name, sizeof name, "app/folder%03d/page%05d.html", i % 100, i);
    return name;
}

const Bytes& ManyEntryArchive() {
    static const Bytes archive = [] {
        std::vector<TEntry> entries;
        for (int i = 0; i < ManyEntries; ++i)
            entries.push_back({ManyName(i), Bytes(100, static_cast<std::uint8_t>(i))});
        return BuildArchive(entries, true);
    }();
    return archive;
}

const Bytes& LargeContent() {
    static const Bytes content = [] {
        std::mt19937 random(42);
        Bytes bytes(LargeEntrySize);
        for (auto& b : bytes) b = static_cast<std::uint8_t>(random());
        return bytes;
    }();
    return content;
}

const Bytes& LargeArchive(bool encrypted) {
    static const Bytes plain = BuildArchive({{LargeEntryName, LargeContent()}}, false);
    static const Bytes secret = BuildArchive({{LargeEntryName, LargeContent()}}, true);
    return encrypted ? secret : plain;
}

// What the reader avoids by settling the time zone first: libzip's own open with TZ unset,
// where every entry's time conversion consults /etc/localtime again. Registered first, before
// any Attach has set TZ.
void BM_OpenWithUnsettledTimeZone(benchmark::State& state) {
    const Bytes& archive = ManyEntryArchive();
    const char* saved = std::getenv("TZ");
    const std::string restore = saved ? saved : "";
    unsetenv("TZ");
    for (auto _ : state) {
        zip_source_t* source = zip_source_buffer_create(archive.data(), archive.size(), 0, nullptr);
        zip_t* zip = zip_open_from_source(source, ZIP_RDONLY, nullptr);
        benchmark::DoNotOptimize(zip);
        zip_discard(zip);
    }
    if (saved) setenv("TZ", restore.c_str(), 1);
}
BENCHMARK(BM_OpenWithUnsettledTimeZone)->Unit(benchmark::kMillisecond);

void BM_Attach10000Entries(benchmark::State& state) {
    const Bytes& archive = ManyEntryArchive();
    for (auto _ : state) {
        state.PauseTiming();
        Bytes copy = archive;
        TPayloadReader reader;
        reader.SetPassword(ArchivePassword);
        state.ResumeTiming();
        reader.Attach(std::move(copy));
        benchmark::DoNotOptimize(reader.EntryCount());
    }
}
BENCHMARK(BM_Attach10000Entries)->Unit(benchmark::kMillisecond);

void BM_FindEntryMixedCase(benchmark::State& state) {
    TPayloadReader reader;
    reader.SetPassword(ArchivePassword);
    reader.Attach(ManyEntryArchive());
    std::vector<Text> requests;
    for (int i = 0; i < ManyEntries; i += 7) {
        std::string name = ManyName(i);
        for (std::size_t k = 0; k < name.size(); k += 2)
            if (name[k] >= 'a' && name[k] <= 'z') name[k] = static_cast<char>(name[k] - 'a' + 'A');
        requests.push_back(FromUtf8(name));
    }
    std::size_t next = 0;
    for (auto _ : state) {
        const int index = reader.FindEntry(requests[next]);
        benchmark::DoNotOptimize(index);
        if (++next == requests.size()) next = 0;
    }
    if (reader.FindEntry(requests.front()) < 0) state.SkipWithError("lookup failed");
}
BENCHMARK(BM_FindEntryMixedCase);

void ExtractLarge(benchmark::State& state, bool encrypted) {
    TPayloadReader reader;
    reader.SetPassword(ArchivePassword);
    reader.Attach(LargeArchive(encrypted));
    const Text name = FromUtf8(LargeEntryName);
    for (auto _ : state) {
        Bytes target;
        reader.ExtractToStream(name, target);
        benchmark::DoNotOptimize(target.data());
        if (target.size() != LargeEntrySize) state.SkipWithError("short extraction");
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * LargeEntrySize));
}

void BM_ExtractStoredEncrypted1MB(benchmark::State& state) { ExtractLarge(state, true); }
BENCHMARK(BM_ExtractStoredEncrypted1MB);

void BM_ExtractStoredPlain1MB(benchmark::State& state) { ExtractLarge(state, false); }
BENCHMARK(BM_ExtractStoredPlain1MB);

// The floor: a new vector holding a copy of the same bytes.
void BM_Memcpy1MB(benchmark::State& state) {
    const Bytes& content = LargeContent();
    for (auto _ : state) {
        Bytes target(content.begin(), content.end());
        benchmark::DoNotOptimize(target.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * LargeEntrySize));
}
BENCHMARK(BM_Memcpy1MB);

} // namespace

BENCHMARK_MAIN();
