// The mouse unplugged at every stage of a save, a removal and a defragmentation: each run ends
// with a failure that is reported, and afterwards no directory record names bytes that were
// not written.
#include <gtest/gtest.h>

#include <functional>

#include "macro/slot_code.h"
#include "tests/macro/macro_test_support.h"

namespace zentrik::macro {
namespace {

using testing::MouseRig;
using Bytes = std::vector<std::uint8_t>;

const Bytes kOld0 = {0x04, 0x83, 0x04, 0x84, 0x04};
const Bytes kOld1 = {0x05, 0x88, 0x10};
const Bytes kOld2 = {0x06, 0x21, 0x41};

// Slots 2, 5 and 9 used (slot 5 in the middle of the code area), buttons on each.
std::unique_ptr<MouseRig> prepared() {
    auto m = std::make_unique<MouseRig>();
    EXPECT_TRUE(m->memory->write_macro(2, 0x800, kOld0).ok);
    EXPECT_TRUE(m->memory->write_macro(5, 0x900, kOld1).ok);
    EXPECT_TRUE(m->memory->write_macro(9, 0x806, kOld2).ok);
    m->assign(0, 1, 0x800);
    m->assign(2, 3, 0x900);
    m->assign(4, 10, 0x806);
    return m;
}

// Every used record names a range holding whole instructions and the end byte.
void expect_records_name_written_macros(MouseRig& m, const std::vector<Bytes>& allowed) {
    MacroMemory fresh(m.rig.lib, m.path, m.buttons);
    ASSERT_TRUE(fresh.load_directory());
    for (int i = 0; i < kSlotCount; ++i) {
        const auto& s = fresh.directory().slots[i];
        if (!s.used())
            continue;
        ASSERT_GE(s.start, kCodeAreaStart) << "slot " << i;
        ASSERT_LE(s.start, s.end) << "slot " << i;
        ASSERT_LT(s.end, fresh.directory().macro_limit) << "slot " << i;
        const Bytes bytes = m.bytes(s.start, s.size());
        const Bytes code(bytes.begin(), bytes.end() - 1);
        EXPECT_EQ(bytes.back(), kEndByte) << "slot " << i;
        EXPECT_NE(std::find(allowed.begin(), allowed.end(), code), allowed.end())
            << "slot " << i << " names bytes that are no macro that was written";
    }
}

// Runs `op` with the mouse unplugging after 1, 2, 3, ... exchanges (a growing spread) until a
// run passes without the fault firing; then the last failing count once more.
void sweep(const std::function<bool(MouseRig&, std::string& shown)>& op,
           const std::function<void(MouseRig&, bool ok, const std::string& shown)>& after) {
    int n = 1;
    int failures = 0;
    for (int step = 1;; n += step, step = std::max(1, n / 6)) {
        SCOPED_TRACE("unplugged after " + std::to_string(n) + " replies");
        auto m = prepared();
        sim::SimFaults f;
        f.unplug_after_exchanges = n;
        m->mouse->set_faults(f);
        std::string shown;
        const bool ok = op(*m, shown);
        const bool fired = m->mouse->faults().unplugged;
        m->mouse->set_faults({});
        if (!ok) {
            ++failures;
            EXPECT_FALSE(shown.empty()) << "a failure was not reported";
        }
        after(*m, ok, shown);
        if (!fired) {
            EXPECT_TRUE(ok);
            break;
        }
        ASSERT_LT(n, 5000) << "the operation never completed";
        if (::testing::Test::HasFatalFailure())
            return;
    }
    EXPECT_GT(failures, 3);
}

TEST(MacroMemoryFaults, SaveThatMovesAMacro) {
    const Bytes longer(60, 0x21);
    sweep(
        [&](MouseRig& m, std::string& shown) {
            const bool ok = m.memory->save_macro(2, longer, m.dialogs, {}).ok;
            if (!m.dialogs.messages.empty())
                shown = m.dialogs.messages.back();
            return ok;
        },
        [&](MouseRig& m, bool ok, const std::string&) {
            expect_records_name_written_macros(m, {kOld0, kOld1, kOld2, longer});
            if (ok) {
                EXPECT_EQ(device::read_button(m.rig.lib, m.path, 0, 1)->value,
                          m.memory->directory().slots[2].start);
            }
        });
}

// One exchange of the save is lost and every other goes through, so a failure that went
// unnoticed would not be hidden by the next step failing too: whichever exchange it is, the
// save says it failed and no record names bytes that were not written.
TEST(MacroMemoryFaults, SaveWithOneLostExchange) {
    const Bytes longer(60, 0x21);
    int lost = 0;
    for (int n = 1;; ++n) {
        SCOPED_TRACE("exchange " + std::to_string(n) + " lost");
        auto m = prepared();
        m->mouse->set_faults({.fail_exchange = n});
        const bool ok = m->memory->save_macro(2, longer, m->dialogs, {}).ok;
        const bool fired = m->mouse->faults().fail_exchange == 0;
        m->mouse->set_faults({});
        expect_records_name_written_macros(*m, {kOld0, kOld1, kOld2, longer});
        if (!fired) {
            EXPECT_TRUE(ok);
            break;
        }
        ++lost;
        EXPECT_FALSE(ok);
        EXPECT_FALSE(m->dialogs.messages.empty()) << "a failure was not reported";
        ASSERT_LT(n, 1000) << "the save never completed";
    }
    EXPECT_GT(lost, 10);
}

TEST(MacroMemoryFaults, OverwriteInPlace) {
    const Bytes other = {0x06, 0x83, 0x05, 0x84, 0x05};  // as long as the old one: stays
    sweep(
        [&](MouseRig& m, std::string& shown) {
            const bool ok = m.memory->save_macro(2, other, m.dialogs, {}).ok;
            if (!m.dialogs.messages.empty())
                shown = m.dialogs.messages.back();
            return ok;
        },
        [&](MouseRig& m, bool ok, const std::string&) {
            expect_records_name_written_macros(m, {kOld0, kOld1, kOld2, other});
            // The button on the macro runs the old macro, the new one, or nothing at all.
            const Bytes at = m.bytes(0x800, 6);
            const Bytes old_bytes = {0x04, 0x83, 0x04, 0x84, 0x04, 0x00};
            const Bytes new_bytes = {0x06, 0x83, 0x05, 0x84, 0x05, 0x00};
            EXPECT_TRUE(at[0] == kEndByte || at == old_bytes || at == new_bytes);
            if (ok) {
                EXPECT_EQ(at, new_bytes);
            }
        });
}

TEST(MacroMemoryFaults, SaveIntoAnEmptySlot) {
    const Bytes code = {0x04, 0x89, 0x10, 0x27, 0x83, 0x05};
    sweep(
        [&](MouseRig& m, std::string& shown) {
            const bool ok = m.memory->save_macro(7, code, m.dialogs, {}).ok;
            if (!m.dialogs.messages.empty())
                shown = m.dialogs.messages.back();
            return ok;
        },
        [&](MouseRig& m, bool, const std::string&) {
            expect_records_name_written_macros(m, {kOld0, kOld1, kOld2, code});
        });
}

TEST(MacroMemoryFaults, Removal) {
    sweep(
        [](MouseRig& m, std::string& shown) {
            const auto r = m.memory->remove_macro(5);
            shown = r.error;
            return r.ok;
        },
        [](MouseRig& m, bool, const std::string&) {
            expect_records_name_written_macros(m, {kOld0, kOld1, kOld2});
            // A button that still names a macro names one whose record is there.
            MacroMemory fresh(m.rig.lib, m.path, m.buttons);
            ASSERT_TRUE(fresh.load_directory());
            const auto f = device::read_button(m.rig.lib, m.path, 2, 3);
            ASSERT_TRUE(f);
            if (f->kind & 0x80) {
                EXPECT_TRUE(fresh.directory().slots[5].used());
            }
        });
}

TEST(MacroMemoryFaults, DefragmentationNamesItsSafetyCopy) {
    sweep(
        [](MouseRig& m, std::string& shown) {
            const auto r = m.memory->defragment(-1, m.copy_to("/backups/before.mbf"));
            shown = r.error;
            return r.ok;
        },
        [](MouseRig& m, bool ok, const std::string& shown) {
            EXPECT_EQ(m.copies, 1);
            // Once anything was written, the message says where the copy is.
            if (!ok && m.mouse->memory() != prepared()->mouse->memory()) {
                EXPECT_NE(shown.find("/backups/before.mbf"), std::string::npos) << shown;
            }
        });
}

}  // namespace
}  // namespace zentrik::macro
