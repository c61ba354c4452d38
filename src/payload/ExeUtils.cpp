#include "payload/ExeUtils.h"

#include "platform/ExecutablePath.h"
#include "platform/FileView.h"
#include "payload/ImageEnd.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <system_error>
#include <vector>

namespace Velmora::Shared {

namespace {

std::runtime_error FileError(const char* what, TextView path) {
    return std::runtime_error(std::string(what) + " \"" + ToUtf8(path) + "\"");
}

std::ifstream OpenForReading(TextView path) {
    std::ifstream in(ToPath(path), std::ios::binary);
    if (!in) throw FileError("cannot open", path);
    return in;
}

// Opens path for reading and positions it at offset.
std::ifstream OpenAt(TextView path, std::uint64_t offset) {
    std::ifstream in = OpenForReading(path);
    in.seekg(static_cast<std::streamoff>(offset));
    if (!in) throw FileError("cannot seek in", path);
    return in;
}

// The file's bytes for the header parser, read on demand (an ELF section table sits at the end).
class TFileImageBytes final : public TImageBytes {
public:
    TFileImageBytes(std::ifstream& in, std::uint64_t size) : FIn(in), FSize(size) {}
    std::uint64_t Size() const override { return FSize; }
    bool ReadAt(std::uint64_t offset, void* out, std::size_t n) override {
        if (offset > FSize || n > FSize - offset) return false;
        FIn.clear();
        FIn.seekg(static_cast<std::streamoff>(offset));
        FIn.read(static_cast<char*>(out), static_cast<std::streamsize>(n));
        return FIn && static_cast<std::size_t>(FIn.gcount()) == n;
    }

private:
    std::ifstream& FIn;
    std::uint64_t FSize;
};

// Sources and sinks of the copy loop.
auto StreamSource(std::istream& in) {
    return [&in](std::uint8_t* buffer, std::size_t n) -> std::size_t {
        in.read(reinterpret_cast<char*>(buffer), static_cast<std::streamsize>(n));
        return static_cast<std::size_t>(in.gcount());
    };
}

auto StreamSink(std::ostream& out, TextView path) {
    return [&out, path](const std::uint8_t* buffer, std::size_t n) {
        out.write(reinterpret_cast<const char*>(buffer), static_cast<std::streamsize>(n));
        if (!out) throw FileError("cannot write", path);
    };
}

// Writes from position 0 of stream, overwriting what is there and growing it as needed; the
// stream's size is never reduced.
auto MemorySink(Bytes& stream) {
    return [&stream, position = std::size_t{0}](const std::uint8_t* buffer, std::size_t n) mutable {
        const std::size_t overwrite = position < stream.size() ? std::min(n, stream.size() - position) : 0;
        if (overwrite != 0) std::memcpy(stream.data() + position, buffer, overwrite);
        stream.insert(stream.end(), buffer + overwrite, buffer + n);
        position += n;
    };
}

// A copy that ended before its total (the source shrank or failed) is an error, not a success.
void RequireComplete(std::int64_t copied, std::int64_t total, TextView source) {
    if (copied != total) throw FileError("unexpected end of", source);
}

void ReserveFor(Bytes& stream, std::int64_t total) {
    if (static_cast<std::uint64_t>(total) > stream.max_size())
        throw std::runtime_error("the payload does not fit in memory");
    stream.reserve(std::max(stream.size(), static_cast<std::size_t>(total)));
}

} // namespace

void TExeUtils::FailNoPayload() {
    constexpr TextView text = u"This is not a valid Windows application", caption = u"Error";
    if (OnNoPayload) OnNoPayload(text, caption);
    else std::fprintf(stderr, "%s: %s\n", ToUtf8(caption).c_str(), ToUtf8(text).c_str());
    std::exit(0);
}

template <typename Source, typename Sink>
std::int64_t TExeUtils::CopyLoop(Source&& read, Sink&& write, std::int64_t total) {
    if (OnProgressMax) OnProgressMax(*this, total);
    std::vector<std::uint8_t> buffer(CopyBufferSize);
    std::int64_t count = 0;
    while (count < total) {
        const auto want =
            static_cast<std::size_t>(std::min<std::int64_t>(static_cast<std::int64_t>(buffer.size()), total - count));
        const std::size_t got = read(buffer.data(), want);
        if (got == 0) break;
        write(buffer.data(), got);
        count += static_cast<std::int64_t>(got);
        if (OnProgressPos) OnProgressPos(*this, count);
    }
    return count;
}

// --- The running executable ---------------------------------------------------------------

std::uint64_t TExeUtils::GetExeImageEnd() {
    // An image we cannot parse counts as carrying nothing behind it.
    const std::int64_t size = std::max<std::int64_t>(GetExeFileSize(), 0);
    return GetImageEndOfFile(Platform::ExecutablePath()).value_or(static_cast<std::uint64_t>(size));
}

std::int64_t TExeUtils::GetExeFileSize() { return GetFileSizeByName(Platform::ExecutablePath()); }

bool TExeUtils::ExeHasAttachedStub() const { return GetExeFileSize() > static_cast<std::int64_t>(GetExeImageEnd()); }

void TExeUtils::GetZipFromExe(Bytes& MemoryStream) {
    const std::uint64_t imageEnd = GetExeImageEnd();
    const std::int64_t total = GetExeFileSize() - static_cast<std::int64_t>(imageEnd);
    if (total <= 0) FailNoPayload();
    const Text exe = Platform::ExecutablePath();
    std::ifstream in = OpenAt(exe, imageEnd);
    ReserveFor(MemoryStream, total);
    RequireComplete(CopyLoop(StreamSource(in), MemorySink(MemoryStream), total), total, exe);
}

TPayloadBytes TExeUtils::GetZipViewFromExe() {
    const std::uint64_t imageEnd = GetExeImageEnd();
    const std::int64_t total = GetExeFileSize() - static_cast<std::int64_t>(imageEnd);
    if (total <= 0) FailNoPayload();
    if (auto view = Platform::CreateFileView(Platform::ExecutablePath(), imageEnd, static_cast<std::uint64_t>(total)))
        return TPayloadBytes(std::move(view));
    Bytes copy;
    GetZipFromExe(copy);
    return TPayloadBytes(std::move(copy));
}

void TExeUtils::ExtractZipFromExe(TextView ZipPath) {
    const std::uint64_t imageEnd = GetExeImageEnd();
    const std::int64_t total = GetExeFileSize() - static_cast<std::int64_t>(imageEnd);
    if (total <= 0) FailNoPayload();
    const Text exe = Platform::ExecutablePath();
    std::ifstream in = OpenAt(exe, imageEnd);
    std::ofstream out(ToPath(ZipPath), std::ios::binary | std::ios::trunc);
    if (!out) throw FileError("cannot create", ZipPath);
    RequireComplete(CopyLoop(StreamSource(in), StreamSink(out, ZipPath), total), total, exe);
    out.close();
    if (!out) throw FileError("cannot write", ZipPath);
}

// --- Any file -----------------------------------------------------------------------------

void TExeUtils::AppendZipToExe(TextView ZipPath, TextView ExePath) {
    std::ifstream in = OpenForReading(ZipPath);
    std::fstream out(ToPath(ExePath), std::ios::binary | std::ios::in | std::ios::out);
    if (!out) throw FileError("cannot open", ExePath);
    out.seekp(static_cast<std::streamoff>(GetFileSizeByName(ExePath)));
    if (!out) throw FileError("cannot seek in", ExePath);
    const std::int64_t total = GetFileSizeByName(ZipPath);
    RequireComplete(CopyLoop(StreamSource(in), StreamSink(out, ExePath), total), total, ZipPath);
    out.close();
    if (!out) throw FileError("cannot write", ExePath);
}

std::int64_t TExeUtils::GetFileSizeByName(TextView FileName) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(ToPath(FileName), error);
    return error ? -1 : static_cast<std::int64_t>(size);
}

