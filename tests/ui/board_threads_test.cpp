// Workers change widgets while the window thread paints: every access goes through the
// board's lock, so the frame never sees a half-changed row list (run under TSan to check).
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "ui/layout.h"
#include "ui/renderer.h"

namespace zentrik::ui {
namespace {

TEST(BoardThreads, WorkersChangeWidgetsWhilePainting) {
    WidgetBoard board;
    HeadlessOwner owner;
    WindowShell shell;
    build_main_window(board, &owner, shell);
    board.set_page(kPageMacros);
    Renderer renderer(board);
    std::atomic<bool> stop{false};

    std::thread rows([&] {
        for (int i = 0; i < 200; ++i) {
            board.add_row("list macro edit", 0, 2, 0x88, i, false);
            std::vector<ListItem> slots(i % 7);
            board.set_rows("list macro 2", slots);
        }
    });
    std::thread values([&] {
        for (int i = 0; !stop; ++i) {
            board.set_value("dpi x", 90 * (i % 56 + 1));
            board.set_text("memory info", std::to_string(i));
            board.set_fraction("memory process bar", (i % 100) / 100.0);
            board.set_checked("record check", i % 2);
            if (i % 10 == 0) {
                add_device_row(board, i % 3, "row", 0, "qx10", 8192, "");
                board.remove_widget(device_row_name((i + 1) % 3));
            }
        }
    });
    for (int frame = 0; frame < 30; ++frame)
        renderer.compose({});
    rows.join();
    stop = true;
    values.join();

    const Widget* editor = board.find_widget("list macro edit");
    ASSERT_EQ(editor->row_count(), 201);
    // Offsets chain after every insertion.
    for (int i = 1; i < editor->row_count(); ++i)
        EXPECT_EQ(editor->rows[i].offset, editor->rows[i - 1].offset + editor->rows[i - 1].size);
}

}  // namespace
}  // namespace zentrik::ui
