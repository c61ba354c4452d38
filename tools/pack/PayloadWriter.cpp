#include "PayloadWriter.h"

#include "payload/PayloadReader.h"

#include <zip.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <stdexcept>
#include <string>

namespace Velmora::Pack {

using Shared::Bytes;

namespace {

struct SourceDeleter {
    void operator()(zip_source_t* s) const { zip_source_free(s); }
};
using SourcePtr = std::unique_ptr<zip_source_t, SourceDeleter>;
struct ArchiveDeleter {
    void operator()(zip_t* z) const { zip_discard(z); }
};
using ArchivePtr = std::unique_ptr<zip_t, ArchiveDeleter>;

Bytes ReadWholeFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read '" + Shared::ToUtf8(Shared::FromPath(path)) + "'");
    Bytes data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) throw std::runtime_error("cannot read '" + Shared::ToUtf8(Shared::FromPath(path)) + "'");
    return data;
}

std::string LibzipError(zip_t* archive) { return zip_error_strerror(zip_get_error(archive)); }

void OnProgress(zip_t*, double done, void* state) { (*static_cast<const std::function<void(double)>*>(state))(done); }

} // namespace

Bytes BuildPayloadArchive(const std::vector<TPayloadItem>& items, const std::function<void(double)>& progress) {
    zip_error_t error;
    zip_error_init(&error);
    SourcePtr buffer(zip_source_buffer_create(nullptr, 0, 0, &error));
    if (!buffer) throw std::runtime_error("cannot create the archive in memory");
    ArchivePtr archive(zip_open_from_source(buffer.get(), ZIP_TRUNCATE, &error));
    if (!archive) throw std::runtime_error("cannot create the archive in memory");
    zip_source_keep(buffer.get()); // the archive's reference; ours stays for reading back

    const std::string password(Shared::ArchivePassword);
    std::vector<Bytes> contents; // libzip reads them at zip_close
    contents.reserve(items.size());
    for (const auto& item : items) {
        const std::string name = Shared::ToUtf8(item.EntryName);
        zip_int64_t index;
        if (item.Source.empty()) {
            index = zip_dir_add(archive.get(), name.c_str(), ZIP_FL_ENC_UTF_8);
        } else {
            contents.push_back(ReadWholeFile(item.Source));
            const Bytes& data = contents.back();
            zip_source_t* src = zip_source_buffer(archive.get(), data.data(), data.size(), 0);
            index = src ? zip_file_add(archive.get(), name.c_str(), src, ZIP_FL_ENC_UTF_8) : -1;
            if (src && index < 0) zip_source_free(src);
            // No zip_file_set_mtime: libzip 1.7 takes the encryption header's check byte from the
            // source's own time (the moment of packing) and the reader checks it against the
            // entry's time, so a file's older time would make the entry unreadable.
        }
        if (index < 0 || zip_set_file_compression(archive.get(), index, ZIP_CM_STORE, 0) < 0 ||
            zip_file_set_encryption(archive.get(), index, ZIP_EM_TRAD_PKWARE, password.c_str()) < 0)
            throw std::runtime_error("cannot add '" + name + "': " + LibzipError(archive.get()));
    }

    if (progress)
        zip_register_progress_callback_with_state(archive.get(), 0.01, OnProgress, nullptr,
                                                  const_cast<std::function<void(double)>*>(&progress));
    if (zip_close(archive.get()) < 0)
        throw std::runtime_error("cannot write the archive: " + LibzipError(archive.get()));
    archive.release(); // closed: nothing left to discard

    zip_stat_t st;
    if (zip_source_stat(buffer.get(), &st) < 0 || zip_source_open(buffer.get()) < 0)
        throw std::runtime_error("cannot read the archive back from memory");
    Bytes result(static_cast<size_t>(st.size));
    const zip_int64_t n = zip_source_read(buffer.get(), result.data(), result.size());
    zip_source_close(buffer.get());
    if (n < 0 || static_cast<zip_uint64_t>(n) != st.size)
        throw std::runtime_error("cannot read the archive back from memory");
    return result;
}

} // namespace Velmora::Pack
