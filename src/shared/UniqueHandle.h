// The owning-handle templates of the code base: a std::unique_ptr whose deleter calls the
// API's own release function, so each handle type is a one-line alias (platform/*/…Handles.h).
#pragma once

#include <memory>
#include <type_traits>
#include <utility>

namespace Velmora::Shared {

template <auto Release>
struct TReleaseWith {
    template <typename T>
    void operator()(T* handle) const {
        Release(handle);
    }
};

// Handle is the API's pointer type (HKEY, GtkWidget*, ...); Release takes it back.
template <typename Handle, auto Release>
using TUniqueHandle = std::unique_ptr<std::remove_pointer_t<Handle>, TReleaseWith<Release>>;

// The same for handles that are plain values with an invalid one (file descriptors).
template <typename T, auto Release, T Invalid>
class TUniqueValue {
public:
    TUniqueValue() = default;
    explicit TUniqueValue(T value) : FValue(value) {}
    ~TUniqueValue() { reset(); }
    TUniqueValue(TUniqueValue&& other) noexcept : FValue(std::exchange(other.FValue, Invalid)) {}
    TUniqueValue& operator=(TUniqueValue&& other) noexcept {
        if (this != &other) reset(std::exchange(other.FValue, Invalid));
        return *this;
    }
    TUniqueValue(const TUniqueValue&) = delete;
    TUniqueValue& operator=(const TUniqueValue&) = delete;

    T get() const { return FValue; }
    bool valid() const { return FValue != Invalid; }
    void reset(T value = Invalid) {
        if (FValue != Invalid) Release(FValue);
        FValue = value;
    }

private:
    T FValue = Invalid;
};

} // namespace Velmora::Shared
