#include "sim/sim_mouse.h"

#include <algorithm>
#include <chrono>
#include <fstream>
#include <sstream>
#include <string>

namespace zentrik::sim {
namespace {

constexpr std::uint8_t kKey = 0x12;
constexpr std::uint8_t kBusy = 0x80;
constexpr std::uint8_t kDone = 0x40;
constexpr int kProfiles = 5;
constexpr int kButtonsPerProfile = 12;
constexpr int kButtonTableFromTop = 256;  // button cells sit at S - 256, 3 bytes each

std::uint16_t le16(std::uint8_t lo, std::uint8_t hi) {
    return static_cast<std::uint16_t>(lo | (hi << 8));
}

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
    const std::size_t size = static_cast<std::size_t>(config_.memory_size);
    memory_.assign(size, 0xFF);
    // A new mouse has no button functions: kind 0, value 0xFFFF.
    for (int p = 0; p < kProfiles; ++p) {
        for (int b = 0; b < kButtonsPerProfile; ++b)
            memory_[button_offset(p, b)] = 0x00;
    }
    stored_.macro_limit = static_cast<std::uint16_t>(size - 256);
    load_state();
    working_ = stored_;
}

std::size_t SimMouse::button_offset(int profile, int button) const {
    return memory_.size() - kButtonTableFromTop +
           static_cast<std::size_t>(profile * kButtonsPerProfile + button) * 3;
}

// ---- persistence: the memory image is written at once, settings on commit ----

void SimMouse::load_state() {
    if (config_.state_file_stem.empty())
        return;
    auto mem_path = config_.state_file_stem;
    mem_path += ".mem";
    std::ifstream mem(mem_path, std::ios::binary);
    std::vector<std::uint8_t> image((std::istreambuf_iterator<char>(mem)),
                                    std::istreambuf_iterator<char>());
    if (image.size() == memory_.size()) {
        memory_ = std::move(image);
    } else {
        save_memory(0, memory_.size());  // new (or unreadable) image: start from a fresh one
    }
    auto set_path = config_.state_file_stem;
    set_path += ".settings";
    std::ifstream in(set_path);
    std::string line;
    auto clamp_byte = [](int v) { return static_cast<std::uint8_t>(std::clamp(v, 0, 255)); };
    auto byte = [&](const std::string& v) { return clamp_byte(std::stoi(v)); };
    while (std::getline(in, line)) {
        const auto eq = line.find('=');
        if (eq == std::string::npos)
            continue;
        const std::string key = line.substr(0, eq), value = line.substr(eq + 1);
        try {
            if (key == "profile")
                stored_.profile = byte(value);
            if (key == "dpi_level")
                stored_.dpi_level = byte(value);
            if (key == "rate_byte")
                stored_.rate_byte = byte(value);
            if (key == "wheel_rate")
                stored_.wheel_rate = byte(value);
            if (key == "macro_limit") {
                stored_.macro_limit = static_cast<std::uint16_t>(std::stoi(value) & 0xFFFF);
            }
            if (key == "dpi") {
                std::istringstream s(value);
                for (auto& level : stored_.dpi) {
                    int x = 0, y = 0;
                    if (s >> x >> y)
                        level = {clamp_byte(x), clamp_byte(y)};
                }
            }
        } catch (const std::exception&) {
            // a damaged line keeps the default of that setting
        }
    }
}

void SimMouse::save_memory(std::size_t offset, std::size_t count) {
    if (config_.state_file_stem.empty())
        return;
    std::error_code ec;  // an unwritable directory only loses persistence
    std::filesystem::create_directories(config_.state_file_stem.parent_path(), ec);
    auto path = config_.state_file_stem;
    path += ".mem";
    std::fstream f(path, std::ios::binary | std::ios::in | std::ios::out);
    if (!f) {
        f.open(path, std::ios::binary | std::ios::out | std::ios::trunc);
        offset = 0;
        count = memory_.size();
    }
    f.seekp(static_cast<std::streamoff>(offset));
    f.write(reinterpret_cast<const char*>(memory_.data() + offset),
            static_cast<std::streamsize>(count));
}

void SimMouse::save_settings() {
    if (config_.state_file_stem.empty())
        return;
    std::error_code ec;  // an unwritable directory only loses persistence
    std::filesystem::create_directories(config_.state_file_stem.parent_path(), ec);
    auto path = config_.state_file_stem;
    path += ".settings";
    std::ofstream out(path, std::ios::trunc);
    out << "profile=" << int(stored_.profile) << "\n"
        << "dpi_level=" << int(stored_.dpi_level) << "\n"
        << "dpi=";
    for (const auto& level : stored_.dpi)
        out << int(level[0]) << " " << int(level[1]) << " ";
    out << "\nrate_byte=" << int(stored_.rate_byte) << "\n"
        << "wheel_rate=" << int(stored_.wheel_rate) << "\n"
        << "macro_limit=" << stored_.macro_limit << "\n";
}

void SimMouse::write_memory(std::uint32_t address, std::span<const std::uint8_t> bytes) {
    const std::size_t size = memory_.size();
    std::size_t first = address % size;
    for (std::size_t i = 0; i < bytes.size(); ++i)
        memory_[(first + i) % size] = bytes[i];
    // Save the touched range; a write that wraps past the end saves its two pieces.
    const std::size_t head = std::min(bytes.size(), size - first);
    save_memory(first, head);
    if (head < bytes.size())
        save_memory(0, bytes.size() - head);
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
    if (faults_.unplugged)
        return std::nullopt;
    const auto it = config_.strings.find(index);
    if (it == config_.strings.end())
        return std::nullopt;
    return it->second;
}

bool SimMouse::present() const {
    std::lock_guard lock(mutex_);
    return !faults_.unplugged;
}

bool SimMouse::set_feature(std::span<const std::uint8_t> report) {
    std::lock_guard lock(mutex_);
    if (faults_.unplugged)
        return false;
    if (static_cast<int>(report.size()) != faults_.feature_report_length || report.size() != 9) {
        ++wrong_length_;
        return false;
    }
    FeatureReport req{};
    std::copy(report.begin(), report.end(), req.begin());
    if (requests_.size() >= 65536)
        requests_.erase(requests_.begin(), requests_.begin() + 32768);
    requests_.push_back(req);
    reply_.fill(0);
    run_request(req, reply_);
    reply_[0] = 0;
    reply_ready_ = true;
    if (faults_.unplug_after_exchanges > 0 && --faults_.unplug_after_exchanges == 0) {
        unplug_after_reply_ = true;
    }
    return true;
}

bool SimMouse::get_feature(std::span<std::uint8_t> report) {
    std::lock_guard lock(mutex_);
    if (faults_.unplugged)
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
        faults_.unplugged = true;
        input_ready_.notify_all();
    }
    return true;
}

