#include "bridge/BridgeFunctions.h"

#include "bridge/BridgeCall.h"
#include "bridge/BrowserExternalModule.h"

#include <algorithm>

namespace Velmora::Shared {

namespace {

using M = TBrowserExternalModule;
using AppWindow = TAppWindowOperations;
using Shell = TShellOperations;
using Registry = TRegistryOperations;

// The table's entry for Method of the family the module gives with Family.
template <auto Family, auto Method>
void Call(TBrowserExternalModule& module, const TBridgeCall& call) {
    ((module.*Family)().*Method)(call);
}
constexpr TBridgeData Empty = TBridgeData::EmptyObject;
constexpr TBridgeData Args = TBridgeData::CallerObject;
constexpr TBridgeScope Anywhere = TBridgeScope::Anywhere;
constexpr TBridgeScope Runtime = TBridgeScope::RuntimeOnly;

// One row per line: tests/js/qmt-external.test.js reads these rows to check the injected
// script against them.
constexpr TBridgeFunction Table[] = {
    {10001, u"hello", Empty, Anywhere, &Call<&M::AppWindow, &AppWindow::Hello>},
    {10002, u"isRuntime", Empty, Anywhere, &Call<&M::AppWindow, &AppWindow::IsRuntime>},
    {11001, u"system.logoff", Empty, Runtime, &Call<&M::Shell, &Shell::SystemLogoff>},
    {11002, u"system.reboot", Empty, Runtime, &Call<&M::Shell, &Shell::SystemReboot>},
    {11003, u"system.shutdown", Empty, Runtime, &Call<&M::Shell, &Shell::SystemShutdown>},
    {11004, u"system.notification", Args, Anywhere, nullptr},
    {12001, u"mainMenu.setItems", Args, Runtime, nullptr},
    {12002, u"mainMenu.updateItem", Args, Runtime, nullptr},
    {13001, u"registry.writeValue", Args, Anywhere, &Call<&M::Registry, &Registry::WriteValue>},
    {13002, u"registry.readValue", Args, Anywhere, &Call<&M::Registry, &Registry::ReadValue>},
    {13003, u"registry.valueExist", Args, Anywhere, &Call<&M::Registry, &Registry::ValueExist>},
    {13004, u"registry.deleteValue", Args, Anywhere, &Call<&M::Registry, &Registry::DeleteValue>},
    {13005, u"registry.keyExist", Args, Anywhere, &Call<&M::Registry, &Registry::KeyExist>},
    {13006, u"registry.deleteKey", Args, Anywhere, &Call<&M::Registry, &Registry::DeleteKey>},
    {14001, u"trayMenu.showIcon", Empty, Runtime, nullptr},
    {14002, u"trayMenu.hideIcon", Empty, Runtime, nullptr},
    {14003, u"trayMenu.setItems", Args, Runtime, nullptr},
    {14004, u"trayMenu.updateItem", Args, Runtime, nullptr},
    {20001, u"dialogs.openFile", Args, Anywhere, nullptr},
    {20002, u"dialogs.saveFile", Args, Anywhere, nullptr},
    {20003, u"dialogs.selFolder", Args, Anywhere, nullptr},
    {30001, u"files.fileExists", Args, Anywhere, nullptr},
    {30002, u"files.deleteFile", Args, Anywhere, nullptr},
    {30003, u"files.writeTextFile", Args, Anywhere, nullptr},
    {30004, u"files.extractFile", Args, Runtime, nullptr},
    {40001, u"folders.dirExists", Args, Anywhere, nullptr},
    {40002, u"folders.deleteDir", Args, Anywhere, nullptr},
    {40003, u"folders.getTempDir", Empty, Anywhere, nullptr},
    {40004, u"folders.getUserDocumentsDir", Empty, Anywhere, nullptr},
    {40005, u"folders.getUserDesktopDir", Empty, Anywhere, nullptr},
    {40006, u"folders.getAppExecutableDir", Empty, Anywhere, nullptr},
    {40007, u"folders.getAppDataDir", Empty, Anywhere, nullptr},
    {50001, u"app.close", Empty, Anywhere, &Call<&M::AppWindow, &AppWindow::AppClose>},
    {50002, u"app.inFullscreen", Empty, Anywhere, &Call<&M::AppWindow, &AppWindow::AppInFullscreen>},
    {50003, u"app.enterFullscreen", Empty, Runtime, &Call<&M::AppWindow, &AppWindow::AppEnterFullscreen>},
    {50004, u"app.exitFullscreen", Empty, Runtime, &Call<&M::AppWindow, &AppWindow::AppExitFullscreen>},
    {50005, u"app.getArgs", Empty, Runtime, &Call<&M::AppWindow, &AppWindow::AppGetArgs>},
    {60001, u"window.getStyle", Empty, Anywhere, &Call<&M::AppWindow, &AppWindow::WindowGetStyle>},
    {60002, u"window.setStyle", Args, Runtime, &Call<&M::AppWindow, &AppWindow::WindowSetStyle>},
    {60003, u"window.getState", Empty, Runtime, &Call<&M::AppWindow, &AppWindow::WindowGetState>},
    {60004, u"window.setState", Args, Runtime, &Call<&M::AppWindow, &AppWindow::WindowSetState>},
    {60005, u"window.getTitle", Empty, Anywhere, &Call<&M::AppWindow, &AppWindow::WindowGetTitle>},
    {60006, u"window.setTitle", Args, Runtime, &Call<&M::AppWindow, &AppWindow::WindowSetTitle>},
    {60007, u"window.getZoom", Empty, Anywhere, &Call<&M::AppWindow, &AppWindow::WindowGetZoom>},
    {60008, u"window.setZoom", Args, Anywhere, &Call<&M::AppWindow, &AppWindow::WindowSetZoom>},
    {60009, u"window.getSize", Empty, Runtime, &Call<&M::AppWindow, &AppWindow::WindowGetSize>},
    {60010, u"window.setSize", Args, Runtime, &Call<&M::AppWindow, &AppWindow::WindowSetSize>},
    {60011, u"window.getBorder", Empty, Runtime, &Call<&M::AppWindow, &AppWindow::WindowGetBorder>},
    {60012, u"window.setBorder", Args, Runtime, &Call<&M::AppWindow, &AppWindow::WindowSetBorder>},
    {70001, u"shell.execute", Args, Anywhere, &Call<&M::Shell, &Shell::ShellExecute>},
    {70002, u"shell.explore", Args, Anywhere, &Call<&M::Shell, &Shell::ShellExplore>},
    {70003, u"shell.command", Args, Anywhere, &Call<&M::Shell, &Shell::ShellCommand>},
    {70004, u"shell.windows", Empty, Anywhere, &Call<&M::Shell, &Shell::ShellWindows>},
    {80001, u"themes.getTheme", Empty, Runtime, nullptr},
    {80002, u"themes.getThemes", Empty, Runtime, nullptr},
    {80003, u"themes.setTheme", Args, Runtime, nullptr},
    {90001, u"base64.decodeToFile", Args, Anywhere, nullptr},
};

constexpr bool InAscendingOrder() {
    for (std::size_t i = 1; i < std::size(Table); ++i)
        if (Table[i - 1].ID >= Table[i].ID) return false;
    return true;
}
static_assert(InAscendingOrder(), "the lookup searches the rows by ID");

} // namespace

std::span<const TBridgeFunction> BridgeFunctions() { return Table; }

const TBridgeFunction* FindBridgeFunction(std::int32_t id) {
    const auto found = std::lower_bound(std::begin(Table), std::end(Table), id,
                                        [](const TBridgeFunction& row, std::int32_t key) { return row.ID < key; });
    return found != std::end(Table) && found->ID == id ? &*found : nullptr;
}

} // namespace Velmora::Shared
