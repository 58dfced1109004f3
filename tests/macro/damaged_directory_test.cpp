// A damaged macro directory (a restored backup, worn memory, replies that are noise): damaged
// records are shown and removable but never read, used for placement or moved, and the free
// bytes stay true. Time is bounded by counting exchanges, not by the clock.
#include <gtest/gtest.h>

#include <array>

#include "macro/directory_record.h"
#include "macro/macro_lists.h"
#include "sim/sim_mouse.h"
#include "tests/macro/macro_test_support.h"

namespace zentrik::macro {
namespace {

using testing::MouseRig;
using Bytes = std::vector<std::uint8_t>;

void plant_record(MouseRig& m, int slot, int start, int end) {
    const Bytes range{std::uint8_t(start & 0xFF), std::uint8_t(start >> 8),
                      std::uint8_t(end & 0xFF), std::uint8_t(end >> 8)};
    m.mouse->poke_memory(static_cast<std::uint16_t>(slot * kRecordSize), range);
}

// Slot 0 sound; 1 ends past the memory, 2 ends before its start, 3 starts in the directory,
// 4 overlaps slot 0. The rig's mouse has 16 KiB.
std::unique_ptr<MouseRig> damaged_rig() {
    auto m = std::make_unique<MouseRig>();
    EXPECT_TRUE(m->memory->save_macro(0, Bytes{0x04, 0x88, 0x05}, m->dialogs, {}).ok);
    plant_record(*m, 1, 0x0800, 0xFFFE);
    plant_record(*m, 2, 0x0900, 0x08F0);
    plant_record(*m, 3, 0x00E9, 0x00F0);
    plant_record(*m, 4, 0x0802, 0x0810);
    m->assign(0, 2, 0x0900);  // a button naming the damaged slot 2
    return m;
}

TEST(DamagedDirectory, IsReadInBoundedExchangesAndCountedTrue) {
    auto m = damaged_rig();
    int exchanges = 0;
    m->rig.lib.set_trace([&](const device::ExchangeTrace&) { ++exchanges; });
    ASSERT_TRUE(m->memory->load_directory());
    // The limit, 64 heads, and per used record at most its mode byte and its name (4 reads).
    EXPECT_LE(exchanges, 1 + 64 + 5 * 6);
    const auto& d = m->memory->directory();
    EXPECT_FALSE(d.slots[0].damaged);
    for (int slot : {1, 2, 3, 4})
        EXPECT_TRUE(d.slots[slot].used() && d.slots[slot].damaged) << "slot " << slot;
    EXPECT_EQ(d.free_bytes, d.total_bytes - 4);
    EXPECT_EQ(d.first_damaged(), 1);

    exchanges = 0;
    EXPECT_FALSE(m->memory->read_macro_code(1));
    EXPECT_EQ(exchanges, 0);

    // The macro page shows it, the function list never offers it.
    const auto rows = memory_list_rows(d);
    EXPECT_TRUE(std::any_of(rows.begin(), rows.end(), [](const ui::ListItem& r) {
        return r.text.find("Damaged") != std::string::npos;
    }));
    for (const auto& row : user_macro_rows(d))
        EXPECT_TRUE(row.is_header() || row.tag == 0) << row.text;
}

TEST(DamagedDirectory, IsNeverMovedOrPlacedOverAndCanBeRemoved) {
    auto m = damaged_rig();
    ASSERT_TRUE(m->memory->load_directory());
    const auto before = m->mouse->memory();
    const auto defrag = m->memory->defragment(-1, m->copy_to("/tmp/x"));
    EXPECT_FALSE(defrag.ok);
    EXPECT_NE(defrag.error.find("slot 1"), std::string::npos);
    EXPECT_EQ(m->mouse->memory(), before);
    EXPECT_EQ(m->copies, 0);

    // Writing into the damaged slot 3 places the macro after the sound one, in the code area;
    // the button that named the damaged slot 2 keeps its value.
    ASSERT_TRUE(m->memory->save_macro(3, Bytes{0x04, 0x20, 0x40}, m->dialogs, {}).ok);
    const auto& d = m->memory->directory();
    EXPECT_EQ(d.slots[3].start, 0x0804);
    EXPECT_FALSE(d.slots[3].damaged);
    EXPECT_EQ(m->buttons.get(0, 2).code, 0x0900);
    EXPECT_EQ(m->bytes(0x00E9, 8), Bytes(before.begin() + 0xE9, before.begin() + 0xF1));

    for (int slot : {1, 2, 4})
        ASSERT_TRUE(m->memory->remove_macro(slot).ok) << "slot " << slot;
    EXPECT_EQ(m->buttons.get(0, 2).remapped, false);
    MacroMemory fresh(m->rig.lib, m->path, m->buttons);
    ASSERT_TRUE(fresh.load_directory());
    EXPECT_EQ(fresh.directory().first_damaged(), -1);
    EXPECT_EQ(fresh.directory().free_bytes, fresh.directory().total_bytes - 4 - 4);
}

TEST(DamagedDirectory, ImpossibleRepliesAreNotTakenAsSuccess) {
    // A macro limit past the memory is refused; a write whose record does not read back as
    // written (noise flagged done) is reported as failed.
    MouseRig m(8192);
    ASSERT_TRUE(device::identify(m.rig.lib, m.path));  // the memory size is known
    ASSERT_TRUE(device::write_macro_limit(m.rig.lib, m.path, 0x7F00));
    EXPECT_FALSE(m.memory->load_directory());
    ASSERT_TRUE(device::write_macro_limit(m.rig.lib, m.path, 0x1F00));
    ASSERT_TRUE(m.memory->load_directory());
    sim::SimFaults noise;
    noise.garbage_replies = true;
    m.mouse->set_faults(noise);
    EXPECT_FALSE(m.memory->write_macro(0, 0x0800, Bytes{0x04, 0x20, 0x40}).ok);
    // And no write ever leaves the code area, whatever address is asked for.
    m.mouse->set_faults({});
    const auto before = m.mouse->memory();
    EXPECT_FALSE(m.memory->write_macro(0, 0x00E9, Bytes{0x04}).ok);
    EXPECT_FALSE(m.memory->write_macro(0, 0x1EFF, Bytes{0x04, 0x20}).ok);
    EXPECT_EQ(m.mouse->memory(), before);
}

TEST(DamagedDirectory, NamesReadBackAsWrittenOrAreRefused) {
    MouseRig m;
    ASSERT_TRUE(m.memory->save_macro(0, Bytes{0x04}, m.dialogs, {}).ok);
    for (const std::string name : {"\u00FFes", "\u00FF\u00FF", "ABCDEFGHIJKLM\U0001F600"}) {
        ASSERT_TRUE(m.memory->rename_macro(0, name).ok) << name;
        MacroMemory fresh(m.rig.lib, m.path, m.buttons);
        ASSERT_TRUE(fresh.load_directory());
        EXPECT_EQ(fresh.directory().slots[0].name, fit_record_name(name));
    }
    EXPECT_EQ(fit_record_name("ABCDEFGHIJKLM\U0001F600"), "ABCDEFGHIJKLM");
    for (const std::string name : {"_@_@Evil", "_@x", "a\tb", "a\nb", "a\x7F"}) {
        EXPECT_FALSE(m.memory->rename_macro(0, name).ok) << name;
        EXPECT_TRUE(record_name_problem(name)) << name;
    }
    // A name planted with hidden prefixes never reads as a list header.
    std::array<std::uint8_t, kRecordNameBytes> field{};
    const std::string planted = "_@_@Evil";
    for (std::size_t i = 0; i < planted.size(); ++i)
        field[2 * i] = static_cast<std::uint8_t>(planted[i]);
    EXPECT_EQ(decode_record_name(field), "Evil");
}

}  // namespace
}  // namespace zentrik::macro
