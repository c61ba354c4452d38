#include "payload/ImageEnd.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <vector>

namespace Velmora::Shared {

bool TMemoryImageBytes::ReadAt(std::uint64_t offset, void* out, std::size_t n) {
    if (offset > FSize || n > FSize - offset) return false;
    if (n != 0) std::memcpy(out, FData + offset, n);
    return true;
}

namespace {

using Max = std::optional<std::uint64_t>;

std::uint16_t U16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
std::uint32_t U32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
std::uint64_t U64(const std::uint8_t* p) {
    return static_cast<std::uint64_t>(U32(p)) | (static_cast<std::uint64_t>(U32(p + 4)) << 32);
}

// offset + size, or empty when the sum does not fit in 64 bits (only forged headers do that).
Max End(std::uint64_t offset, std::uint64_t size) {
    if (size > std::numeric_limits<std::uint64_t>::max() - offset) return std::nullopt;
    return offset + size;
}

// Reads a table of count entries of entrySize bytes; empty when it is not all there. The
// count is checked against the available bytes before anything is allocated.
std::optional<std::vector<std::uint8_t>> ReadTable(TImageBytes& bytes, std::uint64_t offset, std::uint64_t count,
                                                   std::uint64_t entrySize) {
    if (entrySize == 0 || count > bytes.Size() / entrySize) return std::nullopt;
    std::vector<std::uint8_t> table(static_cast<std::size_t>(count * entrySize));
    if (!bytes.ReadAt(offset, table.data(), table.size())) return std::nullopt;
    return table;
}

// --- PE ------------------------------------------------------------------------------------

constexpr std::size_t DosHeaderSize = 0x40;
constexpr std::size_t LfanewOffset = 0x3C;
constexpr std::size_t PeSignatureSize = 4;
constexpr std::size_t FileHeaderSize = 20;
constexpr std::size_t SectionEntrySize = 40;
constexpr std::size_t CoffSymbolSize = 18;

// The COFF symbol table and the string table right behind it (whose first 4 bytes give its own
// size). Counted only when it lies wholly inside the bytes: a stale pointer must not make a
// good image unreadable.
Max SymbolTableEnd(TImageBytes& bytes, std::uint32_t pointer, std::uint32_t count) {
    if (pointer == 0) return std::nullopt;
    const std::uint64_t stringsAt = pointer + std::uint64_t{count} * CoffSymbolSize;
    std::uint8_t sizeField[4];
    if (!bytes.ReadAt(stringsAt, sizeField, sizeof sizeField)) return std::nullopt;
    const std::uint32_t stringsSize = std::max<std::uint32_t>(U32(sizeField), 4);
    const std::uint64_t end = stringsAt + stringsSize;
    return end <= bytes.Size() ? Max(end) : std::nullopt;
}

Max PeImageEnd(TImageBytes& bytes, const std::uint8_t* dos) {
    const std::uint64_t peAt = U32(dos + LfanewOffset);
    std::uint8_t head[PeSignatureSize + FileHeaderSize];
    if (!bytes.ReadAt(peAt, head, sizeof head)) return std::nullopt;
    if (std::memcmp(head, "PE\0\0", PeSignatureSize) != 0) return std::nullopt;
    const std::uint8_t* file = head + PeSignatureSize;
    const std::uint16_t sectionCount = U16(file + 2);
    const std::uint32_t symbolPointer = U32(file + 8);
    const std::uint32_t symbolCount = U32(file + 12);
    const std::uint16_t optionalSize = U16(file + 16);

    const std::uint64_t tableAt = peAt + sizeof head + optionalSize;
    const auto table = ReadTable(bytes, tableAt, sectionCount, SectionEntrySize);
    if (!table) return std::nullopt;

    std::uint64_t end = tableAt + table->size();
    for (std::size_t i = 0; i < sectionCount; ++i) {
        const std::uint8_t* entry = table->data() + i * SectionEntrySize;
        // Both fields are 32-bit; their sum may exceed 4 GiB, never 64 bits.
        end = std::max(end, std::uint64_t{U32(entry + 20)} + U32(entry + 16));
    }
    if (const Max symbols = SymbolTableEnd(bytes, symbolPointer, symbolCount)) end = std::max(end, *symbols);
    return end;
}

// --- ELF -----------------------------------------------------------------------------------

constexpr std::uint8_t ElfClass32 = 1, ElfClass64 = 2, ElfDataLittle = 1;
constexpr std::uint32_t ShtNull = 0, ShtNobits = 8, PtNull = 0;
constexpr std::uint16_t PnXnum = 0xFFFF;

// Field offsets and sizes of the two classes.
struct TElfLayout {
    std::size_t HeaderSize;
    std::size_t PhOff, ShOff, EhSize, PhEntSize, PhNum, ShEntSize, ShNum; // in the file header
    std::size_t SectionSize, ShType, ShOffset, ShSize, ShInfo;            // in a section header
    std::size_t SegmentSize, PType, POffset, PFilesz;                     // in a program header
    bool Wide;                                                            // 64-bit addresses
};
constexpr TElfLayout Elf32{52,   0x1C, 0x20, 0x28, 0x2A, 0x2C, 0x2E, 0x30, 40,
                           0x04, 0x10, 0x14, 0x1C, 32,   0x00, 0x04, 0x10, false};
constexpr TElfLayout Elf64{64,   0x20, 0x28, 0x34, 0x36, 0x38, 0x3A, 0x3C, 64,
                           0x04, 0x18, 0x20, 0x2C, 56,   0x00, 0x08, 0x20, true};

std::uint64_t Addr(const TElfLayout& l, const std::uint8_t* p) { return l.Wide ? U64(p) : U32(p); }

// A header table of an ELF file: where it is, and where each entry keeps its type, file offset
// and size.
struct TElfTable {
    std::uint64_t Offset, Count, EntrySize;
    std::size_t MinimumEntrySize, TypeField, OffsetField, SizeField;
};

// The largest end over the table itself and the file data of its entries, skipping the entries
// whose type Skip names; 0 for an empty table. None when the table cannot be read, its entries
// are too small, or an end does not fit in 64 bits.
template <typename Skip>
Max TableEnd(TImageBytes& bytes, const TElfLayout& l, const TElfTable& t, Skip skip) {
    if (t.Count == 0) return 0;
    if (t.EntrySize < t.MinimumEntrySize) return std::nullopt;
    const auto table = ReadTable(bytes, t.Offset, t.Count, t.EntrySize);
    if (!table) return std::nullopt;
    std::uint64_t end = t.Offset + table->size();
    for (std::uint64_t i = 0; i < t.Count; ++i) {
        const std::uint8_t* entry = table->data() + i * t.EntrySize;
        if (skip(U32(entry + t.TypeField))) continue;
        const Max entryEnd = End(Addr(l, entry + t.OffsetField), Addr(l, entry + t.SizeField));
        if (!entryEnd) return std::nullopt;
        end = std::max(end, *entryEnd);
    }
    return end;
}

Max ElfImageEnd(TImageBytes& bytes, const TElfLayout& l) {
    std::uint8_t header[64];
    if (!bytes.ReadAt(0, header, l.HeaderSize)) return std::nullopt;
    const std::uint64_t phOff = Addr(l, header + l.PhOff);
    const std::uint64_t shOff = Addr(l, header + l.ShOff);
    const std::uint16_t phEntSize = U16(header + l.PhEntSize);
    const std::uint16_t shEntSize = U16(header + l.ShEntSize);
    std::uint64_t phNum = U16(header + l.PhNum);
    std::uint64_t shNum = U16(header + l.ShNum);

    std::uint64_t end = std::max<std::uint64_t>(l.HeaderSize, U16(header + l.EhSize));

    // Extended numbering: counts too large for the header live in section header 0.
    if (shOff != 0 && (shNum == 0 || phNum == PnXnum)) {
        if (shEntSize < l.SectionSize) return std::nullopt;
        std::uint8_t first[64];
        if (!bytes.ReadAt(shOff, first, l.SectionSize)) return std::nullopt;
        if (shNum == 0) shNum = Addr(l, first + l.ShSize);
        if (phNum == PnXnum) phNum = U32(first + l.ShInfo);
    }

    const Max sections = TableEnd(bytes, l, {shOff, shNum, shEntSize, l.SectionSize, l.ShType, l.ShOffset, l.ShSize},
                                  [](std::uint32_t type) { return type == ShtNull || type == ShtNobits; });
    const Max segments = TableEnd(bytes, l, {phOff, phNum, phEntSize, l.SegmentSize, l.PType, l.POffset, l.PFilesz},
                                  [](std::uint32_t type) { return type == PtNull; });
    if (!sections || !segments) return std::nullopt;
    return std::max({end, *sections, *segments});
}

} // namespace

std::optional<std::uint64_t> FindImageEnd(TImageBytes& bytes) {
    std::uint8_t start[DosHeaderSize];
    if (!bytes.ReadAt(0, start, 16)) return std::nullopt;
    if (start[0] == 0x7F && start[1] == 'E' && start[2] == 'L' && start[3] == 'F') {
        if (start[5] != ElfDataLittle) return std::nullopt;
        if (start[4] == ElfClass32) return ElfImageEnd(bytes, Elf32);
        if (start[4] == ElfClass64) return ElfImageEnd(bytes, Elf64);
        return std::nullopt;
    }
    if (start[0] == 'M' && start[1] == 'Z' && bytes.ReadAt(0, start, DosHeaderSize)) return PeImageEnd(bytes, start);
    return std::nullopt;
}

} // namespace Velmora::Shared
