#include "bridge/ops/RegistryOperations.h"

#include "bridge/BridgeArguments.h"
#include "bridge/BridgeCall.h"
#include "bridge/BrowserExternalModule.h"
#include "platform/RegistryStore.h"
#include "shared/StrUtils.h"

#include <optional>

namespace Velmora::Shared {

namespace {

struct TKeyAndName {
    Text Key;
    Text Name;
};

// The key, then the value name: each missing one answers its text, and nothing touches the
// store before both are there.
std::optional<Text> RequiredKey(const TBridgeCall& Call) {
    auto key = Call.Required(u"key", u"Missing registry key.");
    if (!key) return std::nullopt;
    return TRegistryOperations::KeyPath(*key);
}

std::optional<TKeyAndName> RequiredKeyAndName(const TBridgeCall& Call) {
    auto key = RequiredKey(Call);
    if (!key) return std::nullopt;
    auto name = Call.Required(u"name", u"Missing value name.");
    if (!name) return std::nullopt;
    return TKeyAndName{std::move(*key), std::move(*name)};
}

const char16_t* Boolean(bool value) { return value ? u"true" : u"false"; }

// "<Format before %s>'name'<after>" as the error that ends the call without a reply.
[[noreturn]] void Fail(const char* prefix, TextView name) {
    throw EBridgeError(std::string(prefix) + " '" + ToUtf8(name) + "'");
}

} // namespace

Text TRegistryOperations::KeyPath(TextView Key) {
    if (!Key.empty() && Key.front() == u'\\') Key.remove_prefix(1);
    return Text(Key);
}

void TRegistryOperations::WriteValue(const TBridgeCall& Call) {
    const auto at = RequiredKeyAndName(Call);
    if (!at) return;
    const Text value = Call.ArgText(u"value");
    switch (Platform::OpenUserRegistryStore()->WriteValue(at->Key, at->Name, value)) {
        case Platform::TRegistryWrite::Written: Call.Success(u"true"); return;
        case Platform::TRegistryWrite::KeyNotOpened: Call.Success(u"false"); return;
        case Platform::TRegistryWrite::ValueNotSet: Fail("Failed to set data for", at->Name);
    }
}

void TRegistryOperations::ReadValue(const TBridgeCall& Call) {
    const auto at = RequiredKeyAndName(Call);
    if (!at) return;
    const Platform::TRegistryRead read = Platform::OpenUserRegistryStore()->ReadValue(at->Key, at->Name);
    switch (read.Outcome) {
        case Platform::TRegistryRead::String: Call.Success(TStrUtils::StringToJsonString(read.Value)); return;
        case Platform::TRegistryRead::OtherType:
            // A value of another type without data reads as empty text, like a missing one.
            if (read.DataSize != 0) Fail("Invalid data type for", at->Name);
            [[fallthrough]];
        case Platform::TRegistryRead::Missing: Call.Success(u"\"\""); return;
        case Platform::TRegistryRead::Unreadable: Fail("Failed to get data for", at->Name);
    }
}

void TRegistryOperations::ValueExist(const TBridgeCall& Call) {
    const auto at = RequiredKeyAndName(Call);
    if (!at) return;
    Call.Success(Boolean(Platform::OpenUserRegistryStore()->ValueExists(at->Key, at->Name)));
}

void TRegistryOperations::DeleteValue(const TBridgeCall& Call) {
    const auto at = RequiredKeyAndName(Call);
    if (!at) return;
    Call.Success(Boolean(Platform::OpenUserRegistryStore()->DeleteValue(at->Key, at->Name)));
}

void TRegistryOperations::KeyExist(const TBridgeCall& Call) {
    const auto key = RequiredKey(Call);
    if (!key) return;
    Call.Success(Boolean(Platform::OpenUserRegistryStore()->KeyExists(*key)));
}

void TRegistryOperations::DeleteKey(const TBridgeCall& Call) {
    const auto key = RequiredKey(Call);
    if (!key) return;
    Call.Success(Boolean(Platform::OpenUserRegistryStore()->DeleteKey(*key)));
}

} // namespace Velmora::Shared
