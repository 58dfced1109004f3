// The window without a pointer: the keyboard's focus, keys and pick-up-and-drop, and what a
// screen reader is told, on the whole layout of a loaded mouse.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <set>

#include "support/core_harness.h"
#include "ui/accessible_info.h"
#include "ui/focus_order.h"
#include "ui/input/pointer_dispatcher.h"

namespace zentrik::testing {
namespace {

using ui::KeyStroke;

KeyStroke key(KeyStroke::Name name, bool shift = false, bool ctrl = false, int digit = 0) {
    return {name, shift, ctrl, digit};
}
KeyStroke digit(int d) {
    return key(KeyStroke::kDigit, false, false, d);
}

struct KeyboardHarness : CoreHarness {
    explicit KeyboardHarness(std::vector<sim::SimMouseConfig> mice = {family_mouse()})
        : CoreHarness(std::move(mice)) {
        start_and_load();
    }
    ui::HeadlessEditor editor;
    ui::PointerDispatcher pointer{board, *session, clock, nullptr, &editor};
    ui::KeyboardFocus& keys = pointer.keyboard();
    void press(KeyStroke k, int times = 1) {
        for (int i = 0; i < times; ++i)
            keys.key(k);
    }
};

TEST(Keyboard, TabReachesEverythingThePointerCanClickInReadingOrder) {
    KeyboardHarness h;
    for (int page :
         {ui::kPageButtons, ui::kPageMacros, ui::kPageDpi, ui::kPageDevices, ui::kPageHome}) {
        h.session->show_page(page);
        // What the pointer can click: the widget it finds at the middle of each enabled box.
        std::set<const ui::Widget*> clickable;
        int enabled = 0;
        h.board.for_each_widget([&](const std::string&, const ui::Widget& w) {
            if (!w.visible || !w.enabled || !h.board.on_current_page(w) || w.id <= 0 ||
                w.kind == ui::kPicture || w.kind == ui::kPanel || w.kind == ui::kStaticText ||
                w.kind == ui::kProgressBar)
                return;
            ++enabled;
            const ui::Rect b = ui::focus_box(w);
            if (const ui::Widget* hit =
                    h.pointer.widget_at((b.left + b.right) / 2, (b.top + b.bottom) / 2);
                hit == &w)
                clickable.insert(hit);
        });
        std::vector<const ui::Widget*> visited;
        for (int i = 0; i < 100; ++i) {
            h.press(key(KeyStroke::kTab));
            if (!visited.empty() && h.keys.focused() == visited.front()) {
                break;
            }
            visited.push_back(h.keys.focused());
        }
        const std::set<const ui::Widget*> reached(visited.begin(), visited.end());
        EXPECT_EQ(reached.size(), visited.size()) << "a widget was visited twice on page " << page;
        for (const ui::Widget* w : clickable)
            EXPECT_TRUE(reached.count(w)) << "page " << page << ": id " << w->id << " unreachable";
        for (std::size_t i = 1; i < visited.size(); ++i)
            EXPECT_LE(visited[i - 1]->y, visited[i]->y);
        EXPECT_TRUE(reached.count(h.board.find_widget("_close")));
        EXPECT_EQ(reached.count(h.board.find_widget("_tab_dpi")),
                  page == ui::kPageHome || page == ui::kPageDevices ? 0u : 1u);
        EXPECT_FALSE(reached.count(h.board.find_widget("zz_button 0")));    // disabled
        EXPECT_FALSE(reached.count(h.board.find_widget("list macro pc")));  // hidden
        // Shift+Tab goes back round the same ring.
        h.press(key(KeyStroke::kTab, true));
        EXPECT_EQ(h.keys.focused(), visited.back());
        std::printf("page %d: %zu of %d enabled widgets reachable by keyboard\n", page,
                    visited.size(), enabled);
    }
}

TEST(Keyboard, AHeldArrowOnTheDpiSliderWritesOnceAfterItRests) {
    KeyboardHarness h;
    h.press(key(KeyStroke::kDigit, false, true, 3));  // Ctrl+3: the DPI page
    ASSERT_EQ(h.page(), ui::kPageDpi);
    ui::Widget& slider = h.widget("dpi x");
    h.keys.focus(&slider);
    const int start = slider.value;
    h.clear_requests();
    for (int i = 0; i < 10; ++i) {  // the key's auto-repeat
        h.press(key(KeyStroke::kRight));
        h.advance(30);
    }
    EXPECT_EQ(h.count_requests(0x01, 0x83), 0);
    h.advance(200);
    EXPECT_EQ(h.count_requests(0x01, 0x83), 2);  // X and Y (tied), once each
    h.advance(2000);                             // the store-settings command
    const int level = h.session->model().snapshot().level;
    const auto stored = h.mouse().stored_settings().dpi[static_cast<std::size_t>(level)];
    EXPECT_EQ(stored[0] * 100, start + 10 * slider.step);
    EXPECT_EQ(h.widget("dpi x value").value, start + 10 * slider.step);
}

TEST(Keyboard, DigitsTypedIntoASpinBoxCommitOnEnterOnTheGridAndEscapeCancels) {
    KeyboardHarness h({family_mouse(7, 2, 3, 90)});
    h.session->show_page(ui::kPageDpi);
    ui::Widget& spin = h.widget("dpi x value");
    h.keys.focus(&spin);
    const int before = spin.value;
    h.clear_requests();
    h.press(digit(5));
    h.press(key(KeyStroke::kEscape));
    h.press(key(KeyStroke::kEnter));
    EXPECT_EQ(spin.value, before);
    EXPECT_TRUE(h.board.pointer.typed.empty());
    for (int d : {1, 0, 4, 7})
        h.press(digit(d));
    h.press(key(KeyStroke::kBackspace));  // 104
    h.press(digit(0));                    // 1040
    EXPECT_EQ(spin.value, before);        // nothing happens before Enter
    h.press(key(KeyStroke::kEnter));
    EXPECT_EQ(spin.value, 990);  // whole steps of 90, as the pointer's values
    h.advance(2200);
    const int level = h.session->model().snapshot().level;
    EXPECT_EQ(h.mouse().stored_settings().dpi[static_cast<std::size_t>(level)][0], 11);
    // Beyond the range: the largest value; Tab commits too.
    for (int d : {9, 9, 9, 9, 9, 9})
        h.press(digit(d));
    h.press(key(KeyStroke::kTab));
    EXPECT_EQ(spin.value, 5040);
}

TEST(Keyboard, PageKeysArrowsInRadioGroupsAndRenaming) {
    KeyboardHarness h;
    h.press(key(KeyStroke::kPageUp, false, true));  // from the home page: the last page
    EXPECT_EQ(h.page(), ui::kPageDpi);
    h.press(key(KeyStroke::kPageDown, false, true));  // and round
    EXPECT_EQ(h.page(), ui::kPageButtons);
    h.press(key(KeyStroke::kDigit, false, true, 9));
    EXPECT_EQ(h.page(), ui::kPageButtons);

    h.keys.focus(&h.widget("profile 0"));
    h.clear_requests();
    h.press(key(KeyStroke::kRight));
    EXPECT_EQ(h.keys.focused(), &h.widget("profile 1"));
    EXPECT_EQ(h.widget("profile 1").checked, 1);
    EXPECT_EQ(h.widget("profile 0").checked, 0);
    EXPECT_EQ(h.session->model().snapshot().profile, 1);
    h.press(key(KeyStroke::kLeft), 3);  // the first profile stays the first
    EXPECT_EQ(h.keys.focused(), &h.widget("profile 0"));

    h.press(key(KeyStroke::kF2));
    ASSERT_TRUE(h.editor.visible());
    h.editor.type("Office");
    h.press(key(KeyStroke::kEnter));
    EXPECT_FALSE(h.editor.visible());
    EXPECT_EQ(h.text("profile 0"), "Office");
}

TEST(Keyboard, AFunctionPickedUpAndDroppedOnALabelIsAssigned) {
    KeyboardHarness h;
    h.session->show_page(ui::kPageButtons);
    ui::Widget& functions = h.widget("list macro");
    const int cut = h.row_with_text("list macro", "Cut");
    ASSERT_GT(cut, 0);
    functions.selected_row = cut - 1;
    h.keys.focus(&functions);
    h.press(key(KeyStroke::kDown, true));  // Shift+Down: the next row
    EXPECT_EQ(functions.selected_row, cut);
    h.press(key(KeyStroke::kEnter, false, true));  // picked up
    h.press(key(KeyStroke::kEscape));              // and put back
    h.keys.focus(&h.widget("zz_button 4"));
    EXPECT_FALSE(h.keys.key(key(KeyStroke::kEnter, false, true)));  // nothing carried
    EXPECT_NE(h.text("zz_button 4"), "Cut");

    h.keys.focus(&functions);
    h.press(key(KeyStroke::kEnter, false, true));
    h.keys.focus(&h.widget("zz_button 4"));
    h.clear_requests();
    h.press(key(KeyStroke::kEnter, false, true));
    EXPECT_EQ(h.text("zz_button 4"), "Cut");
    EXPECT_EQ(h.count_requests(0x01, 0x85), 1);
    EXPECT_EQ(h.board.pointer.carried, nullptr);
}

TEST(Keyboard, APressEndsTheRingATypedNumberAndAPickUp) {
    KeyboardHarness h;
    h.session->show_page(ui::kPageDpi);
    ui::Widget& spin = h.widget("dpi x value");
    h.keys.focus(&spin);
    h.press(digit(7));
    h.pointer.pointer_event(ui::kLeftButton, ui::kLeftButton, 5, 600);  // empty skin
    h.pointer.pointer_event(ui::kLeftButton, 0, 5, 600);
    EXPECT_FALSE(h.board.pointer.focus_visible);
    EXPECT_TRUE(h.board.pointer.typed.empty());
    h.press(key(KeyStroke::kEnter));
    EXPECT_NE(spin.value, 7);
}

TEST(Accessible, EveryPageNamesWhatItShowsWithRolesStatesAndValues) {
    KeyboardHarness h;
    const ui::RowText no_steps;
    for (int page :
         {ui::kPageButtons, ui::kPageMacros, ui::kPageDpi, ui::kPageDevices, ui::kPageHome}) {
        h.session->show_page(page);
        const auto nodes = ui::accessible_tree(h.board, no_steps);
        std::map<std::string, int> roles;
        int rows = 0;
        for (const ui::AccessibleNode& n : nodes) {
            ++roles[ui::role_name(n.role)];
            rows += static_cast<int>(n.rows.size());
            if (n.focusable) {
                EXPECT_FALSE(n.name.empty()) << "page " << page << ": widget id " << n.widget->id;
            }
        }
        EXPECT_EQ(static_cast<std::size_t>(std::count_if(
                      nodes.begin(), nodes.end(), [](const auto& n) { return n.focusable; })),
                  ui::focus_order(h.board).size());
        std::printf("page %d: %zu accessible widgets and %d list rows:", page, nodes.size(), rows);
        for (const auto& [role, n] : roles)
            std::printf(" %d %s,", n, role.c_str());
        std::printf("\n");
    }
    h.session->show_page(ui::kPageButtons);
    auto find = [&](const ui::Widget& w) {
        for (const ui::AccessibleNode& n : ui::accessible_tree(h.board, no_steps))
            if (n.widget == &w)
                return n;
        return ui::AccessibleNode{};
    };
    const ui::AccessibleNode tab = find(h.widget("_tab_bt"));
    EXPECT_EQ(tab.role, ui::AccessibleRole::kPageTab);
    EXPECT_TRUE(tab.checked && tab.selected);
    EXPECT_FALSE(find(h.widget("_tab_dpi")).checked);
    EXPECT_EQ(find(h.widget("zz_button 0")).enabled, false);
    EXPECT_EQ(find(h.widget("_close")).name, "Close");
    EXPECT_EQ(find(h.widget("profile 0")).role, ui::AccessibleRole::kRadioButton);
    const ui::AccessibleNode list = find(h.widget("list macro"));
    ASSERT_FALSE(list.rows.empty());
    EXPECT_EQ(list.rows[0].name.rfind("_@", 0), std::string::npos);  // no header mark

    h.session->show_page(ui::kPageDpi);
    h.keys.focus(&h.widget("dpi y"));
    h.keys.set_value(h.widget("dpi y"), 2000);
    const ui::AccessibleNode slider = find(h.widget("dpi y"));
    EXPECT_EQ(slider.role, ui::AccessibleRole::kSlider);
    EXPECT_TRUE(slider.focused);
    EXPECT_EQ(slider.value, 2000);
    EXPECT_EQ(slider.maximum, h.widget("dpi y").max);
    EXPECT_EQ(find(h.widget("dpi y value")).value, 2000);  // the spin box followed
}

}  // namespace
}  // namespace zentrik::testing
