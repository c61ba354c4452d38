#include "shared/StrUtils.h"

#include "shared/MimeTypes.h"
#include "shared/StringHelpers.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <limits>
#include <system_error>

namespace Velmora::Shared {

namespace {

// How each unit below U+0080 is written: 0 as itself, 'u' as \u00XX, any other letter as
// a backslash and that letter. Units from U+0080 are written as themselves below U+20AC and
// as \uXXXX from there on.
constexpr std::array<char16_t, 0x80> AsciiEscapes = [] {
    std::array<char16_t, 0x80> table{};
    for (char16_t c = 0; c < 0x20; ++c) table[c] = u'u';
    table[u'"'] = u'"';
    table[u'\\'] = u'\\';
    table[u'/'] = u'/';
    table[0x08] = u'b';
    table[0x09] = u't';
    table[0x0A] = u'n';
    table[0x0C] = u'f';
    table[0x0D] = u'r';
    return table;
}();

constexpr char16_t FirstLongEscapeAboveAscii = 0x20AC;

// The escape code of a unit: 0 when written as itself, 'u' for \uXXXX, else the letter.
inline char16_t EscapeCode(char16_t c) {
    if (c < 0x80) return AsciiEscapes[c];
    return c >= FirstLongEscapeAboveAscii ? u'u' : 0;
}

inline bool NeedsEscape(char16_t c) { return EscapeCode(c) != 0; }

inline size_t EscapedWidth(char16_t c) {
    const char16_t code = EscapeCode(c);
    return code == 0 ? 1 : code == u'u' ? 6 : 2;
}

inline char16_t* WriteLongEscape(char16_t* to, char16_t c) {
    static constexpr char16_t Hex[] = u"0123456789ABCDEF";
    *to++ = u'\\';
    *to++ = u'u';
    for (int shift = 12; shift >= 0; shift -= 4) *to++ = Hex[(c >> shift) & 0xF];
    return to;
}

Text WithTrailingSeparator(Text folder) {
    constexpr auto separator = static_cast<char16_t>(std::filesystem::path::preferred_separator);
    if (folder.empty() || (folder.back() != separator && folder.back() != u'/')) folder += separator;
    return folder;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// "+" as a blank, then %XX escapes as bytes of UTF-8; a "%" not followed by two hex digits
// stays as it is.
Text DecodeQueryItem(TextView item) {
    const std::string utf8 = ToUtf8(ReplaceAll(item, u"+", u" "));
    std::string bytes;
    bytes.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size(); ++i) {
        if (utf8[i] == '%' && i + 2 < utf8.size()) {
            const int hi = HexValue(utf8[i + 1]), lo = HexValue(utf8[i + 2]);
            if (hi >= 0 && lo >= 0) {
                bytes += static_cast<char>(hi * 16 + lo);
                i += 2;
                continue;
            }
        }
        bytes += utf8[i];
    }
    return FromUtf8(bytes);
}

bool IsAsciiDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// Decimal digits to a non-negative int32; false when the value does not fit.
bool ParseDigits(TextView digits, std::int32_t& value) {
    std::int64_t result = 0;
    for (char16_t c : digits) {
        result = result * 10 + (c - u'0');
        if (result > std::numeric_limits<std::int32_t>::max()) return false;
    }
    value = static_cast<std::int32_t>(result);
    return true;
}

// Simple case folding for the search: ASCII, Latin-1, basic Greek and Cyrillic capitals to
// their small letters. Enough for the texts a page searches; no locale is consulted.
char16_t FoldCase(char16_t c) {
    if (c < 0x80) return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c;
    if ((c >= 0xC0 && c <= 0xDE && c != 0xD7) || (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) || (c >= 0x410 && c <= 0x42F))
        return static_cast<char16_t>(c + 0x20);
    if (c >= 0x400 && c <= 0x40F) return static_cast<char16_t>(c + 0x50);
    return c;
}

// Letters and digits make words; ASCII and Latin-1 punctuation, blanks and the general and
// CJK punctuation blocks separate them. Other scripts' units count as letters.
bool IsWordUnit(char16_t c) {
    if (c < 0x80) return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
    if (c < 0xC0 || c == 0xD7 || c == 0xF7) return false;
    if ((c >= 0x2000 && c <= 0x206F) || (c >= 0x3000 && c <= 0x303F)) return false;
    return true;
}

bool MatchesAt(TextView text, size_t at, TextView sub, const TSearchOptions& options) {
    for (size_t k = 0; k < sub.size(); ++k) {
        const char16_t a = text[at + k], b = sub[k];
        if (a != b && (options.MatchCase || FoldCase(a) != FoldCase(b))) return false;
    }
    if (!options.WholeWord) return true;
    const size_t end = at + sub.size();
    return (at == 0 || !IsWordUnit(text[at - 1])) && (end == text.size() || !IsWordUnit(text[end]));
}

} // namespace

Text TStrUtils::StringToJsonString(TextView value) {
    size_t first = 0;
    while (first < value.size() && !NeedsEscape(value[first])) ++first;
    if (first == value.size()) {
        Text out;
        out.reserve(value.size() + 2);
        out += u'"';
        out.append(value);
        out += u'"';
        return out;
    }

    size_t width = value.size() + 2;
    for (size_t i = first; i < value.size(); ++i) width += EscapedWidth(value[i]) - 1;
    Text out(width, u'"'); // the exact length, written in place; the quotes are the ends
    char16_t* to = out.data() + 1;
    to = std::copy(value.begin(), value.begin() + static_cast<std::ptrdiff_t>(first), to);
    for (size_t i = first; i < value.size(); ++i) {
        const char16_t c = value[i];
        const char16_t code = EscapeCode(c);
        if (code == 0) {
            *to++ = c;
        } else if (code == u'u') {
            to = WriteLongEscape(to, c);
        } else {
            *to++ = u'\\';
            *to++ = code;
        }
    }
    return out;
}

TArrayStrings TStrUtils::ExplodeStrings(TextView Separator, TextView Value) {
    TArrayStrings pieces;
    if (Separator.empty()) {
        pieces.emplace_back(Value);
        return pieces;
    }
    size_t start = 0;
    for (size_t hit = Value.find(Separator); hit != TextView::npos; hit = Value.find(Separator, start)) {
        pieces.emplace_back(Value.substr(start, hit - start));
        start = hit + Separator.size();
    }
    pieces.emplace_back(Value.substr(start));
    return pieces;
}

Text TStrUtils::ImplodeStrings(TextView Separator, const TArrayStrings& ArrayString) {
    Text out;
    for (size_t i = 0; i < ArrayString.size(); ++i) {
        if (i > 0) out.append(Separator);
        out.append(ArrayString[i]);
    }
    return out;
}

Text TStrUtils::GetFileMIMEType(TextView FileName) {
    return Text(TMimeTable::ForProcess().Lookup(AsciiLower(ExtractFileExt(FileName))));
}

Text TStrUtils::QuoteJavascript(TextView Value) {
    return ReplaceAll(ReplaceAll(Value, u"'", u"\\x27"), u"\"", u"\\x22");
}

Text TStrUtils::UnquoteJavascript(TextView Value) {
    return ReplaceAll(ReplaceAll(Value, u"\\x27", u"'"), u"\\x22", u"\"");
}

Text TStrUtils::QuoteArguments(TextView Value) {
    return ReplaceAll(ReplaceAll(QuoteJavascript(Value), u":", u"\\x3a"), u"|", u"\\x7c");
}

Text TStrUtils::UnquoteArguments(TextView Value) {
    return ReplaceAll(ReplaceAll(UnquoteJavascript(Value), u"\\x3a", u":"), u"\\x7c", u"|");
}

Text TStrUtils::GetJavascriptArrayFromMultilineString(TextView Value) {
    Text out;
    for (const Text& line : ExplodeStrings(u"\n", Value)) {
        if (line.empty()) continue;
        if (!out.empty()) out += u", ";
        out += u'"';
        out += QuoteJavascript(TrimBlanks(line));
        out += u'"';
    }
    return out;
}

Text TStrUtils::AddLeadingZeroes(std::int32_t Number, std::int32_t Length) {
    // Magnitude in 64 bits so that INT32_MIN has one too.
    std::int64_t magnitude = Number;
    if (magnitude < 0) magnitude = -magnitude;
    Text digits;
    do {
        digits.insert(digits.begin(), static_cast<char16_t>(u'0' + magnitude % 10));
        magnitude /= 10;
    } while (magnitude > 0);
    Text out = Number < 0 ? Text(u"-") : Text();
    if (Length > 0 && digits.size() < static_cast<size_t>(Length))
        out.append(static_cast<size_t>(Length) - digits.size(), u'0');
    return out + digits;
}

Text TStrUtils::RepeatString(TextView Value, std::uint32_t Count) {
    Text out;
    out.reserve(Value.size() * Count);
    for (std::uint32_t i = 0; i < Count; ++i) out.append(Value);
    return out;
}

Text TStrUtils::Capitalize(TextView Value) {
    Text out(Value);
    if (!out.empty() && out[0] >= u'a' && out[0] <= u'z') out[0] = static_cast<char16_t>(out[0] - 32);
    return out;
}

Text TStrUtils::GetRandomString(std::int32_t ALength, TextView ACharSequence, std::mt19937& Generator) {
    Text out;
    if (ALength <= 0 || ACharSequence.empty()) return out;
    std::uniform_int_distribution<size_t> pick(0, ACharSequence.size() - 1);
    out.reserve(static_cast<size_t>(ALength));
    for (std::int32_t i = 0; i < ALength; ++i) out += ACharSequence[pick(Generator)];
    return out;
}

Text TStrUtils::GetRandomString(std::int32_t ALength, TextView ACharSequence) {
    thread_local std::mt19937 generator{std::random_device{}()};
    return GetRandomString(ALength, ACharSequence, generator);
}

Text TStrUtils::GetControlRandomSuffix(TextView Name) {
    return Text(Name) + u"-" + GetRandomString(10, u"abcdefghijklmnopqrstuvwxyz1234567890");
}

Text TStrUtils::GetCompilerCacheDir(TextView AppFilePath, TextView Suffix, TextView TempCache, TextView DefaultDir) {
    const std::filesystem::path app = ToPath(AppFilePath);
    const Text subFolder =
        WithTrailingSeparator(AppFilePath.empty() ? Text(TempCache) : FromPath(app.stem()) + Text(Suffix));
    const std::filesystem::path folder = app.parent_path();
    std::error_code error;
    if (!folder.empty() && std::filesystem::is_directory(folder, error))
        return WithTrailingSeparator(FromPath(folder)) + subFolder;
    return WithTrailingSeparator(Text(DefaultDir)) + subFolder;
}

TArrayStrings TStrUtils::GetUrlArguments(TextView URL) {
    TArrayStrings arguments;
    const size_t question = URL.find(u'?');
    if (question == TextView::npos) return arguments;
    TextView query = URL.substr(question + 1);
    query = query.substr(0, query.find(u'#'));
    if (query.empty()) return arguments;
    for (const Text& item : ExplodeStrings(u"&", query)) arguments.push_back(DecodeQueryItem(item));
    return arguments;
}

bool TStrUtils::StrToResolution(TextView Value, std::int32_t& Width, std::int32_t& Height) {
    Width = -1;
    Height = -1;
    // The leftmost match of ([0-9]+)x([0-9]+): a run of digits that directly precedes "x" and
    // a digit. A later start inside the same run ends at the same place, so skip whole runs.
    size_t i = 0;
    while (i < Value.size()) {
        if (!IsAsciiDigit(Value[i])) {
            ++i;
            continue;
        }
        size_t end = i;
        while (end < Value.size() && IsAsciiDigit(Value[end])) ++end;
        if (end + 1 < Value.size() && Value[end] == u'x' && IsAsciiDigit(Value[end + 1])) {
            size_t second = end + 1;
            while (second < Value.size() && IsAsciiDigit(Value[second])) ++second;
            std::int32_t w = 0, h = 0;
            if (!ParseDigits(Value.substr(i, end - i), w) || !ParseDigits(Value.substr(end + 1, second - end - 1), h))
                return false;
            Width = w;
            Height = h;
            return true;
        }
        i = end;
    }
    return false;
}

size_t TStrUtils::FindSubString(TextView AString, TextView ASubString, TSearchOptions ASearchOptions) {
    if (ASubString.empty() || ASubString.size() > AString.size()) return TextView::npos;
    const size_t last = AString.size() - ASubString.size();
    for (size_t step = 0; step <= last; ++step) {
        const size_t at = ASearchOptions.Down ? step : last - step;
        if (MatchesAt(AString, at, ASubString, ASearchOptions)) return at;
    }
    return TextView::npos;
}

bool TStrUtils::SubStringExists(TextView AString, TextView ASubString, TSearchOptions ASearchOptions) {
    return FindSubString(AString, ASubString, ASearchOptions) != TextView::npos;
}

bool TStrUtils::FilePathIsHttpUrl(TextView Path) {
    return StartsWithAscii(Path, u"http://") || StartsWithAscii(Path, u"https://");
}

bool TStrUtils::FilePathIsAppRelative(TextView Path) { return StartsWithAscii(Path, u"app/files/"); }

bool TStrUtils::FilePathIsPluginRelative(TextView Path) { return StartsWithAscii(Path, u"app/plugins/"); }

} // namespace Velmora::Shared
