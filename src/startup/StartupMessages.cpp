#include "startup/StartupMessages.h"

#include "startup/LocalizedMessages.h"
#include "platform/StartupDialogs.h"

namespace Velmora::Runtime {

using namespace Platform;

void ShowLocalizedError(int Index) {
    LocalizedMessageDlg(GetLocalizedMessage(Index), TMsgDlgType::mtError, mbYes, {GetLocalizedMessage(MsgAccept)},
                        GetLocalizedMessage(MsgErrorTitle));
}

int AskLocalizedConfirmation(int Index) {
    return LocalizedMessageDlg(GetLocalizedMessage(Index), TMsgDlgType::mtConfirmation, mbYes | mbCancel,
                               {GetLocalizedMessage(MsgAccept), GetLocalizedMessage(MsgCancel)},
                               GetLocalizedMessage(MsgConfirmTitle));
}

} // namespace Velmora::Runtime
