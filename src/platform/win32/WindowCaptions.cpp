// Win32: the captions of the top-level windows, in EnumWindows's order (the Z order, topmost
// first), read with GetWindowTextLengthW and GetWindowTextW.
#include "platform/WindowCaptions.h"

#include <windows.h>

namespace Velmora::Platform {

using namespace Shared;

namespace {

BOOL CALLBACK AddCaption(HWND window, LPARAM list) {
    auto& captions = *reinterpret_cast<std::vector<Text>*>(list);
    const int length = GetWindowTextLengthW(window);
    Text caption(static_cast<std::size_t>(length > 0 ? length : 0), u'\0');
    if (length > 0) {
        const int copied = GetWindowTextW(window, reinterpret_cast<wchar_t*>(caption.data()), length + 1);
        caption.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    }
    captions.push_back(std::move(caption));
    return TRUE; // every window, whatever its caption
}

} // namespace

std::vector<Text> TopLevelWindowCaptions() {
    std::vector<Text> captions;
    EnumWindows(AddCaption, reinterpret_cast<LPARAM>(&captions));
    return captions;
}

} // namespace Velmora::Platform
