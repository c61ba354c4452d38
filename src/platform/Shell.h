// Programs and the shell: starting a file with its "open" verb, the elevated start that start-up
// waits for, deleting a folder tree and showing a file in the file manager. Calls whose failure
// text reaches the page return the system's error code with it.
#pragma once

#include "shared/SysResult.h"
#include "shared/Text.h"

#include <cstdint>

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

// Shows FilePath selected in the file manager (Linux: FileManager1.ShowItems, else the folder
// that holds it). Succeeds whether or not the path exists: only the file manager is started.
Shared::TSysStatus ShellExplore(Shared::TextView FilePath);

} // namespace Velmora::Platform
