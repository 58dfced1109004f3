#include "macro/macro_directory.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "lang/string_tables.h"
#include "lang/text_format.h"

namespace zentrik::macro {
namespace {

std::string lower(const std::string& s) {
    std::string out = s;
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

}  // namespace

bool name_greater(const std::string& a, const std::string& b) {
    return lower(a) > lower(b);
}

void MacroDirectory::reset(int limit) {
    slots.fill(MacroSlot{});
    macro_limit = limit;
    total_bytes = std::max(0, limit - kCodeAreaStart);
    free_bytes = total_bytes;
}

bool MacroDirectory::in_code_area(int start, int end) const {
    return start >= kCodeAreaStart && end >= start && end < macro_limit;
}

void MacroDirectory::mark_damaged() {
    int used_bytes = 0;
    for (int i = 0; i < kSlotCount; ++i) {
        MacroSlot& s = slots[i];
        if (!s.used())
            continue;
        s.damaged = !in_code_area(s.start, s.end);
        for (int j = 0; j < i && !s.damaged; ++j) {
            const MacroSlot& other = slots[j];
            s.damaged = other.placed() && other.start <= s.end && other.end >= s.start;
        }
        used_bytes += s.size();
    }
    free_bytes = std::max(0, total_bytes - used_bytes);
}

int MacroDirectory::first_damaged() const {
    for (int i = 0; i < kSlotCount; ++i) {
        if (slots[i].used() && slots[i].damaged)
            return i;
    }
    return -1;
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
    const bool own = slot >= 0 && slot < kSlotCount && slots[slot].placed();
    bool first_fit = false;
    if (own) {
        const int s = slots[slot].start;
        const int new_end = s + size - 1;
        int limit = macro_limit - 1;
        for (int j = 0; j < kSlotCount && !first_fit; ++j) {
            if (j == slot || !slots[j].placed())
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
            if (k != skip && slots[k].placed() && slots[k].start <= to && slots[k].end >= from)
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
        if (!slots[j].placed())
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

}  // namespace zentrik::macro
