#include "app/shell/main_loop_post.h"

#include <glib.h>

#include <deque>
#include <mutex>

namespace zentrik::app {
namespace {

// The functions travel through a queue of our own: GLib's main context hands over its sources
// with futexes that ThreadSanitizer cannot see, so a function made on a worker and run on the
// window thread looked like a race. Each queued source runs the oldest function.
std::mutex g_mutex;
std::deque<std::function<void()>> g_queue;

gboolean run_oldest(gpointer) {
    std::function<void()> next;
    {
        std::lock_guard lock(g_mutex);
        if (g_queue.empty())
            return G_SOURCE_REMOVE;
        next = std::move(g_queue.front());
        g_queue.pop_front();
    }
    next();
    return G_SOURCE_REMOVE;
}

}  // namespace

void post_to_main_loop(std::function<void()> fn) {
    if (g_main_context_is_owner(g_main_context_default())) {
        fn();
        return;
    }
    {
        std::lock_guard lock(g_mutex);
        g_queue.push_back(std::move(fn));
    }
    g_main_context_invoke_full(g_main_context_default(), G_PRIORITY_DEFAULT, run_oldest, nullptr,
                               nullptr);
}

}  // namespace zentrik::app
