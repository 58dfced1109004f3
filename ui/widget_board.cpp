#include "ui/widget_board.h"

#include <algorithm>

#include "ui/list_model.h"
#include "ui/skin_image.h"

namespace zentrik::ui {

namespace {

const SkinImage* image_or(int id, const SkinImage* fallback) {
    return id != 0 ? load_skin_image(id) : fallback;
}

void fill_images(Widget& w, const ImageIds& ids) {
    const SkinImage* normal = load_skin_image(ids.normal);
    w.images = {normal, image_or(ids.hover, normal), image_or(ids.pressed, normal),
                image_or(ids.disabled, normal), image_or(ids.checked, normal)};
}

// Window-sized rectangle for "invalidate everything".
constexpr Rect kWholeWindow{0, 0, 4096, 4096};

}  // namespace

void WidgetBoard::set_owner(BoardOwner* owner) {
    Lock l = lock();
    owner_ = owner;
}

BoardOwner* WidgetBoard::owner() const {
    Lock l = lock();
    return owner_;
}

int WidgetBoard::page() const {
    Lock l = lock();
    return page_;
}

void WidgetBoard::set_page(int page) {
    Lock l = lock();
    page_ = page;
}

std::array<int, 2> WidgetBoard::full_pages() const {
    Lock l = lock();
    return full_pages_;
}

void WidgetBoard::set_full_pages(int a, int b) {
    Lock l = lock();
    full_pages_ = {a, b};
}

bool WidgetBoard::shows_on(int widget_page, int board_page, std::array<int, 2> full_pages) {
    if (widget_page == board_page)
        return true;
    if (widget_page == -1)
        return board_page <= 90 && board_page != full_pages[0] && board_page != full_pages[1];
    return widget_page < -1;
}

bool WidgetBoard::on_current_page(const Widget& w) const {
    Lock l = lock();
    return shows_on(w.page, page_, full_pages_);
}

Widget* WidgetBoard::find_widget(std::string_view name) {
    Lock l = lock();
    auto it = map_.find(name);
    return it == map_.end() ? nullptr : it->second;
}

const Widget* WidgetBoard::find_widget(std::string_view name) const {
    Lock l = lock();
    auto it = map_.find(name);
    return it == map_.end() ? nullptr : it->second;
}

std::size_t WidgetBoard::widget_count() const {
    Lock l = lock();
    return order_.size();
}

Widget* WidgetBoard::store(const std::string& name, std::unique_ptr<Widget> w) {
    Lock l = lock();
    Widget* raw = w.get();
    owned_.push_back(std::move(w));
    auto [it, inserted] = map_.insert_or_assign(name, raw);
    (void)it;
    if (inserted) {
        order_.push_back({name, raw});
    } else {
        // Same name again: the new widget takes the old one's place in the painting order.
        for (Entry& e : order_)
            if (e.name == name)
                e.widget = raw;
    }
    return raw;
}

Widget* WidgetBoard::make(const std::string& name, int kind, int x, int y, int page, int id,
                          const ImageIds& images, int width, int height) {
    auto w = std::make_unique<Widget>();
    w->kind = kind;
    w->x = x;
    w->y = y;
    w->page = page;
    w->id = id;
    fill_images(*w, images);
    if (const SkinImage* normal = w->images[kNormal]) {
        w->width = normal->width();
        w->height = normal->height();
    } else {
        w->width = width;
        w->height = height;
    }
    w->visible_rows = visible_rows_for(w->height, w->row_height);
    compute_arrows(*w);
    return store(name, std::move(w));
}

Widget* WidgetBoard::create_widget(const std::string& name, const WidgetSpec& s) {
    Lock l = lock();
    Widget* w = make(name, s.kind, s.x, s.y, s.page, s.id, s.images, s.width, s.height);
    w->text = s.text;
    w->visible = s.visible;
    w->enabled = s.enabled;
    switch (s.kind) {
        case kList:
        case kRegionButton:
            w->font = 8;
            break;
        case kCheckBox:
            w->font = 2;
            break;
        case kSelectableRow:
            w->font = 7;
            break;
        case kSpinBox:
            w->value = w->step * (((w->min + w->max) / 2) / w->step);
            break;
        case kSlider:
            w->value = 50;
            break;
        case kProgressBar:
            w->fraction = 0.5;
            break;
        default:
            break;
    }
    if (s.kind == kRegionButton) {
        w->region = region_from_alpha(w->images[kNormal]);
        w->region->offset(w->x, w->y);
    }
    return w;
}

Widget* WidgetBoard::create_list(const std::string& name, const WidgetSpec& spec) {
    WidgetSpec s = spec;
    s.kind = kList;
    return create_widget(name, s);
}

Widget* WidgetBoard::create_callout(const std::string& name, const CalloutSpec& s) {
    Lock l = lock();
    Widget* w = make(name, kCallout, s.x, s.y, s.page, s.id,
                     {s.image, s.hover_image, s.checked_image, 0, 0}, s.width, s.height);
    // The box keeps its given size; the images are drawn inside it.
    w->width = s.width;
    w->height = s.height;
    // Callouts use slot 0 normal, 1 hover/drop, 2 checked; empty slots stay empty.
    w->images = {load_skin_image(s.image), load_skin_image(s.hover_image),
                 load_skin_image(s.checked_image), nullptr, nullptr};
    w->colors[0] = s.colors[0];
    w->colors[1] = s.colors[1];
    w->colors[2] = s.colors[2];
    w->colors[4] = s.colors[3];
    w->text = s.text;
    w->line_from_x = s.line_from_x;
    w->line_from_y = s.line_from_y;
    w->elbow_x = s.elbow_x;
    w->elbow_y = s.elbow_y;
    w->data = s.data;
    w->visible = s.visible;
    w->enabled = s.enabled;
    w->edit_mode = 2;
    return w;
}

Widget* WidgetBoard::create_text_box(const std::string& name, const TextBoxSpec& s) {
    Lock l = lock();
    Widget* w = make(name, kTextBox, s.x, s.y, s.page, s.id, {}, s.width, s.height);
    w->colors[0] = s.colors[0];
    w->colors[1] = s.colors[1];
    w->colors[2] = s.colors[2];
    w->colors[4] = s.colors[3];
    w->text = s.text;
    return w;
}

Widget* WidgetBoard::create_slider(const std::string& name, const SliderSpec& s) {
    Lock l = lock();
    Widget* w = make(name, kSlider, s.x, s.y, s.page, s.id, {}, s.width, s.height);
    const SkinImage* thumb = load_skin_image(s.thumb_image);
    const SkinImage* off = s.disabled_thumb_image ? load_skin_image(s.disabled_thumb_image) : thumb;
    w->images = {thumb, thumb, thumb, off, thumb};
    w->colors[1] = s.colors[0];
    w->colors[2] = s.colors[1];
    w->colors[4] = s.colors[2];
    w->value = 50;
    return w;
}

Widget* WidgetBoard::create_static_text(const std::string& name, const StaticTextSpec& s) {
    Lock l = lock();
    Widget* w = make(name, kStaticText, s.x, s.y, s.page, -1, {}, s.width, s.height);
    w->images[kNormal] = load_skin_image(s.image);
    w->text = s.text;
    w->font = s.font;
    w->colors[0] = s.colors[0];
    w->colors[1] = s.colors[1];
    w->visible = s.visible;
    w->enabled = s.enabled;
    return w;
}

Widget* WidgetBoard::create_spin_box(const std::string& name, const SpinBoxSpec& s) {
    Lock l = lock();
    Widget* w = make(name, kSpinBox, s.x, s.y, s.page, s.id, {}, s.width, s.height);
    w->min = s.min;
    w->max = s.max;
    w->step = s.step > 0 ? s.step : 1;  // a zero step would divide by zero
    w->value = w->step * (((w->min + w->max) / 2) / w->step);
    w->colors[0] = s.colors[0];
    w->colors[1] = s.colors[1];
    w->colors[2] = s.colors[2];
    w->colors[4] = s.colors[3];
    return w;
}

Widget* WidgetBoard::create_check_box(const std::string& name, const CheckBoxSpec& s) {
    Lock l = lock();
    Widget* w = make(name, kCheckBox, s.x, s.y, s.page, s.id, {}, s.width, s.height);
    w->images[0] = load_skin_image(s.unchecked_image);
    w->images[1] = load_skin_image(s.checked_image);
    w->text = s.text;
    w->colors[0] = s.text_color;
    w->font = 2;
    return w;
}

Widget* WidgetBoard::create_selectable_row(const std::string& name, const SelectableRowSpec& s) {
    Lock l = lock();
    Widget* w = make(name, kSelectableRow, s.x, s.y, s.page, s.id, {}, s.width, s.height);
    w->images[0] = load_skin_image(s.image);
    w->text = s.text;
    w->colors[0] = s.text_color;
    w->group = s.group;
    w->font = 7;
    return w;
}

Widget* WidgetBoard::create_progress_bar(const std::string& name, const ProgressBarSpec& s) {
    Lock l = lock();
    Widget* w = make(name, kProgressBar, s.x, s.y, s.page, -1, {}, s.width, s.height);
    w->colors[1] = s.colors[0];
    w->colors[2] = s.colors[1];
    w->colors[4] = s.colors[2];
    w->fraction = 0.5;
    return w;
}

Widget* WidgetBoard::create_region_button(const std::string& name, const RegionButtonSpec& s) {
    WidgetSpec g;
    g.kind = kRegionButton;
    g.x = s.x;
    g.y = s.y;
    g.text = s.text;
    g.page = s.page;
    g.id = s.id;
    g.visible = s.visible;
    g.images = s.images;
    return create_widget(name, g);
}

Widget* WidgetBoard::create_panel(const std::string& name, const PanelSpec& s) {
    Lock l = lock();
    Widget* w = make(name, kPanel, s.x, s.y, s.page, -1, {s.image, 0, 0, 0, 0}, s.width, s.height);
    w->colors[4] = s.fill;
    w->visible = s.visible;
    return w;
}

void WidgetBoard::remove_widget(std::string_view name) {
    Lock l = lock();
    auto it = map_.find(name);
    if (it == map_.end())
        return;
    Widget* w = it->second;
    invalidate_widget(w);
    map_.erase(it);
    std::erase_if(order_, [&](const Entry& e) { return e.widget == w; });
    PointerState& p = pointer;
    for (Widget** ref : {&p.pressed, &p.last_pressed, &p.focus, &p.under, &p.tip_widget,
                         &p.drop_highlight, &p.thumb_list, &p.edit_target, &p.carried})
        if (*ref == w)
            *ref = nullptr;
}

void WidgetBoard::set_enabled(std::string_view name, int enabled) {
    Lock l = lock();
    if (Widget* w = find_widget(name)) {
        w->enabled = enabled;
        invalidate_widget(w);
    }
}

void WidgetBoard::set_visible(std::string_view name, int visible) {
    Lock l = lock();
    if (Widget* w = find_widget(name)) {
        w->visible = visible;
        invalidate_widget(w);
    }
}

void WidgetBoard::set_checked(std::string_view name, int checked) {
    Lock l = lock();
    Widget* w = find_widget(name);
    if (!w || w->checked == checked)
        return;
    w->checked = checked;
    invalidate_widget(w);
}

void WidgetBoard::set_value(std::string_view name, int value) {
    Lock l = lock();
    Widget* w = find_widget(name);
    if (!w || w->value == value)
        return;
    w->value = value;
    invalidate_widget(w);
}

void WidgetBoard::set_range(std::string_view name, int max, int step, int min) {
    Lock l = lock();
    Widget* w = find_widget(name);
    if (!w)
        return;
    w->max = max;
    w->step = step > 0 ? step : 1;  // value steps divide by it
    w->min = min;
    w->value = min;
    invalidate_widget(w);
}

void WidgetBoard::move_widget(std::string_view name, int x, int y) {
    Lock l = lock();
    Widget* w = find_widget(name);
    if (!w)
        return;
    invalidate_widget(w);  // the old place must be repainted too
    if (w->region)
        w->region->offset(x - w->x, y - w->y);  // the hit shape moves along
    w->x = x;
    w->y = y;
    compute_arrows(*w);
    invalidate_widget(w);
}

void WidgetBoard::resize_widget(std::string_view name, int width, int height) {
    Lock l = lock();
    Widget* w = find_widget(name);
    if (!w)
        return;
    invalidate_widget(w);  // a smaller box leaves its old area to repaint
    w->width = width;
    w->height = height;
    compute_arrows(*w);
    invalidate_rect({w->x, w->y, w->x + width, w->y + height});
    w->visible_rows = visible_rows_for(height, w->row_height);
    if (w->kind == kList)
        ListModel(*w).keep_selection_shown();
}

void WidgetBoard::set_text(std::string_view name, std::string text) {
    Lock l = lock();
    if (Widget* w = find_widget(name)) {
        w->text = std::move(text);
        invalidate_widget(w);
    }
}

void WidgetBoard::set_images(std::string_view name, int normal, int hover, int pressed,
                             int disabled) {
    Lock l = lock();
    Widget* w = find_widget(name);
    if (!w)
        return;
    w->images[kNormal] = load_skin_image(normal);
    w->images[kHover] = hover ? load_skin_image(hover) : nullptr;
    w->images[kPressed] = pressed ? load_skin_image(pressed) : nullptr;
    w->images[kDisabled] = disabled ? load_skin_image(disabled) : nullptr;
    invalidate_widget(w);
}

void WidgetBoard::set_fraction(std::string_view name, double fraction) {
    Lock l = lock();
    if (Widget* w = find_widget(name)) {
        w->fraction = std::clamp(fraction, 0.0, 1.0);
        invalidate_widget(w);
    }
}

void WidgetBoard::scroll_to_selected(std::string_view name) {
    Lock l = lock();
    Widget* w = find_widget(name);
    if (!w || w->kind != kList)
        return;
    ListModel(*w).apply_scroll_rule();
    invalidate_widget(w);
}

int WidgetBoard::add_row(std::string_view name, std::uint32_t offset, std::uint32_t size,
                         std::uint8_t code, std::uint32_t param, bool append) {
    Lock l = lock();
    Widget* w = find_widget(name);
    if (!w)
        return -1;
    ListItem row;
    row.offset = offset;
    row.size = size;
    row.code = code;
    for (int i = 0; i < 4; ++i)
        row.payload[3 + i] = static_cast<std::uint8_t>(param >> (8 * i));
    row.text = "code";
    row.color = 0xFF000000;
    const int index = ListModel(*w).insert_after_selection(std::move(row), append);
    invalidate_widget(w);
    return index;
}

void WidgetBoard::select_row_by_value(std::string_view name, std::uint32_t value, bool edit) {
    Lock l = lock();
    Widget* w = find_widget(name);
    if (!w || w->kind != kList)
        return;
    const int found = ListModel(*w).select_value(value);
    if (found < 0)
        return;
    invalidate_widget(w);
    if (edit && open_editor)
        open_editor(*w, found);
}

void WidgetBoard::set_rows(std::string_view name, std::vector<ListItem> rows) {
    Lock l = lock();
    Widget* w = find_widget(name);
    if (!w)
        return;
    ListModel(*w).set_rows(std::move(rows));
    invalidate_widget(w);
}

void WidgetBoard::set_tree_rows(std::string_view name, std::vector<ListItem> all_rows) {
    Lock l = lock();
    Widget* w = find_widget(name);
    if (!w)
        return;
    ListModel(*w).set_tree(std::move(all_rows));
    invalidate_widget(w);
}

void WidgetBoard::toggle_fold(Widget* list, int row) {
    Lock l = lock();
    if (list && ListModel(*list).toggle_fold(row))
        invalidate_widget(list);
}

void WidgetBoard::select_in_group(Widget* w) {
    Lock l = lock();
    if (!w)
        return;
    invalidate_widget(w);
    if (w->group != 0) {
        for (const Entry& e : order_) {
            Widget* o = e.widget;
            if (o == w || o->group != w->group)
                continue;
            if (o->kind != kCallout && o->kind != kSelectableRow && o->kind != kRegionButton)
                continue;
            o->checked = 0;
            if (o->visible)
                invalidate_widget(o);
        }
    }
    w->checked = 1;
}

Rect WidgetBoard::invalidation_rect(const Widget& w) const {
    if (w.kind == kSlider) {
        const int th = image_height(w.images[kNormal]);
        const int ty = w.y + w.height / 2 - th / 2;
        return {w.x - 8, ty, w.x + w.width + 17, ty + th + 1};
    }
    return {w.x, w.y, w.x + w.width + 1, w.y + w.height + 1};
}

void WidgetBoard::invalidate_widget(const Widget* w) {
    Lock l = lock();
    if (!w)
        return;
    invalidate_rect(invalidation_rect(*w));
    if (w->kind == kCallout) {
        const int mid = w->y + w->height / 2;
        const int lo = std::min(w->line_from_y, mid);
        const int hi = std::max(w->line_from_y, mid);
        const int e = w->x + w->width;
        invalidate_rect({std::min(w->line_from_x, e) - 6, std::min(w->elbow_y, lo) - 6,
                         std::max(w->line_from_x, e) + 6, std::max(hi, w->elbow_y) + 6});
        if (const SkinImage* img = w->images[kNormal])
            invalidate_rect({w->elbow_x - 4, w->elbow_y - 4, w->elbow_x + img->width() + 4,
                             w->elbow_y + img->height() + 4});
    }
}

void WidgetBoard::invalidate_rect(const Rect& rect) {
    Lock l = lock();
    if (owner_)
        owner_->invalidate(rect);
}

void WidgetBoard::invalidate_all() {
    invalidate_rect(kWholeWindow);
}

}  // namespace zentrik::ui
