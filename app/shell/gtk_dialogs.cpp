#include "app/shell/gtk_dialogs.h"

#include <future>

#include "app/shell/main_loop_post.h"

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

std::optional<std::filesystem::path> run_chooser(GtkWindow* parent, bool save,
                                                 const ui::FileDialogRequest& r) {
    GtkFileChooserNative* native = gtk_file_chooser_native_new(
        nullptr, parent, save ? GTK_FILE_CHOOSER_ACTION_SAVE : GTK_FILE_CHOOSER_ACTION_OPEN,
        nullptr, nullptr);
    GtkFileChooser* chooser = GTK_FILE_CHOOSER(native);
    if (!r.pattern.empty()) {
        GtkFileFilter* filter = gtk_file_filter_new();
        gtk_file_filter_set_name(filter, r.filter_name.c_str());
        gtk_file_filter_add_pattern(filter, r.pattern.c_str());
        gtk_file_chooser_add_filter(chooser, filter);
    }
    if (save) {
        gtk_file_chooser_set_do_overwrite_confirmation(chooser, TRUE);
        if (!r.initial_name.empty())
            gtk_file_chooser_set_current_name(chooser, r.initial_name.c_str());
    }
    std::optional<std::filesystem::path> chosen;
    if (gtk_native_dialog_run(GTK_NATIVE_DIALOG(native)) == GTK_RESPONSE_ACCEPT) {
        if (gchar* name = gtk_file_chooser_get_filename(chooser)) {
            chosen = std::filesystem::path(name);
            g_free(name);
            if (save && chosen->extension().empty() && !r.default_extension.empty())
                chosen->replace_extension(r.default_extension);
        }
    }
    g_object_unref(native);
    return chosen;
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
        [&] { return run_chooser(parent_, false, request); });
}

std::optional<std::filesystem::path> GtkDialogs::save_file(const ui::FileDialogRequest& request) {
    if (ending_)
        return std::nullopt;
    return on_main_loop<std::optional<std::filesystem::path>>(
        [&] { return run_chooser(parent_, true, request); });
}

std::optional<int> GtkDialogs::choose(const std::string& caption, const std::string& text,
                                      const std::vector<std::string>& choices) {
    if (ending_)
        return std::nullopt;
    return on_main_loop<std::optional<int>>(
        [&] { return run_choice(parent_, caption, text, choices); });
}

}  // namespace zentrik::app
