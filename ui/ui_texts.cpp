// The layout's texts come from the program-wide language tables.
#include "ui/ui_texts.h"

#include "lang/string_tables.h"

namespace zentrik::ui::texts {

namespace {
template <typename Table>
std::string at(const Table& table, int index) {
    return index >= 0 && index < int(table.size()) ? table[index] : std::string();
}
}  // namespace

std::string window_caption() {
    return lang::strings().caption;
}
std::string tab(int index) {
    return at(lang::strings().tab_texts, index);
}
std::string caption(int index) {
    return at(lang::strings().panel_captions, index);
}
std::string menu(int index) {
    return at(lang::strings().menu_texts, index);
}
std::string message(int index) {
    return lang::strings().message(index);
}
std::string tooltip(int index) {
    return at(lang::strings().tooltips, index);
}
std::string button_name(int index) {
    return lang::strings().button_name(index);
}
std::string macro_text(int index) {
    return lang::strings().macro_text(index);
}
std::string wired_mode_note() {
    return lang::strings().wired_mode_note;
}

}  // namespace zentrik::ui::texts
