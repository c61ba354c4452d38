// Linux: starting files and programs, showing a file in the file manager
// (org.freedesktop.FileManager1.ShowItems on the session bus, else its folder opened with the
// default handler), and deleting folder trees. A program (an executable file,
// or a name found on PATH) is spawned with its arguments split by shell rules
// (g_shell_parse_argv); anything else is opened with the desktop's default handler through GIO.
// Folders go with std::filesystem::remove_all, symbolic links removed, never followed. Failures
// leave errno describing them, and the result carries the same code.
#include "platform/Shell.h"

#include "platform/gtk/GErrorErrno.h"
#include "platform/gtk/GtkHandles.h"

#include <gio/gio.h>
#include <sys/wait.h>

#include <cerrno>
#include <filesystem>
#include <system_error>
#include <string>
#include <vector>

namespace Velmora::Platform {

using namespace Shared;

namespace {

bool Fail(GErrorPtr error) {
    errno = ErrnoFromError(error.get());
    return false;
}

std::string FileName(TextView path) { return ToPath(path).native(); }

bool IsProgramFile(const std::string& path) {
    return g_file_test(path.c_str(), G_FILE_TEST_IS_EXECUTABLE) && !g_file_test(path.c_str(), G_FILE_TEST_IS_DIR);
}

// The program FilePath names: an executable file, or a bare name found on PATH. Empty when
// FilePath is no program.
std::string ResolveProgram(const std::string& path) {
    if (path.empty()) return {};
    if (path.find('/') == std::string::npos) {
        if (GCharPtr found{g_find_program_in_path(path.c_str())}; found && IsProgramFile(found.get()))
            return found.get();
    }
    return IsProgramFile(path) ? path : std::string();
}

// The program followed by Arguments split by shell rules; empty with errno set when they do
// not parse (an unmatched quote).
GStrvPtr BuildArgv(const std::string& program, TextView Arguments) {
    GStrvPtr parsed;
    const std::string arguments = ToUtf8(Arguments);
    if (arguments.find_first_not_of(" \t\r\n") != std::string::npos) {
        gchar** raw = nullptr;
        GError* error = nullptr;
        if (!g_shell_parse_argv(arguments.c_str(), nullptr, &raw, &error)) {
            Fail(GErrorPtr(error));
            return nullptr;
        }
        parsed.reset(raw);
    }
    const guint count = parsed ? g_strv_length(parsed.get()) : 0;
    GStrvPtr argv(g_new0(gchar*, count + 2));
    argv.get()[0] = g_strdup(program.c_str());
    for (guint i = 0; i < count; ++i) argv.get()[i + 1] = g_strdup(parsed.get()[i]);
    return argv;
}

bool OpenWithDefaultHandler(const std::string& path) {
    std::string uri;
    if (g_uri_peek_scheme(path.c_str()) != nullptr) {
        uri = path;
    } else {
        GCharPtr absolute{g_canonicalize_filename(path.c_str(), nullptr)};
        if (!g_file_test(absolute.get(), G_FILE_TEST_EXISTS)) {
            errno = ENOENT;
            return false;
        }
        GCharPtr fileUri{g_filename_to_uri(absolute.get(), nullptr, nullptr)};
        if (!fileUri) {
            errno = EINVAL;
            return false;
        }
        uri = fileUri.get();
    }
    GError* error = nullptr;
    if (!g_app_info_launch_default_for_uri(uri.c_str(), nullptr, &error)) return Fail(GErrorPtr(error));
    return true;
}

struct ChildWait {
    bool Done = false;
    int Status = 0;
};

void ChildExited(GPid pid, gint status, gpointer data) {
    auto* wait = static_cast<ChildWait*>(data);
    wait->Status = status;
    wait->Done = true;
    g_spawn_close_pid(pid);
}

std::uint32_t ExitCode(int status) {
    if (WIFEXITED(status)) return static_cast<std::uint32_t>(WEXITSTATUS(status));
    if (WIFSIGNALED(status)) return 128u + static_cast<std::uint32_t>(WTERMSIG(status));
    return 1;
}

bool StartFile(const std::string& path, TextView Arguments) {
    const std::string program = ResolveProgram(path);
    if (program.empty()) return OpenWithDefaultHandler(path);

    GStrvPtr argv = BuildArgv(program, Arguments);
    if (!argv) return false;
    // Without G_SPAWN_DO_NOT_REAP_CHILD GLib forks twice: the program runs detached from us.
    GError* error = nullptr;
    if (!g_spawn_async(nullptr, argv.get(), nullptr, G_SPAWN_DEFAULT, nullptr, nullptr, nullptr, &error))
        return Fail(GErrorPtr(error));
    return true;
}

bool RemoveTree(TextView DirPath) {
    if (DirPath.empty()) {
        errno = ENOENT;
        return false;
    }
    std::error_code ec;
    const auto removed = std::filesystem::remove_all(ToPath(DirPath), ec);
    if (ec) {
        errno = ec.value();
        return false;
    }
    if (removed == 0) {
        errno = ENOENT;
        return false;
    }
    return true;
}

// The outcome with errno as the failing call left it.
TSysStatus StatusOf(bool succeeded) {
    return succeeded ? TSysStatus::Success() : TSysStatus::Failure(static_cast<std::uint32_t>(errno));
}

// The file manager's own selection of the item, when one answers on the session bus.
bool ShowItemInFileManager(const std::string& absolute) {
    GError* error = nullptr;
    GObjectPtr<GDBusConnection> bus(g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, &error));
    if (!bus) return Fail(GErrorPtr(error));
    GCharPtr uri{g_filename_to_uri(absolute.c_str(), nullptr, nullptr)};
    if (!uri) {
        errno = EINVAL;
        return false;
    }
    const gchar* uris[] = {uri.get(), nullptr};
    GVariant* reply = g_dbus_connection_call_sync(
        bus.get(), "org.freedesktop.FileManager1", "/org/freedesktop/FileManager1", "org.freedesktop.FileManager1",
        "ShowItems", g_variant_new("(^ass)", uris, ""), nullptr, G_DBUS_CALL_FLAGS_NONE, 10000, nullptr, &error);
    if (!reply) return Fail(GErrorPtr(error));
    g_variant_unref(reply);
    return true;
}

// The item's folder, or the nearest folder above it that exists: what Explorer shows too when
// the item is not there.
bool OpenContainingFolder(const std::string& absolute) {
    std::filesystem::path folder = std::filesystem::path(absolute).parent_path();
    std::error_code ec;
    while (!folder.empty() && !std::filesystem::is_directory(folder, ec) && folder != folder.root_path())
        folder = folder.parent_path();
    if (folder.empty()) folder = "/";
    return OpenWithDefaultHandler(folder.native());
}

} // namespace

