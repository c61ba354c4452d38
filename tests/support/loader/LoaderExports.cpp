// A stand-in for the WebView2 loader library in tests, and through it for the browser: the
// exports the host looks up, with an environment whose controller and web view record every
// call of the host (CallLog.h) and raise the events the test asks for (TestCommands.h).
//
// The browser counts as installed when the environment variable VELMORA_TEST_WEBVIEW2_VERSION
// holds a version; unset or empty means no runtime (the version query fails with no string).
// VELMORA_TEST_CREATION_FAILS set: the environment's creation fails, as with a broken runtime.
#include "CallLog.h"
#include "ComObject.h"
#include "Environment.h"
#include "UiQueue.h"
#include "platform/win32/WebView2Com.h"

#include <objbase.h>

#include <cwchar>
#include <memory>
#include <string>
#include <vector>

using namespace Velmora::TestBrowser;

namespace {

constexpr char Object[] = "loader";

std::wstring InstalledVersion() {
    wchar_t version[256] = {};
    const DWORD n = GetEnvironmentVariableW(L"VELMORA_TEST_WEBVIEW2_VERSION", version, 256);
    return n == 0 || n >= 256 ? std::wstring() : std::wstring(version, n);
}

// The variable's value, or null when it is not set.
JsonObject& WithVariable(JsonObject& record, const char* key, const wchar_t* name) {
    const DWORD n = GetEnvironmentVariableW(name, nullptr, 0);
    if (n == 0) return record.Raw(key, "null");
    std::wstring value(n, L'\0');
    value.resize(GetEnvironmentVariableW(name, value.data(), n));
    return record.Text(key, value);
}

// The real loader needs a single-threaded apartment on the calling thread.
HRESULT ApartmentError() {
    APTTYPE type;
    APTTYPEQUALIFIER qualifier;
    const HRESULT hr = CoGetApartmentType(&type, &qualifier);
    if (FAILED(hr)) return CO_E_NOTINITIALIZED;
    return type == APTTYPE_STA || type == APTTYPE_MAINSTA ? S_OK : RPC_E_CHANGED_MODE;
}

HRESULT CreateEnvironment(JsonObject record, ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler* handler) {
    // What the real loader would read from the process's environment.
    WithVariable(record, "WEBVIEW2_USER_DATA_FOLDER", L"WEBVIEW2_USER_DATA_FOLDER");
    WithVariable(record, "WEBVIEW2_ADDITIONAL_BROWSER_ARGUMENTS", L"WEBVIEW2_ADDITIONAL_BROWSER_ARGUMENTS");
    WithVariable(record, "WEBVIEW2_BROWSER_EXECUTABLE_FOLDER", L"WEBVIEW2_BROWSER_EXECUTABLE_FOLDER");
    WithVariable(record, "WEBVIEW2_RELEASE_CHANNEL_PREFERENCE", L"WEBVIEW2_RELEASE_CHANNEL_PREFERENCE");
    record.Int("threadId", GetCurrentThreadId());
    HRESULT result = handler ? ApartmentError() : E_POINTER;
    const std::wstring version = InstalledVersion();
    if (SUCCEEDED(result) && version.empty()) result = HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
    if (SUCCEEDED(result) && GetEnvironmentVariableW(L"VELMORA_TEST_CREATION_FAILS", nullptr, 0) != 0)
        result = E_ACCESSDENIED;
    std::shared_ptr<UiQueue> queue;
    if (SUCCEEDED(result)) {
        queue = std::make_shared<UiQueue>();
        if (!queue->Valid()) result = E_FAIL;
    }
    WriteRecord(record.Int("result", result));
    if (FAILED(result)) return result;
    const ComPtr<ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler> done(handler);
    queue->Post([done, queue, version] {
        const auto environment = MakeObject<Environment>(queue, version);
        const HRESULT answer = done->Invoke(S_OK, environment.Get());
        WriteRecord(
            EventRecord("EnvironmentCompleted").Int("threadId", GetCurrentThreadId()).Int("handlerResult", answer));
    });
    return S_OK;
}

// "1.2.3.4" (a channel suffix after a blank ignored) as numbers; false when not a version.
bool ParseVersion(PCWSTR text, std::vector<unsigned long>& parts) {
    std::wstring version(text);
    version = version.substr(0, version.find(L' '));
    size_t start = 0;
    for (;;) {
        const size_t dot = version.find(L'.', start);
        const std::wstring part = version.substr(start, dot == std::wstring::npos ? std::wstring::npos : dot - start);
        if (part.empty() || part.find_first_not_of(L"0123456789") != std::wstring::npos) return false;
        parts.push_back(std::wcstoul(part.c_str(), nullptr, 10));
        if (dot == std::wstring::npos) return true;
        start = dot + 1;
    }
}

} // namespace

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        DisableThreadLibraryCalls(module);
        // Once per load, with the command line, so that a further instance can be told apart.
        WriteRecord(EventRecord("load").Text("commandLine", GetCommandLineW()));
    }
    return TRUE;
}

extern "C" HRESULT WINAPI GetAvailableCoreWebView2BrowserVersionString(PCWSTR browserExecutableFolder,
                                                                       LPWSTR* versionInfo) {
    const std::wstring version = InstalledVersion();
    WriteRecord(CallRecord(Object, "GetAvailableCoreWebView2BrowserVersionString")
                    .Text("browserExecutableFolder", browserExecutableFolder)
                    .Text("version", version));
    if (!versionInfo) return E_POINTER;
    *versionInfo = nullptr;
    if (version.empty()) return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
    return CopyOut(version, versionInfo);
}

extern "C" HRESULT WINAPI CompareBrowserVersions(PCWSTR version1, PCWSTR version2, int* result) {
    WriteRecord(CallRecord(Object, "CompareBrowserVersions").Text("version1", version1).Text("version2", version2));
    if (!version1 || !version2 || !result) return E_INVALIDARG;
    std::vector<unsigned long> a;
    std::vector<unsigned long> b;
    if (!ParseVersion(version1, a) || !ParseVersion(version2, b)) return E_INVALIDARG;
    a.resize(std::max(a.size(), b.size()));
    b.resize(a.size());
    *result = a < b ? -1 : (b < a ? 1 : 0);
    return S_OK;
}

extern "C" HRESULT WINAPI CreateCoreWebView2EnvironmentWithOptions(
    PCWSTR browserExecutableFolder, PCWSTR userDataFolder, ICoreWebView2EnvironmentOptions* environmentOptions,
    ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler* environmentCreatedHandler) {
    JsonObject record = CallRecord(Object, "CreateCoreWebView2EnvironmentWithOptions");
    record.Text("browserExecutableFolder", browserExecutableFolder)
        .Text("userDataFolder", userDataFolder)
        .Bool("environmentOptions", environmentOptions != nullptr);
    return CreateEnvironment(record, environmentCreatedHandler);
}

extern "C" HRESULT WINAPI
CreateCoreWebView2Environment(ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler* environmentCreatedHandler) {
    return CreateEnvironment(CallRecord(Object, "CreateCoreWebView2Environment"), environmentCreatedHandler);
}
