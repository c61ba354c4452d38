#include "UiQueue.h"

#include <utility>

namespace Velmora::TestBrowser {

namespace {

constexpr wchar_t ClassName[] = L"Velmora.TestBrowser.Queue";
constexpr UINT RunPending = WM_APP + 1;
constexpr UINT_PTR TickTimer = 1;

} // namespace

HINSTANCE ThisModule() {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&ThisModule), &module);
    return module;
}

UiQueue::UiQueue() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = &UiQueue::WindowProc;
    windowClass.hInstance = ThisModule();
    windowClass.lpszClassName = ClassName;
    RegisterClassW(&windowClass); // fails harmlessly when another queue registered it
    FWindow = CreateWindowExW(0, ClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, ThisModule(), nullptr);
    if (FWindow) SetWindowLongPtrW(FWindow, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

UiQueue::~UiQueue() {
    if (FWindow) {
        SetWindowLongPtrW(FWindow, GWLP_USERDATA, 0);
        DestroyWindow(FWindow);
    }
    // The library may be unloaded: no class may keep pointing into it (fails while another
    // queue's window exists, which then unregisters it).
    UnregisterClassW(ClassName, ThisModule());
}

void UiQueue::Post(std::function<void()> work) {
    FPending.push_back(std::move(work));
    PostMessageW(FWindow, RunPending, 0, 0);
}

void UiQueue::StartTicks(UINT intervalMs, std::function<void()> tick) {
    FTick = std::move(tick);
    SetTimer(FWindow, TickTimer, intervalMs, nullptr);
}

void UiQueue::StopTicks() {
    KillTimer(FWindow, TickTimer);
    FTick = nullptr;
}

LRESULT CALLBACK UiQueue::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<UiQueue*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self && message == RunPending && !self->FPending.empty()) {
        // The work may release the last object that holds this queue: nothing of it is touched
        // once the work has started.
        std::function<void()> work = std::move(self->FPending.front());
        self->FPending.pop_front();
        work();
        return 0;
    }
    if (self && message == WM_TIMER && wParam == TickTimer && self->FTick) {
        std::function<void()> tick = self->FTick;
        tick();
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace Velmora::TestBrowser
