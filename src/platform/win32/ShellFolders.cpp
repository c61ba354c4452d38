// Win32: the path separator and the user's shell folders (SHGetFolderPathW by CSIDL, the
// temporary folder from GetTempPathW in its long form), each with a trailing backslash.
#include "shared/SysUtils.h"

#include "platform/win32/WinText.h"

#include <windows.h>
#include <shlobj.h>

namespace Velmora::Shared {

const char16_t TSysUtils::PathDelimiter = u'\\';

namespace {

Text WithTrailingDelimiter(Text path) {
    if (path.empty() || path.back() != u'\\') path += u'\\';
    return path;
}

// Empty when the shell cannot name the folder.
Text ShellFolder(int csidl) {
    wchar_t buffer[MAX_PATH + 1] = {};
    if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, buffer))) return {};
    return Platform::FromWide(buffer, wcsnlen(buffer, MAX_PATH + 1));
}

} // namespace

Text TSysUtils::GetLocalAppDataDirPath() { return WithTrailingDelimiter(ShellFolder(CSIDL_LOCAL_APPDATA)); }
Text TSysUtils::GetUserAppDataDirPath() { return WithTrailingDelimiter(ShellFolder(CSIDL_APPDATA)); }
Text TSysUtils::GetUserDocumentsDirPath() { return WithTrailingDelimiter(ShellFolder(CSIDL_PERSONAL)); }
Text TSysUtils::GetUserDesktopDirPath() { return WithTrailingDelimiter(ShellFolder(CSIDL_DESKTOP)); }

Text TSysUtils::GetTempDirPath() {
    wchar_t shortPath[MAX_PATH] = {};
    const DWORD n = GetTempPathW(MAX_PATH, shortPath);
    if (n == 0 || n > MAX_PATH) return WithTrailingDelimiter({});
    // The temporary folder may be given in 8.3 form; callers expect the long one.
    const DWORD needed = GetLongPathNameW(shortPath, nullptr, 0);
    if (needed == 0) return WithTrailingDelimiter(Platform::FromWide(shortPath, n));
    std::wstring longPath(needed, L'\0');
    const DWORD written = GetLongPathNameW(shortPath, longPath.data(), needed);
    if (written == 0 || written >= needed) return WithTrailingDelimiter(Platform::FromWide(shortPath, n));
    longPath.resize(written);
    return WithTrailingDelimiter(Platform::FromWide(longPath));
}

} // namespace Velmora::Shared
