// Lists what top-level windows show, for the end-to-end tests (X sees Wine's windows but not
// their controls): velmora_test_inspector <title> prints, in UTF-8, for every visible window with
// that exact title one line for the window and one per child control, tab-separated: kind,
// class, text. Exit code 1 when no visible window has that title.
#include <windows.h>

#include <string>

namespace {

void Print(const std::wstring& line) {
    const std::wstring text = line + L"\n";
    const int bytes =
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), utf8.data(), bytes, nullptr, nullptr);
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
}

std::wstring ClassOf(HWND hwnd) {
    wchar_t name[256] = {};
    GetClassNameW(hwnd, name, 256);
    return name;
}

std::wstring TextOf(HWND hwnd) {
    wchar_t text[4096] = {};
    GetWindowTextW(hwnd, text, 4096);
    return text;
}

struct Search {
    const wchar_t* Title;
    int Found;
};

BOOL CALLBACK ListIfTitled(HWND hwnd, LPARAM data) {
    auto* search = reinterpret_cast<Search*>(data);
    if (!IsWindowVisible(hwnd) || TextOf(hwnd) != search->Title) return TRUE;
    ++search->Found;
    Print(L"window\t" + ClassOf(hwnd) + L"\t" + TextOf(hwnd));
    for (HWND child = GetWindow(hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        Print(L"child\t" + ClassOf(child) + L"\t" + TextOf(child));
    return TRUE;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) return 2;
    Search search{argv[1], 0};
    EnumWindows(ListIfTitled, reinterpret_cast<LPARAM>(&search));
    return search.Found ? 0 : 1;
}
