// The user-interface thread's loop: the toolkit's set-up, running until told to stop, and work
// handed to the thread from elsewhere (process waits and notifications report back through it).
#pragma once

#include <functional>

namespace Velmora::Platform {

// Prepares the toolkit once, first thing in the process (GTK initialisation; common controls on
// Windows). The process's own arguments are not handed to the toolkit.
void InitializeUi();

// Runs the loop until QuitMessageLoop is called.
void RunMessageLoop();
void QuitMessageLoop();

// Runs Work on the user-interface thread from its loop, soon; callable from any thread.
void PostToUiThread(std::function<void()> Work);

} // namespace Velmora::Platform
