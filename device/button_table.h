#pragma once
// What each of the eleven buttons of each of the five profiles does, as the program last read
// or wrote it. The settings and the macro memory share one table: moving a macro re-points the
// buttons that name it, without the macro code depending on the settings.
#include <array>
#include <cstdint>
#include <mutex>

#include "device/protocol.h"

namespace zentrik::device {

struct ButtonAssignment {
    bool remapped = false;        // kind byte bit 7: the button has a function of its own
    std::uint16_t code = 0xFFFF;  // function code or macro start address
    bool operator==(const ButtonAssignment&) const = default;
};

// Guarded by its own mutex: the window thread reads it while a job's worker re-points buttons.
class ButtonTable {
  public:
    ButtonAssignment get(int profile, int button) const {
        std::lock_guard lock(mutex_);
        return table_.at(profile).at(button);
    }
    void set(int profile, int button, ButtonAssignment a) {
        std::lock_guard lock(mutex_);
        table_.at(profile).at(button) = a;
    }
    bool loaded(int profile) const {
        std::lock_guard lock(mutex_);
        return loaded_.at(profile);
    }
    void set_loaded(int profile, bool loaded) {
        std::lock_guard lock(mutex_);
        loaded_.at(profile) = loaded;
    }
    void clear_loaded() {
        std::lock_guard lock(mutex_);
        loaded_.fill(false);
    }

  private:
    mutable std::mutex mutex_;
    std::array<std::array<ButtonAssignment, kButtonCount>, kProfileCount> table_{};
    std::array<bool, kProfileCount> loaded_{};
};

}  // namespace zentrik::device
