// The backup file's bytes: field offsets, the string forms, and files that end early.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "core/backup_file.h"
#include "macro/archive_string.h"
#include "macro/macro_file.h"

namespace zentrik::core {
namespace {

std::span<const std::uint8_t> as_bytes(const std::string& s) {
    return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

std::int32_t i32_at(const std::string& s, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i)
        v |= std::uint32_t{static_cast<std::uint8_t>(s[at + i])} << (8 * i);
    return static_cast<std::int32_t>(v);
}

BackupFile sample(std::size_t memory_size = 8192) {
    BackupFile b;
    b.date = "2026-12-08";
    b.settings.rate_divisor = 2;
    b.settings.wheel_rate = 3;
    b.settings.levels = {{{4, 5}, {8, 9}, {16, 17}, {32, 255}}};
    b.image.resize(memory_size);
    for (std::size_t i = 0; i < memory_size; ++i)
        b.image[i] = static_cast<std::uint8_t>(i * 7 + 1);
    return b;
}

TEST(BackupFile, EightKiBMouseGivesHeaderFieldsAtTheirOffsets) {
    const std::string bytes = encode_backup(sample());
    ASSERT_EQ(bytes.size(), 8192u + 88u);
    // Magic: FF, FE FF, length 8, "_@_MBF2_" in UTF-16LE.
    EXPECT_EQ(bytes.substr(0, 4), std::string("\xFF\xFE\xFF\x08", 4));
    EXPECT_EQ(bytes.substr(4, 4), std::string("_\0@\0", 4));
    EXPECT_EQ(bytes.substr(18, 2), std::string("_\0", 2));
    // Date: FF, FE FF, length 10, then 20 bytes.
    EXPECT_EQ(bytes.substr(20, 4), std::string("\xFF\xFE\xFF\x0A", 4));
    EXPECT_EQ(bytes.substr(24, 4), std::string("2\0000\0", 4));
    EXPECT_EQ(i32_at(bytes, 44), 8192);                  // memory size
    EXPECT_EQ(i32_at(bytes, 48), 2);                     // rate divisor
    EXPECT_EQ(i32_at(bytes, 52), 3);                     // wheel rate
    EXPECT_EQ(i32_at(bytes, 56), 4);                     // level 0 X
    EXPECT_EQ(i32_at(bytes, 60), 5);                     // level 0 Y
    EXPECT_EQ(i32_at(bytes, 84), 255);                   // level 3 Y
    EXPECT_EQ(static_cast<std::uint8_t>(bytes[88]), 1);  // image byte 0
    EXPECT_EQ(static_cast<std::uint8_t>(bytes.back()), static_cast<std::uint8_t>(8191 * 7 + 1));
}

TEST(BackupFile, DecodesWhatItEncodes) {
    const BackupFile b = sample(16384);
    const auto decoded = decode_backup(as_bytes(encode_backup(b)));
    ASSERT_EQ(decoded.error, BackupFileError::none);
    EXPECT_EQ(decoded.backup.date, b.date);
    EXPECT_EQ(decoded.backup.settings, b.settings);
    EXPECT_EQ(decoded.backup.image, b.image);
}

TEST(BackupFile, AnyOtherFirstStringIsAnInvalidFormat) {
    const std::string macro_file = macro::macro_file_bytes(std::vector<std::uint8_t>{1, 2, 3});
    EXPECT_EQ(decode_backup(as_bytes(macro_file)).error, BackupFileError::invalid_format);
    std::string other = encode_backup(sample(64));
    other[4] = 'X';
    EXPECT_EQ(decode_backup(as_bytes(other)).error, BackupFileError::invalid_format);
    EXPECT_EQ(decode_backup({}).error, BackupFileError::invalid_format);
}

TEST(BackupFile, FileEndingBeforeItsImageIsCompleteIsAnInvalidFormat) {
    const std::string bytes = encode_backup(sample(256));
    // Every cut in the header, and cuts inside the image down to its last byte.
    for (std::size_t cut = 0; cut < bytes.size(); cut += (cut < 100 ? 1 : 37)) {
        EXPECT_EQ(decode_backup(as_bytes(bytes.substr(0, cut))).error,
                  BackupFileError::invalid_format)
            << "cut at " << cut;
    }
    EXPECT_EQ(decode_backup(as_bytes(bytes.substr(0, bytes.size() - 1))).error,
              BackupFileError::invalid_format);
}

// The header says how long the file is: bytes after the image (one, or 100 MB of them) mean it
// is not one backup as written, and nothing of it is restored.
TEST(BackupFile, BytesAfterTheImageAreAnInvalidFormat) {
    const std::string bytes = encode_backup(sample(8192));
    EXPECT_EQ(decode_backup(as_bytes(bytes + '\0')).error, BackupFileError::invalid_format);
    const auto file = std::filesystem::temp_directory_path() /
                      ("zentrik-trailing-" + std::to_string(::getpid()) + ".mbf");
    std::ofstream(file, std::ios::binary) << bytes;
    EXPECT_EQ(load_backup_file(file).error, BackupFileError::none);
    std::filesystem::resize_file(file, bytes.size() + 100 * 1024 * 1024);
    EXPECT_EQ(load_backup_file(file).error, BackupFileError::invalid_format);
    std::filesystem::remove(file);
}

TEST(BackupFile, MemorySizeOutsideAnyMouseIsAnInvalidFormat) {
    for (std::int32_t size : {0, -1, kMaxBackupImageBytes + 1}) {
        std::string bytes = encode_backup(sample(32));
        for (int i = 0; i < 4; ++i)
            bytes[44 + i] = static_cast<char>((static_cast<std::uint32_t>(size) >> (8 * i)) & 0xFF);
        EXPECT_EQ(decode_backup(as_bytes(bytes)).error, BackupFileError::invalid_format) << size;
    }
}

TEST(BackupFile, MissingFileIsUnreadable) {
    EXPECT_EQ(load_backup_file("/nonexistent/zentrik/backup.mbf").error,
              BackupFileError::unreadable);
}

}  // namespace
}  // namespace zentrik::core
