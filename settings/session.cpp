// The core's wiring: timers, the command rows and their dispatch, page switches.
#include "settings/session.h"

#include <algorithm>

#include "device/commands.h"
#include "settings/backup_rows.h"
#include "settings/overlay_progress.h"
#include "settings/safety_copies.h"
#include "ui/layout.h"

namespace zentrik::settings {
namespace {

constexpr const char* kTabs[] = {"_tab_bt", "_tab_macro", "_tab_dpi"};
constexpr int kCloseCommand = 1;
constexpr int kMinimiseCommand = 2;
constexpr int kHomeCommand = 9;
constexpr int kFirstProfileCommand = 10;
constexpr int kFirstButtonLabel = 100;
constexpr int kFunctionListCommand = 99;

}  // namespace

Session::Session(SessionParts parts)
    : board_(parts.board),
      lib_(parts.lib),
      timers_(parts.timers),
      dialogs_(parts.dialogs),
      workers_(parts.workers),
      shell_(parts.shell),
      post_(std::move(parts.post)),
      jobs_(parts.workers, parts.board),
      job_progress_(std::make_unique<OverlayProgress>(progress_, parts.board)) {
    install_timers();
    install_rows();
}

Session::~Session() {
    workers_.wait_all();
}

void Session::start() {
    timers_.arm(kTimerPoll, 1);
}

void Session::post(std::function<void()> fn) {
    if (post_)
        post_(std::move(fn));
    else
        fn();
}

std::string Session::selected_path() const {
    return model_.with([](const SettingsState& s) { return s.selected_path; });
}

void Session::arm_from_any_thread(int id, int ms) {
    post([this, id, ms] { timers_.arm(id, ms); });
}

void Session::stop_from_any_thread(int id) {
    post([this, id] { timers_.stop(id); });
}

// Timers are one-shot: each stops itself and hands its work to a worker.
void Session::run_timer_worker(int id, std::function<void()> work) {
    timers_.set_handler(id, [this, id, work = std::move(work)] {
        timers_.stop(id);
        workers_.start(work);
    });
}

void Session::install_timers() {
    run_timer_worker(kTimerPoll, [this] { poll(); });
    run_timer_worker(kTimerListing, [this] { list_devices(); });
    run_timer_worker(kTimerProfileReload, [this] {
        const bool changed = model_.with([](SettingsState& s) {
            if (s.profile == s.last_shown_profile)
                return false;
            s.last_shown_profile = s.profile;
            return true;
        });
        if (changed)
            reload_assignments();
    });
    for (int id : {kTimerDpiX, kTimerDpiY, kTimerRate, kTimerWheel})
        run_timer_worker(id, [this, id] { deferred_write(id); });
    run_timer_worker(kTimerCommit, [this] {
        const std::string path = selected_path();
        if (!path.empty())
            device::commit_settings(lib_, path);
    });
}

void Session::add_row(int action, int id, Row row) {
    rows_[{action, id}] = std::move(row);
}

void Session::add_rows(int action, int first_id, int last_id, Row row) {
    for (int id = first_id; id <= last_id; ++id)
        add_row(action, id, row);
}

void Session::handle_widget_event(const ui::WidgetEvent& event) {
    dispatch(event);
}

void Session::dispatch(const ui::WidgetEvent& event) {
    if (event.action == ui::kActionDrop &&
        (!event.first || !event.second || event.first == event.second))
        return;
    switch (event.action) {
        case ui::kActionDragStarted:
            drag_started(event.first);
            return;
        case ui::kActionDragEnded:
            if (drag_source_kind_.exchange(0) != 0)
                board_.invalidate_all();
            return;
        case ui::kActionUnderChanged:
            hover_changed(event.first, false);
            hover_changed(event.second, true);
            return;
        default:
            break;
    }
    if (before_row)
        before_row(event);
    const auto it = rows_.find({event.action, event.id});
    if (it != rows_.end())
        it->second(event);
}

void Session::drag_started(const ui::Widget* source) {
    int kind = 0;
    if (source == board_.find_widget("list macro 2") ||
        source == board_.find_widget("list macro edit"))
        kind = 1;
    else if (source == board_.find_widget("list macro"))
        kind = 2;
    else if (source == board_.find_widget("list macro pc"))
        kind = 3;
    else
        for (int i = 0; i <= 5; ++i)
            if (source && source == board_.find_widget("icon tool " + std::to_string(i)))
                kind = 4;
    drag_source_kind_ = kind;
    board_.invalidate_all();
}

// The hover pictures of a button label the pointer entered or left; a checked label keeps its
// look.
void Session::hover_changed(const ui::Widget* label, bool entered) {
    if (!label || label->checked || label->id < kFirstButtonLabel ||
        label->id > kFirstButtonLabel + 10)
        return;
    const std::string n = std::to_string(label->id - kFirstButtonLabel);
    if (board_.find_widget("zz_button " + n) != label)
        return;
    board_.set_visible("ov_button_pic_1 " + n, entered ? 1 : 0);
    board_.set_visible("bb_button_pic " + n, entered ? 1 : 0);
}

void Session::show_page(int page) {
    if (page >= ui::kPageButtons && page <= ui::kPageDpi)
        board_.select_in_group(board_.find_widget(kTabs[page]));
    ui::PageChoice choice;
    model_.with([&](SettingsState& s) {
        s.chosen_page = page;
        choice.chosen_page = page;
        choice.mouse_selected = !s.selected_path.empty() || s.preview;
        choice.any_mouse_listed = s.any_mouse_listed;
    });
    ui::switch_page(board_, choice);
    model_.with([&](SettingsState& s) { s.chosen_page = choice.chosen_page; });
}

void Session::preview_page(int page) {
    model_.with([](SettingsState& s) { s.preview = true; });
    show_page(page);
}

void Session::install_rows() {
    using ui::WidgetEvent;
    add_row(ui::kActionClick, kCloseCommand, [this](const WidgetEvent&) { shell_.hide_window(); });
    add_row(ui::kActionClick, kMinimiseCommand,
            [this](const WidgetEvent&) { shell_.minimise_window(); });
    add_rows(ui::kActionClick, ui::kFirstPageCommand, kHomeCommand, [this](const WidgetEvent& e) {
        const int page = e.id - ui::kFirstPageCommand;
        if (page <= ui::kPageDpi || page == ui::kPageHome)
            show_page(page);
    });
    add_rows(ui::kActionClick, kFirstProfileCommand, kFirstProfileCommand + 4,
             [this](const WidgetEvent& e) {
                 select_profile(e.id - kFirstProfileCommand, e.first != nullptr);
             });
    add_rows(ui::kActionEdited, kFirstProfileCommand, kFirstProfileCommand + 4,
             [this](const WidgetEvent& e) {
                 if (e.first)
                     rename_profile(e.id - kFirstProfileCommand, e.first->text);
             });
    add_row(ui::kActionClick, ui::kDeviceRowCommand, [this](const WidgetEvent& e) {
        if (e.first)
            choose_row(*e.first);
    });
    add_rows(ui::kActionClick, kFirstButtonLabel, kFirstButtonLabel + 10,
             [this](const WidgetEvent& e) { select_button(e.id - kFirstButtonLabel); });
    // A click on a function-list row assigns it to button 0 while that label is checked.
    add_row(ui::kActionClick, kFunctionListCommand, [this](const WidgetEvent& e) {
        const ui::Widget* label = board_.find_widget("zz_button 0");
        if (!e.first || !label || !label->checked || !e.first->has_row(e.first->selected_row))
            return;
        const ui::ListItem& row = e.first->rows[static_cast<std::size_t>(e.first->selected_row)];
        if (row.is_header())
            return;
        assign(0, static_cast<int>(static_cast<std::int32_t>(row.value)), row.text, false);
    });
    // A function-list row dropped on a button label.
    add_row(ui::kActionDrop, kFunctionListCommand, [this](const WidgetEvent& e) {
        const ui::Widget* target = e.second;
        if (target->kind != ui::kCallout || target->id < kFirstButtonLabel ||
            target->id >= kFirstButtonLabel + 20 || !e.first->has_row(e.first->selected_row))
            return;
        const ui::ListItem& row = e.first->rows[static_cast<std::size_t>(e.first->selected_row)];
        if (row.is_header())
            return;
        const int button = std::clamp(target->id - kFirstButtonLabel, 0, 10);
        assign(button, static_cast<int>(static_cast<std::int32_t>(row.value)), row.text, true);
    });
    // DPI page.
    add_row(ui::kActionClick, 20,
            [this](const WidgetEvent& e) { dpi_axis_changed(0, e.first ? e.first->value : 0); });
    add_row(ui::kActionClick, 22,
            [this](const WidgetEvent& e) { dpi_axis_changed(0, e.first ? e.first->value : 0); });
    add_row(ui::kActionClick, 21,
            [this](const WidgetEvent& e) { dpi_axis_changed(1, e.first ? e.first->value : 0); });
    add_row(ui::kActionClick, 23,
            [this](const WidgetEvent& e) { dpi_axis_changed(1, e.first ? e.first->value : 0); });
    add_row(ui::kActionClick, 24, [this](const WidgetEvent& e) {
        if (e.first)
            rate_changed(e.first->value);
    });
    add_row(ui::kActionClick, 25, [this](const WidgetEvent& e) {
        if (e.first)
            wheel_changed(e.first->value);
    });
    add_rows(ui::kActionClick, 30, 33,
             [this](const WidgetEvent& e) { dpi_level_clicked(e.id - 30); });
    add_row(ui::kActionClick, 40, [this](const WidgetEvent&) { toggle_axes_independent(); });
    add_row(ui::kActionClick, 42, [this](const WidgetEvent&) { toggle_angle_snap(); });
    install_backup_rows(*this, default_safety_copy_directory());
}

}  // namespace zentrik::settings
