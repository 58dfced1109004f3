// Each widget kind's look: colours and geometry probed in a headless frame.
#include <gtest/gtest.h>

#include "render_probe.h"
#include "ui/painters.h"
#include "ui/skin_image.h"

namespace zentrik::ui {
namespace {

using testing::inked;
using testing::near_color;
using testing::pixel_at;

// Test image ids, far from the skin's.
constexpr int kThumb = 9100, kBoxOff = 9101, kBoxOn = 9102, kNormal = 9103, kHoverImg = 9104,
              kPressedImg = 9105, kDisabledImg = 9106, kStepIcon = 9107;

class PaintTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        install_skin_image(kThumb, SkinImage::filled(16, 20, 0xFF00FF00));
        install_skin_image(kBoxOff, SkinImage::filled(20, 20, 0xFF0000FF));
        install_skin_image(kBoxOn, SkinImage::filled(20, 20, 0xFFFF0000));
        install_skin_image(kNormal, SkinImage::filled(30, 30, 0xFF101010));
        install_skin_image(kHoverImg, SkinImage::filled(30, 30, 0xFF202020));
        install_skin_image(kPressedImg, SkinImage::filled(30, 30, 0xFF303030));
        install_skin_image(kDisabledImg, SkinImage::filled(30, 30, 0xFF404040));
        install_skin_image(kStepIcon, SkinImage::filled(24, 24, 0xFF00FFFF));
    }
    void SetUp() override {
        board.paint_ready = 1;
        board.set_page(0);
    }
    cairo_surface_t* render(const OverlayState& overlay = {}) { return renderer.compose(overlay); }

    WidgetBoard board;
    Renderer renderer{board, nullptr};  // no background: every unpainted pixel is clear
};

TEST_F(PaintTest, CalloutLeaderLineOnlyWhenCheckedHoveredOrDropTarget) {
    // Box at (100, 100) 200 x 28, anchor (500, 250), elbow 150: a horizontal leg on y 150
    // from x 346 to 400.
    Widget* c =
        board.create_callout("c", {.x = 100,
                                   .y = 100,
                                   .width = 200,
                                   .height = 28,
                                   .colors = {0xFE000000, 0xFE7A7A7A, 0xDE969696, 0xFEFFFFFF},
                                   .line_from_x = 500,
                                   .line_from_y = 250,
                                   .elbow_x = -1,
                                   .elbow_y = 150,
                                   .page = 0});
    EXPECT_EQ(pixel_at(render(), 370, 150).a, 0u);

    c->checked = 1;  // normal style: wide dark red under a bright red line
    cairo_surface_t* f = render();
    EXPECT_TRUE(near_color(pixel_at(f, 370, 150), 0xFFFF1616, 4));
    EXPECT_TRUE(near_color(pixel_at(f, 370, 151), 0xC8BC2C2C, 4));
    EXPECT_TRUE(near_color(pixel_at(f, 200, 103), 0xFE7A7A7A, 4));  // checked fill

    c->checked = 0;
    board.pointer.under = c;  // strong style: one thin line
    f = render();
    EXPECT_TRUE(near_color(pixel_at(f, 370, 150), 0xFEBC1616, 4));
    EXPECT_EQ(pixel_at(f, 370, 151).a, 0u);
    EXPECT_TRUE(near_color(pixel_at(f, 200, 103), 0xFE909090, 4));

    board.pointer.under = nullptr;
    board.pointer.drop_highlight = c;
    f = render();
    EXPECT_TRUE(near_color(pixel_at(f, 370, 150), 0xFEBC1616, 4));
}

TEST_F(PaintTest, DisabledCalloutIsFaded) {
    Widget* c = board.create_callout("c", {.x = 10,
                                           .y = 10,
                                           .width = 200,
                                           .height = 28,
                                           .colors = {0xFE000000, 0, 0xFE969696, 0},
                                           .page = 0,
                                           .enabled = 0});
    (void)c;
    // Filled twice (no image) with alpha 0xDC: 1 - (1 - 0xDC/255)^2.
    const auto p = pixel_at(render(), 15, 12);
    EXPECT_NEAR(int(p.a), 250, 3);
    EXPECT_NEAR(int(p.r), 0x96, 3);
}

