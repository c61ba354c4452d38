// Win32: is a WebView2 runtime present? Asks the loader library itself (its export
// "GetAvailableCoreWebView2BrowserVersionString"), then unloads it again.
#include "platform/BrowserRuntime.h"

#include "platform/win32/DynamicLibrary.h"
#include "platform/win32/WinText.h"

namespace Velmora::Platform {

namespace {

using GetVersionString = HRESULT(WINAPI*)(PCWSTR browserExecutableFolder, LPWSTR* versionInfo);

} // namespace

bool BrowserRuntimeInstalled(Shared::TextView LoaderPath) {
    const Shared::Text path(LoaderPath);
    // A missing file must not reach LoadLibraryW: that would search the system's folders.
    const DWORD attributes = GetFileAttributesW(Wide(path));
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;

    const TDynamicLibrary library(Wide(path));
    const auto getVersion = library.Export<GetVersionString>("GetAvailableCoreWebView2BrowserVersionString");
    if (!getVersion) return false;

    LPWSTR raw = nullptr;
    getVersion(nullptr, &raw); // the result code says nothing the version does not
    const UniqueCoTaskMemory<wchar_t> version(raw);
    return version && version.get()[0] != L'\0';
}

} // namespace Velmora::Platform
