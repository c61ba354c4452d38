// Win32: the WebView2 loader library, loaded on first use.
#include "platform/win32/WebView2Loader.h"

#include "platform/win32/DynamicLibrary.h"
#include "platform/win32/WinText.h"

#include <mutex>

namespace Velmora::Platform {

namespace {

// The library once it loaded. A path that failed (not yet provisioned, say) is tried again on
// the next use.
class TLoaderLibrary {
public:
    TCreateCoreWebView2Environment CreateEnvironment(Shared::TextView path) {
        const std::lock_guard lock(FMutex);
        if (!FLibrary.Loaded()) {
            const Shared::Text file(path);
            TDynamicLibrary library(Wide(file));
            if (library.Loaded()) FLibrary = std::move(library);
        }
        return FLibrary.Export<TCreateCoreWebView2Environment>("CreateCoreWebView2Environment");
    }

private:
    std::mutex FMutex;
    TDynamicLibrary FLibrary;
};

TLoaderLibrary& LoaderLibrary() {
    // Freed at process end: browser objects may still run the library's code until then.
    static TLoaderLibrary library;
    return library;
}

} // namespace

HRESULT CreateCoreWebView2Environment(Shared::TextView LoaderPath,
                                      ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler* handler) {
    const TCreateCoreWebView2Environment create = LoaderLibrary().CreateEnvironment(LoaderPath);
    return create ? create(handler) : E_FAIL;
}

} // namespace Velmora::Platform
