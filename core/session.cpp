// The core's wiring: timers, the command rows and their dispatch, the pages, page switches.
#include "core/session.h"

#include <algorithm>

#include "core/backup_rows.h"
#include "core/button_page.h"
#include "core/dpi_page.h"
#include "core/mouse_write_queue.h"
#include "core/outside_changes.h"
#include "core/overlay_progress.h"
#include "core/profile_file_rows.h"
#include "core/safety_copies.h"
#include "device/commands.h"
#include "ui/layout.h"

namespace zentrik::core {
namespace {

constexpr const char* kTabs[] = {"_tab_bt", "_tab_macro", "_tab_dpi"};
constexpr int kCloseCommand = 1;
constexpr int kMinimiseCommand = 2;
constexpr int kHomeCommand = 9;
constexpr int kFirstProfileCommand = 10;

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
      job_progress_(std::make_unique<OverlayProgress>(progress_, parts.board)),
      contested_(std::make_unique<ContestedEdits>()),
      writes_(std::make_unique<MouseWriteQueue>(parts.lib, parts.workers, parts.dialogs)) {
    install_timers();
    install_rows();
    buttons_ = std::make_unique<ButtonPage>(*this);
    dpi_ = std::make_unique<DpiPage>(*this);
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

void Session::write_to_mouse(const std::string& path, MouseWrite write, unsigned kinds, int index) {
    if (!path.empty())
        writes_->submit(path, std::move(write),
                        [this, path, kinds, index] { tell_others_of(path, kinds, index); });
}

void Session::arm_from_any_thread(int id, int ms) {
    post([this, id, ms] { timers_.arm(id, ms); });
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
            buttons_->reload_assignments();
    });
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
            buttons_->hover_changed(event.first, false);
            buttons_->hover_changed(event.second, true);
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
        if (page <= ui::kPageDpi || page == ui::kPageHome || page == ui::kPageDevices)
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
    // A name edit given up: a change another program made meanwhile is simply the name now.
    add_rows(ui::kActionEditCancelled, kFirstProfileCommand, kFirstProfileCommand + 4,
             [this](const WidgetEvent& e) {
                 contested_->take("profile name " + std::to_string(e.id - kFirstProfileCommand));
             });
    add_row(ui::kActionClick, ui::kDeviceRowCommand, [this](const WidgetEvent& e) {
        if (e.first)
            choose_row(*e.first);
    });
    install_backup_rows(*this, default_safety_copy_directory());
    install_profile_file_rows(*this);
}

}  // namespace zentrik::core
