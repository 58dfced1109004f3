#pragma once
// The device side of the main loop: arrivals and removals of HID interfaces, and the input
// reports of the selected mouse, each a descriptor watched by the loop (no thread, no polling)
// and handed to the core.
#include <glib.h>

#include <memory>
#include <string>

#include "core/session.h"
#include "platform/hid_backend.h"

namespace zentrik::app {

class DeviceWatch {
  public:
    DeviceWatch(platform::HidBackend& backend, core::Session& session);
    ~DeviceWatch();
    DeviceWatch(const DeviceWatch&) = delete;
    DeviceWatch& operator=(const DeviceWatch&) = delete;

    // Reads the reports of the mouse at `path` from now on (empty: of no mouse). Call on the
    // window's thread.
    void follow_mouse(const std::string& path);

  private:
    static gboolean on_monitor(gint fd, GIOCondition condition, gpointer self);
    static gboolean on_reports(gint fd, GIOCondition condition, gpointer self);
    void stop_reports();

    platform::HidBackend& backend_;
    core::Session& session_;
    std::unique_ptr<platform::DeviceMonitor> monitor_;
    std::unique_ptr<platform::InputReportStream> reports_;
    guint monitor_source_ = 0;
    guint reports_source_ = 0;
};

}  // namespace zentrik::app
