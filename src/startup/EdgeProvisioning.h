// What happens when the browser runtime is missing: report it, or, with the user's consent,
// install it from the payload (elevated, silent) behind a busy window and start afresh.
#pragma once

namespace Velmora::Runtime {

struct TStartupValues;

// Every outcome ends the process: the caller returns to end it (exit code 0).
void RunEdgeProvisioning(const TStartupValues& values);

} // namespace Velmora::Runtime
