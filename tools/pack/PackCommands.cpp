#include "PackCommands.h"

#include "AppFolder.h"
#include "IgnoreRules.h"
#include "PayloadWriter.h"
#include "ProgressBar.h"
#include "Stdout.h"
#include "platform/ExecutablePath.h"
#include "payload/ExeUtils.h"
#include "payload/PayloadReader.h"
#include "payload/ProjectSettings.h"
#include "payload/StartupValues.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace Velmora::Pack {

using namespace Velmora::Shared;

namespace {

std::string Quote(TextView text) { return "'" + ToUtf8(text) + "'"; }
std::string QuotePath(const fs::path& path) { return Quote(TextView(FromPath(path))); }

// Removes the files it names unless released: no half-written output survives a failure.
class TTempFiles {
public:
    ~TTempFiles() {
        std::error_code ec;
        for (const auto& p : FPaths) fs::remove(p, ec);
    }
    const fs::path& Add(fs::path p) { return FPaths.emplace_back(std::move(p)); }
    void Release(const fs::path& p) { std::erase(FPaths, p); }

private:
    std::vector<fs::path> FPaths;
};

Bytes ReadFileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw EPackError("cannot read " + QuotePath(path));
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

TProjectSettings LoadSettings(const fs::path& iniPath) {
    std::error_code ec;
    if (!fs::is_regular_file(iniPath, ec)) throw EPackError("settings file " + QuotePath(iniPath) + " not found");
    TProjectSettings settings;
    settings.Document().LoadFromBytes(ReadFileBytes(iniPath));
    const std::pair<const char*, Text> required[] = {
        {"ID", settings.ID()}, {"Name", settings.Name()}, {"DirName", settings.DirName()}};
    for (const auto& [key, value] : required)
        if (value.empty())
            throw EPackError(QuotePath(iniPath) + ": the key '" + key + "' of section [App] is missing or empty");
    if (!Runtime::IsUsableAppId(settings.ID()))
        throw EPackError(QuotePath(iniPath) + ": the ID '" + ToUtf8(settings.ID()) +
                         "' names no folder of its own (no path separators, no <>:\"|?* or control characters, not . "
                         "or .., no trailing dot or blank)");
    return settings;
}

// The runtime to pack: the one installed beside the tool (same file-name extension, .exe or none),
// else the one of the build tree the tool was built in (build/<preset>/tools/pack next to
// build/<preset>/src). Says which it took.
fs::path DefaultRuntime() {
    const fs::path self = ToPath(Platform::ExecutablePath());
    const fs::path name = u8"VelmoraRuntime" + self.extension().u8string();
    const fs::path beside = self.parent_path() / name;
    const fs::path built = self.parent_path().parent_path().parent_path() / "src" / name;
    std::error_code ec;
    if (fs::is_regular_file(beside, ec)) {
        std::printf("runtime: %s (beside velmora-pack)\n", ToUtf8(FromPath(beside)).c_str());
        return beside;
    }
    if (fs::is_regular_file(built, ec)) {
        std::printf("runtime: %s (the build tree of velmora-pack)\n", ToUtf8(FromPath(built)).c_str());
        return built;
    }
    throw EPackError("no runtime beside velmora-pack (" + QuotePath(beside) + ") or in its build tree (" +
                     QuotePath(built) + "); name one with --runtime");
}

TIgnoreRules LoadIgnoreRules(const fs::path& appDir, const std::vector<std::string>& excludes) {
    TIgnoreRules rules;
    rules.AddLines(DefaultIgnoreRules);
    const fs::path own = appDir / ".velmoraignore";
    std::error_code ec;
    if (fs::exists(own, ec)) {
        const Bytes text = ReadFileBytes(own);
        rules.AddLines(std::string_view(reinterpret_cast<const char*>(text.data()), text.size()));
    }
    for (const auto& pattern : excludes) rules.Add(pattern);
    return rules;
}

// The start page as the runtime asks for it: DirName/IndexHtml without a query or fragment,
// ASCII letters in any case.
void WarnOfMissingStartPage(const TProjectSettings& settings, const std::vector<TPayloadItem>& items) {
    auto fold = [](Text text) {
        for (auto& c : text)
            if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
        return text;
    };
    const Text page = settings.IndexHtml();
    const Text wanted = fold(settings.DirName() + u"/" + page.substr(0, page.find_first_of(u"?#")));
    for (const auto& item : items)
        if (!item.Source.empty() && fold(item.EntryName) == wanted) return;
    std::fprintf(stderr,
                 "velmora-pack: warning: IndexHtml '%s' names no packed file (the window would show only \"The app "
                 "has no such file.\")\n",
                 ToUtf8(page).c_str());
}

std::string Megabytes(std::uint64_t bytes) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f MB", static_cast<double>(bytes) / 1e6);
    return text;
}

