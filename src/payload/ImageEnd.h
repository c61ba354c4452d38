// Image end of an executable: the offset where the bytes written by the linker stop and an
// appended payload would begin. Reads PE (PE32 and PE32+) and ELF (32- and 64-bit,
// little-endian) headers. The headers come from files we did not write, so every offset is
// bounds-checked against the available bytes and every sum is overflow-checked in 64 bits.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace Velmora::Shared {

// Random access to the bytes of an executable (a file or a memory block).
class TImageBytes {
public:
    virtual ~TImageBytes() = default;
    // Number of bytes available.
    virtual std::uint64_t Size() const = 0;
    // Copies n bytes starting at offset into out; false unless all of them are available.
    virtual bool ReadAt(std::uint64_t offset, void* out, std::size_t n) = 0;
};

// A block already in memory.
class TMemoryImageBytes final : public TImageBytes {
public:
    TMemoryImageBytes(const std::uint8_t* data, std::size_t size) : FData(data), FSize(size) {}
    std::uint64_t Size() const override { return FSize; }
    bool ReadAt(std::uint64_t offset, void* out, std::size_t n) override;

private:
    const std::uint8_t* FData;
    std::size_t FSize;
};

// PE: the largest PointerToRawData + SizeOfRawData over every section-table entry, at least the
// end of the headers, and the end of a COFF symbol and string table when the file holds one
// (unstripped MinGW output keeps it behind the sections).
// ELF: the largest end of the file header, of any segment, of any section that has file data
// (not SHT_NOBITS) and of the section-header table itself.
// Empty when the bytes are neither format or their headers cannot be read.
std::optional<std::uint64_t> FindImageEnd(TImageBytes& bytes);

} // namespace Velmora::Shared
