// The window follows what another program changed on the selected mouse: each kind of change
// is read again and shown, a value the user is still editing stays the user's (and a note says
// it replaced the other's once written), and the window's own short writes wait for the
// mouse's lock.
#include "core/outside_changes.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <condition_variable>
#include <cstdlib>
#include <thread>

#include "core/button_functions.h"
#include "core/macro_page.h"
#include "device/commands.h"
#include "device/mouse_lock.h"
#include "macro/macro_memory.h"
#include "support/core_harness.h"

namespace zentrik::testing {
namespace {

// What another program does to the same simulated mouse: its own link, its own writes.
struct OtherProgram {
    explicit OtherProgram(CoreHarness& h) : lib(h.backend, h.timing) { lib.discover(); }
    device::zklib lib;
    const std::string path = sim::SimBackend::path_of(0);
};

// The change as the window receives it for the harness's mouse.
core::OutsideChange change_of(CoreHarness& h, unsigned kinds, int index = -1) {
    return {kinds, index, h.lib->backend().lock_key(sim::SimBackend::path_of(0))};
}

int messages_with(CoreHarness& h, const std::string& text) {
    int n = 0;
    for (const auto& shown : h.dialogs.shown())
        n += shown.text == text ? 1 : 0;
    return n;
}

TEST(OutsideChanges, TheMessageSurvivesTheWireAndOddTextIsRefused) {
    const core::OutsideChange c{core::kChangedDpi | core::kChangedRate, 2, "sim:/a b/mouse0"};
    const auto back = core::decode_outside_change(core::encode_outside_change(c));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->kinds, c.kinds);
    EXPECT_EQ(back->index, 2);
    EXPECT_EQ(back->mouse, "sim:/a b/mouse0");
    for (const char* bad : {"", "4 1", "4 1 ", "x 1 /dev/hidraw0", "0 1 /dev/hidraw0",
                            "4 9 /dev/hidraw0", "4 -2 /dev/hidraw0"})
        EXPECT_FALSE(core::decode_outside_change(bad)) << bad;
}

TEST(OutsideChanges, EachKindIsReadAgainAndShown) {
    CoreHarness h;
    h.start_and_load();
    OtherProgram other(h);
    device::write_profile_name(other.lib, other.path, 3, u"Work");
    device::write_button(other.lib, other.path, 1, core::button_info(5).device_index, true,
                         0xFF32);  // Copy
    device::write_dpi_value(other.lib, other.path, 0, 2, 31);
    device::write_dpi_value(other.lib, other.path, 1, 2, 32);
    device::write_dpi_level(other.lib, other.path, 2);
    device::write_rate_byte(other.lib, other.path, 4);  // 250 Hz
    device::write_profile(other.lib, other.path, 1);
    device::commit_settings(other.lib, other.path);

    // Only what a message names is read: names first, nothing of the DPI page yet.
    const std::string level2_before = h.text("static x2");
    h.clear_requests();
    core::follow_outside_change(*h.session, change_of(h, core::kChangedNames, 3));
    EXPECT_EQ(h.text("profile 3"), "Work");
    EXPECT_EQ(h.count_requests(0x01, 0x03), 0);  // no DPI read
    EXPECT_EQ(h.text("static x2"), level2_before) << "a DPI change not announced is not shown";

    core::follow_outside_change(
        *h.session, change_of(h, core::kChangedDpi | core::kChangedLevel | core::kChangedRate, 2));
    EXPECT_EQ(h.text("static x2"), "X: 3100");
    EXPECT_EQ(h.text("static y2"), "Y: 3200");
    EXPECT_EQ(h.widget("dpi level 3").checked, 1);
    EXPECT_EQ(h.widget("dpi x").value, 3100);
    EXPECT_EQ(h.text("static reprot"), "250Hz");

    core::follow_outside_change(*h.session,
                                change_of(h, core::kChangedProfile | core::kChangedButtons, 1));
    h.advance(100);  // the profile's reload timer
    EXPECT_EQ(h.widget("profile 1").checked, 1);
    EXPECT_EQ(h.text("zz_button 5"), "Copy");

    // A change to another mouse is none of this window's business.
    h.clear_requests();
    core::follow_outside_change(*h.session, {core::kChangedEverything, -1, "sim:/elsewhere"});
    EXPECT_TRUE(h.requests().empty());
}

TEST(OutsideChanges, TheMacroListFollowsAndTheNextSavePlansAroundIt) {
    CoreHarness h;
    core::MacroPage page(*h.session);
    h.start_and_load();
    OtherProgram other(h);
    device::ButtonTable buttons;
    macro::MacroMemory memory(other.lib, other.path, buttons);
    ASSERT_TRUE(memory.load_directory());
    ScriptedDialogs quiet;
    const std::vector<std::uint8_t> code{0x04, 0x21, 0x88, 0x14, 0x41};
    ASSERT_TRUE(memory.save_macro(5, code, quiet, {}, false).ok);

    core::follow_outside_change(*h.session, change_of(h, core::kChangedMacros));
    const auto shown = page.directory();
    ASSERT_TRUE(shown.slots[5].used());
    EXPECT_EQ(shown.slots[5].start, 0x800);
    bool listed = false;
    for (const auto& row : h.widget("list macro 2").rows)
        listed = listed || (row.tag == 5 && row.value == 0x800);
    EXPECT_TRUE(listed);
}

TEST(OutsideChanges, AnEditInProgressIsKeptWrittenAndNoted) {
    CoreHarness h;
    h.start_and_load();
    OtherProgram other(h);
    const int level = h.session->model().snapshot().level;

    // The user moves the X slider; before its write, the other program sets this level.
    h.click("x y indep");
    h.set_value_and_click("dpi x", 1500);
    device::write_dpi_value(other.lib, other.path, 0, level, 40);
    device::write_dpi_value(other.lib, other.path, 1, level, 41);
    // The user renames profile 2 while the other program does too.
    h.board.pointer.edit_target = &h.widget("profile 2");
    device::write_profile_name(other.lib, other.path, 2, u"Theirs");

    core::follow_outside_change(*h.session, change_of(h, core::kChangedDpi, level));
    core::follow_outside_change(*h.session, change_of(h, core::kChangedNames, 2));
    // Y was not being edited: it follows. X and the name under edit stay the user's.
    EXPECT_EQ(h.widget("dpi y").value, 4100);
    EXPECT_EQ(h.widget("dpi x").value, 1500);
    EXPECT_EQ(messages_with(h, core::contested_note()), 0);

    h.advance(200);  // the X write
    int x = 0, y = 0;
    ASSERT_TRUE(device::read_dpi_values(other.lib, other.path, level, x, y));
    EXPECT_EQ(x, 15);
    EXPECT_EQ(y, 41);
    EXPECT_EQ(messages_with(h, core::contested_note()), 1);

    h.board.pointer.edit_target = nullptr;
    h.edit_text("profile 2", "Mine");
    const auto name = device::read_profile_name(other.lib, other.path, 2);
    ASSERT_TRUE(name);
    EXPECT_EQ(*name, u"Mine");
    EXPECT_EQ(messages_with(h, core::contested_note()), 2);
}

// Another program holds the mouse (its lock, taken on another thread as another program would).
class HeldMouse {
  public:
    HeldMouse(device::zklib& lib, const std::string& path)
        : thread_([this, &lib, path] {
              auto lock = device::lock_mouse(lib, path, nullptr);
              std::unique_lock l(mutex_);
              held_ = lock.held();
              changed_.notify_all();
              changed_.wait(l, [this] { return released_; });
          }) {
        std::unique_lock l(mutex_);
        changed_.wait(l, [this] { return held_.has_value(); });
    }
    ~HeldMouse() {
        {
            std::lock_guard l(mutex_);
            released_ = true;
        }
        changed_.notify_all();
        thread_.join();
    }
    bool held() const { return held_.value_or(false); }

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::optional<bool> held_;
    bool released_ = false;
    std::thread thread_;
};

TEST(OutsideChanges, TheWindowsShortWritesWaitForTheMousesLock) {
    namespace fs = std::filesystem;
    const fs::path dir =
        fs::temp_directory_path() / ("zentrik-follow-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir / "run");
    fs::permissions(dir / "run", fs::perms::owner_all, fs::perm_options::replace);
    const char* old_run = std::getenv("XDG_RUNTIME_DIR");
    const std::string saved_run = old_run ? old_run : "";
    ::setenv("XDG_RUNTIME_DIR", (dir / "run").c_str(), 1);
    ::setenv("ZENTRIK_MOUSE_WAIT_MS", "500", 1);
    {
        auto config = family_mouse();
        config.state_file_stem = dir / "sim" / "mouse0";
        CoreHarness h({config});
        h.start_and_load();
        OtherProgram other(h);
        h.clear_requests();
        {
            const HeldMouse held(other.lib, other.path);
            ASSERT_TRUE(held.held());
            h.click("dpi level 3");
            h.click("profile 4");
            h.edit_text("profile 0", "Late");
            EXPECT_EQ(h.count_requests(0x01, 0x87), 0);
            EXPECT_EQ(h.count_requests(0x01, 0x88), 0);
            EXPECT_NE(device::read_profile_name(other.lib, other.path, 0), u"Late");
            EXPECT_EQ(messages_with(h, device::kMouseBusyFailure), 3);
        }
        h.click("dpi level 2");
        EXPECT_EQ(h.count_requests(0x01, 0x87), 1);
    }
    ::unsetenv("ZENTRIK_MOUSE_WAIT_MS");
    if (old_run)
        ::setenv("XDG_RUNTIME_DIR", saved_run.c_str(), 1);
    else
        ::unsetenv("XDG_RUNTIME_DIR");
    fs::remove_all(dir);
}

}  // namespace
}  // namespace zentrik::testing
