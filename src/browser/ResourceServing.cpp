#include "browser/ResourceServing.h"

#include "shared/MimeTypes.h"
#include "shared/StrUtils.h"
#include "shared/StringHelpers.h"
#include "payload/PayloadReader.h"

#include <filesystem>
#include <fstream>
#include <system_error>

namespace Velmora::Shared {

namespace {

// The rest of a URI up to its query.
TextView WithoutQuery(TextView remainder) { return remainder.substr(0, remainder.find(u'?')); }

// The path a URI asks for: the scheme's prefix removed wherever it occurs (exactly as
// written), the query cut off, "%20" turned into a blank and no other escape decoded.
Text RequestPath(TextView remainder) { return ReplaceAll(WithoutQuery(remainder), u"%20", u" "); }

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

Text MimeTypeOf(TextView path) {
    if (AsciiLower(ExtractFileExt(path)) == u".js") return u"application/javascript";
    return TStrUtils::GetFileMIMEType(ExtractFileName(path));
}

// Reads an existing regular file whole into content. A folder, a missing file or one that
// cannot be read counts as no file.
bool ReadRegularFile(TextView name, Bytes& content) {
    std::error_code error;
    const std::filesystem::path path = ToPath(name);
    if (!std::filesystem::is_regular_file(path, error)) return false;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error) return false;
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    content.resize(static_cast<size_t>(size));
    in.read(reinterpret_cast<char*>(content.data()), static_cast<std::streamsize>(content.size()));
    if (static_cast<std::uintmax_t>(in.gcount()) != size) {
        content.clear();
        return false;
    }
    return true;
}

// The three sources of path, with AbsolutePath left to the caller.
TResourceSources SourcesOf(const Text& path, TextView AppDirName, TextView AppDirPath,
                           const Platform::TAppScheme& Scheme) {
    TResourceSources sources;
    sources.MimeType = MimeTypeOf(path);
    if (!AppDirName.empty()) sources.PayloadEntry.assign(AppDirName).append(u"/").append(path);
    sources.BesideExecutable.assign(AppDirPath).append(path);
    for (char16_t& c : sources.BesideExecutable)
        if (c == u'/') c = Scheme.PathDelimiter;
    return sources;
}

// The answer from the first source that has the file.
std::optional<Platform::TWebResourceResponse> AnswerFromSources(const TResourceSources& sources,
                                                                const TPayloadReader* ExeZip) {
    Platform::TWebResourceResponse response;
    const auto answer = [&response]() -> std::optional<Platform::TWebResourceResponse> {
        response.Headers.assign(u"Content-Type: ").append(response.MimeType).append(u"; charset=utf-8");
        return std::move(response);
    };
    response.MimeType = sources.MimeType;

    if (!sources.PayloadEntry.empty() && ExeZip != nullptr && ExeZip->FindEntry(sources.PayloadEntry) >= 0) {
        ExeZip->ExtractToStream(sources.PayloadEntry, response.Content); // straight into the answer's buffer
        return answer();
    }
    if (ReadRegularFile(sources.BesideExecutable, response.Content)) return answer();
    if (ReadRegularFile(sources.AbsolutePath, response.Content)) return answer();
    return std::nullopt;
}

} // namespace

std::optional<Text> DecodePercentEscapes(TextView Path) {
    const std::string utf8 = ToUtf8(Path);
    std::string decoded;
    decoded.reserve(utf8.size());
    bool changed = false;
    for (size_t i = 0; i < utf8.size(); ++i) {
        const int high = utf8[i] == '%' && i + 2 < utf8.size() ? HexValue(utf8[i + 1]) : -1;
        const int low = high >= 0 ? HexValue(utf8[i + 2]) : -1;
        if (low < 0) {
            decoded.push_back(utf8[i]);
            continue;
        }
        decoded.push_back(static_cast<char>(high * 16 + low));
        i += 2;
        changed = true;
    }
    if (!changed || decoded.find('\0') != std::string::npos) return std::nullopt;
    Text text = FromUtf8(decoded);
    // Invalid bytes come back as U+FFFD, which does not encode to them again.
    if (ToUtf8(text) != decoded) return std::nullopt;
    return text;
}

std::optional<TResourceSources> DeriveResourceSources(TextView Uri, TextView AppDirName, TextView AppDirPath,
                                                      const Platform::TAppScheme& Scheme) {
    if (!StartsWithAscii(Uri, Scheme.Prefix)) return std::nullopt;
    // A prefix written in other letter case passes the test above but is not removed here: the
    // URI stays whole and names no app file, so the browser handles it.
    const Text remainder = ReplaceAll(Uri, Scheme.Prefix, u"");
    TResourceSources sources = SourcesOf(RequestPath(remainder), AppDirName, AppDirPath, Scheme);
    sources.AbsolutePath.assign(Scheme.AbsoluteRoot).append(remainder);
    return sources;
}

std::optional<TResourceSources> DeriveDecodedResourceSources(TextView Uri, TextView AppDirName, TextView AppDirPath,
                                                             const Platform::TAppScheme& Scheme) {
    if (!StartsWithAscii(Uri, Scheme.Prefix)) return std::nullopt;
    const Text remainder = ReplaceAll(Uri, Scheme.Prefix, u"");
    const std::optional<Text> path = DecodePercentEscapes(WithoutQuery(remainder));
    if (!path) return std::nullopt;
    TResourceSources sources = SourcesOf(*path, AppDirName, AppDirPath, Scheme);
    sources.AbsolutePath.assign(Scheme.AbsoluteRoot).append(*path);
    return sources;
}

std::optional<Platform::TWebResourceResponse> AnswerWebResourceRequest(TextView Uri, const TPayloadReader* ExeZip,
                                                                       TextView AppDirName, TextView AppDirPath,
                                                                       bool HandleRequests,
                                                                       const Platform::TAppScheme& Scheme) {
    if (!HandleRequests) return std::nullopt;
    const std::optional<TResourceSources> sources = DeriveResourceSources(Uri, AppDirName, AppDirPath, Scheme);
    if (!sources) return std::nullopt;
    if (auto answer = AnswerFromSources(*sources, ExeZip)) return answer;
    // Only when the path as specified names nothing, so every name found that way still is.
    if (const auto decoded = DeriveDecodedResourceSources(Uri, AppDirName, AppDirPath, Scheme))
        return AnswerFromSources(*decoded, ExeZip);
    return std::nullopt;
}

} // namespace Velmora::Shared
