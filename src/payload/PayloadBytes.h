// The bytes of a payload archive as the reader keeps them for its life: a read-only view of the
// executable's file where it can be mapped, else a copy in memory. Either way the same bytes.
#pragma once

#include "platform/FileView.h"
#include "shared/Text.h"

#include <cstdint>
#include <memory>
#include <utility>

namespace Velmora::Shared {

class TPayloadBytes {
public:
    TPayloadBytes() = default;
    explicit TPayloadBytes(Bytes copy) : FCopy(std::move(copy)) {}
    explicit TPayloadBytes(std::unique_ptr<Platform::TFileView> view) : FView(std::move(view)) {}

    const std::uint8_t* Data() const { return FView ? FView->Data() : FCopy.data(); }
    std::size_t Size() const { return FView ? FView->Size() : FCopy.size(); }
    bool Empty() const { return Size() == 0; }
    bool IsMapped() const { return FView != nullptr; }

private:
    Bytes FCopy;
    std::unique_ptr<Platform::TFileView> FView;
};

} // namespace Velmora::Shared
