#pragma once
// The widget board: every widget of the main window, by name, with the board-wide state the
// painter and the pointer logic share. One recursive mutex guards it: every operation takes
// it, and code that reads or writes widget fields directly holds `lock()` meanwhile.
#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "ui/board_owner.h"
#include "ui/widget.h"

namespace zentrik::ui {

// Image resource ids of a widget's slots; 0 = none. Hover, pressed, disabled and checked
// fall back to the normal image when 0.
struct ImageIds {
    int normal = 0;
    int hover = 0;
    int pressed = 0;
    int disabled = 0;
    int checked = 0;
};

// Pointer-tracking state of the board, driven by the pointer logic.
struct PointerState {
    Widget* pressed = nullptr;
    Widget* last_pressed = nullptr;
    int double_press_count = 0;
    Widget* focus = nullptr;
    Widget* under = nullptr;
    Widget* tip_widget = nullptr;
    Widget* drop_highlight = nullptr;
    int drag_state = 0;  // 0 none, 1 armed, 2 dragging, 3 selection changed by a press
    int press_x = 0;
    int press_y = 0;
    int press_row = -1;
    int thumb_drag = 0;
    Widget* thumb_list = nullptr;
    int thumb_y0 = 0;
    int thumb_row0 = 0;
    int spin_dir = 0;  // +1 up, -1 down, 0 none
    int spin_count = 0;
    Widget* edit_target = nullptr;
    int edit_row = -1;
    int wheel_accel = 0;
    std::int64_t wheel_time = 0;
    int cursor_mode = 0;  // 0 arrow, 1 over an active widget, 2 dragging
    // Keyboard: the focus ring shows on `focus` (a press hides it); `carried` is a drag source
    // picked up by the keyboard; `typed` the digits typed into the focused spin box.
    bool focus_visible = false;
    Widget* carried = nullptr;
    std::string typed{};
};

struct Tooltip {
    std::string text{};
    float rect[4] = {0, 0, 0, 0};  // left, top, width, height
    int count = 0;                 // shown while positive (animation ticks)
};

// Creation data. Width and height apply when there is no normal image.
struct WidgetSpec {
    int kind = kPicture;
    int x = 0;
    int y = 0;
    int width = 100;
    int height = 32;
    std::string text{};
    int page = -1;
    int id = -1;
    int visible = 1;
    int enabled = 1;
    ImageIds images{};
};

struct CalloutSpec {
    int x = 0, y = 0, width = 200, height = 28;
    std::array<Argb, 4> colors{};  // colour 0, 1, 2, 4
    std::string text{};
    int line_from_x = 0, line_from_y = 0, elbow_x = -1, elbow_y = 0;
    int image = 0, hover_image = 0, checked_image = 0;  // box images: normal, hover, checked
    int data = 0;
    int page = -1;
    int id = -1;
    int visible = 1;
    int enabled = 1;
};

struct TextBoxSpec {
    int x = 0, y = 0, width = 100, height = 32;
    std::array<Argb, 4> colors{};  // colour 0, 1, 2, 4
    std::string text{};
    int page = -1;
    int id = -1;
};

struct SliderSpec {
    int x = 0, y = 0, width = 100, height = 11;
    std::array<Argb, 3> colors{};  // colour 1, 2, 4
    int thumb_image = 0, disabled_thumb_image = 0;
    int page = -1;
    int id = -1;
};

struct StaticTextSpec {
    int x = 0, y = 0, width = 100, height = 32;
    std::string text{};
    int font = 0;
    std::array<Argb, 2> colors{0xFF000000, 0xFF000000};  // colour 0 (text), 1 (fill)
    int image = 0;
    int page = -1;
    int visible = 1;
    int enabled = 1;
};

struct SpinBoxSpec {
    int x = 0, y = 0, width = 66, height = 20;
    int min = 0, max = 100, step = 1;
    std::array<Argb, 4> colors{};  // colour 0, 1, 2, 4
    int page = -1;
    int id = -1;
};

struct CheckBoxSpec {
    int x = 0, y = 0, width = 100, height = 32;
    std::string text{};
    Argb text_color = 0xFF000000;
    int unchecked_image = 0, checked_image = 0;
    int page = -1;
    int id = -1;
};

struct SelectableRowSpec {
    int x = 0, y = 0, width = 100, height = 32;
    std::string text{};
    Argb text_color = 0xFF000000;
    int image = 0;
    int group = 0;
    int page = -1;
    int id = -1;
};

struct ProgressBarSpec {
    int x = 0, y = 0, width = 100, height = 8;
    std::array<Argb, 3> colors{};  // colour 1, 2, 4
    int page = -1;
};

struct RegionButtonSpec {
    int x = 0, y = 0;
    ImageIds images{};  // normal, hover, pressed, disabled
    std::string text{};
    int page = -1;
    int id = -1;
    int visible = 1;
};

struct PanelSpec {
    int x = 0, y = 0, width = 100, height = 32;
    int image = 0;
    Argb fill = 0xFF000000;  // colour 4, used without an image
    int page = -1;
    int visible = 1;
};

// Name map hashing that accepts string views.
struct NameHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
};

class WidgetBoard {
  public:
    using Lock = std::unique_lock<std::recursive_mutex>;

    WidgetBoard() = default;
    WidgetBoard(const WidgetBoard&) = delete;
    WidgetBoard& operator=(const WidgetBoard&) = delete;

    // Hold this while reading or writing widget fields or board state directly.
    Lock lock() const { return Lock(mutex_); }

