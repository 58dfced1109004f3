#pragma once
// The window's side of the per-program profiles and of the profile note: follows the desktop's
// active window and the user's rule file (both descriptors in the main loop, no polling), sets
// the rule's profile on the mouse, and tells the user in a desktop note when the profile
// changed while the window is hidden.
#include <functional>
#include <memory>
#include <string>

#include <glib.h>

#include "app/shell/desktop_notice.h"
#include "core/app_profile_follower.h"
#include "platform/active_window.h"
#include "platform/change_notifier.h"

namespace zentrik::core {
class Session;
}

namespace zentrik::app {

class AppProfileLink {
  public:
    // `window_shown` says whether the window is on screen (a note is shown only while not).
    AppProfileLink(core::Session& session, std::function<bool()> window_shown);
    ~AppProfileLink();
    AppProfileLink(const AppProfileLink&) = delete;
    AppProfileLink& operator=(const AppProfileLink&) = delete;

    // A desktop note naming `profile` (its name when it has one), if the window is hidden and
    // the user has not turned the notes off.
    void announce_profile(int profile);

  private:
    static gboolean on_active_window(gint fd, GIOCondition condition, gpointer self);
    static gboolean on_rule_file(gint fd, GIOCondition condition, gpointer self);
    void reload_rules();

    core::Session& session_;
    std::function<bool()> window_shown_;
    std::unique_ptr<core::AppProfileFollower> follower_;
    std::unique_ptr<platform::ActiveWindowWatcher> watcher_;
    std::unique_ptr<platform::ChangeNotifier> rule_changes_;
    ReplacingNotice notice_;
    guint watcher_source_ = 0;
    guint rules_source_ = 0;
};

}  // namespace zentrik::app
