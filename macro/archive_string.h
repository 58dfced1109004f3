#pragma once
// Length-prefixed strings as the program's binary files store them.
//
// A first byte below 0xFF is the length of a single-byte string. 0xFF starts a longer form:
// a 16-bit 0xFFFE marks UTF-16 characters and the length starts over (one byte below 0xFF);
// otherwise a 16-bit length below 0xFFFF follows, or 0xFFFF and a 32-bit length below
// 0xFFFFFFFF, or 0xFFFFFFFF and a 64-bit length. Lengths count characters.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace zentrik::macro {

// Reads little-endian values from a byte span; a read past the end fails and leaves the
// position unchanged.
class ByteReader {
  public:
    explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::optional<std::uint64_t> read_le(std::size_t width);
    std::optional<std::span<const std::uint8_t>> read_bytes(std::uint64_t count);
    std::size_t position() const { return pos_; }
    std::size_t remaining() const { return bytes_.size() - pos_; }

  private:
    std::span<const std::uint8_t> bytes_;
    std::size_t pos_ = 0;
};

// The string as UTF-8 (single-byte characters widened: UTF-8 kept, other bytes as Latin-1);
// nullopt when the length form or the characters run past the end of the bytes.
std::optional<std::string> read_archive_string(ByteReader& reader);

// The UTF-16 form of `utf8`, with the shortest length form.
std::string archive_string_bytes(std::string_view utf8);

}  // namespace zentrik::macro
