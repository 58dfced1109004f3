// The macro page in the core: a macro composed in the editor, stored in a slot, assigned to a
// button, removed again; the library's views; library entries taken into the editor and into a
// slot, and entries that cannot be written refused.
#include <gtest/gtest.h>

#include <fstream>

#include "core/macro_page.h"
#include "device/commands.h"
#include "lang/string_tables.h"
#include "macro/macro_file.h"
#include "macro/macro_memory.h"
#include "support/core_harness.h"
#include "ui/input/pointer_dispatcher.h"
#include "ui/skin_image.h"

namespace zentrik::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;

int row_named(CoreHarness& h, const std::string& list, const std::string& text) {
    const ui::Widget& w = h.widget(list);
    for (int i = 0; i < w.row_count(); ++i)
        if (w.rows[static_cast<std::size_t>(i)].text == text)
            return i;
    return -1;
}

// A library folder in the temporary folder with one entry, "Click" (row 1), holding `code`;
// the page shows it. The folder, for the test to remove.
std::filesystem::path library_of_one(core::MacroPage& page, const std::string& folder,
                                     const Bytes& code) {
    const auto dir = std::filesystem::temp_directory_path() / folder;
    std::filesystem::create_directories(dir / "macros");
    EXPECT_TRUE(macro::write_macro_file(dir / "macros" / "click.mf", code));
    std::ofstream(dir / "macro library.ini") << "cat=Mouse\nstr=Click\nfile=macros\\click.mf\n";
    page.set_library(macro::load_library(dir));
    return dir;
}

// The mouse's list shows the slots in address order; a row's tag is its slot.
const ui::ListItem& row_of_slot(CoreHarness& h, int slot) {
    const ui::Widget& w = h.widget("list macro 2");
    for (const auto& row : w.rows)
        if (static_cast<int>(row.tag) == slot)
            return row;
    throw std::runtime_error("no row for slot " + std::to_string(slot));
}

Bytes memory_at(CoreHarness& h, int address, int count) {
    const auto m = h.mouse().memory();
    return {m.begin() + address, m.begin() + address + count};
}

