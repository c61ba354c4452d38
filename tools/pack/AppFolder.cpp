#include "AppFolder.h"

#include "PackCommands.h"

#include <algorithm>
#include <set>

namespace fs = std::filesystem;

namespace Velmora::Pack {

using namespace Velmora::Shared;

namespace {

std::string Utf8(const fs::path& path) {
    const auto text = path.generic_u8string();
    return std::string(text.begin(), text.end());
}

bool IsInside(const fs::path& root, const fs::path& path) {
    auto r = root.begin(), p = path.begin();
    for (; r != root.end(); ++r, ++p)
        if (p == path.end() || *r != *p) return false;
    return true;
}

bool IsRootEntryFile(const std::string& name) {
    const Text text = FromUtf8(name);
    return std::find(std::begin(RootEntryFiles), std::end(RootEntryFiles), text) != std::end(RootEntryFiles);
}

class TWalker {
public:
    TWalker(const fs::path& root, const Text& dirName, const TIgnoreRules& rules, bool compress, fs::path leaveOut,
            TAppFiles& out)
        : FRoot(root), FDirName(dirName), FRules(rules), FCompress(compress), FLeaveOut(std::move(leaveOut)),
          FOut(out) {}

    void Walk(const fs::path& folder, const std::string& relative) {
        std::error_code ec;
        const fs::path real = fs::canonical(folder, ec);
        if (ec) throw EPackError("cannot read the folder '" + Utf8(folder) + "': " + ec.message());
        FOpen.insert(real);
        std::vector<fs::path> children;
        for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
            children.push_back(it->path());
        if (ec) throw EPackError("cannot read the folder '" + Utf8(folder) + "': " + ec.message());
        std::sort(children.begin(), children.end()); // stable archives for the same folder

        for (const auto& child : children) {
            const std::string name = Utf8(child.filename());
            const std::string path = relative.empty() ? name : relative + "/" + name;
            if (fs::is_symlink(fs::symlink_status(child, ec))) {
                const fs::path target = fs::canonical(child, ec);
                if (ec) {
                    FOut.Warnings.push_back("left out '" + path + "': a link to nothing");
                    continue;
                }
                if (!IsInside(FRoot, target)) {
                    FOut.Warnings.push_back("left out '" + path + "': a link out of the app folder");
                    continue;
                }
            }
            const fs::file_status status = fs::status(child, ec);
            if (fs::is_directory(status)) {
                if (FRules.IsIgnored(path, true)) continue;
                if (FOpen.count(fs::canonical(child, ec)) != 0) {
                    FOut.Warnings.push_back("left out '" + path + "': a link back into a folder that contains it");
                    continue;
                }
                FOut.Items.push_back({FDirName + u"/" + FromUtf8(path) + u"/", {}});
                Walk(child, path);
            } else if (fs::is_regular_file(status)) {
                if (FRules.IsIgnored(path, false) || IsLeftOut(child)) continue;
                if (relative.empty() && IsRootEntryFile(name)) {
                    if (name != "qmt.ini") Add(FromUtf8(name), child); // qmt.ini is already first
                } else {
                    Add(FDirName + u"/" + FromUtf8(path), child);
                }
            } else if (!FRules.IsIgnored(path, false)) {
                FOut.Warnings.push_back("left out '" + path + "': neither a file nor a folder");
            }
        }
        FOpen.erase(real);
    }

    void Add(Text entry, const fs::path& source) {
        std::error_code ec;
        const auto size = fs::file_size(source, ec);
        if (ec) throw EPackError("cannot read '" + Utf8(source) + "': " + ec.message());
        FOut.Items.push_back({std::move(entry), source, FCompress && !IsCompressedFormat(source)});
        ++FOut.FileCount;
        FOut.BytesIn += size;
    }

private:
    bool IsLeftOut(const fs::path& file) const {
        if (FLeaveOut.empty()) return false;
        std::error_code ec;
        return fs::equivalent(file, FLeaveOut, ec);
    }

    const fs::path& FRoot;
    const Text& FDirName;
    const TIgnoreRules& FRules;
    bool FCompress;
    fs::path FLeaveOut;
    TAppFiles& FOut;
    std::set<fs::path> FOpen; // the folders being walked, by their real path: link loops end
};

} // namespace

TAppFiles CollectAppFiles(const fs::path& appDir, const fs::path& iniPath, const Text& dirName,
                          const TIgnoreRules& rules, bool compress, const fs::path& leaveOut) {
    std::error_code ec;
    const fs::path root = fs::canonical(appDir, ec);
    if (ec) throw EPackError("cannot read the app folder '" + Utf8(appDir) + "': " + ec.message());
    TAppFiles files;
    TWalker walker(root, dirName, rules, compress, leaveOut, files);
    walker.Add(u"qmt.ini", iniPath);
    files.Items.push_back({dirName + u"/", {}});
    walker.Walk(root, "");
    return files;
}

} // namespace Velmora::Pack
