#include "macro/macro_memory.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "device/commands.h"
#include "lang/string_tables.h"
#include "lang/text_codec.h"
#include "lang/text_format.h"
#include "macro/slot_code.h"
#include "ui/dialogs.h"

namespace zentrik::macro {
namespace {

constexpr int kReadChunk = 7;  // bytes one memory read returns
constexpr int kPage = 32;      // largest block write
constexpr int kNameBytes = kRecordSize - 4;

std::string lower(const std::string& s) {
    std::string out = s;
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

std::uint16_t addr(int a) {
    return static_cast<std::uint16_t>(a & 0xFFFF);
}

// The 28 name bytes of a record: UTF-16LE, at most 14 characters, zero-filled.
std::array<std::uint8_t, kNameBytes> name_bytes(const std::string& name) {
    std::u16string text = lang::utf8_to_utf16(name);
    if (text.size() > kMaxNameChars) {
        text.resize(kMaxNameChars);
        if (text.back() >= 0xD800 && text.back() <= 0xDBFF)
            text.pop_back();  // never half a surrogate pair
    }
    std::array<std::uint8_t, kNameBytes> bytes{};
    for (std::size_t i = 0; i < text.size(); ++i) {
        bytes[2 * i] = static_cast<std::uint8_t>(text[i] & 0xFF);
        bytes[2 * i + 1] = static_cast<std::uint8_t>(text[i] >> 8);
    }
    return bytes;
}

std::string name_from_bytes(std::array<std::uint8_t, kNameBytes> bytes) {
    for (auto& b : bytes) {
        if (b == 0xFF)
            b = 0;  // an erased record has an empty name
    }
    std::u16string text;
    for (int i = 0; i + 1 < kNameBytes; i += 2) {
        const char16_t c = static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
        if (c == 0)
            break;
        text.push_back(c);
    }
    std::string name = lang::utf16_to_utf8(text);
    if (name.starts_with(kHiddenNamePrefix))
        name.erase(0, 2);
    return name;
}

const std::string& process_caption(int index) {
    static const std::string none;
    const auto& captions = lang::strings().process_captions;
    return index >= 0 && index < static_cast<int>(captions.size()) ? captions[index] : none;
}

// Hides the progress however the operation ends.
class ProgressScope {
  public:
    ProgressScope(MacroProgress& p, const std::string& message) : p_(p) { p_.begin(message); }
    ~ProgressScope() { p_.end(); }
    ProgressScope(const ProgressScope&) = delete;
    ProgressScope& operator=(const ProgressScope&) = delete;

  private:
    MacroProgress& p_;
};

}  // namespace

bool name_greater(const std::string& a, const std::string& b) {
    return lower(a) > lower(b);
}

// ---- the directory ----

void MacroDirectory::reset(int limit) {
    slots.fill(MacroSlot{});
    macro_limit = limit;
    total_bytes = std::max(0, limit - kCodeAreaStart);
    free_bytes = total_bytes;
}

std::vector<int> MacroDirectory::list_order() const {
    std::vector<int> used;
    std::vector<int> empty;
    for (int i = 0; i < kSlotCount; ++i)
        (slots[i].used() ? used : empty).push_back(i);
    // Swaps only when the left name is greater, so equal names keep slot order.
    for (std::size_t pass = 0; pass + 1 < used.size(); ++pass) {
        for (std::size_t i = 0; i + 1 < used.size() - pass; ++i) {
            if (name_greater(slots[used[i]].name, slots[used[i + 1]].name))
                std::swap(used[i], used[i + 1]);
        }
    }
    used.insert(used.end(), empty.begin(), empty.end());
    return used;
}

int MacroDirectory::find_space(int size, int slot) const {
    const bool own = slot >= 0 && slot < kSlotCount && slots[slot].used();
    bool first_fit = false;
    if (own) {
        const int s = slots[slot].start;
        const int new_end = s + size - 1;
        int limit = macro_limit - 1;
        for (int j = 0; j < kSlotCount && !first_fit; ++j) {
            if (j == slot || !slots[j].used())
                continue;
            const int sj = slots[j].start;
            if (sj - 1 < limit && sj - 1 > new_end)
                limit = sj - 1;
            if (sj <= new_end && slots[j].end >= s)
                first_fit = true;  // the grown macro would overlap slot j
        }
        if (!first_fit) {
            if (slots[slot].end - s + 1 >= size || limit - s + 1 >= size)
                return s;
            return -1;
        }
    } else if (size > free_bytes) {
        return -1;
    }
    auto blocked = [&](int from, int to, int skip) {
        for (int k = 0; k < kSlotCount; ++k) {
            if (k != skip && slots[k].used() && slots[k].start <= to && slots[k].end >= from)
                return true;
        }
        return false;
    };
    // The start of the code area, when the macro also ends below the limit.
    if (!blocked(kCodeAreaStart, kCodeAreaStart + size - 1, slot) &&
        kCodeAreaStart + size - 1 < macro_limit)
        return kCodeAreaStart;
    // Right after each used slot, in slot order; the slot being replaced blocks too.
    for (int j = 0; j < kSlotCount; ++j) {
        if (!slots[j].used())
            continue;
        const int c = slots[j].end + 1;
        if (!blocked(c, slots[j].end + size, j) && slots[j].end + size < macro_limit)
            return c;
    }
    return -1;
}

std::string MacroDirectory::generated_name(const std::string& unknown_caption) const {
    for (int n = 1;; ++n) {
        char number[16];
        std::snprintf(number, sizeof number, " %02d", n);
        const std::string name = unknown_caption + number;
        const bool taken = std::any_of(slots.begin(), slots.end(), [&](const MacroSlot& s) {
            return s.used() && s.name == name;
        });
        if (!taken)
            return name;
    }
}

void MacroDirectory::set_profile_markers(const device::ButtonTable& buttons) {
    for (auto& slot : slots) {
        slot.profiles.fill(false);
        if (!slot.used())
            continue;
        for (int p = 0; p < device::kProfileCount; ++p) {
            for (int b = 0; b < device::kButtonCount; ++b) {
                const auto a = buttons.get(p, b);
                if (a.remapped && a.code == slot.start)
                    slot.profiles[p] = true;
            }
        }
    }
}

std::string MacroDirectory::memory_line() const {
    return lang::format_text(lang::strings().message(lang::kMsgMemoryUsage),
                             {std::int64_t{free_bytes}, std::int64_t{total_bytes}});
}

double MacroDirectory::used_fraction() const {
    return total_bytes > 0 ? double(total_bytes - free_bytes) / total_bytes : 0.0;
}

// ---- the mouse ----

MacroMemory::MacroMemory(device::zklib& lib, std::string path, device::ButtonTable& buttons)
    : lib_(lib), path_(std::move(path)), buttons_(buttons) {}

int MacroMemory::take_written_start() {
    return std::exchange(written_start_, kNoAddress);
}

bool MacroMemory::read_bytes(int address, int count, std::vector<std::uint8_t>& out) {
    for (int done = 0; done < count; done += kReadChunk) {
        device::Report reply{};
        if (!device::read_memory(lib_, path_, addr(address + done), reply))
            return false;
        const int take = std::min(kReadChunk, count - done);
        out.insert(out.end(), reply.begin() + 2, reply.begin() + 2 + take);
    }
    return true;
}

bool MacroMemory::load_directory() {
    const auto limit = device::read_macro_limit(lib_, path_);
    if (!limit) {
        dir_.reset(kCodeAreaStart);
        return false;
    }
    return load_directory(*limit);
}

bool MacroMemory::load_directory(int macro_limit) {
    dir_.reset(macro_limit);
    bool complete = true;
    for (int i = 0; i < kSlotCount; ++i) {
        std::vector<std::uint8_t> head;
        if (!read_bytes(i * kRecordSize, 4, head)) {
            complete = false;
            break;
        }
        MacroSlot slot;
        if (head[0] == 0xFF && head[1] == 0xFF) {
            dir_.slots[i] = slot;  // empty whatever the name bytes hold
            continue;
        }
        slot.start = head[0] | (head[1] << 8);
        slot.end = head[2] | (head[3] << 8);
        std::vector<std::uint8_t> mode;
        std::vector<std::uint8_t> name;
        if (!read_bytes(slot.start, 1, mode) ||
            !read_bytes(i * kRecordSize + 4, kNameBytes, name)) {
            complete = false;
            break;
        }
        slot.mode = mode[0];
        std::array<std::uint8_t, kNameBytes> raw{};
        std::copy(name.begin(), name.end(), raw.begin());
        slot.name = name_from_bytes(raw);
        // Every used range occupies memory, named or not.
        dir_.free_bytes -= slot.size();
        dir_.slots[i] = slot;
    }
    dir_.set_profile_markers(buttons_);
    return complete;
}

SavePlan MacroMemory::plan_save(int slot, std::span<const std::uint8_t> code, ui::Dialogs& dialogs,
                                bool ask_overwrite) const {
    const auto& s = lang::strings();
    if (slot < 0 || slot >= kSlotCount || !valid_slot_code(code)) {
        dialogs.message("", "invalid format !!");
        return {SaveDecision::kInvalid, -1};
    }
    const int size = static_cast<int>(code.size()) + 1;
    const int address = dir_.find_space(size, slot);
    if (address < 0 && size > dir_.free_bytes) {
        dialogs.message("", s.message(lang::kMsgInsufficientMemory));
        return {SaveDecision::kInsufficient, -1};
    }
    if (address < 0) {
        if (dialogs.ask_yes_no(s.message(lang::kMsgDefragTitle),
                               s.message(lang::kMsgDefragQuestion)))
            return {SaveDecision::kDefragment, -1};
        return {SaveDecision::kDeclined, -1};
    }
    if (ask_overwrite && dir_.slots[slot].used() &&
        !dialogs.ask_yes_no(
            s.message(lang::kMsgOverwriteTitle),
            lang::format_text(s.message(lang::kMsgOverwriteQuestion), dir_.slots[slot].name)))
        return {SaveDecision::kDeclined, -1};
    return {SaveDecision::kWrite, address};
}

bool MacroMemory::write_bytes(int address, std::span<const std::uint8_t> bytes) {
    const int total = static_cast<int>(bytes.size());
    int done = 0;
    auto write = [&](int count) {
        const auto part =
            bytes.subspan(static_cast<std::size_t>(done), static_cast<std::size_t>(count));
        if (!device::write_memory_block(lib_, path_, addr(address + done), part))
            return false;
        done += count;
        progress_->update(double(done) / total);
        return true;
    };
    if (total > kPage) {
        // Up to the next 32-byte boundary, whole pages, then the rest.
        const int head = (kPage - address % kPage) % kPage;
        if (head > 0 && !write(head))
            return false;
        while (total - done >= kPage) {
            if (!write(kPage))
                return false;
        }
        return done == total || write(total - done);
    }
    // A short macro goes one instruction at a time, then the end byte.
    while (done < total - 1) {
        const int size = static_cast<int>(instruction_size(bytes[static_cast<std::size_t>(done)]));
        if (!write(std::clamp(size, 1, total - 1 - done)))
            return false;
    }
    return write(1);
}

int MacroMemory::send_button(int profile, int b, bool has_function, int value) {
    const int device_button = device_button_ ? device_button_(b) : b;
    return device::write_button(lib_, path_, profile, device_button, has_function, addr(value));
}

bool MacroMemory::repoint_buttons(int old_start, int new_start) {
    bool ok = true;
    for (int p = 0; p < device::kProfileCount; ++p) {
        for (int b = 0; b < device::kButtonCount; ++b) {
            const auto a = buttons_.get(p, b);
            if (!a.remapped || a.code != old_start)
                continue;
            if (send_button(p, b, true, new_start))
                buttons_.set(p, b, {true, static_cast<std::uint16_t>(new_start)});
            else
                ok = false;
        }
    }
    return ok;
}

MemoryResult MacroMemory::write_macro(int slot, int address, std::span<const std::uint8_t> code) {
    if (slot < 0 || slot >= kSlotCount || !valid_slot_code(code))
        return {false, "invalid format !!"};
    ProgressScope scope(*progress_, process_caption(2));
    progress_->update(0.0);
    MacroSlot& s = dir_.slots[slot];
    const bool was_used = s.used();
    const int old_start = s.start;
    const int old_size = s.size();
    const int size = static_cast<int>(code.size()) + 1;
    const std::string name =
        was_used ? s.name
                 : dir_.generated_name(lang::strings().panel_captions[lang::kCaptionUnknown]);

    std::vector<std::uint8_t> bytes(code.begin(), code.end());
    bytes.push_back(kEndByte);
    // The bytes first and the record last: until the record names the new range, the slot
    // keeps its old macro (or stays empty).
    bool ok;
    if (was_used && address <= s.end && address + size - 1 >= old_start) {
        // The new bytes overwrite the old ones: the record is emptied first, and the first byte
        // goes last with an end code in its place meanwhile, so neither the record nor a button
        // ever names half-written code.
        const std::array<std::uint8_t, 4> empty{0xFF, 0xFF, 0xFF, 0xFF};
        const std::array<std::uint8_t, 1> end_code{kEndByte};
        ok = device::write_memory_block(lib_, path_, addr(slot * kRecordSize), empty) &&
             device::write_memory_block(lib_, path_, addr(address), end_code) &&
             write_bytes(address + 1, std::span(bytes).subspan(1)) &&
             device::write_memory_block(lib_, path_, addr(address), std::span(bytes).first(1)) &&
             write_directory_record(slot, address, address + size - 1, name) == 1;
    } else {
        ok = write_bytes(address, bytes) &&
             write_directory_record(slot, address, address + size - 1, name) == 1;
    }
    if (ok) {
        s.name = name;
        s.start = address;
        s.end = address + size - 1;
        s.mode = bytes[0];
        dir_.free_bytes += old_size - size;
        if (was_used && address != old_start)
            ok = repoint_buttons(old_start, address);
        written_start_ = address;
        dir_.set_profile_markers(buttons_);
        lib_.timing().sleep_ms(10);
        if (!ok)
            return {false, "error: the macro was written, but a button could not be re-pointed"};
        return {true, {}};
    }
    load_directory(dir_.macro_limit);
    return {false, "error"};
}

MemoryResult MacroMemory::save_macro(int slot, std::span<const std::uint8_t> code,
                                     ui::Dialogs& dialogs, const SafetyCopy& safety_copy,
                                     bool ask_overwrite) {
    const SavePlan plan = plan_save(slot, code, dialogs, ask_overwrite);
    MemoryResult result;
    switch (plan.decision) {
        case SaveDecision::kWrite:
            result = write_macro(slot, plan.address, code);
            break;
        case SaveDecision::kDefragment:
            result = defragment(slot, safety_copy);
            break;
        case SaveDecision::kInsufficient:
            return {false, lang::strings().message(lang::kMsgInsufficientMemory)};
        case SaveDecision::kInvalid:
            return {false, "invalid format !!"};
        case SaveDecision::kDeclined:
            return {false, {}};
    }
    if (!result.ok)
        dialogs.message("", result.error);
    return result;
}

int MacroMemory::write_directory_record(int slot, int start, int end, const std::string& name) {
    const int base = slot * kRecordSize;
    const auto bytes = name_bytes(name);
    const std::span<const std::uint8_t> all(bytes);
    if (start != kNoAddress) {
        if (!device::write_memory_block(lib_, path_, addr(base + 4), all.subspan(0, 12)) ||
            !device::write_memory_block(lib_, path_, addr(base + 16), all.subspan(12, 12)))
            return 0;
    }
    if (!device::write_memory_block(lib_, path_, addr(base + 28), all.subspan(24, 4)))
        return 0;
    // Start and end in one committed block: the mouse never holds a record whose start is new
    // and whose end is not.
    const std::array<std::uint8_t, 4> range{
        static_cast<std::uint8_t>(start & 0xFF), static_cast<std::uint8_t>((start >> 8) & 0xFF),
        static_cast<std::uint8_t>(end & 0xFF), static_cast<std::uint8_t>((end >> 8) & 0xFF)};
    return device::write_memory_block(lib_, path_, addr(base), range);
}

MemoryResult MacroMemory::rename_macro(int slot, const std::string& name) {
    if (slot < 0 || slot >= kSlotCount || !dir_.slots[slot].used())
        return {false, "error"};
    MacroSlot& s = dir_.slots[slot];
    const std::string old_name = s.name;
    s.name = lang::utf16_to_utf8(lang::utf8_to_utf16(name).substr(0, kMaxNameChars));
    if (!write_directory_record(slot, s.start, s.end, s.name)) {
        s.name = old_name;
        return {false, "error"};
    }
    return {true, {}};
}

MemoryResult MacroMemory::remove_macro(int slot) {
    if (slot < 0 || slot >= kSlotCount || !dir_.slots[slot].used())
        return {false, "error"};
    ProgressScope scope(*progress_, {});
    MacroSlot& s = dir_.slots[slot];
    // The buttons first: a button never names bytes that a later save may give another macro.
    bool ok = true;
    int n = 0;
    for (int p = 0; p < device::kProfileCount && ok; ++p) {
        for (int b = 0; b < device::kButtonCount && ok; ++b, ++n) {
            progress_->update(0.7 + n / 56.0 * 0.3);
            const auto a = buttons_.get(p, b);
            if (!a.remapped || a.code != s.start)
                continue;
            ok = send_button(p, b, false, 0xFFFF) == 1;
            if (ok)
                buttons_.set(p, b, {false, 0xFFFF});
        }
    }
    if (!ok || !write_directory_record(slot, kNoAddress, kNoAddress, "")) {
        dir_.set_profile_markers(buttons_);
        return {false, "error"};
    }
    dir_.free_bytes += s.size();
    s = MacroSlot{};
    dir_.set_profile_markers(buttons_);
    return {true, {}};
}

MemoryResult MacroMemory::defragment(int target_slot, const SafetyCopy& safety_copy) {
    const auto copy = safety_copy ? safety_copy() : std::nullopt;
    if (!copy)
        return {false,
                "error: no safety copy of the mouse could be saved, so its macro memory "
                "was not defragmented"};
    ProgressScope scope(*progress_, {});
    struct Moved {
        int old_start;
        int new_start;
        int new_end;
        std::string name;
    };
    std::vector<int> order;
    int used_bytes = 0;
    for (int i = 0; i < kSlotCount; ++i) {
        if (dir_.slots[i].used() && i != target_slot) {
            order.push_back(i);
            used_bytes += dir_.slots[i].size();
        }
    }
    if (target_slot >= 0 && target_slot < kSlotCount && dir_.slots[target_slot].used()) {
        order.push_back(target_slot);
        used_bytes += dir_.slots[target_slot].size();
    }
    if (kCodeAreaStart + used_bytes > dir_.macro_limit)
        return {false, "error: the directory names more bytes than the macro memory holds"};

    // Read everything before anything is written.
    std::vector<std::uint8_t> buffer;
    std::vector<Moved> moved;
    for (int i : order) {
        const MacroSlot& s = dir_.slots[i];
        const int offset = static_cast<int>(buffer.size());
        if (!read_bytes(s.start, s.size(), buffer))
            return {false, "error: a macro could not be read; nothing was changed"};
        moved.push_back(
            {s.start, kCodeAreaStart + offset, kCodeAreaStart + offset + s.size() - 1, s.name});
        progress_->update(double(buffer.size()) / (used_bytes + 7) * 0.3);
    }
    const std::string failed =
        "error: the macro memory was only partly rewritten; a copy of the mouse was saved to " +
        copy->string();
    for (std::size_t done = 0; done < buffer.size(); done += kPage) {
        const std::size_t n = std::min<std::size_t>(kPage, buffer.size() - done);
        if (!device::write_memory_block(lib_, path_, addr(kCodeAreaStart + static_cast<int>(done)),
                                        std::span(buffer).subspan(done, n)))
            return {false, failed};
        progress_->update(0.3 + 0.3 * double(done + n) / buffer.size());
    }
    for (int k = 0; k < kSlotCount; ++k) {
        const bool has = k < static_cast<int>(moved.size());
        const int ok =
            has ? write_directory_record(k, moved[k].new_start, moved[k].new_end, moved[k].name)
                : write_directory_record(k, kNoAddress, kNoAddress, "");
        if (!ok)
            return {false, failed};
        progress_->update(0.6 + 0.2 * (k + 1) / kSlotCount);
    }
    int n = 0;
    for (int p = 0; p < device::kProfileCount; ++p) {
        for (int b = 0; b < device::kButtonCount; ++b, ++n) {
            progress_->update(0.8 + 0.2 * n / 55.0);
            const auto a = buttons_.get(p, b);
            if (!a.remapped)
                continue;
            const auto it = std::find_if(moved.begin(), moved.end(),
                                         [&](const Moved& m) { return m.old_start == a.code; });
            if (it == moved.end())
                continue;
            if (!send_button(p, b, true, it->new_start))
                return {false, failed};
            buttons_.set(p, b, {true, static_cast<std::uint16_t>(it->new_start)});
            lib_.timing().sleep_ms(1);
        }
    }
    if (!load_directory(dir_.macro_limit))
        return {false,
                "error: the macro memory was defragmented but could not be read back; a "
                "copy of the mouse was saved to " +
                    copy->string()};
    return {true, {}};
}

std::optional<MacroCode> MacroMemory::read_macro_code(int slot) {
    if (slot < 0 || slot >= kSlotCount || !dir_.slots[slot].used())
        return std::nullopt;
    const MacroSlot& s = dir_.slots[slot];
    ProgressScope scope(*progress_, lang::format_text(process_caption(1), s.name));
    std::vector<std::uint8_t> bytes;
    for (int done = 0; done < s.size(); done += kReadChunk) {
        if (!read_bytes(s.start + done, std::min(kReadChunk, s.size() - done), bytes))
            return std::nullopt;
        progress_->update(double(bytes.size()) / s.size());
    }
    // The code ends before the end byte (or where the range ends).
    std::size_t length = 0;
    while (length < bytes.size()) {
        const auto size = instruction_size(bytes[length]);
        if (size == 0 || bytes[length] <= 0x01 || length + size > bytes.size())
            break;
        length += size;
    }
    bytes.resize(length);
    return bytes;
}

std::optional<InstructionList> MacroMemory::load_macro(int slot) {
    auto code = read_macro_code(slot);
    if (!code)
        return std::nullopt;
    InstructionList list = decode_macro(*code);
    recompute_offsets(list);
    return list;
}

std::optional<int> read_slot_start(device::zklib& lib, const std::string& path, int slot) {
    if (slot < 0 || slot >= kSlotCount)
        return std::nullopt;
    device::Report reply{};
    if (!device::read_memory(lib, path, addr(slot * kRecordSize), reply))
        return std::nullopt;
    const int start = reply[2] | (reply[3] << 8);
    if (start == kNoAddress)
        return std::nullopt;
    return start;
}

std::optional<std::string> read_macro_name_at(device::zklib& lib, const std::string& path,
                                              int address) {
    if (address == kNoAddress)
        return std::nullopt;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        const auto start = read_slot_start(lib, path, slot);
        if (!start || *start != address)
            continue;
        std::array<std::uint8_t, kNameBytes> raw{};
        for (int done = 0; done < kNameBytes; done += kReadChunk) {
            device::Report reply{};
            if (!device::read_memory(lib, path, addr(slot * kRecordSize + 4 + done), reply))
                return std::nullopt;
            const int take = std::min(kReadChunk, kNameBytes - done);
            std::copy_n(reply.begin() + 2, take, raw.begin() + done);
        }
        return name_from_bytes(raw);
    }
    return std::nullopt;
}

}  // namespace zentrik::macro
