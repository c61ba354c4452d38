// The system helpers with their specified signatures: thin wrappers over the platform contract
// (src/platform/), which reports failures with the system's error code; these keep the Boolean
// answers and leave that code as the thread's last error.
#pragma once

#include "shared/PathRules.h"
#include "shared/SysResult.h"
#include "shared/Text.h"

#include <cstdint>
#include <vector>

namespace Velmora::Shared {

class TSysUtils {
public:
    // Full path of the running process's own executable file.
    static Text GetExeFilePath();

    // The process's command-line arguments without the program name, split by the platform's
    // rules (Windows: blanks separate, double quotes group and are removed).
    static std::vector<Text> GetCommandLineArguments();

    // Bytes without a byte-order mark, decoded in the system's ANSI code page (Windows) or in
    // the character set of the user's locale (Linux).
    static Text DecodeAnsiText(const Bytes& bytes);

    // A plain system message box with the error icon, owned by the active window; returns when
    // the user has closed it. Without a display (Linux), the text goes to standard error.
    static void ShowSystemErrorBox(TextView text, TextView caption);

    // The platform's path separator: backslash on Windows, "/" on Linux.
    static constexpr char16_t PathDelimiter = Shared::PathDelimiter;

    // Shell folders, each with a trailing separator (the separator alone when the lookup fails).
    // Linux: $XDG_DATA_HOME, $XDG_CONFIG_HOME, the XDG documents and desktop folders, $TMPDIR.
    static Text GetLocalAppDataDirPath();
    static Text GetUserAppDataDirPath();
    static Text GetUserDocumentsDirPath();
    static Text GetUserDesktopDirPath();
    static Text GetTempDirPath();

    // True when a usable browser runtime is present: on Windows the WebView2 loader library at
    // EdgeLoaderDllPath loads and reports a non-empty browser version; on Linux the engine is
    // linked, so always true.
    static bool CheckEdgeIsInstalled(TextView EdgeLoaderDllPath);

    // Opens FilePath with the shell's "open" verb (Linux: starts it, or opens it with the
    // desktop's default handler). True when started.
    static bool ShellExec(TextView FilePath, TextView Arguments);
    // Starts FilePath elevated ("runas") with a hidden window and waits for it to end while
    // serving the window messages, without spinning. Exit code, or 0 when it did not start.
    // AHandle is the owner window (HWND) or null.
    static std::uint32_t ShellExecAsAdminAndWait(void* AHandle, TextView FilePath, TextView Params);
    // Deletes the folder (or file) and everything in it, silently. True when deleted.
    static bool DeleteDirectory(TextView DirPath);

    // The file manager showing FilePath selected (Windows: explorer.exe /select,"FilePath").
    // Succeeds whether or not the path exists; a failure carries the code of the failing call.
    static TSysStatus ShellExplore(TextView FilePath);

    // Everything CommandLine wrote to its standard output and standard error, run through the
    // system's shell ("cmd.exe /C ", "/bin/sh -c") in WorkingDir (empty: ours), once it has
    // ended; empty when the interpreter does not start. ShowWindow shows its console (Windows).
    static Text GetDosOutput(TextView CommandLine, TextView WorkingDir, bool ShowWindow);

    // Fills the list with the captions of the top-level windows that are not blank (empty after
    // removing the code units up to U+0020 at both ends), untrimmed, in the system's order,
    // hidden windows and duplicates included.
    static void GetWindowsCaptions(std::vector<Text>& WindowsCaptionsList);
    // The captions the list keeps: Captions without the blank ones, in order.
    static std::vector<Text> NonBlankCaptions(std::vector<Text> Captions);

    // ExitWindowsEx's flags: what the session end does (the low bits) and EWX_FORCE.
    static constexpr std::uint32_t EWX_LOGOFF = 0, EWX_SHUTDOWN = 1, EWX_REBOOT = 2, EWX_FORCE = 4;
    // Asks the system to log off, shut down or restart (Linux: logind), other applications
    // closed without asking them. Success: the system accepted the request.
    static TSysStatus ExitWindows(std::uint32_t RebootParam);

    // The system's message for an error code, with trailing periods and blanks (the line break the
    // system ends it with) removed.
    static Text GetSystemErrorText(std::uint32_t code);
    static std::uint32_t GetLastErrorCode();

    // The process's own environment (inherited by child processes).
    static void SetEnvironmentVariable(TextView name, TextView value);
    static void RemoveEnvironmentVariable(TextView name);
};

} // namespace Velmora::Shared
