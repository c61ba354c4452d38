// A command line run through the system's command interpreter with its output captured: what
// shell.command answers with.
#pragma once

#include "shared/SysResult.h"
#include "shared/Text.h"

namespace Velmora::Platform {

// Runs CommandLine through the system's shell ("cmd.exe /C ", "/bin/sh -c") in WorkingDir
// (empty: the current folder), its console window shown or not (Windows only), and gives
// everything it wrote to its standard output and standard error, in one stream, once the
// command and every process that inherited that stream have finished writing and the command has
// ended. The bytes are decoded once, at the end (AnsiText), so no character breaks at a read
// boundary and a zero byte loses nothing. A failure means the interpreter did not start.
Shared::TSysResult<Shared::Text> RunCommandCapturingOutput(Shared::TextView CommandLine, Shared::TextView WorkingDir,
                                                           bool ShowWindow);

} // namespace Velmora::Platform
