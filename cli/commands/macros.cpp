// zentrikctl macros: the macros stored in the mouse, and moving them between mouse and files.
#include "cli/commands/macros.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <iostream>
#include <ostream>

#include "cli/commands/device_session.h"
#include "cli/commands/window_notice.h"
#include "cli/exit_codes.h"
#include "core/button_functions.h"
#include "core/macro_users.h"
#include "core/profile_name.h"
#include "core/safety_copies.h"
#include "device/commands.h"
#include "lang/string_tables.h"
#include "lang/text_codec.h"
#include "macro/macro_file.h"
#include "macro/macro_memory.h"
#include "macro/slot_code.h"
#include "ui/dialogs.h"

namespace zentrik::cli {

const char kMacrosUsage[] =
    "Usage: zentrikctl macros [--device=N] [--json]\n"
    "       zentrikctl macros [--device=N] read SLOT OUT.mf\n"
    "       zentrikctl macros [--device=N] write SLOT IN.mf [--name NAME] [--yes]\n"
    "       zentrikctl macros [--device=N] rename SLOT NAME\n"
    "       zentrikctl macros [--device=N] remove SLOT\n"
    "       zentrikctl macros [--device=N] defrag\n"
    "The macros stored in the mouse's macro memory (slots 0 to 63).\n\n"
    "  (none)  one line per used slot: slot, name, address range, size in bytes (end byte\n"
    "          included) and the profiles (0-4) whose buttons use it; then the free and total\n"
    "          bytes. --json prints the same as JSON, with each macro's code in hex and the\n"
    "          buttons (numbered as 'zentrikctl button' numbers them) that use it. A damaged\n"
    "          record (a range outside the code area or over another macro) is marked; it\n"
    "          can only be removed, and defrag refuses while it is there.\n"
    "  read    saves the slot's macro as a macro file.\n"
    "  write   stores a macro file's macro in the slot (an empty slot is named \"Unknown NN\",\n"
    "          or NAME). Overwriting a used slot asks first; --yes answers yes to that and to\n"
    "          defragmenting when the free bytes are enough but not in one piece.\n"
    "  rename  gives the slot's macro a new name (at most 14 characters).\n"
    "  remove  empties the slot; the buttons that used the macro get their default function\n"
    "          first, and a note on stderr names them as the window does (\"Games: Forward,\n"
    "          profile 2: Backward\"; an unnamed profile shows as 'profile N', N from 1).\n"
    "  defrag  moves the macros together at the start of the code area, in slot order, into\n"
    "          slots 0, 1, 2, ...; buttons follow their macros. A copy of the mouse's memory is\n"
    "          saved first (its path is printed).\n\n"
    "Exit status: 0 done, 1 other failure, 2 bad command line, 3 no mouse, 4 an exchange with\n"
    "the mouse failed, 5 a file could not be read or written or is not a valid macro file,\n"
    "6 a question was answered no, 7 another program kept using the mouse (nothing changed).\n";

namespace {

MouseSafetyCopy& safety_copy_override() {
    static MouseSafetyCopy copy;
    return copy;
}

// Messages on stderr; questions answered by --yes, else read from stdin (anything but y/yes,
// end of input included, is no).
class CliDialogs final : public ui::Dialogs {
  public:
    CliDialogs(std::ostream& err, bool yes) : err_(err), yes_(yes) {}
    void message(const std::string&, const std::string& text) override {
        if (!text.empty())
            err_ << "zentrikctl macros: " << text << "\n";
    }
    bool ask_yes_no(const std::string&, const std::string& text) override {
        asked = true;
        if (yes_)
            return true;
        err_ << text << " [y/N] " << std::flush;
        std::string line;
        if (!std::getline(std::cin, line))
            return false;
        return line == "y" || line == "Y" || line == "yes";
    }
    std::optional<std::filesystem::path> open_file(const ui::FileDialogRequest&) override {
        return std::nullopt;
    }
    std::optional<std::filesystem::path> save_file(const ui::FileDialogRequest&) override {
        return std::nullopt;
    }
    bool asked = false;