TEST_F(PaintTest, SliderThumbAtMinMaxAndEmptyRange) {
    Widget* s = board.create_slider("s", {.x = 100,
                                          .y = 100,
                                          .width = 270,
                                          .height = 11,
                                          .colors = {0xFEB4B4C8, 0xFE606060, 0xFE000000},
                                          .thumb_image = kThumb,
                                          .page = 0});
    board.set_range("s", 5040, 90, 90);
    // At min: the thumb is centred on the left end: left 100 - 8, top 100 + 5 - 10.
    cairo_surface_t* f = render();
    EXPECT_TRUE(near_color(pixel_at(f, 92, 95), 0xFF00FF00));
    EXPECT_FALSE(near_color(pixel_at(f, 91, 95), 0xFF00FF00));
    EXPECT_TRUE(near_color(pixel_at(f, 200, 106), 0xFE606060, 4));  // unfilled track
    s->value = 5040;
    f = render();
    EXPECT_TRUE(near_color(pixel_at(f, 362, 95), 0xFF00FF00));
    EXPECT_TRUE(near_color(pixel_at(f, 200, 106), 0xFEB4B4C8, 4));  // filled part
    EXPECT_FALSE(near_color(pixel_at(f, 92, 95), 0xFF00FF00));
    s->min = s->max = s->value = 7;  // an empty range must not divide by zero
    f = render();
    EXPECT_TRUE(near_color(pixel_at(f, 92, 95), 0xFF00FF00));
}

TEST_F(PaintTest, ProgressBarAtHalf) {
    board.create_progress_bar("p", {.x = 100,
                                    .y = 100,
                                    .width = 201,
                                    .height = 10,
                                    .colors = {0xFE102A82, 0xFE606060, 0xFE000000},
                                    .page = 0});
    cairo_surface_t* f = render();
    EXPECT_TRUE(near_color(pixel_at(f, 150, 106), 0xFE102A82, 4));
    EXPECT_TRUE(near_color(pixel_at(f, 199, 106), 0xFE102A82, 4));
    EXPECT_TRUE(near_color(pixel_at(f, 202, 106), 0xFE606060, 4));
    EXPECT_TRUE(near_color(pixel_at(f, 100, 100), 0xFE000000, 4));  // outline
}

TEST_F(PaintTest, CheckBoxShowsTheImageOfItsState) {
    Widget* b = board.create_check_box("b", {.x = 10,
                                             .y = 10,
                                             .width = 200,
                                             .height = 32,
                                             .text = "Enable",
                                             .unchecked_image = kBoxOff,
                                             .checked_image = kBoxOn,
                                             .page = 0});
    EXPECT_TRUE(near_color(pixel_at(render(), 12, 16), 0xFF0000FF));
    b->checked = 1;
    EXPECT_TRUE(near_color(pixel_at(render(), 12, 16), 0xFFFF0000));
}

TEST_F(PaintTest, RegionButtonStatesAndDisabledLook) {
    Widget* r = board.create_region_button(
        "r",
        {.x = 10, .y = 10, .images = {kNormal, kHoverImg, kPressedImg, kDisabledImg}, .page = 0});
    EXPECT_TRUE(near_color(pixel_at(render(), 20, 20), 0xFF101010));
    r->state = 1;
    EXPECT_TRUE(near_color(pixel_at(render(), 20, 20), 0xFF202020));
    r->state = 2;
    EXPECT_TRUE(near_color(pixel_at(render(), 20, 20), 0xFF303030));
    r->state = 0;
    r->checked = 1;  // checked shows the hover image
    EXPECT_TRUE(near_color(pixel_at(render(), 20, 20), 0xFF202020));
    r->enabled = 0;
    EXPECT_TRUE(near_color(pixel_at(render(), 20, 20), 0xFF404040));
}

TEST_F(PaintTest, RegionButtonWithoutImageDrawsNothingAndHasNoShape) {
    Widget* r = board.create_region_button("r", {.x = 10, .y = 10, .text = "X", .page = 0});
    ASSERT_TRUE(r->region.has_value());
    EXPECT_TRUE(r->region->empty());
    EXPECT_EQ(inked(render(), 0, 0, 140, 60, 0), 0);
}

TEST_F(PaintTest, DefaultPainterUsesCheckedImageAndHoverBox) {
    Widget* b = board.create_widget(
        "b", {.kind = kImageButton,
              .x = 10,
              .y = 10,
              .page = 0,
              .images = {kNormal, kHoverImg, kPressedImg, kDisabledImg, kBoxOn}});
    b->checked = 1;
    EXPECT_TRUE(near_color(pixel_at(render(), 11, 11), 0xFFFF0000));
    b->checked = 0;
    b->enabled = 0;
    EXPECT_TRUE(near_color(pixel_at(render(), 11, 11), 0xFF404040));
}

TEST_F(PaintTest, EmptyStepListShowsCaptionClosingRowAndTwoBytes) {
    Widget* l =
        board.create_list("l", {.x = 100, .y = 100, .width = 300, .height = 200, .page = 0});
    l->edit_mode = 1;
    cairo_surface_t* f = render();
    // The size text sits at the right of the caption band; the closing row below it.
    EXPECT_GT(inked(f, 340, 100, 52, 28), 10);
    EXPECT_GT(inked(f, 100, 132, 300, 32, 0x10), 10);
    l->edit_mode = 0;
    EXPECT_EQ(inked(render(), 340, 100, 52, 28), 0);
}

