// The localized message boxes of start-up and provisioning, titled and captioned from the table.
#pragma once

namespace Velmora::Runtime {

// Error box: message Index, title 1, one button captioned 3.
void ShowLocalizedError(int Index);
// Confirmation box: message Index, title 2, Yes captioned 3 and Cancel captioned 4; the result.
int AskLocalizedConfirmation(int Index);

} // namespace Velmora::Runtime
