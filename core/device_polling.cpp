// Following the attached mice: the poll, the device list, arrivals and removals, and the
// choice of a mouse.
#include <algorithm>
#include <cctype>

#include "core/session.h"
#include "core/start_progress.h"
#include "device/commands.h"
#include "device/mouse_models.h"
#include "ui/layout.h"

namespace zentrik::core {
namespace {

bool equal_ignoring_case(const std::string& a, const std::string& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
               return std::tolower(x) == std::tolower(y);
           });
}

}  // namespace

void Session::poll() {
    std::lock_guard lock(poll_lock_);
    if (start_progress_) {
        job_progress_->begin(kDiscoverPhase.label());
        job_progress_->set_fraction(kDiscoverPhase.from);
    }
    lib_.discover();
    const auto [selected, tag] = model_.with([](const SettingsState& s) {
        return std::pair{s.selected_path, s.link_tag};
    });
    bool found = false;
    const std::vector<device::_DEVICE_> devices = lib_.devices();
    announce_mice();
    for (const device::_DEVICE_& d : devices) {
        if (d.path != selected)
            continue;
        // Another program that selected the mouse meanwhile wrote its own tag.
        const auto mouse_tag = device::read_link_tag(lib_, d.path);
        found = mouse_tag && *mouse_tag == tag;
        break;
    }
    const int count = static_cast<int>(devices.size());
    if (count > 0)
        arm_from_any_thread(kTimerListing, 100);
    if (count == 0)
        end_start_progress();
    else if (start_progress_) {
        job_progress_->set_text(kIdentifyPhase.label());
        job_progress_->set_fraction(kIdentifyPhase.from);
    }
    const bool list_changed = model_.with([&](SettingsState& s) {
        if (count != s.previous_device_count)
            s.list_changed = true;
        s.previous_device_count = count;
        s.any_mouse_listed = count > 0;
        if (s.chosen_page == ui::kPageDevices)
            s.list_changed = false;
        return s.list_changed;
    });
    if (!found) {
        drop_selection();
    } else if (list_changed) {
        if (const ui::Widget* tool = board_.find_widget("z_tool0"))
            board_.invalidate_rect(tool->box());
    }
}

void Session::end_start_progress() {
    if (!start_progress_.exchange(false))
        return;
    job_progress_->end();
    shell_.start_finished();
}

void Session::announce_mice() {
    std::vector<std::string> paths;
    for (const device::_DEVICE_& d : lib_.devices())
        paths.push_back(d.path);
    shell_.mice_listed(paths);
}

void Session::drop_selection() {
    const bool had_selection = model_.with([](SettingsState& s) {
        const bool had = !s.selected_path.empty();
        s.selected_path.clear();
        return had;
    });
    model_.forget_loaded();
    show_page(ui::kPageDevices);
    if (had_selection)
        shell_.selected_mouse_changed({});
}

void Session::list_devices() {
    std::string first_row;
    std::string selected_row;
    int count = 0;
    {
        std::lock_guard lock(listing_lock_);
        for (int i = 0; i < 20; ++i)
            board_.remove_widget(ui::device_row_name(i));
        const std::string selected = selected_path();
        const std::vector<device::_DEVICE_> devices = lib_.devices();
        count = static_cast<int>(devices.size());
        for (int i = 0; i < count && i < ui::kMaxDeviceRows; ++i) {
            const std::string& path = devices[static_cast<std::size_t>(i)].path;
            // A mouse that does not answer is still listed, without an identity.
            const auto identity = device::identify(lib_, path);
            device::listing_request(lib_, path);
            device::_DEVICE_ d =
                lib_.find_device(path).value_or(devices[static_cast<std::size_t>(i)]);
            if (identity)
                d.memory_size = identity->memory_size;
            if (start_progress_)
                job_progress_->set_fraction(kIdentifyPhase.at((i + 1.0) / count));
            const device::MouseModel& model = device::mouse_model(d.model);
            const std::string name = ui::device_row_name(i);
            ui::add_device_row(board_, i,
                               device::device_row_text(
                                   d, identity ? std::optional(identity->number) : std::nullopt),
                               model.row_picture, model.tag, d.memory_size, path);
            if (i == 0)
                first_row = name;
            if (path == selected)
                selected_row = name;
        }
        if (!selected_row.empty())
            board_.select_in_group(board_.find_widget(selected_row));
        model_.with([&](SettingsState& s) { s.any_mouse_listed = count > 0; });
        // With two mice or more the home page leads back to this list.
        board_.set_visible(ui::kDeviceListButton, count > 1 ? 1 : 0);
        if (model_.with([](const SettingsState& s) { return s.chosen_page; }) == ui::kPageDevices)
            show_page(ui::kPageDevices);
    }
    const ui::Widget* row = board_.find_widget(first_row);
    if (count > 0 && selected_path().empty() && row) {
        const ui::Widget copy = *row;
        post([this, copy] { choose_row(copy); });
    } else {
        end_start_progress();  // nothing to load
    }
}

void Session::choose_row(const ui::Widget& row) {
    const std::string path = row.text_3;
    if (path.empty())
        return;
    if (path == selected_path()) {
        show_page(ui::kPageHome);
        return;
    }
    // The row is selected only by the job that loads it: while another job runs the click
    // is refused and the current mouse stays selected as it was.
    const bool started = jobs_.run(
        [this, path, size = row.data, tag = row.model_tag, record = lib_.find_device(path)] {
            model_.with([&](SettingsState& s) {
                s.selected_path = path;
                s.memory_size = size;
                s.model_tag = tag;
                if (record)
                    s.device = *record;
                s.device.memory_size = size;
            });
            reset_level_pictures();
            shell_.selected_mouse_changed(path);
            choose_mouse();
        });
    if (!started)
        end_start_progress();
}

void Session::on_device_change(const platform::DeviceChange& change) {
    const bool arrival = change.kind == platform::DeviceChange::Kind::kArrival;
    if (!arrival) {
        const std::string selected = selected_path();
        if (!selected.empty() && equal_ignoring_case(change.path, selected)) {
            model_.with([](SettingsState& s) { s.selected_path.clear(); });
            model_.forget_loaded();
            shell_.selected_mouse_changed({});
            show_page(ui::kPageDevices);
        }
        if (lib_.device_count() > 0 && lib_.remove_device(change.path)) {
            announce_mice();
            if (lib_.device_count() > 0) {
                timers_.stop(kTimerListing);
                timers_.arm(kTimerListing, 500);
            } else {
                timers_.stop(kTimerPoll);
                timers_.arm(kTimerPoll, 500);
            }
            if (const ui::Widget* tool = board_.find_widget("z_tool0")) {
                ui::Rect r = tool->box();
                r.right += 2;
                r.bottom += 2;
                board_.invalidate_rect(r);
            }
        }
    }
    arrival_bits_ |= change.interface_bits & platform::kAllInterfaceBits;
    if (arrival_bits_ == platform::kAllInterfaceBits) {
        arrival_bits_ = 0;
        if (arrival) {
            timers_.stop(kTimerPoll);
            timers_.arm(kTimerPoll, 1300);
        }
    }
}

}  // namespace zentrik::core
