#include "app/shell/device_watch.h"

#include <glib-unix.h>

namespace zentrik::app {

DeviceWatch::DeviceWatch(platform::HidBackend& backend, core::Session& session)
    : session_(session), monitor_(backend.make_monitor()), streams_(backend) {
    if (monitor_ && monitor_->fd() >= 0)
        monitor_source_ = g_unix_fd_add(monitor_->fd(), G_IO_IN, on_monitor, this);
}

DeviceWatch::~DeviceWatch() {
    for (auto& [path, watched] : watched_)
        g_source_remove(watched->source);
    if (monitor_source_)
        g_source_remove(monitor_source_);
}

gboolean DeviceWatch::on_monitor(gint, GIOCondition, gpointer data) {
    auto& self = *static_cast<DeviceWatch*>(data);
    for (const platform::DeviceChange& change : self.monitor_->read_changes())
        self.session_.on_device_change(change);
    return G_SOURCE_CONTINUE;
}

void DeviceWatch::follow_mice(const std::vector<std::string>& paths) {
    const core::MouseReportStreams::Changes changes = streams_.follow(paths);
    for (const std::string& path : changes.closed)
        unwatch(path);
    for (const std::string& path : changes.opened) {
        auto watched = std::make_unique<Watched>(Watched{this, path, 0});
        watched->source = g_unix_fd_add(streams_.fd(path), G_IO_IN, on_reports, watched.get());
        watched_[path] = std::move(watched);
    }
}

void DeviceWatch::unwatch(const std::string& path) {
    const auto it = watched_.find(path);
    if (it == watched_.end())
        return;
    if (it->second->source)
        g_source_remove(it->second->source);
    watched_.erase(it);
}

gboolean DeviceWatch::on_reports(gint, GIOCondition condition, gpointer data) {
    auto& watched = *static_cast<Watched*>(data);
    DeviceWatch& self = *watched.watch;
    const std::string path = watched.path;
    if (self.streams_.deliver(path, self.session_) && !(condition & (G_IO_HUP | G_IO_ERR)))
        return G_SOURCE_CONTINUE;
    // The mouse is gone: the loop drops this source as it returns; a later listing that still
    // names the mouse opens its stream again.
    self.streams_.close(path);
    watched.source = 0;
    self.watched_.erase(path);
    return G_SOURCE_REMOVE;
}

}  // namespace zentrik::app
