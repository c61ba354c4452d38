// Win32: the WebView2 loader library (LoadLibraryW, GetProcAddress), loaded on first use.
#include "platform/win32/WebView2Loader.h"

#include "browser/EdgeEx.h"
#include "platform/win32/WinHandles.h"
#include "platform/win32/WinText.h"

#include <mutex>

namespace Velmora::Platform {

namespace {

template <typename Function>
Function Export(HMODULE library, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

// The library and the exports looked up in it. Only a library that loaded is kept: a path that
// failed (not yet provisioned, say) is tried again on the next use.
class TLoaderLibrary {
public:
    TCreateCoreWebView2Environment CreateEnvironment() {
        const std::lock_guard lock(FMutex);
        if (!FLibrary) Load();
        return FCreateEnvironment;
    }

private:
    void Load() {
        UniqueModule library(LoadLibraryW(Wide(Shared::WebView2LoaderPath)));
        if (!library) return;
        FCreateEnvironmentWithOptions =
            Export<TCreateCoreWebView2EnvironmentWithOptions>(library.get(), "CreateCoreWebView2EnvironmentWithOptions");
        FCreateEnvironment = Export<TCreateCoreWebView2Environment>(library.get(), "CreateCoreWebView2Environment");
        FGetVersionString = Export<TGetAvailableCoreWebView2BrowserVersionString>(
            library.get(), "GetAvailableCoreWebView2BrowserVersionString");
        FCompareVersions = Export<TCompareBrowserVersions>(library.get(), "CompareBrowserVersions");
        FLibrary = std::move(library);
    }

    std::mutex FMutex;
    UniqueModule FLibrary;
    TCreateCoreWebView2EnvironmentWithOptions FCreateEnvironmentWithOptions = nullptr;
    TCreateCoreWebView2Environment FCreateEnvironment = nullptr;
    TGetAvailableCoreWebView2BrowserVersionString FGetVersionString = nullptr;
    TCompareBrowserVersions FCompareVersions = nullptr;
};

TLoaderLibrary& LoaderLibrary() {
    // Freed at process end: browser objects may still run the library's code until then.
    static TLoaderLibrary library;
    return library;
}

} // namespace

HRESULT CreateCoreWebView2Environment(ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler* handler) {
    const TCreateCoreWebView2Environment create = LoaderLibrary().CreateEnvironment();
    return create ? create(handler) : E_FAIL;
}

} // namespace Velmora::Platform
