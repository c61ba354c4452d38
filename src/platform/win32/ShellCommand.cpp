// Win32: a command line run as "cmd.exe /C <command>" with its standard output and standard
// error on one anonymous pipe (CreatePipe, CreateProcessW with inherited handles), read to its
// end and decoded once from the ANSI code page.
#include "platform/ShellCommand.h"

#include "platform/AnsiText.h"
#include "platform/win32/WinHandles.h"
#include "platform/win32/WinText.h"

#include <windows.h>

namespace Velmora::Platform {

using namespace Shared;

TSysResult<Text> RunCommandCapturingOutput(TextView CommandLine, TextView WorkingDir, bool ShowWindow) {
    SECURITY_ATTRIBUTES inheritable = {sizeof(inheritable), nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inheritable, 0)) return TSysResult<Text>::Failure(GetLastError());
    const UniqueHandle reader(readEnd);
    UniqueHandle writer(writeEnd);
    // Only the write end goes to the command; a child holding the read end would keep it open.
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
    startup.wShowWindow = ShowWindow ? SW_SHOWNORMAL : SW_HIDE;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;

    Text command = u"cmd.exe /C " + Text(CommandLine); // CreateProcessW may write to it
    const Text folder(WorkingDir);
    PROCESS_INFORMATION process = {};
    const BOOL started = CreateProcessW(nullptr, reinterpret_cast<wchar_t*>(command.data()), nullptr, nullptr, TRUE, 0,
                                        nullptr, folder.empty() ? nullptr : Wide(folder), &startup, &process);
    const DWORD startError = started ? 0 : GetLastError();
    // Ours closed, the pipe reports its end once every process that inherited it is done.
    writer.reset();
    if (!started) return TSysResult<Text>::Failure(startError);
    const UniqueHandle processHandle(process.hProcess), threadHandle(process.hThread);

    Bytes output;
    unsigned char chunk[4096];
    DWORD got = 0;
    while (ReadFile(readEnd, chunk, sizeof chunk, &got, nullptr) && got > 0)
        output.insert(output.end(), chunk, chunk + got);
    WaitForSingleObject(process.hProcess, INFINITE);
    return TSysResult<Text>::Success(DecodeAnsiText(output));
}

} // namespace Velmora::Platform
