// Win32: the user's shell folders (SHGetFolderPathW by CSIDL, the
// temporary folder from GetTempPathW in its long form), each with a trailing backslash.
#include "platform/ShellFolders.h"

#include "platform/win32/WinText.h"
#include "shared/PathRules.h"

#include <windows.h>
#include <shlobj.h>

namespace Velmora::Platform {

using namespace Shared;

namespace {

// Empty when the shell cannot name the folder.
Text ShellFolder(int csidl) {
    wchar_t buffer[MAX_PATH + 1] = {};
    if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, buffer))) return {};
    return FromWide(buffer, wcsnlen(buffer, MAX_PATH + 1));
}

} // namespace

Text LocalAppDataDirPath() { return WithTrailingPathDelimiter(ShellFolder(CSIDL_LOCAL_APPDATA)); }
Text UserAppDataDirPath() { return WithTrailingPathDelimiter(ShellFolder(CSIDL_APPDATA)); }
Text UserDocumentsDirPath() { return WithTrailingPathDelimiter(ShellFolder(CSIDL_PERSONAL)); }
Text UserDesktopDirPath() { return WithTrailingPathDelimiter(ShellFolder(CSIDL_DESKTOP)); }

Text TempDirPath() {
    wchar_t shortPath[MAX_PATH] = {};
    const DWORD n = GetTempPathW(MAX_PATH, shortPath);
    if (n == 0 || n > MAX_PATH) return WithTrailingPathDelimiter({});
    // The temporary folder may be given in 8.3 form; callers expect the long one.
    const DWORD needed = GetLongPathNameW(shortPath, nullptr, 0);
    if (needed == 0) return WithTrailingPathDelimiter(FromWide(shortPath, n));
    std::wstring longPath(needed, L'\0');
    const DWORD written = GetLongPathNameW(shortPath, longPath.data(), needed);
    if (written == 0 || written >= needed) return WithTrailingPathDelimiter(FromWide(shortPath, n));
    longPath.resize(written);
    return WithTrailingPathDelimiter(FromWide(longPath));
}

} // namespace Velmora::Platform
