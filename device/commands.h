#pragma once
// The mouse's command set: each command is one exchange on the path of a mouse. Write commands
// return the transfer result (1 or 0); read commands return their reply fields, or nullopt when
// the exchange failed (never the bytes of an earlier reply). No command retries.
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "device/protocol.h"
#include "device/zklib.h"

namespace zentrik::device {

// ---- settings (class 0x01) ----
int commit_settings(zklib& lib, const std::string& path);
// X and Y of one DPI level, in DPI steps; a Y of 0 reads as X. On failure returns 0 and leaves
// x and y untouched.
int read_dpi_values(zklib& lib, const std::string& path, int level, int& x, int& y);
int write_dpi_value(zklib& lib, const std::string& path, int axis, int level, int value);

struct ButtonFunction {
    std::uint8_t kind = 0;         // bit 7 set: the button has a function
    std::uint16_t value = 0xFFFF;  // function or macro address; 0xFFFF when kind bit 7 is clear
};
std::optional<ButtonFunction> read_button(zklib& lib, const std::string& path, int profile,
                                          int button);
int write_button(zklib& lib, const std::string& path, int profile, int button, bool has_function,
                 std::uint16_t value);
std::optional<int> read_dpi_level(zklib& lib, const std::string& path);  // 0-3
int write_dpi_level(zklib& lib, const std::string& path, int level);
std::optional<int> read_profile(zklib& lib, const std::string& path);  // 0-4
int write_profile(zklib& lib, const std::string& path, int profile);
std::optional<std::uint16_t> read_macro_limit(zklib& lib, const std::string& path);
int write_macro_limit(zklib& lib, const std::string& path, std::uint16_t address);
// Bits 0-3: report-rate divisor; bits 4-6: angle-snap level.
std::optional<std::uint8_t> read_rate_byte(zklib& lib, const std::string& path);
int write_rate_byte(zklib& lib, const std::string& path, std::uint8_t rate_byte);

// ---- link and wheel (classes 0x00, 0x07) ----
std::optional<std::uint8_t> read_link_tag(zklib& lib, const std::string& path);
int write_link_tag(zklib& lib, const std::string& path, std::uint8_t tag);
std::optional<std::uint8_t> read_wheel_rate(zklib& lib, const std::string& path);
int write_wheel_rate(zklib& lib, const std::string& path, std::uint8_t rate);
// Sent once to each mouse when the device list is built.
int listing_request(zklib& lib, const std::string& path);

// ---- memory (class 0x02); addresses wrap modulo the memory size ----
// The 7 bytes at address .. address + 6 are reply bytes 2-8.
int read_memory(zklib& lib, const std::string& path, std::uint16_t address, Report& reply);
int write_memory_byte(zklib& lib, const std::string& path, std::uint16_t address,
                      std::uint8_t value);
int write_memory_word(zklib& lib, const std::string& path, std::uint16_t address,
                      std::uint8_t first, std::uint8_t second);
// Writes 1 to 32 bytes (data.size()); 0 bytes or more than 32 write nothing and return 0.
// Block and page writes, name reads and identify hold the zklib lock for their whole sequence,
// so another thread's exchange never lands between their steps.
int write_memory_block(zklib& lib, const std::string& path, std::uint16_t address,
                       std::span<const std::uint8_t> data);
int write_memory_page(zklib& lib, const std::string& path, std::uint16_t address,
                      std::span<const std::uint8_t, kPageBytes> data);

// ---- profile names and identity ----
// The profile's name (up to 6 UTF-16 characters); empty when the mouse holds none. nullopt
// when a read failed or the profile is not 0-4.
std::optional<std::u16string> read_profile_name(zklib& lib, const std::string& path, int profile);
// Writes the first 6 characters of `text` (a character that does not fit whole is left out),
// padded with zeros.
int write_profile_name(zklib& lib, const std::string& path, int profile, std::u16string_view text);
// What an identity cell holds: the number, when the key byte after it marks one as stored.
struct StoredIdentity {
    std::optional<std::uint16_t> number;
};
// Reads the identity cell at `address` (the mouse's own at 0xFFFC; S - 4 is the same cell in a
// memory of S bytes) without changing anything; nullopt when the read failed.
std::optional<StoredIdentity> read_stored_identity(zklib& lib, const std::string& path,
                                                   std::uint16_t address = kIdentityAddress);
// What identify() learns of a mouse.
struct Identity {
    std::uint16_t number = 0;  // the identity number kept at 0xFFFC
    int memory_size = 0;       // bytes: 8192 to 32768
};
// The mouse's identity number, written first when the mouse really answered that it holds
// none; also finds the size of its memory and records it in the device list. nullopt when an
// exchange failed: then nothing was written (unless the failure came after the new number was
// stored) and the device list keeps the memory size it had.
std::optional<Identity> identify(zklib& lib, const std::string& path);

}  // namespace zentrik::device