TEST_F(PaintTest, HeaderRowsAndMarkerBars) {
    Widget* l =
        board.create_list("l", {.x = 100, .y = 100, .width = 300, .height = 200, .page = 0});
    l->row_markers = 1;
    ListItem header{.text = "_@Built-in"};
    ListItem row{.text = "Macro"};
    row.extra = {1, 0, 1, 0, 0};
    board.set_rows("l", {header, row, ListItem{.text = "other"}});
    l->selected_row = 2;
    cairo_surface_t* f = render();
    // Header box from x + 8, row 0 top = y + 32.
    EXPECT_TRUE(near_color(pixel_at(f, 112, 134), 0xFED4D4D4, 4));
    // Row 1 top = 166: red bar at (387, 169), the next bar (blue) 5 lower.
    EXPECT_TRUE(near_color(pixel_at(f, 390, 170), 0xFEFF0000, 4));
    EXPECT_TRUE(near_color(pixel_at(f, 390, 175), 0xFE0000FF, 4));
    EXPECT_EQ(pixel_at(f, 390, 180).a, 0u);
    l->edit_mode = 1;  // step lists draw no marker bars
    EXPECT_FALSE(near_color(pixel_at(render(), 390, 170), 0xFEFF0000, 60));
}

TEST_F(PaintTest, SelectedRowIsShadedWithItsPointer) {
    Widget* l =
        board.create_list("l", {.x = 100, .y = 100, .width = 300, .height = 200, .page = 0});
    board.set_rows("l", {ListItem{.text = "a"}, ListItem{.text = "b"}});
    l->selected_row = 1;
    cairo_surface_t* f = render();
    EXPECT_TRUE(near_color(pixel_at(f, 380, 170), 0x40404040, 4));       // row 1 fill
    EXPECT_TRUE(near_color(pixel_at(f, 108, 166 + 17), 0x70404040, 4));  // triangle over fill
    EXPECT_EQ(pixel_at(f, 380, 140).a, 0u);                              // row 0 plain
}

TEST_F(PaintTest, StepRowIconFollowsTheCode) {
    EXPECT_EQ(step_icon_slot(0x88), 0);
    EXPECT_EQ(step_icon_slot(0x85), 1);
    EXPECT_EQ(step_icon_slot(0x84), 2);
    EXPECT_EQ(step_icon_slot(0x3F), 3);
    EXPECT_EQ(step_icon_slot(0x40), 4);
    EXPECT_EQ(step_icon_slot(0x04), 5);
    EXPECT_EQ(step_icon_slot(0x06), 7);
    EXPECT_EQ(step_icon_slot(0x7F), 8);
    EXPECT_EQ(step_icon_slot(0xC5), 9);
    EXPECT_EQ(step_icon_slot(0xCF), 9);  // the last system code
    EXPECT_EQ(step_icon_slot(0xD0), 10);
    EXPECT_EQ(step_icon_slot(0x90), 10);
    board.shared_images[9] = load_skin_image(kStepIcon);
    Widget* l =
        board.create_list("l", {.x = 100, .y = 100, .width = 300, .height = 200, .page = 0});
    l->edit_mode = 1;
    board.set_rows("l", {ListItem{.code = 0xC1}});
    // Icon at (x + 50, top + (34 - 24) / 2 - 1) with top = 132.
    EXPECT_TRUE(near_color(pixel_at(render(), 151, 137), 0xFF00FFFF));
}

TEST_F(PaintTest, StaticTextFillFadesWhenDisabled) {
    Widget* t = board.create_static_text("t", {.x = 10,
                                               .y = 10,
                                               .width = 100,
                                               .height = 30,
                                               .colors = {0xFEFFFFFF, 0xFE336699},
                                               .page = 0});
    EXPECT_TRUE(near_color(pixel_at(render(), 60, 12), 0xFE336699, 4));
    t->enabled = 0;
    EXPECT_TRUE(near_color(pixel_at(render(), 60, 12), 0x80336699, 4));
}

TEST_F(PaintTest, PageRuleInThePainter) {
    board.set_full_pages(5, 3);
    board.create_panel("all",
                       {.x = 0, .y = 0, .width = 10, .height = 10, .fill = 0xFFFF0000, .page = -1});
    board.create_panel(
        "every", {.x = 20, .y = 0, .width = 10, .height = 10, .fill = 0xFF0000FF, .page = -2});
    for (int page : {0, 2, 90}) {
        board.set_page(page);
        EXPECT_GT(pixel_at(render(), 5, 5).a, 0u) << page;
    }
    for (int page : {3, 5, 91, 99}) {
        board.set_page(page);
        cairo_surface_t* f = render();
        EXPECT_EQ(pixel_at(f, 5, 5).a, 0u) << page;
        EXPECT_GT(pixel_at(f, 25, 5).a, 0u) << page;
    }
}

