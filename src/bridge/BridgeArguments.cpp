#include "bridge/BridgeArguments.h"

#include "shared/StringHelpers.h"

#include <charconv>
#include <string>

namespace Velmora::Shared {

namespace {

const TJsonValue* MemberOf(const TJsonValue& Data, TextView Key) {
    return Data.Kind == TJsonKind::Object ? Data.Member(ToUtf8(Key)) : nullptr;
}

bool IsAbsent(const TJsonValue* member) { return member == nullptr || member->Kind == TJsonKind::Null; }

} // namespace

Text JsonValueText(const TJsonValue& Value, TextView Default) {
    switch (Value.Kind) {
        case TJsonKind::String:
        case TJsonKind::Number: return FromUtf8(Value.Scalar);
        case TJsonKind::True: return u"true";
        case TJsonKind::False: return u"false";
        case TJsonKind::Null: return Text(Default);
        case TJsonKind::Object:
        case TJsonKind::Array: break;
    }
    throw EBridgeArgumentError("an object or array cannot be read as text");
}

Text ArgText(const TJsonValue& Data, TextView Key, TextView Default) {
    const TJsonValue* member = MemberOf(Data, Key);
    return member == nullptr ? Text(Default) : JsonValueText(*member, Default);
}

bool ArgBool(const TJsonValue& Data, TextView Key, bool Default) {
    const TJsonValue* member = MemberOf(Data, Key);
    if (IsAbsent(member)) return Default;
    if (member->Kind == TJsonKind::True) return true;
    if (member->Kind == TJsonKind::False) return false;
    if (member->Kind == TJsonKind::Number || member->Kind == TJsonKind::String) {
        const Text text = FromUtf8(member->Scalar);
        if (member->Kind == TJsonKind::String) {
            if (SameTextAscii(text, u"true")) return true;
            if (SameTextAscii(text, u"false")) return false;
        }
        // A number is true unless it is zero, whatever its form (0, -0, 0.0, 0e5).
        if (const std::optional<std::int32_t> integer = TryStrToInt(text)) return *integer != 0;
        // Any other number, read without regard to the locale's decimal separator.
        const std::string& literal = member->Scalar;
        double number = 0;
        const auto [end, error] = std::from_chars(literal.data(), literal.data() + literal.size(), number);
        if (error == std::errc() && end == literal.data() + literal.size()) return number != 0.0;
    }
    throw EBridgeArgumentError("the argument cannot be read as a boolean");
}

std::int32_t ArgInteger(const TJsonValue& Data, TextView Key, std::int32_t Default) {
    const TJsonValue* member = MemberOf(Data, Key);
    if (IsAbsent(member)) return Default;
    if (member->Kind == TJsonKind::Number || member->Kind == TJsonKind::String)
        if (const std::optional<std::int32_t> integer = TryStrToInt(FromUtf8(member->Scalar))) return *integer;
    throw EBridgeArgumentError("the argument cannot be read as an integer");
}

} // namespace Velmora::Shared
