#include "app/shell/page_commands.h"

namespace zentrik::app {

namespace {
// The side tabs of pages 0, 1 and 2.
constexpr const char* kTabs[] = {"_tab_bt", "_tab_macro", "_tab_dpi"};
}  // namespace

void PageCommands::handle_widget_event(const ui::WidgetEvent& event) {
    if (event.action != ui::kActionClick)
        return;
    switch (event.id) {
        case kCloseCommand:
            window_.hide_window();
            break;
        case kMinimiseCommand:
            window_.minimise_window();
            break;
        default:
            if (event.id >= ui::kFirstPageCommand && event.id <= kHomeCommand)
                choose_page(event.id - ui::kFirstPageCommand);
            break;
    }
}

void PageCommands::choose_page(int page) {
    if (page >= 0 && page <= ui::kPageDpi)
        board_.select_in_group(board_.find_widget(kTabs[page]));
    choice_.chosen_page = page;
    ui::switch_page(board_, choice_);
}

}  // namespace zentrik::app
