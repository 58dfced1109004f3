// The window layout: every widget on its page with its id, the page switch, device rows, and
// the headless page render.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "app/render_page.h"
#include "render_probe.h"
#include "ui/layout.h"
#include "ui/skin_image.h"

namespace zentrik::ui {
namespace {

struct RecordingShell : WindowShell {
    int width = 0, height = 0, tray_icon = 0, cursor = 0;
    bool raw_input = false;
    std::string title;
    void set_title(const std::string& t) override { title = t; }
    void load_cursor(int id) override { cursor = id; }
    void set_window_size(int w, int h) override {
        width = w;
        height = h;
    }
    void add_tray_icon(int icon, int) override { tray_icon = icon; }
    void register_raw_input() override { raw_input = true; }
};

class LayoutTest : public ::testing::Test {
  protected:
    void SetUp() override { build_main_window(board, &owner, shell); }
    bool shown_on(const char* name, int page) {
        const Widget* w = board.find_widget(name);
        return w && WidgetBoard::shows_on(w->page, page, board.full_pages());
    }

    WidgetBoard board;
    HeadlessOwner owner;
    RecordingShell shell;
};

TEST_F(LayoutTest, BuildStartsOnTheDevicePageReadyToPaint) {
    EXPECT_EQ(board.page(), kPageDevices);
    EXPECT_EQ(board.full_pages(), (std::array<int, 2>{5, 3}));
    EXPECT_EQ(board.paint_ready.load(), 1);
    EXPECT_EQ(shell.width, 1046);
    EXPECT_EQ(shell.height, 655);
    EXPECT_EQ(shell.title, "Zentrik Mouse  Rev 1.0");
    EXPECT_EQ(shell.cursor, kActiveCursor);
    EXPECT_EQ(shell.tray_icon, kAppIcon);
    EXPECT_TRUE(shell.raw_input);
}

TEST_F(LayoutTest, EveryTableWidgetIsOnItsPageWithItsId) {
    struct Expect {
        const char* name;
        int kind, page, id;
    };
    const Expect table[] = {
        {"z_dpi1", kPicture, 2, 0},
        {"function button", kRegionButton, 5, 4},
        {"function macro", kRegionButton, 5, 5},
        {"function dpi", kRegionButton, 5, 6},
        {"list macro", kList, 0, 99},
        {"list macro 2", kList, 1, 90},
        {"list macro pc", kList, 1, 92},
        {"list macro edit", kList, 1, 91},
        {"bt_lib", kImageButton, 1, 95},
        {"record check", kCheckBox, 1, 41},
        {"dpi level 1", kLevelButton, 2, 30},
        {"dpi level 4", kLevelButton, 2, 33},
        {"dpi x", kSlider, 2, 20},
        {"dpi y", kSlider, 2, 21},
        {"dpi x value", kSpinBox, 2, 22},
        {"dpi y value", kSpinBox, 2, 23},
        {"bt_backup", kRegionButton, 2, 96},
        {"bt_restore", kRegionButton, 2, 97},
        {"bt_reset", kRegionButton, 2, 98},
        {"angle snap", kCheckBox, 2, 42},
        {"x y indep", kCheckBox, 2, 40},
        {"icon tool delete", kImageButton, 1, 215},
        {"icon tool new", kImageButton, 1, 212},
        {"icon tool load", kImageButton, 1, 214},
        {"icon tool save", kImageButton, 1, 213},
        {"icon tool rec", kImageButton, 1, 210},
        {"icon tool stop", kImageButton, 1, 211},
        {"report rate", kSlider, 2, 24},
        {"wheel rate", kSlider, 2, 25},
        {"device not found", kTextBox, 99, 0},
        {"_close", kRegionButton, -2, 1},
        {"_mini", kRegionButton, -2, 2},
        {"_home", kRegionButton, -2, 9},
        {"_tab_bt", kRegionButton, -1, 4},
        {"_tab_macro", kRegionButton, -1, 5},
        {"_tab_dpi", kRegionButton, -1, 6},
        {"zz_button 0", kCallout, 0, 100},
        {"zz_button 10", kCallout, 0, 110},
        {"profile 0", kTextBox, 0, 10},
        {"profile 4", kTextBox, 0, 14},
        {"icon tool 0", kImageButton, 1, 200},
        {"icon tool 5", kImageButton, 1, 205},
    };
    for (const Expect& e : table) {
        const Widget* w = board.find_widget(e.name);
        ASSERT_NE(w, nullptr) << e.name;
        EXPECT_EQ(w->kind, e.kind) << e.name;
        EXPECT_EQ(w->page, e.page) << e.name;
        EXPECT_EQ(w->id, e.id) << e.name;
    }
    for (const char* name : {"_macro panel",
                             "_macro panel2",
                             "_mouse p11",
                             "_mouse p11a",
                             "_mouse p11d",
                             "_mouse p50",
                             "_mouse 1",
                             "_slider pic",
                             "_xy pic",
                             "_adjust pic",
                             "static reprot 1",
                             "static reprot",
                             "static wheel 1",
                             "static wheel",
                             "memory process bar",
                             "memory info",
                             "z_dpi4",
                             "static x0",
                             "static y3",
                             "zz_button_pic 10",
                             "aa_button_pic 10",
                             "bb_button_pic 10",
                             "zz_button_pic_1 10",
                             "aa_button_pic_1 10",
                             "ov_button_pic_1 10"})
        EXPECT_NE(board.find_widget(name), nullptr) << name;
}

TEST_F(LayoutTest, InitialStateOfTheWidgets) {
    EXPECT_EQ(board.find_widget("z_dpi1")->x, 547);
    EXPECT_EQ(board.find_widget("z_dpi2")->visible, 0);
    EXPECT_EQ(board.find_widget("bt_lib")->visible, 1);
    EXPECT_EQ(board.find_widget("list macro pc")->visible, 0);
    EXPECT_EQ(board.find_widget("icon tool stop")->enabled, 0);
    EXPECT_EQ(board.find_widget("zz_button 0")->enabled, 0);
    EXPECT_EQ(board.find_widget("zz_button 1")->enabled, 1);
    EXPECT_EQ(board.find_widget("zz_button 3")->text, "Forward");
    EXPECT_EQ(board.find_widget("zz_button 5")->text, "No function");
    EXPECT_EQ(board.find_widget("zz_button 7")->elbow_x, 740);
    // The memory line shows numbers, never its raw template, and has no fill that would
    // hide its black text.
    const Widget* info = board.find_widget("memory info");
    EXPECT_EQ(info->text, "Remaining: 0 B , Total: 0 B");
    EXPECT_EQ(info->colors[1] >> 24, 0u);
    EXPECT_DOUBLE_EQ(board.find_widget("memory process bar")->fraction, 0.0);
    EXPECT_EQ(board.find_widget("profile 2")->text, "profile 3");
    EXPECT_EQ(board.find_widget("profile 2")->edit_limit, 6);
    const Widget* editor = board.find_widget("list macro edit");
    ASSERT_EQ(editor->row_count(), 1);
    EXPECT_EQ(editor->rows[0].code, 0x04);
    EXPECT_EQ(editor->visible_rows, (358 - 31) / 34 + 1);
    EXPECT_EQ(board.find_widget("list macro")->width, 220);  // not the fold icon's size
    const Widget* x = board.find_widget("dpi x");
    EXPECT_EQ(x->min, 90);
    EXPECT_EQ(x->max, 5040);
    EXPECT_EQ(x->step, 90);
    EXPECT_EQ(board.find_widget("report rate")->ticks, 6);
    EXPECT_EQ(board.find_widget("wheel rate")->max, 9);
    EXPECT_EQ(board.find_widget("icon tool 3")->tooltip,
              "Drag-drop it into editor area to insert 'mouse button down command'");
}

TEST_F(LayoutTest, SideTabsOnlyOnOrdinaryPagesCornerButtonsEverywhere) {
    for (int page : {0, 1, 2})
        for (const char* tab : {"_tab_bt", "_tab_macro", "_tab_dpi"})
            EXPECT_TRUE(shown_on(tab, page)) << tab << " " << page;
    for (int page : {3, 5, 99})
        for (const char* tab : {"_tab_bt", "_tab_macro", "_tab_dpi"})
            EXPECT_FALSE(shown_on(tab, page)) << tab << " " << page;
    for (int page : {0, 1, 2, 3, 4, 5, 99})
        for (const char* corner : {"_close", "_mini", "_home"})
            EXPECT_TRUE(shown_on(corner, page)) << corner << " " << page;
}

TEST_F(LayoutTest, PageSwitch) {
    PageChoice none;
    EXPECT_EQ(switch_page(board, none), kPageNoDevice);
    PageChoice listed{.any_mouse_listed = true};
    EXPECT_EQ(switch_page(board, listed), kPageDevices);
    PageChoice chosen{.mouse_selected = true, .chosen_page = 1, .any_mouse_listed = true};
    EXPECT_EQ(switch_page(board, chosen), 1);
    EXPECT_EQ(board.page(), 1);
    // Losing the mouse forgets the chosen page.
    chosen.mouse_selected = false;
    EXPECT_EQ(switch_page(board, chosen), kPageDevices);
    EXPECT_EQ(chosen.chosen_page, kPageDevices);
    EXPECT_FALSE(owner.take().empty());
}

TEST_F(LayoutTest, DeviceRowsAreOneRadioGroup) {
    Widget* a = add_device_row(board, 0, "QX10", 170, "qx10", 16384, "/dev/hidraw1");
    Widget* b = add_device_row(board, 1, "QX6", 232, "qx6", 8192, "/dev/hidraw2");
    EXPECT_EQ(b->y, 160);
    EXPECT_EQ(b->width, 930);
    EXPECT_EQ(b->data, 8192);
    EXPECT_EQ(b->model_tag, "qx6");
    EXPECT_EQ(b->text_3, "/dev/hidraw2");
    board.select_in_group(a);
    board.select_in_group(b);
    EXPECT_EQ(a->checked, 0);
    EXPECT_EQ(b->checked, 1);
}

TEST(RenderPage, ArgumentsAreChecked) {
    std::string error;
    EXPECT_FALSE(app::parse_render_page({"/hide"}, error).has_value());
    auto ok = app::parse_render_page({"--render-page", "99", "out.png"}, error);
    ASSERT_TRUE(ok.has_value());
    EXPECT_TRUE(error.empty());
    EXPECT_EQ(ok->page, 99);
    for (std::vector<std::string> bad : {std::vector<std::string>{"--render-page"},
                                         {"--render-page", "4", "o.png"},
                                         {"--render-page", "1x", "o.png"},
                                         {"--render-page", "-1", "o.png"},
                                         {"--render-page", "2", ""}}) {
        ASSERT_TRUE(app::parse_render_page(bad, error).has_value());
        EXPECT_FALSE(error.empty()) << bad.size();
    }
}

TEST(RenderPage, WritesEveryPageWithTransparencyOutsideTheShape) {
    const std::filesystem::path dir = std::filesystem::temp_directory_path();
    const SkinImage* background = load_skin_image(244);
    for (int page : {0, 1, 2, 3, 5, 99}) {
        const std::filesystem::path out = dir / ("zentrik_page_" + std::to_string(page) + ".png");
        ASSERT_EQ(app::render_page({page, out.string()}), 0) << page;
        cairo_surface_t* png = cairo_image_surface_create_from_png(out.c_str());
        ASSERT_EQ(cairo_surface_status(png), CAIRO_STATUS_SUCCESS);
        EXPECT_EQ(cairo_image_surface_get_width(png), 1046);
        EXPECT_EQ(cairo_image_surface_get_height(png), 655);
        if (background) {  // every pixel outside the window's shape stays clear
            int stray = 0;
            for (int y = 0; y < 655; ++y)
                for (int x = 0; x < 1046; ++x)
                    if (background->pixel(x, y) == 0 && testing::pixel_at(png, x, y).a != 0)
                        ++stray;
            EXPECT_EQ(stray, 0) << "page " << page;
        }
        cairo_surface_destroy(png);
        std::filesystem::remove(out);
    }
    EXPECT_NE(app::render_page({0, "/nonexistent-dir/x.png"}), 0);
}

}  // namespace
}  // namespace zentrik::ui
