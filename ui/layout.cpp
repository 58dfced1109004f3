#include "ui/layout.h"

#include <array>
#include <cstdio>

#include "lang/string_tables.h"
#include "lang/text_format.h"
#include "ui/fonts.h"
#include "ui/skin_image.h"
#include "ui/ui_texts.h"

namespace zentrik::ui {

namespace {

std::string numbered(const char* format, int i) {
    char name[64];
    std::snprintf(name, sizeof name, format, i);
    return name;
}

constexpr Argb kWhite = 0xFEFFFFFF;
constexpr Argb kTransparent = 0x00000000;

struct CalloutPlace {
    int anchor_x, anchor_y, elbow_x, elbow_y;
};
constexpr std::array<CalloutPlace, 11> kCallouts{{
    {770, 230, -1, 209},
    {850, 223, -1, 195},
    {810, 260, -1, 293},
    {710, 330, -1, 320},
    {728, 382, -1, 377},
    {884, 240, -1, 245},
    {895, 285, -1, 287},
    {763, 257, 740, 417},
    {851, 257, 791, 411},
    {808, 214, 710, 410},
    {808, 305, 680, 458},
}};

// Callout texts until the button functions are read from the mouse.
constexpr std::array<const char*, 11> kCalloutTexts{
    "Left click",  "Right click", "Wheel click", "Forward",   "Backward",   "No function",
    "No function", "Tilt left",   "Tilt right",  "Scroll up", "Scroll down"};

constexpr std::array<std::array<int, 2>, 11> kMarkers{{
    {718, 220},
    {805, 214},
    {759, 250},
    {670, 320},
    {678, 370},
    {837, 230},
    {842, 274},
    {713, 249},
    {803, 249},
    {759, 203},
    {759, 294},
}};

// Button icon image ids: the first ten run on, the eleventh is apart.
int callout_icon(int first, int eleventh, int i) {
    return i < 10 ? first + i : eleventh;
}

void picture(WidgetBoard& b, const std::string& name, int page, int x, int y, int image,
             int visible = 1) {
    b.create_widget(name, {.kind = kPicture,
                           .x = x,
                           .y = y,
                           .page = page,
                           .id = 0,
                           .visible = visible,
                           .images = {.normal = image}});
}

void panel(WidgetBoard& b, const std::string& name, int page, int x, int y, int image,
           int visible = 1) {
    b.create_panel(name, {.x = x, .y = y, .image = image, .page = page, .visible = visible});
}

void region_button(WidgetBoard& b, const std::string& name, int page, int x, int y, ImageIds images,
                   int id, std::string text = {}) {
    b.create_region_button(
        name, {.x = x, .y = y, .images = images, .text = std::move(text), .page = page, .id = id});
}

Widget* list(WidgetBoard& b, const std::string& name, int page, int x, int y, int w, int h, int id,
             std::string caption, ImageIds images = {}) {
    Widget* l = b.create_list(name, {.x = x,
                                     .y = y,
                                     .width = w,
                                     .height = h,
                                     .text = std::move(caption),
                                     .page = page,
                                     .id = id,
                                     .images = images});
    b.resize_widget(name, w, h);  // the fold icons must not size the list
    return l;
}

void tool_icon(WidgetBoard& b, const std::string& name, int y, ImageIds images, int id,
               std::string text, int tooltip_index) {
    Widget* w = b.create_widget(name, {.kind = kImageButton,
                                       .x = 437,
                                       .y = y,
                                       .text = std::move(text),
                                       .page = kPageMacros,
                                       .id = id,
                                       .images = images});
    w->has_tooltip = 1;
    w->hover_box = 1;
    w->tooltip = texts::tooltip(tooltip_index);
}

void static_text(WidgetBoard& b, const std::string& name, int x, int y, int w, int h,
                 std::string text, int font, Argb color, Argb fill) {
    b.create_static_text(name, {.x = x,
                                .y = y,
                                .width = w,
                                .height = h,
                                .text = std::move(text),
                                .font = font,
                                .colors = {color, fill},
                                .page = kPageDpi});
}

void slider(WidgetBoard& b, const std::string& name, int x, int y, int id,
            std::array<Argb, 3> colors, int max, int step, int min) {
    b.create_slider(name, {.x = x,
                           .y = y,
                           .width = 270,
                           .height = 11,
                           .colors = colors,
                           .thumb_image = 154,
                           .page = kPageDpi,
                           .id = id});
    b.set_range(name, max, step, min);
}

void build_widgets(WidgetBoard& b) {
    // DPI page pictures of the current level.
    picture(b, "z_dpi1", kPageDpi, 115, 74, 158);
    b.move_widget("z_dpi1", 547, 158);
    picture(b, "z_dpi2", kPageDpi, 547, 158, 159, 0);
    picture(b, "z_dpi3", kPageDpi, 547, 158, 155, 0);
    picture(b, "z_dpi4", kPageDpi, 547, 158, 156, 0);

    // Home page category buttons.
    const std::array<std::array<int, 2>, 3> home{{{223, 258}, {225, 260}, {224, 259}}};
    const char* home_names[] = {"function button", "function macro", "function dpi"};
    for (int i = 0; i < 3; ++i) {
        const auto [normal, lit] = home[i];
        region_button(b, home_names[i], kPageHome, 40, 120 + 140 * i, {normal, lit, lit, normal},
                      kFirstPageCommand + i, texts::tab(2 + i));
        b.find_widget(home_names[i])->text_dx = 180;
    }

    // Macro lists.
    Widget* functions = list(b, "list macro", kPageButtons, 195, 180, 220, 358, 99,
                             texts::caption(0), {.normal = 230, .hover = 231});
    functions->draggable = 1;
    functions->row_markers = 1;
    functions->foldable = 1;
    functions->font = 12;
    Widget* memory =
        list(b, "list macro 2", kPageMacros, 195, 129, 220, 358, 90, texts::caption(1));
    memory->draggable = 1;
    memory->renamable = 1;
    memory->editable = 1;
    memory->font = 12;
    panel(b, "_macro panel", kPageMacros, 190, 129, 284);
    panel(b, "_macro panel2", kPageButtons, 190, 179, 306);
    // Hidden until "bt_lib" shows it in the editor's panel (ui/library_view.h places it).
    Widget* library = list(b, "list macro pc", kPageMacros, 503, 503, 560, 200, 92,
                           texts::caption(10), {.normal = 230, .hover = 231});
    library->visible = 0;
    library->draggable = 1;
    library->row_markers = 1;
    library->no_header_rows = 1;
    library->foldable = 1;
    library->font = 12;  // as the other lists
    Widget* editor =
        list(b, "list macro edit", kPageMacros, 503, 129, 450, 358, 91, texts::caption(2));
    editor->draggable = 1;
    editor->edit_mode = 1;
    editor->editable = 1;
    editor->pinned_first_row = 1;
    editor->font = 12;
    // The library's view button sits under the editor's record box, inside the window's shape
    // (further right it would be cut off by the window's edge).
    Widget* lib_button = b.create_widget("bt_lib", {.kind = kImageButton,
                                                    .x = 853,
                                                    .y = 557,
                                                    .width = 100,
                                                    .height = 24,
                                                    .text = texts::menu(5),
                                                    .page = kPageMacros,
                                                    .id = 95});
    lib_button->font = 9;
    Widget* record = b.create_check_box("record check", {.x = 518,
                                                         .y = 496,
                                                         .width = 406,
                                                         .height = 32,
                                                         .text = texts::message(10),
                                                         .text_color = 0xFE000000,
                                                         .unchecked_image = 168,
                                                         .checked_image = 169,
                                                         .page = kPageMacros,
                                                         .id = 41});
    record->font = 11;

    // Mouse pictures of the button page, one per profile.
    panel(b, "_mouse p11", kPageButtons, 688, 195, 136);
    panel(b, "_mouse p11a", kPageButtons, 688, 195, 313, 0);
    panel(b, "_mouse p11b", kPageButtons, 688, 195, 311, 0);
    panel(b, "_mouse p11c", kPageButtons, 688, 195, 312, 0);
    panel(b, "_mouse p11d", kPageButtons, 688, 195, 314, 0);

    // Button callouts with their icons, and the markers on the mouse picture.
    for (int i = 0; i < 11; ++i) {
        const CalloutPlace& p = kCallouts[i];
        Widget* c = b.create_callout(numbered("zz_button %d", i),
                                     {.x = 430,
                                      .y = 180 + 33 * i,
                                      .width = 200,
                                      .height = 28,
                                      .colors = {0xFE000000, 0xFE7A7A7A, 0xDE969696, 0xFEFFFFFF},
                                      .text = kCalloutTexts[i],
                                      .line_from_x = p.anchor_x,
                                      .line_from_y = p.anchor_y,
                                      .elbow_x = p.elbow_x,
                                      .elbow_y = p.elbow_y,
                                      .image = 307,
                                      .hover_image = 308,
                                      .checked_image = 309,
                                      .data = 100 + i,
                                      .page = kPageButtons,
                                      .id = 100 + i,
                                      .enabled = i == 0 ? 0 : 1});
        c->group = 2;
        c->font = 9;
    }
    for (int i = 0; i < 11; ++i) {
        const int y = 183 + 33 * i;
        picture(b, numbered("zz_button_pic %d", i), kPageButtons, 433, y,
                callout_icon(177, 197, i));
        picture(b, numbered("aa_button_pic %d", i), kPageButtons, 433, y, callout_icon(187, 198, i),
                0);
        picture(b, numbered("bb_button_pic %d", i), kPageButtons, 433, y, 246 + i, 0);
    }
    for (int i = 0; i < 11; ++i) {
        const auto [x, y] = kMarkers[i];
        picture(b, numbered("zz_button_pic_1 %d", i), kPageButtons, x, y, 315 + i);
        picture(b, numbered("aa_button_pic_1 %d", i), kPageButtons, x, y, callout_icon(187, 198, i),
                0);
        picture(b, numbered("ov_button_pic_1 %d", i), kPageButtons, x, y, 246 + i, 0);
    }

    // Profiles.
    constexpr Argb kProfileOff[5] = {0x21A60000, 0x2100A600, 0x210000D3, 0x21A600A6, 0x2100A6A6};
    constexpr Argb kProfileOn[5] = {0xFEFF0000, 0xFE00EB00, 0xFE0000FF, 0xFEFF00FF, 0xFE00EBEB};
    for (int i = 0; i < 5; ++i) {
        Widget* p = b.create_text_box(numbered("profile %d", i),
                                      {.x = 204 + 142 * i,
                                       .y = 128,
                                       .width = 140,
                                       .height = 40,
                                       .colors = {kWhite, kProfileOn[i], kProfileOff[i], kWhite},
                                       .text = numbered("profile %d", i + 1),
                                       .page = kPageButtons,
                                       .id = 10 + i});
        p->editable = 1;
        p->font = 8;
        p->edit_limit = 6;
        p->edit_mode = 1;
        // The mouse keeps six characters of a name: said before the editor cuts the seventh.
        p->has_tooltip = 1;
        p->tooltip = lang::own_text("zk_profile_name_hint",
                                    "Double-click to rename; a profile name keeps six characters");
    }

    // DPI page.
    constexpr int kLevelY[4] = {323, 260, 197, 134};
    for (int i = 0; i < 4; ++i) {
        const int up = 161 + 2 * i;
        const int down = 160 + 2 * i;
        b.create_widget(numbered("dpi level %d", i + 1), {.kind = kLevelButton,
                                                          .x = 205,
                                                          .y = kLevelY[i],
                                                          .page = kPageDpi,
                                                          .id = 30 + i,
                                                          .images = {up, up, down, down, down}});
    }
    constexpr int kLabelY[4] = {341, 278, 215, 152};
    for (int r = 0; r < 4; ++r) {
        static_text(b, numbered("static x%d", r), 308, kLabelY[r], 80, 32, "X:", 0, 0xFE202020,
                    0x808080);
        static_text(b, numbered("static y%d", r), 400, kLabelY[r], 80, 32, "Y:", 0, 0xFE202020,
                    0x808080);
    }
    constexpr std::array<Argb, 3> kSliderColors{0xFEB4B4C8, 0xFE606060, 0xFE000000};
    slider(b, "dpi x", 535, 317, 20, kSliderColors, 5040, 90, 90);
    slider(b, "dpi y", 535, 353, 21, kSliderColors, 5040, 90, 90);
    for (auto [name, y, id] : {std::tuple{"dpi x value", 314, 22}, {"dpi y value", 349, 23}}) {
        Widget* spin =
            b.create_spin_box(name, {.x = 820,
                                     .y = y,
                                     .width = 66,
                                     .height = 20,
                                     .min = 90,
                                     .max = 5040,
                                     .step = 90,
                                     .colors = {0xFE000000, 0xDC909090, 0xDC6E6E6E, 0xFE000000},
                                     .page = kPageDpi,
                                     .id = id});
        spin->font = 11;
    }
    picture(b, "_mouse p50", kPageHome, 430, 170, 257);
    // Back to the device list, shown only while more than one mouse is listed.
    region_button(b, kDeviceListButton, kPageHome, 780, 540, {277, 276, 276, 276},
                  kFirstPageCommand + kPageDevices, lang::own_text("zk_device_list", "Mice"));
    b.find_widget(kDeviceListButton)->align = kCentre;
    b.set_visible(kDeviceListButton, 0);
    b.create_panel(
        "_mouse 1",
        {.x = 205, .y = 132, .width = 716, .height = 258, .fill = 0x5E202020, .page = kPageDpi});
    panel(b, "_slider pic", kPageDpi, 205, 392, 273);
    panel(b, "_xy pic", kPageDpi, 500, 312, 275);
    panel(b, "_adjust pic", kPageDpi, 822, 314, 274);
    const char* file_buttons[] = {"bt_backup", "bt_restore", "bt_reset"};
    for (int i = 0; i < 3; ++i) {
        region_button(b, file_buttons[i], kPageDpi, 450 + 160 * i, 480, {277, 276, 276, 276},
                      96 + i, texts::menu(2 + i));
        b.find_widget(file_buttons[i])->align = kCentre;
    }
    for (auto [name, y, id, text] : {std::tuple{"angle snap", 260, 42, texts::message(18)},
                                     {"x y indep", 280, 40, texts::message(11)}}) {
        Widget* box = b.create_check_box(name, {.x = 570,
                                                .y = y,
                                                .width = 470,
                                                .height = 32,
                                                .text = text,
                                                .text_color = kWhite,
                                                .unchecked_image = 168,
                                                .checked_image = 169,
                                                .page = kPageDpi,
                                                .id = id});
        box->font = 11;
    }

    // Macro editor tools.
    tool_icon(b, "icon tool delete", 326, {297, 298, 298, 297}, 215, "Delete", 11);
    b.find_widget("icon tool delete")->delete_target = 1;
    tool_icon(b, "icon tool new", 362, {220, 305, 305, 220}, 212, "New", 6);
    tool_icon(b, "icon tool load", 398, {243, 301, 301, 243}, 214, "load", 10);
    tool_icon(b, "icon tool save", 434, {235, 300, 300, 235}, 213, "Save", 9);
    tool_icon(b, "icon tool rec", 475, {216, 303, 303, 217}, 210, "Record", 7);
    tool_icon(b, "icon tool stop", 511, {218, 304, 304, 219}, 211, "Stop", 8);
    b.find_widget("icon tool stop")->enabled = 0;

    // Report rate and wheel rate.
    constexpr Argb kCaption = 0xFEFEFEFE;
    constexpr Argb kNoFill = 0x808080;
    static_text(b, "static reprot 1", 205, 400, 300, 32, texts::message(12), 5, kCaption, kNoFill);
    static_text(b, "static reprot", 522, 430, 150, 31, "125", 11, kCaption, kNoFill);
    slider(b, "report rate", 220, 440, 24, kSliderColors, 8, 1, 1);
    b.find_widget("report rate")->ticks = 6;
    static_text(b, "static wheel 1", 585, 400, 300, 32, texts::message(19), 5, kCaption, kNoFill);
    static_text(b, "static wheel", 890, 430, 150, 31, "1", 11, kCaption, kNoFill);
    slider(b, "wheel rate", 600, 440, 25, {0xFEB4B4C8, 0xFEFEFEFE, 0xFE000000}, 9, 1, 1);
    b.find_widget("wheel rate")->ticks = 7;

    // No-device box.
    b.create_text_box("device not found", {.x = 270,
                                           .y = 245,
                                           .width = 460,
                                           .height = 120,
                                           .colors = {kWhite, 0x40404040, 0x40404040, 0x20202020},
                                           .text = texts::message(0) + texts::wired_mode_note(),
                                           .page = kPageNoDevice,
                                           .id = 0});

    // Macro memory gauge. Its caption has no fill of its own (black on black would hide it)
    // and shows an empty memory until the mouse's macro memory is read.
    b.create_progress_bar("memory process bar", {.x = 213,
                                                 .y = 498,
                                                 .width = 185,
                                                 .height = 8,
                                                 .colors = {0xFE102A82, 0xFE606060, 0xFE000000},
                                                 .page = kPageMacros});
    Widget* info =
        b.create_static_text("memory info", {.x = 212,
                                             .y = 505,
                                             .width = 185,
                                             .height = 30,
                                             .text = lang::format_text(texts::message(2), {0, 0}),
                                             .font = 10,
                                             .colors = {0xFE000000, kTransparent},
                                             .page = kPageMacros});
    info->align = kFar;

    // Corner buttons on every page, side tabs on the ordinary pages.
    region_button(b, "_close", -2, 940, 8, {132, 133, 135, 132}, 1);
    region_button(b, "_mini", -2, 910, 8, {261, 262, 262, 261}, 2);
    region_button(b, "_home", -2, 880, 8, {264, 265, 265, 264}, 9);
    const std::array<std::array<int, 2>, 3> tabs{{{267, 268}, {271, 272}, {269, 270}}};
    const char* tab_names[] = {"_tab_bt", "_tab_macro", "_tab_dpi"};
    for (int i = 0; i < 3; ++i) {
        const auto [normal, lit] = tabs[i];
        region_button(b, tab_names[i], -1, 40, 120 + 140 * i, {normal, lit, lit, normal},
                      kFirstPageCommand + i, texts::tab(2 + i));
        Widget* t = b.find_widget(tab_names[i]);
        t->group = 22;
        t->align = kCentre;
        t->text_dy = 82;
        t->font = 11;
    }

    // Command icons of the macro editor (dragged into it to add steps).
    constexpr int kToolImages[6][2] = {{289, 290}, {285, 286}, {287, 288},
                                       {291, 292}, {293, 294}, {295, 296}};
    for (int j = 0; j < 6; ++j) {
        const std::string name = numbered("icon tool %d", j);
        tool_icon(b, name, 110 + 36 * j,
                  {kToolImages[j][0], kToolImages[j][1], kToolImages[j][1], kToolImages[j][0]},
                  200 + j, "", j);
        b.find_widget(name)->draggable = 1;
    }
}

void initial_values(WidgetBoard& b) {
    constexpr int kInitialDpi = 1800;
    for (const char* name : {"dpi x value", "dpi y value", "dpi x", "dpi y"})
        b.set_value(name, kInitialDpi);
    // The memory gauge agrees with its empty caption until the macro memory is read.
    b.set_fraction("memory process bar", 0.0);
    // The editor always holds its run-mode step.
    b.with_widget("list macro edit", [](Widget& editor) {
        ListItem run_once;
        run_once.offset = 0;
        run_once.size = 1;
        run_once.code = 0x04;
        run_once.text = texts::macro_text(0);
        editor.rows = {run_once};
        editor.selected_row = 0;
    });
}

}  // namespace

void load_shared_images(WidgetBoard& board, const int* ids) {
    WidgetBoard::Lock lock = board.lock();
    for (std::size_t i = 0; i < board.shared_images.size() && ids[i] != -1; ++i)
        board.shared_images[i] = load_skin_image(ids[i]);
}

void build_main_window(WidgetBoard& board, BoardOwner* owner, WindowShell& shell) {
    board.set_owner(owner);
    shell.load_language();
    shell.register_device_notifications();
    shell.load_cursor(kActiveCursor);
    shell.set_title(texts::window_caption());
    build_font_tables();
    load_shared_images(board, kSharedImageIds);
    const SkinImage* background = load_skin_image(244);
    board.set_page(kPageDevices);
    board.set_full_pages(kPageHome, kPageDevices);
    build_widgets(board);
    initial_values(board);
    shell.load_macro_library(board);
    shell.set_window_size(background ? background->width() : 1046,
                          background ? background->height() : 655);
    shell.set_window_shape(region_from_alpha(background));
    shell.add_tray_icon(kAppIcon, kTrayCallbackMessage);
    shell.register_raw_input();
    board.paint_ready = 1;
}

int switch_page(WidgetBoard& board, PageChoice& choice) {
    int page = choice.chosen_page;
    if (!choice.mouse_selected) {
        choice.chosen_page = kPageDevices;
        page = choice.any_mouse_listed ? kPageDevices : kPageNoDevice;
    }
    board.set_page(page);
    board.invalidate_all();
    return page;
}

std::string device_row_name(int index) {
    return numbered("device %d", index);
}

Widget* add_device_row(WidgetBoard& board, int index, const std::string& text, int picture_id,
                       const std::string& model_tag, int memory_size, const std::string& path) {
    WidgetBoard::Lock lock = board.lock();
    Widget* row = board.create_selectable_row(device_row_name(index), {.x = 50,
                                                                       .y = 80 + 80 * index,
                                                                       .width = 930,
                                                                       .height = 72,
                                                                       .text = text,
                                                                       .text_color = 0xFEFFFFFF,
                                                                       .image = picture_id,
                                                                       .group = kDeviceRowGroup,
                                                                       .page = kPageDevices,
                                                                       .id = kDeviceRowCommand});
    row->model_tag = model_tag;
    row->data = memory_size;
    row->text_3 = path;
    board.invalidate_widget(row);
    return row;
}

}  // namespace zentrik::ui
