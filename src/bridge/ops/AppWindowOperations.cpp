#include "bridge/ops/AppWindowOperations.h"

#include "bridge/BridgeCall.h"
#include "bridge/BrowserExternalModule.h"
#include "bridge/ops/WindowWords.h"
#include "bridge/ops/ZoomFactor.h"
#include "payload/ProjectSettings.h"
#include "platform/BrowserControl.h"
#include "platform/CommandLine.h"
#include "platform/ExecutablePath.h"
#include "platform/MainWindow.h"
#include "platform/NumberFormat.h"
#include "shared/StrUtils.h"
#include "shared/StringHelpers.h"

#include <string>

namespace Velmora::Shared {

namespace {

constexpr TextView True = u"true";
constexpr TextView False = u"false";

// The border code leaving full screen restores; sizeable without settings.
std::int32_t SettingsBorder(const TBrowserExternalModule& module) {
    return module.ProjectINI() != nullptr ? module.ProjectINI()->WindowBorder() : Platform::bsSizeable;
}

Text Decimal(std::int32_t value) { return FromUtf8(std::to_string(value)); }

// One bound of window.setSize: the member as an integer, the window's current value when it is
// absent or does not convert.
std::int32_t BoundArgument(const TBridgeCall& call, TextView key, std::int32_t current) {
    const std::optional<std::int32_t> value = TryStrToInt(call.ArgText(key, Decimal(current)));
    return value ? *value : current;
}

} // namespace

Text ArgumentsJson(const std::vector<Text>& Arguments) {
    Text json(u"[");
    for (std::size_t i = 0; i < Arguments.size(); ++i) {
        if (i > 0) json.push_back(u',');
        json.append(TStrUtils::StringToJsonString(Arguments[i]));
    }
    json.push_back(u']');
    return json;
}

void TAppWindowOperations::Hello(const TBridgeCall& Call) { Call.Success(u"\"2023.3\""); }

void TAppWindowOperations::IsRuntime(const TBridgeCall& Call) {
    Call.Success(Call.Module().ExeZip() != nullptr ? True : False);
}

void TAppWindowOperations::AppClose(const TBridgeCall& Call) {
    // No reply: the approval closes the window, which may free the module on the way. The
    // handler is copied first so that it outlives the member it came from, and nothing here
    // touches the module after the call.
    TBrowserExternalModule& module = Call.Module();
    if (!module.OnAppCloseRequest) return;
    const TBrowserExternalModule::TNotifyEvent handler = module.OnAppCloseRequest;
    handler(module);
}

void TAppWindowOperations::AppInFullscreen(const TBridgeCall& Call) { Call.Success(FFullScreen.On() ? True : False); }

// Neither full-screen call replies: the page learns the outcome from app.inFullscreen.
void TAppWindowOperations::AppEnterFullscreen(const TBridgeCall& Call) { FFullScreen.Enter(Call.Module().MainForm()); }

void TAppWindowOperations::AppExitFullscreen(const TBridgeCall& Call) {
    FFullScreen.Exit(Call.Module().MainForm(), SettingsBorder(Call.Module()));
}

void TAppWindowOperations::AppGetArgs(const TBridgeCall& Call) {
    std::vector<Text> arguments{Platform::ExecutablePath()};
    for (Text& argument : Platform::CommandLineArguments()) arguments.push_back(std::move(argument));
    Call.Success(ArgumentsJson(arguments));
}

void TAppWindowOperations::WindowGetStyle(const TBridgeCall& Call) {
    Call.Success(TStrUtils::StringToJsonString(Call.Module().MainForm().StayOnTop() ? OnTopWord : NormalStyleWord));
}

void TAppWindowOperations::WindowSetStyle(const TBridgeCall& Call) {
    Call.Module().MainForm().SetStayOnTop(Call.ArgText(u"style", NormalStyleWord) == OnTopWord);
    Call.Success(True);
}

void TAppWindowOperations::WindowGetState(const TBridgeCall& Call) {
    Call.Success(TStrUtils::StringToJsonString(StateWord(Call.Module().MainForm().State())));
}

void TAppWindowOperations::WindowSetState(const TBridgeCall& Call) {
    const std::optional<Platform::TWindowState> state =
        StateFromWord(Call.ArgText(u"state", StateWord(Platform::TWindowState::Normal)));
    if (state) {
        Platform::TNativeMainWindow& window = Call.Module().MainForm();
        window.SetState(*state);
        // With the tray icon in the notification area, a minimised window leaves the screen and
        // comes back from there.
        if (Call.Module().Menus().TrayIconVisible()) {
            if (*state == Platform::TWindowState::Minimized) window.Hide();
            else window.BringToFront();
        }
    }
    Call.Success(True);
}

void TAppWindowOperations::WindowGetTitle(const TBridgeCall& Call) {
    Call.Success(TStrUtils::StringToJsonString(Call.Module().MainForm().Caption()));
}

void TAppWindowOperations::WindowSetTitle(const TBridgeCall& Call) {
    // The window's caption only: the application's title keeps the application name.
    Call.Module().MainForm().SetCaption(Call.ArgText(u"title"));
    Call.Success(True);
}

void TAppWindowOperations::WindowGetZoom(const TBridgeCall& Call) {
    const double factor = Call.Module().BrowserControl().ZoomFactor();
    Call.Success(TStrUtils::StringToJsonString(FormatZoomFactor(factor, Platform::UserDecimalSeparator())));
}

void TAppWindowOperations::WindowSetZoom(const TBridgeCall& Call) {
    Platform::TBrowserControl& control = Call.Module().BrowserControl();
    const std::optional<double> factor = ParseZoomFactor(Call.ArgText(u"factor"));
    // A factor the control refuses leaves the zoom as it was; it was taken all the same.
    control.SetZoomFactor(factor ? *factor : 1.0);
    Call.Success(factor ? True : False);
}

void TAppWindowOperations::WindowGetSize(const TBridgeCall& Call) {
    const Platform::TWindowBounds b = Call.Module().MainForm().Bounds();
    const std::string json = "{\"top\": " + std::to_string(b.Top) + ", \"left\": " + std::to_string(b.Left) +
                             ", \"width\": " + std::to_string(b.Width) + ", \"height\": " + std::to_string(b.Height) +
                             "}";
    Call.Success(FromUtf8(json));
}

void TAppWindowOperations::WindowSetSize(const TBridgeCall& Call) {
    Platform::TNativeMainWindow& window = Call.Module().MainForm();
    const Platform::TWindowBounds current = window.Bounds();
    Platform::TWindowBounds bounds;
    bounds.Top = BoundArgument(Call, u"top", current.Top);
    bounds.Left = BoundArgument(Call, u"left", current.Left);
    bounds.Width = BoundArgument(Call, u"width", current.Width);
    bounds.Height = BoundArgument(Call, u"height", current.Height);
    window.SetBounds(bounds);
    Call.Success(True);
}

void TAppWindowOperations::WindowGetBorder(const TBridgeCall& Call) {
    Call.Success(TStrUtils::StringToJsonString(BorderWord(Call.Module().MainForm().Border())));
}

void TAppWindowOperations::WindowSetBorder(const TBridgeCall& Call) {
    if (const std::optional<std::int32_t> border =
            BorderFromWord(Call.ArgText(u"border", BorderWord(Platform::bsSizeable))))
        Call.Module().MainForm().SetBorder(*border);
    Call.Success(True);
}

} // namespace Velmora::Shared
