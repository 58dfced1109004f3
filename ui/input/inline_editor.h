#pragma once
// The one native single-line text field of the window, placed over a widget or a list row
// while a text is edited. Hidden when idle. The GTK shell provides the real one.
#include <string>

#include "ui/geometry.h"

namespace zentrik::ui {

struct EditorRequest {
    Rect box;                  // where the field goes, in window pixels
    int font = 0;              // the widget's font (index into the font table)
    int limit = 13;            // characters accepted
    bool digits_only = false;  // wait values: 0-9 only
    std::string text;          // shown whole and selected
};

class InlineEditor {
  public:
    virtual ~InlineEditor() = default;
    // Shows the field with the text selected and the keyboard focus in it.
    virtual void show(const EditorRequest& request) = 0;
    virtual void hide() = 0;
    virtual bool visible() const = 0;
    virtual std::string text() const = 0;
    // The field's box while visible.
    virtual Rect box() const = 0;
};

// An editor without a window: keeps what it was given (headless runs and tests).
class HeadlessEditor : public InlineEditor {
  public:
    void show(const EditorRequest& request) override {
        request_ = request;
        text_ = request.text;
        visible_ = true;
        ++shown_;
    }
    void hide() override { visible_ = false; }
    bool visible() const override { return visible_; }
    std::string text() const override { return text_; }
    Rect box() const override { return request_.box; }

    // What a user typed (replacing the whole text).
    void type(std::string text) { text_ = std::move(text); }
    const EditorRequest& request() const { return request_; }
    int times_shown() const { return shown_; }

  private:
    EditorRequest request_;
    std::string text_;
    bool visible_ = false;
    int shown_ = 0;
};

}  // namespace zentrik::ui
