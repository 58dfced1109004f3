#pragma once
// The main window's layout: every widget with its page, place, images, colours and texts,
// the device rows of the device page, and the page switch.
#include <string>

#include "ui/geometry.h"
#include "ui/widget_board.h"

namespace zentrik::ui {

// Pages of the window.
enum Page : int {
    kPageButtons = 0,
    kPageMacros = 1,
    kPageDpi = 2,
    kPageDevices = 3,
    kPageEmpty = 4,
    kPageHome = 5,
    kPageNoDevice = 99,
};

// Command ids of the page tabs and home buttons: page = id - 4.
inline constexpr int kFirstPageCommand = 4;
// Command id of a device row (choose that mouse).
inline constexpr int kDeviceRowCommand = 50;
inline constexpr int kDeviceRowGroup = 7;
inline constexpr int kMaxDeviceRows = 10;
// The home page's way back to the device list (its command is the device page's).
inline constexpr const char* kDeviceListButton = "bt_devices";
// Image ids the window itself uses.
inline constexpr int kAppIcon = 128;
inline constexpr int kDragCursor = 202;
inline constexpr int kActiveCursor = 203;
inline constexpr int kTrayCallbackMessage = 0x464;
// The twenty shared-image slots (step icons), in slot order; -1 ends the list.
inline constexpr int kSharedImageIds[] = {206, 208, 209, 204, 205, 211,
                                          210, 207, 212, 213, 215, -1};

// What the window shell does during the build; the GTK shell fills it in, the headless
// build leaves it empty.
class WindowShell {
  public:
    virtual ~WindowShell() = default;
    virtual void register_device_notifications() {}
    // Loads the language texts (before any widget takes its text); without it the
    // English defaults show.
    virtual void load_language() {}
    virtual void load_cursor(int /*resource_id*/) {}
    virtual void set_title(const std::string& /*title*/) {}
    // Loads the macro library into its list (done by the macro module).
    virtual void load_macro_library(WidgetBoard& /*board*/) {}
    virtual void set_window_size(int /*width*/, int /*height*/) {}
    // The window's shape: the background's non-zero pixels.
    virtual void set_window_shape(const Region& /*shape*/) {}
    virtual void add_tray_icon(int /*icon_id*/, int /*callback_message*/) {}
    virtual void register_raw_input() {}
};

// Fills the board's shared-image slots from an id list ending at -1 (at most twenty).
void load_shared_images(WidgetBoard& board, const int* ids);

// Builds everything the window shows, once, when the window initialises. Leaves the board
// on the device page and marked ready to paint.
void build_main_window(WidgetBoard& board, BoardOwner* owner, WindowShell& shell);

// What decides the page to show.
struct PageChoice {
    bool mouse_selected = false;
    int chosen_page = kPageDevices;  // the page last chosen by the user
    bool any_mouse_listed = false;
};
// Shows the chosen page when a mouse is selected; otherwise the device page (chosen page
// becomes 3) when mice are listed, else the no-device page. Invalidates the whole window.
// Returns the page shown.
int switch_page(WidgetBoard& board, PageChoice& choice);

// One row of the device page for listed mouse `index` (0-9): text, model picture, model
// tag, memory size (in `data`) and the device path (in `text_3`).
Widget* add_device_row(WidgetBoard& board, int index, const std::string& text, int picture_id,
                       const std::string& model_tag, int memory_size, const std::string& path);
std::string device_row_name(int index);

}  // namespace zentrik::ui
