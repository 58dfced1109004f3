#pragma once
// What every zentrikctl command's --json output shares: one JSON document per run, keys in a
// fixed order, text from devices and files kept valid UTF-8. The shapes are documented in
// docs/zentrikctl.md; scripts rely on them, so keys are only ever added.
#include <nlohmann/json.hpp>
#include <ostream>
#include <string>

namespace zentrik::cli {

using Json = nlohmann::ordered_json;

// Prints `value` indented, with a final newline. Invalid UTF-8 in a string becomes U+FFFD
// instead of throwing.
inline void print_json(std::ostream& out, const Json& value) {
    out << value.dump(2, ' ', false, Json::error_handler_t::replace) << "\n";
}

}  // namespace zentrik::cli
