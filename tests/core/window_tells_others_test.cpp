// A window tells the other running windows what it wrote, once the mouse took it: the same
// change zentrikctl sends for that kind of write, and nothing for a write that failed. A name
// edit the user gives up leaves no "replaced" note behind and lets the rows kept for it follow.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <vector>

#include "core/macro_page.h"
#include "core/outside_changes.h"
#include "core/session.h"
#include "device/commands.h"
#include "macro/macro_memory.h"
#include "support/core_harness.h"

namespace zentrik::testing {
namespace {

struct Told {
    unsigned kinds;
    int index;
    bool operator==(const Told&) const = default;
};

// Another program on the same simulated mouse.
struct OtherProgram {
    explicit OtherProgram(CoreHarness& h) : lib(h.backend, h.timing) { lib.discover(); }
    device::zklib lib;
    const std::string path = sim::SimBackend::path_of(0);
};

// Saves a short macro into `slot` from the other program and tells the window so.
void other_saves_macro(CoreHarness& h, OtherProgram& other, int slot) {
    device::ButtonTable buttons;
    macro::MacroMemory memory(other.lib, other.path, buttons);
    ASSERT_TRUE(memory.load_directory());
    ScriptedDialogs quiet;
    const std::vector<std::uint8_t> code{0x04, 0x21, 0x88, 0x14, 0x41};
    ASSERT_TRUE(memory.save_macro(slot, code, quiet, {}, false).ok);
    core::follow_outside_change(
        *h.session,
        {core::kChangedMacros, -1, h.lib->backend().lock_key(sim::SimBackend::path_of(0))});
}

int notes(CoreHarness& h) {
    int n = 0;
    for (const auto& shown : h.dialogs.shown())
        n += shown.text == core::contested_note() ? 1 : 0;
    return n;
}

// A simulated mouse whose state other programs share (one kept in memory has no key to tell).
class WindowTellsOthers : public ::testing::Test {
  protected:
    void SetUp() override {
        namespace fs = std::filesystem;
        dir_ = fs::temp_directory_path() / ("zentrik-tell-" + std::to_string(::getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_ / "run");
        fs::permissions(dir_ / "run", fs::perms::owner_all, fs::perm_options::replace);
        if (const char* old = std::getenv("XDG_RUNTIME_DIR"))
            saved_run_ = old;
        ::setenv("XDG_RUNTIME_DIR", (dir_ / "run").c_str(), 1);
        config_.state_file_stem = dir_ / "sim" / "mouse0";
    }
    void TearDown() override {
        if (saved_run_)
            ::setenv("XDG_RUNTIME_DIR", saved_run_->c_str(), 1);
        else
            ::unsetenv("XDG_RUNTIME_DIR");
        std::filesystem::remove_all(dir_);
    }
    sim::SimMouseConfig config_ = family_mouse();

  private:
    std::filesystem::path dir_;
    std::optional<std::string> saved_run_;
};

TEST_F(WindowTellsOthers, EachKindOfWriteTellsItsChangeOnceTheMouseTookIt) {
    CoreHarness h({config_});
    core::MacroPage page(*h.session);
    h.start_and_load();
    OtherProgram other(h);
    std::vector<Told> told;
    std::vector<std::string> mice;
    h.session->tell_others = [&](const core::OutsideChange& c) {
        told.push_back({c.kinds, c.index});
        mice.push_back(c.mouse);
    };
    const auto last = [&] { return told.empty() ? Told{0, -9} : told.back(); };

    h.click("dpi level 3");
    EXPECT_EQ(last(), (Told{core::kChangedLevel, -1}));
    h.click("profile 4");
    EXPECT_EQ(last(), (Told{core::kChangedProfile, -1}));
    const int profile = h.session->model().snapshot().profile;
    h.edit_text("profile 1", "Mine");
    EXPECT_EQ(last(), (Told{core::kChangedNames, 1}));
    h.drop("list macro", 1, "zz_button 3");
    EXPECT_EQ(last(), (Told{core::kChangedButtons, profile}));

    // The deferred DPI write tells once it is written, not when the slider moves.
    const std::size_t before = told.size();
    h.set_value_and_click("dpi x", 1500);
    EXPECT_EQ(told.size(), before);
    h.advance(200);
    EXPECT_EQ(last(), (Told{core::kChangedDpi, h.session->model().snapshot().level}));

    other_saves_macro(h, other, 5);
    h.dialogs.answer(true);
    ui::Widget& list = h.widget("list macro 2");
    for (int row = 0; row < list.row_count(); ++row)
        if (list.rows[static_cast<std::size_t>(row)].tag == 5)
            list.selected_row = row;
    h.session->handle_widget_event({ui::kActionDeleteRequested, list.id, &list, nullptr});
    EXPECT_EQ(last(), (Told{core::kChangedMacros, -1}));

    h.dialogs.answer(true);
    h.click("bt_reset");
    EXPECT_EQ(last(), (Told{core::kChangedEverything, -1}));
    const std::string key = h.lib->backend().lock_key(sim::SimBackend::path_of(0));
    ASSERT_FALSE(key.empty());
    for (const auto& mouse : mice)
        EXPECT_EQ(mouse, key);

    // A write the mouse did not take is not announced.
    const std::size_t done = told.size();
    auto faults = h.mouse().faults();
    faults.unplugged = true;
    h.mouse().set_faults(faults);
    h.click("dpi level 2");
    EXPECT_EQ(told.size(), done);
}

TEST_F(WindowTellsOthers, AGivenUpOrAgreeingNameEditLeavesNoReplacedNote) {
    CoreHarness h;
    core::MacroPage page(*h.session);
    h.start_and_load();
    OtherProgram other(h);
    const std::string key = h.lib->backend().lock_key(sim::SimBackend::path_of(0));
    ui::Widget& name = h.widget("profile 2");
    const auto contest = [&](const char16_t* theirs) {
        h.board.pointer.edit_target = &name;
        device::write_profile_name(other.lib, other.path, 2, theirs);
        core::follow_outside_change(*h.session, {core::kChangedNames, 2, key});
        h.board.pointer.edit_target = nullptr;
    };
    contest(u"Theirs");
    h.session->handle_widget_event({ui::kActionEditCancelled, name.id, &name, nullptr});
    contest(u"Again");
    h.edit_text("profile 2", "Again");  // the user typed what the other program wrote
    h.edit_text("profile 2", "Later");  // a later rename replaced nobody's value
    EXPECT_EQ(*device::read_profile_name(other.lib, other.path, 2), u"Later");
    EXPECT_EQ(notes(h), 0);

    // A macro rename given up while another program stored a macro: the rows follow at once.
    ui::Widget& list = h.widget("list macro 2");
    h.board.pointer.edit_target = &list;
    h.board.pointer.edit_row = 0;
    other_saves_macro(h, other, 7);
    const auto slot7_row = [&] {
        for (const auto& row : list.rows)
            if (row.tag == 7)
                return row.value;
        return 0u;
    };
    EXPECT_NE(slot7_row(), 0x800u) << "the rows stay while the name is edited";
    h.board.pointer.edit_target = nullptr;
    h.session->handle_widget_event({ui::kActionEditCancelled, list.id, &list, nullptr});
    EXPECT_EQ(slot7_row(), 0x800u);
}

}  // namespace
}  // namespace zentrik::testing
