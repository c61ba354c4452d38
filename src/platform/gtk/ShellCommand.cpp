// Linux: a command line run as "/bin/sh -c <command>" (g_spawn_async_with_fds) with its standard
// output and standard error on one pipe and our standard input inherited, read to its end and
// decoded once in the locale's character set. The show flag has no meaning here: a command has
// no console window of its own.
#include "platform/ShellCommand.h"

#include "platform/AnsiText.h"
#include "platform/gtk/GErrorErrno.h"
#include "platform/gtk/GtkHandles.h"

#include <glib-unix.h>
#include <sys/wait.h>

#include <cerrno>
#include <string>

namespace Velmora::Platform {

using namespace Shared;

TSysResult<Text> RunCommandCapturingOutput(TextView CommandLine, TextView WorkingDir, bool) {
    int fds[2];
    GError* error = nullptr;
    if (!g_unix_open_pipe(fds, FD_CLOEXEC, &error)) {
        GErrorPtr owned(error);
        return TSysResult<Text>::Failure(static_cast<std::uint32_t>(ErrnoFromError(owned.get())));
    }
    const FileDescriptor reader(fds[0]);
    FileDescriptor writer(fds[1]);

    std::string command = ToUtf8(CommandLine);
    const std::string folder = ToUtf8(WorkingDir);
    char shell[] = "/bin/sh", dashC[] = "-c";
    char* argv[] = {shell, dashC, command.data(), nullptr};
    GPid pid = 0;
    const gboolean started =
        g_spawn_async_with_fds(folder.empty() ? nullptr : folder.c_str(), argv, nullptr,
                               static_cast<GSpawnFlags>(G_SPAWN_DO_NOT_REAP_CHILD | G_SPAWN_CHILD_INHERITS_STDIN),
                               nullptr, nullptr, &pid, -1, writer.get(), writer.get(), &error);
    // Ours closed, the pipe ends once every process that inherited it is done writing.
    writer.reset();
    if (!started) {
        GErrorPtr owned(error);
        return TSysResult<Text>::Failure(static_cast<std::uint32_t>(ErrnoFromError(owned.get())));
    }

    Bytes output;
    unsigned char chunk[4096];
    for (;;) {
        const ssize_t got = read(reader.get(), chunk, sizeof chunk);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        output.insert(output.end(), chunk, chunk + got);
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {}
    g_spawn_close_pid(pid);
    return TSysResult<Text>::Success(DecodeAnsiText(output));
}

} // namespace Velmora::Platform
