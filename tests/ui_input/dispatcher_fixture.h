#pragma once
// A board, a dispatcher on virtual time, a recording command handler and a headless editor.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "ui/input/pointer_dispatcher.h"
#include "ui/input/virtual_timers.h"
#include "ui/list_model.h"
#include "ui/skin_image.h"
#include "ui/widget_board.h"

namespace zentrik::ui::testing {

struct Recorder : WidgetEventHandler {
    std::vector<WidgetEvent> events;
    std::function<void(const WidgetEvent&)> on_event;  // looks at the board as the handler would
    void handle_widget_event(const WidgetEvent& e) override {
        events.push_back(e);
        if (on_event)
            on_event(e);
    }
    std::vector<int> actions() const {
        std::vector<int> out;
        for (const WidgetEvent& e : events)
            if (e.action != kActionUnderChanged)
                out.push_back(e.action);
        return out;
    }
    int count(int action) const {
        return static_cast<int>(
            std::count_if(events.begin(), events.end(),
                          [&](const WidgetEvent& e) { return e.action == action; }));
    }
    void clear() { events.clear(); }
};

class DispatcherTest : public ::testing::Test {
  protected:
    DispatcherTest() {
        board.set_owner(&owner);
        board.set_page(0);
        dispatcher.set_text_measure([](const std::string& text, int, int) {
            return std::pair<int, int>{static_cast<int>(text.size()) * 10, 14};
        });
    }
    ~DispatcherTest() override { board.set_owner(nullptr); }

    void press(int x, int y) { dispatcher.pointer_event(kLeftButton, kLeftButton, x, y); }
    void release(int x, int y) { dispatcher.pointer_event(kLeftButton, 0, x, y); }
    int move(int x, int y, bool left = false) {
        return dispatcher.pointer_event(0, left ? kLeftButton : 0, x, y);
    }
    void click(int x, int y) {
        press(x, y);
        release(x, y);
    }
    // Runs `n` animation ticks on virtual time.
    void ticks(int n) { timers.advance(static_cast<std::int64_t>(n) * kTickMs); }

    // A spin box at (100, 100), 66 x 20: its up arrow is hit at (160, 103), its down arrow at
    // (160, 115).
    Widget* spin_box(int min, int max, int step, int value) {
        Widget* w = board.create_spin_box("spin", {.x = 100,
                                                   .y = 100,
                                                   .width = 66,
                                                   .height = 20,
                                                   .min = min,
                                                   .max = max,
                                                   .step = step,
                                                   .page = 0,
                                                   .id = 22});
        w->value = value;
        return w;
    }

    Widget* button(const std::string& name, int x, int y, int id) {
        return board.create_widget(name, {.kind = kImageButton,
                                          .x = x,
                                          .y = y,
                                          .width = 100,
                                          .height = 32,
                                          .page = 0,
                                          .id = id});
    }
    // A list 220 x 358 (10 visible rows of 34) with `n` plain rows.
    Widget* list(const std::string& name, int x, int y, int id, int n) {
        Widget* w = board.create_list(
            name, {.x = x, .y = y, .width = 220, .height = 358, .page = 0, .id = id});
        std::vector<ListItem> rows(n);
        for (int i = 0; i < n; ++i) {
            rows[i].text = "row " + std::to_string(i);
            rows[i].value = static_cast<std::uint32_t>(i);
        }
        board.set_rows(name, rows);
        return w;
    }
    // Centre of a list row as shown when the list is at rest.
    static int row_y(const Widget& w, int visual) { return w.y + 32 + visual * w.row_height + 10; }

    WidgetBoard board;
    HeadlessOwner owner;
    Recorder handler;
    ManualClock clock;
    VirtualTimers timers{clock};
    HeadlessEditor editor;
    PointerDispatcher dispatcher{board, handler, clock, &timers, &editor};
};

}  // namespace zentrik::ui::testing
