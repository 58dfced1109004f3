// The active window from the X server through a connection of its own (xcb: errors come back
// with each reply, so a window that vanished meanwhile is simply absent).
//
// Under a window manager that keeps _NET_ACTIVE_WINDOW on the root window, a change of that
// property is the event. Without one (a bare X server, some kiosk setups) the input focus is
// followed instead: every top-level window is asked for focus events, and windows made later
// are added as they appear.
#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>

#include "platform/active_window.h"
#include "platform/linux/xcb_queries.h"
#include "platform/raw_input.h"

namespace zentrik::platform {
namespace {

using xcb::own;

class X11ActiveWindowWatcher final : public ActiveWindowWatcher {
  public:
    X11ActiveWindowWatcher(xcb_connection_t* connection, xcb_window_t root)
        : connection_(connection), root_(root) {
        net_active_window_ = atom("_NET_ACTIVE_WINDOW");
        net_supported_ = atom("_NET_SUPPORTED");
        const std::uint32_t root_events =
            XCB_EVENT_MASK_PROPERTY_CHANGE | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(connection_, root_, XCB_CW_EVENT_MASK, &root_events);
        choose_source();
        last_ = current();
        xcb_flush(connection_);
    }
    ~X11ActiveWindowWatcher() override { xcb_disconnect(connection_); }

    int fd() const override { return xcb_get_file_descriptor(connection_); }
    bool connected() const override { return xcb_connection_has_error(connection_) == 0; }

    std::optional<ActiveWindow> take_change() override {
        bool look = false;
        while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
            look = handle(*event) || look;
            std::free(event);
        }
        xcb_flush(connection_);
        if (!look || !connected())
            return std::nullopt;
        ActiveWindow now = current();
        if (now.id == last_.id)
            return std::nullopt;
        last_ = now;
        return now;
    }

    ActiveWindow current() override {
        ActiveWindow window;
        const std::optional<xcb_window_t> id =
            window_manager_says_ ? active_from_window_manager() : focus_top_level();
        if (!id)
            return window;
        window.id = *id;
        window.classes = classes(*id);
        return window;
    }

  private:
    // True when the event may have changed the active window.
    bool handle(const xcb_generic_event_t& event) {
        switch (event.response_type & 0x7F) {
            case XCB_PROPERTY_NOTIFY: {
                const auto& e = reinterpret_cast<const xcb_property_notify_event_t&>(event);
                if (e.window != root_)
                    return false;
                if (e.atom == net_supported_) {
                    choose_source();  // a window manager started or ended
                    return true;
                }
                return e.atom == net_active_window_;
            }
            case XCB_CREATE_NOTIFY: {
                const auto& e = reinterpret_cast<const xcb_create_notify_event_t&>(event);
                if (!window_manager_says_)
                    ask_focus_events(e.window);
                return false;
            }
            case XCB_FOCUS_IN:
            case XCB_FOCUS_OUT:
            case XCB_DESTROY_NOTIFY:
            case XCB_UNMAP_NOTIFY:
                return !window_manager_says_;
            default:
                return false;
        }
    }

    void choose_source() {
        window_manager_says_ = supports_active_window();
        if (window_manager_says_)
            return;
        auto tree =
            own(xcb_query_tree_reply(connection_, xcb_query_tree(connection_, root_), nullptr));
        if (!tree)
            return;
        const xcb_window_t* children = xcb_query_tree_children(tree.get());
        for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i)
            ask_focus_events(children[i]);
    }

    void ask_focus_events(xcb_window_t window) {
        const std::uint32_t events = XCB_EVENT_MASK_FOCUS_CHANGE;
        xcb_change_window_attributes(connection_, window, XCB_CW_EVENT_MASK, &events);
    }

    bool supports_active_window() {
        auto reply = own(xcb_get_property_reply(
            connection_,
            xcb_get_property(connection_, 0, root_, net_supported_, XCB_ATOM_ATOM, 0, 4096),
            nullptr));
        if (!reply)
            return false;
        const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply.get()));
        const int count = xcb_get_property_value_length(reply.get()) / 4;
        for (int i = 0; i < count; ++i) {
            if (atoms[i] == net_active_window_)
                return true;
        }
        return false;
    }

    xcb_atom_t atom(const char* name) { return xcb::atom(connection_, name); }

    std::optional<xcb_window_t> active_from_window_manager() {
        return xcb::active_window(connection_, root_, net_active_window_);
    }

    // The top-level window (a child of the root) that holds the input focus.
    std::optional<xcb_window_t> focus_top_level() {
        return xcb::focused_window(connection_, root_, [](xcb_window_t) { return false; });
    }

    std::vector<std::string> classes(xcb_window_t window) {
        return xcb::window_classes(connection_, window);
    }

    xcb_connection_t* connection_;
    xcb_window_t root_;
    xcb_atom_t net_active_window_ = XCB_ATOM_NONE;
    xcb_atom_t net_supported_ = XCB_ATOM_NONE;
    bool window_manager_says_ = false;
    ActiveWindow last_;
};

}  // namespace

std::unique_ptr<ActiveWindowWatcher> make_active_window_watcher(std::string* why_not) {
    // Under a Wayland compositor XWayland knows only its own windows: the program in front may
    // be a native one it never hears of, so its answer would be wrong as often as right.
    if (wayland_session()) {
        if (why_not != nullptr)
            *why_not =
                "on a Wayland session the program in front cannot be seen by another "
                "program, so per-program profiles do not apply";
        return nullptr;
    }
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0') {
        if (why_not != nullptr)
            *why_not = "no X display (DISPLAY is not set)";
        return nullptr;
    }
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection) != 0) {
        xcb_disconnect(connection);
        if (why_not != nullptr)
            *why_not = std::string("cannot connect to the X display ") + display;
        return nullptr;
    }
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    return std::make_unique<X11ActiveWindowWatcher>(connection, screen->root);
}

}  // namespace zentrik::platform
