#pragma once
// The macro page in the core: the mouse's macro memory of the selected mouse, the editor, the
// library list, and the command rows for every macro click and drop. It fills the session's
// macro hooks (memory line, macro list rows, macro names for button labels).
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

#include "core/session.h"
#include "macro/macro_library.h"
#include "macro/macro_memory.h"
#include "macro/macro_transfer.h"
#include "ui/library_view.h"

namespace zentrik::core {

class MacroPage {
  public:
    // `safety_copy` saves a copy of the selected mouse before a defragmentation; without one
    // (or when it returns nullopt) the defragmentation does not run and says why.
    MacroPage(Session& session, macro::MacroMemory::SafetyCopy safety_copy = {});
    ~MacroPage();
    MacroPage(const MacroPage&) = delete;
    MacroPage& operator=(const MacroPage&) = delete;

    // The painter's hooks: editor rows show the text of their instruction, slot rows their size.
    void install_paint_hooks(ui::ListPaintHooks& hooks);
    // Fills "list macro pc" from the catalogue.
    void set_library(macro::MacroLibrary library);
    // A copy of the directory as last read or changed.
    macro::MacroDirectory directory() const;
    ui::LibraryView library_view() const { return library_view_; }

  private:
    class Progress;
    void install_rows();
    // Worker side: the memory of the selected mouse (made anew when the mouse changed).
    macro::MacroMemory& memory();
    // Whether a name in the macro list is being edited; marks it contested when `dir` names
    // its slot otherwise.
    bool macro_name_being_edited(const macro::MacroDirectory& dir);
    void publish();               // copies the directory for the window's thread
    void show_lists();            // window thread: lists, markers, memory line, labels
    void show_profile_markers();  // window thread: after a button's assignment changed
    void after_job();             // worker: publish, then show on the window's thread
    int drop_slot(const ui::Widget* target) const;
    void ask_remove(int slot);
    void save_into(int slot, const std::function<macro::SlotWrite()>& plan);
    // Runs `work` as a job that holds the mouse's lock, then shows the lists again.
    void run_locked(std::function<void()> work);
    // A job that changes `slot` only while the mouse still holds the macro the user saw there.
    void run_on_current(int slot, const macro::MacroSlot& seen,
                        std::function<macro::MemoryResult()> change);
    void set_library_view(ui::LibraryView view);

    Session& session_;
    macro::MacroMemory::SafetyCopy safety_copy_;
    std::unique_ptr<Progress> progress_;
    std::unique_ptr<macro::MacroMemory> memory_;  // used by one job at a time
    mutable std::mutex shown_mutex_;
    macro::MacroDirectory shown_;
    int reselect_ = macro::kNoAddress;
    macro::MacroLibrary library_;
    ui::LibraryView library_view_ = ui::LibraryView::kEditor;  // window thread only
};

}  // namespace zentrik::core