int SimMouse::read_input(std::span<std::uint8_t> report, int timeout_ms) {
    std::unique_lock lock(mutex_);
    input_ready_.wait_for(lock, std::chrono::milliseconds(std::max(timeout_ms, 0)),
                          [&] { return !input_.empty() || faults_.unplugged; });
    if (faults_.unplugged)
        return -1;
    if (input_.empty())
        return 0;
    const auto r = std::move(input_.front());
    input_.pop_front();
    const std::size_t n = std::min(r.size(), report.size());
    std::copy_n(r.begin(), n, report.begin());
    return static_cast<int>(n);
}

// ---- requests ----

void SimMouse::run_request(const FeatureReport& req, FeatureReport& reply) {
    const std::uint8_t cls = req[1], code = req[2];
    switch (cls) {
        case 0x00:  // link
            if (code == 0x00)
                reply[7] = link_tag_;
            if (code == 0x02 && req[8] == kKey)
                link_tag_ = req[3];
            break;
        case 0x01:
            run_settings_request(req, reply);
            break;
        case 0x02:
            run_memory_request(req, reply);
            break;
        case 0x07:  // wheel
            if (code == 0x00)
                reply[3] = working_.wheel_rate;
            if (code == 0x02 && req[4] == kKey)
                working_.wheel_rate = req[3];
            break;
        case 0x08:
            if (code == 0x01)
                ++wakeups_;
            break;
        default:
            break;
    }
}

void SimMouse::run_settings_request(const FeatureReport& req, FeatureReport& reply) {
    const bool keyed = req[8] == kKey;
    switch (req[2]) {
        case 0x02:  // store the working settings
            if (keyed) {
                stored_ = working_;
                save_settings();
            }
            break;
        case 0x03:
            if (req[4] < 4) {
                reply[2] = working_.dpi[req[4]][0];
                reply[3] = working_.dpi[req[4]][1];
            }
            break;
        case 0x83:
            if (keyed && req[3] < 2 && req[4] < 4)
                working_.dpi[req[4]][req[3]] = req[5];
            break;
        case 0x05:
            if (req[3] < kProfiles && req[4] < kButtonsPerProfile) {
                const std::size_t at = button_offset(req[3], req[4]);
                std::copy_n(memory_.begin() + static_cast<std::ptrdiff_t>(at), 3,
                            reply.begin() + 2);
            }
            break;
        case 0x85:
            if (keyed && req[3] < kProfiles && req[4] < kButtonsPerProfile) {
                const std::array<std::uint8_t, 3> cell = {req[5], req[6], req[7]};
                write_memory(static_cast<std::uint32_t>(button_offset(req[3], req[4])), cell);
            }
            break;
        case 0x07:
            reply[2] = working_.dpi_level;
            break;
        case 0x87:
            if (keyed && req[3] < 4)
                working_.dpi_level = req[3];
            break;
        case 0x08:
            reply[2] = working_.profile;
            break;
        case 0x88:
            if (keyed && req[3] < kProfiles)
                working_.profile = req[3];
            break;
        case 0x0A:
            reply[2] = static_cast<std::uint8_t>(working_.macro_limit & 0xFF);
            reply[3] = static_cast<std::uint8_t>(working_.macro_limit >> 8);
            break;
        case 0x8A:
            if (keyed)
                working_.macro_limit = le16(req[3], req[4]);
            break;
        case 0x0B:
            reply[2] = working_.rate_byte;
            break;
        case 0x8B:
            working_.rate_byte = req[3];
            break;
        default:
            break;
    }
}

