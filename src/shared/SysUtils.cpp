#include "shared/SysUtils.h"

#include "platform/AnsiText.h"
#include "platform/BrowserRuntime.h"
#include "platform/CommandLine.h"
#include "platform/Environment.h"
#include "platform/ExecutablePath.h"
#include "platform/MessageBox.h"
#include "platform/Shell.h"
#include "platform/ShellFolders.h"
#include "platform/SystemError.h"

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

Text TSysUtils::GetSystemErrorText(std::uint32_t code) {
    Text text = Platform::SystemErrorMessage(code);
    while (!text.empty() && (text.back() == u'.' || text.back() <= u' ')) text.pop_back();
    return text;
}

std::uint32_t TSysUtils::GetLastErrorCode() { return Platform::LastErrorCode(); }

void TSysUtils::SetEnvironmentVariable(TextView name, TextView value) { Platform::SetEnvVariable(name, value); }

void TSysUtils::RemoveEnvironmentVariable(TextView name) { Platform::RemoveEnvVariable(name); }

} // namespace Velmora::Shared
