// The widget layer: frames that start from it are the frames painted widget by widget, while
// widgets, texts, pointer and page change.
#include <cairo.h>
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "ui/layout.h"
#include "ui/renderer.h"

namespace zentrik::ui {
namespace {

std::vector<unsigned char> pixels_of(cairo_surface_t* frame, int height) {
    cairo_surface_flush(frame);
    const auto* data = cairo_image_surface_get_data(frame);
    return {data, data + std::size_t(cairo_image_surface_get_stride(frame)) * height};
}

// The main window twice over one board: one renderer with the layer, one painting every widget.
class LayeredWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        build_main_window(board, &owner, shell);
        add_device_row(board, 0, "QX10 - Wired / Wireless Mouse (id: 00A5)", 170, "qx10", 16384,
                       "");
        // Every list gets rows to show and to scroll: headers, step codes, markers.
        std::vector<std::string> lists;
        board.for_each_widget([&](const std::string& name, const Widget& w) {
            if (w.kind == kList)
                lists.push_back(name);
        });
        for (const std::string& name : lists) {
            std::vector<ListItem> rows(30);
            for (int i = 0; i < 30; ++i) {
                rows[i].text = (i % 7 == 0 ? "_@Group " : "Row ") + std::to_string(i);
                rows[i].code = static_cast<std::uint8_t>(0x20 * (i % 8));
                rows[i].offset = 3 * i;
                rows[i].size = 3;
                rows[i].tag = i;
                rows[i].extra[i % 5] = i % 2;
            }
            board.set_rows(name, std::move(rows));
        }
        plain.set_layer_enabled(false);
        for (Renderer* r : {&layered, &plain})
            r->hooks().step_text = [this](const ListItem& row) { return step_prefix + row.text; };
    }
    // Composes both; the layered frame must be the plain one.
    std::vector<unsigned char> frame() {
        const auto want = pixels_of(plain.compose({}), plain.height());
        const auto got = pixels_of(layered.compose({}), layered.height());
        EXPECT_TRUE(want == got) << "the layered frame differs from the painted one";
        return got;
    }
    std::vector<Widget*> shown() {
        std::vector<Widget*> widgets;
        board.for_each_widget([&](const std::string&, Widget& w) {
            if (w.visible && board.on_current_page(w))
                widgets.push_back(&w);
        });
        return widgets;
    }

    WidgetBoard board;
    HeadlessOwner owner;
    WindowShell shell;
    Renderer layered{board};
    Renderer plain{board};
    std::string step_prefix;
};

TEST_F(LayeredWindow, EveryFrameIsTheFramePaintedWidgetByWidget) {
    std::mt19937 random(15);
    auto pick = [&](int n) { return static_cast<int>(random() % unsigned(n)); };
    for (int page : {kPageButtons, kPageMacros, kPageDpi, kPageDevices, kPageHome, kPageNoDevice}) {
        board.set_page(page);
        for (int step = 0; step < 24; ++step) {
            // Mostly quiet frames (the layer settles and is used), sometimes a change or two.
            for (int changes = step % 3 == 0 ? pick(3) : 0; changes > 0; --changes) {
                auto lock = board.lock();
                std::vector<Widget*> widgets = shown();
                if (widgets.empty())
                    break;
                Widget& w = *widgets[pick(int(widgets.size()))];
                switch (pick(10)) {
                    case 0:
                        w.state = pick(3);
                        break;
                    case 1:
                        w.checked = !w.checked;
                        break;
                    case 2:
                        board.pointer.under = pick(2) ? &w : nullptr;
                        break;
                    case 3:
                        board.pointer.drop_highlight = pick(2) ? &w : nullptr;
                        break;
                    case 4:
                        w.text = "Text " + std::to_string(step);
                        break;
                    case 5:
                        w.enabled = !w.enabled;
                        break;
                    case 6:
                        w.x += pick(2) ? 7 : -7;
                        w.y += pick(2) ? 5 : -5;
                        break;
                    case 7:
                        w.visible = 0;
                        break;
                    case 8:
                        w.value = w.min + pick(std::max(1, w.max - w.min));
                        w.fraction = pick(100) / 100.0;
                        break;
                    default:
                        if (w.row_count() > 0) {
                            w.rows[pick(w.row_count())].text = "Row " + std::to_string(step);
                            w.selected_row = pick(w.row_count());
                            w.scroll_px = w.row_height * pick(w.row_count());
                        } else {
                            step_prefix = std::to_string(step);
                        }
                        break;
                }
            }
            frame();
        }
    }
    // Both ways of bringing the layer up to date were taken.
    EXPECT_GT(layered.layer().repaints(), 0);
    EXPECT_GT(layered.layer().patchings(), 0);
}

TEST_F(LayeredWindow, AChangedLabelShowsInTheNextFrameAndGoesAgain) {
    board.set_page(kPageHome);
    for (int i = 0; i < 4; ++i)
        frame();
    const auto settled = frame();
    ASSERT_GT(layered.layer().bytes(), 0u);
    Widget* label = nullptr;
    for (Widget* w : shown())
        if (!label && !w->text.empty() && w->kind != kList)
            label = w;
    ASSERT_NE(label, nullptr);
    const std::string before = label->text;
    {
        auto lock = board.lock();
        label->text = before + " (changed)";
    }
    EXPECT_NE(frame(), settled);
    for (int i = 0; i < 4; ++i)
        frame();
    {
        auto lock = board.lock();
        label->text = before;
    }
    EXPECT_EQ(frame(), settled);
}

TEST_F(LayeredWindow, AnotherLanguageRedrawsEveryText) {
    board.set_page(kPageDpi);
    for (int i = 0; i < 4; ++i)
        frame();
    const auto settled = frame();
    // Every text of the page replaced, as loading another language's texts does.
    {
        auto lock = board.lock();
        for (Widget* w : shown()) {
            if (!w->text.empty())
                w->text = "Ünïcode " + w->text;
            for (ListItem& row : w->rows)
                row.text = "Ünïcode " + row.text;
        }
    }
    EXPECT_NE(frame(), settled);
    for (int i = 0; i < 4; ++i)
        frame();
}

TEST_F(LayeredWindow, KeepsOnlyTheWidgetsBoxesAndOnePageAtATime) {
    const std::size_t whole = std::size_t(kWindowWidth) * kWindowHeight * 4;
    for (int page : {kPageHome, kPageButtons, kPageMacros, kPageDpi, kPageDevices}) {
        board.set_page(page);
        for (int i = 0; i < 4; ++i)
            layered.compose({});
        EXPECT_GT(layered.layer().bytes(), 0u) << page;
        EXPECT_LT(layered.layer().bytes(), whole * 6 / 10) << page;
    }
    // Before the board is ready nothing is drawn, so nothing is kept.
    board.paint_ready = 0;
    layered.compose({});
    EXPECT_EQ(layered.layer().bytes(), 0u);
}

}  // namespace
}  // namespace zentrik::ui
