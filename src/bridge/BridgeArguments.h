// Reading the arguments of a bridge call: members of the message's data as text (ArgText),
// booleans and integers, with the errors that end an operation without a reply.
#pragma once

#include "bridge/BridgeJson.h"
#include "shared/Text.h"

#include <cstdint>
#include <stdexcept>

namespace Velmora::Shared {

// An error inside an operation: it ends the handling of the message, and no reply is posted.
class EBridgeError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// An argument that cannot be read as asked: an object or an array as text, a text that is no
// boolean or integer.
class EBridgeArgumentError : public EBridgeError {
public:
    using EBridgeError::EBridgeError;
};

// Member Key of Data as text: a string's value, a number's literal as written, "true" or
// "false". Default when the member is absent or null or Data is no object. Throws
// EBridgeArgumentError for an object or array member.
Text ArgText(const TJsonValue& Data, TextView Key, TextView Default = {});

// Member Key as a boolean: absent or null gives Default; true and false give themselves; a
// number is false for zero and true otherwise; a string holds such a number, or True or False in
// any letter case. Anything else throws EBridgeArgumentError.
bool ArgBool(const TJsonValue& Data, TextView Key, bool Default);

// Member Key as a signed 32-bit integer (a number or a string, read by the settings' integer
// rules): absent or null gives Default; anything that does not convert throws
// EBridgeArgumentError.
std::int32_t ArgInteger(const TJsonValue& Data, TextView Key, std::int32_t Default);

// One value as text, by the rules of ArgText (the dispatcher reads id and uuid so).
Text JsonValueText(const TJsonValue& Value, TextView Default = {});

} // namespace Velmora::Shared
