#include "app/shell/gtk_timers.h"

#include <glib.h>

namespace zentrik::app {

struct GtkTimers::Tick {
    GtkTimers* timers;
    int id;
};

GtkTimers::~GtkTimers() {
    for (const auto& [id, source] : sources_)
        g_source_remove(source);
}

void GtkTimers::arm(int id, int ms) {
    stop(id);
    auto* tick = new Tick{this, id};
    sources_[id] = g_timeout_add_full(G_PRIORITY_DEFAULT, static_cast<guint>(ms > 0 ? ms : 1),
                                      reinterpret_cast<GSourceFunc>(&GtkTimers::on_timeout), tick,
                                      [](gpointer data) { delete static_cast<Tick*>(data); });
}

void GtkTimers::stop(int id) {
    const auto it = sources_.find(id);
    if (it == sources_.end())
        return;
    const unsigned source = it->second;
    sources_.erase(it);
    g_source_remove(source);
}

int GtkTimers::on_timeout(void* data) {
    const auto* tick = static_cast<Tick*>(data);
    GtkTimers* timers = tick->timers;
    const int id = tick->id;
    const auto it = timers->sources_.find(id);
    const unsigned self = it == timers->sources_.end() ? 0 : it->second;
    timers->fire(id);  // may stop or re-arm this timer, which frees `tick`
    const auto now = timers->sources_.find(id);
    return (now != timers->sources_.end() && now->second == self) ? G_SOURCE_CONTINUE
                                                                  : G_SOURCE_REMOVE;
}

}  // namespace zentrik::app
