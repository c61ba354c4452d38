#include "shared/SysUtils.h"

#include "platform/AnsiText.h"
#include "platform/BrowserRuntime.h"
#include "platform/CommandLine.h"
#include "platform/Environment.h"
#include "platform/ExecutablePath.h"
#include "platform/MessageBox.h"
#include "platform/SessionEnd.h"
#include "platform/Shell.h"
#include "platform/ShellCommand.h"
#include "platform/ShellFolders.h"
#include "platform/SystemError.h"
#include "platform/WindowCaptions.h"

#include <algorithm>

namespace Velmora::Shared {

Text TSysUtils::GetExeFilePath() { return Platform::ExecutablePath(); }

std::vector<Text> TSysUtils::GetCommandLineArguments() { return Platform::CommandLineArguments(); }

Text TSysUtils::DecodeAnsiText(const Bytes& bytes) { return Platform::DecodeAnsiText(bytes); }

void TSysUtils::ShowSystemErrorBox(TextView text, TextView caption) { Platform::ShowSystemErrorBox(text, caption); }

Text TSysUtils::GetLocalAppDataDirPath() { return Platform::LocalAppDataDirPath(); }
Text TSysUtils::GetUserAppDataDirPath() { return Platform::UserAppDataDirPath(); }
Text TSysUtils::GetUserDocumentsDirPath() { return Platform::UserDocumentsDirPath(); }
Text TSysUtils::GetUserDesktopDirPath() { return Platform::UserDesktopDirPath(); }
Text TSysUtils::GetTempDirPath() { return Platform::TempDirPath(); }

bool TSysUtils::CheckEdgeIsInstalled(TextView EdgeLoaderDllPath) {
    return Platform::BrowserRuntimeInstalled(EdgeLoaderDllPath);
}

bool TSysUtils::ShellExec(TextView FilePath, TextView Arguments) {
    return Platform::ShellOpen(FilePath, Arguments).Succeeded;
}

std::uint32_t TSysUtils::ShellExecAsAdminAndWait(void* AHandle, TextView FilePath, TextView Params) {
    return Platform::ShellOpenAsAdminAndWait(AHandle, FilePath, Params);
}

bool TSysUtils::DeleteDirectory(TextView DirPath) { return Platform::DeleteTree(DirPath).Succeeded; }

TSysStatus TSysUtils::ShellExplore(TextView FilePath) { return Platform::ShellExplore(FilePath); }

Text TSysUtils::GetDosOutput(TextView CommandLine, TextView WorkingDir, bool ShowWindow) {
    // An interpreter that does not start leaves the output empty; that is still an answer.
    return Platform::RunCommandCapturingOutput(CommandLine, WorkingDir, ShowWindow).Value;
}

std::vector<Text> TSysUtils::NonBlankCaptions(std::vector<Text> Captions) {
    const auto blank = [](const Text& caption) {
        return std::all_of(caption.begin(), caption.end(), [](char16_t unit) { return unit <= u' '; });
    };
    Captions.erase(std::remove_if(Captions.begin(), Captions.end(), blank), Captions.end());
    return Captions;
}

void TSysUtils::GetWindowsCaptions(std::vector<Text>& WindowsCaptionsList) {
    WindowsCaptionsList = NonBlankCaptions(Platform::TopLevelWindowCaptions());
}

TSysStatus TSysUtils::ExitWindows(std::uint32_t RebootParam) {
    // EWX_FORCE is always part of the request: the platforms end the session forcibly.
    switch (RebootParam & 3u) {
        case EWX_SHUTDOWN: return Platform::EndSession(Platform::TSessionEnd::PowerOff);
        case EWX_REBOOT: return Platform::EndSession(Platform::TSessionEnd::Reboot);
        default: return Platform::EndSession(Platform::TSessionEnd::LogOff);
    }
}

Text TSysUtils::GetSystemErrorText(std::uint32_t code) {
    Text text = Platform::SystemErrorMessage(code);
    while (!text.empty() && (text.back() == u'.' || text.back() <= u' ')) text.pop_back();
    return text;
}

std::uint32_t TSysUtils::GetLastErrorCode() { return Platform::LastErrorCode(); }

void TSysUtils::SetEnvironmentVariable(TextView name, TextView value) { Platform::SetEnvVariable(name, value); }

void TSysUtils::RemoveEnvironmentVariable(TextView name) { Platform::RemoveEnvVariable(name); }

} // namespace Velmora::Shared
