// The test's hand on the stand-in browser: commands, one JSON object per line, that the test
// appends to commands-<pid>.jsonl in the test folder (pid: this process's id, which the log's
// "load" record gives). A timer reads new complete lines from the message loop and runs each in
// order, then records {"event": "done", "seq": n, "op": …}. Commands:
//   {"op": "request", "uri": U, "context": C}          WebResourceRequested (context default 0)
//   {"op": "message", "json": J}                         WebMessageReceived with the JSON text J
//   {"op": "title", "title": T}                          DocumentTitleChanged with the new title
//   {"op": "newWindow", "uri": U}                        NewWindowRequested
//   {"op": "permission", "uri": U, "kind": K}            PermissionRequested (kind default 2)
//   {"op": "navigationCompleted", "success": B}          NavigationCompleted (default true)
//   {"op": "processFailed", "kind": K}                   ProcessFailed
//   {"op": "closeWindow"}                                WM_CLOSE posted to the host's top window
#pragma once

#include "ComObject.h"
#include "UiQueue.h"

#include <windows.h>

#include <memory>
#include <string>

namespace Velmora::TestBrowser {

class WebView;

class CommandRunner : public std::enable_shared_from_this<CommandRunner> {
public:
    CommandRunner(std::shared_ptr<UiQueue> queue, ComPtr<WebView> webView, HWND parent);
    // Starts reading when the test gave a folder.
    void Start();
    void Stop();

private:
    void Poll();
    void Execute(const std::string& line, long long seq);

    std::shared_ptr<UiQueue> FQueue;
    ComPtr<WebView> FWebView;
    HWND FParent;
    std::wstring FPath;
    unsigned long long FOffset = 0;
    std::string FPartial;
    long long FSeq = 0;
    bool FRunning = false;
    bool FStopped = false;
};

} // namespace Velmora::TestBrowser
