#pragma once
// The program's user-visible texts: English defaults compiled in, replaceable per language from
// "language.ini". Filled once while the main window is built; read by index everywhere after.
#include <array>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace zentrik::lang {

class IniFile;

// Ends the walked tables (button names, function names, messages).
inline constexpr char kStopMarker[] = "_STOP_";
// A key whose value is exactly this counts as missing.
inline constexpr char kNoStringMarker[] = "@_NOSTR_";
inline constexpr char kDefaultCaption[] = "Zentrik Mouse  Rev 1.0";

// Button name indices (the interface order of the eleven buttons).
inline constexpr int kButtonCount = 11;
// Function list indices.
inline constexpr int kFunctionCount = 29;
inline constexpr int kFunctionDefault = 0;
inline constexpr int kFunctionDisable = 1;

// Message indices.
enum Message : int {
    kMsgNoMouse = 0,              // "Can not detect mouse ..."
    kMsgSelectDevice = 1,         // "Please select a device:"
    kMsgMemoryUsage = 2,          // "Remaining: %d B , Total: %d B"
    kMsgOverwriteTitle = 3,       // "Overwrite"
    kMsgOverwriteQuestion = 4,    // "Overwrite macro '%s' ?"
    kMsgDefragTitle = 5,          // "Defrag"
    kMsgDefragQuestion = 6,       // "Not enough continuous space ..."
    kMsgRemoveTitle = 7,          // "Remove"
    kMsgRemoveQuestion = 8,       // "Remove macro '%s' ?"
    kMsgInsufficientMemory = 9,   // "insufficient memory !!"
    kMsgRecordDuration = 10,      // "Record the duration or invervals"
    kMsgIndependentXY = 11,       // "setting X axle and Y axle resolution independently"
    kMsgReportRate = 12,          // "Report rate:"
    kMsgResetTitle = 13,          // "Reset"
    kMsgResetQuestion = 14,       // "All setting will lose, continue?"
    kMsgWaitKeyboard = 15,        // "Wait keyboard action ..."
    kMsgWaitMouse = 16,           // "Wait mouse action ..."
    kMsgWaitScroll = 17,          // "Wait scroll action ..."
    kMsgAngleSnapping = 18,       // "Enable angle snapping"
    kMsgScrollAcceleration = 19,  // "Scroll Acceleration:"
    kMessageCount = 20,
};

// Menu and tool text indices.
enum MenuText : int {
    kMenuTrayRestore = 0,
    kMenuTrayExit = 1,
    kMenuBackup = 2,   // "bt_backup"
    kMenuRestore = 3,  // "bt_restore"
    kMenuReset = 4,    // "bt_reset"
    kMenuLibrary = 5,  // "bt_lib"
    kMenuTextCount = 6,
};

// Macro text indices (templates of the instruction texts).
enum MacroText : int {
    kMacroOnce = 0,           // "Execute one time"
    kMacroLoop = 1,           // "Loop mode"
    kMacroFirekey = 2,        // "Firekey mode"
    kMacroKeyDown = 3,        // "Press & hold Keyboard  %s"
    kMacroKeyUp = 4,          // "Release Keyboard  %s"
    kMacroWait = 5,           // "Wait %d ms"
    kMacroJump = 6,           // "Jump to address %d"
    kMacroLoopJump = 7,       // "Set ACC=ACC-1, if ACC!=0 then jump to address %d"
    kMacroSetCounter = 8,     // "Set ACC=%d"
    kMacroConsumerUp = 9,     // "Release Consumer-key"
    kMacroConsumerDown = 10,  // "Press & hold Consumer-key  %s"
    kMacroMouseMove = 11,     // "Mouse Movement (%d , %d)"
    kMacroWheel = 12,         // "Wheel Scrolling  %d count(unit)"
    kMacroMouseDown = 13,     // "Press & hold mouse button "
    kMacroMouseUp = 14,       // "Release mouse button "
    kMacroSystem = 15,        // "System command"
    kMacroTextCount = 16,
};