TEST(MacroPage, ComposeStoreAssignAndRemove) {
    CoreHarness h;
    int copies = 0;
    core::MacroPage page(*h.session, [&] {
        ++copies;
        return std::optional<std::filesystem::path>("/tmp/copy");
    });
    h.start_and_load();
    EXPECT_EQ(h.widget("list macro 2").row_count(), 64);
    EXPECT_EQ(h.widget("list macro 2").rows[0].text, "_#-- Empty --");

    // A wait step dropped on the editor, its value typed into the value editor that opens on
    // it, the editor dropped on slot row 0.
    ui::HeadlessEditor value_editor;
    ui::PointerDispatcher pointer(h.board, *h.session, h.clock, nullptr, &value_editor);
    h.widget("list macro edit").drop_row = 0;
    h.drop("icon tool 0", 0, "list macro edit");
    ASSERT_TRUE(value_editor.visible());
    value_editor.type("300");
    pointer.key_event(ui::Key::kEnter);
    h.widget("list macro 2").drop_row = 0;
    h.drop("list macro edit", 0, "list macro 2");
    EXPECT_EQ(memory_at(h, 0x800, 5), (Bytes{0x04, 0x89, 0x2C, 0x01, 0x00}));
    EXPECT_EQ(h.widget("list macro 2").rows[0].text, "Unknown 01");
    EXPECT_EQ(h.text("memory info").rfind("Remaining: ", 0), 0u);
    ui::ListPaintHooks hooks;
    page.install_paint_hooks(hooks);
    EXPECT_EQ(hooks.step_text(h.widget("list macro edit").rows[1]), "Wait 300 ms");
    EXPECT_EQ(hooks.macro_size(0), 5);
    EXPECT_EQ(hooks.macro_size(1), -1);

    // The stored macro in the function list, dropped on a button label.
    const int row = row_named(h, "list macro", "Unknown 01");
    ASSERT_GE(row, 0);
    h.drop("list macro", row, "zz_button 3");
    EXPECT_EQ(h.text("zz_button 3"), "Unknown 01");
    // Both lists mark it as used in profile 1 at once, and unmark it when it is taken away.
    const auto marks = [&] {
        return std::pair{row_of_slot(h, 0).extra[0],
                         h.widget("list macro").rows[static_cast<std::size_t>(row)].extra[0]};
    };
    EXPECT_EQ(marks(), (std::pair{1u, 1u}));
    h.drop("list macro",
           row_named(h, "list macro", lang::strings().function_name(lang::kFunctionDefault)),
           "zz_button 3");
    EXPECT_EQ(marks(), (std::pair{0u, 0u}));
    h.drop("list macro", row, "zz_button 3");
    EXPECT_EQ(marks(), (std::pair{1u, 1u}));

    // Delete on the mouse's list asks, then removes; the button gets its own function back.
    h.dialogs.answer(true);
    ui::Widget& list = h.widget("list macro 2");
    list.selected_row = 0;
    h.session->handle_widget_event({ui::kActionDeleteRequested, list.id, &list, nullptr});
    EXPECT_EQ(h.dialogs.shown().back().text,
              "Remove macro 'Unknown 01' ?\nThese buttons use it and get their own function "
              "back: profile 1: " +
                  lang::strings().button_name(3));
    EXPECT_EQ(memory_at(h, 0, 4), (Bytes{0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_NE(h.text("zz_button 3"), "Unknown 01");
    EXPECT_EQ(h.widget("list macro 2").rows[0].text, "_#-- Empty --");
    EXPECT_EQ(copies, 0);
}

TEST(MacroPage, LibraryEntriesWithoutAWritableFileAreRefused) {
    CoreHarness h;
    core::MacroPage page(*h.session);
    h.start_and_load();
    const auto dir = std::filesystem::temp_directory_path() / "zentrik-macro-page-library";
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "macro library.ini") << "cat=Games\nstr=Missing\nfile=missing.mf\n";
    page.set_library(macro::load_library(dir));
    const auto before = h.mouse().memory();
    h.widget("list macro 2").drop_row = 5;
    h.drop("list macro pc", 1, "list macro 2");
    EXPECT_EQ(h.dialogs.shown().back().text, "invalid format !!");
    EXPECT_EQ(h.mouse().memory(), before);
    std::filesystem::remove_all(dir);
}

TEST(MacroPage, LibraryButtonStepsThroughTheViewsAndToolsBringTheEditorBack) {
    CoreHarness h;
    core::MacroPage page(*h.session);
    h.start_and_load();
    const ui::Widget& editor = h.widget("list macro edit");
    const ui::Widget& library = h.widget("list macro pc");
    const auto shown = [&] { return std::pair{editor.visible, library.visible}; };
    EXPECT_EQ(shown(), (std::pair{1, 0}));

    h.click("bt_lib");  // editor above, library below, in the editor's panel
    EXPECT_EQ(shown(), (std::pair{1, 1}));
    EXPECT_EQ(editor.y + editor.height + 10, library.y);
    EXPECT_EQ(library.y + library.height, 129 + 358);
    EXPECT_EQ(library.x, editor.x);
    EXPECT_EQ(library.width, editor.width);
    EXPECT_EQ(h.widget("_macro panel").images[0], ui::load_skin_image(340));  // two cards

    h.click("bt_lib");  // the library alone fills the panel
    EXPECT_EQ(shown(), (std::pair{0, 1}));
    EXPECT_EQ(library.y, 129);
    EXPECT_EQ(library.height, 358);
    EXPECT_EQ(h.widget("_macro panel").images[0], ui::load_skin_image(284));  // one card

    h.click("icon tool new");  // an editor tool shows the editor again, whole
    EXPECT_EQ(shown(), (std::pair{1, 0}));
    EXPECT_EQ(editor.height, 358);
    EXPECT_EQ(page.library_view(), ui::LibraryView::kEditor);

    h.click("bt_lib");
    h.click("bt_lib");
    h.click("bt_lib");  // round to the start
    EXPECT_EQ(shown(), (std::pair{1, 0}));
    EXPECT_EQ(editor.y, 129);
    EXPECT_EQ(editor.height, 358);
}

TEST(MacroPage, LibraryEntryGoesIntoTheEditorAndIntoASlot) {
    CoreHarness h;
    core::MacroPage page(*h.session);
    h.start_and_load();
    const auto dir =
        library_of_one(page, "zentrik-macro-page-library-ok", Bytes{0x04, 0x21, 0x88, 0x14, 0x41});
    h.click("bt_lib");

    h.drop("list macro pc", 1, "list macro edit");
    const ui::Widget& editor = h.widget("list macro edit");
    ASSERT_EQ(editor.row_count(), 4);  // run mode, 21, wait 88 14, 41
    EXPECT_EQ(editor.rows[1].code, 0x21);
    EXPECT_EQ(editor.rows[2].code, 0x88);
    EXPECT_EQ(editor.rows[3].code, 0x41);

    h.widget("list macro 2").drop_row = 0;
    h.drop("list macro pc", 1, "list macro 2");
    EXPECT_EQ(memory_at(h, 0x800, 6), (Bytes{0x04, 0x21, 0x88, 0x14, 0x41, 0x00}));
    EXPECT_EQ(h.widget("list macro 2").rows[0].text, "Click");  // the entry's title
    std::filesystem::remove_all(dir);
}

// Another program writes while the window shows an older directory: the window's save plans
// from what the mouse holds now, and a remove or rename of a slot that changed meanwhile is
// refused rather than done to the other program's macro.
TEST(MacroPage, DecidesFromTheMouseNotFromWhatItReadBefore) {
    CoreHarness h;
    core::MacroPage page(*h.session);
    h.start_and_load();
    const auto dir = library_of_one(page, "zentrik-macro-page-fresh", Bytes{0x04, 0x21, 0x41});

    device::ButtonTable other_buttons;
    macro::MacroMemory other(h.session->lib(), h.session->selected_path(), other_buttons);
    ASSERT_TRUE(other.load_directory());
    const Bytes forty(40, 0x21);
    Bytes code{0x04};
    code.insert(code.end(), forty.begin(), forty.end() - 1);
    ASSERT_TRUE(other.write_macro(5, 0x800, code).ok);  // "Unknown 01" at 0800-0828
    const Bytes theirs = memory_at(h, 0x800, 41);

    h.widget("list macro 2").drop_row = 0;
    h.drop("list macro pc", 1, "list macro 2");
    EXPECT_EQ(memory_at(h, 0x800, 41), theirs);
    EXPECT_EQ(memory_at(h, 0x829, 4), (Bytes{0x04, 0x21, 0x41, 0x00}));
    EXPECT_EQ(row_of_slot(h, 0).text, "Click");

    // The window now shows slot 5; the other program replaces it with a macro of its own.
    ASSERT_TRUE(other.load_directory());
    ASSERT_TRUE(other.rename_macro(5, "Theirs").ok);
    ui::Widget& list = h.widget("list macro 2");
    list.selected_row = static_cast<int>(&row_of_slot(h, 5) - list.rows.data());
    h.dialogs.answer(true);
    h.session->handle_widget_event({ui::kActionDeleteRequested, list.id, &list, nullptr});
    EXPECT_EQ(h.dialogs.shown().back().text,
              "another program changed this macro meanwhile; nothing was done");
    EXPECT_EQ(memory_at(h, 0x800, 41), theirs);
    EXPECT_EQ(row_of_slot(h, 5).text, "Theirs");  // the lists show it now
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace zentrik::testing
