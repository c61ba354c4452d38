// Runs this test program again as a child process for one test, to see what another process of
// the same user sees (inherited environment, the single-instance lock).
#pragma once

#include <string>

namespace Velmora::Tests {

// The child runs only the tests matched by filter; its exit code, or -1 when it did not run.
int RunTestChild(const std::wstring& filter);

} // namespace Velmora::Tests
