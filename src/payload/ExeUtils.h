// Layout of a packaged executable: the runtime's image (PE on Windows, ELF on Linux) followed
// directly by the payload ZIP archive, with no marker or trailer. TExeUtils finds, copies,
// extracts and appends that archive; it is shared by the runtime and velmora-pack.
#pragma once

#include "payload/PayloadBytes.h"
#include "shared/Text.h"

#include <cstdint>
#include <functional>
#include <optional>

namespace Velmora::Shared {

class TExeUtils {
public:
    using TOnProgressMax = std::function<void(TExeUtils& Sender, std::int64_t AMax)>;
    using TOnProgressPos = std::function<void(TExeUtils& Sender, std::int64_t APos)>;

    // Called once before a copy with the number of bytes it will move; then after each chunk
    // with the running total. Either may be left empty.
    TOnProgressMax OnProgressMax;
    TOnProgressPos OnProgressPos;

    // Shows the message of an executable without a payload (the program sets the system error
    // box); unset, "<caption>: <text>" goes to standard error.
    using TOnNoPayload = std::function<void(TextView Text, TextView Caption)>;
    TOnNoPayload OnNoPayload;

    // Size of one copy chunk.
    static constexpr std::size_t CopyBufferSize = 10240;

    // --- The running executable ---------------------------------------------------------
    // True when at least one byte follows the image end of the running executable.
    bool ExeHasAttachedStub() const;
    // Copies every byte after the image end into MemoryStream from position 0. Without a
    // payload it shows "This is not a valid Windows application" through OnNoPayload and ends
    // the process (code 0).
    void GetZipFromExe(Bytes& MemoryStream);
    // The same bytes as a read-only view of the executable's file, so that start-up does not grow
    // with the payload and entries never read cost no memory; a copy (GetZipFromExe, with its
    // guard) when the file cannot be mapped.
    TPayloadBytes GetZipViewFromExe();
    // Same, into a newly created (or overwritten) file.
    void ExtractZipFromExe(TextView ZipPath);
    static std::uint64_t GetExeImageEnd();
    static std::int64_t GetExeFileSize();

    // --- Any file ----------------------------------------------------------------------
    // Appends the whole file ZipPath to the end of ExePath. Throws std::runtime_error (with the
    // path) when either file cannot be opened.
    void AppendZipToExe(TextView ZipPath, TextView ExePath);
    // Size in bytes of the named file (64-bit); -1 when there is no such file.
    static std::int64_t GetFileSizeByName(TextView FileName);

    // Image end of an executable file: PE (largest raw end over the section table, and the end
    // of a COFF symbol table that unstripped MinGW output keeps behind the sections) or ELF
    // (largest end of any section with file data, segment and the section-header table).
    // Empty when the file cannot be read or is neither format.
    static std::optional<std::uint64_t> GetImageEndOfFile(TextView ExePath);
    // Image end of an executable given as its first bytes (at least the headers; for ELF the
    // whole file, since its section table sits near the end; for a PE file that keeps a COFF
    // symbol table, the whole file too, or that table is not counted). Empty when neither format.
    static std::optional<std::uint64_t> GetImageEnd(const std::uint8_t* data, std::size_t size);

    // The payload of any packaged executable (velmora-pack works on files it did not start).
    // Empty when the file cannot be read, is no executable, or carries no byte after its image.
    std::optional<Bytes> ReadPayloadOfFile(TextView ExePath);
    // The same bytes as a read-only view, or read into memory when the file cannot be mapped.
    std::optional<TPayloadBytes> MapPayloadOfFile(TextView ExePath);

private:
    [[noreturn]] void FailNoPayload();

    // The copy loop shared by every copying operation: total bytes from source (already
    // positioned) into dest; stops when the running count reaches total or a read returns 0.
    template <typename Source, typename Sink>
    std::int64_t CopyLoop(Source&& read, Sink&& write, std::int64_t total);
};

} // namespace Velmora::Shared
