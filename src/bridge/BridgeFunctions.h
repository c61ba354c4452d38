// The function ID table of the bridge: every native operation the injected script can call,
// with the ID it posts, the `data` it sends and whether it needs a payload reader. The
// dispatcher knows exactly these IDs; an ID whose operation is not built yet is dropped like an
// unknown one.
#pragma once

#include "bridge/BridgeJson.h"
#include "shared/Text.h"

#include <cstdint>
#include <span>

namespace Velmora::Shared {

class TBridgeCall;
class TBrowserExternalModule;

// What the script sends as `data`.
enum class TBridgeData : std::uint8_t {
    EmptyObject, // the function takes no arguments and posts {}
    CallerObject // the caller's argument object, handed on to the operation
};

enum class TBridgeScope : std::uint8_t {
    Anywhere,   // runs with or without a payload reader
    RuntimeOnly // needs a payload reader; without one a message box explains
};

// An operation: a method of one of the module's families taking the call (its uuid and its data,
// a null value for functions that take no arguments).
using TBridgeOperation = void (*)(TBrowserExternalModule& Module, const TBridgeCall& Call);

struct TBridgeFunction {
    std::int32_t ID;
    TextView Name; // relative to window.qmt, e.g. "window.setTitle"
    TBridgeData Data;
    TBridgeScope Scope;
    TBridgeOperation Operation; // null while the operation is not built
};

// The rows in ascending ID order.
std::span<const TBridgeFunction> BridgeFunctions();

// The row for id, or null when the table has none.
const TBridgeFunction* FindBridgeFunction(std::int32_t id);

} // namespace Velmora::Shared
