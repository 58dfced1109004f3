#pragma once
// The firmware of one simulated mouse: it answers 9-byte feature reports as the mouse does,
// keeps its memory and settings, reports busy and done in status byte 1, and raises vendor input
// reports. It is written from the device's side, from the report layout and memory map alone,
// so that the program's own command code is checked against it rather than mirrored by it: it
// keeps its own copies of the protocol's facts (sim_protocol.h) and never includes device/.
// The answers to requests are in sim_firmware.cpp.
#include <array>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/change_notifier.h"
#include "platform/file_lock.h"
#include "platform/hid_backend.h"

namespace zentrik::sim {

using FeatureReport = std::array<std::uint8_t, 9>;

// Faults that tests and users can switch on at any time.
struct SimFaults {
    int busy_reads = 0;               // the next N feature reads report busy
    bool never_done = false;          // replies never get the done bit
    bool unplugged = false;           // opens fail and open handles stop answering (shared)
    int feature_report_length = 9;    // the length the interface declares and accepts
    int unplug_after_exchanges = -1;  // unplugs itself once this many more replies are read
    bool garbage_replies = false;     // replies are flagged done but carry noise
    int fail_exchange = 0;            // the Nth request from now is lost (N >= 1), then none
};

// What a mouse is: the identity it reports and the size of its memory.
struct SimMouseConfig {
    int model = 7;
    int sensor = 1;
    int firmware = 3;
    int dpi_step = 100;
    int memory_size = 16384;  // 8192, 16384 or 32768 bytes
    // HID view of the interface: its top-level collections and its indexed strings as raw bytes.
    // family_mouse() fills both; tests may change them to model other devices.
    std::vector<platform::HidCollectionCaps> collections;
    std::map<int, std::vector<std::uint8_t>> strings;
    // Where the mouse's state lives (see docs/simulated-mouse.md): the memory image, the stored
    // settings, what lasts one power-on, the input reports raised, and the lock that lets
    // several programs share the mouse. Empty keeps the state in this object only.
    std::filesystem::path state_file_stem;
    // Faults switched on from the start. `unplugged` is left out: whether the mouse is plugged
    // in belongs to its state, which other programs share.
    SimFaults faults;

    static SimMouseConfig family_mouse(int model, int sensor, int firmware, int dpi_step,
                                       int memory_size);
    // A mouse of the family that also answers string 199 with "KP-3".
    static SimMouseConfig variant_kp3(int memory_size = 8192);
};

// The settings the firmware keeps apart from its memory. The working copy changes with every
// write command; commit_settings copies it to the stored one, which survives a restart.
struct SimSettings {
    std::uint8_t profile = 0;
    std::uint8_t dpi_level = 1;
    std::array<std::array<std::uint8_t, 2>, 4> dpi = {{{4, 4}, {8, 8}, {16, 16}, {32, 32}}};
    std::uint8_t rate_byte = 1;
    std::uint8_t wheel_rate = 3;
    std::uint16_t macro_limit = 0;
    bool operator==(const SimSettings&) const = default;
};

// Vendor input report event codes.
inline constexpr std::uint8_t kEventProfile = 1;
inline constexpr std::uint8_t kEventDpi = 2;
inline constexpr std::uint8_t kEventTilt = 3;
inline constexpr std::uint8_t kEventWheel = 11;
inline constexpr std::uint8_t kInputReportId = 4;

// Whether the mouse is plugged in, and which power-on it is in: the count goes up each time it
// is plugged in again (or restarted), which is when it forgets its link tag and working
// settings and when open input streams of the previous power-on end.
struct SimPlugState {
    bool plugged = true;
    std::uint64_t power_on = 1;
    bool operator==(const SimPlugState&) const = default;
};

// Where an input report stream stands in the mouse's log of raised reports.
struct SimInputCursor {
    std::uint64_t power_on = 0;
    std::uint64_t position = 0;  // reports of this power-on read so far
};

class SimMouse {
  public:
    explicit SimMouse(SimMouseConfig config);
    ~SimMouse();
    SimMouse(const SimMouse&) = delete;
    SimMouse& operator=(const SimMouse&) = delete;

    const SimMouseConfig& config() const { return config_; }
    int memory_size() const { return config_.memory_size; }
    // The folder of the state files; empty when the state is kept in this object only.
    std::filesystem::path state_directory() const;

    // --- the HID side, as a handle sees it ---
    std::vector<platform::HidCollectionCaps> collections() const;
    std::optional<std::vector<std::uint8_t>> indexed_string(int index) const;
    // False when the mouse is unplugged, the length is wrong, or a change the request made
    // could not be saved to the state files.
    bool set_feature(std::span<const std::uint8_t> report);
    bool get_feature(std::span<std::uint8_t> report);
    // Input reports raised in this process, one at a time (see open input streams for those
    // of other programs).
    int read_input(std::span<std::uint8_t> report, int timeout_ms);
    bool present() const;

