// The start-up benchmark's baseline: a bare GTK3 window of the main window's size, nothing in
// it, shown as soon as GTK is up. Ends on SIGTERM or when the window is closed.
#include <gtk/gtk.h>

#include <cstdlib>

int main(int argc, char** argv) {
    const int width = argc > 1 ? std::atoi(argv[1]) : 1046;
    const int height = argc > 2 ? std::atoi(argv[2]) : 655;
    if (!gtk_init_check(nullptr, nullptr))
        return 1;
    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_title(GTK_WINDOW(window), "bare");
    gtk_window_set_decorated(GTK_WINDOW(window), FALSE);
    gtk_window_set_resizable(GTK_WINDOW(window), FALSE);
    gtk_widget_set_size_request(window, width, height);
    g_signal_connect(window, "destroy", G_CALLBACK(gtk_main_quit), nullptr);
    gtk_widget_show_all(window);
    gtk_main();
    return 0;
}
