#include "app/shell/main_loop_post.h"

#include <glib.h>

namespace zentrik::app {

void post_to_main_loop(std::function<void()> fn) {
    if (g_main_context_is_owner(g_main_context_default())) {
        fn();
        return;
    }
    auto* heap = new std::function<void()>(std::move(fn));
    g_main_context_invoke_full(
        g_main_context_default(), G_PRIORITY_DEFAULT,
        [](gpointer data) -> gboolean {
            (*static_cast<std::function<void()>*>(data))();
            return G_SOURCE_REMOVE;
        },
        heap, [](gpointer data) { delete static_cast<std::function<void()>*>(data); });
}

}  // namespace zentrik::app
