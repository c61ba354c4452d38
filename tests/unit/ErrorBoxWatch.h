// Test support for code that shows the system error box and then ends the process: run inside
// a death test's child, it makes sure the box cannot block the child and that its caption and
// text reach standard error as "<caption>: <text>", where the death test can match them.
#pragma once

namespace Velmora::Test {

void WatchErrorBoxes();

// False where no box can appear at all (Windows without a display, as Wine without an X
// server): the box then returns at once and its text cannot be observed.
bool ErrorBoxTextObservable();

} // namespace Velmora::Test
