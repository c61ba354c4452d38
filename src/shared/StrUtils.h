// String and script-text helpers: JSON string literals for the bridge, splitting, quoting,
// URL arguments and the other class-level operations shared by the runtime and the packer.
#pragma once

#include "shared/Text.h"

#include <cstdint>
#include <random>
#include <vector>

namespace Velmora::Shared {

using TArrayStrings = std::vector<Text>;

// How SubStringExists / FindSubString search. Down searches from the start forward; otherwise
// the search runs from the end backward (which only changes where a match is found).
struct TSearchOptions {
    bool Down = true;
    bool MatchCase = false;
    bool WholeWord = false;
};

class TStrUtils {
public:
    TStrUtils() = delete;

    // The JSON string literal for value, quotes included. U+20AC and above (surrogate halves
    // included) and control units are written as \uXXXX; U+007F..U+20AB are written as is.
    static Text StringToJsonString(TextView value);

    // The pieces of Value between occurrences of Separator: n occurrences give n + 1 pieces.
    // An empty Separator gives Value alone.
    static TArrayStrings ExplodeStrings(TextView Separator, TextView Value);
    static Text ImplodeStrings(TextView Separator, const TArrayStrings& ArrayString);

    // MIME type for a file name's extension: the built-in table overlaid by the content types
    // the operating system registers; "application/octet-stream" when none matches.
    static Text GetFileMIMEType(TextView FileName);

    // ' becomes \x27 and " becomes \x22; nothing else changes (a backslash stays as it is).
    static Text QuoteJavascript(TextView Value);
    static Text UnquoteJavascript(TextView Value);
    // QuoteJavascript, then : becomes \x3a and | becomes \x7c; Unquote reverses it.
    static Text QuoteArguments(TextView Value);
    static Text UnquoteArguments(TextView Value);

    // The non-empty lines of Value, each trimmed, quoted for script and put in double quotes,
    // joined by ", ": the items of a script array literal without the brackets.
    static Text GetJavascriptArrayFromMultilineString(TextView Value);

    // Number in decimal with at least Length digits, zero-filled after any minus sign.
    static Text AddLeadingZeroes(std::int32_t Number, std::int32_t Length);
    static Text RepeatString(TextView Value, std::uint32_t Count);
    // The first unit upper-cased when it is an ASCII letter a-z.
    static Text Capitalize(TextView Value);

    // ALength units drawn uniformly from ACharSequence; empty when either is empty. The
    // overload without a generator uses a per-thread engine seeded from std::random_device.
    static Text GetRandomString(std::int32_t ALength, TextView ACharSequence, std::mt19937& Generator);
    static Text GetRandomString(std::int32_t ALength, TextView ACharSequence);
    // Name, "-" and ten random lower-case letters or digits.
    static Text GetControlRandomSuffix(TextView Name);

    // Cache folder for a compiled app: the file name of AppFilePath without extension plus
    // Suffix (TempCache when AppFilePath is empty), inside AppFilePath's folder when that
    // exists, else inside DefaultDir. Folders end in the platform's path separator.
    static Text GetCompilerCacheDir(TextView AppFilePath, TextView Suffix, TextView TempCache, TextView DefaultDir);

    // The query parameters of URL: the text after "?" (up to any "#") split at "&", each item
    // with "+" turned into a blank and its percent-escapes decoded as UTF-8.
    static TArrayStrings GetUrlArguments(TextView URL);

    // Width and Height from the first "<digits>x<digits>" in Value; both -1 when there is none
    // or its numbers do not fit. Returns whether they were set.
    static bool StrToResolution(TextView Value, std::int32_t& Width, std::int32_t& Height);

    // Position of ASubString in AString under the options, or TextView::npos. An empty
    // ASubString is never found.
    static size_t FindSubString(TextView AString, TextView ASubString, TSearchOptions ASearchOptions);
    static bool SubStringExists(TextView AString, TextView ASubString, TSearchOptions ASearchOptions);

    // Prefix tests, ASCII letter case ignored: "http://" or "https://"; "app/files/";
    // "app/plugins/".
    static bool FilePathIsHttpUrl(TextView Path);
    static bool FilePathIsAppRelative(TextView Path);
    static bool FilePathIsPluginRelative(TextView Path);
};

} // namespace Velmora::Shared