    // The window that repaints; null drops invalidations (before the window exists).
    void set_owner(BoardOwner* owner);
    BoardOwner* owner() const;

    // Widgets react to the pointer only while live (always_active ones regardless).
    std::atomic<int> live{1};
    // Set once every widget of the window exists; the painter draws no widget before.
    std::atomic<int> paint_ready{0};

    // Pages.
    int page() const;
    void set_page(int page);
    std::array<int, 2> full_pages() const;
    void set_full_pages(int a, int b);
    // True when a widget of `widget_page` shows on the board's current page.
    bool on_current_page(const Widget& w) const;
    static bool shows_on(int widget_page, int board_page, std::array<int, 2> full_pages);

    // Board state shared with the pointer logic and the painter (hold lock()).
    PointerState pointer;
    Tooltip tooltip;
    std::array<const SkinImage*, 20> shared_images{};
    // Opens the inline editor on a list row (installed by the pointer logic).
    std::function<void(Widget&, int row)> open_editor;

    // Lookup; null for an unknown name.
    Widget* find_widget(std::string_view name);
    const Widget* find_widget(std::string_view name) const;
    // Runs `fn(widget)` under the lock when the name is known; returns whether it was.
    template <typename Fn>
    bool with_widget(std::string_view name, Fn&& fn) {
        Lock l = lock();
        Widget* w = find_widget(name);
        if (!w)
            return false;
        fn(*w);
        return true;
    }
    // Every widget in creation order, under the lock.
    template <typename Fn>
    void for_each_widget(Fn&& fn) const {
        Lock l = lock();
        for (const Entry& e : order_)
            fn(e.name, static_cast<const Widget&>(*e.widget));
    }
    template <typename Fn>
    void for_each_widget(Fn&& fn) {
        Lock l = lock();
        for (const Entry& e : order_)
            fn(e.name, *e.widget);
    }
    std::size_t widget_count() const;

    // Creation. Each returns the new widget, stored under `name` (replacing an earlier one).
    Widget* create_widget(const std::string& name, const WidgetSpec& spec);
    Widget* create_callout(const std::string& name, const CalloutSpec& spec);
    Widget* create_list(const std::string& name, const WidgetSpec& spec);  // kind 4, font 8
    Widget* create_text_box(const std::string& name, const TextBoxSpec& spec);
    Widget* create_slider(const std::string& name, const SliderSpec& spec);
    Widget* create_static_text(const std::string& name, const StaticTextSpec& spec);
    Widget* create_spin_box(const std::string& name, const SpinBoxSpec& spec);
    Widget* create_check_box(const std::string& name, const CheckBoxSpec& spec);
    Widget* create_selectable_row(const std::string& name, const SelectableRowSpec& spec);
    Widget* create_progress_bar(const std::string& name, const ProgressBarSpec& spec);
    Widget* create_region_button(const std::string& name, const RegionButtonSpec& spec);
    Widget* create_panel(const std::string& name, const PanelSpec& spec);
    // Takes a widget off the board (device rows are rebuilt this way). Pointer state that
    // refers to it is cleared; the object itself stays allocated until the board goes, so a
    // pointer another thread still holds never dangles.
    void remove_widget(std::string_view name);

    // Mutators; an unknown name does nothing.
    void set_enabled(std::string_view name, int enabled);
    void set_visible(std::string_view name, int visible);
    void set_checked(std::string_view name, int checked);  // invalidates only on change
    void set_value(std::string_view name, int value);      // invalidates only on change
    void set_range(std::string_view name, int max, int step, int min);
    void move_widget(std::string_view name, int x, int y);
    void resize_widget(std::string_view name, int width, int height);
    void set_text(std::string_view name, std::string text);
    void set_images(std::string_view name, int normal, int hover, int pressed, int disabled);
    void set_fraction(std::string_view name, double fraction);

    // Lists (the rules are ui::ListModel's).
    void scroll_to_selected(std::string_view name);
    // Inserts a row (text "code") where ListModel::insert_after_selection puts it;
    // returns its index, or -1 for an unknown name.
    int add_row(std::string_view name, std::uint32_t offset, std::uint32_t size, std::uint8_t code,
                std::uint32_t param, bool append);
    void select_row_by_value(std::string_view name, std::uint32_t value, bool edit);
    // Replaces the rows (selection kept within them) and invalidates.
    void set_rows(std::string_view name, std::vector<ListItem> rows);
    // Foldable lists: stores the whole tree and shows the expanded part of it.
    void set_tree_rows(std::string_view name, std::vector<ListItem> all_rows);
    void toggle_fold(Widget* list, int row);

    void select_in_group(Widget* w);
    void invalidate_widget(const Widget* w);
    void invalidate_rect(const Rect& rect);
    // The whole window.
    void invalidate_all();

    Rect invalidation_rect(const Widget& w) const;

  private:
    struct Entry {
        std::string name;
        Widget* widget;
    };
    Widget* store(const std::string& name, std::unique_ptr<Widget> w);
    Widget* make(const std::string& name, int kind, int x, int y, int page, int id,
                 const ImageIds& images, int width, int height);

    mutable std::recursive_mutex mutex_;
    BoardOwner* owner_ = nullptr;
    int page_ = 0;
    std::array<int, 2> full_pages_{5, 3};
    std::unordered_map<std::string, Widget*, NameHash, std::equal_to<>> map_;
    std::vector<Entry> order_;
    std::vector<std::unique_ptr<Widget>> owned_;
};

}  // namespace zentrik::ui