// Copies the first `count` bytes of `from` into a new file `to`, with the source's permissions.
void CopyImage(const fs::path& from, const fs::path& to, std::uint64_t count) {
    std::ifstream in(from, std::ios::binary);
    if (!in) throw EPackError("cannot read the runtime " + QuotePath(from));
    std::ofstream out(to, std::ios::binary | std::ios::trunc);
    if (!out) throw EPackError("cannot write " + QuotePath(to));
    std::vector<char> buffer(1 << 20);
    while (count > 0) {
        const auto chunk = static_cast<std::streamsize>(std::min<std::uint64_t>(count, buffer.size()));
        if (!in.read(buffer.data(), chunk)) throw EPackError("cannot read the runtime " + QuotePath(from));
        if (!out.write(buffer.data(), chunk)) throw EPackError("cannot write " + QuotePath(to));
        count -= static_cast<std::uint64_t>(chunk);
    }
    out.close();
    if (!out) throw EPackError("cannot write " + QuotePath(to));
    std::error_code ec;
    fs::permissions(to, fs::status(from, ec).permissions(), ec);
}

// The payload of a packaged executable, opened with the runtime's own reader.
void OpenPayload(TextView exePath, TPayloadReader& reader) {
    if (TExeUtils::GetFileSizeByName(exePath) < 0) throw EPackError("cannot read " + Quote(exePath));
    if (!TExeUtils::GetImageEndOfFile(exePath)) throw EPackError(Quote(exePath) + " is not an executable");
    TExeUtils utils;
    // Read in place: listing or checking a large payload takes no copy of it.
    auto payload = utils.MapPayloadOfFile(exePath);
    if (!payload || payload->Empty()) throw EPackError(Quote(exePath) + " carries no payload");
    reader.SetPassword(ArchivePassword);
    try {
        reader.Attach(std::move(*payload));
    } catch (const EPayloadError&) {
        throw EPackError("the payload of " + Quote(exePath) + " is not a ZIP archive");
    }
}

} // namespace

