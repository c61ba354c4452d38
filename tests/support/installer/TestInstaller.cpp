// A stand-in for the WebView2 runtime installer in tests. It "installs" by copying the test
// loader library (path in VELMORA_TEST_LOADER_SOURCE) over the loader in the folder that start-up
// put in WEBVIEW2_USER_DATA_FOLDER, which this process inherits. Without a source it does
// nothing. When VELMORA_TEST_INSTALLER_LOG names a file, its command line is written there;
// VELMORA_TEST_INSTALLER_DELAY_MS makes it take that long, as a real installation would.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>

namespace {

std::wstring Environment(const wchar_t* name) {
    const DWORD n = GetEnvironmentVariableW(name, nullptr, 0);
    if (n == 0) return {};
    std::wstring value(n, L'\0');
    value.resize(GetEnvironmentVariableW(name, value.data(), n));
    return value;
}

void WriteLog(const std::wstring& path) {
    FILE* file = _wfopen(path.c_str(), L"wb");
    if (!file) return;
    const char* line = GetCommandLineA();
    std::fwrite(line, 1, std::strlen(line), file);
    std::fclose(file);
}

} // namespace

int main() {
    if (const std::wstring log = Environment(L"VELMORA_TEST_INSTALLER_LOG"); !log.empty()) WriteLog(log);
    if (const std::wstring delay = Environment(L"VELMORA_TEST_INSTALLER_DELAY_MS"); !delay.empty())
        Sleep(static_cast<DWORD>(std::wcstoul(delay.c_str(), nullptr, 10)));
    const std::wstring source = Environment(L"VELMORA_TEST_LOADER_SOURCE");
    const std::wstring folder = Environment(L"WEBVIEW2_USER_DATA_FOLDER");
    if (source.empty() || folder.empty()) return 0;
    const std::wstring target = folder + L"WebView2LoaderWin32.dll";
    return CopyFileW(source.c_str(), target.c_str(), FALSE) ? 0 : 1;
}
