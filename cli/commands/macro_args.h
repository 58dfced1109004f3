#pragma once
// Argument parsing shared by the macro, keyname, lang and library subcommands.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zentrik::cli {

// A decimal or 0x-prefixed hexadecimal number within [min, max]; nullopt otherwise.
std::optional<long long> parse_number(std::string_view text, long long min, long long max);

// Hex bytes given one per argument ("05 83"), run together ("0583") or with 0x prefixes;
// nullopt (and a message in `error`) for anything that is not whole hex bytes.
std::optional<std::vector<std::uint8_t>> parse_hex_bytes(const std::vector<std::string>& args,
                                                         std::string& error);

// "--name VALUE" at args[i]: the value (and i moved past it); nullopt when it is missing.
std::optional<std::string> option_value(const std::vector<std::string>& args, std::size_t& i);

// Shows CR and LF as \r and \n.
std::string visible_line_breaks(std::string_view text);

}  // namespace zentrik::cli
