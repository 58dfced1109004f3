#pragma once
// The backup file (".mbf"): the mouse's report rate, wheel rate, DPI levels and its whole memory
// image. Little-endian; the magic and the date are length-prefixed UTF-16 strings.
#include <array>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "device/protocol.h"

namespace zentrik::core {

inline constexpr char kBackupMagic[] = "_@_MBF2_";
inline constexpr char kBackupExtension[] = "mbf";
// A mouse's memory is below 64 KiB; a larger image is not a backup of one.
inline constexpr std::int32_t kMaxBackupImageBytes = 0x10000;

struct DpiSteps {
    std::int32_t x = 0;
    std::int32_t y = 0;
    bool operator==(const DpiSteps&) const = default;
};

// The settings a backup carries besides the memory image.
struct BackupSettings {
    std::int32_t rate_divisor = 1;  // report rate 1000 / divisor Hz, without angle-snap bits
    std::int32_t wheel_rate = 0;
    std::array<DpiSteps, device::kDpiLevelCount> levels{};
    bool operator==(const BackupSettings&) const = default;
};

struct BackupFile {
    std::string date;  // "yyyy-MM-dd" when this program wrote it; not used on restore
    BackupSettings settings;
    std::vector<std::uint8_t> image;  // the memory from address 0; its size is the memory size
};

// The file's bytes.
std::string encode_backup(const BackupFile& backup);

enum class BackupFileError { none, unreadable, invalid_format };

struct DecodedBackup {
    BackupFileError error = BackupFileError::none;
    BackupFile backup;
};

// Checks the whole file: the magic, both strings, every header field and the complete memory
// image. A file that ends early is an invalid format, like a wrong magic.
DecodedBackup decode_backup(std::span<const std::uint8_t> bytes);
// Reads and decodes the file at `path` (unreadable when it cannot be read).
DecodedBackup load_backup_file(const std::filesystem::path& path);

// Today's local date as "yyyy-MM-dd".
std::string today_date_text();

}  // namespace zentrik::core
