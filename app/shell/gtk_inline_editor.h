#pragma once
// The inline editor as one GtkEntry placed in a GtkFixed over the window's picture. The entry
// is made the first time the editor opens: an entry loads GTK's own text machinery (input
// methods, the theme's font), which the window's first frame does not need.
#include <string>

#include "ui/input/inline_editor.h"
#include "ui/input/timer_service.h"

typedef struct _GtkWidget GtkWidget;
typedef struct _GtkCssProvider GtkCssProvider;

namespace zentrik::app {

// Window timer that selects the editor's whole text and gives it the focus.
inline constexpr int kEditorFocusTimer = 12;

class GtkInlineEditor : public ui::InlineEditor {
  public:
    // `fixed` is the GtkFixed that holds the window's picture; the entry is added to it.
    GtkInlineEditor(GtkWidget* fixed, ui::TimerService& timers);
    ~GtkInlineEditor() override;
    GtkInlineEditor(const GtkInlineEditor&) = delete;
    GtkInlineEditor& operator=(const GtkInlineEditor&) = delete;

    void show(const ui::EditorRequest& request) override;
    void hide() override;
    bool visible() const override;
    std::string text() const override;
    ui::Rect box() const override { return box_; }

  private:
    void make_entry();
    static void on_insert_text(GtkWidget* editable, const char* text, int length, int* position,
                               void* self);
    void focus_and_select();

    GtkWidget* fixed_;
    GtkWidget* entry_ = nullptr;
    GtkCssProvider* css_ = nullptr;
    ui::TimerService& timers_;
    ui::Rect box_;
    bool digits_only_ = false;
    int limit_ = 0;          // characters that typing may reach; 0 = no limit
    bool filtering_ = true;  // off while the editor sets its own text
};

}  // namespace zentrik::app
