#include "startup/EdgeProvisioning.h"

#include "browser/EdgeEx.h"
#include "payload/PayloadFiles.h"
#include "payload/StartupValues.h"
#include "platform/StartupDialogs.h"
#include "shared/SysUtils.h"
#include "startup/LocalizedMessages.h"
#include "startup/StartupMessages.h"

#include <filesystem>

namespace Velmora::Runtime {

using Shared::TSysUtils;

namespace {

bool FileExists(TextView path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(Shared::ToPath(path), ec);
}

} // namespace

void RunEdgeProvisioning(const TStartupValues& values) {
    const auto& settings = values.ProjectINI;
    if (!settings.EdgeInstaller()) {
        ShowLocalizedError(MsgRuntimeRequired);
        return;
    }
    if (AskLocalizedConfirmation(MsgRuntimeInstallOffer) == Platform::mrCancel) {
        TSysUtils::DeleteDirectory(values.UserDataDir);
        ShowLocalizedError(MsgInstallDeclined);
        return;
    }

    // A file left by an interrupted earlier attempt is run as it is.
    const Text installerPath = values.UserDataDir + Text(Shared::InstallerEntryName);
    if (!FileExists(installerPath)) ExtractEntryToFile(values.ExeZip, Shared::InstallerEntryName, installerPath);

    const auto form = Platform::CreateEdgeInstallerForm(); // freed on every way out, errors included
    form->SetColor(settings.InstallFormColor());
    form->SetIndicatorColor(settings.InstallIndicatorColor());
    form->SetIndicatorType(settings.InstallIndicatorType());
    form->Show();
    Platform::HideApplicationOwnerWindow();
    TSysUtils::ShellExecAsAdminAndWait(form->Handle(), installerPath, u"/silent /install");

    if (TSysUtils::CheckEdgeIsInstalled(Shared::WebView2LoaderPath)) {
        std::error_code ec;
        std::filesystem::remove(Shared::ToPath(installerPath), ec);
        // A fresh start finds the runtime; this process's arguments are not passed on.
        TSysUtils::ShellExec(TSysUtils::GetExeFilePath(), u"");
        return;
    }
    TSysUtils::DeleteDirectory(values.UserDataDir);
    ShowLocalizedError(MsgInstallFailed);
}

} // namespace Velmora::Runtime
