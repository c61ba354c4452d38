// Win32: a watcher thread finds a message box of the calling thread, writes its caption and
// text to standard error and answers it with OK.
#include "unit/ErrorBoxWatch.h"

#include "shared/Text.h"

#include <windows.h>

#include <cstdio>
#include <string>
#include <thread>

namespace Velmora::Test {

namespace {

std::string WindowText(HWND window) {
    wchar_t text[1024] = {};
    GetWindowTextW(window, text, 1024);
    return Shared::ToUtf8(reinterpret_cast<const char16_t*>(text));
}

BOOL CALLBACK FindLongestStatic(HWND child, LPARAM found) {
    wchar_t className[16] = {};
    GetClassNameW(child, className, 16);
    auto* text = reinterpret_cast<std::string*>(found);
    if (lstrcmpiW(className, L"Static") == 0) {
        std::string candidate = WindowText(child);
        if (candidate.size() > text->size()) *text = std::move(candidate);
    }
    return TRUE;
}

BOOL CALLBACK FindDialog(HWND window, LPARAM found) {
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    if (lstrcmpW(className, L"#32770") != 0) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

} // namespace

void WatchErrorBoxes() {
    const DWORD owner = GetCurrentThreadId();
    std::thread([owner] {
        for (;;) {
            HWND box = nullptr;
            EnumThreadWindows(owner, FindDialog, reinterpret_cast<LPARAM>(&box));
            if (box != nullptr && IsWindowVisible(box)) {
                std::string text;
                EnumChildWindows(box, FindLongestStatic, reinterpret_cast<LPARAM>(&text));
                std::fprintf(stderr, "%s: %s\n", WindowText(box).c_str(), text.c_str());
                std::fflush(stderr);
                PostMessageW(box, WM_COMMAND, IDOK, 0);
                return;
            }
            Sleep(20);
        }
    }).detach();
}

bool ErrorBoxTextObservable() {
    HWND probe = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    if (probe == nullptr) return false;
    DestroyWindow(probe);
    return true;
}

} // namespace Velmora::Test
