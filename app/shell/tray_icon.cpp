// StatusNotifierItem through libayatana-appindicator (which itself falls back to an XEmbed
// status icon when the desktop has no StatusNotifier host); without a session bus at all, or
// when that library cannot be loaded, an XEmbed status icon directly.
#include "app/shell/tray_icon.h"

#include <gtk/gtk.h>

#include "app/shell/indicator_library.h"
#include "app/shell/skin_window.h"
#include "platform/toolkit_display.h"
#include "ui/layout.h"

namespace zentrik::app {

struct TrayIcon::Impl {
    TrayActions actions;
    AppIndicator* indicator = nullptr;
    GtkWidget* menu = nullptr;
    GtkWidget* restore_item = nullptr;
    GtkStatusIcon* status_icon = nullptr;  // used when there is no session bus
    bool indicator_connected = false;
    static void on_connection(AppIndicator*, gboolean connected, gpointer data) {
        static_cast<Impl*>(data)->indicator_connected = connected;
    }

    static void on_restore(GtkMenuItem*, gpointer data) {
        static_cast<Impl*>(data)->actions.restore();
    }
    static void on_exit(GtkMenuItem*, gpointer data) { static_cast<Impl*>(data)->actions.exit(); }
    // Where the icon delivers clicks itself: a double click restores the window and no menu
    // opens, neither from the first click nor from the release that follows the double click;
    // a single click opens the menu half a second later, a right click at once.
    bool double_click_latch = false;
    guint menu_timer = 0;
    static gboolean on_press(GtkStatusIcon*, GdkEventButton* e, gpointer data) {
        auto* self = static_cast<Impl*>(data);
        if (e->button == 1 && e->type == GDK_2BUTTON_PRESS) {
            self->cancel_menu();
            self->double_click_latch = true;
            self->actions.restore();
        }
        return TRUE;
    }
    static gboolean on_release(GtkStatusIcon*, GdkEventButton* e, gpointer data) {
        auto* self = static_cast<Impl*>(data);
        if (e->button == 1) {
            if (!self->double_click_latch)
                self->open_menu_after(500);
            self->double_click_latch = false;
        } else if (e->button == 3) {
            self->open_menu_after(10);
        }
        return TRUE;
    }
    void open_menu_after(guint ms) {
        cancel_menu();
        menu_timer = g_timeout_add(
            ms,
            +[](gpointer data) -> gboolean {
                auto* self = static_cast<Impl*>(data);
                self->menu_timer = 0;
                gtk_menu_popup_at_pointer(GTK_MENU(self->menu), nullptr);
                return G_SOURCE_REMOVE;
            },
            this);
    }
    void cancel_menu() {
        if (menu_timer)
            g_source_remove(menu_timer);
        menu_timer = 0;
    }

