// Win32: read-only file views with CreateFileMappingW (PAGE_READONLY) and MapViewOfFile over an
// offset aligned to the allocation granularity.
#include "platform/FileView.h"

#include "platform/win32/WinHandles.h"

#include <windows.h>

#include <limits>
#include <string>

namespace Velmora::Platform {

namespace {

class TMappedView final : public TFileView {
public:
    TMappedView(void* base, std::size_t skip, std::size_t size)
        : FBase(base), FData(static_cast<const std::uint8_t*>(base) + skip), FSize(size) {}
    ~TMappedView() override { UnmapViewOfFile(FBase); }
    const std::uint8_t* Data() const override { return FData; }
    std::size_t Size() const override { return FSize; }

private:
    void* FBase;
    const std::uint8_t* FData;
    std::size_t FSize;
};

} // namespace

std::unique_ptr<TFileView> CreateFileView(Shared::TextView path, std::uint64_t offset, std::uint64_t length) {
    if (length == 0) return nullptr;
    const std::wstring name(reinterpret_cast<const wchar_t*>(path.data()), path.size());
    HANDLE opened = CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (opened == INVALID_HANDLE_VALUE) return nullptr;
    const UniqueHandle file(opened);
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart < 0) return nullptr;
    const auto fileSize = static_cast<std::uint64_t>(size.QuadPart);
    if (offset > fileSize || length > fileSize - offset) return nullptr;

    SYSTEM_INFO info;
    GetSystemInfo(&info);
    const std::uint64_t start = offset - offset % info.dwAllocationGranularity;
    const std::uint64_t skip = offset - start;
    if (length > std::numeric_limits<SIZE_T>::max() - skip) return nullptr; // a 32-bit process
    // The view keeps the mapping object alive; neither handle is needed once it exists.
    const UniqueHandle mapping(CreateFileMappingW(file.get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
    if (!mapping) return nullptr;
    void* base = MapViewOfFile(mapping.get(), FILE_MAP_READ, static_cast<DWORD>(start >> 32),
                               static_cast<DWORD>(start & 0xFFFFFFFFu), static_cast<SIZE_T>(skip + length));
    if (base == nullptr) return nullptr;
    return std::make_unique<TMappedView>(base, static_cast<std::size_t>(skip), static_cast<std::size_t>(length));
}

} // namespace Velmora::Platform
