// Linux: the user's folders after the XDG base-directory rules ($XDG_DATA_HOME, $XDG_CONFIG_HOME,
// $TMPDIR read at every call, so a changed environment counts), and the documents and desktop
// folders from GLib's XDG user directories. Each ends with "/".
#include "platform/ShellFolders.h"

#include "shared/PathRules.h"

#include <glib.h>
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace Velmora::Platform {

using namespace Shared;

namespace {

Text WithDelimiter(const std::string& path) { return WithTrailingPathDelimiter(FromPath(std::filesystem::path(path))); }

// Only absolute values count; the XDG rules say a relative one is to be ignored.
const char* AbsoluteEnv(const char* name) {
    const char* value = std::getenv(name);
    return value && value[0] == '/' ? value : nullptr;
}

std::string HomeDir() {
    if (const char* home = AbsoluteEnv("HOME")) return home;
    if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_dir) return entry->pw_dir;
    return "/";
}

std::string XdgDir(const char* variable, const char* underHome) {
    if (const char* value = AbsoluteEnv(variable)) return value;
    return HomeDir() + underHome;
}

// An unset XDG user folder means the home folder, as its rules say.
Text SpecialDir(GUserDirectory directory) {
    const char* path = g_get_user_special_dir(directory);
    return WithDelimiter(path ? std::string(path) : HomeDir());
}

} // namespace

Text LocalAppDataDirPath() { return WithDelimiter(XdgDir("XDG_DATA_HOME", "/.local/share")); }

Text UserAppDataDirPath() { return WithDelimiter(XdgDir("XDG_CONFIG_HOME", "/.config")); }

Text UserDocumentsDirPath() { return SpecialDir(G_USER_DIRECTORY_DOCUMENTS); }

Text UserDesktopDirPath() { return SpecialDir(G_USER_DIRECTORY_DESKTOP); }

Text TempDirPath() {
    const char* tmp = AbsoluteEnv("TMPDIR");
    return WithDelimiter(tmp ? tmp : "/tmp");
}

} // namespace Velmora::Platform
