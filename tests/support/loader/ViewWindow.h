// The child window the stand-in puts where the browser's page would be: it paints a few lines
// (what is loaded, the document title) so that screenshots show the host's layout.
#pragma once

#include <windows.h>

#include <string>

namespace Velmora::TestBrowser {

class ViewWindow {
public:
    explicit ViewWindow(HWND parent);
    ~ViewWindow();
    ViewWindow(const ViewWindow&) = delete;
    ViewWindow& operator=(const ViewWindow&) = delete;

    HWND Handle() const { return FWindow; }
    void SetText(std::wstring text);

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Paint();
    HWND FWindow = nullptr;
    std::wstring FText;
};

} // namespace Velmora::TestBrowser
