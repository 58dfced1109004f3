#pragma once
// One record of the macro directory as the mouse keeps it at slot x 32: the start and the end
// address of the macro's range (little-endian; FF FF: an empty slot), then its name in 28 bytes
// of UTF-16LE. Reading and writing single records on the mouse.
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "device/zklib.h"
#include "macro/macro_directory.h"

namespace zentrik::macro {

inline constexpr int kRecordNameOffset = 4;
inline constexpr int kRecordNameBytes = kRecordSize - kRecordNameOffset;
static_assert(kRecordNameBytes == 2 * kMaxNameChars);

// A code-area or directory address as the mouse takes it (16 bits).
std::uint16_t memory_address(int address);

// `name` as a record holds it: its first 14 UTF-16 units, a character that does not fit whole
// left out.
std::string fit_record_name(const std::string& name);
// The name in a record's name bytes: it ends at a zero or an erased (FF FF) character; hidden
// prefixes are dropped.
std::string decode_record_name(std::span<const std::uint8_t> bytes);
// Why `name` cannot be stored so that it reads back as written (a hidden prefix, a control
// character); nullopt when it can (a name longer than a record holds is cut, whole characters).
std::optional<std::string> record_name_problem(const std::string& name);

// Writes the record of `slot`: the name bytes first (all of them for a used slot, the last 4
// for an empty one) and the range last; 1 when every write went through.
int write_directory_record(device::zklib& lib, const std::string& path, int slot, int start,
                           int end, const std::string& name);

// Whether the record of `slot` reads back as naming start..end. A write's reply carries nothing
// to check it by; reading the range back tells a reply that does not belong to the write.
bool record_range_reads_back(device::zklib& lib, const std::string& path, int slot, int start,
                             int end);

// The name in the record of `slot`; nullopt when a read failed.
std::optional<std::string> read_record_name(device::zklib& lib, const std::string& path, int slot);

// The start address of the macro in `slot` as the mouse's directory holds it (what a button
// assigned to that macro names); nullopt when the read failed or the slot is empty or not 0-63.
std::optional<int> read_slot_start(device::zklib& lib, const std::string& path, int slot);

// The name of the macro whose record starts at `address`, read from the mouse's directory;
// nullopt when no record starts there or a read failed.
std::optional<std::string> read_macro_name_at(device::zklib& lib, const std::string& path,
                                              int address);

}  // namespace zentrik::macro
