// The Linux registry store against a model of the registry: any sequence of writes, reads,
// deletions and tests on keys and values whose names collide in letter case, hold "\", "/",
// empty or over-long names and NULs, on a real SQLite database in a scratch $XDG_DATA_HOME.
// Input: operations of [op, key length, key units..., name length, name units..., value length,
// value bytes...], the units drawn from a small alphabet so that names meet.
#include "ScratchDataHome.h"
#include "platform/RegistryStore.h"
#include "shared/Text.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <optional>
#include <string>
#include <vector>

using namespace Velmora::Platform;
using namespace Velmora::Shared;

namespace {

constexpr char16_t Alphabet[] = {u'a', u'A', u'b', u'B', u'\\', u'/', u'\u00e9', u'\u00c9', u'\0', u' '};
const Text Base = u"Fuzz";

struct Reader {
    const std::uint8_t* Data;
    std::size_t Size, At = 0;
    bool More() const { return At < Size; }
    std::uint8_t Byte() { return At < Size ? Data[At++] : 0; }
    Text Units(std::size_t cap) {
        std::size_t length = Byte() % cap;
        Text text;
        // A long name now and then, to meet the length limit.
        if (length == cap - 1) return Text(255 + Byte() % 3, u'k');
        while (length-- > 0) text.push_back(Alphabet[Byte() % std::size(Alphabet)]);
        return text;
    }
};

// Keys by their path of ASCII-folded names; values by folded name.
struct Model {
    std::map<std::vector<Text>, std::map<Text, Text>> Keys;

    // Names end at their first NUL, as the registry's C strings do.
    static Text UpToNul(const Text& text) { return text.substr(0, text.find(u'\0')); }

    static std::optional<std::vector<Text>> Split(const Text& whole) {
        const Text key = UpToNul(whole);
        std::vector<Text> names;
        if (key.empty()) return names;
        std::size_t start = 0;
        for (;;) {
            const std::size_t end = key.find(u'\\', start);
            Text name = AsciiLower(key.substr(start, end == Text::npos ? Text::npos : end - start));
            if (name.empty() || name.size() > 255) return std::nullopt;
            names.push_back(std::move(name));
            if (end == Text::npos) return names;
            start = end + 1;
        }
    }
};

void Check(bool condition) {
    if (!condition) __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    Velmora::Fuzz::UseScratchDataHome("registry");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto store = OpenUserRegistryStore();
    store->DeleteKey(Base);
    Model model;
    model.Keys[{AsciiLower(Base)}];
    store->WriteValue(Base, u"seed", u"");
    model.Keys[{AsciiLower(Base)}][u"seed"] = u"";

    Reader in{data, size};
    for (int steps = 0; in.More() && steps < 64; ++steps) {
        const int op = in.Byte() % 6;
        const Text key = Base + u"\\" + in.Units(8);
        const Text name = in.Units(5);
        const std::size_t length = in.Byte() % 8;
        std::string bytes;
        for (std::size_t i = 0; i < length; ++i) bytes.push_back(static_cast<char>(in.Byte()));
        const Text value = FromUtf8(bytes);
        const auto path = Model::Split(key);
        const Text folded = AsciiLower(Model::UpToNul(name));
        const bool keyThere = path && model.Keys.count(*path) > 0;
        const bool valueThere = keyThere && model.Keys[*path].count(folded) > 0;

        switch (op) {
            case 0: { // write
                if (name.empty()) break;
                const TRegistryWrite written = store->WriteValue(key, name, value);
                Check(written == (path ? TRegistryWrite::Written : TRegistryWrite::KeyNotOpened));
                if (!path) break;
                for (std::size_t n = 1; n <= path->size(); ++n) model.Keys[{path->begin(), path->begin() + n}];
                model.Keys[*path][folded] = value.substr(0, value.find(u'\0'));
                break;
            }
            case 1: { // read
                if (name.empty()) break;
                const TRegistryRead read = store->ReadValue(key, name);
                if (valueThere) Check(read.Outcome == TRegistryRead::String && read.Value == model.Keys[*path][folded]);
                else Check(read.Outcome == TRegistryRead::Missing);
                break;
            }
            case 2:
                if (!name.empty()) Check(store->ValueExists(key, name) == valueThere);
                break;
            case 3:
                if (name.empty()) break;
                Check(store->DeleteValue(key, name) == valueThere);
                if (valueThere) model.Keys[*path].erase(folded);
                break;
            case 4: Check(store->KeyExists(key) == keyThere); break;
            case 5:
                // The root is never deleted (a key that ends at a NUL right away is the root).
                Check(store->DeleteKey(key) == (keyThere && !path->empty()));
                if (!keyThere || path->empty()) break;
                for (auto it = model.Keys.begin(); it != model.Keys.end();) {
                    const bool below =
                        it->first.size() >= path->size() && std::equal(path->begin(), path->end(), it->first.begin());
                    it = below ? model.Keys.erase(it) : std::next(it);
                }
                break;
        }
    }
    return 0;
}
