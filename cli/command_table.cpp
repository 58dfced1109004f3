// The table of zentrikctl's subcommands. Each lives in commands/<name>.cpp.
#include "cli/cli_command.h"
#include "cli/commands/app_profile.h"
#include "cli/commands/autostart.h"
#include "cli/commands/backup.h"
#include "cli/commands/device_commands.h"
#include "cli/commands/hid_caps.h"
#include "cli/commands/keyname.h"
#include "cli/commands/lang.h"
#include "cli/commands/library.h"
#include "cli/commands/macro.h"
#include "cli/commands/macros.h"
#include "cli/commands/profile_file.h"
#include "cli/commands/record.h"
#include "cli/commands/settings_commands.h"
#include "cli/commands/sim_control.h"

namespace zentrik::cli {

const std::vector<CliCommand>& all_commands() {
    static const std::vector<CliCommand> commands = {
        {"list", "list the mice found, with identity and memory size", kDeviceListUsage,
         run_device_list, true},
        {"identify", "read (or give) a mouse's identity number and find its memory size",
         kDeviceIdentifyUsage, run_device_identify, true},
        {"read", "hex dump of a mouse's memory", kDeviceReadUsage, run_device_read},
        {"names", "print the five profile names", kDeviceNamesUsage, run_device_names, true},
        {"name", "name a profile", kDeviceNameUsage, run_device_name},
        {"settings", "show profile, buttons, DPI levels, report rate, angle snap, wheel rate",
         kSettingsShowUsage, run_settings_show, true},
        {"profile", "choose the current profile", kSettingsProfileUsage, run_settings_profile},
        {"button", "give a button of a profile a function", kSettingsButtonUsage,
         run_settings_button},
        {"dpi", "set a DPI level's X and Y resolution", kSettingsDpiUsage, run_settings_dpi},
        {"level", "choose the current DPI level", kSettingsLevelUsage, run_settings_level},
        {"rate", "set the report rate (1000, 500, 333, 250, 200, 166, 142, 125 Hz)",
         kSettingsRateUsage, run_settings_rate},
        {"snap", "turn angle snapping on or off", kSettingsSnapUsage, run_settings_snap},
        {"wheel", "set the wheel rate (1-9)", kSettingsWheelUsage, run_settings_wheel},
        CliCommand{"profile-file", "export a profile to a JSON file, or import one into a profile",
                   kProfileFileUsage, run_profile_file},
        {"backup", "save the whole mouse to a backup file (*.mbf)", kBackupUsage,
         run_backup_command},
        {"restore", "write a backup file into the mouse", kRestoreUsage, run_restore_command},
        {"reset", "return the mouse to its defaults", kResetUsage, run_reset_command},
        {"backups", "list the safety copies taken before restores and resets", kBackupsUsage,
         run_backups_command, true},
        CliCommand{"macro", "show or build a macro file (*.mf)", kMacroUsage, run_macro},
        CliCommand{"macros",
                   "the macros stored in the mouse: list, read, write, rename, remove, defrag",
                   kMacrosUsage, run_macros, true},
        CliCommand{"keyname", "the name a macro shows for a keyboard or consumer key",
                   kKeynameUsage, run_keyname},
        CliCommand{"lang", "every text of the program as the language files give it", kLangUsage,
                   run_lang},
        CliCommand{"library", "the macro library: categories, entries, paths, sizes", kLibraryUsage,
                   run_library},
        CliCommand{"hid-caps", "list the top-level collections of a HID report descriptor",
                   kHidCapsUsage, run_hid_caps, true},
        CliCommand{"autostart", "start the program hidden with the desktop session, or not",
                   kAutostartUsage, run_autostart, true},
        CliCommand{"app-profile", "choose the mouse's profile by the program in front",
                   kAppProfileUsage, run_app_profile, true},
        CliCommand{"notify", "a desktop note when the profile changes while the window is hidden",
                   kNotifyUsage, run_notify, true},
        CliCommand{"unplug", "pull a simulated mouse out (with --simulate)", kSimUnplugUsage,
                   run_sim_unplug},
        CliCommand{"plug", "plug a simulated mouse back in (with --simulate)", kSimPlugUsage,
                   run_sim_plug},
        CliCommand{"event", "make a simulated mouse send its own input report (with --simulate)",
                   kSimEventUsage, run_sim_event},
        CliCommand{"record", "record keys, buttons and wheel from the X display into a macro file",
                   kRecordUsage, run_record},
    };
    return commands;
}

}  // namespace zentrik::cli
