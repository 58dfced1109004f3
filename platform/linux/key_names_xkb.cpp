// Key names from an XKB keymap: characters of the user's layout through xkbcommon.
#include <xcb/xcb.h>
#include <xkbcommon/xkbcommon-x11.h>
#include <xkbcommon/xkbcommon.h>

#include <cstdlib>
#include <mutex>

#include "platform/key_names.h"
#include "platform/linux/key_names_table.h"

namespace zentrik::platform {
namespace {

using key_names::key_facts;
using key_names::to_utf8;

// The spacing character a dead key stands for, so the key still gets a readable name.
char32_t dead_key_character(xkb_keysym_t sym) {
    switch (sym) {
        case XKB_KEY_dead_grave:
            return U'`';
        case XKB_KEY_dead_acute:
            return U'\u00B4';
        case XKB_KEY_dead_circumflex:
            return U'^';
        case XKB_KEY_dead_tilde:
            return U'~';
        case XKB_KEY_dead_diaeresis:
            return U'\u00A8';
        case XKB_KEY_dead_cedilla:
            return U'\u00B8';
        case XKB_KEY_dead_abovering:
            return U'\u00B0';
        case XKB_KEY_dead_caron:
            return U'\u02C7';
        default:
            return 0;
    }
}

// Owns one keymap (which keeps its context alive) and, for the X server's keyboard, its state.
class XkbKeyNames final : public KeyNameService {
  public:
    // A null keymap gives the US characters.
    XkbKeyNames(xkb_keymap* keymap, xkb_state* state) : keymap_(keymap), state_(state) {}
    ~XkbKeyNames() override {
        xkb_state_unref(state_);
        xkb_keymap_unref(keymap_);
    }
    XkbKeyNames(const XkbKeyNames&) = delete;
    XkbKeyNames& operator=(const XkbKeyNames&) = delete;

    std::string key_name(int make_code, bool extended) const override {
        const auto facts = key_facts(make_code, extended);
        if (facts.fixed != nullptr)
            return facts.fixed;
        if (facts.evdev == 0)
            return {};
        std::string name = character_name(static_cast<xkb_keycode_t>(facts.evdev + 8));
        if (name.empty())
            name = to_utf8(key_names::us_character(facts.evdev));
        return name;
    }

  private:
    std::string character_name(xkb_keycode_t keycode) const {
        if (keymap_ == nullptr)
            return {};
        std::lock_guard lock(mutex_);  // xkbcommon objects are not thread-safe
        xkb_layout_index_t layout = 0;
        if (state_ != nullptr) {
            layout = xkb_state_key_get_layout(state_, keycode);
            if (layout == XKB_LAYOUT_INVALID)
                layout = 0;
        }
        const xkb_keysym_t* syms = nullptr;
        if (xkb_keymap_key_get_syms_by_level(keymap_, keycode, layout, 0, &syms) < 1)
            return {};
        const xkb_keysym_t sym = syms[0];
        if (char32_t c = xkb_keysym_to_utf32(xkb_keysym_to_upper(sym)); c >= 0x20 && c != 0x7F)
            return to_utf8(c);
        if (char32_t c = dead_key_character(sym))
            return to_utf8(c);
        char buffer[64];
        if (sym != XKB_KEY_NoSymbol && xkb_keysym_get_name(sym, buffer, sizeof buffer) > 0)
            return buffer;
        return {};
    }

    xkb_keymap* keymap_;
    xkb_state* state_;
    mutable std::mutex mutex_;
};

const char* or_null(const std::string& s) {
    return s.empty() ? nullptr : s.c_str();
}

xkb_keymap* keymap_from_names(xkb_context* context, const KeyboardLayoutNames& names) {
    const xkb_rule_names rmlvo{or_null(names.rules), or_null(names.model), or_null(names.layout),
                               or_null(names.variant), or_null(names.options)};
    return xkb_keymap_new_from_names(context, &rmlvo, XKB_KEYMAP_COMPILE_NO_FLAGS);
}

// The keymap and active layout of the X server's core keyboard, or null without a display.
std::unique_ptr<KeyNameService> from_x_server(xkb_context* context) {
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0')
        return nullptr;
    xcb_connection_t* conn = xcb_connect(nullptr, nullptr);
    std::unique_ptr<KeyNameService> service;
    if (xcb_connection_has_error(conn) == 0 &&
        xkb_x11_setup_xkb_extension(
            conn, XKB_X11_MIN_MAJOR_XKB_VERSION, XKB_X11_MIN_MINOR_XKB_VERSION,
            XKB_X11_SETUP_XKB_EXTENSION_NO_FLAGS, nullptr, nullptr, nullptr, nullptr) != 0) {
        const int32_t device = xkb_x11_get_core_keyboard_device_id(conn);
        xkb_keymap* keymap = device < 0 ? nullptr
                                        : xkb_x11_keymap_new_from_device(
                                              context, conn, device, XKB_KEYMAP_COMPILE_NO_FLAGS);
        if (keymap != nullptr) {
            service = std::make_unique<XkbKeyNames>(
                keymap, xkb_x11_state_new_from_device(keymap, conn, device));
        }
    }
    xcb_disconnect(conn);
    return service;
}

xkb_context* quiet_context() {
    xkb_context* context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    if (context != nullptr)
        xkb_context_set_log_level(context, XKB_LOG_LEVEL_CRITICAL);
    return context;
}

}  // namespace

std::unique_ptr<KeyNameService> make_layout_key_name_service(const KeyboardLayoutNames& names,
                                                             bool* uses_builtin_names) {
    xkb_context* context = quiet_context();
    xkb_keymap* keymap = context != nullptr ? keymap_from_names(context, names) : nullptr;
    xkb_context_unref(context);  // the keymap keeps its own reference
    if (uses_builtin_names)
        *uses_builtin_names = keymap == nullptr;
    return std::make_unique<XkbKeyNames>(keymap, nullptr);
}

std::unique_ptr<KeyNameService> make_system_key_name_service() {
    xkb_context* context = quiet_context();
    std::unique_ptr<KeyNameService> service;
    if (context != nullptr) {
        service = from_x_server(context);
        if (!service) {
            xkb_keymap* keymap = keymap_from_names(context, {});
            if (keymap == nullptr)
                keymap = keymap_from_names(context, {"evdev", "pc105", "us", "", ""});
            service = std::make_unique<XkbKeyNames>(keymap, nullptr);
        }
    }
    xkb_context_unref(context);
    if (!service)
        service = std::make_unique<XkbKeyNames>(nullptr, nullptr);
    return service;
}

}  // namespace zentrik::platform