void RunBuild(const TBuildOptions& options) {
    const auto started = std::chrono::steady_clock::now();
    std::error_code ec;
    const fs::path appDir = ToPath(options.AppDir);
    if (!fs::is_directory(appDir, ec)) throw EPackError("app folder " + QuotePath(appDir) + " not found");
    const fs::path iniPath = options.Ini.empty() ? appDir / "qmt.ini" : ToPath(options.Ini);
    const TProjectSettings settings = LoadSettings(iniPath);

    const fs::path runtime = options.Runtime.empty() ? DefaultRuntime() : ToPath(options.Runtime);
    const std::int64_t runtimeSize = TExeUtils::GetFileSizeByName(FromPath(runtime));
    if (runtimeSize < 0) throw EPackError("runtime " + QuotePath(runtime) + " not found");
    const auto imageEnd = TExeUtils::GetImageEndOfFile(FromPath(runtime));
    if (!imageEnd) throw EPackError("runtime " + QuotePath(runtime) + " is not an executable");
    if (static_cast<std::uint64_t>(runtimeSize) > *imageEnd && !options.Replace)
        throw EPackError("runtime " + QuotePath(runtime) + " already carries a payload (use --replace to strip it)");

    const fs::path output = ToPath(options.Output);
    const TIgnoreRules rules = LoadIgnoreRules(appDir, options.Excludes);
    const TAppFiles files = CollectAppFiles(appDir, iniPath, settings.DirName(), rules, options.Compress, output);
    for (const auto& warning : files.Warnings) std::fprintf(stderr, "velmora-pack: warning: %s\n", warning.c_str());
    WarnOfMissingStartPage(settings, files.Items);

    TTempFiles temps;
    const fs::path zipTemp = temps.Add(fs::path(output) += ".zip.tmp");
    const fs::path outTemp = temps.Add(fs::path(output) += ".tmp");
    {
        TProgressBar bar("packing");
        bar.SetMax(100);
        try {
            WritePayloadArchive(files.Items, zipTemp,
                                [&](double done) { bar.SetPosition(static_cast<std::int64_t>(done * 100)); });
        } catch (const std::runtime_error& e) {
            throw EPackError(e.what());
        }
        bar.Finish();
    }
    CopyImage(runtime, outTemp, *imageEnd);

    TExeUtils utils;
    TProgressBar bar("appending");
    utils.OnProgressMax = [&](TExeUtils&, std::int64_t max) { bar.SetMax(max); };
    utils.OnProgressPos = [&](TExeUtils&, std::int64_t pos) { bar.SetPosition(pos); };
    try {
        utils.AppendZipToExe(FromPath(zipTemp), FromPath(outTemp));
    } catch (const std::runtime_error& e) {
        throw EPackError(std::string("cannot write ") + QuotePath(outTemp) + ": " + e.what());
    }
    bar.Finish();
    const std::int64_t payloadSize = TExeUtils::GetFileSizeByName(FromPath(zipTemp));

    // Read the result back through the runtime's reader before it replaces anything.
    TPayloadReader check;
    OpenPayload(FromPath(outTemp), check);
    if (check.FindEntry(SettingsEntryName) < 0 || check.EntryCount() != static_cast<int>(files.Items.size()))
        throw EPackError("the written payload does not read back; nothing was written");

    fs::rename(outTemp, output, ec);
    if (ec) throw EPackError("cannot write " + QuotePath(output) + ": " + ec.message());
    temps.Release(outTemp);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    const auto exeSize = static_cast<std::uint64_t>(TExeUtils::GetFileSizeByName(FromPath(output)));
    std::printf("%s: %zu files, %llu bytes in, %lld bytes out (%s payload, %s; %s executable), %.2f s\n",
                ToUtf8(FromPath(output)).c_str(), files.FileCount, static_cast<unsigned long long>(files.BytesIn),
                static_cast<long long>(payloadSize), options.Compress ? "deflated" : "stored",
                Megabytes(static_cast<std::uint64_t>(payloadSize)).c_str(), Megabytes(exeSize).c_str(), seconds);
}

void RunList(TextView exePath) {
    TPayloadReader reader;
    OpenPayload(exePath, reader);
    for (int i = 0; i < reader.EntryCount(); ++i)
        std::printf("%12lld  %s\n", static_cast<long long>(reader.EntrySize(i)), ToUtf8(reader.EntryName(i)).c_str());
}

void RunCat(TextView exePath, TextView entryName) {
    TPayloadReader reader;
    OpenPayload(exePath, reader);
    const int index = reader.FindEntry(entryName);
    if (index < 0) throw EPackError("no entry " + Quote(entryName) + " in " + Quote(exePath));
    // Written as it is read: an entry of any size takes no more memory than a piece of it.
    bool written = true;
    const std::int64_t total = reader.ExtractToSink(entryName, [&](const std::uint8_t* data, std::size_t size) {
        written = written && WriteStdoutBinary(data, size);
    });
    if (!written) throw EPackError("cannot write to standard output");
    if (total < 0 || total != reader.EntrySize(index))
        throw EPackError("entry " + Quote(entryName) + " cannot be read (damaged or not ours)");
}

} // namespace Velmora::Pack
