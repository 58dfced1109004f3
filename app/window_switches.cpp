#include "app/window_switches.h"

#include <algorithm>
#include <charconv>

#include "app/render_page.h"

namespace zentrik::app {

std::optional<int> take_page_switch(std::vector<std::string>& args, std::string& error) {
    error.clear();
    const auto it = std::find(args.begin(), args.end(), "--page");
    if (it == args.end())
        return std::nullopt;
    if (it + 1 == args.end()) {
        error = "zentrik: --page needs a page number (0, 1, 2, 3, 5 or 99)";
        return std::nullopt;
    }
    const std::string n = *(it + 1);
    int page = -1;
    const auto [end, ec] = std::from_chars(n.data(), n.data() + n.size(), page);
    args.erase(it, it + 2);
    if (ec != std::errc() || end != n.data() + n.size() || !is_renderable_page(page)) {
        error = "zentrik: no such page: " + n + " (pages are 0, 1, 2, 3, 5 and 99)";
        return std::nullopt;
    }
    return page;
}

}  // namespace zentrik::app

namespace zentrik::app {

std::optional<std::string> take_simulate_switch(std::vector<std::string>& args) {
    for (auto it = args.begin(); it != args.end(); ++it) {
        if (*it == "--simulate" || *it == "/simulate") {
            args.erase(it);
            return std::string();
        }
        for (const char* prefix : {"--simulate=", "/simulate="}) {
            if (it->rfind(prefix, 0) == 0) {
                std::string spec = it->substr(std::char_traits<char>::length(prefix));
                args.erase(it);
                return spec;
            }
        }
    }
    return std::nullopt;
}

}  // namespace zentrik::app
