#include "core/macro_users.h"

#include "lang/string_tables.h"

namespace zentrik::core {

std::string buttons_using_macro(const device::ButtonTable& buttons, const ProfileNames& names,
                                int start) {
    std::string list;
    for (int p = 0; p < device::kProfileCount; ++p) {
        for (int b = 0; b < device::kButtonCount; ++b) {
            const device::ButtonAssignment cell = buttons.get(p, b);
            if (!cell.remapped || cell.code != start)
                continue;
            list += (list.empty() ? "" : ", ") + names[static_cast<std::size_t>(p)] + ": " +
                    lang::strings().button_name(b);
        }
    }
    return list;
}

}  // namespace zentrik::core
