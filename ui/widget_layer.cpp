#include "ui/widget_layer.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "ui/renderer.h"
#include "ui/skin_image.h"
#include "ui/widget_board.h"

namespace zentrik::ui {

namespace {

// Room around every box for strokes on pixel edges and rounding.
constexpr int kMargin = 3;

Rect box_at(int x, int y, int w, int h) {
    return {x, y, x + std::max(w, 0), y + std::max(h, 0)};
}

Rect image_box(const SkinImage* image, int x, int y) {
    return box_at(x, y, image_width(image), image_height(image));
}

// The corners of a callout's leader line, as its painter computes them.
Rect leader_line(const Widget& w) {
    const int m = w.y + w.height / 2;
    const int right = w.x + w.width;
    int px[5] = {right, 0, 0, 0, w.line_from_x};
    int py[5] = {m, m, w.elbow_y, w.elbow_y, w.line_from_y};
    if (w.elbow_x == -1) {
        px[1] = right + 10;
        px[2] = right + 10 + std::abs(w.elbow_y - m);
        px[3] = w.line_from_x - std::abs(w.line_from_y - w.elbow_y);
    } else {
        px[1] = w.elbow_x;
        px[2] = w.elbow_x + std::abs(w.elbow_y - m);
        px[3] = px[2];
        const int d = std::abs(w.line_from_x - px[2]);
        py[3] = w.line_from_y < w.elbow_y ? w.line_from_y + d : w.line_from_y - d;
    }
    Rect r{px[0], py[0], px[0] + 1, py[0] + 1};
    for (int i = 1; i < 5; ++i)
        r = united(r, {px[i], py[i], px[i] + 1, py[i] + 1});
    // The widest line is 3 pixels with round joins.
    return {r.left - 2, r.top - 2, r.right + 2, r.bottom + 2};
}

Rect clipped(const Rect& r, int width, int height) {
    return {std::max(r.left, 0), std::max(r.top, 0), std::min(r.right, width),
            std::min(r.bottom, height)};
}

template <typename T>
void put(std::string& out, const T& value) {
    out.append(reinterpret_cast<const char*>(&value), sizeof value);
}

void put_text(std::string& out, std::string_view text) {
    put(out, text.size());
    out.append(text);
}

// Everything the list painter reads besides the fields every key holds.
std::string list_key(const Widget& w, const WidgetBoard& board, const ListPaintHooks& hooks) {
    std::string out;
    for (int v : {w.row_height, w.scroll_px, w.selected_row, w.drop_row, w.pinned_first_row,
                  w.foldable, w.row_markers, w.renamable, w.no_header_rows, w.scrollbar_fade})
        put(out, v);
    const bool steps = w.edit_mode == 1 || w.pinned_first_row;
    auto put_row = [&](const ListItem& row) {
        put_text(out, row.text);
        for (std::uint32_t v : {row.offset, row.size, row.value, row.tag, row.expanded,
                                row.text_align, row.color, std::uint32_t(row.code)})
            put(out, v);
        put(out, row.extra);
        if (steps && hooks.step_text)
            put_text(out, hooks.step_text(row));
        if (w.renamable && hooks.macro_size)
            put(out, hooks.macro_size(row.tag));
    };
    // The painter reads the rows in view (and the fixed first row), and the last row's end.
    const int n = w.row_count();
    put(out, n);
    if (n > 0) {
        put(out, w.rows.back().offset);
        put(out, w.rows.back().size);
        const int r = w.row_height > 0 ? w.row_height : 34;
        const int first = std::clamp(w.scroll_px / r, 0, n);
        const int last = std::min(n, first + std::max(w.height, 0) / r + 3);
        if (w.pinned_first_row && first > 0)
            put_row(w.rows[0]);
        for (int i = first; i < last; ++i)
            put_row(w.rows[i]);
    }
    if (steps)
        put(out, board.shared_images);
    put_text(out, hooks.pinned_label);
    put_text(out, hooks.closing_text);
    return out;
}

}  // namespace

PaintKey paint_key(const Widget& w, const WidgetBoard& board, const ListPaintHooks& hooks) {
    const PointerState& pointer = board.pointer;
    const bool reads_pointer = w.kind == kCallout || w.kind == kTextBox || w.kind == kSelectableRow;
    PaintKey key;
    key.images = w.images;
    key.colors = w.colors;
    key.text = w.text;
    key.numbers = {
        w.kind, w.x, w.y, w.width, w.height, w.state, w.checked, w.enabled, w.font, w.align,
        w.text_dx, w.text_dy, w.hover_box, w.edit_mode, w.line_from_x, w.line_from_y, w.elbow_x,
        w.elbow_y, w.value, w.min, w.max, w.ticks, w.icon_above,
        // Only callouts, text boxes and selectable rows look at the pointer.
        reads_pointer && pointer.under == &w, reads_pointer && pointer.drop_highlight == &w};
    key.fraction = w.fraction;
    if (w.kind == kList)
        key.list = list_key(w, board, hooks);
    return key;
}

bool layerable_kind(int kind) {
    switch (kind) {
        case kPicture:
        case kImageButton:
        case kCallout:
        case kLevelButton:
        case kTextBox:
        case kSlider:
        case kStaticText:
        case kSpinBox:
        case kCheckBox:
        case kSelectableRow:
        case kProgressBar:
        case kRegionButton:
        case kPanel:
        case kList:
            return true;
        default:
            return false;
    }
}

Rect paint_bounds(const Widget& w) {
    Rect r = box_at(w.x, w.y, w.width, w.height);
    switch (w.kind) {
        case kSlider: {
            // The thumb is placed by the normal image and may be the disabled one.
            const ThumbPos t = slider_thumb(w);
            r = united(r, image_box(w.images[kNormal], t.left, t.top));
            r = united(r, image_box(w.images[kDisabled], t.left, t.top));
            break;
        }
        case kCallout:
            r = united(r, leader_line(w));
            [[fallthrough]];
        default:
            // Images drawn at the widget's corner, and text boxes shifted from it.
            for (const SkinImage* image : w.images)
                r = united(r, image_box(image, w.x, w.y));
            r = united(r, box_at(w.x + w.text_dx, w.y + w.text_dy, w.width - w.text_dx,
                                 w.height - w.text_dy));
            break;
    }
    return {r.left - kMargin, r.top - kMargin, r.right + kMargin, r.bottom + kMargin};
}

void WidgetLayer::plan(const std::vector<const Widget*>& order, const WidgetBoard& board,
                       const ListPaintHooks& hooks, int width, int height, int scale) {
    std::unordered_map<const Widget*, Track> tracks;
    tracks.reserve(order.size());
    planned_.clear();
    planned_bounds_.clear();
    live_.clear();
    // Areas of the live widgets drawn so far: a later widget over one of them must be live too.
    std::vector<Rect> live_areas;
    for (const Widget* w : order) {
        PaintKey key = paint_key(*w, board, hooks);
        Track track;
        if (auto it = tracks_.find(w); it != tracks_.end() && it->second.key == key)
            track = std::move(it->second), ++track.quiet;
        else
            track.key = std::move(key);
        const Rect window_area = clipped(paint_bounds(*w), width, height);
        const Rect area{window_area.left * scale, window_area.top * scale,
                        window_area.right * scale, window_area.bottom * scale};
        const bool quiet = layerable_kind(w->kind) && track.quiet >= kQuietFrames;
        const bool clear = std::none_of(live_areas.begin(), live_areas.end(),
                                        [&](const Rect& a) { return overlaps(a, area); });
        if (quiet && clear) {
            planned_.push_back(w);
            planned_bounds_.push_back(area);
        } else {
            live_.push_back(w);
            if (!area.empty())
                live_areas.push_back(area);
        }
        tracks.emplace(w, std::move(track));
    }
    tracks_ = std::move(tracks);
    patches_.clear();
    if (planned_.empty()) {
        // Nothing worth keeping: give the memory back.
        stored_.clear();
        stored_bounds_.clear();
        spans_ = std::vector<Span>();
        pixels_ = std::vector<std::uint8_t>();
        work_ = Work::kNone;
        return;
    }
    if (planned_ == stored_ && planned_bounds_ == stored_bounds_)
        work_ = Work::kNone;
    else
        work_ = plan_patches() ? Work::kPatch : Work::kRepaint;
}

bool WidgetLayer::plan_patches() {
    if (pixels_.empty())
        return false;
    // Widgets in both keep their order; the others leave or join, and their boxes are redone.
    std::unordered_map<const Widget*, std::size_t> stored_at;
    for (std::size_t i = 0; i < stored_.size(); ++i)
        stored_at.emplace(stored_[i], i);
    std::vector<bool> staying(stored_.size(), false);
    std::size_t last = 0;
    bool first = true;
    for (std::size_t i = 0; i < planned_.size(); ++i) {
        auto it = stored_at.find(planned_[i]);
        if (it != stored_at.end() && stored_bounds_[it->second] == planned_bounds_[i]) {
            if (!first && it->second < last)
                return false;
            first = false;
            last = it->second;
            staying[it->second] = true;
        } else if (covers(planned_bounds_[i])) {
            patches_.push_back(planned_bounds_[i]);
        } else {
            return false;  // a joining widget outside the kept pixels
        }
    }
    for (std::size_t i = 0; i < stored_.size(); ++i)
        if (!staying[i])
            patches_.push_back(stored_bounds_[i]);
    std::size_t patched = 0;
    for (const Rect& r : patches_)
        patched += std::size_t(r.width()) * r.height() * 4;
    return patched * 2 < pixels_.size();
}

std::vector<WidgetLayer::Span> WidgetLayer::spans_of(const std::vector<Rect>& boxes) {
    Rect all;
    for (const Rect& r : boxes)
        all = united(all, r);
    std::vector<Span> spans;
    std::vector<std::pair<int, int>> runs;
    std::size_t offset = 0;
    for (int y = all.top; y < all.bottom; ++y) {
        runs.clear();
        for (const Rect& r : boxes)
            if (!r.empty() && y >= r.top && y < r.bottom)
                runs.emplace_back(r.left, r.right);
        std::sort(runs.begin(), runs.end());
        for (std::size_t i = 0; i < runs.size();) {
            int left = runs[i].first, right = runs[i].second;
            for (++i; i < runs.size() && runs[i].first <= right; ++i)
                right = std::max(right, runs[i].second);
            spans.push_back({y, left, right, offset});
            offset += std::size_t(right - left) * 4;
        }
    }
    return spans;
}

template <typename Fn>
void WidgetLayer::for_each_part(const Rect& r, Fn&& fn) const {
    // Spans are sorted by row: start at the first one on the rectangle's top row.
    auto it = std::lower_bound(spans_.begin(), spans_.end(), r.top,
                               [](const Span& s, int y) { return s.y < y; });
    for (; it != spans_.end() && it->y < r.bottom; ++it) {
        const int left = std::max(it->left, r.left), right = std::min(it->right, r.right);
        if (left < right)
            fn(*it, left, right);
    }
}

bool WidgetLayer::covers(const Rect& r) const {
    // Spans of a row never touch, so a covered row has one span holding the whole width.
    std::vector<bool> row_covered(std::max(r.height(), 0), false);
    for_each_part(r, [&](const Span& s, int left, int right) {
        if (left == r.left && right == r.right)
            row_covered[s.y - r.top] = true;
    });
    return std::all_of(row_covered.begin(), row_covered.end(), [](bool b) { return b; });
}

void WidgetLayer::store(const std::uint8_t* frame, int stride) {
    const bool whole = work_ == Work::kRepaint;
    ++(whole ? repaints_ : patchings_);
    stored_ = planned_;
    stored_bounds_ = planned_bounds_;
    auto keep = [&](const Span& s, int left, int right) {
        std::memcpy(pixels_.data() + s.offset + std::size_t(left - s.left) * 4,
                    frame + std::size_t(stride) * s.y + std::size_t(left) * 4,
                    std::size_t(right - left) * 4);
    };
    if (whole) {
        spans_ = spans_of(stored_bounds_);
        spans_.shrink_to_fit();
        const std::size_t size =
            spans_.empty()
                ? 0
                : spans_.back().offset + std::size_t(spans_.back().right - spans_.back().left) * 4;
        // Memory is kept for the next repaint unless it is far more than needed.
        if (pixels_.capacity() > 2 * size)
            pixels_ = std::vector<std::uint8_t>();
        pixels_.resize(size);
        for (const Span& s : spans_)
            keep(s, s.left, s.right);
    } else {
        for (const Rect& r : patches_)
            for_each_part(r, keep);
    }
    patches_.clear();
    work_ = Work::kNone;
}

void WidgetLayer::copy_into(std::uint8_t* frame, const std::uint8_t* background, int stride,
                            int height) const {
    const std::size_t line = stride;
    // Rows without spans come from the background in one piece.
    int y = 0;
    auto background_rows = [&](int until) {
        if (until > y)
            std::memcpy(frame + line * y, background + line * y, line * (until - y));
        y = std::max(y, until);
    };
    for (auto it = spans_.begin(); it != spans_.end();) {
        background_rows(it->y);
        const std::size_t row = line * it->y;
        std::size_t x = 0;  // bytes of the row written so far
        for (; it != spans_.end() && it->y == y; ++it) {
            const std::size_t left = std::size_t(it->left) * 4;
            std::memcpy(frame + row + x, background + row + x, left - x);
            std::memcpy(frame + row + left, pixels_.data() + it->offset,
                        std::size_t(it->right - it->left) * 4);
            x = std::size_t(it->right) * 4;
        }
        std::memcpy(frame + row + x, background + row + x, line - x);
        ++y;
    }
    background_rows(height);
}

void WidgetLayer::clear() {
    tracks_.clear();
    planned_.clear();
    planned_bounds_.clear();
    live_.clear();
    stored_.clear();
    stored_bounds_.clear();
    spans_ = std::vector<Span>();
    pixels_ = std::vector<std::uint8_t>();
    patches_.clear();
    work_ = Work::kNone;
}

}  // namespace zentrik::ui
