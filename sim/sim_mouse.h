#pragma once
// The firmware of one simulated mouse: it answers 9-byte feature reports as the mouse does,
// keeps its memory and settings, reports busy and done in status byte 1, and raises vendor input
// reports. It is written from the device's side, from the report layout and memory map alone,
// so that the program's own command code is checked against it rather than mirrored by it.
#include <array>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <span>
#include <vector>

#include "platform/hid_backend.h"

namespace zentrik::sim {

using FeatureReport = std::array<std::uint8_t, 9>;

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
    // Where the memory image and stored settings live; empty keeps them in memory only.
    std::filesystem::path state_file_stem;

    static SimMouseConfig family_mouse(int model, int sensor, int firmware, int dpi_step,
                                       int memory_size);
    // A mouse of the family that also answers string 199 with "KP-3".
    static SimMouseConfig variant_kp3(int memory_size = 8192);
};

// Faults that tests and users can switch on at any time.
struct SimFaults {
    int busy_reads = 0;               // the next N feature reads report busy
    bool never_done = false;          // replies never get the done bit
    bool unplugged = false;           // opens fail and open handles stop answering
    int feature_report_length = 9;    // the length the interface declares and accepts
    int unplug_after_exchanges = -1;  // unplugs itself once this many more replies are read
    bool garbage_replies = false;     // replies are flagged done but carry noise
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
inline constexpr std::uint8_t kInputReportId = 4;

class SimMouse {
  public:
    explicit SimMouse(SimMouseConfig config);

    const SimMouseConfig& config() const { return config_; }
    int memory_size() const { return config_.memory_size; }

    // --- the HID side, as a handle sees it ---
    std::vector<platform::HidCollectionCaps> collections() const;
    std::optional<std::vector<std::uint8_t>> indexed_string(int index) const;
    bool set_feature(std::span<const std::uint8_t> report);
    bool get_feature(std::span<std::uint8_t> report);
    int read_input(std::span<std::uint8_t> report, int timeout_ms);
    bool present() const;

    // --- the user's side: things done on the mouse itself ---
    void press_profile_button(int profile);  // switches profile, raises event 1
    void press_dpi_button(int level);        // switches DPI level, raises event 2
    void tilt(int amount);                   // raises event 3 (signed amount)
    void raise_input(std::uint8_t event, std::span<const std::uint8_t> data);

    // Power cycle: working settings fall back to the stored ones, the link tag is forgotten.
    void restart();

    // --- inspection and faults, for tests ---
    SimFaults faults() const;
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
    void load_state();
    void save_memory(std::size_t offset, std::size_t count);
    void save_settings();
    void write_memory(std::uint32_t address, std::span<const std::uint8_t> bytes);
    std::size_t button_offset(int profile, int button) const;
    void run_request(const FeatureReport& req, FeatureReport& reply);
    void run_settings_request(const FeatureReport& req, FeatureReport& reply);
    void run_memory_request(const FeatureReport& req, FeatureReport& reply);
    void queue_input(std::vector<std::uint8_t> report);
    void raise_input_locked(std::uint8_t event, std::span<const std::uint8_t> data);

    SimMouseConfig config_;
    mutable std::mutex mutex_;
    std::condition_variable input_ready_;
    SimFaults faults_;
    std::vector<std::uint8_t> memory_;
    SimSettings working_;
    SimSettings stored_;
    std::uint8_t link_tag_ = 0;
    std::array<std::uint8_t, 32> staged_{};
    FeatureReport reply_{};
    bool reply_ready_ = false;
    bool unplug_after_reply_ = false;
    std::deque<std::vector<std::uint8_t>> input_;
    std::vector<FeatureReport> requests_;
    int wrong_length_ = 0;
    int wakeups_ = 0;
    std::uint32_t noise_ = 0x2545F491u;
};

}  // namespace zentrik::sim
