#pragma once
// The xcb queries that the window system and the active-window watcher share. Errors come back
// with each reply, so a window that vanished meanwhile simply answers nothing.
#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zentrik::platform::xcb {

template <typename T>
using Reply = std::unique_ptr<T, decltype(&std::free)>;

// Takes ownership of a reply (null when the request failed).
template <typename T>
Reply<T> own(T* reply) {
    return Reply<T>(reply, &std::free);
}

inline xcb_atom_t atom(xcb_connection_t* connection, const std::string& name) {
    auto reply = own(xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, name.size(), name.c_str()), nullptr));
    return reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

// A property's bytes; nullopt when the window has none of that name (or is gone).
inline std::optional<std::string> property(xcb_connection_t* connection, xcb_window_t window,
                                           xcb_atom_t name, xcb_atom_t type) {
    auto reply = own(xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, window, name, type, 0, 1024), nullptr));
    if (!reply || reply->type == XCB_ATOM_NONE)
        return std::nullopt;
    const char* bytes = static_cast<const char*>(xcb_get_property_value(reply.get()));
    return std::string(bytes, xcb_get_property_value_length(reply.get()));
}

// The window manager's active window (`_NET_ACTIVE_WINDOW` on the root), if it names one.
inline std::optional<xcb_window_t> active_window(xcb_connection_t* connection, xcb_window_t root,
                                                 xcb_atom_t net_active_window) {
    auto reply = own(xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, root, net_active_window, XCB_ATOM_WINDOW, 0, 1),
        nullptr));
    if (!reply || xcb_get_property_value_length(reply.get()) < 4)
        return std::nullopt;
    const xcb_window_t window =
        *static_cast<const xcb_window_t*>(xcb_get_property_value(reply.get()));
    if (window == XCB_NONE)
        return std::nullopt;
    return window;
}

// The window that holds the input focus, walked up from the focused window (often a child of a
// program's top-level window) to the first one for which `stop(window)` holds, or else to the
// top-level one (a child of the root); nullopt when nothing or the root has the focus, or a
// window vanished meanwhile.
template <typename Stop>
std::optional<xcb_window_t> focused_window(xcb_connection_t* connection, xcb_window_t root,
                                           Stop stop) {
    auto focus =
        own(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
    if (!focus || focus->focus == XCB_NONE || focus->focus == XCB_INPUT_FOCUS_POINTER_ROOT ||
        focus->focus == root)
        return std::nullopt;
    xcb_window_t window = focus->focus;
    for (int depth = 0; depth < 32; ++depth) {
        if (stop(window))
            return window;
        auto tree =
            own(xcb_query_tree_reply(connection, xcb_query_tree(connection, window), nullptr));
        if (!tree)
            return std::nullopt;
        if (tree->parent == root || tree->parent == XCB_NONE)
            return window;
        window = tree->parent;
    }
    return std::nullopt;
}

// WM_CLASS holds two NUL-terminated strings: the instance name, then the class name.
inline std::vector<std::string> window_classes(xcb_connection_t* connection, xcb_window_t window) {
    std::vector<std::string> names;
    const std::string value =
        property(connection, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING).value_or("");
    std::size_t start = 0;
    while (start < value.size()) {
        std::size_t end = value.find('\0', start);
        if (end == std::string::npos)
            end = value.size();
        if (end > start)
            names.push_back(value.substr(start, end - start));
        start = end + 1;
    }
    return names;
}

}  // namespace zentrik::platform::xcb
