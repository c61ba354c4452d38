// Reads the main window of a process back with Win32, for the end-to-end tests of the window
// operations: velmora_test_window_state <process id> prints one JSON object for the first
// top-level window of class Velmora.MainWindow that the process owns: its style bits, extended
// style bits, visible, iconic and zoomed flags, outer bounds, caption (UTF-8) and the decimal
// separator of the user's regional settings as this process sees them. Exit code 1
// when the process has no such window.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

struct Search {
    DWORD ProcessId;
    HWND Found;
};

BOOL CALLBACK FindMainWindow(HWND hwnd, LPARAM data) {
    auto* search = reinterpret_cast<Search*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    if (owner != search->ProcessId || std::wcscmp(name, L"Velmora.MainWindow") != 0) return TRUE;
    search->Found = hwnd;
    return FALSE;
}

std::string Utf8Json(const std::wstring& text) {
    std::string out = "\"";
    for (const wchar_t c : text) {
        if (c == L'"' || c == L'\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c >= 0x7F) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
            out += escape;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) return 2;
    Search search{static_cast<DWORD>(std::wcstoul(argv[1], nullptr, 10)), nullptr};
    EnumWindows(FindMainWindow, reinterpret_cast<LPARAM>(&search));
    const HWND hwnd = search.Found;
    if (!hwnd) return 1;
    RECT r{};
    GetWindowRect(hwnd, &r);
    wchar_t caption[1024] = {};
    GetWindowTextW(hwnd, caption, 1024);
    wchar_t decimal[8] = {};
    GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, decimal, 8);
    std::printf("{\"style\": %lu, \"exStyle\": %lu, \"visible\": %s, \"iconic\": %s, \"zoomed\": %s, "
                "\"bounds\": {\"top\": %ld, \"left\": %ld, \"width\": %ld, \"height\": %ld}, \"caption\": %s, "
                "\"decimal\": %s}\n",
                static_cast<unsigned long>(GetWindowLongPtrW(hwnd, GWL_STYLE)),
                static_cast<unsigned long>(GetWindowLongPtrW(hwnd, GWL_EXSTYLE)),
                IsWindowVisible(hwnd) ? "true" : "false", IsIconic(hwnd) ? "true" : "false",
                IsZoomed(hwnd) ? "true" : "false", r.top, r.left, r.right - r.left, r.bottom - r.top,
                Utf8Json(caption).c_str(), Utf8Json(decimal).c_str());
    return 0;
}
