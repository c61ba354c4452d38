// The runtime's entry point: start-up, the single-instance rule, the main window, the loop.
#include "browser/MainForm.h"
#include "platform/MessageLoop.h"
#include "platform/SingleInstance.h"
#include "shared/SysUtils.h"
#include "startup/ExeZipLoader.h"

#include <exception>
#include <memory>

using namespace Velmora;
using namespace Velmora::Runtime;

namespace {

int Run() {
    TStartupValues values;
    values.Arguments = Shared::TSysUtils::GetCommandLineArguments();
    if (!LoadExeZip(values)) return 0;

    // The lock is taken after the password prompt and held until the process ends.
    std::unique_ptr<Platform::TSingleInstanceLock> instanceLock;
    if (!values.ProjectINI.AllowInstances()) {
        bool alreadyExisted = false;
        instanceLock = Platform::CreateSingleInstanceLock(values.AppID, alreadyExisted);
        if (alreadyExisted && !IsFurtherWindowCommandLine(values.Arguments, values.AppID)) return 0;
    }

    TMainForm mainForm(values);
    mainForm.Show();
    Platform::RunMessageLoop();
    return 0;
}

} // namespace

int main() {
    Platform::InitializeUi();
    try {
        return Run();
    } catch (const std::exception& e) {
        // An error start-up does not handle: reported like any unhandled error, then the end.
        Shared::TSysUtils::ShowSystemErrorBox(Shared::FromUtf8(e.what()), u"Error");
        return 1;
    }
}
