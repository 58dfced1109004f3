#pragma once
// A simulated mouse on virtual time with its macro memory, and dialogs that answer from a
// script and remember what they showed.
#include <deque>
#include <string>
#include <vector>

#include "device/commands.h"
#include "macro/macro_memory.h"
#include "tests/device/device_test_support.h"
#include "ui/dialogs.h"

namespace zentrik::macro::testing {

class ScriptedDialogs final : public ui::Dialogs {
  public:
    std::deque<bool> answers;  // Yes/No answers in order; Yes when it runs out
    std::vector<std::string> messages;
    std::vector<std::string> questions;

    void message(const std::string&, const std::string& text) override { messages.push_back(text); }
    bool ask_yes_no(const std::string&, const std::string& text) override {
        questions.push_back(text);
        if (answers.empty())
            return true;
        const bool a = answers.front();
        answers.pop_front();
        return a;
    }
    std::optional<std::filesystem::path> open_file(const ui::FileDialogRequest&) override {
        return std::nullopt;
    }
    std::optional<std::filesystem::path> save_file(const ui::FileDialogRequest&) override {
        return std::nullopt;
    }
};

struct MouseRig {
    explicit MouseRig(int memory_size = 16384) {
        mouse = rig.add_mouse(memory_size);
        rig.lib.discover();
        path = sim::SimBackend::path_of(0);
        memory = std::make_unique<MacroMemory>(rig.lib, path, buttons);
        memory->load_directory();
    }
    // Assigns a macro address to a button, in the mouse and in the table.
    void assign(int profile, int button, int start) {
        device::write_button(rig.lib, path, profile, button, true,
                             static_cast<std::uint16_t>(start));
        buttons.set(profile, button, {true, static_cast<std::uint16_t>(start)});
    }
    std::vector<std::uint8_t> bytes(int from, int count) const {
        const auto m = mouse->memory();
        return {m.begin() + from, m.begin() + from + count};
    }
    // A safety copy that only says where it would be.
    MacroMemory::SafetyCopy copy_to(std::string where) {
        return [this, where] {
            ++copies;
            return std::optional<std::filesystem::path>(where);
        };
    }

    device::testing::SimRig rig;
    std::shared_ptr<sim::SimMouse> mouse;
    std::string path;
    device::ButtonTable buttons;
    std::unique_ptr<MacroMemory> memory;
    ScriptedDialogs dialogs;
    int copies = 0;
};

}  // namespace zentrik::macro::testing
