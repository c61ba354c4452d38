// TMainForm: the application's one visible window. Takes caption, size, limits, placement,
// border, state and stacking from the settings; closing it ends the application.
#pragma once

#include "browser/NativeMainWindow.h"

#include <memory>

namespace Velmora::Runtime {

struct TStartupValues;

class TMainForm {
public:
    explicit TMainForm(TStartupValues& values);
    ~TMainForm();
    TMainForm(const TMainForm&) = delete;
    TMainForm& operator=(const TMainForm&) = delete;

    void Show();
    TNativeMainWindow& Window() { return *FWindow; }

private:
    void FormCreate();
    void FormClose();

    TStartupValues& FValues;
    bool FCanClose = false;
    std::unique_ptr<TNativeMainWindow> FWindow;
};

} // namespace Velmora::Runtime
