// StatusNotifierItem through libayatana-appindicator (which itself falls back to an XEmbed
// status icon when the desktop has no StatusNotifier host); without a session bus at all, an
// XEmbed status icon directly.
#include "app/shell/tray_icon.h"

#include <gtk/gtk.h>
#include <libayatana-appindicator/app-indicator.h>

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
    static void on_activate(GtkStatusIcon*, gpointer data) {
        static_cast<Impl*>(data)->actions.restore();
    }
    static void on_popup(GtkStatusIcon*, guint, guint32, gpointer data) {
        auto* self = static_cast<Impl*>(data);
        gtk_menu_popup_at_pointer(GTK_MENU(self->menu), nullptr);
    }
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

    if (!session_bus_available()) {
        G_GNUC_BEGIN_IGNORE_DEPRECATIONS
        impl_->status_icon = gtk_status_icon_new_from_icon_name("input-mouse");
        gtk_status_icon_set_tooltip_text(impl_->status_icon, title.c_str());
        G_GNUC_END_IGNORE_DEPRECATIONS
        g_signal_connect(impl_->status_icon, "activate", G_CALLBACK(Impl::on_activate),
                         impl_.get());
        g_signal_connect(impl_->status_icon, "popup-menu", G_CALLBACK(Impl::on_popup), impl_.get());
        return;
    }
    impl_->indicator =
        app_indicator_new("zentrik-mouse", "input-mouse", APP_INDICATOR_CATEGORY_HARDWARE);
    app_indicator_set_title(impl_->indicator, title.c_str());
    app_indicator_set_menu(impl_->indicator, GTK_MENU(impl_->menu));
    // A primary click restores the window where the host supports it.
    app_indicator_set_secondary_activate_target(impl_->indicator, impl_->restore_item);
    app_indicator_set_status(impl_->indicator, APP_INDICATOR_STATUS_ACTIVE);
    g_signal_connect(impl_->indicator, "connection-changed", G_CALLBACK(Impl::on_connection),
                     impl_.get());
}

TrayIcon::~TrayIcon() {
    if (impl_->indicator) {
        app_indicator_set_status(impl_->indicator, APP_INDICATOR_STATUS_PASSIVE);
        g_object_unref(impl_->indicator);
    }
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

void TrayIcon::set_window_visible(bool visible) {
    gtk_widget_set_sensitive(impl_->restore_item, !visible);
}

}  // namespace zentrik::app
