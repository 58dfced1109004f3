#pragma once
// The device side of the main loop: arrivals and removals of HID interfaces, and the vendor
// input reports of every listed mouse, each a descriptor watched by the loop (no thread, no
// polling) and handed to the core.
#include <glib.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/mouse_report_streams.h"
#include "core/session.h"
#include "platform/hid_backend.h"

namespace zentrik::app {

class DeviceWatch {
  public:
    DeviceWatch(platform::HidBackend& backend, core::Session& session);
    ~DeviceWatch();
    DeviceWatch(const DeviceWatch&) = delete;
    DeviceWatch& operator=(const DeviceWatch&) = delete;

    // Reads the reports of the mice at `paths` from now on (the listed mice; their tilts
    // scroll whichever is selected). Call on the window's thread.
    void follow_mice(const std::vector<std::string>& paths);

  private:
    // One watched stream: the loop's source and the mouse it belongs to.
    struct Watched {
        DeviceWatch* watch = nullptr;
        std::string path;
        guint source = 0;
    };
    static gboolean on_monitor(gint fd, GIOCondition condition, gpointer self);
    static gboolean on_reports(gint fd, GIOCondition condition, gpointer watched);
    void unwatch(const std::string& path);

    core::Session& session_;
    std::unique_ptr<platform::DeviceMonitor> monitor_;
    core::MouseReportStreams streams_;
    std::map<std::string, std::unique_ptr<Watched>> watched_;
    guint monitor_source_ = 0;
};

}  // namespace zentrik::app
