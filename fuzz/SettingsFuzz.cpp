// The settings parser: any bytes as "qmt.ini" (byte-order marks, the ANSI code page), every key
// read with its conversion.
#include "payload/ProjectSettings.h"

#include <cstddef>
#include <cstdint>

using namespace Velmora::Shared;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TProjectSettings settings;
    settings.Document().LoadFromBytes(Bytes(data, data + size));
    volatile std::size_t sink = settings.ID().size() + settings.Name().size() + settings.DirName().size() +
                                settings.IndexHtml().size() + settings.Theme().size() + settings.Password().size() +
                                settings.BridgeOrigins().size();
    sink = sink + static_cast<std::size_t>(settings.Width() + settings.Height() + settings.MinWidth() +
                                           settings.MaxWidth() + settings.WindowBorder() + settings.InstallFormColor());
    sink = sink + settings.AllowInstances() + settings.EdgeInstaller() + settings.DynamicAppTitle();
    (void)sink;
    return 0;
}