    bool make_indicator(const std::string& title);
    void make_status_icon(const std::string& title);
};

namespace {

bool session_bus_available() {
    if (g_getenv("DBUS_SESSION_BUS_ADDRESS"))
        return true;
    const char* runtime = g_getenv("XDG_RUNTIME_DIR");
    if (!runtime)
        return false;
    gchar* socket = g_build_filename(runtime, "bus", nullptr);
    const bool exists = g_file_test(socket, G_FILE_TEST_EXISTS);
    g_free(socket);
    return exists;
}

}  // namespace

TrayIcon::TrayIcon(const std::string& title, const std::string& restore_text,
                   const std::string& exit_text, TrayActions actions)
    : impl_(std::make_unique<Impl>()) {
    impl_->actions = std::move(actions);
    impl_->menu = gtk_menu_new();
    g_object_ref_sink(impl_->menu);
    impl_->restore_item = gtk_menu_item_new_with_label(restore_text.c_str());
    GtkWidget* exit_item = gtk_menu_item_new_with_label(exit_text.c_str());
    g_signal_connect(impl_->restore_item, "activate", G_CALLBACK(Impl::on_restore), impl_.get());
    g_signal_connect(exit_item, "activate", G_CALLBACK(Impl::on_exit), impl_.get());
    gtk_menu_shell_append(GTK_MENU_SHELL(impl_->menu), impl_->restore_item);
    gtk_menu_shell_append(GTK_MENU_SHELL(impl_->menu), exit_item);
    gtk_widget_show_all(impl_->menu);

    // The fallback icon lives in an X11 tray; a Wayland compositor has none.
    if ((!session_bus_available() || !impl_->make_indicator(title)) &&
        !platform::toolkit_display_is_wayland(impl_->menu))
        impl_->make_status_icon(title);
}

bool TrayIcon::Impl::make_indicator(const std::string& title) {
    const IndicatorLibrary* lib = indicator_library();
    if (!lib)
        return false;
    indicator =
        lib->app_indicator_new("zentrik-mouse", "input-mouse", APP_INDICATOR_CATEGORY_HARDWARE);
    lib->app_indicator_set_title(indicator, title.c_str());
    lib->app_indicator_set_menu(indicator, GTK_MENU(menu));
    // A primary click restores the window where the host supports it.
    lib->app_indicator_set_secondary_activate_target(indicator, restore_item);
    lib->app_indicator_set_status(indicator, APP_INDICATOR_STATUS_ACTIVE);
    g_signal_connect(indicator, "connection-changed", G_CALLBACK(on_connection), this);
    return true;
}

void TrayIcon::Impl::make_status_icon(const std::string& title) {
    G_GNUC_BEGIN_IGNORE_DEPRECATIONS
    // The program's own icon at 16 x 16, rather than a theme's: no icon theme is read.
    GdkPixbuf* icon = pixbuf_from_resource(ui::kAppIcon);
    GdkPixbuf* small = icon ? gdk_pixbuf_scale_simple(icon, 16, 16, GDK_INTERP_BILINEAR) : nullptr;
    status_icon = small ? gtk_status_icon_new_from_pixbuf(small)
                        : gtk_status_icon_new_from_icon_name("input-mouse");
    if (small)
        g_object_unref(small);
    if (icon)
        g_object_unref(icon);
    gtk_status_icon_set_tooltip_text(status_icon, title.c_str());
    G_GNUC_END_IGNORE_DEPRECATIONS
    g_signal_connect(status_icon, "button-press-event", G_CALLBACK(on_press), this);
    g_signal_connect(status_icon, "button-release-event", G_CALLBACK(on_release), this);
}

TrayIcon::~TrayIcon() {
    hide();
    if (impl_->indicator)
        g_object_unref(impl_->indicator);
    if (impl_->status_icon)
        g_object_unref(impl_->status_icon);
    gtk_widget_destroy(impl_->menu);
    g_object_unref(impl_->menu);
}

bool TrayIcon::shown_in_panel() const {
    if (impl_->status_icon) {
        G_GNUC_BEGIN_IGNORE_DEPRECATIONS
        return gtk_status_icon_is_embedded(impl_->status_icon);
        G_GNUC_END_IGNORE_DEPRECATIONS
    }
    return impl_->indicator_connected;
}

void TrayIcon::hide() {
    impl_->cancel_menu();
    if (impl_->indicator)  // the library was loaded when the indicator was made
        indicator_library()->app_indicator_set_status(impl_->indicator,
                                                      APP_INDICATOR_STATUS_PASSIVE);
    if (impl_->status_icon) {
        G_GNUC_BEGIN_IGNORE_DEPRECATIONS
        gtk_status_icon_set_visible(impl_->status_icon, FALSE);
        G_GNUC_END_IGNORE_DEPRECATIONS
    }
}

void TrayIcon::set_window_visible(bool visible) {
    gtk_widget_set_sensitive(impl_->restore_item, !visible);
}

}  // namespace zentrik::app
