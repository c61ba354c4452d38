// The windows start-up shows before the main window exists: the localized message box, the
// password prompt and the window shown while the browser runtime installs.
#pragma once

#include "shared/Text.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace Velmora::Platform {

using Shared::Text;
using Shared::TextView;

enum class TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation };

// Standard buttons; a set is a bitwise or. Buttons are laid out in this order (Yes before Cancel).
enum TMsgDlgBtn : unsigned { mbYes = 1u << 0, mbCancel = 1u << 1 };

// Modal results.
inline constexpr int mrOk = 1;
inline constexpr int mrCancel = 2;
inline constexpr int mrYes = 6;

// A modal message box: the icon of DlgType (images "MSG_ERROR" for errors, "MSG_WARNING" for
// warnings, "MSG_INFO" otherwise), the text, one button per member of Buttons in standard order,
// the k-th button captioned Captions[k] while captions remain. Yes is the default button; Cancel,
// when present, answers Esc and the close box. Returns mrYes or mrCancel.
int LocalizedMessageDlg(TextView Msg, TMsgDlgType DlgType, unsigned Buttons, const std::vector<Text>& Captions,
                        TextView Title);

// The password prompt: a dialog captioned Caption with a masked edit box (the "key" image at its
// left) and no buttons. At every key release the whole text is compared with Password exactly;
// equal closes with mrOk. The close box closes with mrCancel; Enter and Esc do nothing.
int ShowRequirePasswordForm(TextView Caption, TextView Password);

// The small busy window shown while the browser runtime installs: an 80 x 80 popup with drop
// shadow and rounded region, centred on the screen, refusing to close, with an animating
// activity indicator. Color: 0x00BBGGRR, or 0xFF000000 plus a system colour index.
// IndicatorColor: 0 black, 1 white. IndicatorType: 0 momentum dots, 1 rotating sector, 2 sector
// ring. Out-of-range values must not fail.
class TEdgeInstallerForm {
public:
    virtual ~TEdgeInstallerForm() = default;
    virtual void SetColor(std::int32_t Color) = 0;
    virtual void SetIndicatorColor(std::int32_t IndicatorColor) = 0;
    virtual void SetIndicatorType(std::int32_t IndicatorType) = 0;
    virtual void Show() = 0;
    // Native window handle (HWND on Windows), the owner of the elevated installer start.
    virtual void* Handle() const = 0;
};

std::unique_ptr<TEdgeInstallerForm> CreateEdgeInstallerForm();

// Hides the window that carries the application's taskbar button while no main window exists
// (Windows); nothing where the platform has no such window.
void HideApplicationOwnerWindow();

} // namespace Velmora::Platform
