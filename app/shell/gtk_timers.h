#pragma once
// Numbered window timers on the GLib main loop.
#include <map>

#include "ui/input/timer_service.h"

namespace zentrik::app {

class GtkTimers : public ui::TimerService {
  public:
    GtkTimers() = default;
    ~GtkTimers() override;
    GtkTimers(const GtkTimers&) = delete;
    GtkTimers& operator=(const GtkTimers&) = delete;

    void arm(int id, int ms) override;
    void stop(int id) override;
    bool armed(int id) const override { return sources_.contains(id); }

  private:
    struct Tick;
    static int on_timeout(void* data);
    std::map<int, unsigned> sources_;  // timer id -> GLib source id
};

}  // namespace zentrik::app