void SimMouse::run_memory_request(const FeatureReport& req, FeatureReport& reply) {
    const std::uint16_t address = le16(req[3], req[4]);
    const bool keyed = req[8] == kKey;
    const std::size_t size = memory_.size();
    switch (req[2]) {
        case 0x00:
            for (std::size_t i = 0; i < 7; ++i)
                reply[2 + i] = memory_[(address + i) % size];
            break;
        case 0x01:
            if (keyed)
                write_memory(address, std::span(&req[6], 1));
            break;
        case 0x02:
            if (keyed)
                write_memory(address, std::span(&req[6], 2));
            break;
        case 0x03:
        case 0x05:
        case 0x06:
        case 0x07:
        case 0x08: {
            static constexpr std::array<int, 9> kStageStart = {0, 0, 0, 0, 0, 6, 12, 18, 24};
            std::copy_n(req.begin() + 3, 6, staged_.begin() + kStageStart[req[2]]);
            break;
        }
        case 0x09:
            staged_[30] = req[3];
            staged_[31] = req[4];
            break;
        case 0x04:
            if (keyed && req[6] >= 1 && req[6] <= 32) {
                write_memory(address, std::span(staged_.data(), req[6]));
            }
            break;
        case 0x0A:
            if (keyed)
                write_memory(address, staged_);
            break;
        default:
            break;
    }
}

// ---- the user's side ----

void SimMouse::queue_input(std::vector<std::uint8_t> report) {
    input_.push_back(std::move(report));
    input_ready_.notify_all();
}

void SimMouse::raise_input(std::uint8_t event, std::span<const std::uint8_t> data) {
    std::lock_guard lock(mutex_);
    raise_input_locked(event, data);
}

void SimMouse::raise_input_locked(std::uint8_t event, std::span<const std::uint8_t> data) {
    std::vector<std::uint8_t> r(8, 0);
    r[0] = kInputReportId;
    r[1] = kKey;
    r[2] = link_tag_;
    r[3] = event;
    for (std::size_t i = 0; i < data.size() && 4 + i < r.size(); ++i)
        r[4 + i] = data[i];
    queue_input(std::move(r));
}

// A button press changes the setting and raises its event in one step, so that presses on
// several threads raise one event each, with the value that press set, in the order they took
// effect.
void SimMouse::press_profile_button(int profile) {
    std::lock_guard lock(mutex_);
    working_.profile = static_cast<std::uint8_t>(((profile % kProfiles) + kProfiles) % 5);
    const std::uint8_t p = working_.profile;
    raise_input_locked(kEventProfile, std::span(&p, 1));
}

void SimMouse::press_dpi_button(int level) {
    std::lock_guard lock(mutex_);
    working_.dpi_level = static_cast<std::uint8_t>(std::clamp(level, 0, 3));
    const auto& xy = working_.dpi[working_.dpi_level];
    const std::array<std::uint8_t, 4> data = {working_.dpi_level, 0xFA, xy[0], xy[1]};
    raise_input_locked(kEventDpi, data);
}

void SimMouse::tilt(int amount) {
    const auto a =
        static_cast<std::uint8_t>(static_cast<std::int8_t>(std::clamp(amount, -128, 127)));
    raise_input(kEventTilt, std::span(&a, 1));
}

void SimMouse::restart() {
    std::lock_guard lock(mutex_);
    working_ = stored_;
    link_tag_ = 0;
    reply_ready_ = false;
    staged_.fill(0);
    input_.clear();
}

// ---- inspection ----

SimFaults SimMouse::faults() const {
    std::lock_guard lock(mutex_);
    return faults_;
}

void SimMouse::set_faults(const SimFaults& f) {
    std::lock_guard lock(mutex_);
    faults_ = f;
    input_ready_.notify_all();
}

std::vector<std::uint8_t> SimMouse::memory() const {
    std::lock_guard lock(mutex_);
    return memory_;
}

void SimMouse::poke_memory(std::uint16_t address, std::span<const std::uint8_t> bytes) {
    std::lock_guard lock(mutex_);
    write_memory(address, bytes);
}

SimSettings SimMouse::working_settings() const {
    std::lock_guard lock(mutex_);
    return working_;
}

SimSettings SimMouse::stored_settings() const {
    std::lock_guard lock(mutex_);
    return stored_;
}

std::uint8_t SimMouse::link_tag() const {
    std::lock_guard lock(mutex_);
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
