#include "payload/PayloadReader.h"

#include "payload/ZipTimeZone.h"
#include "shared/UniqueHandle.h"

#include <zip.h>

#include <algorithm>
#include <array>
#include <climits>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>

namespace Velmora::Shared {

namespace {

using TArchivePtr = TUniqueHandle<zip_t*, zip_discard>;
using TEntryPtr = TUniqueHandle<zip_file_t*, zip_fclose>;

class TZipError {
public:
    TZipError() { zip_error_init(&FError); }
    ~TZipError() { zip_error_fini(&FError); }
    TZipError(const TZipError&) = delete;
    TZipError& operator=(const TZipError&) = delete;
    zip_error_t* Get() { return &FError; }
    std::string Message() { return zip_error_strerror(&FError); }

private:
    zip_error_t FError;
};

// Transparent, so a lookup hashes the caller's key in place instead of copying it.
struct TNameHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view name) const { return std::hash<std::string_view>{}(name); }
};
using TNameIndex = std::unordered_map<std::string, int, TNameHash, std::equal_to<>>;

void FoldAscii(std::string& name) {
    for (char& c : name)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
}

// The room set aside before the first byte arrives: the declared size, but never more than the
// archive holds. Sizes come from files we did not write: a forged claim must not decide how much
// memory is taken; room beyond it grows only with the bytes that actually arrive.
std::uint64_t InitialRoom(const zip_stat_t& stat, std::uint64_t archiveSize) {
    if (!(stat.valid & ZIP_STAT_SIZE)) return 0;
    std::uint64_t room = std::min(stat.size, archiveSize);
    if (stat.valid & ZIP_STAT_COMP_SIZE) {
        const bool stored = (stat.valid & ZIP_STAT_COMP_METHOD) && stat.comp_method == ZIP_CM_STORE;
        if (stored) room = std::min(room, stat.comp_size);
    }
    return room;
}

// Reads the entry to its end straight into target. zip_fread must be called until it returns 0:
// only the read that meets the end checks the CRC. Whatever arrived before a failure stays.
void ReadToEnd(zip_file_t* entry, std::uint64_t initialRoom, Bytes& target) {
    constexpr std::size_t MinimumGrowth = 64 * 1024;
    const std::size_t start = target.size();
    const std::size_t limit = target.max_size() - start;
    std::size_t room = static_cast<std::size_t>(std::min<std::uint64_t>(initialRoom, limit));
    target.resize(start + room);
    std::size_t filled = 0;
    for (;;) {
        if (filled == room) {
            // Full: the read that meets the end comes next, or more data than declared.
            if (room == limit) break;
            room = std::min(limit, room + std::max(room, MinimumGrowth));
            target.resize(start + room);
        }
        const zip_int64_t n = zip_fread(entry, target.data() + start + filled, room - filled);
        if (n <= 0) break;
        filled += static_cast<std::size_t>(n);
    }
    target.resize(start + filled);
}

} // namespace

struct TPayloadReader::Impl {
    std::string FPassword;
    TPayloadBytes FArchive; // declared before FZip: libzip reads it until FZip is gone
    TArchivePtr FZip;
    TNameIndex FIndex; // ASCII-folded UTF-8 name → entry index

    void ApplyPassword() {
        if (FZip) zip_set_default_password(FZip.get(), FPassword.empty() ? nullptr : FPassword.c_str());
    }

    void Detach() {
        FIndex.clear();
        FZip.reset();
        FArchive = TPayloadBytes();
    }

    void BuildIndex() {
        const zip_int64_t count = std::min<zip_int64_t>(zip_get_num_entries(FZip.get(), 0), INT_MAX);
        FIndex.reserve(static_cast<std::size_t>(std::max<zip_int64_t>(count, 0)));
        for (zip_int64_t i = 0; i < count; ++i) {
            const char* name = zip_get_name(FZip.get(), static_cast<zip_uint64_t>(i), ZIP_FL_ENC_GUESS);
            if (name == nullptr) continue;
            std::string key(name);
            FoldAscii(key);
            // Names equal but for case: the first entry wins, as a scan from the start would find.
            FIndex.emplace(std::move(key), static_cast<int>(i));
        }
    }

    std::optional<zip_stat_t> Stat(int index) const {
        if (!FZip || index < 0) return std::nullopt;
        zip_stat_t stat;
        zip_stat_init(&stat);
        if (zip_stat_index(FZip.get(), static_cast<zip_uint64_t>(index), 0, &stat) != 0) return std::nullopt;
        return stat;
    }
};

