// Text of the whole code base: UTF-16 code units, as the platforms' wide strings and as every
// length and position rule of the system counts them. UTF-8 appears only at the edges (files,
// JSON, libzip names, GTK); convert with the functions below.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace Velmora::Shared {

using Text = std::u16string;
using TextView = std::u16string_view;

// Bytes of a memory stream (payload copy, extracted entries, file contents).
using Bytes = std::vector<std::uint8_t>;

// UTF-16 → UTF-8. A lone surrogate becomes U+FFFD.
std::string ToUtf8(TextView text);
// UTF-8 → UTF-16. Each invalid byte becomes U+FFFD.
Text FromUtf8(std::string_view utf8);

// File-system paths from and to text, without loss on either platform.
std::filesystem::path ToPath(TextView text);
Text FromPath(const std::filesystem::path& path);

// ASCII letters A-Z folded to a-z; every other unit unchanged.
Text AsciiLower(TextView text);
std::string AsciiLower(std::string_view text);
bool SameTextAscii(TextView a, TextView b);

} // namespace Velmora::Shared