std::optional<std::uint64_t> TExeUtils::GetImageEndOfFile(TextView ExePath) {
    const std::int64_t size = GetFileSizeByName(ExePath);
    if (size < 0) return std::nullopt;
    std::ifstream in(ToPath(ExePath), std::ios::binary);
    if (!in) return std::nullopt;
    TFileImageBytes bytes(in, static_cast<std::uint64_t>(size));
    const auto end = FindImageEnd(bytes);
    // An image end past the end of the file means a truncated file, not an executable.
    if (!end || *end > static_cast<std::uint64_t>(size)) return std::nullopt;
    return end;
}

std::optional<std::uint64_t> TExeUtils::GetImageEnd(const std::uint8_t* data, std::size_t size) {
    if (data == nullptr) return std::nullopt;
    TMemoryImageBytes bytes(data, size);
    return FindImageEnd(bytes);
}

std::optional<Bytes> TExeUtils::ReadPayloadOfFile(TextView ExePath) {
    const std::int64_t size = GetFileSizeByName(ExePath);
    const auto imageEnd = GetImageEndOfFile(ExePath);
    if (!imageEnd || size <= static_cast<std::int64_t>(*imageEnd)) return std::nullopt;
    const std::int64_t total = size - static_cast<std::int64_t>(*imageEnd);
    std::ifstream in(ToPath(ExePath), std::ios::binary);
    in.seekg(static_cast<std::streamoff>(*imageEnd));
    if (!in) return std::nullopt;
    Bytes payload;
    ReserveFor(payload, total);
    if (CopyLoop(StreamSource(in), MemorySink(payload), total) != total) return std::nullopt;
    return payload;
}

std::optional<TPayloadBytes> TExeUtils::MapPayloadOfFile(TextView ExePath) {
    const std::int64_t size = GetFileSizeByName(ExePath);
    const auto imageEnd = GetImageEndOfFile(ExePath);
    if (!imageEnd || size <= static_cast<std::int64_t>(*imageEnd)) return std::nullopt;
    const auto total = static_cast<std::uint64_t>(size) - *imageEnd;
    if (auto view = Platform::CreateFileView(ExePath, *imageEnd, total)) return TPayloadBytes(std::move(view));
    auto copy = ReadPayloadOfFile(ExePath);
    if (!copy) return std::nullopt;
    return TPayloadBytes(std::move(*copy));
}

} // namespace Velmora::Shared
