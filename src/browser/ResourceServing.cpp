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

// The path a URI asks for: the scheme's prefix removed wherever it occurs (exactly as
// written), the query cut off, "%20" turned into a blank and no other escape decoded.
Text RequestPath(TextView remainder) {
    const size_t query = remainder.find(u'?');
    return ReplaceAll(remainder.substr(0, query), u"%20", u" ");
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

} // namespace

std::optional<TResourceSources> DeriveResourceSources(TextView Uri, TextView AppDirName, TextView AppDirPath,
                                                      const Platform::TAppScheme& Scheme) {
    if (!StartsWithAscii(Uri, Scheme.Prefix)) return std::nullopt;
    // A prefix written in other letter case passes the test above but is not removed here: the
    // URI stays whole and names no app file, so the browser handles it.
    const Text remainder = ReplaceAll(Uri, Scheme.Prefix, u"");
    TResourceSources sources;
    const Text path = RequestPath(remainder);
    sources.MimeType = MimeTypeOf(path);
    if (!AppDirName.empty()) sources.PayloadEntry.assign(AppDirName).append(u"/").append(path);
    sources.BesideExecutable.assign(AppDirPath).append(path);
    for (char16_t& c : sources.BesideExecutable)
        if (c == u'/') c = Scheme.PathDelimiter;
    sources.AbsolutePath.assign(Scheme.AbsoluteRoot).append(remainder);
    return sources;
}

std::optional<Platform::TWebResourceResponse> AnswerWebResourceRequest(TextView Uri, const TPayloadReader* ExeZip,
                                                                       TextView AppDirName, TextView AppDirPath,
                                                                       bool HandleRequests,
                                                                       const Platform::TAppScheme& Scheme) {
    if (!HandleRequests) return std::nullopt;
    const std::optional<TResourceSources> sources = DeriveResourceSources(Uri, AppDirName, AppDirPath, Scheme);
    if (!sources) return std::nullopt;

    Platform::TWebResourceResponse response;
    const auto answer = [&response]() -> std::optional<Platform::TWebResourceResponse> {
        response.Headers.assign(u"Content-Type: ").append(response.MimeType).append(u"; charset=utf-8");
        return std::move(response);
    };
    response.MimeType = sources->MimeType;

    if (!sources->PayloadEntry.empty() && ExeZip != nullptr && ExeZip->FindEntry(sources->PayloadEntry) >= 0) {
        ExeZip->ExtractToStream(sources->PayloadEntry, response.Content); // straight into the answer's buffer
        return answer();
    }
    if (ReadRegularFile(sources->BesideExecutable, response.Content)) return answer();
    if (ReadRegularFile(sources->AbsolutePath, response.Content)) return answer();
    return std::nullopt;
}

} // namespace Velmora::Shared
