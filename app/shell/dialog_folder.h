#pragma once
// The folder the window's file dialogs open in: the folder of the file last chosen in one of
// them, kept in the user's state folder so that it outlives the program, while it is still a
// folder; else the home folder. Headless, so it is tested without a display.
#include <filesystem>

namespace zentrik::app {

class DialogFolder {
  public:
    // `memory`: the file that keeps the folder; `home`: where a dialog opens without one.
    DialogFolder(std::filesystem::path memory, std::filesystem::path home);
    // The user's: "dialog-folder" in $XDG_STATE_HOME/zentrik, and $HOME.
    static DialogFolder for_user();

    std::filesystem::path start() const;
    // Keeps the folder of `chosen`. A folder that cannot be kept (a read-only state folder)
    // only means the next dialog opens at home.
    void remember(const std::filesystem::path& chosen) const;

  private:
    std::filesystem::path memory_;
    std::filesystem::path home_;
};

}  // namespace zentrik::app
