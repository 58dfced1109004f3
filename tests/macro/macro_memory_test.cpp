// Macro memory against a simulated mouse: the directory as the mouse stores it, placement,
// saves with their questions, renames, removals and defragmentation with the buttons that follow.
#include <gtest/gtest.h>

#include "lang/text_codec.h"
#include "macro/macro_lists.h"
#include "tests/macro/macro_test_support.h"

namespace zentrik::macro {
namespace {

using testing::MouseRig;
using Bytes = std::vector<std::uint8_t>;

MacroDirectory layout(std::initializer_list<std::pair<int, std::pair<int, int>>> used,
                      int limit = 0x1000) {
    MacroDirectory d;
    d.reset(limit);
    for (const auto& [slot, range] : used) {
        d.slots[slot].start = range.first;
        d.slots[slot].end = range.second;
        d.slots[slot].name = "m" + std::to_string(slot);
        d.free_bytes -= range.second - range.first + 1;
    }
    return d;
}

TEST(MacroDirectory, FindSpaceLayouts) {
    EXPECT_EQ(layout({}).find_space(10, 3), 0x800);
    const auto two = layout({{0, {0x800, 0x80F}}, {1, {0x820, 0x82F}}});
    EXPECT_EQ(two.find_space(16, 2), 0x810);  // the hole after slot 0 fits exactly
    EXPECT_EQ(two.find_space(17, 2), 0x830);
    EXPECT_EQ(two.find_space(20, 0), 0x800);  // grows into the hole before slot 1
    EXPECT_EQ(two.find_space(40, 0), 0x830);  // would overlap slot 1: first fit after it
    // Larger than the free bytes, or no contiguous room left below the limit.
    EXPECT_EQ(two.find_space(two.free_bytes + 1, 2), -1);
    const auto tight = layout({{0, {0x800, 0x83F}}, {1, {0x860, 0x8DF}}}, 0x900);
    EXPECT_EQ(tight.free_bytes, 0x40);
    EXPECT_EQ(tight.find_space(0x40, 2), -1);  // two holes of 32 bytes
    EXPECT_EQ(tight.find_space(0x20, 2), 0x840);
    EXPECT_EQ(tight.find_space(0x60, 0), 0x800);  // slot 0 grows into the hole after it
    EXPECT_EQ(tight.find_space(0x61, 0), -1);
}

// The end byte may land on the last address below the macro limit, never on the limit: after
// a used slot, and for a slot that grows in place (free bytes elsewhere do not help).
TEST(MacroDirectory, FindSpaceEndsJustBelowTheMacroLimit) {
    const auto after = layout({{0, {0x810, 0x81F}}}, 0x900);
    EXPECT_EQ(after.free_bytes, 0xF0);
    EXPECT_EQ(after.find_space(0xE0, 1), 0x820);  // 0x820 .. 0x8FF
    EXPECT_EQ(after.find_space(0xE1, 1), -1);
    const auto grows = layout({{0, {0x880, 0x88F}}}, 0x900);
    EXPECT_EQ(grows.find_space(0x80, 0), 0x880);  // 0x880 .. 0x8FF
    EXPECT_EQ(grows.find_space(0x81, 0), -1);
}

TEST(MacroDirectory, ListOrderAndGeneratedNames) {
    auto d = layout({{0, {0x800, 0x801}}, {3, {0x802, 0x803}}, {5, {0x804, 0x805}}});
    d.slots[0].name = "beta";
    d.slots[3].name = "Alpha";
    d.slots[5].name = "BETA";
    const auto order = d.list_order();
    ASSERT_EQ(order.size(), 64u);
    EXPECT_EQ((std::vector<int>(order.begin(), order.begin() + 4)), (std::vector<int>{3, 0, 5, 1}));
    d.slots[0].name = "Unknown 01";
    d.slots[3].name = "Unknown 03";
    EXPECT_EQ(d.generated_name("Unknown"), "Unknown 02");
}

TEST(MacroMemory, ReadsTheDirectoryAsTheMouseStoresIt) {
    MouseRig m;
    const Bytes record_ff = {0xFF, 0xFF, 0x10, 0x08, 'x', 0, 'y', 0};  // FF FF: empty
    m.mouse->poke_memory(2 * 32, record_ff);
    // "_@" hidden prefix and 0xFF name bytes.
    const Bytes named = {0x00, 0x08, 0x02, 0x08, '_', 0, '@', 0, 'M', 0, 0xFF, 0xFF};
    m.mouse->poke_memory(4 * 32, named);
    m.mouse->poke_memory(0x800, Bytes{0x05, 0x88, 0x00});
    ASSERT_TRUE(m.memory->load_directory());
    const auto& d = m.memory->directory();
    EXPECT_FALSE(d.slots[2].used());
    EXPECT_EQ(d.slots[2].name, "");
    ASSERT_TRUE(d.slots[4].used());
    EXPECT_EQ(d.slots[4].name, "M");
    EXPECT_EQ(d.slots[4].mode, 0x05);
    EXPECT_EQ(d.total_bytes, 16384 - 256 - 0x800);
    EXPECT_EQ(d.free_bytes, d.total_bytes - 3);
}

TEST(MacroMemory, SavesBytesEndByteAndRecord) {
    MouseRig m;
    const Bytes code = {0x04, 0x83, 0x04, 0x84, 0x04};
    ASSERT_TRUE(m.memory->save_macro(7, code, m.dialogs, {}).ok);
    EXPECT_EQ(m.bytes(0x800, 6), (Bytes{0x04, 0x83, 0x04, 0x84, 0x04, 0x00}));
    EXPECT_EQ(m.bytes(7 * 32, 4), (Bytes{0x00, 0x08, 0x05, 0x08}));
    EXPECT_TRUE(m.dialogs.questions.empty());
    ASSERT_TRUE(m.memory->save_macro(8, code, m.dialogs, {}).ok);
    EXPECT_EQ(m.memory->take_written_start(), 0x806);

    MacroMemory fresh(m.rig.lib, m.path, m.buttons);
    ASSERT_TRUE(fresh.load_directory());
    EXPECT_EQ(fresh.directory().slots[7].name, "Unknown 01");
    EXPECT_EQ(fresh.directory().slots[8].name, "Unknown 02");
    EXPECT_EQ(fresh.directory().free_bytes, fresh.directory().total_bytes - 12);
    EXPECT_EQ(fresh.read_macro_code(7), code);
    const auto list = fresh.load_macro(8);
    ASSERT_TRUE(list);
    EXPECT_EQ(encode_macro(*list), code);
}

TEST(MacroMemory, LongMacrosCrossPageBoundariesIntact) {
    MouseRig m;
    ASSERT_TRUE(m.memory->save_macro(0, Bytes{0x04, 0x88, 0x01}, m.dialogs, {}).ok);
    Bytes code = {0x06};
    for (int i = 0; i < 30; ++i) {
        code.push_back(0x83);
        code.push_back(static_cast<std::uint8_t>(4 + i));
    }
    code.insert(code.end(), {0x89, 0x10, 0x27});
    ASSERT_TRUE(m.memory->save_macro(1, code, m.dialogs, {}).ok);
    Bytes want = code;
    want.push_back(0x00);
    EXPECT_EQ(m.bytes(0x804, static_cast<int>(want.size())), want);
}

TEST(MacroMemory, NamesAreFourteenCharactersAtMost) {
    MouseRig m;
    ASSERT_TRUE(m.memory->save_macro(3, Bytes{0x04}, m.dialogs, {}).ok);
    ASSERT_TRUE(m.memory->rename_macro(3, "ABCDEFGHIJKLMN").ok);
    const Bytes record = m.bytes(3 * 32 + 4, 28);
    EXPECT_EQ(lang::utf16le_to_utf8({reinterpret_cast<const char*>(record.data()), 28}),
              "ABCDEFGHIJKLMN");
    ASSERT_TRUE(m.memory->rename_macro(3, "ABCDEFGHIJKLMNOP").ok);
    MacroMemory fresh(m.rig.lib, m.path, m.buttons);
    fresh.load_directory();
    EXPECT_EQ(fresh.directory().slots[3].name, "ABCDEFGHIJKLMN");

    // A character of two units that would end past the 14th is left out whole, and the list
    // shows the name the mouse holds.
    ASSERT_TRUE(m.memory->rename_macro(3, "ABCDEFGHIJKLM\U0001F600").ok);
    EXPECT_EQ(m.memory->directory().slots[3].name, "ABCDEFGHIJKLM");
    EXPECT_EQ(m.bytes(3 * 32 + 4 + 26, 2), (Bytes{0, 0}));
    fresh.load_directory();
    EXPECT_EQ(fresh.directory().slots[3].name, "ABCDEFGHIJKLM");
}

TEST(MacroMemory, SaveQuestions) {
    MouseRig m(8192);
    const Bytes code = {0x04, 0x88, 0x05};
    ASSERT_TRUE(m.memory->save_macro(0, code, m.dialogs, {}).ok);
    // Overwrite answered No: the mouse is unchanged.
    const auto before = m.mouse->memory();
    m.dialogs.answers = {false};
    EXPECT_FALSE(m.memory->save_macro(0, Bytes{0x05}, m.dialogs, {}).ok);
    EXPECT_EQ(m.dialogs.questions.back(), "Overwrite macro 'Unknown 01' ?");
    EXPECT_EQ(m.mouse->memory(), before);
    // Larger than all free memory.
    const Bytes huge(static_cast<std::size_t>(m.memory->directory().free_bytes), 0x20);
    EXPECT_FALSE(m.memory->save_macro(1, huge, m.dialogs, {}).ok);
    EXPECT_EQ(m.dialogs.messages.back(), "insufficient memory !!");
    // Not whole instructions.
    EXPECT_FALSE(m.memory->save_macro(1, Bytes{0x04, 0x83}, m.dialogs, {}).ok);
    EXPECT_EQ(m.dialogs.messages.back(), "invalid format !!");
    EXPECT_EQ(m.mouse->memory(), before);
}

TEST(MacroMemory, FragmentedMemoryAsksToDefragmentAndDoesNotWrite) {
    MouseRig m(8192);
    auto& d = m.memory->directory();
    const int total = d.total_bytes;
    // Three macros fill the memory; removing the middle one leaves two holes too small.
    const int third = total / 3;
    ASSERT_TRUE(m.memory->save_macro(0, Bytes(third - 1, 0x20), m.dialogs, {}).ok);
    ASSERT_TRUE(m.memory->save_macro(1, Bytes(10 - 1, 0x20), m.dialogs, {}).ok);
    ASSERT_TRUE(
        m.memory->save_macro(2, Bytes(total - third - 10 - 20 - 1, 0x20), m.dialogs, {}).ok);
    ASSERT_TRUE(m.memory->remove_macro(1).ok);
    EXPECT_EQ(d.free_bytes, 30);
    m.dialogs.answers = {false};
    EXPECT_FALSE(m.memory->save_macro(3, Bytes(25, 0x20), m.dialogs, m.copy_to("/tmp/x")).ok);
    EXPECT_EQ(m.dialogs.questions.back().rfind("Not enough continuous space", 0), 0u);
    EXPECT_FALSE(d.slots[3].used());
    // Yes defragments (the macro itself is saved afterwards).
    ASSERT_TRUE(m.memory->save_macro(3, Bytes(25, 0x20), m.dialogs, m.copy_to("/tmp/x")).ok);
    EXPECT_EQ(m.copies, 1);
    EXPECT_FALSE(d.slots[3].used());
    ASSERT_TRUE(m.memory->save_macro(3, Bytes(25, 0x20), m.dialogs, {}).ok);
    EXPECT_EQ(d.free_bytes, 4);
}

TEST(MacroMemory, OverwriteThatMovesRepointsButtons) {
    MouseRig m;
    ASSERT_TRUE(m.memory->save_macro(0, Bytes{0x04, 0x88, 0x01}, m.dialogs, {}).ok);
    ASSERT_TRUE(m.memory->save_macro(1, Bytes{0x04}, m.dialogs, {}).ok);
    m.assign(2, 3, 0x800);
    m.assign(4, 0, 0x800);
    const Bytes longer(39, 0x20);
    ASSERT_TRUE(m.memory->save_macro(0, longer, m.dialogs, {}).ok);
    const int start = m.memory->directory().slots[0].start;
    EXPECT_EQ(start, 0x806);
    for (auto [p, b] : {std::pair{2, 3}, std::pair{4, 0}}) {
        const auto f = device::read_button(m.rig.lib, m.path, p, b);
        ASSERT_TRUE(f);
        EXPECT_EQ(f->value, start);
        EXPECT_EQ(m.buttons.get(p, b).code, start);
    }
}

TEST(MacroMemory, RemovingResetsTheButtonsThatUsedIt) {
    MouseRig m;
    ASSERT_TRUE(m.memory->save_macro(0, Bytes{0x04}, m.dialogs, {}).ok);
    ASSERT_TRUE(m.memory->save_macro(1, Bytes{0x05}, m.dialogs, {}).ok);
    m.assign(1, 2, 0x800);
    m.assign(1, 3, 0x802);
    const int free_before = m.memory->directory().free_bytes;
    ASSERT_TRUE(m.memory->remove_macro(0).ok);
    const auto f = device::read_button(m.rig.lib, m.path, 1, 2);
    ASSERT_TRUE(f);
    EXPECT_EQ(f->kind & 0x80, 0);
    EXPECT_EQ(f->value, 0xFFFF);
    EXPECT_EQ(m.buttons.get(1, 2), (device::ButtonAssignment{false, 0xFFFF}));
    EXPECT_EQ(m.buttons.get(1, 3).code, 0x802);  // another macro's button stays
    EXPECT_EQ(m.bytes(0, 4), (Bytes{0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(m.memory->directory().free_bytes, free_before + 2);
    EXPECT_FALSE(m.memory->directory().slots[0].used());
}

TEST(MacroMemory, DefragmentCompactsInSlotOrderAndButtonsFollow) {
    MouseRig m;
    auto& d = m.memory->directory();
    ASSERT_TRUE(m.memory->write_macro(5, 0x900, Bytes{0x04, 0x88, 0x07}).ok);
    ASSERT_TRUE(m.memory->write_macro(9, 0x850, Bytes{0x05, 0x84, 0x04}).ok);
    m.assign(0, 1, 0x900);
    m.assign(3, 4, 0x850);
    ASSERT_TRUE(m.memory->defragment(-1, m.copy_to("/tmp/copy.mbf")).ok);
    EXPECT_EQ(d.slots[0].start, 0x800);
    EXPECT_EQ(d.slots[0].end, 0x803);
    EXPECT_EQ(d.slots[1].start, 0x804);
    EXPECT_FALSE(d.slots[5].used());
    EXPECT_FALSE(d.slots[9].used());
    EXPECT_EQ(m.bytes(0x800, 8), (Bytes{0x04, 0x88, 0x07, 0x00, 0x05, 0x84, 0x04, 0x00}));
    EXPECT_EQ(device::read_button(m.rig.lib, m.path, 0, 1)->value, 0x800);
    EXPECT_EQ(device::read_button(m.rig.lib, m.path, 3, 4)->value, 0x804);
    EXPECT_TRUE(d.slots[0].profiles[0]);
    EXPECT_TRUE(d.slots[1].profiles[3]);
}

// The macro being saved goes last, whatever its slot: the others keep their slot order.
TEST(MacroMemory, DefragmentPutsTheTargetLast) {
    MouseRig m;
    auto& d = m.memory->directory();
    ASSERT_TRUE(m.memory->write_macro(2, 0x900, Bytes{0x04, 0x88, 0x07}).ok);
    ASSERT_TRUE(m.memory->write_macro(5, 0x850, Bytes{0x05, 0x84, 0x04}).ok);
    ASSERT_TRUE(m.memory->write_macro(7, 0x880, Bytes{0x04}).ok);
    m.assign(0, 1, 0x900);
    m.assign(1, 2, 0x850);
    m.assign(2, 3, 0x880);
    ASSERT_TRUE(m.memory->defragment(5, m.copy_to("/tmp/copy.mbf")).ok);
    EXPECT_EQ(std::pair(d.slots[0].start, d.slots[0].end), std::pair(0x800, 0x803));
    EXPECT_EQ(std::pair(d.slots[1].start, d.slots[1].end), std::pair(0x804, 0x805));
    EXPECT_EQ(std::pair(d.slots[2].start, d.slots[2].end), std::pair(0x806, 0x809));
    EXPECT_EQ(m.bytes(0x800, 10),
              (Bytes{0x04, 0x88, 0x07, 0x00, 0x04, 0x00, 0x05, 0x84, 0x04, 0x00}));
    EXPECT_EQ(device::read_button(m.rig.lib, m.path, 0, 1)->value, 0x800);
    EXPECT_EQ(device::read_button(m.rig.lib, m.path, 2, 3)->value, 0x804);
    EXPECT_EQ(device::read_button(m.rig.lib, m.path, 1, 2)->value, 0x806);
    EXPECT_EQ(m.buttons.get(1, 2).code, 0x806);
}

TEST(MacroMemory, DefragmentWithoutASafetyCopyWritesNothing) {
    MouseRig m;
    ASSERT_TRUE(m.memory->write_macro(5, 0x900, Bytes{0x04}).ok);
    const auto before = m.mouse->memory();
    const auto r = m.memory->defragment(-1, [] { return std::optional<std::filesystem::path>(); });
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find("safety copy"), std::string::npos);
    EXPECT_EQ(m.mouse->memory(), before);
}

}  // namespace
}  // namespace zentrik::macro
