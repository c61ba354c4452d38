// One bridge call as an operation sees it: its uuid, its data, the argument readers and the two
// replies. A required argument that is missing answers its failure text in one line:
//     const auto path = call.Required(u"filePath", u"Missing filePath");
//     if (!path) return;
#pragma once

#include "bridge/BridgeArguments.h"
#include "bridge/BridgeJson.h"
#include "shared/Text.h"

#include <cstdint>
#include <optional>

namespace Velmora::Shared {

class TBrowserExternalModule;

class TBridgeCall {
public:
    TBridgeCall(TBrowserExternalModule& Module, TextView Uuid, const TJsonValue& Data)
        : FModule(Module), FUuid(Uuid), FData(Data) {}

    TBrowserExternalModule& Module() const { return FModule; }
    TextView Uuid() const { return FUuid; }
    const TJsonValue& Data() const { return FData; }

    // The readers of BridgeArguments.h on this call's data.
    Text ArgText(TextView Key, TextView Default = {}) const { return Shared::ArgText(FData, Key, Default); }
    bool ArgBool(TextView Key, bool Default) const { return Shared::ArgBool(FData, Key, Default); }
    std::int32_t ArgInteger(TextView Key, std::int32_t Default) const {
        return Shared::ArgInteger(FData, Key, Default);
    }

    // The member as text when it is present and not empty; otherwise the failure reply with
    // MissingText (as a JSON string) is posted and none is returned.
    std::optional<Text> Required(TextView Key, TextView MissingText) const;

    // Result is JSON text.
    void Success(TextView Result) const;
    void Failure(TextView Result) const;
    // The failure reply with Message as a JSON string.
    void FailureText(TextView Message) const;

private:
    TBrowserExternalModule& FModule;
    TextView FUuid;
    const TJsonValue& FData;
};

} // namespace Velmora::Shared
