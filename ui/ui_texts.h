#pragma once
// The language texts the window layout shows, read through one place.
#include <string>

namespace zentrik::ui::texts {

std::string window_caption();
std::string tab(int index);      // page tabs, "tab_str%d"
std::string caption(int index);  // panel captions, "caption_str%d"
std::string menu(int index);     // menu and tool texts, "memu_str%d"
std::string message(int index);  // messages, "msg_str%d"
std::string tooltip(int index);  // tool tooltips, "tooltip_str%d"
std::string button_name(int index);
std::string macro_text(int index);  // macro step templates, "macro_str%d"
// Appended to message 0 in the "device not found" box.
std::string wired_mode_note();

}  // namespace zentrik::ui::texts
