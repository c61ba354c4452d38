// Read-only views of a file's bytes, so that a large payload is read in place rather than copied
// into the heap: pages of it that are never read are never loaded and cost no memory.
#pragma once

#include "shared/Text.h"

#include <cstddef>
#include <cstdint>
#include <memory>

namespace Velmora::Platform {

class TFileView {
public:
    virtual ~TFileView() = default;
    virtual const std::uint8_t* Data() const = 0;
    virtual std::size_t Size() const = 0;
};

// A private, read-only view of `length` bytes of the file from `offset` (any offset: alignment is
// the implementation's business). Null when the file cannot be opened or mapped, when the range is
// empty or runs past the end of the file, or when it does not fit the address space: the caller
// then reads the bytes instead. The file must not shrink while the view lives (the running
// executable's own file cannot be written on either platform).
std::unique_ptr<TFileView> CreateFileView(Shared::TextView path, std::uint64_t offset, std::uint64_t length);

} // namespace Velmora::Platform