TPayloadReader::TPayloadReader() : FImpl(std::make_unique<Impl>()) {}
TPayloadReader::~TPayloadReader() = default;

void TPayloadReader::SetPassword(std::string_view password) {
    FImpl->FPassword.assign(password);
    FImpl->ApplyPassword();
}

void TPayloadReader::Attach(TPayloadBytes archive) {
    // Reading the directory converts every entry's time.
    const TZipTimeZone zone;
    FImpl->Detach();
    // libzip takes zero bytes for a new, empty archive; as a payload they are no archive at all.
    if (archive.Empty()) throw EPayloadError("the payload is empty: not a ZIP archive");
    FImpl->FArchive = std::move(archive);

    TZipError error;
    zip_source_t* source = zip_source_buffer_create(FImpl->FArchive.Data(), FImpl->FArchive.Size(), 0, error.Get());
    if (source == nullptr) {
        FImpl->Detach();
        throw EPayloadError("cannot read the payload: " + error.Message());
    }
    zip_t* zip = zip_open_from_source(source, ZIP_RDONLY, error.Get());
    if (zip == nullptr) {
        zip_source_free(source);
        FImpl->Detach();
        throw EPayloadError("the payload is not a ZIP archive: " + error.Message());
    }
    FImpl->FZip.reset(zip);
    FImpl->ApplyPassword();
    FImpl->BuildIndex();
}

bool TPayloadReader::IsAttached() const { return FImpl->FZip != nullptr; }

bool TPayloadReader::IsMapped() const { return FImpl->FZip != nullptr && FImpl->FArchive.IsMapped(); }

int TPayloadReader::FindEntry(TextView Name) const {
    if (!FImpl->FZip) return -1;
    std::string key = ToUtf8(Name);
    FoldAscii(key);
    const auto found = FImpl->FIndex.find(std::string_view(key));
    return found == FImpl->FIndex.end() ? -1 : found->second;
}

void TPayloadReader::ExtractToStream(TextView Name, Bytes& Target) const {
    const int index = FindEntry(Name);
    const auto stat = FImpl->Stat(index);
    if (!stat) return;
    // Opening checks the password against the encryption header (by the entry's time, converted
    // back): a wrong one yields nothing.
    const TZipTimeZone zone;
    const TEntryPtr entry(zip_fopen_index(FImpl->FZip.get(), static_cast<zip_uint64_t>(index), 0));
    if (!entry) return;
    ReadToEnd(entry.get(), InitialRoom(*stat, FImpl->FArchive.Size()), Target);
}

std::int64_t TPayloadReader::ExtractToSink(TextView Name,
                                           const std::function<void(const std::uint8_t*, std::size_t)>& Sink) const {
    const int index = FindEntry(Name);
    if (!FImpl->Stat(index)) return -1;
    const TZipTimeZone zone;
    const TEntryPtr entry(zip_fopen_index(FImpl->FZip.get(), static_cast<zip_uint64_t>(index), 0));
    if (!entry) return -1;
    std::array<std::uint8_t, 64 * 1024> piece;
    std::int64_t total = 0;
    for (;;) {
        const zip_int64_t n = zip_fread(entry.get(), piece.data(), piece.size());
        if (n < 0) return -1;
        if (n == 0) return total;
        Sink(piece.data(), static_cast<std::size_t>(n));
        total += n;
    }
}

int TPayloadReader::EntryCount() const {
    if (!FImpl->FZip) return 0;
    return static_cast<int>(std::clamp<zip_int64_t>(zip_get_num_entries(FImpl->FZip.get(), 0), 0, INT_MAX));
}

Text TPayloadReader::EntryName(int index) const {
    if (!FImpl->FZip || index < 0) return {};
    const char* name = zip_get_name(FImpl->FZip.get(), static_cast<zip_uint64_t>(index), ZIP_FL_ENC_GUESS);
    return name == nullptr ? Text() : FromUtf8(name);
}

std::int64_t TPayloadReader::EntrySize(int index) const {
    const auto stat = FImpl->Stat(index);
    if (!stat || !(stat->valid & ZIP_STAT_SIZE)) return -1;
    return static_cast<std::int64_t>(stat->size);
}

} // namespace Velmora::Shared
