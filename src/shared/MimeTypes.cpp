#include "shared/MimeTypes.h"

#include "platform/MimeOverlay.h"

#include <array>

namespace Velmora::Shared {

namespace {

// Web content first, then the common document, archive and media types. Fonts, JSON,
// WebAssembly and script modules have no row on purpose: they get a type only from the
// operating system.
constexpr std::array BuiltInRows = {
    TMimeRow{u".htm", u"text/html"},
    TMimeRow{u".html", u"text/html"},
    TMimeRow{u".css", u"text/css"},
    TMimeRow{u".js", u"text/javascript"},
    TMimeRow{u".png", u"image/x-png"},
    TMimeRow{u".jpg", u"image/jpeg"},
    TMimeRow{u".jpeg", u"image/jpeg"},
    TMimeRow{u".gif", u"image/gif"},
    TMimeRow{u".svg", u"image/svg+xml"},
    TMimeRow{u".ico", u"image/x-icon"},
    TMimeRow{u".webp", u"image/webp"},
    TMimeRow{u".bmp", u"image/bmp"},
    TMimeRow{u".txt", u"text/plain"},
    TMimeRow{u".xml", u"text/xml"},
    TMimeRow{u".pdf", u"application/pdf"},
    TMimeRow{u".zip", u"application/x-zip-compressed"},
    TMimeRow{u".wav", u"audio/x-wav"},
    TMimeRow{u".mp3", u"audio/x-mpg"},
    TMimeRow{u".mp4", u"video/mpeg"},
    TMimeRow{u".webm", u"video/webm"},
    TMimeRow{u".ogg", u"application/ogg"},
    // text
    TMimeRow{u".shtml", u"text/html"},
    TMimeRow{u".xhtml", u"application/xhtml+xml"},
    TMimeRow{u".xsl", u"text/xml"},
    TMimeRow{u".csv", u"text/csv"},
    TMimeRow{u".tsv", u"text/tab-separated-values"},
    TMimeRow{u".rtf", u"application/rtf"},
    TMimeRow{u".ics", u"text/calendar"},
    TMimeRow{u".vcf", u"text/x-vcard"},
    TMimeRow{u".vtt", u"text/vtt"},
    TMimeRow{u".md", u"text/markdown"},
    TMimeRow{u".rss", u"application/rss+xml"},
    TMimeRow{u".atom", u"application/atom+xml"},
    TMimeRow{u".eml", u"message/rfc822"},
    TMimeRow{u".mht", u"message/rfc822"},
    TMimeRow{u".sh", u"application/x-sh"},
    TMimeRow{u".tex", u"application/x-tex"},
    // images
    TMimeRow{u".jpe", u"image/jpeg"},
    TMimeRow{u".tif", u"image/tiff"},
    TMimeRow{u".tiff", u"image/tiff"},
    TMimeRow{u".svgz", u"image/svg+xml"},
    TMimeRow{u".cur", u"image/x-icon"},
    // documents
    TMimeRow{u".doc", u"application/msword"},
    TMimeRow{u".dot", u"application/msword"},
    TMimeRow{u".xls", u"application/vnd.ms-excel"},
    TMimeRow{u".ppt", u"application/vnd.ms-powerpoint"},
    TMimeRow{u".docx", u"application/vnd.openxmlformats-officedocument.wordprocessingml.document"},
    TMimeRow{u".xlsx", u"application/vnd.openxmlformats-officedocument.spreadsheetml.sheet"},
    TMimeRow{u".pptx", u"application/vnd.openxmlformats-officedocument.presentationml.presentation"},
    TMimeRow{u".odt", u"application/vnd.oasis.opendocument.text"},
    TMimeRow{u".ods", u"application/vnd.oasis.opendocument.spreadsheet"},
    TMimeRow{u".odp", u"application/vnd.oasis.opendocument.presentation"},
    TMimeRow{u".ps", u"application/postscript"},
    TMimeRow{u".eps", u"application/postscript"},
    TMimeRow{u".ai", u"application/postscript"},
    TMimeRow{u".swf", u"application/x-shockwave-flash"},
    // archives and programs
    TMimeRow{u".gz", u"application/x-gzip"},
    TMimeRow{u".tgz", u"application/x-gzip"},
    TMimeRow{u".tar", u"application/x-tar"},
    TMimeRow{u".bz2", u"application/x-bzip2"},
    TMimeRow{u".7z", u"application/x-7z-compressed"},
    TMimeRow{u".rar", u"application/x-rar-compressed"},
    TMimeRow{u".jar", u"application/java-archive"},
    TMimeRow{u".exe", u"application/x-msdownload"},
    TMimeRow{u".dll", u"application/x-msdownload"},
    TMimeRow{u".msi", u"application/x-msi"},
    TMimeRow{u".bin", u"application/octet-stream"},
    // audio
    TMimeRow{u".mid", u"audio/midi"},
    TMimeRow{u".midi", u"audio/midi"},
    TMimeRow{u".aif", u"audio/x-aiff"},
    TMimeRow{u".aiff", u"audio/x-aiff"},
    TMimeRow{u".au", u"audio/basic"},
    TMimeRow{u".snd", u"audio/basic"},
    TMimeRow{u".m3u", u"audio/x-mpegurl"},
    TMimeRow{u".m4a", u"audio/mp4"},
    TMimeRow{u".oga", u"audio/ogg"},
    TMimeRow{u".flac", u"audio/flac"},
    TMimeRow{u".wma", u"audio/x-ms-wma"},
    // video
    TMimeRow{u".mpeg", u"video/mpeg"},
    TMimeRow{u".mpg", u"video/mpeg"},
    TMimeRow{u".mpe", u"video/mpeg"},
    TMimeRow{u".m4v", u"video/x-m4v"},
    TMimeRow{u".ogv", u"video/ogg"},
    TMimeRow{u".avi", u"video/x-msvideo"},
    TMimeRow{u".mov", u"video/quicktime"},
    TMimeRow{u".qt", u"video/quicktime"},
    TMimeRow{u".wmv", u"video/x-ms-wmv"},
    TMimeRow{u".flv", u"video/x-flv"},
    TMimeRow{u".3gp", u"video/3gpp"},
};

bool IsMimeTypesBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

} // namespace

TextView ExtractFileExt(TextView path) {
    const size_t dot = path.find_last_of(u".\\:");
    if (dot == TextView::npos || path[dot] != u'.') return {};
    return path.substr(dot);
}

TextView ExtractFileName(TextView path) {
    const size_t cut = path.find_last_of(u"\\:");
    return cut == TextView::npos ? path : path.substr(cut + 1);
}

std::span<const TMimeRow> BuiltInMimeRows() { return BuiltInRows; }

std::vector<TMimeEntry> ParseMimeTypesText(std::string_view text) {
    std::vector<TMimeEntry> entries;
    while (!text.empty()) {
        const size_t newline = text.find('\n');
        std::string_view line = text.substr(0, newline);
        text = newline == std::string_view::npos ? std::string_view() : text.substr(newline + 1);
        line = line.substr(0, line.find('#'));

        std::string_view type;
        size_t i = 0;
        while (i < line.size()) {
            while (i < line.size() && IsMimeTypesBlank(line[i])) ++i;
            const size_t start = i;
            while (i < line.size() && !IsMimeTypesBlank(line[i])) ++i;
            if (start == i) break;
            const std::string_view word = line.substr(start, i - start);
            if (type.empty()) type = word;
            else entries.push_back({FromUtf8(word), FromUtf8(type)});
        }
    }
    return entries;
}

TMimeTable::TMimeTable(std::span<const TMimeRow> builtIn, const std::vector<TMimeEntry>& overlay) {
    FTypes.reserve(builtIn.size() + overlay.size());
    for (const TMimeRow& row : builtIn)
        if (!row.Extension.empty()) FTypes.try_emplace(Text(row.Extension), row.Type);
    for (const TMimeEntry& entry : overlay) {
        if (entry.Extension.empty() || entry.Type.empty()) continue;
        Text extension = AsciiLower(entry.Extension);
        if (extension.front() != u'.') extension.insert(extension.begin(), u'.');
        FTypes.insert_or_assign(std::move(extension), AsciiLower(entry.Type));
    }
}

TextView TMimeTable::Lookup(TextView extension) const {
    const auto found = FTypes.find(extension);
    return found == FTypes.end() ? DefaultType : TextView(found->second);
}

const TMimeTable& TMimeTable::ForProcess() {
    // Immutable once built; the registry or file is read once instead of on every request.
    static const TMimeTable table(BuiltInMimeRows(), Platform::ReadSystemMimeTypes());
    return table;
}

} // namespace Velmora::Shared
