// A stand-in for the WebView2 loader library in tests. It reports the browser version that the
// test chose through the environment variable VELMORA_TEST_WEBVIEW2_VERSION; unset or empty
// means no runtime (E_FAIL and no string).
#include <windows.h>
#include <objbase.h>

#include <cstring>

extern "C" HRESULT WINAPI GetAvailableCoreWebView2BrowserVersionString(PCWSTR browserExecutableFolder,
                                                                       LPWSTR* versionInfo) {
    (void)browserExecutableFolder;
    if (!versionInfo) return E_POINTER;
    *versionInfo = nullptr;
    wchar_t version[256] = {};
    const DWORD n = GetEnvironmentVariableW(L"VELMORA_TEST_WEBVIEW2_VERSION", version, 256);
    if (n == 0 || n >= 256) return E_FAIL;
    const size_t bytes = (n + 1) * sizeof(wchar_t);
    auto* copy = static_cast<wchar_t*>(CoTaskMemAlloc(bytes));
    if (!copy) return E_OUTOFMEMORY;
    std::memcpy(copy, version, bytes);
    *versionInfo = copy;
    return S_OK;
}
