#include "bridge/BridgeCall.h"

#include "bridge/BrowserExternalModule.h"
#include "shared/StrUtils.h"

namespace Velmora::Shared {

std::optional<Text> TBridgeCall::Required(TextView Key, TextView MissingText) const {
    Text value = ArgText(Key);
    if (!value.empty()) return value;
    FailureText(MissingText);
    return std::nullopt;
}

void TBridgeCall::Success(TextView Result) const { FModule.ReplySuccess(FUuid, Result); }

void TBridgeCall::Failure(TextView Result) const { FModule.ReplyFailure(FUuid, Result); }

void TBridgeCall::FailureText(TextView Message) const { Failure(TStrUtils::StringToJsonString(Message)); }

} // namespace Velmora::Shared
