// POSIX: read-only file views with mmap (MAP_PRIVATE, PROT_READ) over a page-aligned offset.
#include "platform/FileView.h"

#include "shared/UniqueHandle.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <limits>

namespace Velmora::Platform {

namespace {

// The base library links no GTK: its own alias rather than GtkHandles.h.
using FileDescriptor = Shared::TUniqueValue<int, ::close, -1>;

class TMappedView final : public TFileView {
public:
    TMappedView(void* base, std::size_t mapped, std::size_t skip, std::size_t size)
        : FBase(base), FMapped(mapped), FData(static_cast<const std::uint8_t*>(base) + skip), FSize(size) {}
    ~TMappedView() override { munmap(FBase, FMapped); }
    const std::uint8_t* Data() const override { return FData; }
    std::size_t Size() const override { return FSize; }

private:
    void* FBase;
    std::size_t FMapped;
    const std::uint8_t* FData;
    std::size_t FSize;
};

} // namespace

std::unique_ptr<TFileView> CreateFileView(Shared::TextView path, std::uint64_t offset, std::uint64_t length) {
    if (length == 0) return nullptr;
    const FileDescriptor fd(::open(Shared::ToUtf8(path).c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.valid()) return nullptr;
    struct stat st;
    if (fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return nullptr;
    const auto fileSize = static_cast<std::uint64_t>(st.st_size);
    if (offset > fileSize || length > fileSize - offset) return nullptr;

    const auto page = static_cast<std::uint64_t>(sysconf(_SC_PAGESIZE));
    const std::uint64_t start = offset - offset % page;
    const std::uint64_t skip = offset - start;
    if (length > std::numeric_limits<std::size_t>::max() - skip) return nullptr;
    const auto mapped = static_cast<std::size_t>(skip + length);
    void* base = mmap(nullptr, mapped, PROT_READ, MAP_PRIVATE, fd.get(), static_cast<off_t>(start));
    if (base == MAP_FAILED) return nullptr;
    return std::make_unique<TMappedView>(base, mapped, static_cast<std::size_t>(skip),
                                         static_cast<std::size_t>(length));
}

} // namespace Velmora::Platform
