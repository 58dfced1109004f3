#pragma once
// Message boxes and file dialogs, as the logic asks for them. The GTK shell shows them modal
// over the window (from a worker thread too: the worker waits while the window thread asks);
// tests script the answers.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace zentrik::ui {

struct FileDialogRequest {
    std::string filter_name;        // "Mouse Backup File (*.mbf)"
    std::string pattern;            // "*.mbf"
    std::string default_extension;  // "mbf": added when the chosen name has none
    std::string initial_name;       // save dialogs: the proposed file name
    std::string title;              // the dialog's title ("" for the toolkit's own)
};

class Dialogs {
  public:
    virtual ~Dialogs() = default;
    // A message with an OK button.
    virtual void message(const std::string& caption, const std::string& text) = 0;
    // A Yes/No question; true for Yes.
    virtual bool ask_yes_no(const std::string& caption, const std::string& text) = 0;
    // The file chosen, or nullopt when the user cancelled.
    virtual std::optional<std::filesystem::path> open_file(const FileDialogRequest& request) = 0;
    // Asks before replacing an existing file; nullopt when the user cancelled.
    virtual std::optional<std::filesystem::path> save_file(const FileDialogRequest& request) = 0;
    // One of `choices` (its index), or nullopt when the user cancelled. Where the shell offers
    // no such choice, nothing is chosen.
    virtual std::optional<int> choose(const std::string& caption, const std::string& text,
                                      const std::vector<std::string>& choices) {
        (void)caption;
        (void)text;
        (void)choices;
        return std::nullopt;
    }
};

}  // namespace zentrik::ui
