// Win32: is a WebView2 runtime present? Asks the loader library itself (LoadLibraryW, its
// export "GetAvailableCoreWebView2BrowserVersionString"), then unloads it again.
#include "shared/SysUtils.h"

#include "platform/win32/WinHandles.h"
#include "platform/win32/WinText.h"

#include <windows.h>
#include <objbase.h>

namespace Velmora::Shared {

namespace {

using GetVersionString = HRESULT(WINAPI*)(PCWSTR browserExecutableFolder, LPWSTR* versionInfo);

struct CoTaskMemFreer {
    void operator()(wchar_t* text) const { CoTaskMemFree(text); }
};

} // namespace

bool TSysUtils::CheckEdgeIsInstalled(TextView EdgeLoaderDllPath) {
    const Text path(EdgeLoaderDllPath);
    // A missing file must not reach LoadLibraryW: that would search the system's folders.
    const DWORD attributes = GetFileAttributesW(Platform::Wide(path));
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;

    const Platform::UniqueModule library(LoadLibraryW(Platform::Wide(path)));
    if (!library) return false;
    const auto getVersion = reinterpret_cast<GetVersionString>(
        reinterpret_cast<void*>(GetProcAddress(library.get(), "GetAvailableCoreWebView2BrowserVersionString")));
    if (!getVersion) return false;

    LPWSTR raw = nullptr;
    getVersion(nullptr, &raw); // the result code says nothing the version does not
    const std::unique_ptr<wchar_t, CoTaskMemFreer> version(raw);
    return version && version.get()[0] != L'\0';
}

} // namespace Velmora::Shared
