// Tilt rules over fake window facts, the user's rule file, and the tilt thread's stepping.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <mutex>

#include "tilt/tilt_output_lock.h"
#include "tilt/tilt_rule_file.h"
#include "tilt/tilt_rules.h"
#include "tilt/tilt_scroller.h"

namespace zentrik::tilt {
namespace {

using platform::ScrollGesture;
using platform::WindowFacts;

WindowFacts over(std::vector<std::string> classes, std::string foreground_title = "Editor") {
    WindowFacts facts;
    facts.has_foreground = true;
    facts.foreground_title = std::move(foreground_title);
    facts.has_pointer_window = true;
    facts.pointer_classes = std::move(classes);
    return facts;
}

TEST(TiltRules, ChooseOneStepFromWindowFacts) {
    TiltRuleTable rules;
    rules.add({"gimp*", TiltAction::kShiftWheel});
    rules.add({"Inkscape", TiltAction::kCtrlWheel});
    rules.add({"xterm", TiltAction::kNothing});

    struct Case {
        const char* what;
        int amount;
        WindowFacts facts;
        std::optional<ScrollGesture> gesture;
        bool toward_left;
    };
    WindowFacts bare_desktop = over({});
    bare_desktop.has_pointer_window = false;
    WindowFacts wayland;  // nothing known, not even the pointer's window
    wayland.windows_known = false;
    const Case cases[] = {
        {"default, left", -1, over({"navigator", "Firefox"}), ScrollGesture::kHorizontalButtons,
         true},
        {"default, right, sum of tilts", 3, over({"nautilus", "Nautilus"}),
         ScrollGesture::kHorizontalButtons, false},
        {"no tilt", 0, over({"nautilus"}), std::nullopt, false},
        {"prefix rule, class name case", -2, over({"gimp-2.10", "Gimp-2.10"}),
         ScrollGesture::kShiftWheel, true},
        {"class name of WM_CLASS", 1, over({"org.inkscape.Inkscape", "inkscape"}),
         ScrollGesture::kCtrlWheel, false},
        {"rule says none", 1, over({"xterm", "XTerm"}), std::nullopt, false},
        {"excluded foreground", -1, over({"navigator"}, "x - Dido Zeriv Uzid - y"), std::nullopt,
         false},
        {"nothing under the pointer", -1, bare_desktop, std::nullopt, false},
        {"prefix does not match shorter name", 1, over({"gim"}), ScrollGesture::kHorizontalButtons,
         false},
        {"no window facts: the horizontal wheel", -1, wayland, ScrollGesture::kHorizontalButtons,
         true},
    };
    for (const Case& c : cases) {
        const auto step = choose_tilt_step(c.amount, c.facts, rules);
        ASSERT_EQ(step.has_value(), c.gesture.has_value()) << c.what;
        if (step) {
            EXPECT_EQ(step->gesture, *c.gesture) << c.what;
            EXPECT_EQ(step->toward_left, c.toward_left) << c.what;
        }
    }
}

TEST(TiltRules, LaterRuleWins) {
    TiltRuleTable rules;
    rules.add({"firefox", TiltAction::kNothing});
    rules.add({"Firefox", TiltAction::kShiftWheel});
    EXPECT_EQ(rules.find({"navigator", "Firefox"}), TiltAction::kShiftWheel);
    EXPECT_EQ(rules.find({"other"}), std::nullopt);
}

TEST(TiltRuleFile, ParsesRulesAndReportsBadLines) {
    const auto parsed = parse_tilt_rules(
        "# programs\n"
        "gimp*   shift-wheel   # old GIMP\n"
        "\n"
        "  Inkscape ctrl-wheel\r\n"
        "xterm none\n"
        "firefox sideways\n"
        "lonely\n"
        "a b c\n"
        "feh buttons\n");
    ASSERT_EQ(parsed.rules.size(), 4u);
    EXPECT_EQ(parsed.rules[0].class_pattern, "gimp*");
    EXPECT_EQ(parsed.rules[0].action, TiltAction::kShiftWheel);
    EXPECT_EQ(parsed.rules[1].class_pattern, "Inkscape");
    EXPECT_EQ(parsed.rules[1].action, TiltAction::kCtrlWheel);
    EXPECT_EQ(parsed.rules[2].action, TiltAction::kNothing);
    EXPECT_EQ(parsed.rules[3].action, TiltAction::kHorizontalButtons);
    ASSERT_EQ(parsed.errors.size(), 3u);
    EXPECT_EQ(parsed.errors[0].rfind("line 6: unknown action \"sideways\"", 0), 0u);
    EXPECT_EQ(parsed.errors[1].rfind("line 7:", 0), 0u);
    EXPECT_EQ(parsed.errors[2].rfind("line 8:", 0), 0u);
    EXPECT_EQ(load_tilt_rules("/nonexistent/tilt-rules", nullptr).size(), 0u);
}

// A FIFO or a link to /dev/zero at the rule file's place is refused and said, never read: one
// blocked the start, the other grew the window without end.
// The shipped file loads without a skipped line, its rules reach the programs its comments name,
// and a user's rule wins over it.
TEST(TiltRuleFile, ShippedRulesLoadCleanlyAndTheUsersWin) {
    std::vector<std::string> errors;
    TiltRuleTable rules = load_tilt_rules(ZENTRIK_SOURCE_DIR "/data/tilt-rules", &errors);
    EXPECT_TRUE(errors.empty()) << errors.front();
    EXPECT_EQ(rules.find({"emacs", "Emacs"}), TiltAction::kShiftWheel);
    EXPECT_EQ(rules.find({"sun-awt-X11-XFramePeer", "org-freeplane-Main"}),
              TiltAction::kShiftWheel);
    EXPECT_EQ(rules.find({"xterm", "XTerm"}), std::nullopt);
    EXPECT_EQ(rules.find({"libreoffice", "libreoffice-calc"}), std::nullopt);
    TiltRuleTable user;
    user.add({"Emacs", TiltAction::kHorizontalButtons});
    rules.append(user);
    EXPECT_EQ(rules.find({"emacs", "Emacs"}), TiltAction::kHorizontalButtons);
}

TEST(TiltRuleFile, ANonRegularRuleFileIsRefusedAndSaid) {
    const auto dir = std::filesystem::temp_directory_path() /
                     ("zentrik-tilt-rules-" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
    std::filesystem::create_symlink("/dev/zero", dir / "zero");
    for (const char* name : {"fifo", "zero"}) {
        std::vector<std::string> errors;
        EXPECT_EQ(load_tilt_rules(dir / name, &errors).size(), 0u) << name;
        ASSERT_EQ(errors.size(), 1u) << name;
        EXPECT_EQ(errors[0].rfind((dir / name).string() + ": ", 0), 0u) << errors[0];
    }
    std::filesystem::remove_all(dir);
}

// A window system whose first look at the windows waits until the test lets it go, so tilts
// can pile up while the thread is busy.
class GatedWindows final : public platform::WindowSystem {
  public:
    struct Shared {
        std::mutex mutex;
        std::condition_variable changed;
        bool gate_open = false;
        bool thread_at_gate = false;
        std::vector<bool> sent;  // toward_left of each step
    };
    explicit GatedWindows(Shared& shared) : shared_(shared) {}

    WindowFacts window_facts() override {
        std::unique_lock lock(shared_.mutex);
        shared_.thread_at_gate = true;
        shared_.changed.notify_all();
        shared_.changed.wait(lock, [this] { return shared_.gate_open; });
        return over({"app"});
    }
    bool send_scroll(ScrollGesture, bool toward_left) override {
        std::lock_guard lock(shared_.mutex);
        shared_.sent.push_back(toward_left);
        shared_.changed.notify_all();
        return true;
    }

  private:
    Shared& shared_;
};

class TiltScrollerTest : public ::testing::Test {
  protected:
    GatedWindows::Shared shared;
    TiltScroller scroller{std::make_unique<GatedWindows>(shared), TiltRuleTable{}};
    std::mutex steps_mutex;
    std::condition_variable steps_changed;
    std::vector<int> amounts;

    void SetUp() override {
        scroller.set_step_observer([this](int amount, bool) {
            std::lock_guard lock(steps_mutex);
            amounts.push_back(amount);
            steps_changed.notify_all();
        });
        scroller.start();
    }
    void TearDown() override { scroller.stop(); }  // before the observer's vector goes
    void wait_at_gate() {
        std::unique_lock lock(shared.mutex);
        ASSERT_TRUE(shared.changed.wait_for(lock, std::chrono::seconds(5),
                                            [this] { return shared.thread_at_gate; }));
    }
    void open_gate() {
        std::lock_guard lock(shared.mutex);
        shared.gate_open = true;
        shared.changed.notify_all();
    }
    bool wait_for_steps(std::size_t count) {
        std::unique_lock lock(steps_mutex);
        return steps_changed.wait_for(lock, std::chrono::seconds(5),
                                      [&] { return amounts.size() >= count; });
    }
};

TEST_F(TiltScrollerTest, TiltsWhileBusyBecomeOneStepOfTheirSum) {
    scroller.tilt(-1);
    wait_at_gate();
    scroller.tilt(1);
    scroller.tilt(1);
    scroller.tilt(1);
    open_gate();
    ASSERT_TRUE(wait_for_steps(2));
    scroller.stop();
    EXPECT_EQ(amounts, (std::vector<int>{-1, 3}));
    EXPECT_EQ(shared.sent, (std::vector<bool>{true, false}));
}

TEST_F(TiltScrollerTest, TiltsThatCancelOutSendNothing) {
    scroller.tilt(2);
    wait_at_gate();
    scroller.tilt(1);
    scroller.tilt(-1);  // 0 left over: no second wake-up
    open_gate();
    ASSERT_TRUE(wait_for_steps(1));
    scroller.tilt(0);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    scroller.stop();
    EXPECT_EQ(amounts, (std::vector<int>{2}));
    EXPECT_EQ(shared.sent, (std::vector<bool>{false}));
}

// Two running programs hear every tilt; only the holder of the desktop's output lock sends it,
// and the other takes over once the holder has ended.
TEST(TiltOutput, OneProgramPerDesktopSendsTheStep) {
    const auto dir = std::filesystem::temp_directory_path() /
                     ("zentrik-tilt-lock-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    ::chmod(dir.c_str(), 0700);
    const char* old_runtime = std::getenv("XDG_RUNTIME_DIR");
    const std::string saved = old_runtime ? old_runtime : "";
    ::setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);

    struct Sent final : platform::WindowSystem {
        std::atomic<int>& count;
        explicit Sent(std::atomic<int>& c) : count(c) {}
        WindowFacts window_facts() override { return over({"app"}); }
        bool send_scroll(ScrollGesture, bool) override { return ++count, true; }
    };
    struct Program {
        std::atomic<int> sent{0};
        std::mutex mutex;
        std::condition_variable done;
        int steps = 0;
        std::unique_ptr<TiltScroller> scroller;
        Program(const std::string& desktop) {
            std::string error;
            auto lock = open_tilt_output_lock(desktop, error);
            EXPECT_TRUE(lock) << error;
            scroller = std::make_unique<TiltScroller>(std::make_unique<Sent>(sent), TiltRuleTable{},
                                                      std::move(lock));
            scroller->set_step_observer([this](int, bool) {
                std::lock_guard guard(mutex);
                ++steps;
                done.notify_all();
            });
            scroller->start();
        }
        void tilt_and_wait() {
            std::unique_lock guard(mutex);
            const int before = steps;
            guard.unlock();
            scroller->tilt(1);
            guard.lock();
            ASSERT_TRUE(
                done.wait_for(guard, std::chrono::seconds(5), [&] { return steps > before; }));
        }
    };
    {
        auto first = std::make_unique<Program>("x11-:5");
        Program second("x11-:5");
        Program other_desktop("x11-:6");
        first->tilt_and_wait();
        second.tilt_and_wait();
        other_desktop.tilt_and_wait();
        EXPECT_EQ(first->sent, 1);
        EXPECT_EQ(second.sent, 0);
        EXPECT_EQ(other_desktop.sent, 1);
        first.reset();
        second.tilt_and_wait();
        EXPECT_EQ(second.sent, 1);
    }
    EXPECT_EQ(tilt_output_lock_name("wayland-/run/user/1000/wl 0"),
              "tilt-wayland-_run_user_1000_wl_0");
    if (old_runtime)
        ::setenv("XDG_RUNTIME_DIR", saved.c_str(), 1);
    else
        ::unsetenv("XDG_RUNTIME_DIR");
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace zentrik::tilt
