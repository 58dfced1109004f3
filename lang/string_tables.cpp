#include "lang/string_tables.h"

#include <string_view>

#include "lang/code_pages.h"
#include "lang/ini_file.h"
#include "lang/language_files.h"
#include "lang/language_id.h"

namespace zentrik::lang {
namespace {

const char* const kButtonNames[] = {
    "Left click", "Right click",      "Wheel click",      "Forward",
    "Backward",   "Zentrik Button 1", "Zentrik Button 2", "Tilt left",
    "Tilt right", "Scroll up",        "Scroll down",      kStopMarker,
};

const char* const kFunctionNames[] = {
    "Default",      "Disable",     "Left click",   "Right click", "Wheel click", "Forward",
    "Backward",     "Cut",         "Copy",         "Paste",       "Web browser", "My computer",
    "Email reader", "Calculator",  "Media player", "Mute",        "Volume +",    "Volume -",
    "Adjust lift",  "Lock X-axis", "Lock Y-axis",  "Speedup 2x",  "Speedup 3x",  "Speedup 4x",
    "Speedup 5x",   "Speedup 6x",  "Speedup 7x",   "Speedup 8x",  "Speedup 9x",  kStopMarker,
};

const char* const kMenuTexts[] = {"Restore", "Exit", "Backup", "Restore", "Reset", "macro library"};

const char* const kMessages[] = {
    "Can not detect mouse !!\nPlease check the connection.",
    "Please select a device:",
    "Remaining: %d B , Total: %d B",
    "Overwrite",
    "Overwrite macro '%s' ?",
    "Defrag",
    "Not enough continuous space to save, defrag the memory?\r\n"
    "**CAUTION !! don't un-plug the mouse until during the defragment**\r\n"
    "**Suggest to backup before defragment**",
    "Remove",
    "Remove macro '%s' ?",
    "insufficient memory !!",
    "Record the duration or invervals",
    "setting X axle and Y axle resolution independently",
    "Report rate:",
    "Reset",
    "All setting will lose, continue?",
    "Wait keyboard action ...",
    "Wait mouse action ...",
    "Wait scroll action ...",
    "Enable angle snapping",
    "Scroll Acceleration:",
    kStopMarker,
};

const char* const kTooltips[] = {
    "Drag-drop it into editor area to insert 'wait command'",
    "Drag-drop it into editor area to insert 'keydown command'",
    "Drag-drop it into editor area to insert 'keyup command'",
    "Drag-drop it into editor area to insert 'mouse button down command'",
    "Drag-drop it into editor area to insert 'mouse button up command'",
    "Drag-drop it into editor area to insert 'wheel scoll command'",
    "Reset macro edit",
    "Record keyboard or mouse action",
    "Stop record",
    "Export macro to a file",
    "Import macro from file",
    "Drag-drop macro or command here to discard",
};

const char* const kMacroTexts[] = {
    "Execute one time",
    "Loop mode",
    "Firekey mode",
    "Press & hold Keyboard  %s",
    "Release Keyboard  %s",
    "Wait %d ms",
    "Jump to address %d",
    "Set ACC=ACC-1, if ACC!=0 then jump to address %d",
    "Set ACC=%d",
    "Release Consumer-key",
    "Press & hold Consumer-key  %s",
    "Mouse Movement (%d , %d)",
    "Wheel Scrolling  %d count(unit)",
    "Press & hold mouse button ",
    "Release mouse button ",
    "System command",
};

const char* const kMacroButtonNames[] = {"Left", "Right", "Middle", "B4", "B5"};

const char* const kTabTexts[] = {"Device list", "Control panel", "Button function",
                                 "Macro management", "DPI & tool"};

const char* const kPanelCaptions[] = {
    "Function list", "Macro (Mouse Memory)",
    "Macro Editor",  "Built-in",
    "User Macro",    "Type",
    "Unknown",       "Empty",
    "Mode",          "End",
    "Macro Library", "Damaged",
};

// The prefix of the keys that hold this program's own texts.
constexpr std::string_view kOwnTextPrefix = "zk_";

// The wired-mode notes of the two languages that have one.
constexpr char kWiredNote1028[] = "\r\n\r\n只支援有線模式";
constexpr char kWiredNote1042[] =
    "\r\n\r\n본 제품은 유선으로 사용할 경우에만 매크로 프로그램을 사용 할 수 있습니다";

template <std::size_t N>
void fill(std::array<std::string, N>& table, const char* const (&defaults)[N]) {
    for (std::size_t i = 0; i < N; ++i)
        table[i] = defaults[i];
}

const std::string& at_or_empty(const std::vector<std::string>& table, int i) {
    static const std::string empty;
    if (i < 0 || static_cast<std::size_t>(i) >= table.size())
        return empty;
    return table[static_cast<std::size_t>(i)];
}

// Translators write line breaks as the two characters backslash-n; backslash-r is dropped.
std::string apply_line_escapes(std::string text) {
    auto replace_all = [&text](std::string_view from, std::string_view to) {
        std::size_t pos = 0;
        while ((pos = text.find(from, pos)) != std::string::npos) {
            text.replace(pos, from.size(), to);
            pos += to.size();
        }
    };
    replace_all("\\r", "");
    replace_all("\\n", "\r\n");
    return text;
}

// One translated text of the language section, or nullopt when the key is absent or holds the
// "no string" marker.
class Translation {
  public:
    Translation(IniFile file, std::string section)
        : file_(std::move(file)), section_(std::move(section)) {}

