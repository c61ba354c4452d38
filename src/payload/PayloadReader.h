// The payload reader: the one archive object of the process, over the payload ZIP archive's bytes
// (a read-only view of the executable, or a copy in memory). Finds entries by name (ASCII letters case-insensitive, nothing else
// normalised) through an index built once at attach, and extracts them into memory.
#pragma once

#include "payload/PayloadBytes.h"
#include "shared/Text.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

namespace Velmora::Shared {

// The fixed archive password of every packaged application.
inline constexpr std::string_view ArchivePassword = "t7fqw2hbz5mx8cgpl1vr6ynd0ska3je9xuqa";

// Fixed entry names.
inline constexpr TextView SettingsEntryName = u"qmt.ini";
inline constexpr TextView StartupScriptEntryName = u"qmt-webviewjs";
inline constexpr TextView LoaderLibraryEntryName = u"WebView2LoaderWin32.dll";
inline constexpr TextView InstallerEntryName = u"WebView2Installer.exe";

// Attaching bytes that hold no archive.
class EPayloadError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TPayloadReader {
public:
    TPayloadReader();
    ~TPayloadReader();
    TPayloadReader(const TPayloadReader&) = delete;
    TPayloadReader& operator=(const TPayloadReader&) = delete;

    // Password for every encrypted entry; set before Attach.
    void SetPassword(std::string_view password);
    // Takes the archive bytes (kept for the reader's life) and reads the central directory.
    // Throws EPayloadError when the bytes are not a ZIP archive.
    void Attach(TPayloadBytes archive);
    void Attach(Bytes archive) { Attach(TPayloadBytes(std::move(archive))); }
    // Whether the attached archive is read in place from the file rather than copied.
    bool IsMapped() const;
    bool IsAttached() const;

    // Index of the entry whose name equals Name with ASCII letters compared case-insensitively;
    // -1 when absent (or nothing attached).
    int FindEntry(TextView Name) const;
    // Appends the entry's content to Target. A missing entry writes nothing; a decryption or
    // CRC failure is swallowed and leaves what was written before it.
    void ExtractToStream(TextView Name, Bytes& Target) const;
    // The entry's content in pieces of at most 64 KiB, as they are read, so that memory does not
    // grow with the entry. The number of bytes handed over, or -1 when the entry is missing or
    // cannot be read to its end (a wrong password, a CRC or decompression failure).
    std::int64_t ExtractToSink(TextView Name, const std::function<void(const std::uint8_t*, std::size_t)>& Sink) const;

    // Listing (velmora-pack list).
    int EntryCount() const;
    Text EntryName(int index) const;
    std::int64_t EntrySize(int index) const;

private:
    struct Impl;
    std::unique_ptr<Impl> FImpl;
};

} // namespace Velmora::Shared
