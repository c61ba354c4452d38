// Programs and the shell: starting a file with its "open" verb, the elevated start that start-up
// waits for, deleting a folder tree, and what the shell operations of the page will need
// (Explorer, a command line with its output captured, the list of window captions, ending the
// session). Calls whose failure text reaches the page return the system's error code with it.
#pragma once

#include "shared/SysResult.h"
#include "shared/Text.h"

#include <cstdint>
#include <vector>

namespace Velmora::Platform {

// Opens FilePath with the shell's "open" verb (Linux: starts it when it is a program, else opens
// it with the desktop's default handler), without waiting.
Shared::TSysStatus ShellOpen(Shared::TextView FilePath, Shared::TextView Arguments);

// Starts FilePath elevated ("runas") with a hidden window and waits for it to end while serving
// the window messages, without spinning. Exit code, or 0 when it did not start. Owner is the
// owning window (HWND) or null.
std::uint32_t ShellOpenAsAdminAndWait(void* Owner, Shared::TextView FilePath, Shared::TextView Params);

// Deletes the folder (or file) and everything in it, silently.
Shared::TSysStatus DeleteTree(Shared::TextView DirPath);

// --- Declared for the shell operations, not built yet ---------------------------------------
// Shows FilePath selected in the file manager (Linux: FileManager1.ShowItems, else its folder).
Shared::TSysStatus ShellExplore(Shared::TextView FilePath);
// Runs CommandLine through the system's shell (cmd.exe /C, /bin/sh -c) in WorkingDir (empty: the
// current folder), with its window shown or not, and gives everything it wrote to its standard
// output and standard error once it has ended, decoded once.
Shared::TSysResult<Shared::Text> RunCommandCapturingOutput(Shared::TextView CommandLine, Shared::TextView WorkingDir,
                                                           bool ShowWindow);
// The captions of the desktop's top-level windows, hidden ones included, in stacking order.
std::vector<Shared::Text> TopLevelWindowCaptions();

enum class TSessionEnd : std::uint8_t { LogOff, Reboot, PowerOff };
// Asks the system to end the session; true when it accepted the request.
Shared::TSysStatus EndSession(TSessionEnd How);

} // namespace Velmora::Platform
