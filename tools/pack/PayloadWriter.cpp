#include "PayloadWriter.h"

#include "payload/PayloadReader.h"

#include <zip.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <ctime>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>

namespace Velmora::Pack {

namespace {

struct ArchiveDeleter {
    void operator()(zip_t* z) const { zip_discard(z); }
};
using ArchivePtr = std::unique_ptr<zip_t, ArchiveDeleter>;

std::string Quote(const std::filesystem::path& path) {
    std::string quoted = "'";
    quoted += Shared::ToUtf8(Shared::FromPath(path));
    return quoted += "'";
}

// A file read only while libzip writes its entry (a source of our own, so that paths are opened
// as the file system names them on every platform and a failure names its file). The entry's time
// is the moment of packing: libzip takes the encryption header's check byte from it too, and the
// reader checks the two against each other.
struct TFileSource {
    std::filesystem::path Path;
    std::time_t Time;
    std::string* Failed; // set to the failing file's name
    std::ifstream In;
    zip_error_t Error;

    zip_int64_t Fail(int code) {
        zip_error_set(&Error, code, errno);
        *Failed = Quote(Path);
        return -1;
    }
};

zip_int64_t FileSourceCallback(void* state, void* data, zip_uint64_t length, zip_source_cmd_t command) {
    auto* source = static_cast<TFileSource*>(state);
    switch (command) {
        case ZIP_SOURCE_OPEN:
            source->In.open(source->Path, std::ios::binary);
            return source->In ? 0 : source->Fail(ZIP_ER_OPEN);
        case ZIP_SOURCE_READ: {
            source->In.read(static_cast<char*>(data), static_cast<std::streamsize>(length));
            if (source->In.bad()) return source->Fail(ZIP_ER_READ);
            return static_cast<zip_int64_t>(source->In.gcount());
        }
        case ZIP_SOURCE_CLOSE: source->In.close(); return 0;
        case ZIP_SOURCE_STAT: {
            auto* stat = ZIP_SOURCE_GET_ARGS(zip_stat_t, data, length, &source->Error);
            if (stat == nullptr) return -1;
            zip_stat_init(stat);
            stat->mtime = source->Time;
            stat->valid |= ZIP_STAT_MTIME;
            return sizeof(zip_stat_t);
        }
        case ZIP_SOURCE_ERROR: return zip_error_to_data(&source->Error, data, length);
        case ZIP_SOURCE_FREE:
            zip_error_fini(&source->Error);
            delete source;
            return 0;
        case ZIP_SOURCE_SUPPORTS:
            return zip_source_make_command_bitmap(ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE, ZIP_SOURCE_STAT,
                                                  ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE, -1);
        default: zip_error_set(&source->Error, ZIP_ER_OPNOTSUPP, 0); return -1;
    }
}

std::string LibzipError(zip_t* archive) { return zip_error_strerror(zip_get_error(archive)); }

void OnProgress(zip_t*, double done, void* state) { (*static_cast<const std::function<void(double)>*>(state))(done); }

} // namespace

void WritePayloadArchive(const std::vector<TPayloadItem>& items, const std::filesystem::path& zipPath,
                         const std::function<void(double)>& progress) {
    int code = 0;
    const auto utf8Path = Shared::ToUtf8(Shared::FromPath(zipPath)); // libzip takes UTF-8 names everywhere
    ArchivePtr archive(zip_open(utf8Path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code));
    if (!archive) throw std::runtime_error("cannot write " + Quote(zipPath));

    const std::string password(Shared::ArchivePassword);
    const std::time_t now = std::time(nullptr);
    std::string failed;
    for (const auto& item : items) {
        const std::string name = Shared::ToUtf8(item.EntryName);
        zip_int64_t index;
        if (item.Source.empty()) {
            index = zip_dir_add(archive.get(), name.c_str(), ZIP_FL_ENC_UTF_8);
        } else {
            auto* state = new TFileSource{item.Source, now, &failed, {}, {}};
            zip_error_init(&state->Error);
            zip_source_t* src = zip_source_function(archive.get(), FileSourceCallback, state);
            if (src == nullptr) {
                zip_error_fini(&state->Error);
                delete state;
            }
            index = src ? zip_file_add(archive.get(), name.c_str(), src, ZIP_FL_ENC_UTF_8) : -1;
            if (src && index < 0) zip_source_free(src);
        }
        const zip_int32_t method = item.Deflate ? ZIP_CM_DEFLATE : ZIP_CM_STORE;
        // Level 6: nearly the size of level 9 at a fraction of its time; reading costs the same.
        if (index < 0 || zip_set_file_compression(archive.get(), index, method, item.Deflate ? 6 : 0) < 0 ||
            zip_file_set_encryption(archive.get(), index, ZIP_EM_TRAD_PKWARE, password.c_str()) < 0)
            throw std::runtime_error("cannot add '" + name + "': " + LibzipError(archive.get()));
    }

    if (progress)
        zip_register_progress_callback_with_state(archive.get(), 0.01, OnProgress, nullptr,
                                                  const_cast<std::function<void(double)>*>(&progress));
    if (zip_close(archive.get()) < 0) {
        if (!failed.empty()) throw std::runtime_error("cannot read " + failed + ": " + LibzipError(archive.get()));
        throw std::runtime_error("cannot write " + Quote(zipPath) + ": " + LibzipError(archive.get()));
    }
    archive.release(); // closed: nothing left to discard
}

Shared::Bytes BuildPayloadArchive(const std::vector<TPayloadItem>& items, const std::function<void(double)>& progress) {
    std::random_device random;
    std::string name = "velmora-payload-";
    name += std::to_string(random());
    name += std::to_string(random());
    name += ".zip";
    const auto path = std::filesystem::temp_directory_path() / name;
    struct TRemove {
        const std::filesystem::path& Path;
        ~TRemove() {
            std::error_code ec;
            std::filesystem::remove(Path, ec);
        }
    } remove{path};
    WritePayloadArchive(items, path, progress);
    std::ifstream in(path, std::ios::binary);
    Shared::Bytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) throw std::runtime_error("cannot read " + Quote(path));
    return bytes;
}

bool IsCompressedFormat(const std::filesystem::path& path) {
    static constexpr std::string_view Compressed[] = {
        ".png",  ".jpg", ".jpeg", ".gif", ".webp", ".avif", ".ico", ".woff", ".woff2", ".mp3", ".mp4", ".m4a",
        ".webm", ".ogg", ".oga",  ".ogv", ".opus", ".flac", ".zip", ".gz",   ".br",    ".xz",  ".7z"};
    const auto u8ext = path.extension().u8string();
    std::string ext(u8ext.begin(), u8ext.end());
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    return std::find(std::begin(Compressed), std::end(Compressed), ext) != std::end(Compressed);
}

} // namespace Velmora::Pack
