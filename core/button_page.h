#pragma once
// The button page in the core: reading the button table of the selected mouse, the eleven
// labels with the left-click rule, selecting a button, assigning functions, the function list,
// and the command rows for the label clicks and the function list's clicks and drops.
#include <functional>
#include <string>

namespace zentrik::ui {
struct Widget;
}

namespace zentrik::core {

class Session;

class ButtonPage {
  public:
    explicit ButtonPage(Session& session);
    ButtonPage(const ButtonPage&) = delete;
    ButtonPage& operator=(const ButtonPage&) = delete;

    // Reads the profiles not yet loaded, rewrites the labels and re-selects a button.
    // `read_progress` hears the share (0-1) of those reads done after each button.
    void reload_assignments(const std::function<void(double)>& read_progress = {});
    void select_button(int ui_index);
    // Assigns function or macro `code` to a button of the current profile; false (nothing
    // written) when it would leave no button acting as left click.
    bool assign(int ui_index, int code, const std::string& name, bool by_drag);
    void rebuild_function_list();
    // The hover pictures of a button label the pointer entered or left.
    void hover_changed(const ui::Widget* label, bool entered);

  private:
    void install_rows();
    void write_labels();

    Session& session_;
};

}  // namespace zentrik::core
