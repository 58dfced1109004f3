#include "cli/commands/window_notice.h"

#include "platform/instance_channel.h"

namespace zentrik::cli {

WindowNotice::~WindowNotice() {
    if (kinds_ == 0 || !mouse_.lib)
        return;
    core::OutsideChange change;
    change.kinds = kinds_;
    change.index = index_;
    change.mouse = mouse_.lib->backend().lock_key(mouse_.device.path);
    if (change.mouse.empty())
        return;  // a mouse no other program reaches
    // The window reads the change inside the lock: it is free before the window is told.
    mouse_.lock.release();
    // Every running window of the user, whatever ZENTRIK_INSTANCE each was started with.
    platform::InstanceChannel(platform::default_instance_name())
        .deliver_to_every_running(platform::InstanceMessage::kMouseChanged,
                                  core::encode_outside_change(change), false);
}

}  // namespace zentrik::cli
