// Delivers the stand-in's completions and events the way the browser does: later, on the thread
// that asked, from that thread's message loop, never inside the call that started them. Wraps a
// hidden message-only window of that thread.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>

namespace Velmora::TestBrowser {

// The stand-in library's own module handle (its window classes are registered on it).
HINSTANCE ThisModule();

class UiQueue {
public:
    UiQueue(); // on the thread whose loop runs the work
    ~UiQueue();
    UiQueue(const UiQueue&) = delete;
    UiQueue& operator=(const UiQueue&) = delete;

    bool Valid() const { return FWindow != nullptr; }
    // Runs work once, from the message loop.
    void Post(std::function<void()> work);
    // Runs tick every intervalMs from the message loop until StopTicks.
    void StartTicks(UINT intervalMs, std::function<void()> tick);
    void StopTicks();

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HWND FWindow = nullptr;
    std::deque<std::function<void()>> FPending;
    std::function<void()> FTick;
};

} // namespace Velmora::TestBrowser
