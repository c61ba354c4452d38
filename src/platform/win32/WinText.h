// Text (UTF-16 code units) at the Win32 API edge, where wide strings are UTF-16 too.
#pragma once

#include "shared/Text.h"

#include <string>

namespace Velmora::Platform {

inline const wchar_t* Wide(const Shared::Text& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }
inline Shared::Text FromWide(const wchar_t* text, size_t length) {
    return Shared::Text(reinterpret_cast<const char16_t*>(text), length);
}
inline Shared::Text FromWide(const std::wstring& text) { return FromWide(text.data(), text.size()); }

} // namespace Velmora::Platform