    // --- the user's side: things done on the mouse itself ---
    // Each returns false when the mouse is unplugged (nothing happens) or when the change could
    // not be saved to the state files.
    bool press_profile_button(int profile);  // switches profile, raises event 1
    bool press_dpi_button(int level);        // switches DPI level, raises event 2
    // A DPI level and its X/Y steps set on the mouse itself; raises event 2.
    bool change_dpi(int level, int x, int y);
    // A DPI level, its X/Y steps and the wheel rate set on the mouse itself; raises event 11.
    bool change_wheel(int level, int x, int y, int rate);
    bool tilt(int amount);  // raises event 3 (signed amount)
    bool raise_input(std::uint8_t event, std::span<const std::uint8_t> data);

    // The cable. Plugging in starts a new power-on: the link tag is forgotten and the working
    // settings fall back to the stored ones. Both are seen by every program sharing the state.
    // False when the change could not be saved.
    bool plug();
    bool unplug();
    // Power cycle without a pause: the same as unplug() and plug().
    bool restart();
    SimPlugState plug_state() const;

    // The log of input reports raised in this power-on, by any program sharing the mouse.
    // A cursor from input_cursor() starts at the end of the log.
    SimInputCursor input_cursor() const;
    // Appends the reports raised since `cursor` and moves it on; false once the mouse is
    // unplugged or power-cycled after the cursor was taken.
    bool read_input_log(SimInputCursor& cursor, std::vector<std::vector<std::uint8_t>>& out);
    // `notifier` is told when this process plugs, unplugs, restarts the mouse or raises a
    // report; other processes are seen through the state directory.
    void add_watcher(std::weak_ptr<platform::ChangeNotifier> notifier);

    // --- inspection and faults, for tests ---
    SimFaults faults() const;
    // Sets the faults of this process; `unplugged` plugs or unplugs the mouse when it differs
    // from the mouse's state.
    void set_faults(const SimFaults& f);
    std::vector<std::uint8_t> memory() const;
    void poke_memory(std::uint16_t address, std::span<const std::uint8_t> bytes);
    SimSettings working_settings() const;
    SimSettings stored_settings() const;
    std::uint8_t link_tag() const;
    // The requests accepted, in order (the latest 65536 at most).
    std::vector<FeatureReport> requests() const;
    void clear_requests();
    int wrong_length_transfers() const;  // feature reports refused for their length
    int wakeups() const;                 // 08/01 requests received

  private:
    class SharedAccess;
    friend class SharedAccess;

    std::filesystem::path state_path(const char* suffix) const;
    void erase_memory() const;
    void load_all() const;
    void load_memory() const;
    void load_stored_settings() const;
    void load_power_state() const;
    bool save_changes() const;
    bool save_memory_ranges() const;
    bool save_stored_settings() const;
    bool save_power_state() const;
    bool append_events() const;
    void report_save_failure(const std::string& what) const;
    void write_memory(std::uint32_t address, std::span<const std::uint8_t> bytes);
    std::size_t button_offset(int profile, int button) const;
    void run_request(const FeatureReport& req, FeatureReport& reply);
    void run_settings_request(const FeatureReport& req, FeatureReport& reply);
    void run_memory_request(const FeatureReport& req, FeatureReport& reply);
    bool raise_input_locked(std::uint8_t event, std::span<const std::uint8_t> data);
    std::uint8_t set_level_steps_locked(int level, int x, int y);
    void set_plugged_locked(bool plugged);
    void power_cycle_locked();
    void notify_watchers_locked();

    SimMouseConfig config_;
    mutable std::mutex mutex_;
    std::condition_variable input_ready_;
    SimFaults faults_;  // this process's faults; `unplugged` mirrors the shared state

    // The mouse's state, shared with other programs through the state files. Readers refresh
    // it when another program changed it, hence `mutable`.
    mutable std::vector<std::uint8_t> memory_;
    mutable SimSettings working_;
    mutable SimSettings stored_;
    mutable std::uint8_t link_tag_ = 0;
    mutable SimPlugState plug_;
    std::deque<std::vector<std::uint8_t>> input_log_;  // without state files only
    std::uint64_t input_log_first_ = 0;                // position of input_log_.front()

    // Sharing: the lock, the counter last seen, and what this process changed but has not
    // saved yet.
    std::unique_ptr<platform::CountedFileLock> lock_;
    std::string lock_error_;
    mutable std::uint64_t seen_counter_ = 0;
    mutable std::vector<std::pair<std::size_t, std::size_t>> unsaved_memory_;  // offset, count
    mutable bool unsaved_stored_ = false;
    mutable bool unsaved_power_ = false;
    mutable bool truncate_events_ = false;
    mutable std::vector<std::vector<std::uint8_t>> unsaved_events_;
    mutable bool save_failure_reported_ = false;
    mutable bool memory_file_kept_ = false;  // damaged, and could not be moved aside
    std::vector<std::weak_ptr<platform::ChangeNotifier>> watchers_;

    // What happens on this process's side of the wire.
    // A power cycle that another program made clears them too, hence `mutable`.
    mutable std::array<std::uint8_t, 32> staged_{};
    FeatureReport reply_{};
    mutable bool reply_ready_ = false;
    bool unplug_after_reply_ = false;
    std::deque<std::vector<std::uint8_t>> input_;
    std::vector<FeatureReport> requests_;
    int wrong_length_ = 0;
    int wakeups_ = 0;
    std::uint32_t noise_ = 0x2545F491u;
};

}  // namespace zentrik::sim
