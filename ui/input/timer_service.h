#pragma once
// Numbered window timers. A timer armed with arm(id, ms) fires every `ms` milliseconds until
// stop(id) (arming an armed timer restarts its period); the handler set for the id runs on the
// window's thread. The GTK shell runs them on the main loop; tests use VirtualTimers.
#include <functional>
#include <map>

namespace zentrik::ui {

class TimerService {
  public:
    using Handler = std::function<void()>;
    virtual ~TimerService() = default;

    virtual void arm(int id, int ms) = 0;
    virtual void stop(int id) = 0;
    virtual bool armed(int id) const = 0;

    // The work of timer `id`; replaces an earlier handler of that id.
    void set_handler(int id, Handler handler) { handlers_[id] = std::move(handler); }

  protected:
    // Runs the handler of `id`, if any.
    void fire(int id) {
        const auto it = handlers_.find(id);
        if (it != handlers_.end() && it->second) {
            Handler handler = it->second;  // the handler may replace itself
            handler();
        }
    }

  private:
    std::map<int, Handler> handlers_;
};

}  // namespace zentrik::ui
