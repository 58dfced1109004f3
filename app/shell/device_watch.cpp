#include "app/shell/device_watch.h"

#include <glib-unix.h>

#include <vector>

namespace zentrik::app {

DeviceWatch::DeviceWatch(platform::HidBackend& backend, core::Session& session)
    : backend_(backend), session_(session), monitor_(backend.make_monitor()) {
    if (monitor_ && monitor_->fd() >= 0)
        monitor_source_ = g_unix_fd_add(monitor_->fd(), G_IO_IN, on_monitor, this);
}

DeviceWatch::~DeviceWatch() {
    stop_reports();
    if (monitor_source_)
        g_source_remove(monitor_source_);
}

gboolean DeviceWatch::on_monitor(gint, GIOCondition, gpointer data) {
    auto& self = *static_cast<DeviceWatch*>(data);
    for (const platform::DeviceChange& change : self.monitor_->read_changes())
        self.session_.on_device_change(change);
    return G_SOURCE_CONTINUE;
}

void DeviceWatch::stop_reports() {
    if (reports_source_)
        g_source_remove(reports_source_);
    reports_source_ = 0;
    reports_.reset();
}

void DeviceWatch::follow_mouse(const std::string& path) {
    stop_reports();
    if (path.empty())
        return;
    reports_ = backend_.open_input_reports(path);
    if (reports_ && reports_->fd() >= 0)
        reports_source_ = g_unix_fd_add(reports_->fd(), G_IO_IN, on_reports, this);
}

gboolean DeviceWatch::on_reports(gint, GIOCondition condition, gpointer data) {
    auto& self = *static_cast<DeviceWatch*>(data);
    std::vector<std::vector<std::uint8_t>> reports;
    const bool alive = self.reports_->read_pending(reports);
    for (const auto& report : reports)
        self.session_.on_input_report(report);
    if (!alive || (condition & (G_IO_HUP | G_IO_ERR))) {
        self.reports_source_ = 0;
        self.reports_.reset();
        return G_SOURCE_REMOVE;
    }
    return G_SOURCE_CONTINUE;
}

}  // namespace zentrik::app
