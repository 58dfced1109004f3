// Window facts from the X server through xcb (errors come back with each reply, so a window that
// disappears meanwhile is simply absent), and scroll input through XTest.
#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/linux/x11_window_system.h"
#include "platform/linux/xcb_queries.h"

namespace zentrik::platform {
namespace {

using xcb::own;

// X core buttons and the keys held around a wheel step.
constexpr std::uint8_t kButtonWheelUp = 4;
constexpr std::uint8_t kButtonWheelDown = 5;
constexpr std::uint8_t kButtonScrollLeft = 6;
constexpr std::uint8_t kButtonScrollRight = 7;
constexpr xcb_keysym_t kKeysymShiftL = 0xFFE1;
constexpr xcb_keysym_t kKeysymControlL = 0xFFE3;

class X11WindowSystem final : public WindowSystem {
  public:
    X11WindowSystem(xcb_connection_t* connection, xcb_window_t root, ScrollReach reach)
        : connection_(connection), root_(root), reach_(reach) {
        net_active_window_ = atom("_NET_ACTIVE_WINDOW");
        net_wm_name_ = atom("_NET_WM_NAME");
        utf8_string_ = atom("UTF8_STRING");
    }
    ~X11WindowSystem() override { xcb_disconnect(connection_); }

    ScrollReach reach() const override { return reach_; }
    std::string desktop() const override {
        const char* display = std::getenv("DISPLAY");
        return std::string("x11-") + (display ? display : "");
    }

    WindowFacts window_facts() override {
        WindowFacts facts;
        if (auto active = active_window()) {
            facts.has_foreground = true;
            facts.foreground_title = title(*active);
            facts.foreground_classes = classes(*active);
        }
        if (auto focus = focus_window()) {
            facts.has_focus = true;
            facts.focus_classes = classes(*focus);
        }
        if (auto pointer = client_under_pointer()) {
            facts.has_pointer_window = true;
            facts.pointer_title = title(*pointer);
            facts.pointer_classes = classes(*pointer);
        }
        return facts;
    }

    bool send_scroll(ScrollGesture gesture, bool toward_left) override {
        std::uint8_t button = toward_left ? kButtonWheelUp : kButtonWheelDown;
        xcb_keycode_t modifier = 0;
        switch (gesture) {
            case ScrollGesture::kHorizontalButtons:
                button = toward_left ? kButtonScrollLeft : kButtonScrollRight;
                break;
            case ScrollGesture::kShiftWheel:
                modifier = keycode(kKeysymShiftL);
                break;
            case ScrollGesture::kCtrlWheel:
                modifier = keycode(kKeysymControlL);
                break;
        }
        if (gesture != ScrollGesture::kHorizontalButtons && modifier == 0)
            return false;
        std::vector<xcb_void_cookie_t> sent;
        if (modifier != 0)
            sent.push_back(fake(XCB_KEY_PRESS, modifier));
        sent.push_back(fake(XCB_BUTTON_PRESS, button));
        sent.push_back(fake(XCB_BUTTON_RELEASE, button));
        if (modifier != 0)
            sent.push_back(fake(XCB_KEY_RELEASE, modifier));
        bool ok = true;
        for (const xcb_void_cookie_t& cookie : sent) {
            if (xcb_generic_error_t* error = xcb_request_check(connection_, cookie)) {
                std::free(error);
                ok = false;
            }
        }
        return ok;
    }

  private:
    xcb_void_cookie_t fake(std::uint8_t type, std::uint8_t detail) {
        return xcb_test_fake_input_checked(connection_, type, detail, XCB_CURRENT_TIME, XCB_NONE, 0,
                                           0, 0);
    }

    xcb_atom_t atom(const char* name) { return xcb::atom(connection_, name); }

    std::optional<std::string> property(xcb_window_t window, xcb_atom_t name, xcb_atom_t type) {
        return xcb::property(connection_, window, name, type);
    }

    std::optional<xcb_window_t> active_window() {
        return xcb::active_window(connection_, root_, net_active_window_);
    }

    // The focused window that carries WM_CLASS (the program's own inside its top-level window),
    // or the top-level window.
    std::optional<xcb_window_t> focus_window() {
        return xcb::focused_window(connection_, root_, [this](xcb_window_t window) {
            return property(window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING).has_value();
        });
    }

    // The window under the pointer that carries WM_CLASS: the program's own window inside the
    // window manager's frame. A top-level window without WM_CLASS still counts (nameless).
    std::optional<xcb_window_t> client_under_pointer() {
        std::optional<xcb_window_t> top_level;
        xcb_window_t window = root_;
        for (int depth = 0; depth < 32; ++depth) {
            auto reply = own(xcb_query_pointer_reply(
                connection_, xcb_query_pointer(connection_, window), nullptr));
            if (!reply || reply->child == XCB_NONE)
                break;
            window = reply->child;
            if (!top_level)
                top_level = window;
            if (property(window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING))
                return window;
        }
        return top_level;
    }

    std::string title(xcb_window_t window) {
        if (auto name = property(window, net_wm_name_, utf8_string_))
            return *name;
        return property(window, XCB_ATOM_WM_NAME, XCB_ATOM_ANY).value_or("");
    }

    std::vector<std::string> classes(xcb_window_t window) {
        return xcb::window_classes(connection_, window);
    }

    xcb_keycode_t keycode(xcb_keysym_t keysym) {
        const xcb_setup_t* setup = xcb_get_setup(connection_);
        const int first = setup->min_keycode;
        const int count = setup->max_keycode - setup->min_keycode + 1;
        auto reply = own(xcb_get_keyboard_mapping_reply(
            connection_, xcb_get_keyboard_mapping(connection_, first, count), nullptr));
        if (!reply)
            return 0;
        const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(reply.get());
        const int per_code = reply->keysyms_per_keycode;
        for (int code = 0; code < count; ++code) {
            for (int i = 0; i < per_code; ++i) {
                if (syms[code * per_code + i] == keysym)
                    return static_cast<xcb_keycode_t>(first + code);
            }
        }
        return 0;
    }

    xcb_connection_t* connection_;
    xcb_window_t root_;
    ScrollReach reach_;
    xcb_atom_t net_active_window_ = XCB_ATOM_NONE;
    xcb_atom_t net_wm_name_ = XCB_ATOM_NONE;
    xcb_atom_t utf8_string_ = XCB_ATOM_NONE;
};

}  // namespace

std::unique_ptr<WindowSystem> make_x11_window_system(ScrollReach reach) {
    int screen_number = 0;
    xcb_connection_t* connection = xcb_connect(nullptr, &screen_number);
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        return nullptr;
    }
    const xcb_query_extension_reply_t* xtest = xcb_get_extension_data(connection, &xcb_test_id);
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; i < screen_number && screens.rem > 0; ++i)
        xcb_screen_next(&screens);
    if (xtest == nullptr || !xtest->present || screens.rem == 0) {
        xcb_disconnect(connection);
        return nullptr;
    }
    return std::make_unique<X11WindowSystem>(connection, screens.data->root, reach);
}

}  // namespace zentrik::platform
