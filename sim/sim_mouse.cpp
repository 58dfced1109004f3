#include "sim/sim_mouse.h"

#include <algorithm>
#include <chrono>
#include <string>

#include "sim/sim_mouse_shared.h"
#include "sim/sim_protocol.h"

namespace zentrik::sim {
namespace {

constexpr std::size_t kInputLogLimit = 4096;  // reports kept for readers that fall behind

}  // namespace

SimMouseConfig SimMouseConfig::family_mouse(int model, int sensor, int firmware, int dpi_step,
                                            int memory_size) {
    SimMouseConfig c;
    c.model = model;
    c.sensor = sensor;
    c.firmware = firmware;
    c.dpi_step = dpi_step;
    c.memory_size = memory_size;
    // Interface 1 of the mouse: the pointer collection carries the 9-byte feature report, the
    // vendor collection the 8-byte input reports.
    c.collections = {{0x0001, 0x0002, 8, 0, 9}, {0xFF00, 0x0001, 8, 0, 0}};
    c.strings[120] = {'Z',
                      '4',
                      static_cast<std::uint8_t>(firmware),
                      static_cast<std::uint8_t>(model),
                      static_cast<std::uint8_t>(sensor),
                      static_cast<std::uint8_t>(dpi_step)};
    return c;
}

SimMouseConfig SimMouseConfig::variant_kp3(int memory_size) {
    SimMouseConfig c = family_mouse(1, 0, 1, 100, memory_size);
    c.strings[199] = {'K', 'P', '-', '3'};
    return c;
}

SimMouse::SimMouse(SimMouseConfig config) : config_(std::move(config)) {
    faults_ = config_.faults;
    faults_.unplugged = false;
    memory_.assign(static_cast<std::size_t>(config_.memory_size), 0xFF);
    erase_memory();
    stored_.macro_limit = static_cast<std::uint16_t>(memory_.size() - kTopAreaBytes);
    working_ = stored_;
    if (config_.state_file_stem.empty())
        return;
    std::error_code ec;
    std::filesystem::create_directories(state_directory(), ec);
    lock_ = platform::open_counted_file_lock(state_path(".lock"), lock_error_);
    std::lock_guard lock(mutex_);
    if (lock_) {
        lock_->lock();
        seen_counter_ = lock_->counter();
    }
    load_all();
    save_changes();  // a new mouse's memory file
    if (lock_)
        lock_->unlock();
}

SimMouse::~SimMouse() = default;

// A new mouse's memory: erased, and no button has a function (kind 0, value 0xFFFF).
void SimMouse::erase_memory() const {
    std::fill(memory_.begin(), memory_.end(), 0xFF);
    for (int p = 0; p < kProfiles; ++p) {
        for (int b = 0; b < kButtonsPerProfile; ++b)
            memory_[button_offset(p, b)] = 0x00;
    }
}

std::size_t SimMouse::button_offset(int profile, int button) const {
    return memory_.size() - kTopAreaBytes +
           static_cast<std::size_t>(profile * kButtonsPerProfile + button) * 3;
}

void SimMouse::write_memory(std::uint32_t address, std::span<const std::uint8_t> bytes) {
    const std::size_t size = memory_.size();
    std::size_t first = address % size;
    for (std::size_t i = 0; i < bytes.size(); ++i)
        memory_[(first + i) % size] = bytes[i];
    // Save the touched range; a write that wraps past the end saves its two pieces.
    const std::size_t head = std::min(bytes.size(), size - first);
    unsaved_memory_.emplace_back(first, head);
    if (head < bytes.size())
        unsaved_memory_.emplace_back(0, bytes.size() - head);
}

// ---- the HID side ----

std::vector<platform::HidCollectionCaps> SimMouse::collections() const {
    std::lock_guard lock(mutex_);
    auto caps = config_.collections;
    for (auto& c : caps) {
        if (c.feature_report_length != 0)
            c.feature_report_length = faults_.feature_report_length;
    }
    return caps;
}

std::optional<std::vector<std::uint8_t>> SimMouse::indexed_string(int index) const {
    std::lock_guard lock(mutex_);
    SharedAccess access(*this);
    if (!plug_.plugged)
        return std::nullopt;
    const auto it = config_.strings.find(index);
    if (it == config_.strings.end())
        return std::nullopt;
    return it->second;
}

bool SimMouse::present() const {
    std::lock_guard lock(mutex_);
    SharedAccess access(*this);
    return plug_.plugged;
}

bool SimMouse::set_feature(std::span<const std::uint8_t> report) {
    std::lock_guard lock(mutex_);
    SharedAccess access(*this);
    if (!plug_.plugged)
        return false;
    if (static_cast<int>(report.size()) != faults_.feature_report_length || report.size() != 9) {
        ++wrong_length_;
        return false;
    }
    if (faults_.fail_exchange > 0 && --faults_.fail_exchange == 0)
        return false;  // lost on the way: the transport sees the exchange fail, the mouse nothing
    FeatureReport req{};
    std::copy(report.begin(), report.end(), req.begin());
    if (requests_.size() >= 65536)
        requests_.erase(requests_.begin(), requests_.begin() + 32768);
    requests_.push_back(req);
    const SimSettings working_before = working_, stored_before = stored_;
    const std::uint8_t tag_before = link_tag_;
    reply_.fill(0);
    run_request(req, reply_);
    reply_[0] = 0;
    reply_ready_ = true;
    unsaved_power_ = working_ != working_before || link_tag_ != tag_before;
    unsaved_stored_ = stored_ != stored_before;
    if (faults_.unplug_after_exchanges > 0 && --faults_.unplug_after_exchanges == 0) {
        unplug_after_reply_ = true;
    }
    return access.save();
}

bool SimMouse::get_feature(std::span<std::uint8_t> report) {
    std::lock_guard lock(mutex_);
    SharedAccess access(*this);
    if (!plug_.plugged)
        return false;
    if (static_cast<int>(report.size()) != faults_.feature_report_length || report.size() != 9) {
        ++wrong_length_;
        return false;
    }
    std::fill(report.begin(), report.end(), 0);
    if (faults_.busy_reads > 0) {
        --faults_.busy_reads;
        report[1] = kBusy;
        return true;
    }
    if (!reply_ready_ || faults_.never_done)
        return true;  // idle: neither busy nor done
    std::copy(reply_.begin(), reply_.end(), report.begin());
    if (faults_.garbage_replies) {
        for (std::size_t i = 1; i < report.size(); ++i) {
            noise_ = noise_ * 1664525u + 1013904223u;
            report[i] = static_cast<std::uint8_t>(noise_ >> 24);
        }
    }
    report[1] = static_cast<std::uint8_t>((report[1] & 0x3F) | kDone);
    if (unplug_after_reply_) {  // the exchange is complete: now the cable goes
        unplug_after_reply_ = false;
        set_plugged_locked(false);
    }
    return true;
}

int SimMouse::read_input(std::span<std::uint8_t> report, int timeout_ms) {
    std::unique_lock lock(mutex_);
    input_ready_.wait_for(lock, std::chrono::milliseconds(std::max(timeout_ms, 0)),
                          [&] { return !input_.empty() || !plug_.plugged; });
    SharedAccess access(*this);  // another program may have pulled the cable meanwhile
    if (!plug_.plugged)
        return -1;
    if (input_.empty())
        return 0;
    const auto r = std::move(input_.front());
    input_.pop_front();
    const std::size_t n = std::min(r.size(), report.size());
    std::copy_n(r.begin(), n, report.begin());
    return static_cast<int>(n);
}

// ---- the user's side ----

bool SimMouse::raise_input(std::uint8_t event, std::span<const std::uint8_t> data) {
    std::lock_guard lock(mutex_);
    SharedAccess access(*this);
    return raise_input_locked(event, data) && access.save();
}

// The report goes to this process's read_input queue and to the log that every program's input
// streams read; it carries the link tag the mouse holds now.
bool SimMouse::raise_input_locked(std::uint8_t event, std::span<const std::uint8_t> data) {
    if (!plug_.plugged)
        return false;  // an unplugged mouse raises nothing
    std::vector<std::uint8_t> r(8, 0);
    r[0] = kInputReportId;
    r[1] = kKey;
    r[2] = link_tag_;
    r[3] = event;
    for (std::size_t i = 0; i < data.size() && 4 + i < r.size(); ++i)
        r[4 + i] = data[i];
    if (config_.state_file_stem.empty()) {
        input_log_.push_back(r);
        if (input_log_.size() > kInputLogLimit) {
            input_log_.pop_front();
            ++input_log_first_;
        }
    } else {
        unsaved_events_.push_back(r);
    }
    input_.push_back(std::move(r));
    input_ready_.notify_all();
    notify_watchers_locked();
    return true;
}

// A button press changes the setting and raises its event in one step, so that presses on
// several threads raise one event each, with the value that press set, in the order they took
// effect.
bool SimMouse::press_profile_button(int profile) {
    std::lock_guard lock(mutex_);
    SharedAccess access(*this);
    if (!plug_.plugged)
        return false;
    working_.profile = static_cast<std::uint8_t>(((profile % kProfiles) + kProfiles) % kProfiles);
    unsaved_power_ = true;
    const std::uint8_t p = working_.profile;
    return raise_input_locked(kEventProfile, std::span(&p, 1)) && access.save();
}

bool SimMouse::press_dpi_button(int level) {
    std::lock_guard lock(mutex_);
    SharedAccess access(*this);
    if (!plug_.plugged)
        return false;
    working_.dpi_level = static_cast<std::uint8_t>(std::clamp(level, 0, kDpiLevels - 1));
    unsaved_power_ = true;
    const auto& xy = working_.dpi[working_.dpi_level];
    const std::array<std::uint8_t, 4> data = {working_.dpi_level, 0xFA, xy[0], xy[1]};
    return raise_input_locked(kEventDpi, data) && access.save();
}

// Sets a level's steps as the mouse's own buttons do; returns the level. Caller holds mutex_.
std::uint8_t SimMouse::set_level_steps_locked(int level, int x, int y) {
    const auto l = static_cast<std::uint8_t>(std::clamp(level, 0, kDpiLevels - 1));
    working_.dpi_level = l;
    working_.dpi[l] = {static_cast<std::uint8_t>(std::clamp(x, 0, 255)),
                       static_cast<std::uint8_t>(std::clamp(y, 0, 255))};
    unsaved_power_ = true;
    return l;
}

bool SimMouse::change_dpi(int level, int x, int y) {
    std::lock_guard lock(mutex_);
    SharedAccess access(*this);
    if (!plug_.plugged)
        return false;
    const std::uint8_t l = set_level_steps_locked(level, x, y);
    const std::array<std::uint8_t, 4> data = {l, 0xFA, working_.dpi[l][0], working_.dpi[l][1]};
    return raise_input_locked(kEventDpi, data) && access.save();
}

bool SimMouse::change_wheel(int level, int x, int y, int rate) {
    std::lock_guard lock(mutex_);
    SharedAccess access(*this);
    if (!plug_.plugged)
        return false;
    const std::uint8_t l = set_level_steps_locked(level, x, y);
    working_.wheel_rate = static_cast<std::uint8_t>(std::clamp(rate, 0, 255));
    const std::array<std::uint8_t, 4> data = {l, working_.dpi[l][0], working_.dpi[l][1],
                                              working_.wheel_rate};
    return raise_input_locked(kEventWheel, data) && access.save();
}

bool SimMouse::tilt(int amount) {
    const auto a =
        static_cast<std::uint8_t>(static_cast<std::int8_t>(std::clamp(amount, -128, 127)));
    return raise_input(kEventTilt, std::span(&a, 1));
}

bool SimMouse::plug() {
    std::lock_guard lock(mutex_);
    SharedAccess access(*this);
    set_plugged_locked(true);
    return access.save();
}

bool SimMouse::unplug() {
    std::lock_guard lock(mutex_);
    SharedAccess access(*this);
    set_plugged_locked(false);
    return access.save();
}

bool SimMouse::restart() {
    std::lock_guard lock(mutex_);
    SharedAccess access(*this);
    power_cycle_locked();
    return access.save();
}

SimPlugState SimMouse::plug_state() const {
    std::lock_guard lock(mutex_);
    SharedAccess access(*this);
    return plug_;
}

void SimMouse::set_plugged_locked(bool plugged) {
    if (plugged == plug_.plugged)
        return;
    plug_.plugged = plugged;
    unsaved_power_ = true;
    if (plugged) {
        power_cycle_locked();
    } else {
        reply_ready_ = false;
        input_ready_.notify_all();
        notify_watchers_locked();
    }
}

// A new power-on: the mouse forgets its link tag, its working settings and the reports it
// raised, and this process's side of the wire starts clean.
void SimMouse::power_cycle_locked() {
    ++plug_.power_on;
    working_ = stored_;
    link_tag_ = 0;
    unsaved_power_ = true;
    if (config_.state_file_stem.empty()) {
        input_log_first_ += input_log_.size();
        input_log_.clear();
    } else {
        truncate_events_ = true;
        unsaved_events_.clear();
    }
    reply_ready_ = false;
    unplug_after_reply_ = false;
    staged_.fill(0);
    input_.clear();
    input_ready_.notify_all();
    notify_watchers_locked();
}

void SimMouse::add_watcher(std::weak_ptr<platform::ChangeNotifier> notifier) {
    std::lock_guard lock(mutex_);
    std::erase_if(watchers_, [](const auto& w) { return w.expired(); });  // closed streams
    watchers_.push_back(std::move(notifier));
}

void SimMouse::notify_watchers_locked() {
    std::erase_if(watchers_, [](const auto& w) { return w.expired(); });
    for (const auto& w : watchers_) {
        if (auto n = w.lock())
            n->notify();
    }
}

// ---- inspection ----

SimFaults SimMouse::faults() const {
    std::lock_guard lock(mutex_);
    SharedAccess access(*this);
    SimFaults f = faults_;
    f.unplugged = !plug_.plugged;
    return f;
}

void SimMouse::set_faults(const SimFaults& f) {
    std::lock_guard lock(mutex_);
    SharedAccess access(*this);
    faults_ = f;
    faults_.unplugged = false;
    set_plugged_locked(!f.unplugged);
    input_ready_.notify_all();
}

std::vector<std::uint8_t> SimMouse::memory() const {
    std::lock_guard lock(mutex_);
    SharedAccess access(*this);
    return memory_;
}

void SimMouse::poke_memory(std::uint16_t address, std::span<const std::uint8_t> bytes) {
    std::lock_guard lock(mutex_);
    SharedAccess access(*this);
    write_memory(address, bytes);
}

SimSettings SimMouse::working_settings() const {
    std::lock_guard lock(mutex_);
    SharedAccess access(*this);
    return working_;
}

SimSettings SimMouse::stored_settings() const {
    std::lock_guard lock(mutex_);
    SharedAccess access(*this);
    return stored_;
}

std::uint8_t SimMouse::link_tag() const {
    std::lock_guard lock(mutex_);
    SharedAccess access(*this);
    return link_tag_;
}

std::vector<FeatureReport> SimMouse::requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

void SimMouse::clear_requests() {
    std::lock_guard lock(mutex_);
    requests_.clear();
}

int SimMouse::wrong_length_transfers() const {
    std::lock_guard lock(mutex_);
    return wrong_length_;
}

int SimMouse::wakeups() const {
    std::lock_guard lock(mutex_);
    return wakeups_;
}

}  // namespace zentrik::sim