    std::optional<std::string> text(std::string_view key) const { return in(section_, key); }
    std::optional<std::string> in(std::string_view section, std::string_view key) const {
        auto value = file_.find(section, key);
        if (!value || *value == kNoStringMarker)
            return std::nullopt;
        return value;
    }
    std::string indexed_or(const char* prefix, std::size_t index, std::string_view fallback) const {
        return text(prefix + std::to_string(index)).value_or(std::string(fallback));
    }

  private:
    IniFile file_;
    std::string section_;
};

// Fills a walked table: each entry before the sentinel may be replaced; the sentinel itself is
// never replaced, so code walking the table always finds its end.
template <std::size_t N>
std::vector<std::string> walked_table(const Translation& tr, const char* prefix,
                                      const char* const (&defaults)[N], bool line_escapes) {
    std::vector<std::string> table;
    table.reserve(N);
    for (std::size_t i = 0; i < N; ++i) {
        if (std::string_view(defaults[i]) == kStopMarker) {
            table.emplace_back(kStopMarker);
            break;
        }
        std::string value = tr.indexed_or(prefix, i, defaults[i]);
        table.push_back(line_escapes ? apply_line_escapes(std::move(value)) : std::move(value));
    }
    return table;
}

template <std::size_t N>
void translate(std::array<std::string, N>& table, const Translation& tr, const char* prefix) {
    for (std::size_t i = 0; i < N; ++i)
        table[i] = tr.indexed_or(prefix, i, table[i]);
}

int language_id_for(const LanguageSources& sources) {
    if (sources.chosen_language_id)
        return *sources.chosen_language_id;
    const int user = sources.user_language_id ? *sources.user_language_id
                                              : language_id_from_locale(user_locale_name());
    for (const auto& path :
         set_ini_search_order(sources.module_directory, sources.config_directory)) {
        if (path.parent_path().empty())
            continue;
        const int chosen = IniFile::load(path).get_int("LANG", "id", 0);
        if (chosen > 0)
            return chosen;
    }
    return user & 0xFFF;
}

StringTables* global_tables() {
    static StringTables tables = default_string_tables();
    return &tables;
}

}  // namespace

const std::string& StringTables::button_name(int i) const {
    return at_or_empty(button_names, i);
}
const std::string& StringTables::function_name(int i) const {
    return at_or_empty(function_names, i);
}
const std::string& StringTables::message(int i) const {
    return at_or_empty(messages, i);
}
const std::string& StringTables::macro_text(int i) const {
    static const std::string empty;
    if (i < 0 || i >= kMacroTextCount)
        return empty;
    return macro_texts[static_cast<std::size_t>(i)];
}

StringTables default_string_tables() {
    StringTables t;
    t.button_names.assign(std::begin(kButtonNames), std::end(kButtonNames));
    t.function_names.assign(std::begin(kFunctionNames), std::end(kFunctionNames));
    t.messages.assign(std::begin(kMessages), std::end(kMessages));
    fill(t.menu_texts, kMenuTexts);
    fill(t.tooltips, kTooltips);
    fill(t.macro_texts, kMacroTexts);
    fill(t.macro_button_names, kMacroButtonNames);
    fill(t.tab_texts, kTabTexts);
    fill(t.panel_captions, kPanelCaptions);
    return t;
}

StringTables load_string_tables(const LanguageSources& sources) {
    const int language_id = language_id_for(sources);
    // An 8-bit file's sections outside the language ones ([APP]) are in the language's code
    // page too.
    return translated_string_tables(language_id,
                                    IniFile::load(sources.module_directory / kLanguageIniName,
                                                  language_code_page(language_id)));
}

StringTables translated_string_tables(int language_id, const IniFile& language_file) {
    StringTables t = default_string_tables();
    t.language_id = language_id;
    t.language_section = std::to_string(t.language_id);
    if (t.language_id == 1028)
        t.wired_mode_note = kWiredNote1028;
    if (t.language_id == 1042)
        t.wired_mode_note = kWiredNote1042;

    const Translation tr(language_file, t.language_section);
    t.button_names = walked_table(tr, "button_str", kButtonNames, false);
    t.caption = tr.in("APP", "str").value_or(kDefaultCaption);
    for (std::size_t i = 0; i < t.process_captions.size(); ++i) {
        if (auto v = tr.text("proc_str" + std::to_string(i)))
            t.process_captions[i] = *v;
    }
    t.function_names = walked_table(tr, "func_str", kFunctionNames, true);
    translate(t.menu_texts, tr, "memu_str");
    t.messages = walked_table(tr, "msg_str", kMessages, true);
    translate(t.tooltips, tr, "tooltip_str");
    translate(t.macro_texts, tr, "macro_str");
    translate(t.macro_button_names, tr, "macro_bt_str");
    translate(t.tab_texts, tr, "tab_str");
    translate(t.panel_captions, tr, "caption_str");
    for (const auto& [key, value] : language_file.entries(t.language_section)) {
        if (key.starts_with(kOwnTextPrefix) && value != kNoStringMarker)
            t.own_texts[key] = apply_line_escapes(value);
    }
    return t;
}

void load_language(const LanguageSources& sources) {
    *global_tables() = load_string_tables(sources);
}

const StringTables& strings() {
    return *global_tables();
}

std::string own_text(std::string_view key, std::string_view english) {
    const auto& own = strings().own_texts;
    if (auto it = own.find(key); it != own.end())
        return it->second;
    return std::string(english);
}

}  // namespace zentrik::lang