  private:
    std::ostream& err_;
    bool yes_;
};

std::string hex(std::span<const std::uint8_t> bytes) {
    std::string out;
    char b[4];
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(b, sizeof b, i ? " %02x" : "%02x", bytes[i]);
        out += b;
    }
    return out;
}

std::string range_text(const macro::MacroSlot& s) {
    char b[16];
    std::snprintf(b, sizeof b, "%04x-%04x", s.start, s.end);
    return b;
}

struct Session {
    AddressedMouse mouse;
    int memory_size = 0;
    device::ButtonTable buttons;
    std::unique_ptr<macro::MacroMemory> memory;
};

// Opens the mouse, reads its buttons (all five profiles) and its macro directory.
// Held by pointer: the macro memory keeps a reference to the button table.
std::unique_ptr<Session> open_session(CliContext& ctx, int index, int& status) {
    auto mouse = open_addressed_mouse(
        ctx, index, status, "macros: the mouse did not answer (identifying it)", MouseUse::kJob);
    if (!mouse)
        return nullptr;
    auto session = std::make_unique<Session>();
    Session& s = *session;
    s.mouse = std::move(*mouse);
    device::zklib& lib = *s.mouse.lib;
    const std::string& path = s.mouse.device.path;
    s.memory_size = s.mouse.device.memory_size;
    // The table in label order, as `zentrikctl button` numbers the buttons.
    for (int p = 0; p < device::kProfileCount; ++p) {
        for (int b = 0; b < device::kButtonCount; ++b) {
            const auto f = device::read_button(lib, path, p, core::button_info(b).device_index);
            if (!f) {
                ctx.err << "zentrikctl macros: the mouse did not answer (reading its buttons)\n";
                status = kExitDevice;
                return nullptr;
            }
            s.buttons.set(p, b, {(f->kind & 0x80) != 0, f->value});
        }
        s.buttons.set_loaded(p, true);
    }
    s.memory = std::make_unique<macro::MacroMemory>(lib, path, s.buttons);
    s.memory->set_device_button([](int b) { return core::button_info(b).device_index; });
    if (!s.memory->load_directory()) {
        ctx.err << "zentrikctl macros: the mouse did not answer, or its macro limit lies outside "
                   "its memory (reading its macro directory)\n";
        status = kExitDevice;
        return nullptr;
    }
    return session;
}

std::optional<int> parse_slot(CliContext& ctx, const std::string& text) {
    const auto n = parse_number(text);
    if (!n || *n < 0 || *n >= macro::kSlotCount) {
        ctx.err << "zentrikctl macros: SLOT must be a number from 0 to 63, not '" << text << "'\n";
        return std::nullopt;
    }
    return static_cast<int>(*n);
}

int list_macros(CliContext& ctx, Session& s, bool json) {
    const auto& dir = s.memory->directory();
    nlohmann::json macros = nlohmann::json::array();
    for (int slot = 0; slot < macro::kSlotCount; ++slot) {
        const auto& m = dir.slots[slot];
        if (!m.used())
            continue;
        std::vector<int> profiles;
        nlohmann::json buttons = nlohmann::json::array();
        for (int p = 0; p < device::kProfileCount; ++p) {
            if (m.profiles[p])
                profiles.push_back(p);
            for (int b = 0; b < device::kButtonCount; ++b) {
                const auto a = s.buttons.get(p, b);
                if (a.remapped && a.code == m.start)
                    buttons.push_back({{"profile", p}, {"button", b}});
            }
        }
        if (json) {
            nlohmann::json entry = {{"slot", slot},      {"name", m.name},   {"start", m.start},
                                    {"end", m.end},      {"size", m.size()}, {"damaged", m.damaged},
                                    {"mode", nullptr},   {"code", nullptr},  {"profiles", profiles},
                                    {"buttons", buttons}};
            // A damaged record's range is not the macro's: nothing is read from it.
            if (!m.damaged) {
                const auto code = s.memory->read_macro_code(slot);
                if (!code) {
                    ctx.err << "zentrikctl macros: the mouse did not answer (reading slot " << slot
                            << ")\n";
                    return kExitDevice;
                }
                entry["mode"] = m.mode;
                entry["code"] = hex(*code);
            }
            macros.push_back(std::move(entry));
            continue;
        }
        std::string used;
        for (int p : profiles)
            used += (used.empty() ? "" : ",") + std::to_string(p);
        char line[160];
        std::snprintf(line, sizeof line, "%2d  %-14s  %s  %5d  %s%s\n", slot, m.name.c_str(),
                      range_text(m).c_str(), m.size(), used.empty() ? "-" : used.c_str(),
                      m.damaged ? "  DAMAGED record (remove it)" : "");
        ctx.out << line;
    }
    if (json) {
        const nlohmann::json doc = {{"device", s.mouse.device.path},
                                    {"macros", macros},
                                    {"free_bytes", dir.free_bytes},
                                    {"total_bytes", dir.total_bytes},
                                    {"macro_limit", dir.macro_limit}};
        ctx.out << doc.dump(2) << "\n";
    } else {
        ctx.out << "free " << dir.free_bytes << " of " << dir.total_bytes << " bytes\n";
    }
    return kExitOk;
}

// The backup module's safety copy (a backup file under $XDG_STATE_HOME/zentrik/backups).
std::optional<std::filesystem::path> backup_safety_copy(device::zklib& lib, const std::string& path,
                                                        int memory_size) {
    auto device = lib.find_device(path);
    if (!device)
        return std::nullopt;
    device->memory_size = memory_size;
    core::NoProgress quiet;
    return core::save_safety_copy(lib, *device, quiet);
}

MouseSafetyCopy safety_copy_for() {
    return safety_copy_override() ? safety_copy_override() : MouseSafetyCopy(backup_safety_copy);
}

macro::MacroMemory::SafetyCopy bound_copy(CliContext& ctx, Session& s) {
    return [&ctx, &s] {
        auto file = safety_copy_for()(*s.mouse.lib, s.mouse.device.path, s.memory_size);
        if (file)
            ctx.err << "zentrikctl macros: a copy of the mouse's memory was saved to "
                    << file->string() << "\n";
        return file;
    };
}

bool refuse_damaged(CliContext& ctx, const macro::MacroSlot& m, int slot) {
    if (!m.damaged)
        return false;
    ctx.err << "zentrikctl macros: the record of slot " << slot << " is damaged (it names "
            << range_text(m) << "); it can only be removed\n";
    return true;
}

int read_slot(CliContext& ctx, Session& s, int slot, const std::string& out) {
    if (!s.memory->directory().slots[slot].used()) {
        ctx.err << "zentrikctl macros: slot " << slot << " is empty\n";
        return kExitFailure;
    }
    if (refuse_damaged(ctx, s.memory->directory().slots[slot], slot))
        return kExitFailure;
    const auto code = s.memory->read_macro_code(slot);
    if (!code) {
        ctx.err << "zentrikctl macros: the mouse did not answer (reading slot " << slot << ")\n";
        return kExitDevice;
    }
    if (!macro::write_macro_file(out, *code)) {
        ctx.err << "zentrikctl macros: cannot write '" << out << "'\n";
        return kExitBadFile;
    }
    return kExitOk;
}

// A refusal over a damaged record is not a failed exchange.
int defrag_failed(CliContext& ctx, Session& s, const macro::MemoryResult& r) {
    ctx.err << "zentrikctl macros: " << r.error << "\n";
    return s.memory->directory().first_damaged() >= 0 ? kExitFailure : kExitDevice;
}

// A name longer than a record holds is stored cut (whole characters): say what it reads as.
void note_cut_name(CliContext& ctx, const std::string& asked, const std::string& stored) {
    if (asked != stored)
        ctx.err << "zentrikctl macros: the name is stored as '" << stored << "' (at most "
                << macro::kMaxNameChars << " characters)\n";
}

// The profiles' names as the window shows them ("profile N" for an unnamed one); nullopt when
// the mouse did not answer.
std::optional<core::ProfileNames> read_profile_names(Session& s) {
    core::ProfileNames names;
    for (int p = 0; p < device::kProfileCount; ++p) {
        const auto name = device::read_profile_name(*s.mouse.lib, s.mouse.device.path, p);
        if (!name)
            return std::nullopt;
        names[static_cast<std::size_t>(p)] =
            core::shown_profile_name(lang::utf16_to_utf8(*name), p);
    }
    return names;
}

// Removing resets the buttons that used the macro first; the note names them, as the window's
// question does.
int remove_slot(CliContext& ctx, Session& s, int slot) {
    const auto names = read_profile_names(s);
    if (!names) {
        ctx.err << "zentrikctl macros: the mouse did not answer (reading its profile names)\n";
        return kExitDevice;
    }
    const std::string users =
        core::buttons_using_macro(s.buttons, *names, s.memory->directory().slots[slot].start);
    const auto r = s.memory->remove_macro(slot);
    if (!r.ok) {
        ctx.err << "zentrikctl macros: " << r.error << "\n";
        if (!users.empty())
            ctx.err << "zentrikctl macros: buttons that used it (some may already have their "
                       "default function): "
                    << users << "\n";
        return kExitDevice;
    }
    if (!users.empty())
        ctx.err << "zentrikctl macros: these buttons used it and have their default function "
                   "again: "
                << users << "\n";
    return kExitOk;
}

int write_slot(CliContext& ctx, Session& s, int slot, const std::string& in,
               const std::optional<std::string>& name, bool yes) {
    const auto contents = macro::read_macro_file(in);
    if (contents.status == macro::MacroFileStatus::kUnreadable) {
        ctx.err << "zentrikctl macros: cannot read '" << in << "'\n";
        return kExitBadFile;
    }
    const auto code = macro::slot_code_of(contents);
    if (!code) {
        ctx.err << "zentrikctl macros: '" << in << "': invalid format !!\n";
        return kExitBadFile;
    }
    if (macro::decode_inserts_mode(contents.code))
        ctx.err << "zentrikctl macros: '" << in
                << "' has no run-mode byte; it is written to play as \"Execute one time\"\n";
    if (name) {
        if (const auto problem = macro::record_name_problem(*name)) {
            ctx.err << "zentrikctl macros: " << *problem << "\n";
            return kExitUsage;
        }
    }
    CliDialogs dialogs(ctx.err, yes);
    auto plan = s.memory->plan_save(slot, *code, dialogs);
    if (plan.decision == macro::SaveDecision::kDefragment) {
        const bool replacing = s.memory->directory().slots[slot].used();
        const auto r = s.memory->defragment(slot, bound_copy(ctx, s));
        if (!r.ok)
            return defrag_failed(ctx, s, r);
        // The macros now fill slots 0, 1, ... with the one being replaced last; an empty target
        // becomes the first empty slot, so no other macro is overwritten.
        int used = 0;
        for (const auto& m : s.memory->directory().slots)
            used += m.used() ? 1 : 0;
        const int moved = replacing ? used - 1 : used;
        if (moved != slot)
            ctx.err << "zentrikctl macros: after defragmenting, slot " << slot << " is slot "
                    << moved << "\n";
        slot = moved;
        plan = s.memory->plan_save(slot, *code, dialogs, false);
    }
    switch (plan.decision) {
        case macro::SaveDecision::kWrite:
            break;
        case macro::SaveDecision::kDeclined:
            ctx.err << "zentrikctl macros: nothing written\n";
            return kExitDeclined;
        case macro::SaveDecision::kInsufficient:
        case macro::SaveDecision::kDefragment:
            return kExitFailure;
        case macro::SaveDecision::kInvalid:
            return kExitBadFile;
    }
    const auto r = s.memory->write_macro(slot, plan.address, *code);
    if (!r.ok) {
        ctx.err << "zentrikctl macros: " << r.error << "\n";
        return kExitDevice;
    }
    if (name && !s.memory->rename_macro(slot, *name).ok) {
        ctx.err << "zentrikctl macros: the macro was written, but naming it failed\n";
        return kExitDevice;
    }
    if (name)
        note_cut_name(ctx, *name, s.memory->directory().slots[slot].name);
    const auto& m = s.memory->directory().slots[slot];
    ctx.out << slot << "  " << m.name << "  " << range_text(m) << "  " << m.size() << "\n";
    return kExitOk;
}

}  // namespace

