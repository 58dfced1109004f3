// Interim texts until the language tables are available to this module.
#include "ui/ui_texts.h"

#include <array>

namespace zentrik::ui::texts {

namespace {
template <std::size_t N>
std::string at(const std::array<const char*, N>& table, int index) {
    return index >= 0 && index < int(N) ? table[index] : "";
}
}  // namespace

std::string window_caption() {
    return "Zentrik Mouse  Rev 1.0";
}

std::string tab(int index) {
    static constexpr std::array<const char*, 5> t{"Device list", "Control panel", "Button function",
                                                  "Macro management", "DPI & tool"};
    return at(t, index);
}

std::string caption(int index) {
    static constexpr std::array<const char*, 11> t{"Function list", "Macro (Mouse Memory)",
                                                   "Macro Editor",  "Built-in",
                                                   "User Macro",    "Type",
                                                   "Unknown",       "Empty",
                                                   "Mode",          "End",
                                                   "Macro Library"};
    return at(t, index);
}

std::string menu(int index) {
    static constexpr std::array<const char*, 6> t{"Restore", "Exit",  "Backup",
                                                  "Restore", "Reset", "macro library"};
    return at(t, index);
}

std::string message(int index) {
    switch (index) {
        case 0:
            return "Can not detect mouse !!r\nPlease check the connection.";
        case 1:
            return "Please select a device:";
        case 2:
            return "Remaining: %d B , Total: %d B";
        case 10:
            return "Record the duration or invervals";
        case 11:
            return "setting X axle and Y axle resolution independently";
        case 12:
            return "Report rate:";
        case 18:
            return "Enable angle snapping";
        case 19:
            return "Scroll Acceleration:";
        default:
            return "";
    }
}

std::string tooltip(int index) {
    static constexpr std::array<const char*, 12> t{
        "Drag-drop it into editor area to insert 'wait command'",
        "Drag-drop it into editor area to insert 'keydown command'",
        "Drag-drop it into editor area to insert 'keyup command'",
        "Drag-drop it into editor area to insert 'mouse button down command'",
        "Drag-drop it into editor area to insert 'mouse button up command'",
        "Drag-drop it into editor area to insert 'wheel scoll command'",
        "Reset macro edit",
        "Record keyboard or mouse action",
        "Stop record",
        "Export macro to a file",
        "Import macro from file",
        "Drag-drop macro or command here to discard"};
    return at(t, index);
}

std::string button_name(int index) {
    static constexpr std::array<const char*, 11> t{
        "Left click",  "Right click", "Wheel click", "Forward",   "Backward",   "No function",
        "No function", "Tilt left",   "Tilt right",  "Scroll up", "Scroll down"};
    return at(t, index);
}

std::string wired_mode_note() {
    return "";
}

}  // namespace zentrik::ui::texts
