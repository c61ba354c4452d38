#include "bridge/ops/ShellOperations.h"

#include "bridge/BridgeCall.h"
#include "bridge/BrowserExternalModule.h"
#include "platform/Shell.h"
#include "shared/StrUtils.h"
#include "shared/SysUtils.h"

namespace Velmora::Shared {

namespace {

// The reply to a start the system accepted or refused: true, or the text for the code read at
// the refusing call.
void ReplyStatus(const TBridgeCall& Call, const TSysStatus& Status) {
    if (Status) Call.Success(u"true");
    else Call.FailureText(TSysUtils::GetSystemErrorText(Status.ErrorCode));
}

} // namespace

void TShellOperations::ShellExecute(const TBridgeCall& Call) {
    // Both are read before the check, so an object as arguments ends the call without a reply.
    const Text arguments = Call.ArgText(u"arguments");
    const auto filePath = Call.Required(u"filePath", u"Missing filePath");
    if (!filePath) return;
    // The path goes to the shell unchanged: a relative name is the shell's to resolve.
    ReplyStatus(Call, Platform::ShellOpen(*filePath, arguments));
}

void TShellOperations::ShellExplore(const TBridgeCall& Call) {
    const auto filePath = Call.Required(u"filePath", u"Missing filePath");
    if (!filePath) return;
    ReplyStatus(Call, TSysUtils::ShellExplore(*filePath));
}

void TShellOperations::ShellCommand(const TBridgeCall& Call) {
    const auto command = Call.Required(u"command", u"Missing command");
    if (!command) return;
    const Text workingDir = Call.ArgText(u"workingDir");
    // Only the text "true" (a JSON true reads so) shows the console.
    const bool showWindow = Call.ArgText(u"showWindow", u"false") == u"true";
    // Blocks until the command and every process that inherited its output are done: letting
    // the page go on meanwhile would run its later calls, and answer them, before this one.
    Call.Success(TStrUtils::StringToJsonString(TSysUtils::GetDosOutput(*command, workingDir, showWindow)));
}

Text TShellOperations::CaptionsToJsonArray(const std::vector<Text>& Captions) {
    Text result = u"[";
    for (std::size_t i = 0; i < Captions.size(); ++i) {
        if (i > 0) result += u',';
        result += TStrUtils::StringToJsonString(Captions[i]);
    }
    result += u']';
    return result;
}

void TShellOperations::ShellWindows(const TBridgeCall& Call) {
    std::vector<Text> captions;
    TSysUtils::GetWindowsCaptions(captions);
    Call.Success(CaptionsToJsonArray(captions));
}

void TShellOperations::EndSession(const TBridgeCall& Call, std::uint32_t Flags) {
    ReplyStatus(Call, TSysUtils::ExitWindows(Flags));
}

void TShellOperations::SystemLogoff(const TBridgeCall& Call) {
    EndSession(Call, TSysUtils::EWX_LOGOFF | TSysUtils::EWX_FORCE);
}

void TShellOperations::SystemReboot(const TBridgeCall& Call) {
    EndSession(Call, TSysUtils::EWX_REBOOT | TSysUtils::EWX_FORCE);
}

void TShellOperations::SystemShutdown(const TBridgeCall& Call) {
    EndSession(Call, TSysUtils::EWX_SHUTDOWN | TSysUtils::EWX_FORCE);
}

} // namespace Velmora::Shared
