#include "app/shell/app_profile_link.h"

#include <glib-unix.h>

#include <cstdio>

#include "core/app_profile_rules.h"
#include "core/profile_notes_setting.h"
#include "core/session.h"
#include "lang/string_tables.h"
#include "lang/text_format.h"
#include "platform/paths.h"

namespace zentrik::app {

AppProfileLink::AppProfileLink(core::Session& session, std::function<bool()> window_shown)
    : session_(session), window_shown_(std::move(window_shown)) {
    core::AppProfileFollower::Hooks hooks;
    hooks.current_profile = [this]() -> std::optional<int> {
        if (session_.selected_path().empty())
            return std::nullopt;
        return session_.model().with([](const core::SettingsState& s) { return s.profile; });
    };
    hooks.choose_profile = [this](int profile) {
        session_.select_profile(profile, true);
        announce_profile(profile);
    };
    follower_ = std::make_unique<core::AppProfileFollower>(
        session_.timers(), core::kTimerAppProfileRest, std::move(hooks));
    reload_rules();

    // The rule file is read again whenever its folder changes (an editor, zentrikctl).
    rule_changes_ = platform::make_change_notifier({platform::user_config_directory()});
    if (rule_changes_ && rule_changes_->fd() >= 0)
        rules_source_ = g_unix_fd_add(rule_changes_->fd(), G_IO_IN, on_rule_file, this);

    std::string why_not;
    watcher_ = platform::make_active_window_watcher(&why_not);
    if (watcher_) {
        follower_->focus_changed(watcher_->current());
        watcher_source_ =
            g_unix_fd_add(watcher_->fd(), static_cast<GIOCondition>(G_IO_IN | G_IO_HUP | G_IO_ERR),
                          on_active_window, this);
    }
    session_.profile_changed_outside = [this](int profile) { announce_profile(profile); };
}

AppProfileLink::~AppProfileLink() {
    session_.profile_changed_outside = nullptr;
    if (watcher_source_)
        g_source_remove(watcher_source_);
    if (rules_source_)
        g_source_remove(rules_source_);
}

void AppProfileLink::reload_rules() {
    core::AppProfileFile file = core::load_app_profiles(core::user_app_profile_file());
    for (const std::string& error : file.errors)
        std::fprintf(stderr, "zentrik: %s\n", error.c_str());
    follower_->set_rules(std::move(file.rules));
}

gboolean AppProfileLink::on_rule_file(gint, GIOCondition, gpointer data) {
    auto& self = *static_cast<AppProfileLink*>(data);
    self.rule_changes_->clear();
    self.reload_rules();
    return G_SOURCE_CONTINUE;
}

gboolean AppProfileLink::on_active_window(gint, GIOCondition, gpointer data) {
    auto& self = *static_cast<AppProfileLink*>(data);
    if (auto window = self.watcher_->take_change())
        self.follower_->focus_changed(std::move(*window));
    if (self.watcher_->connected())
        return G_SOURCE_CONTINUE;
    self.watcher_source_ = 0;  // the display is gone: nothing more will come
    return G_SOURCE_REMOVE;
}

void AppProfileLink::announce_profile(int profile) {
    if (window_shown_() || !core::profile_notes_enabled(platform::user_config_directory()))
        return;
    const std::string name = session_.model().with([profile](const core::SettingsState& s) {
        return s.profile_names.at(static_cast<std::size_t>(profile));
    });
    const std::string number = lang::format_text(
        lang::own_text("zk_profile_note_number", "Profile %d"), std::int64_t{profile + 1});
    // A profile without a name of its own shows as "profile N" in the window: the number says it.
    const bool named =
        !name.empty() && name != lang::format_text("profile %d", std::int64_t{profile + 1});
    notice_.show(lang::own_text("zk_profile_note_title", "Mouse profile"),
                 named ? number + ": " + name : number);
}

}  // namespace zentrik::app
