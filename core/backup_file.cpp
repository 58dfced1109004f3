#include "core/backup_file.h"

#include <chrono>
#include <cstdio>
#include <ctime>

#include "lang/file_bytes.h"
#include "macro/archive_string.h"

namespace zentrik::core {
namespace {

// A header is far smaller; anything beyond the image and this much is not read. One byte past
// the image is enough to refuse a file with bytes after it.
constexpr std::size_t kMaxBackupFileBytes = kMaxBackupImageBytes + 4096;

void put_i32(std::string& out, std::int32_t value) {
    const auto v = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

std::optional<std::int32_t> read_i32(macro::ByteReader& reader) {
    const auto v = reader.read_le(4);
    if (!v)
        return std::nullopt;
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(*v));
}

DecodedBackup invalid() {
    return DecodedBackup{BackupFileError::invalid_format, {}};
}

}  // namespace

std::string encode_backup(const BackupFile& backup) {
    std::string out = macro::archive_string_bytes(kBackupMagic);
    out += macro::archive_string_bytes(backup.date);
    put_i32(out, static_cast<std::int32_t>(backup.image.size()));
    put_i32(out, backup.settings.rate_divisor);
    put_i32(out, backup.settings.wheel_rate);
    for (const auto& level : backup.settings.levels) {
        put_i32(out, level.x);
        put_i32(out, level.y);
    }
    out.append(reinterpret_cast<const char*>(backup.image.data()), backup.image.size());
    return out;
}

DecodedBackup decode_backup(std::span<const std::uint8_t> bytes) {
    macro::ByteReader reader(bytes);
    const auto magic = macro::read_archive_string(reader);
    if (!magic || *magic != kBackupMagic)
        return invalid();
    DecodedBackup decoded;
    BackupFile& b = decoded.backup;
    const auto date = macro::read_archive_string(reader);
    const auto size = read_i32(reader);
    if (!date || !size || *size <= 0 || *size > kMaxBackupImageBytes)
        return invalid();
    b.date = *date;
    const auto rate = read_i32(reader);
    const auto wheel = read_i32(reader);
    if (!rate || !wheel)
        return invalid();
    b.settings.rate_divisor = *rate;
    b.settings.wheel_rate = *wheel;
    for (auto& level : b.settings.levels) {
        const auto x = read_i32(reader);
        const auto y = read_i32(reader);
        if (!x || !y)
            return invalid();
        level = {*x, *y};
    }
    const auto image = reader.read_bytes(static_cast<std::uint64_t>(*size));
    // The header gives the file's whole size: bytes after the image mean the file is not one
    // backup as written (two files run together, a damaged copy), so nothing of it is restored.
    if (!image || reader.remaining() != 0)
        return invalid();
    b.image.assign(image->begin(), image->end());
    return decoded;
}

DecodedBackup load_backup_file(const std::filesystem::path& path) {
    const auto bytes = lang::read_file_bytes(path, kMaxBackupFileBytes);
    if (!bytes)
        return DecodedBackup{BackupFileError::unreadable, {}};
    return decode_backup(
        std::span(reinterpret_cast<const std::uint8_t*>(bytes->data()), bytes->size()));
}

std::string today_date_text() {
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm local{};
    localtime_r(&now, &local);
    char text[16];
    std::strftime(text, sizeof text, "%Y-%m-%d", &local);
    return text;
}

}  // namespace zentrik::core
