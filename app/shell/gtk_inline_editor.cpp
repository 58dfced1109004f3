#include "app/shell/gtk_inline_editor.h"

#include <gtk/gtk.h>

#include <string>

#include "ui/fonts.h"

namespace zentrik::app {

GtkInlineEditor::GtkInlineEditor(GtkWidget* fixed, ui::TimerService& timers)
    : fixed_(fixed), timers_(timers) {
    timers_.set_handler(kEditorFocusTimer, [this] {
        timers_.stop(kEditorFocusTimer);
        focus_and_select();
    });
}

void GtkInlineEditor::make_entry() {
    entry_ = gtk_entry_new();
    css_ = gtk_css_provider_new();
    gtk_entry_set_has_frame(GTK_ENTRY(entry_), FALSE);
    gtk_entry_set_width_chars(GTK_ENTRY(entry_), 1);
    gtk_style_context_add_provider(gtk_widget_get_style_context(entry_), GTK_STYLE_PROVIDER(css_),
                                   GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    g_signal_connect(entry_, "insert-text", G_CALLBACK(&GtkInlineEditor::on_insert_text), this);
    gtk_widget_set_no_show_all(entry_, TRUE);
    gtk_fixed_put(GTK_FIXED(fixed_), entry_, 0, 0);
}

GtkInlineEditor::~GtkInlineEditor() {
    timers_.stop(kEditorFocusTimer);
    timers_.set_handler(kEditorFocusTimer, nullptr);
    if (css_)
        g_object_unref(css_);
}

void GtkInlineEditor::show(const ui::EditorRequest& request) {
    if (!entry_)
        make_entry();
    box_ = request.box;
    digits_only_ = request.digits_only;
    const ui::FontEntry& font = ui::font_entry(request.font);
    const std::string css = "entry { font-family: \"" + font.family +
                            "\"; font-size: " + std::to_string(font.pixel_size) +
                            "px; min-height: 0; padding: 0 2px; margin: 0; border-radius: 0; "
                            "background: #ffffff; color: #000000; }";
    gtk_css_provider_load_from_data(css_, css.c_str(), -1, nullptr);
    // The limit applies to typing; a longer stored text is shown whole, never cut.
    limit_ = request.limit;
    gtk_entry_set_input_purpose(
        GTK_ENTRY(entry_), digits_only_ ? GTK_INPUT_PURPOSE_DIGITS : GTK_INPUT_PURPOSE_FREE_FORM);
    filtering_ = false;
    gtk_entry_set_text(GTK_ENTRY(entry_), request.text.c_str());
    filtering_ = true;
    gtk_widget_set_size_request(entry_, box_.width(), box_.height());
    gtk_fixed_move(GTK_FIXED(fixed_), entry_, box_.left, box_.top);
    gtk_widget_show(entry_);
    focus_and_select();
    timers_.arm(kEditorFocusTimer, 100);  // again once the entry is mapped
}

void GtkInlineEditor::hide() {
    timers_.stop(kEditorFocusTimer);
    if (entry_)
        gtk_widget_hide(entry_);
}

bool GtkInlineEditor::visible() const {
    return entry_ && gtk_widget_get_visible(entry_);
}

std::string GtkInlineEditor::text() const {
    return entry_ ? gtk_entry_get_text(GTK_ENTRY(entry_)) : std::string();
}

void GtkInlineEditor::focus_and_select() {
    if (!visible())
        return;
    gtk_widget_grab_focus(entry_);
    gtk_editable_select_region(GTK_EDITABLE(entry_), 0, -1);
}

void GtkInlineEditor::on_insert_text(GtkWidget* editable, const char* text, int length,
                                     int* position, void* data) {
    auto* self = static_cast<GtkInlineEditor*>(data);
    if (!self->filtering_)
        return;
    const std::string in(
        text, length < 0 ? std::char_traits<char>::length(text) : static_cast<std::size_t>(length));
    // Digits only for wait values, and no more characters than the limit allows.
    std::string accepted;
    long room = self->limit_ > 0 ? self->limit_ - gtk_entry_get_text_length(GTK_ENTRY(editable))
                                 : G_MAXLONG;
    for (const char* p = in.c_str(); *p && room > 0; p = g_utf8_next_char(p)) {
        const char* next = g_utf8_next_char(p);
        if (self->digits_only_ && !(*p >= '0' && *p <= '9'))
            continue;
        accepted.append(p, next);
        --room;
    }
    if (accepted == in)
        return;
    g_signal_handlers_block_by_func(editable, reinterpret_cast<gpointer>(&on_insert_text), data);
    gtk_editable_insert_text(GTK_EDITABLE(editable), accepted.c_str(),
                             static_cast<int>(accepted.size()), position);
    g_signal_handlers_unblock_by_func(editable, reinterpret_cast<gpointer>(&on_insert_text), data);
    g_signal_stop_emission_by_name(editable, "insert-text");
}

}  // namespace zentrik::app
