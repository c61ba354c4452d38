// Fuzz targets that reach the user's registry store: XDG_DATA_HOME points at a scratch folder of
// this process, removed when it ends, so random input never writes to the real store.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace Velmora::Fuzz {

inline void UseScratchDataHome(const char* Target) {
    static const auto folder = std::filesystem::temp_directory_path() /
                               (std::string("velmora-fuzz-") + Target + "-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    setenv("XDG_DATA_HOME", folder.c_str(), 1);
    std::atexit([] {
        std::error_code ec;
        std::filesystem::remove_all(folder, ec);
    });
}

} // namespace Velmora::Fuzz
