#pragma once
// A simulated mouse on virtual time, with the job's progress and dialogs recorded, and a fresh
// temporary directory per test for backups and safety copies.
#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <numeric>

#include "core/job_progress.h"
#include "core/mouse_identity.h"
#include "tests/device/device_test_support.h"
#include "ui/dialogs.h"

namespace zentrik::core::testing {

class RecordingProgress final : public JobProgress {
  public:
    void begin(const std::string& text) override {
        ++begins;
        caption = text;
        shown = true;
    }
    void set_text(const std::string& text) override {
        caption = text;
        texts.push_back(text);
    }
    void set_fraction(double f) override { fractions.push_back(f); }
    void end() override {
        ++ends;
        shown = false;
    }
    bool reached(double f) const {
        for (double x : fractions) {
            if (std::abs(x - f) < 1e-9)
                return true;
        }
        return false;
    }
    int begins = 0;
    int ends = 0;
    bool shown = false;
    std::string caption;
    std::vector<std::string> texts;  // every set_text, in order
    std::vector<double> fractions;
};

// Answers from a script; records what was shown.
class ScriptedDialogs final : public ui::Dialogs {
  public:
    void message(const std::string&, const std::string& text) override { messages.push_back(text); }
    bool ask_yes_no(const std::string& caption, const std::string& text) override {
        questions.push_back(caption + "|" + text);
        return answer_yes;
    }
    std::optional<std::filesystem::path> open_file(const ui::FileDialogRequest& r) override {
        requests.push_back(r);
        return chosen;
    }
    std::optional<std::filesystem::path> save_file(const ui::FileDialogRequest& r) override {
        requests.push_back(r);
        return chosen;
    }
    bool answer_yes = true;
    std::optional<std::filesystem::path> chosen;
    std::vector<std::string> messages;
    std::vector<std::string> questions;
    std::vector<ui::FileDialogRequest> requests;
};

// A per-test temporary directory, removed afterwards.
class TempDir {
  public:
    TempDir() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        path_ = std::filesystem::temp_directory_path() /
                ("zentrik-settings-" + std::string(info->test_suite_name()) + "-" + info->name());
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
    // The names of the files in the directory (temporary files included).
    std::vector<std::string> names(const std::filesystem::path& sub = {}) const {
        std::vector<std::string> out;
        std::error_code ec;
        for (const auto& e : std::filesystem::directory_iterator(path_ / sub, ec))
            out.push_back(e.path().filename().string());
        std::sort(out.begin(), out.end());
        return out;
    }

  private:
    std::filesystem::path path_;
};

// One simulated mouse, identified, on virtual time.
struct MouseRig {
    explicit MouseRig(int memory_size = 8192, int dpi_step = 100) {
        mouse = rig.add(sim::SimMouseConfig::family_mouse(7, 1, 3, dpi_step, memory_size));
        rig.lib.discover();
        const auto path = rig.lib.path_of(0);
        identify_mouse(rig.lib, path);
        device = *rig.lib.find_device(path);
        mouse->clear_requests();
    }
    // Fills the whole memory (identity bytes excepted) with a pattern seeded by `seed`.
    void fill(std::uint8_t seed) {
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(device.memory_size - 4));
        std::iota(bytes.begin(), bytes.end(), seed);
        mouse->poke_memory(0, bytes);
    }
    device::testing::SimRig rig;
    std::shared_ptr<sim::SimMouse> mouse;
    device::_DEVICE_ device;
};

// Requests the mouse received that change something (every request but the reads).
inline int write_requests(const sim::SimMouse& mouse) {
    int n = 0;
    for (const auto& r : mouse.requests()) {
        const bool read = (r[1] == 0x02 && r[2] == 0x00) || (r[1] == 0x01 && !(r[2] & 0x80)) ||
                          (r[1] == 0x07 && r[2] == 0x00);
        if (!read || (r[1] == 0x01 && r[2] == 0x02))
            ++n;
    }
    return n;
}

}  // namespace zentrik::core::testing
