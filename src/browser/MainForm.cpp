#include "browser/MainForm.h"

#include "startup/ExeZipLoader.h"

namespace Velmora::Runtime {

TMainForm::TMainForm(TStartupValues& values) : FValues(values) { FormCreate(); }

TMainForm::~TMainForm() = default;

void TMainForm::FormCreate() {
    FCanClose = false;
    // Caption and application title, bounds, limits, placement, border, state and stacking.
    SetApplicationTitle(FValues.AppName);
    FWindow = std::make_unique<TNativeMainWindow>(LayoutFromSettings(FValues.ProjectINI, FValues.AppName));
    FWindow->OnClose = [this] { FormClose(); };
}

void TMainForm::Show() { FWindow->Show(); }

void TMainForm::FormClose() {
    // The main window closing ends the application.
    QuitMessageLoop();
}

} // namespace Velmora::Runtime