TEST_F(PaintTest, NothingIsDrawnBeforeTheBoardIsReady) {
    board.create_panel("p", {.width = 10, .height = 10, .fill = 0xFFFF0000, .page = 0});
    board.paint_ready = 0;
    EXPECT_EQ(pixel_at(render(), 5, 5).a, 0u);
}

TEST_F(PaintTest, GuideVeilSparesListsAndTooltip) {
    board.set_page(1);
    board.create_list("list macro edit",
                      {.x = 500, .y = 100, .width = 100, .height = 100, .page = 1});
    board.create_list("list macro 2", {.x = 200, .y = 100, .width = 100, .height = 100, .page = 1});
    board.tooltip = {.text = "tip", .rect = {700, 400, 60, 20}, .count = 10};
    cairo_surface_t* f = render({.guide_mode = 1});
    EXPECT_TRUE(near_color(pixel_at(f, 20, 20), 0xDC101010, 2));
    EXPECT_EQ(pixel_at(f, 550, 95).a, 0u);                          // in the editor's hole
    EXPECT_EQ(pixel_at(f, 250, 150).a, 0u);                         // "list macro 2" hole
    EXPECT_TRUE(near_color(pixel_at(f, 720, 405), 0xC8202020, 3));  // tooltip not veiled
    // Guide mode 2 and an open editor in mode 1 draw nothing.
    EXPECT_EQ(pixel_at(render({.guide_mode = 2}), 20, 20).a, 0u);
    EXPECT_EQ(pixel_at(render({.guide_mode = 1, .editor_visible = true}), 20, 20).a, 0u);
}

TEST_F(PaintTest, LibraryDragVeilSparesTheLibraryInTheHiddenEditorsPlace) {
    board.set_page(1);
    board.create_list("list macro edit",
                      {.x = 500, .y = 100, .width = 100, .height = 100, .page = 1});
    board.create_list("list macro pc",
                      {.x = 500, .y = 100, .width = 100, .height = 100, .page = 1});
    board.create_list("list macro 2", {.x = 200, .y = 100, .width = 100, .height = 100, .page = 1});
    board.set_visible("list macro edit", 0);
    cairo_surface_t* f = render({.guide_mode = 3});
    EXPECT_EQ(pixel_at(f, 550, 150).a, 0u);  // the library, where the editor was
    EXPECT_EQ(pixel_at(f, 250, 150).a, 0u);  // the mouse's list
    EXPECT_TRUE(near_color(pixel_at(f, 20, 20), 0xDC101010, 2));
}

TEST_F(PaintTest, ProgressOverlayFillsHalfTheBar) {
    ProgressOverlay progress;
    progress.show(0.5, "Working");
    cairo_surface_t* f = render({.progress = &progress});
    const int W = renderer.width(), H = renderer.height();
    const int bx = W / 2 - 180;
    EXPECT_GT(pixel_at(f, bx + 100, H / 2).r, 0xC0u);  // orange half
    EXPECT_LT(pixel_at(f, bx + 100, H / 2).b, 0x30u);
    EXPECT_NEAR(int(pixel_at(f, bx + 200, H / 2).r), 0x60, 8);  // grey track
    EXPECT_GT(pixel_at(f, 5, 5).a, 0xC0u);                      // veil
    // Beyond 1.0 the bar stays full.
    progress.set_progress(board, 3.0);
    EXPECT_DOUBLE_EQ(progress.fraction(), 1.0);
}

TEST(Overlays, VeilsStayInsideTheWindowShape) {
    // A background whose left half is the window.
    auto background = SkinImage::filled(200, 100, 0);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x)
            background->set_pixel(x, y, 0xFF336699);
    WidgetBoard board;
    board.paint_ready = 1;
    Renderer renderer(board, background.get());
    EXPECT_EQ(renderer.width(), 200);
    ProgressOverlay progress;
    progress.show(0.5, "");
    for (const OverlayState& overlay :
         {OverlayState{.guide_mode = 4}, OverlayState{.recording_state = 3},
          OverlayState{.progress = &progress}}) {
        cairo_surface_t* f = renderer.compose(overlay);
        EXPECT_EQ(pixel_at(f, 150, 5).a, 0u);
        EXPECT_EQ(pixel_at(f, 5, 5).a, 0xFFu);
        EXPECT_LT(pixel_at(f, 5, 5).b, 0x99u);  // darkened
    }
}

}  // namespace
}  // namespace zentrik::ui
