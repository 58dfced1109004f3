#include "core/macro_page.h"

#include "core/button_functions.h"
#include "core/button_page.h"
#include "core/macro_users.h"
#include "core/mouse_job_lock.h"
#include "core/outside_changes.h"
#include "lang/string_tables.h"
#include "lang/text_format.h"
#include "macro/macro_editor.h"
#include "macro/macro_lists.h"
#include "macro/macro_transfer.h"

namespace zentrik::core {
namespace {

constexpr int kMemoryListId = 90;
constexpr int kEditorId = 91;
constexpr int kLibraryId = 92;
constexpr int kWaitTool = 200;  // the first command icon
constexpr int kLastCommandIcon = 205;
constexpr int kRecordTool = 210;
constexpr int kDeleteTool = 215;
constexpr int kResetTool = 212;
constexpr int kExportTool = 213;
constexpr int kImportTool = 214;
constexpr int kLibraryButton = 95;
constexpr char kMsgChangedElsewhere[] =
    "another program changed this macro meanwhile; nothing was done";
// The editor's tools: the command icons, record, new, save and load.
bool is_editor_tool(int id) {
    return (id >= kWaitTool && id <= kLastCommandIcon) || id == kRecordTool ||
           (id >= kResetTool && id <= kImportTool);
}

bool is_editor(const ui::Widget* w) {
    return w && w->kind == ui::kList && w->edit_mode == 1;
}

}  // namespace

// The job's progress box, fed by the macro memory.
class MacroPage::Progress final : public macro::MacroProgress {
  public:
    explicit Progress(JobProgress& p) : p_(p) {}
    void begin(const std::string& message) override { p_.begin(message); }
    void update(double fraction) override { p_.set_fraction(fraction); }
    void end() override { p_.end(); }

