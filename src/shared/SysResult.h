// The outcome of a platform call that can fail, with the operating system's error code read at
// the failing call itself, so nothing in between can overwrite it before the page is told.
#pragma once

#include <cstdint>
#include <utility>

namespace Velmora::Shared {

struct TSysStatus {
    bool Succeeded = true;
    std::uint32_t ErrorCode = 0; // the system's code (GetLastError, errno); 0 on success

    static TSysStatus Success() { return {}; }
    static TSysStatus Failure(std::uint32_t code) { return {false, code}; }
    explicit operator bool() const { return Succeeded; }
};

// A value, or the error code of the call that failed to produce it.
template <typename T>
struct TSysResult {
    T Value{};
    TSysStatus Status;

    static TSysResult Success(T value) { return {std::move(value), TSysStatus::Success()}; }
    static TSysResult Failure(std::uint32_t code) { return {T{}, TSysStatus::Failure(code)}; }
    explicit operator bool() const { return Status.Succeeded; }
};

} // namespace Velmora::Shared