void use_mouse_safety_copy(MouseSafetyCopy copy) {
    safety_copy_override() = std::move(copy);
}

int run_macros(CliContext& ctx) {
    auto args = ctx.args;
    const auto index = take_device_option(ctx, args);
    if (!index)
        return kExitUsage;
    bool json = ctx.globals.json;
    bool yes = false;
    std::optional<std::string> name;
    std::vector<std::string> words;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--json") {
            json = true;
        } else if (args[i] == "--yes") {
            yes = true;
        } else if (args[i] == "--name" && i + 1 < args.size()) {
            name = args[++i];
        } else if (args[i].rfind("--name=", 0) == 0) {
            name = args[i].substr(7);
        } else if (args[i].rfind("--", 0) == 0) {
            ctx.err << "zentrikctl macros: unknown option '" << args[i] << "'\n" << kMacrosUsage;
            return kExitUsage;
        } else {
            words.push_back(args[i]);
        }
    }
    const std::string verb = words.empty() ? "" : words[0];
    const std::size_t want = verb.empty()       ? 0
                             : verb == "read"   ? 3
                             : verb == "write"  ? 3
                             : verb == "rename" ? 3
                             : verb == "remove" ? 2
                             : verb == "defrag" ? 1
                                                : 99;
    if (want == 99 || words.size() != want || (json && !verb.empty()) ||
        ((name || yes) && verb != "write")) {
        ctx.err << "zentrikctl macros: bad arguments\n" << kMacrosUsage;
        return kExitUsage;
    }
    std::optional<int> slot;
    if (words.size() >= 2) {
        slot = parse_slot(ctx, words[1]);
        if (!slot)
            return kExitUsage;
    }
    int status = kExitOk;
    auto session = open_session(ctx, *index, status);
    if (!session)
        return status;
    Session& s = *session;
    const WindowNotice notice(s.mouse, verb.empty() || verb == "read" ? 0u : core::kChangedMacros);
    if (verb.empty())
        return list_macros(ctx, s, json);
    if (verb == "read")
        return read_slot(ctx, s, *slot, words[2]);
    if (verb == "write")
        return write_slot(ctx, s, *slot, words[2], name, yes);
    if (verb == "defrag") {
        const auto r = s.memory->defragment(-1, bound_copy(ctx, s));
        return r.ok ? kExitOk : defrag_failed(ctx, s, r);
    }
    const auto& m = s.memory->directory().slots[*slot];
    if (!m.used()) {
        ctx.err << "zentrikctl macros: slot " << *slot << " is empty\n";
        return kExitFailure;
    }
    if (verb == "remove")
        return remove_slot(ctx, s, *slot);
    if (refuse_damaged(ctx, m, *slot))
        return kExitFailure;
    if (const auto problem = macro::record_name_problem(words[2])) {
        ctx.err << "zentrikctl macros: " << *problem << "\n";
        return kExitUsage;
    }
    const auto r = s.memory->rename_macro(*slot, words[2]);
    if (!r.ok) {
        ctx.err << "zentrikctl macros: " << r.error << "\n";
        return kExitDevice;
    }
    note_cut_name(ctx, words[2], m.name);
    return kExitOk;
}

}  // namespace zentrik::cli
