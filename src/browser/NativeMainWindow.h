// The platform's top-level window behind TMainForm: created from a TWindowLayout, with rounded
// corners where the system draws them, and the message loop that runs until it closes.
#pragma once

#include "browser/WindowLayout.h"

#include <functional>
#include <memory>

namespace Velmora::Runtime {

class TNativeMainWindow {
public:
    explicit TNativeMainWindow(const TWindowLayout& layout);
    ~TNativeMainWindow();
    TNativeMainWindow(const TNativeMainWindow&) = delete;
    TNativeMainWindow& operator=(const TNativeMainWindow&) = delete;

    void Show();
    void SetCaption(Shared::TextView caption);
    // Asked on every close request (title-bar button, keyboard, system menu); true lets the
    // window close. Unset: the window closes.
    std::function<bool()> OnCloseQuery;
    // Called once when the window has closed.
    std::function<void()> OnClose;
    // Called when the client area changes size, with its new width and height in pixels (the
    // browser view follows it).
    std::function<void(int width, int height)> OnResize;
    // Asks the window to close (going through OnCloseQuery).
    void Close();
    // HWND on Windows, GtkWindow* on Linux.
    void* Handle() const;

private:
    struct Impl;
    std::unique_ptr<Impl> FImpl;
};

// The application object's title (taskbar grouping, application name).
void SetApplicationTitle(Shared::TextView title);
// Runs the message loop until QuitMessageLoop is called (the main window closing calls it).
void RunMessageLoop();
void QuitMessageLoop();

} // namespace Velmora::Runtime