  private:
    JobProgress& p_;
};

MacroPage::MacroPage(Session& session, macro::MacroMemory::SafetyCopy safety_copy)
    : session_(session),
      safety_copy_(std::move(safety_copy)),
      progress_(std::make_unique<Progress>(session.progress())) {
    session_.refresh_memory_info = [this] {
        const int limit =
            session_.model().with([](const SettingsState& s) { return int(s.macro_limit); });
        memory().load_directory(limit);
        publish();
        session_.post([this] { macro::show_memory_line(session_.board(), directory()); });
    };
    session_.refresh_macro_lists = [this] {
        publish();
        session_.post([this] { show_lists(); });
    };
    session_.macro_name_at = [this](std::uint16_t start) -> std::optional<std::string> {
        std::lock_guard lock(shown_mutex_);
        for (const auto& s : shown_.slots) {
            if (s.used() && s.start == start)
                return s.name;
        }
        return std::nullopt;
    };
    session_.macro_function_rows = [this] {
        std::lock_guard lock(shown_mutex_);
        auto rows = macro::user_macro_rows(shown_);
        rows.erase(rows.begin());  // the function list brings its own header
        return rows;
    };
    session_.assignments_changed = [this] { show_profile_markers(); };
    install_rows();
}

MacroPage::~MacroPage() {
    session_.refresh_memory_info = nullptr;
    session_.refresh_macro_lists = nullptr;
    session_.macro_name_at = nullptr;
    session_.macro_function_rows = nullptr;
    session_.assignments_changed = nullptr;
}

macro::MacroMemory& MacroPage::memory() {
    const std::string path = session_.selected_path();
    if (!memory_ || memory_->path() != path) {
        memory_ =
            std::make_unique<macro::MacroMemory>(session_.lib(), path, session_.model().buttons);
        memory_->set_progress(progress_.get());
        memory_->set_device_button([](int b) { return button_info(b).device_index; });
    }
    return *memory_;
}

void MacroPage::publish() {
    macro::MacroDirectory dir = memory().directory();
    dir.set_profile_markers(session_.model().buttons);
    std::lock_guard lock(shown_mutex_);
    shown_ = std::move(dir);
    const int written = memory().take_written_start();
    if (written != macro::kNoAddress)
        reselect_ = written;
}

macro::MacroDirectory MacroPage::directory() const {
    std::lock_guard lock(shown_mutex_);
    return shown_;
}

void MacroPage::show_lists() {
    session_.buttons().rebuild_function_list();
    macro::MacroDirectory dir = directory();
    ui::WidgetBoard& board = session_.board();
    // The rows stay while a macro's name is edited in place: the edit belongs to its row.
    if (!macro_name_being_edited(dir)) {
        board.set_rows(macro::kMemoryList, macro::memory_list_rows(dir));
        if (reselect_ != macro::kNoAddress)
            board.select_row_by_value(macro::kMemoryList, static_cast<std::uint32_t>(reselect_),
                                      false);
        reselect_ = macro::kNoAddress;
    }
    macro::show_memory_line(board, dir);
    session_.buttons().reload_assignments();  // labels of buttons that were reset or re-pointed
}

bool MacroPage::macro_name_being_edited(const macro::MacroDirectory& dir) {
    ui::WidgetBoard& board = session_.board();
    const auto lock = board.lock();
    const ui::Widget* list = board.pointer.edit_target;
    if (!list || list != board.find_widget(macro::kMemoryList) ||
        !list->has_row(board.pointer.edit_row))
        return false;
    const ui::ListItem& row = list->rows[static_cast<std::size_t>(board.pointer.edit_row)];
    if (row.tag < macro::kSlotCount && dir.slots[row.tag].name != row.text)
        session_.contested_edits().mark("macro name " + std::to_string(row.tag));
    return true;
}

void MacroPage::show_profile_markers() {
    macro::MacroDirectory dir;
    {
        std::lock_guard lock(shown_mutex_);
        shown_.set_profile_markers(session_.model().buttons);
        dir = shown_;
    }
    macro::show_profile_markers(session_.board(), dir);
}

void MacroPage::after_job() {
    publish();
    session_.post([this] { show_lists(); });
}

void MacroPage::install_paint_hooks(ui::ListPaintHooks& hooks) {
    hooks.step_text = macro::step_text;
    hooks.macro_size = [this](std::uint32_t slot) {
        std::lock_guard lock(shown_mutex_);
        if (slot >= macro::kSlotCount || !shown_.slots[slot].used())
            return -1;
        return shown_.slots[slot].size();
    };
}

void MacroPage::set_library(macro::MacroLibrary library) {
    library_ = std::move(library);
    session_.board().set_tree_rows(macro::kLibraryList, macro::library_rows(library_));
}

void MacroPage::set_library_view(ui::LibraryView view) {
    library_view_ = view;
    ui::show_library_view(session_.board(), view);
}

int MacroPage::drop_slot(const ui::Widget* target) const {
    if (!target || target->id != kMemoryListId || !target->has_row(target->drop_row))
        return -1;
    return static_cast<int>(target->rows[static_cast<std::size_t>(target->drop_row)].tag);
}

void MacroPage::ask_remove(int slot) {
    const auto dir = directory();
    if (slot < 0 || slot >= macro::kSlotCount || !dir.slots[slot].used())
        return;
    const auto& s = lang::strings();
    std::string question =
        lang::format_text(s.message(lang::kMsgRemoveQuestion), dir.slots[slot].name);
    // Its buttons lose it too: the question names them.
    const auto names =
        session_.model().with([](const SettingsState& s) { return s.profile_names; });
    if (const std::string users =
            buttons_using_macro(session_.model().buttons, names, dir.slots[slot].start);
        !users.empty()) {
        question += "\n" + lang::format_text(lang::own_text("zk_remove_used_by",
                                                            "These buttons use it and get their "
                                                            "own function back: %s"),
                                             users);
    }
    if (!session_.dialogs().ask_yes_no(s.message(lang::kMsgRemoveTitle), question))
        return;
    run_on_current(slot, dir.slots[slot], [this, slot] { return memory().remove_macro(slot); });
}

void MacroPage::run_locked(std::function<void()> work) {
    session_.jobs().run([this, work = std::move(work)] {
        const std::string path = session_.selected_path();
        auto lock = hold_mouse_for_job(session_.lib(), path, session_.progress(), nullptr);
        const bool ran = lock.held();
        if (ran)
            work();
        else
            session_.dialogs().message("", mouse_unavailable_message(lock));
        lock.release();
        after_job();
        // A job that ran may have changed the directory, even one that failed halfway: the
        // other windows read it again (a needless read costs little, a stale list a macro).
        if (ran)
            session_.tell_others_of(path, kChangedMacros);
    });
}

void MacroPage::run_on_current(int slot, const macro::MacroSlot& seen,
                               std::function<macro::MemoryResult()> change) {
    run_locked([this, slot, seen, change = std::move(change)] {
        // The directory as the mouse holds it now: another program may have changed the slot.
        if (!memory().load_directory()) {
            session_.dialogs().message("", "error");
            return;
        }
        if (!macro::same_macro(memory().directory().slots[slot], seen)) {
            session_.dialogs().message("", kMsgChangedElsewhere);
            return;
        }
        const auto r = change();
        if (!r.ok)
            session_.dialogs().message("", r.error);
    });
}

void MacroPage::save_into(int slot, const std::function<macro::SlotWrite()>& plan) {
    if (slot < 0 || slot >= macro::kSlotCount)
        return;
    // The questions on the window's thread, the write on a job.
    // The slot as the questions saw it: the job asks again only when another program changed
    // it meanwhile, and plans the range from the directory read inside the mouse's lock.
    const macro::MacroSlot seen = memory().directory().slots[slot];
    auto write = std::make_shared<macro::SlotWrite>(plan());
    if (write->plan.decision != macro::SaveDecision::kWrite &&
        write->plan.decision != macro::SaveDecision::kDefragment)
        return;
    run_locked([this, slot, write, seen] {
        memory().save_planned(slot, write->code, write->plan.decision, seen, session_.dialogs(),
                              safety_copy_, write->name);
    });
}

void MacroPage::install_rows() {
    using ui::WidgetEvent;
    Session& s = session_;
    ui::WidgetBoard& board = s.board();
    s.add_row(ui::kActionClick, kLibraryButton, [this](const WidgetEvent&) {
        set_library_view(ui::next_library_view(library_view_));
    });
    // A tool of the editor used while only the library shows brings the editor back.
    s.before_row = [this](const WidgetEvent& e) {
        if (e.action == ui::kActionClick && is_editor_tool(e.id) &&
            library_view_ == ui::LibraryView::kLibrary)
            set_library_view(ui::LibraryView::kEditor);
    };
    s.add_row(ui::kActionClick, kWaitTool,
              [&board](const WidgetEvent&) { macro::insert_wait(board); });
    s.add_row(ui::kActionClick, kResetTool,
              [&board](const WidgetEvent&) { macro::reset_editor(board); });
    s.add_row(ui::kActionClick, kExportTool, [this, &board](const WidgetEvent&) {
        macro::export_editor(board, session_.dialogs());
    });
    s.add_row(ui::kActionClick, kImportTool, [this, &board](const WidgetEvent&) {
        macro::import_into_editor(board, session_.dialogs());
    });
    // Delete on the mouse's list, or one of its rows dropped on the delete icon.
    s.add_row(ui::kActionDeleteRequested, kMemoryListId, [this](const WidgetEvent& e) {
        if (e.first && e.first->has_row(e.first->selected_row))
            ask_remove(static_cast<int>(
                e.first->rows[static_cast<std::size_t>(e.first->selected_row)].tag));
    });
    s.add_row(ui::kActionDrop, kMemoryListId, [this](const WidgetEvent& e) {
        if (!e.first || !e.first->has_row(e.first->selected_row))
            return;
        const ui::ListItem& row = e.first->rows[static_cast<std::size_t>(e.first->selected_row)];
        const int slot = static_cast<int>(row.tag);
        if (e.second && e.second->id == kDeleteTool) {
            if (row.value != macro::kNoAddress)
                ask_remove(slot);
        } else if (is_editor(e.second) && row.value != macro::kNoAddress) {
            session_.jobs().run([this, slot] {
                auto list = memory().load_macro(slot);
                if (!list) {
                    session_.dialogs().message("", "error");
                    return;
                }
                session_.post([this, l = std::move(*list)]() mutable {
                    macro::set_editor_instructions(session_.board(), std::move(l));
                });
            });
        }
    });
    // The editor: its selected step onto the delete icon, or the whole macro onto a slot.
    s.add_row(ui::kActionDrop, kEditorId, [this, &board](const WidgetEvent& e) {
        if (e.second && e.second->id == kDeleteTool) {
            macro::delete_selected_step(board);
            return;
        }
        const int slot = drop_slot(e.second);
        save_into(slot, [this, &board, slot] {
            return macro::plan_editor_save(memory(), board, slot, session_.dialogs());
        });
    });
    // A library entry onto the editor or onto a slot.
    s.add_row(ui::kActionDrop, kLibraryId, [this, &board](const WidgetEvent& e) {
        if (!e.first || !e.first->has_row(e.first->selected_row))
            return;
        const ui::ListItem& row = e.first->rows[static_cast<std::size_t>(e.first->selected_row)];
        if (row.is_header())
            return;
        const auto* path = library_.library_path(static_cast<int>(row.value));
        if (!path)
            return;
        if (is_editor(e.second)) {
            macro::import_file_into_editor(board, session_.dialogs(), *path);
            return;
        }
        const int slot = drop_slot(e.second);
        macro::LibraryRow entry;
        entry.text = row.text;  // the title the macro is stored under
        entry.path_index = static_cast<int>(row.value);
        entry.size = row.tag;
        save_into(slot, [this, entry, slot] {
            return macro::plan_library_save(memory(), library_, entry, slot, session_.dialogs());
        });
    });
    // The wait tool dropped on the editor: the drop row first becomes the selected row.
    s.add_row(ui::kActionDrop, kWaitTool, [&board](const WidgetEvent& e) {
        if (!is_editor(e.second))
            return;
        macro::select_editor_row(board, e.second->drop_row);
        macro::insert_wait(board);
    });
    // A rename given up: the rows kept for it follow what changed meanwhile.
    s.add_row(ui::kActionEditCancelled, kMemoryListId, [this, &board](const WidgetEvent& e) {
        if (e.first && e.first->has_row(board.pointer.edit_row))
            session_.contested_edits().take(
                "macro name " +
                std::to_string(
                    e.first->rows[static_cast<std::size_t>(board.pointer.edit_row)].tag));
        show_lists();
    });
    // A slot renamed in place.
    s.add_row(ui::kActionEdited, kMemoryListId, [this](const WidgetEvent& e) {
        if (!e.first || !e.first->has_row(e.first->selected_row))
            return;
        const ui::ListItem& row = e.first->rows[static_cast<std::size_t>(e.first->selected_row)];
        if (row.value == macro::kNoAddress)
            return;
        const int slot = static_cast<int>(row.tag);
        const std::string name = row.text;
        const auto dir = directory();
        if (slot < 0 || slot >= macro::kSlotCount)
            return;
        // The row was made before another program moved or replaced the slot's macro.
        if (static_cast<std::uint32_t>(dir.slots[slot].start) != row.value) {
            session_.contested_edits().take("macro name " + std::to_string(slot));
            session_.dialogs().message("", kMsgChangedElsewhere);
            show_lists();
            return;
        }
        run_on_current(slot, dir.slots[slot], [this, slot, name] {
            auto r = memory().rename_macro(slot, name);
            if (session_.contested_edits().take("macro name " + std::to_string(slot)) && r.ok)
                session_.dialogs().message("", contested_note());
            return r;
        });
    });
}

}  // namespace zentrik::core
