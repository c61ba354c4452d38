// Win32: starts through the shell (ShellExecuteW "open", ShellExecuteExW "runas" with a wait that
// keeps serving window messages, explorer.exe /select), and silent recursive deletion
// (SHFileOperationW FO_DELETE).
#include "platform/Shell.h"

#include "platform/win32/WinHandles.h"
#include "platform/win32/WinText.h"

#include <windows.h>
#include <shellapi.h>

namespace Velmora::Platform {

using namespace Shared;

namespace {

// Dispatches every pending message. False once WM_QUIT arrived; it is posted again so the
// loop that owns the thread ends too.
bool PumpPendingMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return true;
}

} // namespace

TSysStatus ShellOpen(TextView FilePath, TextView Arguments) {
    const Text file(FilePath), args(Arguments);
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(GetActiveWindow(), L"open", Wide(file), Wide(args), nullptr, SW_SHOWNORMAL));
    return result > 32 ? TSysStatus::Success() : TSysStatus::Failure(GetLastError());
}

std::uint32_t ShellOpenAsAdminAndWait(void* AHandle, TextView FilePath, TextView Params) {
    const Text file(FilePath), params(Params);
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    info.hwnd = static_cast<HWND>(AHandle);
    info.lpVerb = L"runas";
    info.lpFile = Wide(file);
    info.lpParameters = params.empty() ? nullptr : Wide(params);
    info.nShow = SW_HIDE;
    if (!ShellExecuteExW(&info)) return 0;
    const UniqueHandle process(info.hProcess);
    if (!process) return 0; // started through DDE or an already running instance: nothing to wait on

    // Sleep until the process ends or a message arrives; messages are served so our windows
    // keep painting and animating meanwhile.
    HANDLE handle = process.get();
    for (;;) {
        const DWORD woken = MsgWaitForMultipleObjectsEx(1, &handle, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (woken != WAIT_OBJECT_0 + 1) break; // ended, or the wait itself failed
        if (!PumpPendingMessages()) break;     // the application is terminating
    }
    DWORD exitCode = 0;
    if (!GetExitCodeProcess(handle, &exitCode)) return 0;
    return exitCode;
}

TSysStatus ShellExplore(TextView FilePath) {
    const Text params = u"/select, \"" + Text(FilePath) + u"\"";
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(GetActiveWindow(), L"open", L"explorer.exe", Wide(params), nullptr, SW_SHOWNORMAL));
    return result > 32 ? TSysStatus::Success() : TSysStatus::Failure(GetLastError());
}

TSysStatus DeleteTree(TextView DirPath) {
    Text from(DirPath);
    from.push_back(u'\0'); // the list of sources ends with a second NUL
    SHFILEOPSTRUCTW operation = {};
    operation.wFunc = FO_DELETE;
    operation.pFrom = Wide(from);
    operation.fFlags = FOF_SILENT | FOF_NOCONFIRMATION;
    // The operation answers with its own code rather than the thread's last error.
    const int result = SHFileOperationW(&operation);
    return result == 0 ? TSysStatus::Success() : TSysStatus::Failure(static_cast<std::uint32_t>(result));
}

} // namespace Velmora::Platform
