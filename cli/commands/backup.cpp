// zentrikctl backup FILE, restore FILE [--verify], reset [--yes].
#include "cli/commands/backup.h"

#include <cstdio>
#include <iostream>
#include <memory>
#include <ostream>

#include "cli/commands/device_session.h"
#include "cli/commands/terminal_progress.h"
#include "cli/commands/window_notice.h"
#include "cli/exit_codes.h"
#include "core/backup_jobs.h"
#include "core/backup_macro_limit.h"
#include "core/mouse_memory.h"
#include "core/safety_copies.h"
#include "device/commands.h"
#include "lang/string_tables.h"
#include "platform/terminal.h"

namespace zentrik::cli {

const char* const kBackupUsage =
    "Usage: zentrikctl backup [--device=N] FILE\n"
    "Saves the mouse's report rate, wheel rate, DPI levels and its whole memory (buttons,\n"
    "names, macros) to FILE (a \".mbf\" backup). FILE is replaced only when the backup is\n"
    "complete.\n";

const char* const kRestoreUsage =
    "Usage: zentrikctl restore [--device=N] [--verify] FILE\n"
    "Writes the backup FILE into the mouse, whose memory size must match. Before the first\n"
    "write the mouse as it is is saved as a safety copy (see 'zentrikctl backups'). The mouse\n"
    "gets its whole macro memory back, also after a reset had made it smaller. --verify reads\n"
    "the memory back afterwards and lists the bytes that differ from FILE.\n";

const char* const kResetUsage =
    "Usage: zentrikctl reset [--device=N] [--yes]\n"
    "Returns the mouse to its defaults: no button functions, no profile names, default DPI\n"
    "levels, an empty macro directory, 500 Hz. Asks first on a terminal; elsewhere --yes is\n"
    "needed. The mouse as it was is saved as a safety copy first.\n";

namespace {

constexpr std::size_t kDifferencesListed = 16;

struct CommandLine {
    std::optional<int> device;
    std::vector<std::string> files;
    bool flag = false;  // --verify or --yes
    bool ok = false;
};

// "--device=N", the one flag the command knows, and positional arguments.
CommandLine parse(CliContext& ctx, const char* command, const char* flag, std::size_t files,
                  const char* usage) {
    CommandLine line;
    auto args = ctx.args;
    line.device = take_device_option(ctx, args);
    if (!line.device)
        return line;
    for (const auto& a : args) {
        if (flag && a == flag) {
            line.flag = true;
        } else if (a.rfind("--", 0) == 0) {
            ctx.err << "zentrikctl " << command << ": unknown option '" << a << "'\n" << usage;
            return line;
        } else {
            line.files.push_back(a);
        }
    }
    if (line.files.size() != files) {
        ctx.err << "zentrikctl " << command << ": "
                << (line.files.size() < files ? "missing FILE" : "too many arguments") << "\n"
                << usage;
        return line;
    }
    line.ok = true;
    return line;
}

std::unique_ptr<core::JobProgress> progress_for(CliContext& ctx, const char* label) {
    if (progress_bar_wanted(ctx.err))
        return std::make_unique<TerminalProgress>(ctx.err, label);
    return std::make_unique<core::NoProgress>();
}

// The exit status of a finished job, after printing its message.
int report(CliContext& ctx, const char* command, const core::JobResult& r) {
    if (!r.message.empty())
        ctx.err << "zentrikctl " << command << ": " << r.message << "\n";
    switch (r.status) {
        case core::JobStatus::done:
            return kExitOk;
        case core::JobStatus::cancelled:
            return kExitDeclined;
        case core::JobStatus::refused:
            return kExitBadFile;
        case core::JobStatus::failed:
            return r.file_failed ? kExitBadFile : kExitDevice;
    }
    return kExitFailure;
}

// Reads the memory back and prints where it differs from `image` (the last 4 bytes, which a
// restore never writes, are not compared). The exit status.
int verify(CliContext& ctx, AddressedMouse& mouse, const std::vector<std::uint8_t>& image) {
    auto progress = progress_for(ctx, "verify");
    progress->begin("");
    const auto read =
        core::read_memory_image(*mouse.lib, mouse.device.path, mouse.device.memory_size,
                                [&progress](double f) { progress->set_fraction(f); });
    progress->end();
    if (!read) {
        ctx.err << "zentrikctl restore: the mouse did not answer while it was read back\n";
        return kExitDevice;
    }
    std::size_t differ = 0;
    for (std::size_t a = 0; a + core::kSparedTopBytes < image.size(); ++a) {
        if ((*read)[a] == image[a])
            continue;
        if (++differ <= kDifferencesListed) {
            char text[64];
            std::snprintf(text, sizeof text, "  %04zx: file %02x, mouse %02x\n", a, image[a],
                          (*read)[a]);
            ctx.out << text;
        }
    }
    if (differ > kDifferencesListed)
        ctx.out << "  ... and " << differ - kDifferencesListed << " more\n";
    ctx.out << "verify: " << differ << (differ == 1 ? " byte differs" : " bytes differ") << "\n";
    // The macro capacity the restore gave back.
    const auto limit = device::read_macro_limit(*mouse.lib, mouse.device.path);
    const int wanted = core::restored_macro_limit(image);
    if (!limit) {
        ctx.err << "zentrikctl restore: the mouse did not answer while its macro limit was read\n";
        return kExitDevice;
    }
    if (*limit != wanted) {
        char text[80];
        std::snprintf(text, sizeof text, "verify: macro limit %04x, expected %04x\n", *limit,
                      wanted);
        ctx.out << text;
        return kExitDevice;
    }
    return differ == 0 ? kExitOk : kExitDevice;
}

void print_safety_copy(CliContext& ctx, const core::JobResult& r) {
    if (r.safety_copy)
        ctx.out << "safety copy: " << r.safety_copy->string() << "\n";
}

bool confirmed_on_terminal(CliContext& ctx) {
    const auto& texts = lang::strings();
    ctx.err << texts.message(lang::kMsgResetTitle) << ": " << texts.message(lang::kMsgResetQuestion)
            << " [y/N] " << std::flush;
    std::string answer;
    if (!std::getline(std::cin, answer))
        return false;
    return answer == "y" || answer == "Y" || answer == "yes" || answer == "Yes";
}

}  // namespace

int run_backup_command(CliContext& ctx) {
    const auto line = parse(ctx, "backup", nullptr, 1, kBackupUsage);
    if (!line.ok)
        return kExitUsage;
    int status = kExitOk;
    auto mouse = open_addressed_mouse(ctx, *line.device, status, "backup: the mouse did not answer",
                                      MouseUse::kJob);
    if (!mouse)
        return status;
    const auto current = core::read_backup_settings(*mouse->lib, mouse->device);
    if (!current) {
        ctx.err << "zentrikctl backup: error: the mouse did not answer\n";
        return kExitDevice;
    }
    auto progress = progress_for(ctx, "backup");
    const auto r =
        core::backup_to_file(*mouse->lib, mouse->device, *current, line.files[0], *progress);
    if (r.ok())
        ctx.out << "saved " << mouse->device.memory_size << " bytes of memory to " << line.files[0]
                << "\n";
    return report(ctx, "backup", r);
}

int run_restore_command(CliContext& ctx) {
    const auto line = parse(ctx, "restore", "--verify", 1, kRestoreUsage);
    if (!line.ok)
        return kExitUsage;
    const std::string& file = line.files[0];
    // The whole file is checked before the mouse is touched.
    const auto decoded = core::load_backup_file(file);
    if (decoded.error == core::BackupFileError::unreadable) {
        ctx.err << "zentrikctl restore: cannot read " << file << "\n";
        return kExitBadFile;
    }
    if (decoded.error == core::BackupFileError::invalid_format) {
        ctx.err << "zentrikctl restore: " << file << ": " << core::kMsgInvalidFormat << "\n";
        return kExitBadFile;
    }
    int status = kExitOk;
    auto mouse = open_addressed_mouse(ctx, *line.device, status,
                                      "restore: the mouse did not answer", MouseUse::kJob);
    if (!mouse)
        return status;
    const WindowNotice notice(*mouse, core::kChangedEverything);
    auto progress = progress_for(ctx, "restore");
    const auto r = core::restore_backup(*mouse->lib, mouse->device, decoded.backup, *progress,
                                        core::default_overwrite_options());
    print_safety_copy(ctx, r);
    status = report(ctx, "restore", r);
    if (status != kExitOk)
        return status;
    ctx.out << "restored " << file << "\n";
    return line.flag ? verify(ctx, *mouse, decoded.backup.image) : kExitOk;
}

int run_reset_command(CliContext& ctx) {
    const auto line = parse(ctx, "reset", "--yes", 0, kResetUsage);
    if (!line.ok)
        return kExitUsage;
    if (!line.flag) {
        if (!platform::stdin_is_terminal()) {
            ctx.err << "zentrikctl reset: not asking without a terminal; give --yes to reset\n";
            return kExitUsage;
        }
        if (!confirmed_on_terminal(ctx))
            return kExitDeclined;
    }
    int status = kExitOk;
    auto mouse = open_addressed_mouse(ctx, *line.device, status, "reset: the mouse did not answer",
                                      MouseUse::kJob);
    if (!mouse)
        return status;
    const WindowNotice notice(*mouse, core::kChangedEverything);
    auto progress = progress_for(ctx, "reset");
    const auto r =
        core::reset_mouse(*mouse->lib, mouse->device, *progress, core::default_overwrite_options());
    print_safety_copy(ctx, r);
    if (r.ok())
        ctx.out << "the mouse is reset to its defaults\n";
    return report(ctx, "reset", r);
}

}  // namespace zentrik::cli