TSysStatus ShellExplore(TextView FilePath) {
    GCharPtr absolute{g_canonicalize_filename(FileName(FilePath).c_str(), nullptr)};
    if (ShowItemInFileManager(absolute.get())) return TSysStatus::Success();
    return StatusOf(OpenContainingFolder(absolute.get()));
}

TSysStatus ShellOpen(TextView FilePath, TextView Arguments) {
    return StatusOf(StartFile(FileName(FilePath), Arguments));
}

TSysStatus DeleteTree(TextView DirPath) { return StatusOf(RemoveTree(DirPath)); }

std::uint32_t ShellOpenAsAdminAndWait(void*, TextView FilePath, TextView Params) {
    // No elevation here: the program runs as the user.
    const std::string program = ResolveProgram(FileName(FilePath));
    if (program.empty()) {
        errno = g_file_test(FileName(FilePath).c_str(), G_FILE_TEST_EXISTS) ? ENOEXEC : ENOENT;
        return 0;
    }
    GStrvPtr argv = BuildArgv(program, Params);
    if (!argv) return 0;
    GPid pid = 0;
    GError* error = nullptr;
    if (!g_spawn_async(nullptr, argv.get(), nullptr, G_SPAWN_DO_NOT_REAP_CHILD, nullptr, nullptr, &pid, &error)) {
        Fail(GErrorPtr(error));
        return 0;
    }
    // Sleep in the main context until the child ends; windows keep painting and animating.
    ChildWait wait;
    g_child_watch_add(pid, ChildExited, &wait);
    while (!wait.Done) g_main_context_iteration(nullptr, TRUE);
    return ExitCode(wait.Status);
}

} // namespace Velmora::Platform
