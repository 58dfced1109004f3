#pragma once
// Message boxes and file choosers, modal over the window. A worker thread that asks waits
// while the window's thread shows the dialog. File choosers carry a title and open in the
// folder last used (dialog_folder.h); a save asks before replacing the file it really writes. Once
// the program is ending, questions are answered No and file choices cancelled at once, so no worker
// waits for a dialog that never comes.
#include <atomic>

#include <gtk/gtk.h>

#include "app/shell/dialog_folder.h"
#include "ui/dialogs.h"

namespace zentrik::app {

class GtkDialogs final : public ui::Dialogs {
  public:
    explicit GtkDialogs(GtkWindow* parent) : parent_(parent) {}

    void message(const std::string& caption, const std::string& text) override;
    bool ask_yes_no(const std::string& caption, const std::string& text) override;
    std::optional<std::filesystem::path> open_file(const ui::FileDialogRequest& request) override;
    std::optional<std::filesystem::path> save_file(const ui::FileDialogRequest& request) override;
    std::optional<int> choose(const std::string& caption, const std::string& text,
                              const std::vector<std::string>& choices) override;

    void shut_down() { ending_ = true; }

  private:
    GtkWindow* parent_;
    const DialogFolder folders_ = DialogFolder::for_user();
    std::atomic<bool> ending_{false};
};

}  // namespace zentrik::app
