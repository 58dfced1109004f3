// The editor and the macro lists as board operations, with the window's pointer logic editing
// rows in place: the rows each action leaves, their offsets and encoded bytes, and what the
// lists show for a directory.
#include <gtest/gtest.h>

#include "macro/macro_editor.h"
#include "macro/macro_lists.h"
#include "ui/input/pointer_dispatcher.h"
#include "ui/widget_board.h"

namespace zentrik::macro {
namespace {

using Bytes = std::vector<std::uint8_t>;

class EditorBoard : public ::testing::Test {
  protected:
    void SetUp() override {
        editor = board.create_list(kEditorList, {.width = 450, .height = 358, .id = 91});
        editor->edit_mode = 1;
        board.create_list(kMemoryList, {.width = 220, .height = 358, .id = 90})->renamable = 1;
        board.create_list(kFunctionList, {.width = 220, .height = 358, .id = 99})->foldable = 1;
        board.create_static_text("memory info", {});
        board.create_progress_bar("memory process bar", {});
        reset_editor(board);
    }
    std::vector<ui::ListItem> rows(const char* list) {
        std::vector<ui::ListItem> out;
        board.with_widget(list, [&](ui::Widget& w) { out = w.rows; });
        return out;
    }
    std::vector<std::uint32_t> offsets() {
        std::vector<std::uint32_t> out;
        for (const auto& r : rows(kEditorList))
            out.push_back(r.offset);
        return out;
    }
    void add(std::initializer_list<std::uint8_t> bytes) {
        _MACRO_INSTRUCTION in;
        in.code = *bytes.begin();
        in.size = static_cast<std::uint32_t>(bytes.size());
        std::copy(bytes.begin() + 1, bytes.end(), in.payload);
        add_editor_row(board, in);
    }
    ui::WidgetBoard board;
    ui::Widget* editor = nullptr;
    // The window's pointer logic on the same board: rows are edited in place there.
    struct NoCommands : ui::WidgetEventHandler {
        void handle_widget_event(const ui::WidgetEvent&) override {}
    } commands;
    ui::ManualClock clock;
    ui::HeadlessEditor value_editor;
    ui::PointerDispatcher pointer{board, commands, clock, nullptr, &value_editor};
};

TEST_F(EditorBoard, WaitStepAndTheValuesTypedForIt) {
    EXPECT_EQ(insert_wait(board), 1);
    ASSERT_TRUE(value_editor.visible()) << "the value editor opens on the new wait";
    EXPECT_EQ(value_editor.text(), "1");
    EXPECT_EQ(editor_code(board), (Bytes{0x04, 0x88, 0x01}));
    EXPECT_EQ(offsets(), (std::vector<std::uint32_t>{0, 1}));
    const std::pair<const char*, Bytes> typed[] = {
        {"300", {0x04, 0x89, 0x2C, 0x01}},
        {"70000", {0x04, 0x89, 0xFF, 0xFF}},
        {"abc", {0x04, 0x88, 0x00}},
        {"255", {0x04, 0x88, 0xFF}},  // the largest one-byte wait
        {"256", {0x04, 0x89, 0x00, 0x01}},
        {"-5", {0x04, 0x88, 0x00}},
        {"99999999999999999999", {0x04, 0x89, 0xFF, 0xFF}},
    };
    for (const auto& [text, code] : typed) {
        if (!value_editor.visible())
            pointer.open_editor(*editor, 1);  // what a second press on the row's value does
        value_editor.type(text);
        pointer.key_event(ui::Key::kEnter);
        EXPECT_EQ(editor_code(board), code) << text;
    }
}

TEST_F(EditorBoard, SecondPressesOnTheRunModeStepCycleIt) {
    std::vector<std::uint8_t> seen;
    for (int i = 0; i < 3; ++i) {
        pointer.open_editor(*editor, 0);
        seen.push_back(rows(kEditorList)[0].code);
    }
    EXPECT_EQ(seen, (std::vector<std::uint8_t>{0x06, 0x05, 0x04}));
    EXPECT_FALSE(value_editor.visible());
    // The unused mode 0x07 steps to fire-key mode, and the row shows its new mode.
    editor->rows[0].code = 0x07;
    pointer.open_editor(*editor, 0);
    EXPECT_EQ(step_text(rows(kEditorList)[0]), "Firekey mode");
}

TEST_F(EditorBoard, RowsGoAfterTheSelectionAndDeleteKeepsRowZero) {
    add({0x83, 0x04});
    add({0x84, 0x04});
    select_editor_row(board, 1);
    add({0x88, 0x0A});  // between the key-down and the key-up
    EXPECT_EQ(editor_code(board), (Bytes{0x04, 0x83, 0x04, 0x88, 0x0A, 0x84, 0x04}));
    select_editor_row(board, 0);
    EXPECT_FALSE(delete_selected_step(board));
    select_editor_row(board, 2);
    EXPECT_TRUE(delete_selected_step(board));
    EXPECT_EQ(editor_code(board), (Bytes{0x04, 0x83, 0x04, 0x84, 0x04}));
    EXPECT_EQ(offsets(), (std::vector<std::uint32_t>{0, 1, 3}));
}

TEST_F(EditorBoard, LoadedCodeGetsARunModeStepFirst) {
    set_editor_instructions(board, decode_macro(Bytes{0x83, 0x04, 0x84, 0x04}));
    EXPECT_EQ(editor_code(board), (Bytes{0x04, 0x83, 0x04, 0x84, 0x04}));
    EXPECT_EQ(offsets(), (std::vector<std::uint32_t>{0, 1, 3}));
}

TEST_F(EditorBoard, ListsShowSlotsMarkersAndMemory) {
    MacroDirectory dir;
    dir.reset(0x1000);
    dir.slots[4] = {"zeta", 0x800, 0x805, 0x04, {}};
    dir.slots[9] = {"Alpha", 0x806, 0x80F, 0x05, {}};
    dir.free_bytes -= 16;
    device::ButtonTable buttons;
    buttons.set(2, 3, {true, 0x806});
    dir.set_profile_markers(buttons);
    ui::ListItem builtin;
    builtin.text = "_@Built-in";
    rebuild_macro_lists(board, dir, {builtin}, 0x800);

    const auto memory = rows(kMemoryList);
    ASSERT_EQ(memory.size(), 64u);
    EXPECT_EQ(memory[0].text, "Alpha");
    EXPECT_EQ(memory[0].tag, 9u);
    EXPECT_EQ(memory[0].extra[2], 1u);
    EXPECT_EQ(memory[0].extra[1], 0u);
    EXPECT_EQ(memory[1].text, "zeta");
    EXPECT_EQ(memory[2].text, "_#-- Empty --");
    EXPECT_EQ(memory[2].color, kEmptySlotColor);
    EXPECT_EQ(memory[2].value, static_cast<std::uint32_t>(kNoAddress));
    board.with_widget(kMemoryList, [](ui::Widget& w) { EXPECT_EQ(w.selected_row, 1); });

    const auto functions = rows(kFunctionList);
    ASSERT_EQ(functions.size(), 4u);  // built-in part, user header, two macros; no empty slots
    EXPECT_EQ(functions[1].text, "_@User Macro");
    EXPECT_EQ(functions[2].text, "Alpha");
    EXPECT_EQ(functions[2].extra[2], 1u);

    board.with_widget("memory info", [](ui::Widget& w) {
        EXPECT_EQ(w.text, "Remaining: 2032 B , Total: 2048 B");
    });
}

}  // namespace
}  // namespace zentrik::macro
