// MIME types by file extension: the extension rule, the built-in rows, the content types the
// operating system registers (read by platform code) and the table that combines them.
#pragma once

#include "shared/Text.h"

#include <functional>
#include <span>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace Velmora::Shared {

// The extension of a path: its last "." and everything after it, provided no "\" or ":"
// follows that dot; otherwise empty. "/" ends nothing: lib.old/readme gives ".old/readme".
TextView ExtractFileExt(TextView path);
// The text after the last "\" or ":".
TextView ExtractFileName(TextView path);

// A built-in row: a lower-case extension with its dot, and its type.
struct TMimeRow {
    TextView Extension;
    TextView Type;
};

// A content type registered by the operating system, as read: the extension may lack its dot
// and either part may hold capitals; the table normalises them.
struct TMimeEntry {
    Text Extension;
    Text Type;
};

// The built-in rows in their order; where an extension appears twice, the first row counts.
std::span<const TMimeRow> BuiltInMimeRows();

// The entries of a mime.types text: one "type ext1 ext2 ..." per line, blanks or tabs
// between words, "#" starting a comment. Lines without extensions give nothing.
std::vector<TMimeEntry> ParseMimeTypesText(std::string_view text);

class TMimeTable {
public:
    static constexpr TextView DefaultType = u"application/octet-stream";

    // The built-in rows (first occurrence counts), then every overlay entry replacing what is
    // there: extension given a leading "." when missing, both parts ASCII lower-cased.
    TMimeTable(std::span<const TMimeRow> builtIn, const std::vector<TMimeEntry>& overlay);

    // The type for an already lower-cased extension; DefaultType when none (always for an
    // empty extension).
    TextView Lookup(TextView extension) const;

    // The process's table: built-in rows overlaid by the system's (platform/MimeOverlay.h), built on first use
    // and never changed afterwards.
    static const TMimeTable& ForProcess();

private:
    struct Hash {
        using is_transparent = void;
        size_t operator()(TextView text) const { return std::hash<TextView>{}(text); }
    };
    std::unordered_map<Text, Text, Hash, std::equal_to<>> FTypes;
};

} // namespace Velmora::Shared
