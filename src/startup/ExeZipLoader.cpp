#include "startup/ExeZipLoader.h"

#include "bridge/StylesUtils.h"
#include "browser/EdgeEx.h"
#include "payload/PayloadFiles.h"
#include "platform/StartupDialogs.h"
#include "shared/PathRules.h"
#include "shared/StringHelpers.h"
#include "shared/SysUtils.h"
#include "shared/ThemePalettes.h"
#include "startup/EdgeProvisioning.h"
#include "startup/LocalizedMessages.h"
#include "startup/StartupMessages.h"

#include <filesystem>
#include <stdexcept>

namespace Velmora::Runtime {

using Shared::TSysUtils;

namespace {

void ForceDirectories(TextView path) {
    std::error_code ec;
    std::filesystem::create_directories(Shared::ToPath(path), ec);
    if (ec) throw std::runtime_error("Unable to create directory \"" + Shared::ToUtf8(path) + "\"");
}

void SetWebView2Environment(const TStartupValues& values) {
    const Text arguments = values.ProjectINI.WebviewArguments();
    TSysUtils::SetEnvironmentVariable(u"WEBVIEW2_USER_DATA_FOLDER", values.WebView2DataDir);
    TSysUtils::SetEnvironmentVariable(u"WEBVIEW2_ADDITIONAL_BROWSER_ARGUMENTS",
                                      Shared::IsBlank(arguments) ? DefaultWebviewArguments : TextView(arguments));
    TSysUtils::RemoveEnvironmentVariable(u"WEBVIEW2_BROWSER_EXECUTABLE_FOLDER");
    TSysUtils::RemoveEnvironmentVariable(u"WEBVIEW2_RELEASE_CHANNEL_PREFERENCE");
}

} // namespace

bool LoadExeZip(TStartupValues& values) {
    if (!values.ExeUtils.ExeHasAttachedStub()) {
        ShowLocalizedError(MsgNotValidApplication);
        return false;
    }

    values.ExeUtils.OnNoPayload = &TSysUtils::ShowSystemErrorBox;
    values.ExeZip.SetPassword(Shared::ArchivePassword);
    // Read in place where the file can be mapped: start-up does not grow with the app's size.
    values.ExeZip.Attach(values.ExeUtils.GetZipViewFromExe()); // not an archive: thrown to the entry point

    auto& settings = values.ProjectINI;
    settings.LoadFromPayload(values.ExeZip);
    values.AppID = settings.ID();
    values.AppName = settings.Name();
    values.AppDirName = settings.DirName();
    values.IndexHtml = settings.IndexHtml();
    // An ID that names no folder of its own ends start-up as a missing one does: it names the
    // folder that provisioning deletes.
    if (!IsUsableAppId(values.AppID) || values.AppName.empty() || values.AppDirName.empty()) return false;

    const Text theme = settings.Theme();
    if (theme != Shared::PlatformThemeName) Shared::TStylesUtils::TrySetStyle(theme, true);

    values.UserDataDir = Shared::WithTrailingPathDelimiter(
        Shared::WithTrailingPathDelimiter(TSysUtils::GetLocalAppDataDirPath()) + values.AppID);
    ForceDirectories(values.UserDataDir);
    values.WebView2DataDir = values.UserDataDir + u"Win32" + TSysUtils::PathDelimiter;
    Shared::WebView2LoaderPath = values.WebView2DataDir + Text(Shared::LoaderLibraryEntryName);
    ForceDirectories(values.WebView2DataDir);

    // An existing library is kept whatever its content: only a missing one is written.
    std::error_code ec;
    if (!std::filesystem::exists(Shared::ToPath(Shared::WebView2LoaderPath), ec))
        ExtractEntryToFile(values.ExeZip, Shared::LoaderLibraryEntryName, Shared::WebView2LoaderPath);

    SetWebView2Environment(values);

    if (!TSysUtils::CheckEdgeIsInstalled(Shared::WebView2LoaderPath)) {
        RunEdgeProvisioning(values);
        return false;
    }

    if (StartsWithAppId(values.Arguments, values.AppID)) return true;

    const Text password = settings.Password();
    if (!password.empty() && Platform::ShowRequirePasswordForm(values.AppName, password) != Platform::mrOk)
        return false;
    return true;
}

} // namespace Velmora::Runtime
