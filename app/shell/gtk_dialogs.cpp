#include "app/shell/gtk_dialogs.h"

#include <future>

#include "app/shell/main_loop_post.h"
#include "lang/string_tables.h"
#include "lang/text_format.h"

namespace zentrik::app {
namespace {

// Runs `ask` on the window's thread and waits for its answer.
template <class T, class F>
T on_main_loop(F ask) {
    if (g_main_context_is_owner(g_main_context_default()))
        return ask();
    std::promise<T> answer;
    std::future<T> result = answer.get_future();
    post_to_main_loop([&answer, &ask] { answer.set_value(ask()); });
    return result.get();
}

gint run_message(GtkWindow* parent, GtkMessageType type, GtkButtonsType buttons,
                 const std::string& caption, const std::string& text) {
    GtkWidget* dialog =
        gtk_message_dialog_new(parent, GTK_DIALOG_MODAL, type, buttons, "%s", text.c_str());
    gtk_window_set_title(GTK_WINDOW(dialog), caption.c_str());
    const gint response = gtk_dialog_run(GTK_DIALOG(dialog));
    gtk_widget_destroy(dialog);
    return response;
}

std::string dialog_title(bool save, const ui::FileDialogRequest& r) {
    if (!r.title.empty())
        return r.title;
    return save ? lang::own_text("zk_save_file_title", "Save File")
                : lang::own_text("zk_open_file_title", "Open File");
}

// The file a save writes: the chosen name with the default extension added when it has none.
std::filesystem::path file_written(std::filesystem::path chosen, const ui::FileDialogRequest& r) {
    if (chosen.extension().empty() && !r.default_extension.empty())
        chosen.replace_extension(r.default_extension);
    return chosen;
}

bool may_replace(GtkWindow* parent, const std::filesystem::path& file) {
    std::error_code ec;
    if (!std::filesystem::exists(std::filesystem::symlink_status(file, ec)))
        return true;
    const std::string question =
        lang::format_text(lang::own_text("zk_replace_question",
                                         "A file named \u201c%s\u201d already exists. "
                                         "Do you want to replace it?"),
                          file.filename().string());
    return run_message(parent, GTK_MESSAGE_QUESTION, GTK_BUTTONS_YES_NO,
                       lang::own_text("zk_replace_title", "Replace File"),
                       question) == GTK_RESPONSE_YES;
}

// The file chosen, or nullopt when cancelled. A save asks itself before replacing a file, for
// the name with its extension added (GTK's own question would be about the name as typed); a
// No goes back to the chooser.
std::optional<std::filesystem::path> run_chooser(GtkWindow* parent, bool save,
                                                 const ui::FileDialogRequest& r,
                                                 const DialogFolder& folders) {
    std::filesystem::path folder = folders.start();
    std::string name = r.initial_name;
    for (;;) {
        const std::string title = dialog_title(save, r);
        GtkFileChooserNative* native = gtk_file_chooser_native_new(
            title.c_str(), parent,
            save ? GTK_FILE_CHOOSER_ACTION_SAVE : GTK_FILE_CHOOSER_ACTION_OPEN, nullptr, nullptr);
        GtkFileChooser* chooser = GTK_FILE_CHOOSER(native);
        if (!r.pattern.empty()) {
            GtkFileFilter* filter = gtk_file_filter_new();
            gtk_file_filter_set_name(filter, r.filter_name.c_str());
            gtk_file_filter_add_pattern(filter, r.pattern.c_str());
            gtk_file_chooser_add_filter(chooser, filter);
        }
        gtk_file_chooser_set_current_folder(chooser, folder.c_str());
        if (save && !name.empty())
            gtk_file_chooser_set_current_name(chooser, name.c_str());
        std::optional<std::filesystem::path> chosen;
        if (gtk_native_dialog_run(GTK_NATIVE_DIALOG(native)) == GTK_RESPONSE_ACCEPT) {
            if (gchar* picked = gtk_file_chooser_get_filename(chooser)) {
                chosen = std::filesystem::path(picked);
                g_free(picked);
            }
        }
        g_object_unref(native);
        if (!chosen)
            return std::nullopt;
        if (save) {
            chosen = file_written(*chosen, r);
            if (!may_replace(parent, *chosen)) {
                folder = chosen->parent_path();
                name = chosen->filename().string();
                continue;
            }
        }
        folders.remember(*chosen);
        return chosen;
    }
}

// A question whose buttons are `choices` and GTK's own Cancel.
std::optional<int> run_choice(GtkWindow* parent, const std::string& caption,
                              const std::string& text, const std::vector<std::string>& choices) {
    GtkWidget* dialog = gtk_message_dialog_new(parent, GTK_DIALOG_MODAL, GTK_MESSAGE_QUESTION,
                                               GTK_BUTTONS_NONE, "%s", text.c_str());
    gtk_window_set_title(GTK_WINDOW(dialog), caption.c_str());
    for (std::size_t i = 0; i < choices.size(); ++i)
        gtk_dialog_add_button(GTK_DIALOG(dialog), choices[i].c_str(), static_cast<gint>(i));
    gtk_dialog_add_button(GTK_DIALOG(dialog), "_Cancel", GTK_RESPONSE_CANCEL);
    if (!choices.empty())
        gtk_dialog_set_default_response(GTK_DIALOG(dialog), 0);
    const gint response = gtk_dialog_run(GTK_DIALOG(dialog));
    gtk_widget_destroy(dialog);
    if (response < 0 || response >= static_cast<gint>(choices.size()))
        return std::nullopt;
    return response;
}

}  // namespace

void GtkDialogs::message(const std::string& caption, const std::string& text) {
    if (ending_)
        return;
    on_main_loop<int>(
        [&] { return run_message(parent_, GTK_MESSAGE_INFO, GTK_BUTTONS_OK, caption, text); });
}

bool GtkDialogs::ask_yes_no(const std::string& caption, const std::string& text) {
    if (ending_)
        return false;
    return on_main_loop<bool>([&] {
        return run_message(parent_, GTK_MESSAGE_QUESTION, GTK_BUTTONS_YES_NO, caption, text) ==
               GTK_RESPONSE_YES;
    });
}

std::optional<std::filesystem::path> GtkDialogs::open_file(const ui::FileDialogRequest& request) {
    if (ending_)
        return std::nullopt;
    return on_main_loop<std::optional<std::filesystem::path>>(
        [&] { return run_chooser(parent_, false, request, folders_); });
}

std::optional<std::filesystem::path> GtkDialogs::save_file(const ui::FileDialogRequest& request) {
    if (ending_)
        return std::nullopt;
    return on_main_loop<std::optional<std::filesystem::path>>(
        [&] { return run_chooser(parent_, true, request, folders_); });
}

std::optional<int> GtkDialogs::choose(const std::string& caption, const std::string& text,
                                      const std::vector<std::string>& choices) {
    if (ending_)
        return std::nullopt;
    return on_main_loop<std::optional<int>>(
        [&] { return run_choice(parent_, caption, text, choices); });
}

}  // namespace zentrik::app
