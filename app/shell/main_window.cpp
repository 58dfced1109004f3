#include "app/shell/main_window.h"

#include <glib-unix.h>
#include <gtk/gtk.h>

#include "app/shell/tray_icon.h"

namespace zentrik::app {
namespace {

constexpr int kWindowWidth = 1046;
constexpr int kWindowHeight = 655;
constexpr char kDefaultCaption[] = "Zentrik Mouse  Rev 1.0";

struct Shell {
    GtkWidget* window = nullptr;
    std::unique_ptr<platform::InstanceListener> listener;
};

void bring_forward(Shell& shell) {
    gtk_widget_show_all(shell.window);
    gtk_window_deiconify(GTK_WINDOW(shell.window));
    gtk_window_present(GTK_WINDOW(shell.window));
}

gboolean on_instance_message(gint, GIOCondition, gpointer data) {
    auto& shell = *static_cast<Shell*>(data);
    if (auto message = shell.listener->receive()) {
        if (*message == platform::InstanceMessage::kClose)
            gtk_main_quit();
        else
            bring_forward(shell);
    }
    return G_SOURCE_CONTINUE;
}

gboolean on_draw(GtkWidget* widget, cairo_t* cr, gpointer) {
    const int w = gtk_widget_get_allocated_width(widget);
    const int h = gtk_widget_get_allocated_height(widget);
    cairo_set_source_rgb(cr, 0.11, 0.12, 0.14);
    cairo_rectangle(cr, 0, 0, w, h);
    cairo_fill(cr);
    cairo_set_source_rgb(cr, 0.9, 0.9, 0.92);
    cairo_select_font_face(cr, "Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    cairo_set_font_size(cr, 20);
    cairo_move_to(cr, 32, 48);
    cairo_show_text(cr, kDefaultCaption);
    return TRUE;
}

// Keys never reach default handling: Escape, Enter and Alt+F4 inside the window do nothing.
gboolean on_key(GtkWidget*, GdkEventKey*, gpointer) {
    return TRUE;
}

gboolean on_delete(GtkWidget*, GdkEvent*, gpointer) {
    gtk_main_quit();  // the window manager's close request ends the program
    return TRUE;
}

}  // namespace

int run_main_window(const StartOptions& options,
                    std::unique_ptr<platform::InstanceListener> listener) {
    if (!gtk_init_check(nullptr, nullptr)) {
        g_printerr("zentrik: cannot open the display\n");
        return 1;
    }
    Shell shell;
    shell.listener = std::move(listener);
    shell.window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    GtkWindow* win = GTK_WINDOW(shell.window);
    gtk_window_set_title(win, kDefaultCaption);
    gtk_window_set_decorated(win, FALSE);
    gtk_window_set_resizable(win, FALSE);
    gtk_widget_set_size_request(shell.window, kWindowWidth, kWindowHeight);
    gtk_window_set_position(win, GTK_WIN_POS_CENTER);

    GtkWidget* canvas = gtk_drawing_area_new();
    gtk_container_add(GTK_CONTAINER(shell.window), canvas);
    g_signal_connect(canvas, "draw", G_CALLBACK(on_draw), nullptr);
    g_signal_connect(shell.window, "key-press-event", G_CALLBACK(on_key), nullptr);
    g_signal_connect(shell.window, "key-release-event", G_CALLBACK(on_key), nullptr);
    g_signal_connect(shell.window, "delete-event", G_CALLBACK(on_delete), nullptr);

    TrayIcon tray(kDefaultCaption, "Restore", "Exit",
                  {[&shell] { bring_forward(shell); }, [] { gtk_main_quit(); }});
    g_signal_connect(shell.window, "show", G_CALLBACK(+[](GtkWidget*, gpointer t) {
                         static_cast<TrayIcon*>(t)->set_window_visible(true);
                     }),
                     &tray);
    g_signal_connect(shell.window, "hide", G_CALLBACK(+[](GtkWidget*, gpointer t) {
                         static_cast<TrayIcon*>(t)->set_window_visible(false);
                     }),
                     &tray);
    const guint watch = g_unix_fd_add(shell.listener->fd(), G_IO_IN, on_instance_message, &shell);
    if (!options.hide)
        bring_forward(shell);
    gtk_main();
    g_source_remove(watch);
    gtk_widget_destroy(shell.window);
    return 0;
}

}  // namespace zentrik::app