inline constexpr int kProcessCaptionCount = 10;
inline constexpr int kTooltipCount = 12;
inline constexpr int kMacroButtonCount = 5;
inline constexpr int kTabCount = 5;
inline constexpr int kPanelCaptionCount = 12;

// Panel caption indices.
enum PanelCaption : int {
    kCaptionFunctionList = 0,
    kCaptionMouseMacros = 1,
    kCaptionMacroEditor = 2,
    kCaptionBuiltIn = 3,
    kCaptionUserMacro = 4,
    kCaptionType = 5,
    kCaptionUnknown = 6,
    kCaptionEmpty = 7,
    kCaptionMode = 8,
    kCaptionEnd = 9,
    kCaptionMacroLibrary = 10,
    kCaptionDamaged = 11,  // marks a macro whose directory record is damaged
};

struct StringTables {
    int language_id = 1033;
    std::string language_section = "1033";  // decimal text of language_id
    std::string wired_mode_note;            // appended to kMsgNoMouse where no mouse is shown
    std::string caption = kDefaultCaption;
    std::vector<std::string> button_names;  // kButtonCount entries, then kStopMarker
    std::array<std::string, kProcessCaptionCount> process_captions;  // empty unless translated
    std::vector<std::string> function_names;  // kFunctionCount entries, then kStopMarker
    std::array<std::string, kMenuTextCount> menu_texts;
    std::vector<std::string> messages;  // kMessageCount entries, then kStopMarker
    std::array<std::string, kTooltipCount> tooltips;
    std::array<std::string, kMacroTextCount> macro_texts;
    std::array<std::string, kMacroButtonCount> macro_button_names;
    std::array<std::string, kTabCount> tab_texts;
    std::array<std::string, kPanelCaptionCount> panel_captions;
    // This program's own texts that the original tables have no place for (progress phases,
    // dialog titles, notes): translated values of the section's "zk_" keys, read by own_text().
    std::map<std::string, std::string, std::less<>> own_texts;

    // Bounds-checked readers: an index outside the table gives an empty text.
    const std::string& button_name(int i) const;
    const std::string& function_name(int i) const;
    const std::string& message(int i) const;
    const std::string& macro_text(int i) const;
    // Message 0 with the wired-mode note, as the "no mouse connected" box shows it.
    std::string no_mouse_text() const { return message(kMsgNoMouse) + wired_mode_note; }
};

// The English defaults (language 1033, nothing read from any file).
StringTables default_string_tables();

// Where the language comes from.
struct LanguageSources {
    std::filesystem::path module_directory;  // "language.ini" and the program's "set.ini"
    std::filesystem::path config_directory;  // per-user "set.ini", consulted first; may be empty
    // The user's language id before masking; nullopt reads it from the locale environment.
    std::optional<int> user_language_id = std::nullopt;
    // A language chosen outright (a tool's option); wins over "set.ini" and the user's language.
    std::optional<int> chosen_language_id = std::nullopt;
};

// Builds the tables as the program does at start-up (no global state touched).
StringTables load_string_tables(const LanguageSources& sources);
// The tables of `language_id` with the texts of its section in `language_file` (a parsed
// "language.ini"): what load_string_tables builds once it knows the language and read the file.
StringTables translated_string_tables(int language_id, const IniFile& language_file);

// Loads the language into the program-wide tables; called once while the window is built.
void load_language(const LanguageSources& sources);
// The program-wide tables: the English defaults until load_language has run.
const StringTables& strings();

// One of the program's own texts: the language section's value of `key` (a "zk_" key, e.g.
// "zk_progress_load") when the language file gives one, else `english`. Line escapes apply as
// in the other tables.
std::string own_text(std::string_view key, std::string_view english);

}  // namespace zentrik::lang
