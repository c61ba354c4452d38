#include "PackCommands.h"

#include "PayloadWriter.h"
#include "ProgressBar.h"
#include "Stdout.h"
#include "platform/ExecutablePath.h"
#include "payload/ExeUtils.h"
#include "payload/PayloadReader.h"
#include "payload/ProjectSettings.h"
#include "payload/StartupValues.h"

#include <algorithm>
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

fs::path DefaultRuntime() {
    // The runtime is installed beside the tool and shares its file-name extension (.exe or none).
    const fs::path self = ToPath(Platform::ExecutablePath());
    return self.parent_path() / (u8"VelmoraRuntime" + self.extension().u8string());
}

bool IsRootEntryFile(const fs::path& relative) {
    if (relative.has_parent_path()) return false;
    const Text name = FromPath(relative);
    return std::find(std::begin(RootEntryFiles), std::end(RootEntryFiles), name) != std::end(RootEntryFiles);
}

std::vector<TPayloadItem> CollectItems(const fs::path& appDir, const fs::path& iniPath, const Text& dirName) {
    std::vector<TPayloadItem> items;
    items.push_back({u"qmt.ini", iniPath});
    items.push_back({dirName + u"/", {}});

    std::vector<fs::path> found;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(appDir, ec), end; !ec && it != end; it.increment(ec))
        found.push_back(it->path());
    if (ec) throw EPackError("cannot read the app folder " + QuotePath(appDir) + ": " + ec.message());
    std::sort(found.begin(), found.end()); // stable archives for the same folder

    for (const auto& path : found) {
        const fs::path relative = path.lexically_relative(appDir);
        const auto generic = relative.generic_u8string();
        const Text name = FromUtf8({reinterpret_cast<const char*>(generic.data()), generic.size()});
        if (fs::is_directory(path, ec)) {
            items.push_back({dirName + u"/" + name + u"/", {}});
        } else if (IsRootEntryFile(relative)) {
            if (name != u"qmt.ini") items.push_back({name, path}); // qmt.ini is already first
        } else if (fs::is_regular_file(path, ec)) {
            items.push_back({dirName + u"/" + name, path});
        }
    }
    return items;
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

void WriteFileBytes(const fs::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) throw EPackError("cannot write " + QuotePath(path));
}

// The payload of a packaged executable, opened with the runtime's own reader.
void OpenPayload(TextView exePath, TPayloadReader& reader) {
    if (TExeUtils::GetFileSizeByName(exePath) < 0) throw EPackError("cannot read " + Quote(exePath));
    if (!TExeUtils::GetImageEndOfFile(exePath)) throw EPackError(Quote(exePath) + " is not an executable");
    TExeUtils utils;
    auto payload = utils.ReadPayloadOfFile(exePath);
    if (!payload || payload->empty()) throw EPackError(Quote(exePath) + " carries no payload");
    reader.SetPassword(ArchivePassword);
    try {
        reader.Attach(std::move(*payload));
    } catch (const EPayloadError&) {
        throw EPackError("the payload of " + Quote(exePath) + " is not a ZIP archive");
    }
}

} // namespace

void RunBuild(const TBuildOptions& options) {
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

    const auto items = CollectItems(appDir, iniPath, settings.DirName());
    Bytes archive;
    {
        TProgressBar bar("packing");
        bar.SetMax(100);
        archive =
            BuildPayloadArchive(items, [&](double done) { bar.SetPosition(static_cast<std::int64_t>(done * 100)); });
        bar.Finish();
    }

    const fs::path output = ToPath(options.Output);
    TTempFiles temps;
    const fs::path zipTemp = temps.Add(fs::path(output) += ".zip.tmp");
    const fs::path outTemp = temps.Add(fs::path(output) += ".tmp");
    WriteFileBytes(zipTemp, archive);
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

    // Read the result back through the runtime's reader before it replaces anything.
    TPayloadReader check;
    OpenPayload(FromPath(outTemp), check);
    if (check.FindEntry(SettingsEntryName) < 0 || check.EntryCount() != static_cast<int>(items.size()))
        throw EPackError("the written payload does not read back; nothing was written");

    fs::rename(outTemp, output, ec);
    if (ec) throw EPackError("cannot write " + QuotePath(output) + ": " + ec.message());
    temps.Release(outTemp);
    std::printf("%s: %zu entries, %zu payload bytes\n", ToUtf8(FromPath(output)).c_str(), items.size(), archive.size());
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
