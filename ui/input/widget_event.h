#pragma once
// What the pointer logic hands to the command handler: an action code with the widget's
// command id and the widgets concerned.
#include "ui/widget.h"

namespace zentrik::ui {

enum Action : int {
    kActionClick = 0,            // click; slider or spin value change; list selection change
    kActionDrop = 1,             // a drag released over another widget: first = source
    kActionEdited = 2,           // the inline editor committed its text into `first`
    kActionDeleteRequested = 3,  // Delete on a renamable list: remove its selected row
    kActionSecondPress = 4,      // a second press on a widget that is not editable
    kActionDragStarted = 5,      // first = second = the source
    kActionDragEnded = 6,        // first = second = the source
    kActionContextPress = 7,     // a right press on a widget while input is live: first = it
    kActionEditCancelled = 8,    // the inline editor closed on `first` without its text
    kActionUnderChanged = 10,    // id 0; first = previous widget, second = new one
};

struct WidgetEvent {
    int action = kActionClick;
    int id = 0;
    Widget* first = nullptr;
    Widget* second = nullptr;
};

// The command handler. It runs on the window's thread with the board's lock held (the lock is
// recursive, so it may call any board operation); it must not wait for another thread that
// takes the board's lock.
class WidgetEventHandler {
  public:
    virtual ~WidgetEventHandler() = default;
    virtual void handle_widget_event(const WidgetEvent& event) = 0;
};

}  // namespace zentrik::ui
