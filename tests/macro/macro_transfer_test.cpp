// Files and library entries on their way into the editor or a slot: what is refused, what the
// editor holds afterwards, and the bytes that reach the mouse.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>

#include "macro/macro_editor.h"
#include "macro/macro_file.h"
#include "macro/macro_transfer.h"
#include "tests/macro/macro_test_support.h"
#include "ui/widget_board.h"

namespace zentrik::macro {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

class Transfer : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("zentrik-transfer-" +
                std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::create_directories(dir_);
        board.create_list(kEditorList, {.id = 91})->edit_mode = 1;
        reset_editor(board);
    }
    void TearDown() override { fs::remove_all(dir_); }
    fs::path put(const char* name, const std::string& bytes) {
        std::ofstream(dir_ / name, std::ios::binary) << bytes;
        return dir_ / name;
    }
    static std::string file_with(const std::string& code) {
        std::string bytes = "\x07_@_MF5_";
        for (int i = 0; i < 4; ++i)
            bytes.push_back(static_cast<char>((code.size() >> (8 * i)) & 0xFF));
        return bytes + code;
    }

    fs::path dir_;
    ui::WidgetBoard board;
    testing::MouseRig m;
};

TEST_F(Transfer, ImportRefusesAWrongTagAndKeepsTheEditor) {
    _MACRO_INSTRUCTION key{0, 2, MI_KEY_DOWN, {4}};
    add_editor_row(board, key);
    const Bytes before = editor_code(board);
    EXPECT_FALSE(
        import_file_into_editor(board, m.dialogs, put("x.mf", "\x07_@_MF6_\x01\0\0\0\x04")));
    EXPECT_EQ(m.dialogs.messages.back(), "invalid format !!");
    EXPECT_EQ(editor_code(board), before);
    // A missing file ends silently.
    EXPECT_FALSE(import_file_into_editor(board, m.dialogs, dir_ / "none.mf"));
    EXPECT_EQ(m.dialogs.messages.size(), 1u);
    EXPECT_TRUE(
        import_file_into_editor(board, m.dialogs, put("ok.mf", file_with("\x05\x83\x04\x84\x04"))));
    EXPECT_EQ(editor_code(board), (Bytes{0x05, 0x83, 0x04, 0x84, 0x04}));
}

TEST_F(Transfer, FilesAndEntriesThatCannotGoIntoASlotAreRefused) {
    const auto half = put("half.mf", file_with(std::string("\x04\x83", 2)));
    const auto before = m.mouse->memory();
    EXPECT_EQ(plan_file_save(*m.memory, half, 3, m.dialogs).plan.decision, SaveDecision::kInvalid);
    EXPECT_EQ(m.dialogs.messages.back(), "invalid format !!");

    std::ofstream(dir_ / kLibraryFileName) << "str=Half\nfile=half.mf\nstr=Gone\nfile=gone.mf\n"
                                              "str=Good\nfile=good.mf\n";
    put("good.mf", file_with("\x06\x88\x20"));
    const auto library = load_library(dir_);
    ASSERT_EQ(library.rows.size(), 3u);
    for (int i = 0; i < 2; ++i) {
        const auto w = plan_library_save(*m.memory, library, library.rows[i], 3, m.dialogs);
        EXPECT_EQ(w.plan.decision, SaveDecision::kInvalid);
    }
    EXPECT_EQ(m.mouse->memory(), before);

    const auto w = plan_library_save(*m.memory, library, library.rows[2], 3, m.dialogs);
    ASSERT_EQ(w.plan.decision, SaveDecision::kWrite);
    ASSERT_TRUE(run_slot_write(*m.memory, 3, w, m.dialogs, {}).ok);
    EXPECT_EQ(m.bytes(0x800, 4), (Bytes{0x06, 0x88, 0x20, 0x00}));
    EXPECT_EQ(m.memory->directory().slots[3].name, "Good");  // its title, not "Unknown 01"
    ASSERT_TRUE(m.memory->load_directory());
    EXPECT_EQ(m.memory->directory().slots[3].name, "Good");  // as the mouse holds it
}

TEST_F(Transfer, EditorSavedIntoASlot) {
    _MACRO_INSTRUCTION down{0, 2, MI_KEY_DOWN, {4}};
    _MACRO_INSTRUCTION up{0, 2, MI_KEY_UP, {4}};
    add_editor_row(board, down);
    add_editor_row(board, up);
    const auto w = plan_editor_save(*m.memory, board, 0, m.dialogs);
    ASSERT_TRUE(run_slot_write(*m.memory, 0, w, m.dialogs, {}).ok);
    EXPECT_EQ(m.bytes(0x800, 6), (Bytes{0x04, 0x83, 0x04, 0x84, 0x04, 0x00}));
}

TEST(MacroFileDialog, AsksForMacroFilesNamedByDate) {
    const auto r = macro_file_request(true);
    EXPECT_EQ(r.filter_name, "Macro File (*.mf)");
    EXPECT_EQ(r.pattern, "*.mf");
    EXPECT_EQ(r.default_extension, "mf");
    EXPECT_TRUE(std::regex_match(r.initial_name, std::regex("macro_\\d{4}-\\d{2}-\\d{2}")));
}

}  // namespace
}  // namespace zentrik::macro
