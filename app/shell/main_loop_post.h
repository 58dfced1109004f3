#pragma once
// Running a function on the window's thread from any thread.
#include <functional>

namespace zentrik::app {

// Queues `fn` for the main loop; runs it at once when called on the main loop's thread.
void post_to_main_loop(std::function<void()> fn);

}  // namespace zentrik::app
