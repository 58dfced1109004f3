// The state files of a simulated mouse and how several programs share them. Every access holds
// the lock file; a counter in it goes up with each change, so a program re-reads the other
// files only when another one changed them. Memory writes are saved at once, the stored
// settings on the store command, the power-on state (plugged, link tag, working settings) with
// each change, and raised input reports are appended to a log that starts afresh at power-on.
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <mutex>
#include <set>
#include <sstream>
#include <string>
#include <string_view>

#include "lang/file_bytes.h"
#include "platform/replacing_file.h"
#include "sim/sim_mouse.h"
#include "sim/sim_mouse_shared.h"
#include "sim/sim_protocol.h"

namespace zentrik::sim {
namespace {

constexpr std::size_t kInputRecordSize = 8;

std::uint8_t clamp_byte(long v) {
    return static_cast<std::uint8_t>(std::clamp<long>(v, 0, 255));
}

void write_settings_lines(std::ostream& out, const SimSettings& s) {
    out << "profile=" << int(s.profile) << "\n"
        << "dpi_level=" << int(s.dpi_level) << "\n"
        << "dpi=";
    for (const auto& level : s.dpi)
        out << int(level[0]) << " " << int(level[1]) << " ";
    out << "\nrate_byte=" << int(s.rate_byte) << "\n"
        << "wheel_rate=" << int(s.wheel_rate) << "\n"
        << "macro_limit=" << s.macro_limit << "\n";
}

// One "key=value" line of a settings file; a damaged value keeps what `s` held.
void read_settings_line(const std::string& key, const std::string& value, SimSettings& s) {
    try {
        if (key == "profile")
            s.profile = clamp_byte(std::stol(value));
        if (key == "dpi_level")
            s.dpi_level = clamp_byte(std::stol(value));
        if (key == "rate_byte")
            s.rate_byte = clamp_byte(std::stol(value));
        if (key == "wheel_rate")
            s.wheel_rate = clamp_byte(std::stol(value));
        if (key == "macro_limit")
            s.macro_limit = static_cast<std::uint16_t>(std::stol(value) & 0xFFFF);
        if (key == "dpi") {
            std::istringstream in(value);
            for (auto& level : s.dpi) {
                long x = 0, y = 0;
                if (in >> x >> y)
                    level = {clamp_byte(x), clamp_byte(y)};
            }
        }
    } catch (const std::exception&) {
    }
}

// The settings and power files are a few hundred bytes; anything past this is not theirs.
constexpr std::size_t kMaxSettingsFileBytes = 64 * 1024;

// Says once per text that a state file was not read (the files are read on every change).
void report_refusal(const std::string& refusal) {
    static std::mutex mutex;
    static std::set<std::string> reported;
    std::lock_guard lock(mutex);
    if (reported.insert(refusal).second)
        std::cerr << "zentrik: the simulated mouse did not read " << refusal << "\n";
}

// Calls `take(key, value)` for each "key=value" line; false when the file is missing or was
// refused (not a regular file, or too large).
template <typename Take>
bool read_key_values(const std::filesystem::path& path, Take take) {
    const lang::FileRead read = lang::read_regular_file(path, kMaxSettingsFileBytes);
    if (!read.bytes) {
        if (!read.missing)
            report_refusal(read.refusal);
        return false;
    }
    std::istringstream in(*read.bytes);
    std::string line;
    while (std::getline(in, line)) {
        const auto eq = line.find('=');
        if (eq != std::string::npos)
            take(line.substr(0, eq), line.substr(eq + 1));
    }
    return true;
}

// Writes `text` to a temporary file beside `path` and renames it into place, so readers never
// see half a file. Not synced to disk: a simulated mouse's state is worthless after a crash.
bool write_whole_file(const std::filesystem::path& path, std::string_view text,
                      std::string& error) {
    return platform::replace_file(path, text, &error, platform::ReplaceOptions{.sync = false});
}

std::string utc_timestamp() {
    using namespace std::chrono;
    const auto now = floor<seconds>(system_clock::now());
    const auto day = floor<days>(now);
    const year_month_day date{day};
    const hh_mm_ss time{now - day};
    char text[32];
    std::snprintf(text, sizeof text, "%04d%02u%02u-%02ld%02ld%02ld", int(date.year()),
                  unsigned(date.month()), unsigned(date.day()), long(time.hours().count()),
                  long(time.minutes().count()), long(time.seconds().count()));
    return text;
}

}  // namespace

std::filesystem::path SimMouse::state_path(const char* suffix) const {
    auto path = config_.state_file_stem;
    path += suffix;
    return path;
}

std::filesystem::path SimMouse::state_directory() const {
    return config_.state_file_stem.empty() ? std::filesystem::path()
                                           : config_.state_file_stem.parent_path();
}

void SimMouse::load_all() const {
    const SimPlugState before = plug_;
    load_memory();
    load_stored_settings();
    load_power_state();
    if (plug_.power_on != before.power_on) {  // another program replugged the mouse
        reply_ready_ = false;
        staged_.fill(0);
    }
}

void SimMouse::load_memory() const {
    const auto path = state_path(".mem");
    const lang::FileRead read = lang::read_regular_file(path, memory_.size());
    if (read.missing) {  // a new mouse (or one whose memory file was deleted)
        erase_memory();
        unsaved_memory_ = {{0, memory_.size()}};
        return;
    }
    if (read.bytes && read.bytes->size() == memory_.size()) {
        memory_.assign(read.bytes->begin(), read.bytes->end());
        memory_file_kept_ = false;
        return;
    }
    // A damaged image (or whatever stands in its place: a folder, a FIFO, a device) is kept for
    // the user to look at, never overwritten.
    erase_memory();
    auto aside = path;
    aside += ".damaged-" + utc_timestamp();
    std::error_code ec;
    std::filesystem::rename(path, aside, ec);
    std::cerr << "zentrik: the simulated mouse's memory file ";
    if (read.bytes)
        std::cerr << path.string() << " holds " << read.bytes->size() << " bytes instead of "
                  << memory_.size() << "; ";
    else
        std::cerr << read.refusal << "; ";
    if (ec) {
        std::cerr << "it could not be moved aside (" << ec.message()
                  << "), so the mouse runs on an erased memory that is not saved\n";
        memory_file_kept_ = true;
        return;
    }
    std::cerr << "moved it to " << aside.string() << " and started with an erased memory\n";
    unsaved_memory_ = {{0, memory_.size()}};
}

void SimMouse::load_stored_settings() const {
    stored_ = SimSettings{};
    stored_.macro_limit = static_cast<std::uint16_t>(memory_.size() - kTopAreaBytes);
    read_key_values(state_path(".settings"), [&](const std::string& key, const std::string& value) {
        read_settings_line(key, value, stored_);
    });
}

void SimMouse::load_power_state() const {
    // No file: a mouse just plugged in.
    SimPlugState plug;
    std::uint8_t tag = 0;
    SimSettings working = stored_;
    read_key_values(state_path(".power"), [&](const std::string& key, const std::string& value) {
        try {
            if (key == "plugged")
                plug.plugged = value == "1";
            else if (key == "power_on")
                plug.power_on = std::stoull(value);
            else if (key == "link_tag")
                tag = clamp_byte(std::stol(value));
            else
                read_settings_line(key, value, working);
        } catch (const std::exception&) {
        }
    });
    plug_ = plug;
    link_tag_ = tag;
    working_ = working;
}

bool SimMouse::save_changes() const {
    const bool anything = !unsaved_memory_.empty() || unsaved_stored_ || unsaved_power_ ||
                          truncate_events_ || !unsaved_events_.empty();
    if (!anything)
        return true;
    if (config_.state_file_stem.empty()) {
        unsaved_memory_.clear();
        unsaved_stored_ = unsaved_power_ = truncate_events_ = false;
        unsaved_events_.clear();
        return true;
    }
    bool ok = true;
    if (!lock_) {
        report_save_failure("cannot open its lock file: " + lock_error_);
        ok = false;
    } else {
        std::error_code ec;
        std::filesystem::create_directories(state_directory(), ec);
        if (!unsaved_memory_.empty())
            ok = save_memory_ranges() && ok;
        if (unsaved_stored_)
            ok = save_stored_settings() && ok;
        if (unsaved_power_)
            ok = save_power_state() && ok;
        if (truncate_events_ || !unsaved_events_.empty())
            ok = append_events() && ok;
        // Whatever reached the files, the others must re-read.
        if (lock_->set_counter(seen_counter_ + 1))
            ++seen_counter_;
    }
    unsaved_memory_.clear();
    unsaved_stored_ = unsaved_power_ = truncate_events_ = false;
    unsaved_events_.clear();
    return ok;
}

bool SimMouse::save_memory_ranges() const {
    const auto path = state_path(".mem");
    if (memory_file_kept_) {  // a damaged file that could not be moved aside stays untouched
        report_save_failure("its damaged memory file " + path.string() + " is kept as it is");
        return false;
    }
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {  // no file yet: write the whole image
        std::string error;
        if (!write_whole_file(
                path,
                std::string_view(reinterpret_cast<const char*>(memory_.data()), memory_.size()),
                error)) {
            report_save_failure(error);
            return false;
        }
        return true;
    }
    std::fstream f(path, std::ios::binary | std::ios::in | std::ios::out);
    const auto& ranges = unsaved_memory_;
    if (!f) {
        report_save_failure("cannot write " + path.string() + ": " + std::strerror(errno));
        return false;
    }
    for (const auto& [offset, count] : ranges) {
        f.seekp(static_cast<std::streamoff>(offset));
        f.write(reinterpret_cast<const char*>(memory_.data() + offset),
                static_cast<std::streamsize>(count));
    }
    f.close();
    if (!f) {
        report_save_failure("cannot write " + path.string());
        return false;
    }
    return true;
}

bool SimMouse::save_stored_settings() const {
    std::ostringstream text;
    write_settings_lines(text, stored_);
    std::string error;
    if (!write_whole_file(state_path(".settings"), text.str(), error)) {
        report_save_failure(error);
        return false;
    }
    return true;
}

bool SimMouse::save_power_state() const {
    std::ostringstream text;
    text << "plugged=" << (plug_.plugged ? 1 : 0) << "\n"
         << "power_on=" << plug_.power_on << "\n"
         << "link_tag=" << int(link_tag_) << "\n";
    write_settings_lines(text, working_);
    std::string error;
    if (!write_whole_file(state_path(".power"), text.str(), error)) {
        report_save_failure(error);
        return false;
    }
    return true;
}

bool SimMouse::append_events() const {
    const auto path = state_path(".events");
    std::ofstream out(path,
                      std::ios::binary | (truncate_events_ ? std::ios::trunc : std::ios::app));
    for (const auto& report : unsaved_events_) {
        std::array<char, kInputRecordSize> record{};
        std::copy_n(report.begin(), std::min(report.size(), record.size()), record.begin());
        out.write(record.data(), record.size());
    }
    out.close();
    if (!out) {
        report_save_failure("cannot write " + path.string());
        return false;
    }
    return true;
}

void SimMouse::report_save_failure(const std::string& what) const {
    if (save_failure_reported_)
        return;
    save_failure_reported_ = true;
    std::cerr << "zentrik: the simulated mouse cannot save its state in "
              << state_directory().string() << " (" << what
              << "); its exchanges that change the mouse fail while that lasts\n";
}

// ---- the log of input reports ----

SimInputCursor SimMouse::input_cursor() const {
    std::lock_guard lock(mutex_);
    SharedAccess access(*this);
    SimInputCursor cursor{plug_.power_on, input_log_first_ + input_log_.size()};
    if (!config_.state_file_stem.empty()) {
        std::error_code ec;
        const auto size = std::filesystem::file_size(state_path(".events"), ec);
        cursor.position = ec ? 0 : size / kInputRecordSize;
    }
    return cursor;
}

bool SimMouse::read_input_log(SimInputCursor& cursor, std::vector<std::vector<std::uint8_t>>& out) {
    std::lock_guard lock(mutex_);
    SharedAccess access(*this);
    if (!plug_.plugged || plug_.power_on != cursor.power_on)
        return false;
    if (config_.state_file_stem.empty()) {
        cursor.position = std::max(cursor.position, input_log_first_);  // older ones dropped
        for (auto i = cursor.position - input_log_first_; i < input_log_.size(); ++i)
            out.push_back(input_log_[i]);
        cursor.position = input_log_first_ + input_log_.size();
        return true;
    }
    // Only a regular file is read: a FIFO or a device there would block or never end.
    std::error_code ec;
    if (!std::filesystem::is_regular_file(state_path(".events"), ec))
        return true;
    std::ifstream in(state_path(".events"), std::ios::binary);
    in.seekg(static_cast<std::streamoff>(cursor.position * kInputRecordSize));
    std::array<char, kInputRecordSize> record{};
    while (in.read(record.data(), record.size())) {
        out.emplace_back(record.begin(), record.end());
        ++cursor.position;
    }
    return true;
}

}  // namespace zentrik::sim
