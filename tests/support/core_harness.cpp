#include "support/core_harness.h"

#include <stdexcept>

namespace zentrik::testing {

sim::SimMouseConfig family_mouse(int model, int sensor, int firmware, int dpi_step, int memory) {
    return sim::SimMouseConfig::family_mouse(model, sensor, firmware, dpi_step, memory);
}

CoreHarness::CoreHarness(std::vector<sim::SimMouseConfig> mice)
    : backend(std::make_shared<sim::SimBackend>()), timing(std::make_shared<InstantTiming>()) {
    for (auto& config : mice)
        backend->add(std::make_shared<sim::SimMouse>(std::move(config)));
    lib = std::make_unique<device::zklib>(backend, timing);
    ui::WindowShell build_shell;
    ui::build_main_window(board, &owner, build_shell);
    session = std::make_unique<core::Session>(
        core::SessionParts{board, *lib, timers, dialogs, workers, shell, {}});
}

CoreHarness::~CoreHarness() {
    session.reset();
}

void CoreHarness::start_and_load() {
    session->start();
    advance(1);    // poll
    advance(100);  // listing, which chooses the first mouse and loads it
}

ui::Widget& CoreHarness::widget(const std::string& name) {
    ui::Widget* w = board.find_widget(name);
    if (!w)
        throw std::out_of_range("no widget " + name);
    return *w;
}

int CoreHarness::row_with_text(const std::string& list, const std::string& text) {
    const ui::Widget& w = widget(list);
    for (int i = 0; i < w.row_count(); ++i)
        if (w.rows[static_cast<std::size_t>(i)].text == text)
            return i;
    return -1;
}

void CoreHarness::click(const std::string& name) {
    ui::Widget& w = widget(name);
    session->handle_widget_event({ui::kActionClick, w.id, &w, nullptr});
}

void CoreHarness::set_value_and_click(const std::string& name, int value) {
    ui::Widget& w = widget(name);
    w.value = value;
    session->handle_widget_event({ui::kActionClick, w.id, &w, nullptr});
}

void CoreHarness::drop(const std::string& source, int source_row, const std::string& target) {
    ui::Widget& s = widget(source);
    s.selected_row = source_row;
    ui::Widget& t = widget(target);
    session->handle_widget_event({ui::kActionDrop, s.id, &s, &t});
}

void CoreHarness::edit_text(const std::string& name, const std::string& text) {
    ui::Widget& w = widget(name);
    w.text = text;
    session->handle_widget_event({ui::kActionEdited, w.id, &w, nullptr});
}

int CoreHarness::page() const {
    return board.page();
}

int CoreHarness::count_requests(std::uint8_t cls, std::uint8_t code, std::size_t i) {
    int n = 0;
    for (const auto& r : requests(i))
        if (r[1] == cls && r[2] == code)
            ++n;
    return n;
}

void CoreHarness::clear_requests() {
    for (std::size_t i = 0; i < backend->size(); ++i)
        backend->mouse(i)->clear_requests();
}

}  // namespace zentrik::testing
