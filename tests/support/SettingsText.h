// Settings read from raw bytes, as start-up reads "qmt.ini", for the tests of text decoding.
#pragma once

#include "payload/ProjectSettings.h"

#include <string>

namespace Velmora::Tests {

// A settings file written in UTF-8 without a byte-order mark: "é" is two bytes.
inline const std::string UnmarkedUtf8Settings = "[App]\nName=caf\xC3\xA9\n";

inline Shared::TProjectSettings LoadSettingsBytes(const std::string& bytes) {
    Shared::TProjectSettings settings;
    settings.Document().LoadFromBytes(Shared::Bytes(bytes.begin(), bytes.end()));
    return settings;
}

} // namespace Velmora::Tests
