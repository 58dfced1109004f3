// Hundreds of random saves, overwrites, renames, removals and defragmentations against the
// simulated mouse, each checked against a small model of what the mouse must hold.
#include <gtest/gtest.h>

#include <map>
#include <random>

#include "tests/macro/macro_test_support.h"

namespace zentrik::macro {
namespace {

using testing::MouseRig;
using Bytes = std::vector<std::uint8_t>;

struct ModelMacro {
    Bytes code;
    std::string name;
};

// Random whole instructions, run mode first.
Bytes random_code(std::mt19937& rng, int target) {
    Bytes code{static_cast<std::uint8_t>(0x04 + rng() % 3)};
    const std::uint8_t choices[] = {0x83, 0x84, 0x88, 0x89, 0x85, 0x21, 0x41, 0x61, 0xC1};
    while (static_cast<int>(code.size()) < target) {
        const std::uint8_t c = choices[rng() % std::size(choices)];
        code.push_back(c);
        for (std::uint32_t i = 1; i < instruction_size(c); ++i)
            code.push_back(static_cast<std::uint8_t>(rng() % 256));
    }
    return code;
}

class RandomMacroMemory : public ::testing::Test {
  protected:
    // The mouse against the model: placement, accounting, buttons and bytes.
    void check(const char* step, int n) {
        SCOPED_TRACE(std::string(step) + " #" + std::to_string(n));
        MacroMemory fresh(m.rig.lib, m.path, m.buttons);
        ASSERT_TRUE(fresh.load_directory());
        const auto& d = fresh.directory();
        int used_bytes = 0;
        std::map<int, int> start_of;  // slot -> start
        for (int i = 0; i < kSlotCount; ++i) {
            const auto& s = d.slots[i];
            ASSERT_EQ(s.used(), model.count(i) == 1) << "slot " << i;
            if (!s.used())
                continue;
            ASSERT_GE(s.start, kCodeAreaStart);
            ASSERT_LT(s.end, d.macro_limit);
            ASSERT_LE(s.start, s.end);
            for (int j = 0; j < i; ++j) {
                const auto& o = d.slots[j];
                ASSERT_TRUE(!o.used() || o.end < s.start || o.start > s.end)
                    << "slots " << j << " and " << i << " overlap";
            }
            Bytes want = model[i].code;
            want.push_back(kEndByte);
            ASSERT_EQ(m.bytes(s.start, s.size()), want) << "slot " << i;
            EXPECT_EQ(s.name, model[i].name);
            used_bytes += s.size();
            start_of[i] = s.start;
        }
        EXPECT_EQ(d.free_bytes, d.total_bytes - used_bytes);
        EXPECT_EQ(m.memory->directory().free_bytes, d.free_bytes);
        for (const auto& [pb, slot] : assigned) {
            const auto f = device::read_button(m.rig.lib, m.path, pb.first, pb.second);
            ASSERT_TRUE(f);
            ASSERT_TRUE(start_of.count(slot)) << "a button names a removed macro";
            EXPECT_EQ(f->value, start_of[slot]);
            EXPECT_EQ(f->kind & 0x80, 0x80);
        }
    }
    // After a defragmentation the macros sit in slots 0, 1, ... in slot order, target last.
    void renumber(int target) {
        std::vector<int> order;
        for (const auto& [slot, mac] : model) {
            if (slot != target)
                order.push_back(slot);
        }
        if (model.count(target))
            order.push_back(target);
        std::map<int, ModelMacro> next;
        std::map<int, int> new_slot;
        for (std::size_t k = 0; k < order.size(); ++k) {
            next[static_cast<int>(k)] = model[order[k]];
            new_slot[order[k]] = static_cast<int>(k);
        }
        for (auto& [pb, slot] : assigned)
            slot = new_slot.at(slot);
        model = std::move(next);
    }

    MouseRig m{8192};
    std::map<int, ModelMacro> model;
    std::map<std::pair<int, int>, int> assigned;  // (profile, button) -> slot
};

TEST_F(RandomMacroMemory, StaysConsistentThroughRandomOperations) {
    std::mt19937 rng(20261208);
    int defrags = 0, saves = 0, removals = 0;
    for (int n = 0; n < 400; ++n) {
        const int op = static_cast<int>(rng() % 10);
        const int slot = static_cast<int>(rng() % 12);
        if (op < 6) {
            const int size = rng() % 4 == 0 ? 200 + static_cast<int>(rng() % 600)
                                            : 1 + static_cast<int>(rng() % 60);
            const Bytes code = random_code(rng, size);
            const bool was_used = model.count(slot) == 1;
            const auto plan = m.memory->plan_save(slot, code, m.dialogs);
            if (plan.decision == SaveDecision::kWrite) {
                const std::string name =
                    was_used ? model[slot].name : m.memory->directory().generated_name("Unknown");
                ASSERT_TRUE(m.memory->write_macro(slot, plan.address, code).ok);
                model[slot] = {code, name};
                ++saves;
                check("save", n);
            } else if (plan.decision == SaveDecision::kDefragment) {
                ASSERT_TRUE(m.memory->defragment(slot, m.copy_to("/tmp/none")).ok);
                renumber(slot);
                ++defrags;
                check("defragment", n);
            } else {
                ASSERT_EQ(plan.decision, SaveDecision::kInsufficient);
            }
        } else if (op == 6 && model.count(slot)) {
            const std::string name = "n" + std::to_string(rng() % 1000);
            ASSERT_TRUE(m.memory->rename_macro(slot, name).ok);
            model[slot].name = name;
            check("rename", n);
        } else if (op == 7 && model.count(slot)) {
            ASSERT_TRUE(m.memory->remove_macro(slot).ok);
            model.erase(slot);
            std::erase_if(assigned, [&](const auto& a) { return a.second == slot; });
            ++removals;
            check("remove", n);
        } else if (op == 8 && model.count(slot)) {
            const std::pair<int, int> pb{static_cast<int>(rng() % 5), static_cast<int>(rng() % 11)};
            m.assign(pb.first, pb.second, m.memory->directory().slots[slot].start);
            assigned[pb] = slot;
        } else if (op == 9 && rng() % 4 == 0) {
            ASSERT_TRUE(m.memory->defragment(-1, m.copy_to("/tmp/none")).ok);
            renumber(-1);
            ++defrags;
            check("defragment", n);
        }
        if (HasFatalFailure())
            return;
    }
    // The run exercised every operation, defragmentation asked for by a save included.
    EXPECT_GT(saves, 100);
    EXPECT_GT(removals, 10);
    EXPECT_GT(defrags, 3);
}

}  // namespace
}  // namespace zentrik::macro
