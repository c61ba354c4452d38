// The message loop of our modal windows.
#pragma once

#include <windows.h>

#include <functional>

namespace Velmora::Platform {

// Serves the thread's messages until finished() is true, with keyboard navigation for dialog
// (IsDialogMessageW: Tab, Enter, Esc, mnemonics). A WM_QUIT ends the loop and is posted again
// for the loop that owns the thread; the result is then false.
bool RunModalLoop(HWND dialog, const std::function<bool()>& finished);

} // namespace Velmora::Platform
