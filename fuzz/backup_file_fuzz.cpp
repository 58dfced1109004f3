// Backup files (".mbf") come from anywhere on disk and are written into a mouse: a file that is
// accepted must hold its whole header and image, and must read back the same once written again.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>

#include "core/backup_file.h"

using namespace zentrik::core;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    const DecodedBackup decoded = decode_backup(bytes);
    if (decoded.error != BackupFileError::none)
        return 0;
    const BackupFile& b = decoded.backup;
    if (b.image.empty() || b.image.size() > static_cast<std::size_t>(kMaxBackupImageBytes) ||
        b.image.size() > size) {
        std::abort();  // an image the file cannot have held
    }
    const std::string again = encode_backup(b);
    const DecodedBackup round =
        decode_backup(std::span(reinterpret_cast<const std::uint8_t*>(again.data()), again.size()));
    if (round.error != BackupFileError::none || round.backup.image != b.image ||
        round.backup.settings != b.settings || round.backup.date != b.date) {
        std::abort();
    }
    return 0;
}
