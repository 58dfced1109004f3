#include "core/profile_transfer.h"

#include <algorithm>
#include <cstdio>

#include "core/function_names.h"
#include "device/commands.h"
#include "lang/string_tables.h"
#include "lang/text_codec.h"
#include "lang/text_format.h"
#include "macro/macro_memory.h"

namespace zentrik::core {
namespace {

std::string text(std::string_view key, std::string_view english, lang::TextArg arg = {}) {
    return lang::format_text(lang::own_text(key, english), {arg});
}

ProfileTransferResult device_failure(std::string_view key, std::string_view english,
                                     bool written = false) {
    return {false, true, written, text(key, english)};
}

ProfileTransferResult refusal(std::string message) {
    return {false, false, false, std::move(message)};
}

// A macro as the mouse keeps it, with a name the file can refer to.
std::string exported_name(const macro::MacroSlot& slot, int index) {
    if (!slot.name.empty())
        return slot.name;
    char name[16];
    std::snprintf(name, sizeof name, "Slot %02d", index);
    return name;
}

std::unique_ptr<macro::MacroMemory> open_memory(device::zklib& lib, const std::string& path,
                                                device::ButtonTable& buttons) {
    auto memory = std::make_unique<macro::MacroMemory>(lib, path, buttons);
    memory->set_device_button([](int b) { return button_info(b).device_index; });
    return memory;
}

}  // namespace

ProfileTransferResult export_profile(device::zklib& lib, const std::string& path, int profile,
                                     ProfileDocument& document) {
    constexpr std::string_view kNoAnswer = "the mouse did not answer";
    document = {};
    const auto name = device::read_profile_name(lib, path, profile);
    if (!name)
        return device_failure("zk_profile_file_no_answer", kNoAnswer);
    document.name = lang::utf16_to_utf8(*name);

    device::ButtonTable buttons;
    auto memory = open_memory(lib, path, buttons);
    if (!memory->load_directory())
        return device_failure("zk_profile_file_no_directory",
                              "the mouse did not answer (reading its macro directory)");
    std::vector<int> exported_slots;  // slot of each document macro
    for (int b = 0; b < device::kButtonCount; ++b) {
        const auto reply = device::read_button(lib, path, profile, button_info(b).device_index);
        if (!reply)
            return device_failure("zk_profile_file_no_answer", kNoAnswer);
        const device::ButtonAssignment cell{(reply->kind & 0x80) != 0, reply->value};
        ProfileButton& out = document.buttons[static_cast<std::size_t>(b)];
        if (!runs_macro(cell)) {
            out.function = cell.remapped && function_index(cell.code) ? int(cell.code)
                           : cell.remapped                            ? int(kDisableCode)
                                                                      : kDefaultFunctionCode;
            continue;
        }
        const auto& slots = memory->directory().slots;
        const auto slot = std::find_if(slots.begin(), slots.end(), [&](const macro::MacroSlot& s) {
            return s.placed() && s.start == cell.code;
        });
        if (slot == slots.end())
            return refusal(text("zk_profile_file_lost_macro",
                                "button %d runs a macro that no slot of the mouse holds; give it "
                                "another function first",
                                b));
        const int index = static_cast<int>(slot - slots.begin());
        const auto known = std::find(exported_slots.begin(), exported_slots.end(), index);
        out.macro = static_cast<int>(known - exported_slots.begin());
        if (known != exported_slots.end())
            continue;
        const auto code = memory->read_macro_code(index);
        if (!code)
            return device_failure("zk_profile_file_no_answer", kNoAnswer);
        const std::string macro_name = exported_name(*slot, index);
        for (const ProfileMacro& m : document.macros)
            if (m.name == macro_name)
                return refusal(text("zk_profile_file_export_duplicate",
                                    "two macros this profile runs are both named '%s'; rename "
                                    "one first",
                                    std::string_view(macro_name)));
        exported_slots.push_back(index);
        document.macros.push_back({macro_name, *code});
    }
    return {true, false, false, {}};
}

ImportPlan plan_profile_import(const ProfileDocument& document,
                               const macro::MacroDirectory& directory,
                               const SlotCodeReader& read_code) {
    ImportPlan plan;
    macro::MacroDirectory dir = directory;  // with the planned macros placed in it
    std::array<std::optional<macro::MacroCode>, macro::kSlotCount> codes{};
    for (int i = 0; i < static_cast<int>(document.macros.size()); ++i) {
        const ProfileMacro& m = document.macros[static_cast<std::size_t>(i)];
        const int size = static_cast<int>(m.code.size()) + 1;
        int slot = -1;
        for (int s = 0; s < macro::kSlotCount && slot < 0; ++s) {
            if (!dir.slots[s].placed() || dir.slots[s].size() != size)
                continue;
            auto& code = codes[static_cast<std::size_t>(s)];
            if (!code && !(code = read_code(s))) {
                plan.device_failed = true;
                plan.error = text("zk_profile_file_no_macro_code",
                                  "the mouse did not answer (reading the macro of slot %d)", s);
                return plan;
            }
            if (*code == m.code)
                slot = s;
        }
        if (slot >= 0) {
            plan.placements.push_back({i, slot, dir.slots[slot].start, true});
            continue;
        }
        for (int s = 0; s < macro::kSlotCount && slot < 0; ++s)
            if (!dir.slots[s].used())
                slot = s;
        if (slot < 0) {
            plan.error = text("zk_profile_file_no_slot",
                              "the mouse has no empty macro slot left for macro '%s'",
                              std::string_view(m.name));
            return plan;
        }
        const int address = dir.find_space(size, slot);
        if (address < 0) {
            plan.error = lang::format_text(
                lang::own_text("zk_profile_file_no_room",
                               "macro '%s' needs %d bytes and does not fit into the %d bytes the "
                               "mouse has free (defragmenting its macros may help)"),
                {std::string_view(m.name), std::int64_t{size}, std::int64_t{dir.free_bytes}});
            return plan;
        }
        macro::MacroSlot& placed = dir.slots[slot];
        placed.start = address;
        placed.end = address + size - 1;
        placed.name = m.name;
        dir.free_bytes -= size;
        codes[static_cast<std::size_t>(slot)] = m.code;
        plan.placements.push_back({i, slot, address, false});
    }
    return plan;
}

std::optional<std::string> model_refusal(const ProfileDocument& document,
                                         const device::MouseTraits& traits) {
    const int lift = function_code(kAdjustLiftIndex);
    for (int b = 0; b < device::kButtonCount; ++b) {
        const ProfileButton& button = document.buttons[static_cast<std::size_t>(b)];
        if (button.macro < 0 && button.function == lift && !traits.model->offers_adjust_lift)
            return lang::format_text(
                lang::own_text("zk_profile_file_model_lacks",
                               "button %d has the function '%s', which this mouse does not have"),
                {std::int64_t{b}, std::string_view(function_stable_name(lift))});
    }
    return std::nullopt;
}

ProfileTransferResult import_profile(device::zklib& lib, const device::_DEVICE_& mouse, int profile,
                                     const ProfileDocument& document) {
    if (auto why = model_refusal(document, device::mouse_traits(mouse)))
        return refusal(std::move(*why));
    const std::string& path = mouse.path;
    device::ButtonTable buttons;  // only empty slots are written: no button is re-pointed
    auto memory = open_memory(lib, path, buttons);
    if (!memory->load_directory())
        return device_failure("zk_profile_file_no_directory",
                              "the mouse did not answer (reading its macro directory)");
    if (memory->directory().first_damaged() >= 0)
        return refusal(text("zk_profile_file_damaged",
                            "the record of macro slot %d is damaged; remove it first",
                            memory->directory().first_damaged()));
    const ImportPlan plan = plan_profile_import(
        document, memory->directory(), [&](int slot) { return memory->read_macro_code(slot); });
    if (!plan.ok())
        return {false, plan.device_failed, false, plan.error};

    // Everything was checked: from here on the mouse changes.
    constexpr std::string_view kFailed = "the mouse did not take the profile; it is partly written";
    std::vector<int> address(document.macros.size());
    for (const MacroPlacement& p : plan.placements) {
        address[static_cast<std::size_t>(p.macro)] = p.address;
        if (p.reused)
            continue;
        const ProfileMacro& m = document.macros[static_cast<std::size_t>(p.macro)];
        // Written under its own name at once (the file's names were checked as record names).
        if (!memory->write_macro(p.slot, p.address, m.code, m.name).ok)
            return device_failure("zk_profile_file_write_failed", kFailed, true);
    }
    std::vector<std::pair<int, device::ButtonAssignment>> cells;
    for (int b = 0; b < device::kButtonCount; ++b) {
        const ProfileButton& button = document.buttons[static_cast<std::size_t>(b)];
        cells.emplace_back(
            b, button.macro >= 0
                   ? device::ButtonAssignment{true,
                                              static_cast<std::uint16_t>(
                                                  address[static_cast<std::size_t>(button.macro)])}
                   : assignment_for(b, button.function));
    }
    std::stable_partition(cells.begin(), cells.end(),
                          [](const auto& c) { return acts_as_left_click(c.first, c.second); });
    for (const auto& [b, cell] : cells)
        if (!device::write_button(lib, path, profile, button_info(b).device_index, cell.remapped,
                                  cell.code))
            return device_failure("zk_profile_file_write_failed", kFailed, true);
    if (!device::write_profile_name(lib, path, profile, lang::utf8_to_utf16(document.name)) ||
        !device::commit_settings(lib, path))
        return device_failure("zk_profile_file_write_failed", kFailed, true);
    return {true, false, true, {}};
}

}  // namespace zentrik::core
